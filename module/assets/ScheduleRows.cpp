#include "ScheduleRows.h"

#include "data/Company.h"

namespace qaveq {

std::vector<GLDepr> scheduleRows(data::Company &company, const QString &equipmentId)
{
    std::vector<GLDepr> rows;
    data::KeyCursor cursor =
        company.file<GLDepr>().scan(u"KeyEquipmentID", data::ScanOptions::equal({equipmentId}));
    GLDepr row;
    while (cursor.next(row))
        rows.push_back(row);
    return rows;
}

} // namespace qaveq
