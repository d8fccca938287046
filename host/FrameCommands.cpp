#include "FrameCommands.h"

#include "CompanyAccess.h"
#include "ModuleLoader.h"

#include "runtime/StandardWarnings.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

int runProcedures(CommandContext &context)
{
    if (!context.arguments.isEmpty())
        return usage(context, u"procedures"_s, u"takes no arguments"_s);
    ModuleLoader module;
    QString error;
    if (!module.load(&error)) {
        context.err << "qaveq: " << error << "\n";
        return Failure;
    }
    for (const ModuleLoader::Procedure &procedure : module.exports())
        context.out << procedure.name.leftJustified(28) << procedure.what
                    << (procedure.built ? "" : " (still to come)") << "\n";
    return Success;
}

QString iconName(Message::Icon icon)
{
    switch (icon) {
    case Message::Icon::None:
        return u"none"_s;
    case Message::Icon::Information:
        return u"information"_s;
    case Message::Icon::Exclamation:
        return u"exclamation"_s;
    case Message::Icon::Question:
        return u"question"_s;
    case Message::Icon::Stop:
        return u"stop"_s;
    case Message::Icon::Bell:
        return u"bell"_s;
    }
    return {};
}

int runWarning(CommandContext &context)
{
    const QStringList &arguments = context.arguments;
    bool numeric = false;
    const int number = arguments.isEmpty() ? 0 : arguments.first().toInt(&numeric);
    if (!numeric || arguments.size() > 3)
        return usage(context, u"warning"_s, u"give a warning number and up to two texts"_s);
    const auto warning =
        StandardWarnings::describe(number, arguments.value(1), arguments.value(2), {}, 0);
    if (!warning) {
        context.err << "qaveq: there is no warning " << number << "; they are numbered 1 to 38.\n";
        return Failure;
    }
    const Message &message = warning->message;
    const QStringList buttons = message.buttonLabels();
    context.out << "Caption: " << message.caption << "\n"
                << "Text:\n"
                << Text::withLineBreaks(message.text) << "\n"
                << "Buttons: " << buttons.join(u", "_s) << "\n"
                << "Default: " << buttons.value(message.defaultButton - 1) << "\n"
                << "Icon: " << iconName(message.icon) << "\n";
    if (warning->after == StandardWarnings::After::End)
        context.out << "Then: the application ends (\"" << warning->haltText << "\")\n";
    else if (warning->after == StandardWarnings::After::EndUnlessYes)
        context.out << "Then: Yes returns 2 (rebuild); No ends the application (\""
                    << warning->haltText << "\")\n";
    return Success;
}

} // namespace

QList<Command> frameCommands()
{
    return {
        {u"procedures"_s, u"list the equipment module's exported procedures"_s,
         u"Usage: qaveq procedures\n\n"
         "Loads the equipment module and lists its exported table in order: the\n"
         "entry operations QAVEQ:INIT and QAVEQ:KILL, then every procedure the menus\n"
         "call, each with what it is.\n"_s,
         runProcedures},
        {u"warning"_s, u"show one of the standard file and record warnings"_s,
         u"Usage: qaveq warning N [TEXT1 [TEXT2]]\n\n"
         "Prints warning N (1 to 38) as the module shows it: caption, text (\"|\" as\n"
         "line breaks), buttons, the default button, the icon, and whether the\n"
         "application ends after it. TEXT1 and TEXT2 fill the warning's blanks, for\n"
         "example: qaveq warning 6 BROWSEEQLOG\n"_s,
         runWarning},
    };
}

} // namespace qaveq::host
