#pragma once

#include <QList>

namespace qaveq::data {

class FileSchema;

// Every suite file declared in this folder, in one list for the catalog.
QList<const FileSchema *> suiteFiles();

} // namespace qaveq::data
