#pragma once

#include "runtime/widgets/FormView.h"

namespace qaveq {

struct OutputState;

namespace data {
class ErrorManager;
}

// UPDATEEQHEADER in a window: the declared equipment form with its
// photograph and attachment parts, its lists' forms and its printouts.
namespace EquipmentFormScreen {

// The parts and row forms the window adds to the declared form.
FormExtras extras(data::ErrorManager &errors);

void update(data::ErrorManager &errors, OutputState &output);

} // namespace EquipmentFormScreen

} // namespace qaveq
