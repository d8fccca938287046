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

// What a report run from the command line is asked to output.
struct HeadlessOutput
{
    std::optional<QString> pdf;        // --pdf FILE
    std::optional<QString> exportFile; // --export FILE
    bool print = false;                // --print
    QString printer;                   // --printer NAME; empty: the default queue
    std::optional<int> copies;         // --copies N; else the report's own
    QStringList mailTo;                // --mail TO[,TO...]
    std::optional<QString> subject;    // --subject TEXT; else the report's title
};

// Takes the output options of a report run from `reader`; nothing, with the
// problem, when one is wrong.
std::optional<HeadlessOutput> readOutputOptions(ArgumentReader &reader, QString *problem);

// Says so and returns false when a file the options name cannot be written.
bool outputFilesWritable(CommandContext &context, const HeadlessOutput &output);

// Runs a report without windows for the signed-on session and outputs it as
// asked: its PDF (by default its own name in the current folder), its text
// copy, the print job, the mail. Returns the exit status, NothingToPrint
// when the report had nothing to print.
int runHeadless(CommandContext &context, data::Session &session, Prompter &prompter,
                ReportPass &pass, const HeadlessOutput &asked);

} // namespace qaveq::host
