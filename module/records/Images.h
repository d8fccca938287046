#pragma once

#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq {

// An attachment or photograph of any suite record.
struct Images : data::RecordOf<Images>
{
    qint32 RecordID = 0;
    QString Type;     // 15: "EQHeader" (attachment) or "Equipment" (photograph)
    QString StringID; // 20: the owner's identifier
    QString Caption;  // 50
    DayNumber FileDate = 0;
    QString ImageType; // 10: "PDF", "DOC", "XL", "PPT", "TXT", "WebPage", "Bitmap" or "Other"
    QString FileName;  // 250
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
