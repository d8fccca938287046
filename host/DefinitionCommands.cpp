#include "DefinitionCommands.h"

#include "CompanyAccess.h"
#include "ReportCommands.h"

#include "logs/UsageLogBatches.h"
#include "records/EQLimits.h"
#include "reports/ReportDefinitions.h"
#include "reports/ReportFactory.h"
#include "reports/ReportFamily.h"

#include "output/ReportPass.h"

#include "suite/Services.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/StandardWarnings.h"
#include "runtime/widgets/Icons.h"

#include "data/Company.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// The one positional after the subcommand: a definition's number.
std::optional<quint32> definitionNumber(CommandContext &context, ArgumentReader &reader,
                                        const QString &what, int *status)
{
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (problem.isEmpty() && !reader.missingValue().isEmpty())
        problem = u"%1 needs a value"_s.arg(reader.missingValue());
    bool ok = false;
    const uint number = rest.value(1).toUInt(&ok);
    if (problem.isEmpty() && (rest.size() != 2 || !ok || number == 0))
        problem = u"name the number of the definition to %1"_s.arg(what);
    if (!problem.isEmpty()) {
        *status = usage(context, u"report"_s, problem);
        return std::nullopt;
    }
    return number;
}

// The signed-on command's company and session; nothing after saying why not.
struct SignedOn
{
    std::unique_ptr<CommandSession> command;
    data::Company *company = nullptr;
    data::Session *session = nullptr;
};

std::optional<SignedOn> signedOn(CommandContext &context, Access access)
{
    SignedOn desk{CommandSession::open(context, access)};
    if (!desk.command)
        return std::nullopt;
    desk.company = &desk.command->company();
    desk.session = &desk.command->session();
    return desk;
}

} // namespace

int runDefinitionList(CommandContext &context, ArgumentReader &reader)
{
    const std::optional<QString> familyName = reader.option(u"family"_s);
    QString problem;
    if (reader.positionals(&problem).size() != 1 && problem.isEmpty())
        problem = u"report definitions takes no other arguments"_s;
    const FamilyInfo *family = familyName ? ReportFamilies::named(*familyName) : nullptr;
    if (problem.isEmpty() && familyName && !family)
        problem =
            u"no family \"%1\"; the families: analysis, detail, listing, category, proof"_s.arg(
                *familyName);
    if (!problem.isEmpty())
        return usage(context, u"report"_s, problem);
    const std::optional<SignedOn> desk = signedOn(context, Access::Reads);
    if (!desk)
        return Failure;
    data::Company *company = desk->company;
    data::ScanOptions options;
    if (family)
        options = data::ScanOptions::equal({family->report});
    data::KeyCursor cursor = company->file<EQLimits>().scan(u"KeyReport", options);
    context.out << "Number  Family     Title                                     Owner  Locked\n";
    for (EQLimits definition; cursor.next(definition);) {
        const FamilyInfo *of = ReportFamilies::ofReport(definition.Report);
        context.out << QString::number(definition.LimitID).rightJustified(6) << "  "
                    << (of ? of->name : Text::clip(definition.Report)).leftJustified(9) << "  "
                    << Text::clip(definition.ReportTitle).leftJustified(40) << "  "
                    << Text::clip(definition.UserID).leftJustified(5) << "  "
                    << (definition.Locked == 1 ? "yes" : "no") << "\n";
    }
    if (cursor.error()) {
        context.err << "qaveq: " << cursor.error()->text() << "\n";
        return Failure;
    }
    return Success;
}

int runDefinitionCopy(CommandContext &context, ArgumentReader &reader)
{
    int status = Success;
    const std::optional<quint32> number = definitionNumber(context, reader, u"copy"_s, &status);
    if (!number)
        return status;
    std::optional<SignedOn> desk = signedOn(context, Access::ChangesEquipment);
    if (!desk)
        return Failure;
    data::Session &session = *desk->session;
    ConsolePrompter prompter(context.err);
    const SystemClock clock;
    const std::optional<quint32> copy =
        ReportDefinitions(session, prompter, clock).duplicate(*number);
    if (!copy)
        return Failure;
    context.out << *copy << "\n";
    return Success;
}

int runDefinitionReport(CommandContext &context, ArgumentReader &reader)
{
    // The report run's own options; the report procedures read them.
    QString problem;
    const std::optional<HeadlessOutput> asked = readOutputOptions(reader, &problem);
    if (!asked)
        return usage(context, u"report"_s, problem);
    QList<quint16> batches;
    while (const std::optional<QString> value = reader.option(u"batch"_s)) {
        const std::optional<quint16> batch = batchNumber(*value);
        if (!batch)
            return usage(context, u"report"_s, u"\"%1\" is not a batch number"_s.arg(*value));
        // A batch named twice is still one batch of the listing.
        if (!batches.contains(*batch))
            batches.append(*batch);
    }
    int status = Success;
    const std::optional<quint32> number = definitionNumber(context, reader, u"run"_s, &status);
    if (!number)
        return status;
    std::optional<SignedOn> desk = signedOn(context, Access::Reads);
    if (!desk)
        return Failure;
    data::Session &session = *desk->session;
    ConsolePrompter prompter(context.err);
    const SystemClock clock;
    ReportDefinitions definitions(session, prompter, clock);
    const std::optional<EQLimits> definition = definitions.find(*number);
    if (!definition) {
        context.err << "qaveq: there is no report definition " << *number << ".\n";
        return Failure;
    }
    // Another user's hidden batch prints nothing here either.
    for (quint16 batchId : std::as_const(batches))
        if (!batchUsable(context, session, batchId, UsageLogBatches::Use::Read))
            return Failure;
    session.tagQueue = batches;
    session.reportFilter = QString::number(*number);
    const QString procedure = ReportFamilies::reportProcedure(*definition);
    if (procedure.isEmpty()) {
        context.err << "qaveq: the definition's report code names no report; nothing printed.\n";
        return Failure;
    }
    const FamilyInfo *family = ReportFamilies::ofReport(definition->Report);
    const bool proof = family && family->family == ReportFamily::Proof;
    if (!batches.isEmpty() && !proof)
        return usage(context, u"report"_s, u"--batch is for proof listing definitions only"_s);
    const DayNumber today = SuiteDate::fromQDate(clock.today());
    const std::unique_ptr<ReportPass> report = makeReport(
        procedure,
        {.session = session,
         .prompter = prompter,
         .definition = *definition,
         .today = today,
         .pictures = {suite::imageStoreFolder(), Icons::png(u"~nophoto.gif", QSize(240, 240))},
         .batches = batches});
    if (!report) {
        // A report still to come: the dispatch reaches a procedure that is not
        // defined, as the windows say too.
        const std::optional<StandardWarnings::Warning> warning =
            StandardWarnings::describe(StandardWarning::ProcedureNotDefined, procedure, {}, {}, 0);
        context.err << "qaveq: " << QString(warning->message.text).replace(u'|', u' ') << "\n";
        for (const std::optional<QString> &file : {asked->pdf, asked->exportFile})
            if (file)
                context.err << "qaveq: nothing was written to " << *file << ".\n";
        return Failure;
    }
    return runHeadless(context, session, prompter, *report, *asked);
}

} // namespace qaveq::host
