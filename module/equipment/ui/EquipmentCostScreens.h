#pragma once

#include "runtime/widgets/ListWindow.h"
#include "runtime/widgets/RecordForm.h"

#include <functional>
#include <optional>

namespace qaveq {

namespace data {
class ErrorManager;
}

// An equipment's cost categories: the list (BROWSEEQCOST) of the equipment in
// EQUIPFIELD and the form (UPDATEEQCOST).
namespace EquipmentCostScreens {

// Finds a value from what is typed; nothing when cancelled.
using Lookup = std::function<std::optional<QString>(const QString &typed)>;

RecordForm::Definition form(const Lookup &lookupCategory, const Lookup &lookupAccount);
ListWindow::Definition list(data::Session &session);

void browse(data::ErrorManager &errors);
void update(data::ErrorManager &errors);

} // namespace EquipmentCostScreens

} // namespace qaveq
