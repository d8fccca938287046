#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// How a repeating batch's interval counts; each value is the one
// EQB:FrequencyType stores.
enum class BatchFrequency : quint8 { Days = 0, Months = 1 };

// A batch of usage logs.
struct EQBatch : data::RecordOf<EQBatch>
{
    quint16 BatchID = 0;
    QString UserID;      // 10: owner
    QString Description; // 25
    quint8 Secure = 0;   // 0 allow others, 1 disallow others, 2 hide from others
    QString InUseBy;     // 3: user holding the batch; blank = free
    quint8 Repeating = 0;
    Decimal Frequency; // 3.0: repeat interval in days
    DayNumber DateLastPosting = 0;
    qint32 SortID = 0; // manual order
    quint8 RememberLastJob = 0;
    quint8 FrequencyType = 0; // a BatchFrequency
    quint16 Frequency2 = 0;   // repeat interval in months
    quint8 ReInsert = 1;      // "Repetitive Insert"
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
