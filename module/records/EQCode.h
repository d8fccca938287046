#pragma once

#include "data/Record.h"

namespace qaveq {

// A cost (maintenance) category with the defaults given to the equipment cost
// categories made from it.
struct EQCode : data::RecordOf<EQCode>
{
    qint32 RecordID = 0;
    QString CategoryID;                  // 10, required
    QString Description;                 // 30
    QString DefaultUnit;                 // 5
    QString DefaultExpenseControl;       // 12
    QString DefaultContraExpenseControl; // 12
    QString ScheduleType;                // 1, as EQCost::ScheduleType
    QString MeterName;                   // 10: "Miles" or "Hours"
    qint32 Meter = 0;                    // meter interval
    QString IntervalName;                // 10: "Months" or "Days"
    qint32 Interval = 0;                 // time interval
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
