#include "UsageLogBatches.h"

#include "common/ReadOnlyAccess.h"
#include "records/EQBatch.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/UserActivity.h"
#include "data/suite/SystemFiles.h"

#include "suite/Services.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

const QString PostingActivity = u"posting Equipment Usage Logs"_s;

} // namespace

UsageLogBatches::ShowTags UsageLogBatches::next(ShowTags shown)
{
    switch (shown) {
    case ShowTags::All:
        return ShowTags::Tagged;
    case ShowTags::Tagged:
        return ShowTags::UnTagged;
    case ShowTags::UnTagged:
        break;
    }
    return ShowTags::All;
}

QString UsageLogBatches::caption(ShowTags shown)
{
    switch (shown) {
    case ShowTags::Tagged:
        return u"Showing Tagged"_s;
    case ShowTags::UnTagged:
        return u"Showing UnTagged"_s;
    case ShowTags::All:
        break;
    }
    return u"Show All"_s;
}

UsageLogBatches::UsageLogBatches(data::Session &session, Prompter &prompter, const Clock &clock)
    : m_session(session)
    , m_prompter(prompter)
    , m_clock(clock)
{}

QString UsageLogBatches::secureRefusal(const data::Session &session, const EQBatch &batch, Use use)
{
    const QString owner = Text::clip(batch.UserID);
    if (batch.Secure == 0 || owner.compare(session.userId, Qt::CaseInsensitive) == 0 ||
        (use == Use::Read && batch.Secure == 1))
        return {};
    return (batch.Secure == 1
                ? u"Usage Logs included in Highlighted Batch can only be modified by user "_s
                : u"Usage Logs included in Highlighted Batch can only be viewed by user "_s) +
           owner;
}

bool UsageLogBatches::refuseSecure(const EQBatch &batch, Use use)
{
    const QString refusal = secureRefusal(m_session, batch, use);
    if (refusal.isEmpty())
        return false;
    stop(u"Secure Batch"_s, refusal);
    return true;
}

UsageLogBatches::Pane UsageLogBatches::paneFor(const EQBatch &batch) const
{
    if (const QString refusal = secureRefusal(m_session, batch, Use::Change); !refusal.isEmpty())
        return {refusal, secureRefusal(m_session, batch, Use::Read).isEmpty(), false};
    return {u"Usage Logs included in Highlighted Batch"_s, true, true};
}

QList<EQBatch> UsageLogBatches::open(bool writing) const
{
    QList<EQBatch> result;
    data::KeyCursor cursor = m_session.company->file<EQBatch>().scan(u"KeySortID");
    for (EQBatch batch; cursor.next(batch);) {
        const Pane pane = paneFor(batch);
        if (writing ? pane.enabled : pane.logsShown)
            result.append(batch);
    }
    return result;
}

QString UsageLogBatches::recordCount(qint64 count)
{
    return QString::number(count) + (count == 1 ? u" Record"_s : u" Records"_s);
}

QString UsageLogBatches::companyId() const
{
    return m_session.companyId.isEmpty() ? m_session.company->id() : m_session.companyId;
}

bool UsageLogBatches::foreignSecure(const EQBatch &batch) const
{
    return batch.Secure != 0 &&
           Text::clip(batch.UserID).compare(m_session.userId, Qt::CaseInsensitive) != 0;
}

void UsageLogBatches::stop(const QString &caption, const QString &text)
{
    m_prompter.ask(Message::alert(caption, text));
}

void UsageLogBatches::fail(const QString &text)
{
    m_prompter.ask(Message{u"Usage Logs"_s, text, u"&OK"_s, 1, Message::Icon::Stop});
}

void UsageLogBatches::activity(const QString &text)
{
    data::logUserActivity(m_session, m_clock, ActivityArea.toString(), text);
}

bool UsageLogBatches::refuseReadOnly()
{
    return refuseUsageLogsReadOnly(m_session, m_prompter);
}

bool UsageLogBatches::fetch(quint16 batchId, EQBatch &batch)
{
    batch.BatchID = batchId;
    if (data::FileStatus status = m_session.company->file<EQBatch>().fetch(u"KeyBatchID", batch);
        !status) {
        fail(batchUnread(status.error(), batchId));
        return false;
    }
    return true;
}

QString UsageLogBatches::batchUnread(const data::FileError &error, quint16 batchId)
{
    if (error.code == data::FileErrorCode::RecordNotFound)
        return u"There is no batch %1."_s.arg(batchId);
    return error.text() + u" Reading EQBatch"_s;
}

namespace {

bool isSignedOn(const data::Session &session, const QString &user)
{
    NetUser record;
    record.UserID = user;
    record.CompanyID = session.companyId.isEmpty() ? session.company->id() : session.companyId;
    return session.company->file<NetUser>().fetch(u"KeyUserCompany", record).isOk();
}

} // namespace

bool UsageLogBatches::signedOn(const QString &user) const
{
    return isSignedOn(m_session, user);
}

QString UsageLogBatches::inUseRefusal(const data::Session &session, const EQBatch &batch)
{
    const QString holder = Text::clip(batch.InUseBy);
    if (holder.isEmpty() || holder.compare(session.userId, Qt::CaseInsensitive) == 0 ||
        !isSignedOn(session, holder))
        return {};
    return u"This usage log batch is flagged as being in use |by user "_s + holder + u"."_s;
}

bool UsageLogBatches::askInUse(const QString &holder)
{
    const QString text = u"This usage log batch is flagged as being in use |by user "_s + holder +
                         u".  If you suspect that user "_s + holder + u"|"_s +
                         u"is not currently using the batch, please check.|"_s +
                         u"If you are certain there are no other users entering |"_s +
                         u"or posting in this batch, you may select Proceed."_s;
    return m_prompter.ask(Message{u"Batch In Use"_s, text, u"&Cancel|&Proceed"_s, 1,
                                  Message::Icon::Question}) == 2;
}

data::FileStatus UsageLogBatches::insertBatch(data::Company &company, EQBatch &batch)
{
    data::Table &batches = company.file<EQBatch>();
    data::Transaction transaction(company.database(), {u"EQBatch"_s}, WriteWait);
    if (!transaction.isActive())
        return transaction.error();
    data::ScanOptions last;
    last.direction = data::Direction::Backward;
    last.pageSize = 1;
    EQBatch highest;
    data::KeyCursor cursor = batches.scan(u"KeySortID", last);
    batch.SortID = cursor.next(highest) ? highest.SortID + 1 : 1;
    if (data::FileStatus status = batches.insert(batch); !status)
        return status;
    return transaction.commit();
}

QString UsageLogBatches::addedText(const EQBatch &batch)
{
    const QString description = Text::clip(batch.Description);
    return u"Added batch "_s + QString::number(batch.BatchID) +
           (description.isEmpty() ? QString() : u", "_s + description) + u'.';
}

bool UsageLogBatches::addBatch(EQBatch &batch)
{
    batch.BatchID = 0;
    if (data::FileStatus status = insertBatch(*m_session.company, batch); !status) {
        batch.BatchID = 0;
        fail(status.error().text() + u" Saving EQBatch"_s);
        return false;
    }
    activity(u"Added "_s + batchText(batch));
    return true;
}

QString UsageLogBatches::batchText(const EQBatch &batch)
{
    return u"log entry batch ("_s + QString::number(batch.BatchID) + u") "_s +
           Text::clip(batch.Description);
}

const QList<quint16> &UsageLogBatches::tags() const
{
    return m_session.tagQueue;
}

bool UsageLogBatches::isTagged(quint16 batchId) const
{
    return m_session.tagQueue.contains(batchId);
}

UsageLogBatches::Take UsageLogBatches::takeFlag(quint16 batchId, const QString &allowedHolder,
                                                QString *holder)
{
    data::Table &batches = m_session.company->file<EQBatch>();
    EQBatch batch;
    if (!fetch(batchId, batch))
        return Take::Failed;
    const QString current = Text::clip(batch.InUseBy);
    if (!current.isEmpty() && current != m_session.userId && current != allowedHolder) {
        *holder = current;
        return Take::Held;
    }
    // Written only while the flag still is what was read, in one statement:
    // of two users taking the same batch at once exactly one gets it, and the
    // other is told who did.
    const data::FieldValue seen = batch.InUseBy;
    batch.InUseBy = m_session.userId;
    const data::FileStatus status = batches.updateIf(batch, u"InUseBy", seen);
    if (status)
        return Take::Taken;
    // Another station changed the flag first: whoever holds it now is asked
    // about (or, when it was given free again, the flag is tried once more).
    if (status.error().code == data::FileErrorCode::RecordChanged && fetch(batchId, batch)) {
        *holder = Text::clip(batch.InUseBy);
        return Take::Held;
    }
    fail(status.error().text() + u" Saving EQBatch"_s);
    return Take::Failed;
}

bool UsageLogBatches::acquire(quint16 batchId, bool ask)
{
    QString allowed;
    QString holder;
    // A flag that changes hands while the question is open is asked about again.
    for (int round = 0; round < 3; ++round) {
        holder.clear();
        switch (takeFlag(batchId, allowed, &holder)) {
        case Take::Taken:
            return true;
        case Take::Failed:
            return false;
        case Take::Held:
            if (ask && !holder.isEmpty() && holder != m_session.userId && signedOn(holder) &&
                !askInUse(holder))
                return false;
            allowed = holder;
            break;
        }
    }
    stop(u"Batch In Use"_s,
         u"This usage log batch is flagged as being in use |by user "_s + holder + u"."_s);
    return false;
}

void UsageLogBatches::release(const QList<quint16> &batchIds)
{
    if (batchIds.isEmpty())
        return;
    data::Table &batches = m_session.company->file<EQBatch>();
    data::Transaction transaction(m_session.company->database(), {u"EQBatch"_s}, WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.error().text() + u" Saving EQBatch"_s);
        return;
    }
    for (quint16 batchId : batchIds) {
        EQBatch batch;
        batch.BatchID = batchId;
        // A batch deleted meanwhile, or taken over by another user, is not ours to free.
        if (!batches.fetch(u"KeyBatchID", batch) || Text::clip(batch.InUseBy) != m_session.userId)
            continue;
        batch.InUseBy.clear();
        if (data::FileStatus status = batches.update(batch); !status)
            fail(status.error().text() + u" Saving EQBatch"_s);
    }
    if (data::FileStatus status = transaction.commit(); !status)
        fail(status.error().text() + u" Saving EQBatch"_s);
}

bool UsageLogBatches::tag(quint16 batchId)
{
    EQBatch batch;
    if (batchId == 0 || !fetch(batchId, batch))
        return false;
    if (foreignSecure(batch)) {
        stop(u"Unable to Tag Batch"_s,
             u"This batch can only be tagged by user "_s + Text::clip(batch.UserID) + u"."_s);
        return false;
    }
    if (isTagged(batchId)) {
        m_session.tagQueue.removeAll(batchId);
        release({batchId});
        return true;
    }
    if (!acquire(batchId, true))
        return false;
    m_session.tagQueue.append(batchId);
    return true;
}

bool UsageLogBatches::tagAll()
{
    data::Table &batches = m_session.company->file<EQBatch>();
    data::Transaction transaction(m_session.company->database(), {u"EQBatch"_s}, WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.error().text() + u" Saving EQBatch"_s);
        return false;
    }
    QList<EQBatch> all;
    data::KeyCursor cursor = batches.scan(u"KeySortID");
    for (EQBatch batch; cursor.next(batch);) {
        const QString holder = Text::clip(batch.InUseBy);
        if (!holder.isEmpty() && holder != m_session.userId && !isTagged(batch.BatchID)) {
            stop(u"Cannot Tag All"_s,
                 u"At least one Usage Log Batch is currently in use by another user"_s);
            return false;
        }
        all.append(batch);
    }
    QList<quint16> tagged;
    for (EQBatch &batch : all) {
        // Another user's secure batches stay untagged and free.
        if (foreignSecure(batch))
            continue;
        batch.InUseBy = m_session.userId;
        if (data::FileStatus status = batches.update(batch); !status) {
            fail(status.error().text() + u" Saving EQBatch"_s);
            continue;
        }
        tagged.append(batch.BatchID);
    }
    if (data::FileStatus status = transaction.commit(); !status) {
        fail(status.error().text() + u" Saving EQBatch"_s);
        return false;
    }
    m_session.tagQueue = tagged;
    return true;
}

void UsageLogBatches::untagAll()
{
    const QList<quint16> tagged = m_session.tagQueue;
    m_session.tagQueue.clear();
    release(tagged);
}

void UsageLogBatches::reverseTags()
{
    QList<quint16> reversed;
    data::KeyCursor cursor = m_session.company->file<EQBatch>().scan(u"KeySortID");
    for (EQBatch batch; cursor.next(batch);)
        if (!isTagged(batch.BatchID))
            reversed.append(batch.BatchID);
    m_session.tagQueue = reversed;
}

void UsageLogBatches::releaseTagged()
{
    release(m_session.tagQueue);
    m_session.tagQueue.clear();
    releaseHeld();
}

bool UsageLogBatches::holdForEntry(quint16 batchId, bool adding)
{
    if (adding && refuseReadOnly())
        return false;
    EQBatch batch;
    if (batchId == 0 || !fetch(batchId, batch)) {
        stop(u"Missing Invoice Batch"_s, u"You cannot enter usage logs unless a valid batch is "
                                         u"created and highlighted."_s);
        return false;
    }
    if (refuseSecure(batch, Use::Change))
        return false;
    if (!acquire(batchId, !isTagged(batchId)))
        return false;
    m_held = batchId;
    if (adding) {
        data::Table &logs = m_session.company->file<EQLogB>();
        EQLogB unfinished;
        unfinished.LogID = 0;
        if (logs.fetch(u"KeyLogID", unfinished))
            if (data::FileStatus status = logs.remove(unfinished); !status)
                fail(status.error().text() + u" Deleting EQLogB"_s);
    }
    return true;
}

void UsageLogBatches::releaseHeld()
{
    if (m_held == 0)
        return;
    // A batch still tagged here stays flagged until it is untagged.
    if (!isTagged(m_held))
        release({m_held});
    m_held = 0;
}

QString UsageLogBatches::logEntryText(data::Company &company, const EQLogB &log)
{
    EQHeader equipment;
    equipment.EquipmentID = log.EquipmentID;
    static_cast<void>(company.file<EQHeader>().fetch(u"KeyEquipmentID", equipment));
    return u"a log entry for equipment "_s + Text::clip(log.EquipmentID) + u", "_s +
           log.Units.toString(2) + u" "_s + Text::clip(equipment.UsageUnit) + u" on "_s +
           Picture::parse(u"@d1").format(qint64(log.Date));
}

bool UsageLogBatches::deleteBatch(quint16 batchId)
{
    if (refuseReadOnly())
        return false;
    EQBatch batch;
    if (batchId == 0 || !fetch(batchId, batch))
        return false;
    if (foreignSecure(batch)) {
        stop(u"Unable to Delete Batch"_s,
             u"This batch can only be deleted by user "_s + Text::clip(batch.UserID) + u"."_s);
        return false;
    }
    const QString holder = Text::clip(batch.InUseBy);
    if (!holder.isEmpty() && holder != m_session.userId && !isTagged(batchId) && signedOn(holder)) {
        if (!askInUse(holder))
            return false;
        batch.InUseBy.clear();
        if (data::FileStatus status = m_session.company->file<EQBatch>().update(batch); !status)
            fail(status.error().text() + u" Saving EQBatch"_s);
    }
    const int choice = m_prompter.ask(
        Message{u"Confirm Log Batch Delete"_s,
                u"This will delete any unposted Equipment Logs|contained in the highlighted "
                u"Batch.  If you |desire, it can also delete the batch itself.||Do you wish to "
                u"delete just the Log Entries, or |both the Log Entries and the batch?"_s,
                u"&Logs|&Batch|&Cancel"_s, 3, Message::Icon::Question});
    if (choice != 1 && choice != 2)
        return false;

    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(), {u"EQBatch"_s, u"EQLogB"_s, u"UserLog"_s},
                                  WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.error().text() + u"|Nothing was deleted."_s);
        return false;
    }
    data::Table &logs = company.file<EQLogB>();
    QList<EQLogB> doomed;
    data::KeyCursor cursor = logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
    for (EQLogB log; cursor.next(log);)
        doomed.append(log);
    for (EQLogB &log : doomed) {
        if (data::FileStatus status = logs.remove(log); !status) {
            fail(status.error().text() + u" Deleting EQLogB|Nothing was deleted."_s);
            return false;
        }
        activity(u"Deleted "_s + logEntryText(*m_session.company, log));
    }
    if (choice == 2) {
        // Re-read: a taken-over flag was saved since the batch was first read.
        if (!fetch(batchId, batch))
            return false;
        activity(u"Deleted "_s + batchText(batch));
        if (data::FileStatus status = company.file<EQBatch>().remove(batch); !status) {
            fail(status.error().text() + u" Deleting EQBatch|Nothing was deleted."_s);
            return false;
        }
    }
    if (data::FileStatus status = transaction.commit(); !status) {
        fail(status.error().text() + u"|Nothing was deleted."_s);
        return false;
    }
    if (choice == 2)
        m_session.tagQueue.removeAll(batchId);
    return true;
}

bool UsageLogBatches::deleteLog(qint32 logId)
{
    if (refuseReadOnly())
        return false;
    if (m_prompter.ask(Message{u"Confirm Delete"_s,
                               u"Are you sure you want to delete the highlighted record?"_s,
                               u"&Yes|&No"_s, 2, Message::Icon::Question}) != 1)
        return false;
    data::Table &logs = m_session.company->file<EQLogB>();
    EQLogB log;
    log.LogID = logId;
    if (data::FileStatus status = logs.fetch(u"KeyLogID", log); !status) {
        fail(status.error().code == data::FileErrorCode::RecordNotFound
                 ? u"There is no log %1."_s.arg(logId)
                 : status.error().text() + u" Reading EQLogB"_s);
        return false;
    }
    if (data::FileStatus status = logs.remove(log); !status) {
        fail(status.error().text() + u" Deleting EQLogB"_s);
        return false;
    }
    activity(u"Deleted "_s + logEntryText(*m_session.company, log));
    return true;
}

DayNumber UsageLogBatches::redated(const EQBatch &batch, DayNumber date)
{
    if (batch.FrequencyType == qToUnderlying(BatchFrequency::Months))
        return SuiteDate::make(SuiteDate::month(date) + batch.Frequency2,
                               SuiteDate::dayOfMonth(date), SuiteDate::year(date));
    return date + DayNumber(batch.Frequency.unitsAt(0));
}

bool UsageLogBatches::claimPosting()
{
    data::Company &company = *m_session.company;
    data::Table &netUsers = company.file<NetUser>();
    // Checked and claimed in one transaction, so two users pressing Post at
    // once cannot both pass the check.
    data::Transaction transaction(company.database(), {u"NetUser"_s}, WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.error().text() + u" Saving NetUser"_s);
        return false;
    }
    data::KeyCursor cursor = netUsers.scan(u"KeyCompany", data::ScanOptions::equal({companyId()}));
    for (NetUser other; cursor.next(other);) {
        const QString activity = Text::clip(other.Activity);
        if (Text::clip(other.UserID) == m_session.userId || activity.isEmpty())
            continue;
        UserFile user;
        user.UserID = Text::clip(other.UserID);
        static_cast<void>(company.file<UserFile>().fetch(u"KeyUserID", user));
        const QString last = Text::clip(user.LastName);
        stop(u"Please Wait ..."_s, u"Right now "_s + Text::clip(user.FirstName) + u" "_s +
                                       last.left(1) + u". is "_s + activity + u".|"_s +
                                       u"You may post when they are finished."_s);
        return false;
    }
    NetUser me;
    me.UserID = m_session.userId;
    me.CompanyID = companyId();
    const bool present = netUsers.fetch(u"KeyUserCompany", me).isOk();
    me.Activity = PostingActivity;
    me.Posting = 1;
    if (!present) {
        // A whole station record, never a blank one that no station would
        // ever take for gone.
        const QDateTime now = m_clock.now();
        me.SignOnDate = SuiteDate::fromQDate(now.date());
        me.SignOnTime = SuiteTime::fromQTime(now.time());
        me.nameThisStation();
    }
    data::FileStatus status = present ? netUsers.update(me) : netUsers.insert(me);
    if (status)
        status = transaction.commit();
    if (!status) {
        fail(status.error().text() + u" Saving NetUser"_s);
        return false;
    }
    m_postingRecordWritten = !present;
    return true;
}

void UsageLogBatches::endPosting()
{
    data::Table &netUsers = m_session.company->file<NetUser>();
    NetUser me;
    me.UserID = m_session.userId;
    me.CompanyID = companyId();
    const bool written = std::exchange(m_postingRecordWritten, false);
    if (!netUsers.fetch(u"KeyUserCompany", me))
        return;
    if (written && me.isThisStation()) {
        if (data::FileStatus status = netUsers.remove(me); !status)
            fail(status.error().text() + u" Deleting NetUser"_s);
        return;
    }
    me.Activity.clear();
    me.Posting = 0;
    if (data::FileStatus status = netUsers.update(me); !status)
        fail(status.error().text() + u" Saving NetUser"_s);
}

bool UsageLogBatches::redateTagged()
{
    data::Company &company = *m_session.company;
    data::Table &logs = company.file<EQLogB>();
    data::Transaction transaction(company.database(), {u"EQLogB"_s}, WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.error().text() + u" Saving EQLogB"_s);
        return false;
    }
    for (quint16 batchId : std::as_const(m_session.tagQueue)) {
        EQBatch batch;
        batch.BatchID = batchId;
        if (!company.file<EQBatch>().fetch(u"KeyBatchID", batch) || batch.Repeating != 1)
            continue;
        const quint8 days = qToUnderlying(BatchFrequency::Days);
        const quint8 months = qToUnderlying(BatchFrequency::Months);
        if ((batch.FrequencyType == days && batch.Frequency.isZero()) ||
            (batch.FrequencyType == months && batch.Frequency2 == 0) ||
            batch.FrequencyType > months)
            continue;
        QList<EQLogB> moving;
        data::KeyCursor cursor =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
        for (EQLogB log; cursor.next(log);)
            moving.append(log);
        for (EQLogB &log : moving) {
            log.Date = redated(batch, log.Date);
            if (data::FileStatus status = logs.update(log); !status) {
                fail(status.error().text() + u" Saving EQLogB|Nothing was posted."_s);
                return false;
            }
        }
    }
    if (data::FileStatus status = transaction.commit(); !status) {
        fail(status.error().text() + u" Saving EQLogB|Nothing was posted."_s);
        return false;
    }
    return true;
}

QString UsageLogBatches::Posted::summary() const
{
    const auto numbers = [](const QList<quint16> &ids) {
        QStringList texts;
        for (quint16 id : ids)
            texts.append(QString::number(id));
        return texts.join(u", "_s);
    };
    QList<quint16> withLogs;
    for (quint16 id : batches)
        if (!empty.contains(id))
            withLogs.append(id);
    QString text = u"Posted %1 usage %2 of %3 %4, amount %5, in journal %6."_s.arg(
        QString::number(logs), logs == 1 ? u"log"_s : u"logs"_s,
        withLogs.size() == 1 ? u"batch"_s : u"batches"_s, numbers(withLogs),
        Picture::parse(u"@n-15.2").format(amount).trimmed(), QString::number(journal));
    if (!empty.isEmpty())
        text += (empty.size() == 1 ? u"|Batch %1 was empty."_s : u"|Batches %1 were empty."_s)
                    .arg(numbers(empty));
    return text;
}

std::optional<UsageLogBatches::Posted> UsageLogBatches::postAndRedate()
{
    data::Company &company = *m_session.company;
    data::Transaction transaction(company.database(),
                                  {u"EQBatch"_s, u"EQLogB"_s, u"EQLog"_s, u"EQHeader"_s,
                                   u"EQCost"_s, u"EQPrior"_s, u"EQPriorM"_s, u"EQPriorC"_s,
                                   u"EQPriorCM"_s, u"GLTrans"_s},
                                  WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.notBegunText());
        return std::nullopt;
    }
    // Counted under the run's transaction: what is counted is what is posted.
    Posted posted;
    posted.batches = m_session.tagQueue;
    data::Table &logs = company.file<EQLogB>();
    for (quint16 batchId : std::as_const(posted.batches)) {
        int count = 0;
        data::KeyCursor cursor =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
        for (EQLogB log; cursor.next(log); ++count)
            posted.amount += log.AdjustedAmount;
        if (count == 0)
            posted.empty.append(batchId);
        posted.logs += count;
    }
    if (posted.logs == 0) {
        QStringList numbers;
        for (quint16 id : std::as_const(posted.empty))
            numbers.append(QString::number(id));
        stop(u"Nothing to Post"_s,
             (numbers.size() == 1 ? u"Batch %1 is empty."_s : u"Batches %1 are empty."_s)
                     .arg(numbers.join(u", "_s)) +
                 u"|Nothing was posted."_s);
        return std::nullopt;
    }
    m_session.postType = data::PostType::UsageLogs;
    m_session.postingJournal = 0;
    suite::POSTINGCONTROL();
    const bool ran = m_session.postType == data::PostType::Posted;
    m_session.postType = data::PostType::None;
    if (!ran)
        return std::nullopt;
    posted.journal = m_session.postingJournal;
    if (!redateTagged())
        return std::nullopt;
    if (data::FileStatus status = transaction.commit(); !status) {
        fail(status.error().text() + u" Posting|Nothing was posted."_s);
        return std::nullopt;
    }
    return posted;
}

std::optional<UsageLogBatches::Posted> UsageLogBatches::postTagged(quint16 highlighted)
{
    if (refuseReadOnly())
        return std::nullopt;
    data::Company &company = *m_session.company;
    UserFile user;
    user.UserID = m_session.userId;
    if (!company.file<UserFile>().fetch(u"KeyUserID", user) || user.PostUsageLogs == 0) {
        stop(u"Access Denied"_s, u"This user is not allowed to post Equipment Usage Logs."_s);
        return std::nullopt;
    }
    if (m_session.tagQueue.isEmpty() && !tag(highlighted))
        return std::nullopt;
    if (!claimPosting())
        return std::nullopt;
    data::IniManager notify(
        QDir(m_session.controlPath.isEmpty() ? company.folder() : m_session.controlPath)
            .filePath(u"NetNotify.ini"_s));
    notify.update(companyId(), u"Posting Alert"_s, u"0"_s);

    std::optional<Posted> posted;
    // A backup the user asked for and could not have is no ground to post on.
    if (user.PrePostBackup == 0 || suite::PREPOSTBACKUP())
        posted = postAndRedate();
    endPosting();
    if (posted)
        untagAll();
    return posted;
}

} // namespace qaveq
