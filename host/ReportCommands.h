#pragma once

#include "CommandLine.h"

#include <QList>

#include <optional>

namespace qaveq {
class ReportPass;
namespace data {
class Company;
class Session;
} // namespace data
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

} // namespace qaveq::host
