#include "LogSelection.h"

namespace qaveq {

void LogSelection::toggle(qint32 logId)
{
    if (!m_selected.removeOne(logId))
        m_selected.append(logId);
}

void LogSelection::selectAll(const QList<qint32> &listed)
{
    for (qint32 logId : listed)
        if (!m_selected.contains(logId))
            m_selected.append(logId);
}

void LogSelection::invert(const QList<qint32> &listed)
{
    QList<qint32> inverted;
    for (qint32 logId : listed)
        if (!m_selected.contains(logId))
            inverted.append(logId);
    m_selected = inverted;
}

void LogSelection::retain(const QList<qint32> &listed)
{
    m_selected.removeIf([&listed](qint32 logId) { return !listed.contains(logId); });
}

void LogSelection::clear()
{
    m_selected.clear();
    m_filtered = false;
}

QList<qint32> LogSelection::transferList(std::optional<qint32> highlighted) const
{
    if (!m_selected.isEmpty())
        return m_selected;
    if (highlighted)
        return {*highlighted};
    return {};
}

} // namespace qaveq
