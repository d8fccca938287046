#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// depreciation: an equipment's depreciation schedule.
QList<Command> assetCommands();

} // namespace qaveq::host
