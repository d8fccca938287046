#pragma once

#include "data/FileError.h"
#include "data/suite/JobCostFiles.h"

#include <QStringList>

#include <optional>

namespace qaveq {

namespace data {
class Company;
}

// The import sources of a company: records of the job-cost limits file under
// the report kind "EQ Log Import".
namespace ImportSources {

// The built-in source, as it is created when missing.
JCLimits builtIn();
bool isBuiltIn(const JCLimits &source);

// Creates the built-in source unless it exists; the operation that failed
// (" Autoincrementing JCLimits", " Inserting JCLimits") follows the file
// layer's text in `failure`.
data::FileStatus ensureBuiltIn(data::Company &company, QString *failure = nullptr);

// The sources in title order.
QList<JCLimits> all(data::Company &company);
std::optional<JCLimits> find(data::Company &company, const QString &title);

} // namespace ImportSources

} // namespace qaveq
