#pragma once

#include "runtime/widgets/ListWindow.h"

namespace qaveq {

namespace data {
class ErrorManager;
}

// The cost-category list (BROWSEEQCODE) and form (UPDATEEQCODE).
namespace CostCategoryScreens {

// `window` is the list once it is open (its search button moves it).
ListWindow::Definition list(data::Session &session, data::ErrorManager &errors,
                            ListWindow **window);

// The exported procedures' work, over the current session.
void browse(data::ErrorManager &errors);
void update(data::ErrorManager &errors);

} // namespace CostCategoryScreens

} // namespace qaveq
