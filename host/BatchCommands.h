#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// batch list, batch add, log add and post: usage-log batches and logs headless.
QList<Command> batchCommands();

} // namespace qaveq::host
