#pragma once

#include "core/ProcessOutcome.h"

#include <QString>

namespace qaveq {

struct EQLogB;

namespace data {
class Company;
}

// Writes the unposted logs of a batch as comma-separated lines in the column
// order of the built-in import source, so that the file imports again into
// another batch or company.
namespace UsageLogExporter {

// One log as a line (without its line end). A field holding a comma, or
// beginning with a double quote, is written in double quotes with the quotes
// inside doubled, so that its comma does not split it when read back.
QString lineOf(const EQLogB &log);

// Writes the batch's logs to `path` whole or not at all (a private file
// beside it takes the name only when complete); the reason when it could not.
struct Result : ProcessOutcome
{
    int written = 0;
};
Result exportBatch(data::Company &company, quint16 batchId, const QString &path);

} // namespace UsageLogExporter

} // namespace qaveq
