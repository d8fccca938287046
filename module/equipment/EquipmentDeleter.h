#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace qaveq {

class Clock;
class Prompter;

namespace data {
class Session;
}

// Takes a piece of equipment out of the company with everything that hangs on
// it: its notes, attachments and photograph (with their stored files), its
// depreciation rows, its cost categories and its prior-period totals.
// Equipment that usage logs name, posted or in a batch, stays: the logs would
// point at nothing; so does equipment whose cost categories carry posted costs.
class EquipmentDeleter
{
public:
    enum class Outcome {
        Deleted,
        HasLogs,  // "Cannot Delete Equipment": logs or posted costs name it
        Declined, // the user answered No, or the form was cancelled
        Failed    // not begun in time, or a write failed: nothing was deleted
    };

    EquipmentDeleter(data::Session &session, Prompter &prompter, const Clock &clock);

    // Whether any posted or batch usage log names the equipment.
    bool hasLogs(const QString &equipmentId);
    // Whether a cost category of the equipment carries posted costs (its
    // cumulative figures, or its prior-period totals, are not zero).
    bool carriesPostedCosts(const QString &equipmentId);
    // Deletes the records a cancelled add leaves behind: one with a blank
    // equipment ID and one with record ID 0.
    void cleanAbandoned();

    // Deletes the equipment `equipmentId`. `deleteRecord` deletes the
    // equipment record itself (the form in delete mode) and says whether it
    // did; it runs inside the same transaction, so either the equipment and
    // all of its dependents go, or nothing does. The stored files of its
    // attachments are removed once that is kept.
    Outcome remove(const QString &equipmentId, bool confirm,
                   const std::function<bool()> &deleteRecord);
    // The default `deleteRecord`: deletes the record without a window.
    bool deleteRecordOnly(const QString &equipmentId);

    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

private:
    void failed(const QString &text);
    // Says why the equipment must stay (its logs, its posted costs); true then.
    bool refusesDependents(const QString &equipmentId);

    data::Session &m_session;
    Prompter &m_prompter;
    const Clock &m_clock;
    std::chrono::milliseconds m_timeout{5000};
};

} // namespace qaveq
