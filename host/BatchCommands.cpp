#include "BatchCommands.h"

#include "CompanyAccess.h"

#include "logs/BatchReorder.h"
#include "logs/LogEntryForm.h"
#include "logs/LogEntryMemory.h"
#include "logs/LogTransfer.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQLogB.h"

#include "data/Company.h"
#include "data/Session.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/StandardWarnings.h"
#include "runtime/forms/FormModel.h"

#include "core/Clock.h"
#include "core/Picker.h"
#include "core/Picture.h"
#include "core/Text.h"

#include <QScopeGuard>

#include <map>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// The signed-on command's company and session, and the batches of one command.
struct Desk
{
    explicit Desk(const CommandContext &context)
        : prompter(context.err)
    {}

    std::unique_ptr<CommandSession> signedOn;
    data::Company *company = nullptr;
    data::Session *session = nullptr;
    ConsolePrompter prompter;
    SystemClock clock;
    std::unique_ptr<UsageLogBatches> batches;
};

// Null (and said why) when the company cannot be opened, the user is not in
// it or may not do what `access` says.
std::unique_ptr<Desk> openDesk(const CommandContext &context, Access access)
{
    auto desk = std::make_unique<Desk>(context);
    desk->signedOn = CommandSession::open(context, access);
    if (!desk->signedOn)
        return nullptr;
    desk->company = &desk->signedOn->company();
    desk->session = &desk->signedOn->session();
    desk->batches = std::make_unique<UsageLogBatches>(*desk->session, desk->prompter, desk->clock);
    return desk;
}

// From the command line a user's tags are the batches whose in-use flag they
// hold: they outlive the command, as a window's do while it is open.
void loadHeldTags(data::Session &session)
{
    data::KeyCursor held = session.company->file<EQBatch>().scan(u"KeySortID");
    for (EQBatch batch; held.next(batch);)
        if (Text::clip(batch.InUseBy) == session.userId)
            session.tagQueue.append(batch.BatchID);
}

int runBatch(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const std::optional<QString> description = reader.option(u"description"_s);
    const std::optional<QString> secure = reader.option(u"secure"_s);
    const bool proceed = reader.flag(u"proceed"_s);
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!reader.missingValue().isEmpty())
        problem = u"%1 needs a value"_s.arg(reader.missingValue());
    const QString action = rest.value(0);
    const bool flagging = action == u"tag" || action == u"untag";
    const std::optional<quint16> batchId = batchNumber(rest.value(1));
    const std::map<QString, BatchReorder::Move> moves{{u"up"_s, BatchReorder::Move::Up},
                                                      {u"down"_s, BatchReorder::Move::Down},
                                                      {u"top"_s, BatchReorder::Move::Top},
                                                      {u"bottom"_s, BatchReorder::Move::Bottom}};
    const auto move = moves.find(rest.value(2).toLower());
    if (problem.isEmpty() && flagging) {
        if (rest.size() != 2 || !batchId)
            problem = action + u" needs one batch number"_s;
        else if (description || secure)
            problem = action + u" takes no options"_s;
    } else if (problem.isEmpty() && action == u"move") {
        if (rest.size() != 3 || !batchId || move == moves.end())
            problem = u"move needs a batch number and up, down, top or bottom"_s;
        else if (description || secure)
            problem = u"move takes no options"_s;
    } else if (problem.isEmpty() && (rest.size() != 1 || (action != u"list" && action != u"add"))) {
        problem = u"say \"list\", \"add\", \"tag\", \"untag\" or \"move\""_s;
    }
    if (problem.isEmpty() && action == u"list" && (description || secure))
        problem = u"list takes no options"_s;
    if (problem.isEmpty() && proceed && action != u"tag")
        problem = u"--proceed is for tag only"_s;
    if (problem.isEmpty() && action == u"add" && !description)
        problem = u"add needs --description"_s;
    if (problem.isEmpty() && secure && *secure != u"0" && *secure != u"1" && *secure != u"2")
        problem = u"--secure is 0, 1 or 2"_s;
    if (problem.isEmpty() && description &&
        description->size() > EQBatch::fileSchema().field(u"Description")->width)
        problem = u"a description has at most 25 characters"_s;
    if (problem.isEmpty() && description && Text::hasControl(*description))
        problem = u"a description is one line, without tabs or other control characters"_s;
    if (!problem.isEmpty())
        return usage(context, u"batch"_s, problem);

    std::unique_ptr<Desk> desk =
        openDesk(context, action == u"list" ? Access::Reads : Access::ChangesUsageLogs);
    if (!desk)
        return Failure;
    data::Company *company = desk->company;
    data::Session *session = desk->session;
    UsageLogBatches &batches = *desk->batches;

    if (flagging) {
        loadHeldTags(*session);
        // A batch another signed-on user holds is asked about; Proceed takes it over.
        if (proceed)
            desk->prompter.answerWith(u"Proceed"_s);
        const bool wanted = action == u"tag";
        if (!wanted && !batches.isTagged(*batchId)) {
            // Only the holder frees a flag; saying "untagged" here would be untrue.
            context.err << "qaveq: batch " << *batchId << " is not tagged by " << session->userId
                        << "; nothing was changed.\n";
            return Failure;
        }
        if (batches.isTagged(*batchId) != wanted && !batches.tag(*batchId))
            return Failure;
        context.out << "Batch " << *batchId << (wanted ? " is tagged by " : " is untagged by ")
                    << session->userId << ".\n";
        return Success;
    }

    if (action == u"move") {
        EQBatch before;
        before.BatchID = *batchId;
        if (!company->file<EQBatch>().fetch(u"KeyBatchID", before)) {
            context.err << "qaveq: there is no batch " << *batchId << ".\n";
            return Failure;
        }
        BatchReorder reorder(*session, desk->prompter);
        const std::optional<qint32> place = reorder.move(*batchId, move->second);
        if (!place)
            return Failure;
        if (*place == before.SortID)
            context.out << "Batch " << *batchId << " is already "
                        << (move->second == BatchReorder::Move::Up ||
                                    move->second == BatchReorder::Move::Top
                                ? "first"
                                : "last")
                        << "; nothing was changed.\n";
        else
            context.out << "Batch " << *batchId << " moved " << move->first << ".\n";
        return Success;
    }

    if (action == u"add") {
        if (batches.refuseReadOnly())
            return Failure;
        EQBatch batch;
        batch.UserID = session->userId;
        batch.Description = *description;
        batch.Secure = quint8(secure.value_or(u"0"_s).toUInt());
        if (!batches.addBatch(batch))
            return Failure;
        context.out << batch.BatchID << "\n";
        return Success;
    }

    const Picture amount = Picture::parse(u"@n-15.2");
    context.out << "Batch  R  Description                User  Secure  In use  Logs           "
                   "         Amount\n";
    data::Table &logs = company->file<EQLogB>();
    data::KeyCursor cursor = company->file<EQBatch>().scan(u"KeySortID");
    for (EQBatch batch; cursor.next(batch);) {
        context.out << QString::number(batch.BatchID).rightJustified(5) << "  "
                    << (batch.Repeating == 1 ? u'R' : u' ') << "  "
                    << Text::clip(batch.Description).leftJustified(25) << "  "
                    << Text::clip(batch.UserID).leftJustified(4) << "  " << batch.Secure
                    << "       " << Text::clip(batch.InUseBy).leftJustified(6);
        // Another user's hidden batch is listed, but not what its logs hold.
        if (!UsageLogBatches::secureRefusal(*session, batch, UsageLogBatches::Use::Read)
                 .isEmpty()) {
            context.out << "\n";
            continue;
        }
        qint64 count = 0;
        Decimal total;
        data::KeyCursor entries =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batch.BatchID)}));
        for (EQLogB log; entries.next(log); ++count)
            total += log.AdjustedAmount;
        context.out << "  " << QString::number(count).rightJustified(4) << "  "
                    << amount.format(total).rightJustified(15) << "\n";
    }
    return Success;
}

int runPost(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    QList<quint16> wanted;
    QString problem;
    while (const std::optional<QString> value = reader.option(u"batch"_s)) {
        const std::optional<quint16> number = batchNumber(*value);
        if (!number) {
            problem = u"\""_s + *value + u"\" is not a batch number"_s;
            break;
        }
        if (!wanted.contains(*number))
            wanted.append(*number);
    }
    if (problem.isEmpty() && !reader.missingValue().isEmpty())
        problem = u"%1 needs a value"_s.arg(reader.missingValue());
    if (problem.isEmpty() && !reader.positionals(&problem).isEmpty())
        problem = u"name the batches with --batch"_s;
    if (problem.isEmpty() && wanted.isEmpty())
        problem = u"name at least one batch with --batch"_s;
    if (!problem.isEmpty())
        return usage(context, u"post"_s, problem);

    std::unique_ptr<Desk> desk = openDesk(context, Access::ChangesUsageLogs);
    if (!desk)
        return Failure;
    UsageLogBatches &batches = *desk->batches;
    const auto untag = qScopeGuard([&] { batches.releaseTagged(); });

    for (quint16 batch : wanted) {
        if (!batches.isTagged(batch) && !batches.tag(batch))
            return Failure;
    }
    const std::optional<UsageLogBatches::Posted> posted = batches.postTagged(wanted.first());
    if (!posted)
        return Failure;
    context.out << Text::withLineBreaks(posted->summary()) << "\n";
    return Success;
}

int runLogs(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const std::optional<QString> to = reader.option(u"to"_s);
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (problem.isEmpty() && !reader.missingValue().isEmpty())
        problem = u"%1 needs a value"_s.arg(reader.missingValue());
    const QString action = rest.value(0);
    const std::optional<quint16> target = batchNumber(to.value_or(QString()));
    QList<qint32> logIds;
    for (const QString &text : rest.mid(1)) {
        bool number = false;
        const qint32 logId = text.toInt(&number);
        if (!number || logId <= 0) {
            problem = u"\""_s + text + u"\" is not a log number"_s;
            break;
        }
        if (!logIds.contains(logId))
            logIds.append(logId);
    }
    if (problem.isEmpty() && action != u"copy" && action != u"move")
        problem = u"say \"copy\" or \"move\""_s;
    if (problem.isEmpty() && !target)
        problem = u"name the batch with --to"_s;
    if (problem.isEmpty() && logIds.isEmpty())
        problem = u"name at least one log"_s;
    if (!problem.isEmpty())
        return usage(context, u"logs"_s, problem);

    std::unique_ptr<Desk> desk = openDesk(context, Access::ChangesUsageLogs);
    if (!desk)
        return Failure;
    data::Company &company = *desk->company;
    data::Session &session = *desk->session;
    // The logs are taken from where they are, as the window takes them from
    // the highlighted batch: another user's secure batch gives none up.
    quint16 source = 0;
    for (qint32 logId : std::as_const(logIds)) {
        EQLogB log;
        log.LogID = logId;
        if (!company.file<EQLogB>().fetch(u"KeyLogID", log)) {
            context.err << "qaveq: there is no log " << logId << "; nothing was changed.\n";
            return Failure;
        }
        EQBatch batch;
        batch.BatchID = log.BatchID;
        if (company.file<EQBatch>().fetch(u"KeyBatchID", batch) && batch.Secure != 0 &&
            Text::clip(batch.UserID).compare(session.userId, Qt::CaseInsensitive) != 0) {
            context.err << "qaveq: log " << logId << " is in batch " << batch.BatchID
                        << ", a secure batch of user " << Text::clip(batch.UserID)
                        << "; nothing was changed.\n";
            return Failure;
        }
        if (source == 0)
            source = batch.BatchID;
    }
    // The paste ends with Untag All, as in the window.
    loadHeldTags(session);
    LogTransfer transfer(session, desk->prompter, *desk->batches);
    transfer.collect(action == u"copy" ? LogTransfer::Mode::Copy : LogTransfer::Mode::Move, logIds,
                     source);
    const std::optional<LogTransfer::Done> done = transfer.paste(*target);
    if (!done)
        return Failure;
    if (action == u"move") {
        context.out << "Moved " << logIds.size() << (logIds.size() == 1 ? " log" : " logs")
                    << " to batch " << *target << ".\n";
        return Success;
    }
    // The copies' numbers, one a line, in the order of the logs named.
    for (qint32 created : done->created)
        context.out << created << "\n";
    return Success;
}

// Lists open no window from the command line: a code not on file is refused.
class NoLookups final : public Picker
{
public:
    std::optional<QString> pick(const QString &, const QString &) override { return std::nullopt; }
};

int runLog(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const bool yes = reader.flag(u"yes"_s);
    std::map<QString, std::optional<QString>> given;
    for (const QString &name :
         {u"batch"_s, u"equipment"_s, u"units"_s, u"end"_s, u"job"_s, u"cost-code"_s, u"account"_s,
          u"charged"_s, u"category"_s, u"date"_s, u"rate-type"_s, u"comment"_s})
        given[name] = reader.option(name);
    const auto has = [&given](const QString &name) { return given[name].has_value(); };
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!reader.missingValue().isEmpty())
        problem = u"%1 needs a value"_s.arg(reader.missingValue());
    const std::optional<quint16> batchId = batchNumber(given[u"batch"_s].value_or(QString()));
    QString detail;
    if (has(u"job"_s) && has(u"cost-code"_s))
        detail = LogEntryForm::Job;
    else if (has(u"account"_s))
        detail = LogEntryForm::Account;
    else if (has(u"charged"_s) && has(u"category"_s))
        detail = LogEntryForm::Equipment;
    else if (has(u"category"_s) && !has(u"charged"_s))
        detail = LogEntryForm::Maintenance;
    if (problem.isEmpty() && (rest != QStringList{u"add"_s}))
        problem = u"say \"add\""_s;
    if (problem.isEmpty() && !batchId)
        problem = u"name the batch with --batch"_s;
    if (problem.isEmpty() && !has(u"equipment"_s))
        problem = u"name the equipment with --equipment"_s;
    if (problem.isEmpty() && has(u"units"_s) == has(u"end"_s))
        problem = u"give either --units or --end"_s;
    if (problem.isEmpty() && detail.isEmpty())
        problem = u"charge the log with --job and --cost-code, --account, --charged and "
                  u"--category, or --category"_s;
    const QString rateType = given[u"rate-type"_s].value_or(u"I"_s).toUpper();
    if (problem.isEmpty() && rateType != u"I" && rateType != u"R")
        problem = u"--rate-type is I or R"_s;
    if (!problem.isEmpty())
        return usage(context, u"log"_s, problem);

    std::unique_ptr<Desk> desk = openDesk(context, Access::ChangesUsageLogs);
    if (!desk)
        return Failure;
    data::Session *session = desk->session;
    UsageLogBatches &batches = *desk->batches;
    if (yes)
        desk->prompter.answerWith(u"Yes"_s);
    const auto release = qScopeGuard([&] { batches.releaseHeld(); });
    // The batch is held while the log is entered, as the window holds it.
    if (!batches.holdForEntry(*batchId, true))
        return Failure;
    EQBatch &batch = session->buffer<EQBatch>();
    batch.BatchID = *batchId;
    if (!desk->company->file<EQBatch>().fetch(u"KeyBatchID", batch))
        return Failure;

    // Each run starts afresh: the readings of the unposted logs keep a new
    // log's start meter from falling below one already entered.
    LogEntryMemory memory;
    memory.rebuild(*desk->company);
    NoLookups lookups;
    session->globalRequest = data::Request::Insert;
    forms::FormModel form(LogEntryForm::definition(*session, memory),
                          {*session, desk->prompter, lookups, desk->clock,
                           [&desk](int number, const QString &text1, const QString &text2) {
                               const auto warning =
                                   StandardWarnings::describe(number, text1, text2, {}, 0);
                               return warning ? desk->prompter.ask(warning->message) : 1;
                           }});
    if (!form.isOpen())
        return Failure;
    // The values in the order the form's cursor takes them; each is checked
    // as if typed and left, so every rule of the form applies.
    QList<std::pair<QString, QString>> typed{{u"EQLB:EquipmentID"_s, *given[u"equipment"_s]}};
    if (has(u"end"_s))
        typed.append({u"EQLB:EndMeter"_s, *given[u"end"_s]});
    else
        typed.append({u"EQLB:Units"_s, *given[u"units"_s]});
    if (form.choose(u"EQLB:ChargeType", rateType) || form.choose(u"EQLB:DetailType", detail))
        return Failure;
    for (const auto &[option, field] :
         {std::pair{u"job"_s, u"EQLB:JobID"_s}, std::pair{u"cost-code"_s, u"EQLB:CostCode"_s},
          std::pair{u"account"_s, u"EQLB:GLAccount"_s},
          std::pair{u"charged"_s, u"EQLB:EquipmentIDCharged"_s},
          std::pair{u"category"_s, u"EQLB:Category"_s}, std::pair{u"comment"_s, u"EQLB:Comments"_s},
          std::pair{u"date"_s, u"EQLB:Date"_s}})
        if (has(option))
            typed.append({field, *given[option]});
    // A code not on file opens no list here: say which value stopped the log.
    const auto refused = [&context, &form](const QString &field, const QString &text) {
        const forms::Control *control = form.control(field);
        context.err << "qaveq: " << (control ? control->prompt : field) << " \"" << text
                    << "\" was not accepted; the log was not added.\n";
        return Failure;
    };
    for (const auto &[field, text] : typed)
        if (form.edit(field, text))
            return refused(field, text);
    if (const forms::FormModel::Outcome failed = form.checkAll())
        return refused(failed->field, form.text(failed->field));
    if (!form.save())
        return Failure;
    context.out << session->buffer<EQLogB>().LogID << "\n";
    return Success;
}

} // namespace

QList<Command> batchCommands()
{
    return {
        {u"batch"_s, u"list the usage-log batches, add, tag, untag or move one"_s,
         u"Usage: qaveq --company DIR [--user ID] batch list\n"
         "       qaveq --company DIR [--user ID] batch add --description TEXT [--secure 0|1|2]\n"
         "       qaveq --company DIR [--user ID] batch tag N [--proceed]\n"
         "       qaveq --company DIR [--user ID] batch untag N\n"
         "       qaveq --company DIR [--user ID] batch move N up|down|top|bottom\n\n"
         "list shows every batch in manual order with its owner, security, the user\n"
         "holding it, its number of logs and their amount.\n"
         "add creates a batch owned by the user and prints its number. Security:\n"
         "0 allows access to other users, 1 disallows it, 2 hides the batch's logs.\n"
         "tag takes the batch's in-use flag for the user, as the usage-log window's\n"
         "Tag does, and keeps it until untag gives it free. A batch another\n"
         "signed-on user holds is refused (it is \"in use\"), unless --proceed\n"
         "answers the window's question with Proceed; a flag of a user who is not\n"
         "signed on is taken over. Another user's secure batch is refused.\n"
         "move changes the batch's place in the manual order: one place up or down,\n"
         "or to the top or the bottom, the batches between shifting one place.\n"_s,
         runBatch},
        {u"logs"_s, u"copy or move usage logs to another batch"_s,
         u"Usage: qaveq --company DIR [--user ID] logs copy|move --to N LOGID...\n\n"
         "copy adds a copy of each log to batch N and prints the copies' numbers;\n"
         "move puts the logs themselves in batch N. Either all the logs are copied\n"
         "or moved, or none. Another user's secure batch takes no logs and gives\n"
         "none up.\n"_s,
         runLogs},
        {u"post"_s, u"post usage-log batches"_s,
         u"Usage: qaveq --company DIR [--user ID] post --batch N [--batch M ...]\n\n"
         "Tags the batches, posts them as the usage-log window's \"Post Tagged\n"
         "Batches\" does (the posting right, other users' activities, the backup the\n"
         "user asks for), re-dates the logs of repeating batches and untags them,\n"
         "all in one run: posted once or not at all. Moves each equipment's meter to\n"
         "its highest posted reading. Prints the logs posted, their amount, the G/L\n"
         "journal number and the batches that were empty. A batch another user holds\n"
         "is refused. Nothing is posted when any log cannot be, nor when every batch\n"
         "named is empty.\n"_s,
         runPost},
        {u"log"_s, u"add a usage log to a batch"_s,
         u"Usage: qaveq --company DIR [--user ID] log add --batch N --equipment ID\n"
         "         (--units U | --end E)\n"
         "         (--job J --cost-code C | --account A | --charged ID --category C |\n"
         "          --category C)\n"
         "         [--date M/D/YYYY] [--rate-type I|R] [--comment TEXT] [--yes]\n\n"
         "Adds one log through the rules of the log entry form: the start meter from\n"
         "the equipment's meter, the charge at its internal (I) or rental (R) rate,\n"
         "the job, cost code, account and category checked against their files. The\n"
         "charge goes to a job with --job and --cost-code, to an account with\n"
         "--account, to other equipment with --charged and --category, to the\n"
         "equipment's own maintenance with --category alone. Messages go to stderr;\n"
         "questions take their default answer, or Yes with --yes. Prints the log's\n"
         "number.\n"_s,
         runLog},
    };
}

} // namespace qaveq::host
