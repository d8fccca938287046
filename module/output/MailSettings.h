#pragma once

#include "runtime/report/SmtpMailer.h"

#include <optional>

namespace qaveq {

// How a user's reports go out by e-mail, kept in that user's own settings
// file (data::Session::userSettingsFile(), section "E-Mail"), which only the
// user can read since it holds the mail password.
namespace MailSettings {

report::SmtpSettings load(const QString &file);
bool save(const QString &file, const report::SmtpSettings &settings);

// The security as the settings file and the command line name it: "none",
// "tls" or "starttls"; nothing for another name.
QString securityName(report::SmtpSettings::Security security);
std::optional<report::SmtpSettings::Security> securityNamed(const QString &name);

} // namespace MailSettings

} // namespace qaveq
