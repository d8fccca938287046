#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// A posted usage log. Meters, units and amounts have 2 places.
struct EQLogFields
{
    qint32 RecordID = 0;
    QString EquipmentID; // 10
    QString Type;        // 1
    DayNumber Date = 0;
    Decimal StartMeter, EndMeter, Units; // 11.2
    QString ChargeType;                  // 1
    Decimal GrossAmount, AdjustedAmount; // 11.2
    QString DetailType;                  // 11
    QString GLAccount;                   // 12
    QString JobID;                       // 10
    QString CostCode;                    // 14
    QString Category;                    // 10
    QString Comments;                    // 20
    qint32 EmployeeID = 0;
    QString Location;   // 5
    quint16 Posted = 0; // 3 digits
    qint32 JournalNumber = 0;
    QString EquipmentIDCharged; // 10
};

struct EQLog : data::RecordOf<EQLog>, EQLogFields
{
    static const data::FileSchema &fileSchema();
};

struct EQLogAlias : data::RecordOf<EQLogAlias>, EQLogFields
{
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
