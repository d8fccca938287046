#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>

namespace qaveq::host {

// Options that stand before the command: qaveq [--company DIR] [--user ID] <command> ...
struct GlobalOptions
{
    QString companyFolder;
    QString userId;
    bool userGiven = false;
};

// The command line split into the global options and the command.
struct ParsedCommandLine
{
    GlobalOptions global;
    int command = -1; // index of the command's name; -1 when there is none
    bool help = false;
    bool version = false;
    QString error;
};

ParsedCommandLine parseCommandLine(const QStringList &arguments);

struct CommandContext
{
    GlobalOptions global;
    QStringList arguments; // after the command's name
    QTextStream &in;
    QTextStream &out;
    QTextStream &err;
};

struct Command
{
    QString name;
    QString summary; // one line for the command list
    QString help;    // the command's own --help text
    std::function<int(CommandContext &)> run;
    bool paints = false; // draws pages or graphs, so it needs the GUI libraries
};

// Exit statuses of every command. NothingToPrint: a report ran and found
// nothing to print, and wrote no file.
enum ExitStatus { Success = 0, Failure = 1, UsageError = 2, NothingToPrint = 3 };

// The arguments of one command: flags, options with a value and positionals.
class ArgumentReader
{
public:
    explicit ArgumentReader(QStringList arguments)
        : m_arguments(std::move(arguments))
    {}

    bool flag(const QString &name);                     // removes "--name" when present
    std::optional<QString> option(const QString &name); // removes "--name VALUE" or "--name=VALUE"
    // What is left once flags and options are taken; an unknown "--x" is an error.
    QStringList positionals(QString *error) const;
    QString missingValue() const { return m_missingValue; }

private:
    QStringList m_arguments;
    QString m_missingValue;
};

// Whether the command the line names draws pages, and so must run under a
// GUI application.
bool commandPaints(const QStringList &arguments);

// Flushes what a command wrote; false, after saying why on `err`, when it
// could not all be written (a full disk, a closed pipe).
bool outputWritten(QTextStream &out, QTextStream &err);

// Runs the command line; returns the process's exit status: never 0 when
// the command's output could not be written.
int runCommandLine(const QStringList &arguments, QTextStream &in, QTextStream &out,
                   QTextStream &err);

} // namespace qaveq::host
