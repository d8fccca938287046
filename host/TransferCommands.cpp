#include "TransferCommands.h"

#include "CompanyAccess.h"

#include "transfer/ImportSources.h"
#include "transfer/UsageLogExporter.h"
#include "transfer/UsageLogImporter.h"

#include "data/Company.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Text.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

struct Arguments
{
    quint16 batchId = 0;
    QString source;
    QString file;
    bool allTypes = false;
    bool equipmentOnly = false;
    bool proceed = false;
};

// The batch and the file of both commands; the problem when they are not given.
QString readArguments(CommandContext &context, bool importing, Arguments &arguments)
{
    ArgumentReader reader(context.arguments);
    const std::optional<QString> batch = reader.option(u"batch"_s);
    if (importing) {
        arguments.source = reader.option(u"source"_s).value_or(QString());
        arguments.allTypes = reader.flag(u"all-types"_s);
        arguments.equipmentOnly = reader.flag(u"equipment-only"_s);
        arguments.proceed = reader.flag(u"proceed"_s);
    }
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!reader.missingValue().isEmpty())
        return u"%1 needs a value"_s.arg(reader.missingValue());
    if (!problem.isEmpty())
        return problem;
    const std::optional<quint16> batchId = batchNumber(batch.value_or(QString()));
    if (!batchId)
        return u"name the batch with --batch N (1 to 65535)"_s;
    arguments.batchId = *batchId;
    if (importing && Text::clip(arguments.source).isEmpty())
        return u"name the import source with --source TITLE"_s;
    if (arguments.allTypes && arguments.equipmentOnly)
        return u"give --all-types or --equipment-only, not both"_s;
    if (rest.size() != 1)
        return u"name one file"_s;
    arguments.file = rest.first();
    return {};
}

int runImport(CommandContext &context)
{
    Arguments arguments;
    if (const QString problem = readArguments(context, true, arguments); !problem.isEmpty())
        return usage(context, u"import"_s, problem);
    const std::unique_ptr<CommandSession> signedOn =
        CommandSession::open(context, Access::ChangesUsageLogs);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();
    data::Session &session = signedOn->session();
    if (!batchUsable(context, session, arguments.batchId, UsageLogBatches::Use::Change))
        return Failure;
    QString failure;
    if (!ImportSources::ensureBuiltIn(*company, &failure)) {
        context.err << "qaveq: " << Text::withLineBreaks(failure) << "\n";
        return Failure;
    }
    const std::optional<JCLimits> source = ImportSources::find(*company, arguments.source);
    if (!source) {
        context.err << "qaveq: there is no import source \"" << arguments.source
                    << "\". The sources are:\n";
        for (const JCLimits &known : ImportSources::all(*company))
            context.err << "  " << Text::clip(known.ReportTitle) << "\n";
        return Failure;
    }

    const SystemClock clock;
    UsageLogImporter importer(session, clock);
    if (const QString problem = importer.read(*source, arguments.file); !problem.isEmpty()) {
        context.err << "qaveq: " << problem << "\n";
        return Failure;
    }
    if (const QString note = importer.encodingNote(); !note.isEmpty())
        context.err << "qaveq: " << note << "\n";
    for (const UsageLogImporter::Error &error : importer.errors())
        context.err << error.line << '\t' << error.text << '\n';
    if (!importer.errors().isEmpty() && !arguments.proceed) {
        const qsizetype count = importer.errors().size();
        context.err << "qaveq: " << count << (count == 1 ? " line has" : " lines have")
                    << " errors; nothing was imported. Give --proceed to import the other "
                       "lines.\n";
        return Failure;
    }
    if (const int others = importer.otherCostTypes(); others > 0 && !arguments.allTypes) {
        importer.keepEquipmentOnly();
        if (!arguments.equipmentOnly)
            context.err << "qaveq: " << others
                        << " logs charged to cost types other than equipment were left out; "
                           "give --all-types to import them.\n";
    }
    const UsageLogImporter::Result result = importer.import(arguments.batchId);
    if (!result.done) {
        context.err << "qaveq: " << Text::withLineBreaks(result.problem) << "\n";
        return Failure;
    }
    context.out << UsageLogImporter::resultText(result, arguments.batchId) << "\n";
    return Success;
}

int runExport(CommandContext &context)
{
    Arguments arguments;
    if (const QString problem = readArguments(context, false, arguments); !problem.isEmpty())
        return usage(context, u"export"_s, problem);
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();
    if (!batchUsable(context, signedOn->session(), arguments.batchId, UsageLogBatches::Use::Read))
        return Failure;
    const UsageLogExporter::Result result =
        UsageLogExporter::exportBatch(*company, arguments.batchId, arguments.file);
    if (!result.done) {
        context.err << "qaveq: " << arguments.file << ": " << result.problem << "\n";
        return Failure;
    }
    context.out << result.written << "\n";
    return Success;
}

} // namespace

QList<Command> transferCommands()
{
    return {
        {u"import"_s, u"import usage logs from a text file into a batch"_s,
         u"Usage: qaveq --company DIR [--user ID] import --batch N --source TITLE FILE\n"
         "         [--all-types | --equipment-only] [--proceed]\n\n"
         "Reads FILE by the layout of the import source TITLE (the built-in source\n"
         "\"*Usage Logs Exported from Tessary\" reads the files of export), checks\n"
         "every line as the import window does and adds the valid lines to batch N\n"
         "as new logs priced at the equipment's rates, all of them or none.\n"
         "Lines with errors are listed on stderr as \"line<TAB>text\"; then nothing\n"
         "is imported unless --proceed is given. Logs charged to job cost codes of\n"
         "other types than equipment are left out unless --all-types is given.\n"
         "Ends with one line: the number of logs imported, the batch and their amount\n"
         "(\"Imported 12 usage logs into batch 4, 1,234.56.\").\n"_s,
         runImport},
        {u"export"_s, u"export the usage logs of a batch to a text file"_s,
         u"Usage: qaveq --company DIR [--user ID] export --batch N FILE\n\n"
         "Writes the unposted logs of batch N to FILE, one comma-separated line per\n"
         "log in the column order of the built-in import source, and prints the\n"
         "number of logs written. FILE is replaced whole or not at all.\n"_s,
         runExport},
    };
}

} // namespace qaveq::host
