#include "BatchReorder.h"
#include "UsageLogBatches.h"

#include "common/ReadOnlyAccess.h"
#include "records/EQBatch.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"

#include "core/Prompter.h"

using namespace Qt::StringLiterals;

namespace qaveq {

QString BatchReorder::hint(Move move)
{
    switch (move) {
    case Move::Up:
        return u"Move batch up one"_s;
    case Move::Down:
        return u"Move batch down one"_s;
    case Move::Top:
        return u"Move batch to the top"_s;
    case Move::Bottom:
        break;
    }
    return u"Move batch to the bottom"_s;
}

BatchReorder::BatchReorder(data::Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{}

void BatchReorder::swapError(const data::FileError &error, qint32 value, const QString &stage)
{
    m_prompter.ask(Message{u"Error!"_s,
                           u"Record swap error: "_s + error.text() +
                               u"||EQBatch, EQB:KeySortID|Key Field EQB:SortID = "_s +
                               QString::number(value) + u"|Section = "_s + stage,
                           u"&OK"_s, 1, Message::Icon::Stop});
}

std::optional<qint32> BatchReorder::move(quint16 batchId, Move move)
{
    if (refuseUsageLogsReadOnly(m_session, m_prompter))
        return std::nullopt;
    data::Company &company = *m_session.company;
    data::Table &batches = company.file<EQBatch>();
    const auto stop = [this](const QString &text) {
        m_prompter.ask(Message{u"Usage Logs"_s, text, u"&OK"_s, 1, Message::Icon::Stop});
        return std::nullopt;
    };
    // Any return before the commit rolls every update of the move back.
    data::Transaction transaction(company.database(), {u"EQBatch"_s}, Wait);
    if (!transaction.isActive())
        return stop(transaction.notBegunText());

    // The sort value is read again here: another station may have moved the
    // batch since the list was drawn.
    EQBatch moving;
    moving.BatchID = batchId;
    if (data::FileStatus status = batches.fetch(u"KeyBatchID", moving); !status)
        return stop(UsageLogBatches::batchUnread(status.error(), batchId));
    qint32 start = moving.SortID;

    const bool backwards = move == Move::Up || move == Move::Top;
    const bool walk = move == Move::Top || move == Move::Bottom;
    // Positioned at a sort value, reading toward where the batch goes.
    const auto toward = [&batches, backwards](qint32 value) {
        data::ScanOptions options;
        options.direction = backwards ? data::Direction::Backward : data::Direction::Forward;
        (backwards ? options.to : options.from) = {qint64(value)};
        return batches.scan(u"KeySortID", options);
    };

    EQBatch neighbour;
    {
        data::KeyCursor cursor = toward(start);
        EQBatch self;
        if (!cursor.next(self) || self.BatchID != batchId || !cursor.next(neighbour)) {
            // Already first (or last): nothing to do.
            static_cast<void>(transaction.commit());
            return start;
        }
    }
    qint32 target = neighbour.SortID;

    data::ScanOptions last;
    last.direction = data::Direction::Backward;
    last.pageSize = 1;
    EQBatch highest;
    if (!batches.scan(u"KeySortID", last).next(highest))
        return stop(u"Record Not Found Reading EQBatch"_s);
    const qint32 swap = highest.SortID + 1;

    moving.SortID = swap;
    if (data::FileStatus status = batches.update(moving); !status) {
        // A duplicate that is not of the sort value is of another key.
        EQBatch holder;
        holder.SortID = swap;
        const bool otherKey = status.error().code == data::FileErrorCode::DuplicateKey &&
                              !batches.fetch(u"KeySortID", holder);
        swapError(status.error(), swap, otherKey ? u"Put Swap Out (NKD)"_s : u"Put Swap Out"_s);
        return std::nullopt;
    }

    // Each batch between takes the place just vacated, one at a time.
    bool holdsMoved = false;
    {
        data::KeyCursor cursor = toward(start);
        EQBatch record;
        bool found = cursor.next(record);
        while (found && record.SortID != swap) {
            target = record.SortID;
            record.SortID = start;
            if (data::FileStatus status = batches.update(record); !status) {
                swapError(status.error(), start, u"Shift Stage"_s);
                return std::nullopt;
            }
            if (!walk) {
                found = false;
                break;
            }
            found = cursor.next(record);
            start = target;
        }
        if (cursor.error())
            return stop(cursor.error()->text() + u" Reading EQBatch"_s);
        if (found) {
            moving = record;
            holdsMoved = true;
        }
    }
    if (!holdsMoved) {
        moving = EQBatch();
        moving.SortID = swap;
        if (data::FileStatus status = batches.fetch(u"KeySortID", moving); !status) {
            swapError(status.error(), swap, u"Prepare for Final Move"_s);
            return std::nullopt;
        }
    }

    moving.SortID = target;
    if (data::FileStatus status = batches.update(moving); !status) {
        swapError(status.error(), target, u"Final Move"_s);
        return std::nullopt;
    }
    if (data::FileStatus status = transaction.commit(); !status)
        return stop(status.error().text() + u" Saving EQBatch"_s);
    return target;
}

} // namespace qaveq
