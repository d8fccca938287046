#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// import and export: usage logs from and to text files.
QList<Command> transferCommands();

} // namespace qaveq::host
