#include "BatchCommands.h"

#include "CompanyAccess.h"

#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQLogB.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ConsolePrompter.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// The company, the signed-on user's session and the batches of one command.
struct Desk
{
    explicit Desk(const CommandContext &context)
        : prompter(context.err)
    {}

    std::unique_ptr<data::Company> company;
    std::unique_ptr<data::Session> session;
    ConsolePrompter prompter;
    SystemClock clock;
    std::unique_ptr<UsageLogBatches> batches;
};

// Null (and said why) when the company cannot be opened or the user is not in it.
std::unique_ptr<Desk> openDesk(const CommandContext &context)
{
    auto desk = std::make_unique<Desk>(context);
    desk->company = openCompany(context);
    if (!desk->company)
        return nullptr;
    data::Company &company = *desk->company;
    UserFile user;
    user.UserID = context.global.userId.toUpper();
    if (!company.file<UserFile>().fetch(u"KeyUserID", user)) {
        context.err << "qaveq: there is no user \"" << user.UserID << "\" in this company.\n";
        return nullptr;
    }
    desk->session = std::make_unique<data::Session>(&company);
    data::Session &session = *desk->session;
    session.userId = user.UserID;
    session.companyId = company.id();
    session.companyName = company.name();
    session.dataPath = company.folder();
    session.controlPath = company.folder();
    session.loadCompanySettings();
    session.equipmentReadOnly = user.EquipmentReadOnly != 0;
    session.usageLogsReadOnly = user.UsageLogsReadOnly != 0;
    desk->batches = std::make_unique<UsageLogBatches>(session, desk->prompter, desk->clock);
    return desk;
}

int runBatch(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const std::optional<QString> description = reader.option(u"description"_s);
    const std::optional<QString> secure = reader.option(u"secure"_s);
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!reader.missingValue().isEmpty())
        problem = u"--%1 needs a value"_s.arg(reader.missingValue());
    const QString action = rest.value(0);
    const bool flagging = action == u"tag" || action == u"untag";
    quint16 batchId = 0;
    if (problem.isEmpty() && flagging) {
        bool ok = false;
        const uint number = rest.value(1).toUInt(&ok);
        if (rest.size() != 2 || !ok || number == 0 || number > 65535)
            problem = action + u" needs one batch number"_s;
        else if (description || secure)
            problem = action + u" takes no options"_s;
        batchId = quint16(number);
    } else if (problem.isEmpty() && (rest.size() != 1 || (action != u"list" && action != u"add"))) {
        problem = u"say \"list\", \"add\", \"tag\" or \"untag\""_s;
    }
    if (problem.isEmpty() && action == u"list" && (description || secure))
        problem = u"list takes no options"_s;
    if (problem.isEmpty() && action == u"add" && !description)
        problem = u"add needs --description"_s;
    if (problem.isEmpty() && secure && *secure != u"0" && *secure != u"1" && *secure != u"2")
        problem = u"--secure is 0, 1 or 2"_s;
    if (problem.isEmpty() && description &&
        description->size() > EQBatch::fileSchema().field(u"Description")->width)
        problem = u"a description has at most 25 characters"_s;
    if (!problem.isEmpty())
        return usage(context, u"batch"_s, problem);

    std::unique_ptr<Desk> desk = openDesk(context);
    if (!desk)
        return Failure;
    data::Company *company = desk->company.get();
    data::Session *session = desk->session.get();
    UsageLogBatches &batches = *desk->batches;

    if (flagging) {
        // From the command line a user's tags are the batches whose in-use
        // flag they hold: they outlive the command, as a window's do while
        // it is open.
        data::KeyCursor held = company->file<EQBatch>().scan(u"KeySortID");
        for (EQBatch batch; held.next(batch);)
            if (Text::clip(batch.InUseBy) == session->userId)
                session->tagQueue.append(batch.BatchID);
        const bool wanted = action == u"tag";
        if (batches.isTagged(batchId) != wanted && !batches.tag(batchId))
            return Failure;
        context.out << "Batch " << batchId << (wanted ? " is tagged by " : " is untagged by ")
                    << session->userId << ".\n";
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
        qint64 count = 0;
        Decimal total;
        data::KeyCursor entries =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batch.BatchID)}));
        for (EQLogB log; entries.next(log); ++count)
            total += log.AdjustedAmount;
        context.out << QString::number(batch.BatchID).rightJustified(5) << "  "
                    << (batch.Repeating == 1 ? u'R' : u' ') << "  "
                    << Text::clip(batch.Description).leftJustified(25) << "  "
                    << Text::clip(batch.UserID).leftJustified(4) << "  " << batch.Secure
                    << "       " << Text::clip(batch.InUseBy).leftJustified(6) << "  "
                    << QString::number(count).rightJustified(4) << "  "
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
        bool ok = false;
        const uint number = value->toUInt(&ok);
        if (!ok || number == 0 || number > 65535) {
            problem = u"\""_s + *value + u"\" is not a batch number"_s;
            break;
        }
        wanted.append(quint16(number));
    }
    if (problem.isEmpty() && !reader.missingValue().isEmpty())
        problem = u"--%1 needs a value"_s.arg(reader.missingValue());
    if (problem.isEmpty() && !reader.positionals(&problem).isEmpty())
        problem = u"name the batches with --batch"_s;
    if (problem.isEmpty() && wanted.isEmpty())
        problem = u"name at least one batch with --batch"_s;
    if (!problem.isEmpty())
        return usage(context, u"post"_s, problem);

    std::unique_ptr<Desk> desk = openDesk(context);
    if (!desk)
        return Failure;
    data::Company *company = desk->company.get();
    data::Session *session = desk->session.get();
    UsageLogBatches &batches = *desk->batches;
    data::Session::setCurrent(session);
    const auto signOff = qScopeGuard([&] {
        batches.releaseTagged();
        data::Session::setCurrent(nullptr);
    });

    // Posting marks the user's NetUser record; a run that was not signed on
    // leaves none behind.
    NetUser me;
    me.UserID = session->userId;
    me.CompanyID = company->id();
    const bool signedOn = company->file<NetUser>().fetch(u"KeyUserCompany", me).isOk();
    const auto removeNetUser = qScopeGuard([&] {
        if (!signedOn && company->file<NetUser>().fetch(u"KeyUserCompany", me))
            static_cast<void>(company->file<NetUser>().remove(me));
    });

    for (quint16 batch : wanted) {
        if (!batches.isTagged(batch) && !batches.tag(batch))
            return Failure;
    }
    if (!batches.postTagged(wanted.first()))
        return Failure;
    QStringList numbers;
    for (quint16 batch : wanted)
        numbers.append(QString::number(batch));
    context.out << "Posted batch" << (wanted.size() == 1 ? " " : "es ") << numbers.join(u", ")
                << ".\n";
    return Success;
}

} // namespace

QList<Command> batchCommands()
{
    return {
        {u"batch"_s, u"list the usage-log batches, add one, tag or untag one"_s,
         u"Usage: qaveq --company DIR [--user ID] batch list\n"
         "       qaveq --company DIR [--user ID] batch add --description TEXT [--secure 0|1|2]\n"
         "       qaveq --company DIR [--user ID] batch tag|untag N\n\n"
         "list shows every batch in manual order with its owner, security, the user\n"
         "holding it, its number of logs and their amount.\n"
         "add creates a batch owned by the user and prints its number. Security:\n"
         "0 allows access to other users, 1 disallows it, 2 hides the batch's logs.\n"
         "tag takes the batch's in-use flag for the user, as the usage-log window's\n"
         "Tag does, and keeps it until untag gives it free. A batch another\n"
         "signed-on user holds is refused; so is another user's secure batch.\n"_s,
         runBatch},
        {u"post"_s, u"post usage-log batches"_s,
         u"Usage: qaveq --company DIR [--user ID] post --batch N [--batch M ...]\n\n"
         "Tags the batches, posts them as the usage-log window's \"Post Tagged\n"
         "Batches\" does (the posting right, other users' activities, the backup the\n"
         "user asks for), re-dates the logs of repeating batches and untags them.\n"
         "A batch another user holds is refused. Nothing is posted when any log\n"
         "cannot be.\n"_s,
         runPost},
    };
}

} // namespace qaveq::host
