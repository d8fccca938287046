#include "CommandLine.h"

#include "AssetCommands.h"
#include "DataCommands.h"
#include "FrameCommands.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

QList<Command> allCommands()
{
    return dataCommands() + assetCommands() + frameCommands();
}

QString defaultCompanyFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("QAVEQ_COMPANY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/company"_s;
}

QString mainHelp(const QList<Command> &commands)
{
    QString text = u"QAVEQ: equipment costing for construction contractors.\n\n"
                   "Usage: qaveq [--company DIR] [--user ID] <command> [arguments]\n\n"
                   "Global options:\n"
                   "  --company DIR  the company folder (default: $QAVEQ_COMPANY, else\n"
                   "                 the company folder in your application-data folder)\n"
                   "  --user ID      the signed-on user, up to 3 characters (default: ADM)\n"
                   "  --help         this text; \"qaveq <command> --help\" explains a command\n\n"
                   "Commands:\n"_s;
    for (const Command &command : commands)
        text += u"  "_s + command.name.leftJustified(14) + command.summary + u'\n';
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

int runCommandLine(const QStringList &arguments, QTextStream &in, QTextStream &out,
                   QTextStream &err)
{
    const QList<Command> commands = allCommands();
    GlobalOptions global;
    global.companyFolder = defaultCompanyFolder();
    global.userId = u"ADM"_s;

    int i = 1;
    for (; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            out << mainHelp(commands);
            return Success;
        }
        if ((argument == u"--company" || argument == u"--user") && i + 1 < arguments.size()) {
            (argument == u"--company" ? global.companyFolder : global.userId) = arguments[++i];
            continue;
        }
        if (argument.startsWith(u"--company="_s)) {
            global.companyFolder = argument.mid(10);
            continue;
        }
        if (argument.startsWith(u"--user="_s)) {
            global.userId = argument.mid(7);
            continue;
        }
        if (argument.startsWith(u"-"_s)) {
            err << "qaveq: unknown or incomplete option " << argument << "\n"
                << "Try \"qaveq --help\".\n";
            return UsageError;
        }
        break;
    }
    if (i >= arguments.size()) {
        out << mainHelp(commands);
        return UsageError;
    }
    if (global.userId.isEmpty() || global.userId.size() > 3) {
        err << "qaveq: a user ID has 1 to 3 characters, not \"" << global.userId << "\"\n";
        return UsageError;
    }

    const QString name = arguments[i];
    for (const Command &command : commands) {
        if (command.name != name)
            continue;
        CommandContext context{global, arguments.mid(i + 1), in, out, err};
        if (context.arguments.contains(u"--help"_s) || context.arguments.contains(u"-h"_s)) {
            out << command.help;
            return Success;
        }
        return command.run(context);
    }
    err << "qaveq: no command \"" << name << "\". Try \"qaveq --help\".\n";
    return UsageError;
}

} // namespace qaveq::host
