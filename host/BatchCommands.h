#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// batch list, add, tag, untag and move, log add, logs copy and move, and post:
// usage-log batches and logs headless.
QList<Command> batchCommands();

} // namespace qaveq::host
