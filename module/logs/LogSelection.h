#pragma once

#include <QList>

#include <optional>

namespace qaveq {

// The logs ticked in the log pane, by EQLB:LogID in the order they were
// ticked; they are what Copy, Move and a drag take. Emptied whenever another
// batch is highlighted.
class LogSelection
{
public:
    bool isSelected(qint32 logId) const { return m_selected.contains(logId); }
    const QList<qint32> &selected() const { return m_selected; }
    bool isEmpty() const { return m_selected.isEmpty(); }

    // "Select" / "Deselect" of one row.
    void toggle(qint32 logId);
    // "Select All" and "Invert" work on the logs the pane lists, in list order.
    void selectAll(const QList<qint32> &listed);
    void invert(const QList<qint32> &listed);
    // After the list is read again: logs no longer listed (deleted, moved
    // away) are no longer selected.
    void retain(const QList<qint32> &listed);
    // "Deselect All"; also what a change of batch does, which shows every row again.
    void clear();

    // "Filter On": only the selected rows are shown.
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on) { m_filtered = on; }

    // What a transfer takes: the ticked logs, or else the highlighted one alone.
    QList<qint32> transferList(std::optional<qint32> highlighted) const;

private:
    QList<qint32> m_selected;
    bool m_filtered = false;
};

} // namespace qaveq
