#pragma once

#include "core/Decimal.h"

#include <QList>
#include <QString>

namespace qaveq {

namespace data {
class Company;
}

// What the usage-log entry form remembers from one log to the next while the
// module is loaded: the last equipment, end reading and job saved, and a
// table of end readings by equipment that keeps the start meter of a new log
// from falling below a reading already entered.
class LogEntryMemory
{
public:
    QString lastEquipment() const { return m_lastEquipment; }
    // Four places: the reading as it was saved, before any rounding of a form.
    Decimal lastEndMeter() const { return m_lastEndMeter; }
    QString lastJob() const { return m_lastJob; }

    // A log was saved: its equipment's first entry of the table takes the
    // end reading, or the equipment gets an entry.
    void remember(const QString &equipmentId, const Decimal &endMeter, const QString &jobId);
    // The start meter of a new log: the equipment's current meter, raised to
    // the highest end reading of the equipment in the table.
    Decimal startMeter(const QString &equipmentId, const Decimal &currentMeter) const;
    // A log is opened for change: the table becomes one entry per unposted
    // log of the whole file, so an equipment may have several.
    void rebuild(data::Company &company);

private:
    struct Entry
    {
        QString equipmentId;
        Decimal endMeter; // 11.2
    };

    QString m_lastEquipment;
    Decimal m_lastEndMeter;
    QString m_lastJob;
    QList<Entry> m_table;
};

} // namespace qaveq
