#include "LogTransfer.h"

#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQLogB.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

LogTransfer::LogTransfer(data::Session &session, Prompter &prompter, UsageLogBatches &batches)
    : m_session(session)
    , m_prompter(prompter)
    , m_batches(batches)
{}

void LogTransfer::collect(Mode mode, const QList<qint32> &logIds, quint16 source)
{
    m_mode = logIds.isEmpty() ? Mode::None : mode;
    m_logs = m_mode == Mode::None ? QList<qint32>() : logIds;
    m_source = m_mode == Mode::None ? 0 : source;
}

QString LogTransfer::modeText() const
{
    switch (m_mode) {
    case Mode::Copy:
        return u"Copy"_s;
    case Mode::Move:
        return u"Move"_s;
    case Mode::None:
        break;
    }
    return {};
}

void LogTransfer::clear()
{
    m_mode = Mode::None;
    m_logs.clear();
    m_source = 0;
}

void LogTransfer::fail(const QString &text)
{
    m_prompter.ask(Message{u"Usage Logs"_s, text, u"&OK"_s, 1, Message::Icon::Stop});
}

std::optional<LogTransfer::Done> LogTransfer::drop(Mode mode, const QList<qint32> &logIds,
                                                   quint16 source, quint16 target)
{
    if (target == source)
        return std::nullopt;
    collect(mode, logIds, source);
    return paste(target);
}

std::optional<LogTransfer::Done> LogTransfer::paste(quint16 target)
{
    if (m_mode == Mode::None || target == 0)
        return std::nullopt;
    if (m_batches.refuseReadOnly()) {
        clear();
        return std::nullopt;
    }
    data::Company &company = *m_session.company;
    EQBatch batch;
    batch.BatchID = target;
    if (data::FileStatus status = company.file<EQBatch>().fetch(u"KeyBatchID", batch); !status) {
        fail(UsageLogBatches::batchUnread(status.error(), target));
        clear();
        return std::nullopt;
    }
    const QString owner = Text::clip(batch.UserID);
    if (batch.Secure != 0 && owner.compare(m_session.userId, Qt::CaseInsensitive) != 0) {
        m_prompter.ask(Message::alert(u"Secure Batch"_s,
                                      u"The target batch is a secure batch belonging|to user "_s +
                                          owner + u". Please drag to another batch."_s));
        clear();
        return std::nullopt;
    }
    // Neither the batch the logs go to nor, for a move, the one they leave
    // may be another signed-on user's batch in hand.
    EQBatch source;
    source.BatchID = m_source;
    const bool leaving = m_mode == Mode::Move && m_source != 0 && m_source != target &&
                         company.file<EQBatch>().fetch(u"KeyBatchID", source).isOk();
    for (const EQBatch *involved : {&batch, leaving ? &source : nullptr}) {
        if (!involved)
            continue;
        if (const QString refusal = UsageLogBatches::inUseRefusal(m_session, *involved);
            !refusal.isEmpty()) {
            m_prompter.ask(Message::alert(u"Batch In Use"_s, refusal));
            clear();
            return std::nullopt;
        }
    }
    Done done;
    if (!transfer(target, done.created)) {
        clear();
        return std::nullopt;
    }
    UserFile user;
    user.UserID = m_session.userId;
    const bool follow =
        company.file<UserFile>().fetch(u"KeyUserID", user).isOk() && user.PasteSelection != 0;
    done.highlight = follow ? target : m_source;
    m_batches.untagAll();
    clear();
    return done;
}

bool LogTransfer::transfer(quint16 target, QList<qint32> &created)
{
    const bool copying = m_mode == Mode::Copy;
    const QString nothing = copying ? u"|Nothing was copied."_s : u"|Nothing was moved."_s;
    data::Company &company = *m_session.company;
    data::Table &logs = company.file<EQLogB>();
    // All or nothing: a transfer cut off halfway would leave the logs split
    // between two batches, or copied twice when the user tries again.
    data::Transaction transaction(company.database(), {u"EQLogB"_s}, UsageLogBatches::WriteWait);
    if (!transaction.isActive()) {
        fail(transaction.notBegunText());
        return false;
    }
    for (qint32 logId : std::as_const(m_logs)) {
        EQLogB log;
        log.LogID = logId;
        if (data::FileStatus status = logs.fetch(u"KeyLogID", log); !status) {
            fail(status.error().text() + u" Reading EQLogB"_s + nothing);
            return false;
        }
        log.BatchID = target;
        if (!copying) {
            if (data::FileStatus status = logs.update(log); !status) {
                fail(status.error().text() + u" Saving EQLogB"_s + nothing);
                return false;
            }
            m_batches.activity(u"Changed "_s + UsageLogBatches::logEntryText(company, log) +
                               u", moved to batch "_s + QString::number(target));
            continue;
        }
        if (data::FileStatus status = logs.prime(log); !status) {
            fail(status.error().text() + u" Autoincrementing EQLogB"_s + nothing);
            return false;
        }
        if (data::FileStatus status = logs.insert(log); !status) {
            fail(status.error().text() + u" Inserting EQLogB"_s + nothing);
            return false;
        }
        created.append(log.LogID);
        m_batches.activity(u"Added "_s + UsageLogBatches::logEntryText(company, log) +
                           u", copied to batch "_s + QString::number(target));
    }
    if (data::FileStatus status = transaction.commit(); !status) {
        fail(status.error().text() + u" Saving EQLogB"_s + nothing);
        return false;
    }
    return true;
}

} // namespace qaveq
