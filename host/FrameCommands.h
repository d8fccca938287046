#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// procedures and warning: the module's exported table and its standard warnings.
QList<Command> frameCommands();

} // namespace qaveq::host
