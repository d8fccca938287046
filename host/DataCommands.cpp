#include "DataCommands.h"

#include "CompanyAccess.h"
#include "DemoSetup.h"
#include "LoggingLevel.h"

#include "demo/DemoCompany.h"
#include "equipment/CostCategoryForms.h"
#include "logs/UsageLogBatches.h"
#include "records/EQHeader.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/FileSchema.h"
#include "data/RecordLoader.h"
#include "data/RecordText.h"
#include "data/Session.h"
#include "data/UserActivity.h"

#include "runtime/ConsolePrompter.h"

#include "core/Clock.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSettings>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// The one file a command names. Says why and gives the exit status when it
// names none, several, or a file the company does not have.
const data::FileSchema *namedFile(const CommandContext &context, const ArgumentReader &reader,
                                  const QString &command, int &status)
{
    status = UsageError;
    QString problem;
    const QStringList files = reader.positionals(&problem);
    if (!problem.isEmpty() || files.size() != 1) {
        usage(context, command, problem.isEmpty() ? u"name one file"_s : problem);
        return nullptr;
    }
    const data::Catalog catalog = companyCatalog();
    const data::FileSchema *schema = catalog.find(files.first());
    if (!schema) {
        QStringList names;
        for (const data::FileSchema *file : catalog.files())
            names.append(file->name);
        context.err << "qaveq: no file \"" << files.first() << "\". The files are:\n  "
                    << names.join(u", "_s) << "\n";
    }
    return schema;
}

int makeCompany(CommandContext &context, const QString &folder, bool existed, bool demo,
                const QString &id, const QString &name)
{
    data::Company company(folder, companyCatalog());
    if (!existed) {
        QSettings ini(data::Company::settingsFile(company.folder()), QSettings::IniFormat);
        ini.setValue(u"Database/Driver"_s, u"SQLite"_s);
        ini.sync();
        if (ini.status() != QSettings::NoError)
            throw data::DataError(
                u"%1 cannot be written"_s.arg(data::Company::settingsFile(company.folder()))
                    .toStdString());
    }
    // A settings file written by hand (a PostgreSQL server's) names no
    // company yet: it takes the ID and name now, as a new folder does.
    if (!existed || company.id().isEmpty())
        company.setIdentity(id, name);
    data::Company::keepPasswordPrivate(company.folder());
    if (!demo) {
        context.out << (existed ? "Company ready in " : "Company created in ") << company.folder()
                    << "\n";
    } else {
        if (company.file<EQHeader>().count() > 0) {
            context.err << "qaveq: the company in " << company.folder()
                        << " already holds equipment; demonstration data goes only into "
                           "an empty company.\n";
            return Failure;
        }
        SystemClock clock;
        const DemoCompany::Summary summary = createDemonstration(company, clock);
        context.out << "Demonstration company " << company.id() << " created in "
                    << company.folder() << ":\n  " << summary.equipment << " pieces of equipment, "
                    << summary.categories << " cost categories, " << summary.postedLogs
                    << " posted usage logs, " << summary.transactions << " G/L transactions;\n  "
                    << summary.scheduleRows << " months of depreciation schedules, "
                    << summary.depreciationPosted << " of them posted to the G/L.\n";
    }
    // A company is signed on to by its users: a new one, or one kept without
    // users so far, starts with its administrator.
    if (Station::ensureAdministrator(company))
        context.out << "User " << Station::Administrator << " (administrator) added.\n";
    return Success;
}

int runInit(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const bool demo = reader.flag(u"demo"_s);
    const QString id = reader.option(u"id"_s).value_or(demo ? u"DEMO"_s : u"CO1"_s);
    const QString name = reader.option(u"name"_s).value_or(
        demo ? u"Demonstration Construction Co."_s : u"My Company"_s);
    QString problem;
    if (!reader.positionals(&problem).isEmpty() || !problem.isEmpty())
        return usage(context, u"init"_s, problem.isEmpty() ? u"unexpected arguments"_s : problem);
    if (!data::Company::isValidId(id))
        return usage(context, u"init"_s,
                     u"a company ID has 1 to 5 letters, digits, \"-\" or \"_\""_s);

    const QString folder = context.global.companyFolder;
    const bool existed = data::Company::exists(folder);
    // What the folder held before: a company that could not be made whole is
    // taken away again, so that no half-made company is ever opened.
    const QDir dir(folder);
    const bool folderExisted = dir.exists();
    const auto entries = [&folder] {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                      QDir::System);
    };
    const QStringList before = folderExisted ? entries() : QStringList();
    int status = Failure;
    try {
        status = makeCompany(context, folder, existed, demo, id, name);
    } catch (const std::exception &e) {
        context.err << "qaveq: " << e.what() << "\n";
    }
    if (status != Success && !existed && !folder.isEmpty()) {
        if (!folderExisted) {
            QDir(folder).removeRecursively();
        } else {
            for (const QString &entry : entries())
                if (!before.contains(entry) && !QFile::remove(dir.filePath(entry)))
                    QDir(dir.filePath(entry)).removeRecursively();
        }
        context.err << "qaveq: no company was created.\n";
    }
    return status;
}

int runDump(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const QString format = reader.option(u"format"_s).value_or(u"jsonl"_s);
    if (format != u"jsonl" && format != u"csv")
        return usage(context, u"dump"_s, u"the format is jsonl or csv"_s);
    int status = Success;
    const data::FileSchema *schema = namedFile(context, reader, u"dump"_s, status);
    if (!schema)
        return status;
    const std::unique_ptr<CommandSession> signedOn =
        CommandSession::open(context, Access::ReadsWholeFiles);
    if (!signedOn)
        return Failure;

    data::Table &table = signedOn->company().file(schema->name);
    const data::KeyDef *key = schema->firstUniqueKey();
    data::KeyCursor cursor = table.scan(key ? key->name : schema->keys.first().name);
    std::unique_ptr<data::Record> record = schema->create();
    const bool csv = format == u"csv";
    if (csv)
        context.out << data::RecordText::csvHeader(*schema) << "\n";
    while (cursor.next(*record)) {
        if (csv)
            context.out << data::RecordText::csvRow(*record) << "\n";
        else
            context.out << data::RecordText::toJsonLine(*record) << "\n";
    }
    if (cursor.error()) {
        context.err << "qaveq: reading " << schema->name << ": " << cursor.error()->text() << "\n";
        return Failure;
    }
    return Success;
}

int runLoad(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    int status = Success;
    const data::FileSchema *schema = namedFile(context, reader, u"load"_s, status);
    if (!schema)
        return status;
    const std::unique_ptr<CommandSession> signedOn =
        CommandSession::open(context, Access::WritesWholeFiles);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();

    // The bytes as they come: a line that is not valid UTF-8 is refused,
    // never read with replacement characters.
    QBuffer text;
    QIODevice *input = context.in.device();
    if (!input) {
        text.setData(context.in.readAll().toUtf8());
        text.open(QIODevice::ReadOnly);
        input = &text;
    }
    const data::LoadResult result = data::RecordLoader(company->file(schema->name)).load(*input);
    if (!result.done) {
        if (result.line > 0)
            context.err << "qaveq: line " << result.line << ": " << result.problem << "\n";
        else
            context.err << "qaveq: " << result.problem << "\n";
        context.err << "Nothing was loaded into " << schema->name << ".\n";
        return Failure;
    }
    const QString area = schema->name.startsWith(u"EQLog"_s) || schema->name == u"EQBatch"_s
                             ? UsageLogBatches::ActivityArea.toString()
                             : CostCategoryForms::EquipmentSetupArea;
    const SystemClock clock;
    data::logUserActivity(signedOn->session(), clock, area,
                          u"Loaded %1: %2 inserted, %3 updated"_s.arg(schema->name)
                              .arg(result.inserted)
                              .arg(result.updated));
    context.out << "Loaded " << schema->name << ": " << result.inserted << " inserted, "
                << result.updated << " updated.\n";
    return Success;
}

int runLoggingLevel(CommandContext &context)
{
    QString problem;
    const QStringList rest = ArgumentReader(context.arguments).positionals(&problem);
    bool number = true;
    const int level = rest.isEmpty() ? 0 : rest.first().toInt(&number);
    if (problem.isEmpty() &&
        (rest.size() > 1 || !number || level < 0 || level > LoggingLevel::Highest))
        problem = u"the logging level is 0, 1 or 2"_s;
    if (!problem.isEmpty())
        return usage(context, u"logging-level"_s, problem);
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    if (rest.isEmpty()) {
        context.out << LoggingLevel::stored(signedOn->company()) << "\n";
        return Success;
    }
    ConsolePrompter prompter(context.err);
    if (!LoggingLevel::change(signedOn->session(), prompter, level))
        return Failure;
    context.out << "The logging level is " << level << ".\n";
    return Success;
}

} // namespace

QList<Command> dataCommands()
{
    return {
        {u"init"_s, u"create a company folder (with --demo: a demonstration company)"_s,
         u"Usage: qaveq --company DIR init [--demo] [--id ID] [--name NAME]\n\n"
         "Creates the company in DIR: its settings file company.ini and its database\n"
         "with every file. Run again on an existing company, it adds what a newer\n"
         "version needs and keeps every record.\n\n"
         "  --demo       fill the new company with demonstration data: equipment, cost\n"
         "               categories, G/L accounts and fiscal periods, jobs, employees,\n"
         "               18 months of posted usage logs and G/L transactions, and\n"
         "               every equipment's depreciation schedule\n"
         "  --id ID      the company ID, up to 5 characters (default CO1, DEMO with --demo)\n"
         "  --name NAME  the company's name\n\n"
         "To keep the company on a PostgreSQL server, write DIR/company.ini first:\n"
         "  [Database]\n  Driver=PostgreSQL\n  Host=db.example\n  Port=5432\n"
         "  Name=qaveq\n  User=qaveq\n"
         "and keep the password in your libpq password file ~/.pgpass\n"
         "(db.example:5432:qaveq:qaveq:PASSWORD, mode 600). A Password= line in\n"
         "company.ini works too; init then makes company.ini readable by you only.\n"_s,
         runInit},
        {u"dump"_s, u"print every record of a file as JSON Lines or CSV"_s,
         u"Usage: qaveq --company DIR dump FILE [--format jsonl|csv]\n\n"
         "Prints every record of FILE (for example EQHeader, EQCode, GLDepr) in the\n"
         "order of its first unique key. JSON Lines (the default) name the fields\n"
         "without their prefix; dates are YYYY-MM-DD (empty when there is none),\n"
         "decimals are texts with their places, texts have no trailing spaces.\n"
         "CSV is for spreadsheets: a text that one would run as a formula (starting\n"
         "with =, +, - or @) starts with ' instead.\n"_s,
         runDump},
        {u"load"_s, u"insert or update records of a file from JSON Lines on stdin"_s,
         u"Usage: qaveq --company DIR load FILE < records.jsonl\n\n"
         "Reads one JSON object per line, in the form \"dump\" writes. A record whose\n"
         "first unique key (for EQHeader: EquipmentID) is already stored is updated\n"
         "with the fields given; any other is inserted. Fields left out keep their\n"
         "stored values, or start empty in a new record.\n\n"
         "The load is all or nothing: a bad line stops it, names the line and the\n"
         "reason, and leaves the file as it was (exit status 1). A line is bad when it\n"
         "is not valid UTF-8 or not one JSON object, names a field twice or a field the\n"
         "file lacks, holds a NUL character, a text longer than its field, a number\n"
         "outside the plain form -1234.50 (no grouping, ASCII digits) or a bad date,\n"
         "leaves a required field blank (EquipmentID, Description), gives a key an\n"
         "earlier line gave, or duplicates a stored key.\n\n"
         "Only the administrator (ADM) loads, and dumps, whole files: they are beneath\n"
         "the rules the windows and the other commands keep for each user.\n"_s,
         runLoad},
        {u"logging-level"_s, u"print or set the company's user-activity logging level"_s,
         u"Usage: qaveq --company DIR [--user ID] logging-level [0|1|2]\n\n"
         "Without a level, prints the company's logging level. With one, the\n"
         "administrator (ADM) sets it; other users are refused. At level 2 every\n"
         "add, change and delete of equipment, cost categories, batches and usage\n"
         "logs, from the windows and from commands, writes an entry to the user log\n"
         "(UserLog).\n"_s,
         runLoggingLevel},
    };
}

} // namespace qaveq::host
