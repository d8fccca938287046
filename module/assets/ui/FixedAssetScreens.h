#pragma once

class QWidget;

namespace qaveq {

namespace data {
class ErrorManager;
}
struct EQHeader;
struct OutputState;

// The fixed-asset outputs of the equipment in the EQHeader buffer.
namespace FixedAssetScreens {

void printSchedule(data::ErrorManager &errors, OutputState &output);
void printGraphs(data::ErrorManager &errors, OutputState &output);
void graphWindow(data::ErrorManager &errors);

} // namespace FixedAssetScreens

// The two graphs of an equipment's schedule, each on its own tab.
QWidget *createDepreciationGraphWindow(const EQHeader &equipment, QWidget *parent);

} // namespace qaveq
