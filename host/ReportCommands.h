#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// report: runs a report without windows and writes its PDF and text copy.
QList<Command> reportCommands();

} // namespace qaveq::host
