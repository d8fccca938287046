#pragma once

#include "CommandLine.h"

#include <QList>

#include <optional>

namespace qaveq {
class ReportPass;
namespace data {
class Session;
}
} // namespace qaveq

namespace qaveq::host {

// report: runs a report without windows and writes its PDF and text copy.
QList<Command> reportCommands();

// Runs a report pass over the signed-on session without windows: the PDF
// (and the text copy) to the named files, printed too when asked. Says what
// was written; the exit status.
int runReportPass(CommandContext &context, data::Session &session, ReportPass &pass,
                  const std::optional<QString> &pdf, const std::optional<QString> &exportFile,
                  bool print);

} // namespace qaveq::host
