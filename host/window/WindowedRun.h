#pragma once

#include "CommandLine.h"

namespace qaveq::host {

// The program with its windows: opens the company (the demonstration company
// on first start), signs the user on, loads the module and shows the main
// window until the user exits.
int runWindows(int &argc, char **argv, const GlobalOptions &options);

} // namespace qaveq::host
