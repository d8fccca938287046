#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// init, dump and load: creating a company and moving records in and out.
QList<Command> dataCommands();

} // namespace qaveq::host
