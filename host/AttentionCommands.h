#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// attention: what needs dealing with today, as the first screen lists it.
QList<Command> attentionCommands();

} // namespace qaveq::host
