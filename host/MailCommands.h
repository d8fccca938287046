#pragma once

#include "CommandLine.h"

#include <QList>

namespace qaveq::host {

// mail-settings: the signed-on user's mail server for reports sent by mail.
QList<Command> mailCommands();

} // namespace qaveq::host
