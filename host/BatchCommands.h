#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// batch list, batch add and post: usage-log batches headless.
QList<Command> batchCommands();

} // namespace qaveq::host
