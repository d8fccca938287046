#pragma once

#include "CommandLine.h"

namespace qaveq::host {

// report definitions | copy N | run N: the saved report definitions from the
// command line (they are written with "load EQLimits").
int runDefinitionList(CommandContext &context, ArgumentReader &reader);
int runDefinitionCopy(CommandContext &context, ArgumentReader &reader);
int runDefinitionReport(CommandContext &context, ArgumentReader &reader);

} // namespace qaveq::host
