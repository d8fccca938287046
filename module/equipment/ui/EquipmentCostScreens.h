#pragma once

#include "runtime/widgets/ListWindow.h"

namespace qaveq {

namespace data {
class ErrorManager;
}

// An equipment's cost categories: the list (BROWSEEQCOST) of the equipment in
// EQUIPFIELD and the form (UPDATEEQCOST).
namespace EquipmentCostScreens {

ListWindow::Definition list(data::Session &session);

void browse(data::ErrorManager &errors);
void update(data::ErrorManager &errors);

} // namespace EquipmentCostScreens

} // namespace qaveq
