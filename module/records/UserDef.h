#pragma once

#include "data/Record.h"

namespace qaveq {

// The prompts of a file's fifteen user-defined fields; the equipment file's
// record is the one named "EQHeader".
struct UserDef : data::RecordOf<UserDef>
{
    QString FileName;                                                         // 12
    QString U1, U2, U3, U4, U5, U6, U7, U8, U9, U10, U11, U12, U13, U14, U15; // 40 each
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
