#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// An unposted usage log. Meters, units and amounts are 11.2.
struct EQLogB : data::RecordOf<EQLogB>
{
    qint32 LogID = 0;
    QString EquipmentID; // 10
    quint16 BatchID = 0; // EQB:BatchID, 1-65535
    QString Type;        // 1: the posted log's type code; left blank here
    DayNumber Date = 0;
    Decimal StartMeter, EndMeter, Units;
    QString ChargeType; // 1: internal or rental rate
    Decimal GrossAmount, AdjustedAmount;
    QString DetailType;  // 11: "Job", "G/L Account", "Equipment" or "Maintenance"
    QString GLAccount;   // 12
    QString JobID;       // 10
    QString CostCode;    // 14
    QString ChangeOrder; // 14
    QString Category;    // 10
    QString Comments;    // 20
    qint32 EmployeeID = 0;
    QString Location;           // 10
    QString EquipmentIDCharged; // 10
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
