#include "Services.h"

#include "SiblingModules.h"
#include "UsageLogPosting.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/SuiteModule.h"
#include "data/Transaction.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ConsolePrompter.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

namespace {

// A folder of the company's own: in its folder, or, for a company opened
// from its connection alone, beside its database file; never in whatever
// folder happens to be current. Empty when there is no such place.
QString companyFolder(const QString &sub)
{
    data::Session *current = session();
    if (!current)
        return {};
    if (!current->company->folder().isEmpty())
        return QDir(current->company->folder()).filePath(sub);
    const QString database = current->company->database().settings().sqliteFile;
    return database.isEmpty() ? QString() : QFileInfo(database).dir().filePath(sub);
}

} // namespace

data::Session *session()
{
    data::Session *current = data::Session::current();
    return current && current->company ? current : nullptr;
}

void tell(data::SuiteModule &module, const QString &caption, const QString &text)
{
    prompterOf(module).ask(Message{caption, text, u"&OK"_s, 1, Message::Icon::Information});
}

// Where a sibling module's messages go: the error manager it was initialised
// with, else the console.
Prompter &prompterOf(data::SuiteModule &module)
{
    if (module.errorManager() && module.errorManager()->prompter())
        return *module.errorManager()->prompter();
    static QTextStream err(stderr);
    static ConsolePrompter console(err);
    return console;
}

// The error manager a sibling module reports through: the one it was
// initialised with, else its own.
data::ErrorManager &errorsOf(data::SuiteModule &module)
{
    if (module.errorManager())
        return *module.errorManager();
    static data::ErrorManager own(u"suite"_s, &prompterOf(module));
    return own;
}

int CREATEDEPRECIATIONBATCH()
{
    data::Session *current = session();
    if (!current)
        return 0;
    data::Company &company = *current->company;
    const data::Record &equipment = current->buffer(*company.catalog().find(u"EQHeader"));
    const QString id = Text::clip(std::get<QString>(equipment.value(u"EquipmentID")));
    const qint64 method = std::get<qint64>(equipment.value(u"DepreciationMethod"));
    const GLFiscal &period = current->buffer<GLFiscal>();
    if (id.isEmpty() || period.FiscalPeriod == 0) {
        tell(qavgl(), u"Depreciation Batch"_s,
             u"Choose the equipment and the fiscal period to post through."_s);
        return 0;
    }
    const QString amountField = method == 2   ? u"SYAmount"_s
                                : method == 3 ? u"DDBAmount"_s
                                : method == 4 ? u"UD1Amount"_s
                                              : u"SLAmount"_s;
    const QString expense = Text::clip(std::get<QString>(equipment.value(u"DestinationAccount")));
    const QString asset = Text::clip(std::get<QString>(equipment.value(u"AssetAccount")));

    data::Table &rows = company.file(u"GLDepr");
    data::Table &ledger = company.file<GLTrans>();
    data::Transaction transaction(company.database(), {u"GLDepr"_s, u"GLTrans"_s},
                                  std::chrono::seconds(5));
    if (!transaction.isActive()) {
        tell(qavgl(), u"Depreciation Batch"_s, transaction.notBegunText());
        return 0;
    }
    int posted = 0;
    data::ScanOptions upTo;
    upTo.from = {id};
    upTo.to = {id, qint64(period.EndDate)};
    data::KeyCursor cursor = rows.scan(u"KeyEquipmentID", upTo);
    std::unique_ptr<data::Record> row = rows.schema().create();
    while (cursor.next(*row)) {
        if (std::get<qint64>(row->value(u"GLTransID")) != 0)
            continue;
        const Decimal amount = std::get<Decimal>(row->value(amountField));
        GLTrans debit;
        debit.JournalID = u"DEP"_s;
        debit.FiscalPeriod = period.FiscalPeriod;
        debit.TransDate = period.EndDate;
        debit.Account = expense;
        debit.CreditDebit = u"D"_s;
        debit.Amount = amount;
        debit.EquipmentID = id;
        debit.Description = u"Depreciation "_s + id;
        GLTrans credit = debit;
        credit.Account = asset;
        credit.CreditDebit = u"C"_s;
        if (data::FileStatus status = ledger.insert(debit); !status) {
            tell(qavgl(), u"Depreciation Batch"_s, status.error().text() + u" Inserting GLTrans"_s);
            return 0; // the transaction rolls back: nothing half posted
        }
        credit.JournalNo = debit.JournalNo = debit.RecordID;
        if (data::FileStatus status = ledger.insert(credit); !status) {
            tell(qavgl(), u"Depreciation Batch"_s, status.error().text() + u" Inserting GLTrans"_s);
            return 0;
        }
        row->setValue(u"ActualAmount", amount);
        row->setValue(u"FPPostedLabel", Text::cut(period.Label, 5));
        row->setValue(u"GLTransID", qint64(debit.RecordID));
        if (data::FileStatus status = rows.update(*row); !status) {
            tell(qavgl(), u"Depreciation Batch"_s, status.error().text() + u" Saving GLDepr"_s);
            return 0;
        }
        ++posted;
    }
    if (data::FileStatus status = transaction.commit(); !status) {
        tell(qavgl(), u"Depreciation Batch"_s, status.error().text());
        return 0;
    }
    return posted;
}

QString imageStoreFolder()
{
    return companyFolder(u"images"_s);
}

std::optional<QString> STOREIMAGEFILE(const QString &path)
{
    const QString folder = imageStoreFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(path).isFile())
        return std::nullopt;
    const QString stored =
        QUuid::createUuid().toString(QUuid::WithoutBraces) + u'-' + QFileInfo(path).fileName();
    if (!QFile::copy(path, QDir(folder).filePath(stored)))
        return std::nullopt;
    return stored;
}

bool EXTRACTIMAGEFILE(const QString &stored, const QString &target)
{
    QFile::remove(target);
    return QFile::copy(QDir(imageStoreFolder()).filePath(stored), target);
}

bool REMOVEIMAGEFILE(const QString &stored)
{
    return QFile::remove(QDir(imageStoreFolder()).filePath(stored));
}

bool USERDEFTEST(quint32 limitId, const QString &value)
{
    data::Session *current = session();
    if (!current)
        return true;
    data::ScanOptions options = data::ScanOptions::equal({u"EQLimits"_s, qint64(limitId)});
    options.filters = {data::Filter{u"LL:Kind"_s, data::Filter::Op::Equal, u"UD"_s}};
    data::KeyCursor cursor = current->company->file<LimList>().scan(u"KeyLimit", options);
    LimList entry;
    bool limited = false;
    while (cursor.next(entry)) {
        limited = true;
        if (Text::clip(entry.Value).compare(Text::clip(value), Qt::CaseInsensitive) == 0)
            return true;
    }
    return !limited;
}

std::optional<QString> PREPOSTBACKUP()
{
    data::Session *current = session();
    if (!current)
        return std::nullopt;
    data::Database &database = current->company->database();
    if (!database.canCopyToFile()) {
        tell(
            qavmisc(), u"Backup"_s,
            u"This company's data is kept on a PostgreSQL server.|Back it up there (pg_dump) before posting."_s);
        return std::nullopt;
    }
    const QString folder = companyFolder(u"backups"_s);
    QDir().mkpath(folder);
    const QString target = QDir(folder).filePath(
        u"company-%1.sqlite"_s.arg(QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s)));
    if (const data::FileStatus copied = database.copyTo(target); !copied) {
        tell(qavmisc(), u"Backup"_s, u"The backup could not be made: "_s + copied.error().text());
        return std::nullopt;
    }
    return target;
}

void POSTINGCONTROL()
{
    data::Session *current = session();
    if (!current)
        return;
    // Only the usage-log hand-off posts here; Posted tells the caller that its
    // batches were posted, anything else that nothing was.
    if (current->postType != data::PostType::UsageLogs) {
        tell(qavgl(), u"Posting"_s, u"There is nothing of this kind to post here."_s);
        return;
    }
    const SystemClock clock;
    const PostingOutcome outcome = postUsageLogs(*current, current->tagQueue, clock);
    if (!outcome.posted) {
        prompterOf(qavgl()).ask(Message{u"Posting"_s, outcome.error + u"|Nothing was posted."_s,
                                        u"&OK"_s, 1, Message::Icon::Stop});
        return;
    }
    current->postingJournal = outcome.journal;
    current->postType = data::PostType::Posted;
}

QList<JCHeader> FILLJOBSEARCHQ(const QString &text)
{
    QList<JCHeader> byId;
    QList<JCHeader> byName;
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return {};
    const QString wanted = text.trimmed();
    data::KeyCursor cursor = session->company->file<JCHeader>().scan(u"KeyJobID");
    JCHeader job;
    while (cursor.next(job)) {
        if (job.JobID.startsWith(wanted, Qt::CaseInsensitive))
            byId.append(job);
        else if (job.Name.contains(wanted, Qt::CaseInsensitive))
            byName.append(job);
    }
    return byId.isEmpty() ? byName : byId;
}

} // namespace qaveq::suite
