#pragma once

#include "equipment/EquipmentAccess.h"
#include "equipment/EquipmentFilter.h"

#include "runtime/widgets/ListWindow.h"

#include <memory>

namespace qaveq {

namespace data {
class ErrorManager;
}

// The equipment lists: BROWSEEQHEADER, from which equipment is added,
// changed and deleted, and the plainer BROWSEEQHEADERALIAS. Both call the
// equipment form (UPDATEEQHEADER) through `caller`.
namespace EquipmentScreens {

// What an open list works with: its check boxes, who may change equipment,
// and the window once it is open.
struct ListState
{
    EquipmentFilter filter;
    std::unique_ptr<EquipmentAccess> access;
    ListWindow *window = nullptr;
};

ListWindow::Definition list(data::Session &session, Prompter &prompter, ListState &state);
ListWindow::Definition aliasList(data::Session &session, Prompter &prompter, ListState &state);

// The exported procedures' work, over the current session.
void browse(data::ErrorManager &errors, const ListWindow::ProcedureCaller &caller);
void browseAlias(data::ErrorManager &errors, const ListWindow::ProcedureCaller &caller);

} // namespace EquipmentScreens

} // namespace qaveq
