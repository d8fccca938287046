#include "LogEntryMemory.h"

#include "records/EQLogB.h"

#include "data/Company.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

void LogEntryMemory::remember(const QString &equipmentId, const Decimal &endMeter,
                              const QString &jobId)
{
    const QString id = Text::clip(equipmentId);
    m_lastEquipment = id;
    m_lastEndMeter = endMeter.rounded(4);
    m_lastJob = Text::clip(jobId);
    const Decimal reading = endMeter.rounded(2);
    for (Entry &entry : m_table)
        if (entry.equipmentId == id) {
            entry.endMeter = reading;
            return;
        }
    m_table.append({id, reading});
}

Decimal LogEntryMemory::startMeter(const QString &equipmentId, const Decimal &currentMeter) const
{
    const QString id = Text::clip(equipmentId);
    Decimal start = currentMeter;
    for (const Entry &entry : m_table)
        if (entry.equipmentId == id && start < entry.endMeter)
            start = entry.endMeter;
    return start;
}

void LogEntryMemory::rebuild(data::Company &company)
{
    m_table.clear();
    data::ScanOptions options;
    options.fields = {u"EquipmentID"_s, u"EndMeter"_s};
    data::KeyCursor cursor = company.file<EQLogB>().scan(u"KeyLogID", options);
    for (EQLogB log; cursor.next(log);)
        m_table.append({Text::clip(log.EquipmentID), log.EndMeter});
}

} // namespace qaveq
