#pragma once

#include "output/OutputState.h"

namespace qaveq {

namespace data {
class ErrorManager;
}

// The reports run from a saved definition, whose number the caller put in
// the report filter.
namespace ReportScreens {

// PRINTEQDETAIL: printed, or with view mode 3 shown in the detail view.
void printDetail(data::ErrorManager &errors, OutputState &output);
// PrintEQLogBProof: the logs of the batches tagged in the usage-log window.
void printLogProof(data::ErrorManager &errors, OutputState &output);

} // namespace ReportScreens

} // namespace qaveq
