#pragma once

#include "data/Catalog.h"
#include "data/Record.h"

#include "core/SuiteDate.h"

namespace qaveq::testing {

// A small file for exercising the keyed-file layer.
struct Part : data::RecordOf<Part>
{
    qint32 RecordID = 0;
    QString Code;  // 8, unique
    QString Group; // 4, many parts per group
    Decimal Price; // 9.2
    DayNumber Added = 0;
    quint8 Flag = 0;
    static const data::FileSchema &fileSchema();
};

data::Catalog partsCatalog();
Part makePart(const QString &code, const QString &group, const char *price, int addedDay = 0);

} // namespace qaveq::testing
