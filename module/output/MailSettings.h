#pragma once

#include "runtime/report/SmtpMailer.h"

namespace qaveq {

// How a user's reports go out by e-mail, kept in that user's own settings
// file (data::Session::userSettingsFile(), section "E-Mail"), which only the
// user can read since it holds the mail password.
namespace MailSettings {

report::SmtpSettings load(const QString &file);
bool save(const QString &file, const report::SmtpSettings &settings);

} // namespace MailSettings

} // namespace qaveq
