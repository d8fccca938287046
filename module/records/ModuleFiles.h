#pragma once

#include "data/Catalog.h"

namespace qaveq {

// The equipment module's own files, added to a catalog of the suite's files.
void addModuleFiles(data::Catalog &catalog);

// The suite's files and the module's: everything a company holds.
data::Catalog companyCatalog();

} // namespace qaveq
