#pragma once

#include "CommandLine.h"

#include <QList>

#include <optional>

namespace qaveq {
class Prompter;
class ReportPass;
namespace data {
class Session;
}
} // namespace qaveq

namespace qaveq::host {

// report: runs a report without windows and writes its PDF and text copy.
QList<Command> reportCommands();

// Runs a report without windows for the signed-on session: its PDF to `pdf`
// (else its own name in the current folder), its text copy to `exportFile`,
// printed as well when asked. Returns the exit status.
int runHeadless(CommandContext &context, data::Session &session, Prompter &prompter,
                ReportPass &pass, const std::optional<QString> &pdf,
                const std::optional<QString> &exportFile, bool print);

} // namespace qaveq::host
