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

// Where a report run without windows sends its pages.
struct HeadlessOutput
{
    std::optional<QString> pdf;        // the PDF; the report's own name when none
    std::optional<QString> exportFile; // the text copy, when asked
    bool print = false;                // print on the default printer as well
};

// Runs the report over the signed-on session without windows; prints the
// PDF's name and page count and returns the exit status.
int runHeadless(CommandContext &context, data::Company &company, data::Session &session,
                ReportPass &report, const HeadlessOutput &output);

// report: runs a report without windows and writes its PDF and text copy.
QList<Command> reportCommands();

// Runs a report without windows for the signed-on session: its PDF to `pdf`
// (else its own name in the current folder), its text copy to `exportFile`,
// printed as well when asked. Returns the exit status.
int runHeadless(CommandContext &context, data::Session &session, Prompter &prompter,
                ReportPass &pass, const std::optional<QString> &pdf,
                const std::optional<QString> &exportFile, bool print);

} // namespace qaveq::host
