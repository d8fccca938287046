#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// A dated note of any suite record.
struct Notes : data::RecordOf<Notes>
{
    qint32 RecordID = 0;
    QString EntityID;   // 20: the owner's identifier
    QString EntityType; // 10: "EQHeader" for equipment notes
    DayNumber Date = 0;
    QString Heading; // 20
    QString Note;    // 255
    QString UserID;  // 3
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
