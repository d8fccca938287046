#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// apply-categories: the cost categories' "Apply to All", headless.
QList<Command> equipmentCommands();

} // namespace qaveq::host
