#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// One cost category of one piece of equipment, with its totals and service
// schedule.
struct EQCost : data::RecordOf<EQCost>
{
    QString RecordID; // 20: equipment ID (10) followed by category ID (10)
    qint32 PrimaryRecordID = 0;
    QString EquipmentID;                          // 10
    QString CostCategory;                         // 10, an EQCode::CategoryID
    QString UnitName;                             // 5
    QString ControlDebit;                         // 12: expense account
    QString ControlCredit;                        // 12: contra account
    Decimal CumulativeUnitUsed, CumulativeAmount; // 15.2
    Decimal YearUnitsUsed, YearAmount;
    Decimal MonthUnitsUsed, MonthAmount;
    Decimal TaxAmount;
    // "N" none, "M" meter, "E" elapsed time, "B" meter or elapsed time
    QString ScheduleType; // 1
    QString MeterName;    // 10
    qint32 Meter = 0;
    QString IntervalName; // 10
    qint32 Interval = 0;
    qint32 LastServiceMeter = 0;
    DayNumber LastServiceDate = 0;
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
