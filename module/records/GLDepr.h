#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// One month of an equipment's depreciation schedule, with the figures of every
// method side by side. Amounts are 15.2.
struct GLDepr : data::RecordOf<GLDepr>
{
    qint32 RecordID = 0;
    QString EquipmentID;         // 10
    DayNumber Date = 0;          // first day of the month
    Decimal SLAmount, SLValue;   // straight line
    Decimal DDBAmount, DDBValue; // double-rate declining balance
    Decimal SYAmount, SYValue;   // sum of years' digits
    Decimal UD1Amount, UD1Value; // custom method, typed by the user
    Decimal UD2Amount, UD2Value;
    Decimal ActualAmount;  // posted to the general ledger
    QString FPPostedLabel; // 5: fiscal period it was posted to
    qint32 GLTransID = 0;  // the posting transaction
    // 60: the purchase date, values, life and method the row was calculated
    // from (ScheduleCalculator::basis); blank in rows older than the field.
    QString Basis;
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
