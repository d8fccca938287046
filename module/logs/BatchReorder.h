#pragma once

#include "data/FileError.h"

#include <QString>

#include <chrono>
#include <optional>

namespace qaveq {

class Prompter;

namespace data {
class Session;
}

// The manual order of the batch list: moves one batch up or down a place, or
// to the top or the bottom, by rewriting EQB:SortID. The moving batch is first
// put out of the way at the highest sort value + 1, so that every single
// update keeps EQB:KeySortID unique; the whole move is one transaction and a
// failed update rolls all of it back.
class BatchReorder
{
public:
    // Reordering waits only briefly for the batch file: a user who presses
    // again a moment later loses nothing.
    static constexpr std::chrono::milliseconds Wait{1000};

    enum class Move { Up = 1, Down = 2, Top = 3, Bottom = 4 };
    static QString hint(Move move);

    BatchReorder(data::Session &session, Prompter &prompter);

    // The batch's sort value after the move (unchanged when it was already
    // first or last), or nothing when the move was refused or an update
    // failed (said, and all of it rolled back).
    std::optional<qint32> move(quint16 batchId, Move move);

private:
    void swapError(const data::FileError &error, qint32 value, const QString &stage);

    data::Session &m_session;
    Prompter &m_prompter;
};

} // namespace qaveq
