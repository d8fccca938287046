#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// Job header.
struct JCHeader : data::RecordOf<JCHeader>
{
    qint32 RecordID = 0;
    QString JobID; // 10
    QString Name;  // 40
    quint8 Active = 1;
    quint8 Closed = 0;
    QString ImportantNote; // 255
    static const data::FileSchema &fileSchema();
};

// Cost code of a job with its one-letter cost type (L labour, M material,
// S subcontract, E equipment, G general, B burden...).
struct JCCost : data::RecordOf<JCCost>
{
    qint32 RecordID = 0;
    QString JobID;       // 10
    QString CostCode;    // 14
    QString CostType;    // 1
    QString Description; // 30
    quint8 Inactive = 0;
    QString GLAccount;     // 12
    QString ImportantNote; // 255
    static const data::FileSchema &fileSchema();
};

// Change-order header.
struct JCCOH : data::RecordOf<JCCOH>
{
    qint32 RecordID = 0;
    QString JobID;       // 10
    QString ChangeOrder; // 14
    QString Description; // 40
    DayNumber Date = 0;
    quint8 Approved = 0;
    static const data::FileSchema &fileSchema();
};

// Change-order detail; RecordID is the detail number a usage log refers to.
struct JCCOD : data::RecordOf<JCCOD>
{
    qint32 RecordID = 0;
    QString JobID;       // 10
    QString ChangeOrder; // 14
    QString CostCode;    // 14
    QString Description; // 40
    Decimal Amount;      // 15.2
    static const data::FileSchema &fileSchema();
};

// The job-cost module's saved definitions; the equipment module keeps its
// import layouts here under the report kind "EQ Log Import".
struct JCLimits : data::RecordOf<JCLimits>
{
    qint32 LimitID = 0;
    QString UserID;      // 10
    QString Report;      // 30
    QString ReportTitle; // 40
    QString JobTo;       // 10: import date format
    QString PrintOrder;  // 1: "C", "T" or "F"
    quint8 Skip = 0;
    QString NameFrom; // 200: import file path
    QString Layout;   // 500: 3-character layout items
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
