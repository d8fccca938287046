#pragma once

#include "data/Record.h"

namespace qaveq {

struct PREmp : data::RecordOf<PREmp>
{
    qint32 EmployeeID = 0;
    QString FirstName; // 20
    QString LastName;  // 25
    quint8 Active = 1;
    static const data::FileSchema &fileSchema();
};

// Certified-payroll identifier.
struct PRCert : data::RecordOf<PRCert>
{
    QString CertifiedID; // 8
    QString Description; // 40
    static const data::FileSchema &fileSchema();
};

} // namespace qaveq
