#include "CommandLine.h"

#include "AssetCommands.h"
#include "AttentionCommands.h"
#include "BatchCommands.h"
#include "CompanyHome.h"
#include "DataCommands.h"
#include "EquipmentCommands.h"
#include "FrameCommands.h"
#include "MailCommands.h"
#include "ReportCommands.h"
#include "TransferCommands.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

QList<Command> allCommands()
{
    return dataCommands() + equipmentCommands() + batchCommands() + transferCommands() +
           assetCommands() + reportCommands() + mailCommands() + frameCommands() +
           attentionCommands();
}

QString defaultCompanyFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("QAVEQ_COMPANY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return CompanyHome::defaultFolder();
}

QString mainHelp(const QList<Command> &commands)
{
    QString text = u"QAVEQ: equipment costing for construction contractors.\n\n"
                   "Usage: qaveq [--company DIR] [--user ID] <command> [arguments]\n\n"
                   "Global options:\n"
                   "  --company DIR  the company folder (default: $QAVEQ_COMPANY, else\n"
                   "                 ~/.local/share/qaveq/company)\n"
                   "  --user ID      the signed-on user, up to 3 characters (default: ADM)\n"
                   "  --debug        also write the program's debug log to stderr\n"
                   "  --help         this text; \"qaveq <command> --help\" explains a command\n"
                   "  --version      the program's version\n\n"
                   "Without a command, QAVEQ opens its windows on the company.\n\n"
                   "Commands:\n"_s;
    for (const Command &command : commands)
        text += u"  "_s + command.name.leftJustified(16) + u' ' + command.summary + u'\n';
    return text;
}

} // namespace

bool ArgumentReader::flag(const QString &name)
{
    return m_arguments.removeAll(u"--"_s + name) > 0;
}

std::optional<QString> ArgumentReader::option(const QString &name)
{
    const QString exact = u"--"_s + name;
    for (int i = 0; i < m_arguments.size(); ++i) {
        if (m_arguments[i] == exact) {
            if (i + 1 >= m_arguments.size()) {
                m_missingValue = exact;
                m_arguments.removeAt(i);
                return std::nullopt;
            }
            QString value = m_arguments[i + 1];
            m_arguments.remove(i, 2);
            return value;
        }
        if (m_arguments[i].startsWith(exact + u'=')) {
            QString value = m_arguments[i].mid(exact.size() + 1);
            m_arguments.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

QStringList ArgumentReader::positionals(QString *error) const
{
    if (!m_missingValue.isEmpty()) {
        *error = m_missingValue + u" needs a value"_s;
        return {};
    }
    for (const QString &argument : m_arguments) {
        if (argument.startsWith(u"--"_s)) {
            *error = u"unknown option "_s + argument;
            return {};
        }
    }
    return m_arguments;
}

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    static const QStringList programSwitches{u"--debug"_s,          u"netnolog"_s,  u"nettalklog"_s,
                                             u"nettalklogerrors"_s, u"neterrors"_s, u"netall"_s};
    ParsedCommandLine parsed;
    parsed.global.companyFolder = defaultCompanyFolder();
    parsed.global.userId = u"ADM"_s;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const QString bare = argument.startsWith(u'/') ? argument.mid(1) : argument.mid(2);
        if (argument == u"--debug" ||
            ((argument.startsWith(u'/') || argument.startsWith(u"--"_s)) &&
             programSwitches.contains(bare, Qt::CaseInsensitive))) {
            continue; // read by the program's log and the module at load
        }
        if (argument == u"--help" || argument == u"-h") {
            parsed.help = true;
            return parsed;
        }
        if (argument == u"--version") {
            parsed.version = true;
            return parsed;
        }
        const bool company = argument == u"--company" || argument.startsWith(u"--company="_s);
        const bool user = argument == u"--user" || argument.startsWith(u"--user="_s);
        if (company || user) {
            QString value;
            if (argument.contains(u'='))
                value = argument.section(u'=', 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else {
                parsed.error = argument + u" needs a value"_s;
                return parsed;
            }
            if (company) {
                parsed.global.companyFolder = value;
            } else {
                parsed.global.userId = value;
                parsed.global.userGiven = true;
            }
            continue;
        }
        if (argument.startsWith(u'-')) {
            parsed.error = u"unknown option "_s + argument;
            return parsed;
        }
        parsed.command = i;
        break;
    }
    if (parsed.global.userId.isEmpty() || parsed.global.userId.size() > 3)
        parsed.error = u"a user ID has 1 to 3 characters, not \""_s + parsed.global.userId + u'"';
    return parsed;
}

bool commandPaints(const QStringList &arguments)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (parsed.command < 0 || parsed.help)
        return false;
    for (const Command &command : allCommands())
        if (command.name == arguments.at(parsed.command))
            return command.paints;
    return false;
}

bool outputWritten(QTextStream &out, QTextStream &err)
{
    out.flush();
    if (out.status() == QTextStream::Ok)
        return true;
    const QIODevice *device = out.device();
    err << "qaveq: the standard output could not be written: "
        << (device && !device->errorString().isEmpty() ? device->errorString() : u"write error"_s)
        << "\n";
    err.flush();
    return false;
}

namespace {

int runCommand(const QStringList &arguments, QTextStream &in, QTextStream &out, QTextStream &err)
{
    const QList<Command> commands = allCommands();
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (parsed.help) {
        out << mainHelp(commands);
        return Success;
    }
    if (parsed.version) {
        out << "qaveq " << QAVEQ_VERSION << '\n';
        return Success;
    }
    if (!parsed.error.isEmpty()) {
        err << "qaveq: " << parsed.error << "\nTry \"qaveq --help\".\n";
        return UsageError;
    }
    if (parsed.command < 0) {
        out << mainHelp(commands);
        return UsageError;
    }
    const GlobalOptions &global = parsed.global;
    const int i = parsed.command;

    const QString name = arguments[i];
    for (const Command &command : commands) {
        if (command.name != name)
            continue;
        CommandContext context{global, arguments.mid(i + 1), in, out, err};
        if (context.arguments.contains(u"--help"_s) || context.arguments.contains(u"-h"_s)) {
            out << command.help;
            return Success;
        }
        QString moved;
        context.global.companyFolder = CompanyHome::adoptFormer(global.companyFolder, &moved);
        if (!moved.isEmpty())
            err << "qaveq: " << moved << '\n';
        // No input ends the program: whatever a command did not foresee
        // (an amount beyond the decimals' range, a failure deep in a
        // library) is said, with a failing status.
        try {
            return command.run(context);
        } catch (const std::exception &e) {
            err << "qaveq " << name << ": " << e.what() << "\n";
        } catch (...) {
            err << "qaveq " << name << ": an unexpected error stopped the command\n";
        }
        return Failure;
    }
    err << "qaveq: no command \"" << name << "\". Try \"qaveq --help\".\n";
    return UsageError;
}

} // namespace

int runCommandLine(const QStringList &arguments, QTextStream &in, QTextStream &out,
                   QTextStream &err)
{
    const int status = runCommand(arguments, in, out, err);
    return outputWritten(out, err) ? status : Failure;
}

} // namespace qaveq::host
