#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// apply-categories: the cost categories' "Apply to All", headless;
// equipment list and equipment delete: the equipment list's filters and delete.
QList<Command> equipmentCommands();

} // namespace qaveq::host
