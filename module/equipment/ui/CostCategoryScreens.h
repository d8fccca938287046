#pragma once

#include "runtime/widgets/ListWindow.h"
#include "runtime/widgets/RecordForm.h"

#include <functional>
#include <optional>

namespace qaveq {

namespace data {
class ErrorManager;
}

// The cost-category list (BROWSEEQCODE) and form (UPDATEEQCODE).
namespace CostCategoryScreens {

// Looks up a G/L account from what is typed; nothing when cancelled.
using AccountLookup = std::function<std::optional<QString>(const QString &typed)>;

RecordForm::Definition form(const AccountLookup &lookupAccount);
// The G/L account list called to select, starting at what is typed.
AccountLookup accountLookup(data::Session &session);
// The schedule type and its four fields, in the file with that prefix
// ("EQD", "EQC"): the same names in both.
QList<RecordForm::Control> scheduleControls(const QString &prefix);
// Shows the schedule fields the form's schedule type asks for.
void showSchedule(RecordForm &form);
ListWindow::Definition list(data::Session &session, data::ErrorManager &errors);

// The exported procedures' work, over the current session.
void browse(data::ErrorManager &errors);
void update(data::ErrorManager &errors);

} // namespace CostCategoryScreens

} // namespace qaveq
