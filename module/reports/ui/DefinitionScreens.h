#pragma once

#include "reports/ReportFamily.h"

#include "common/ui/ScreenRunner.h"

#include "runtime/widgets/ListWindow.h"

namespace qaveq {

class Clock;

namespace data {
class ErrorManager;
}

// The lists of saved report definitions (BROWSEEQANALYSISLIMITS and its kin,
// BrowseEQProofLimits) and their forms. One list, configured by the family's
// row of the family table.
namespace DefinitionScreens {

// What an open list works with.
struct ListState
{
    ListWindow *window = nullptr;
    quint32 favourite = 0; // opened from a favourite: only that definition shows
};

// `call` runs a procedure by name: the family's dispatch, and the form when
// the list calls it.
ListWindow::Definition list(ReportFamily family, data::Session &session, Prompter &prompter,
                            const Clock &clock, ListState &state,
                            const ListWindow::ProcedureCaller &call);

// The exported procedures' work, over the current session. `call` runs the
// module's procedures (the reports).
void browse(ReportFamily family, data::ErrorManager &errors,
            const ListWindow::ProcedureCaller &call);
void update(ReportFamily family, data::ErrorManager &errors,
            const ListWindow::ProcedureCaller &call);

// The list editors the definition forms' buttons open, by the names the
// forms give the picker: the picker gets the definition's number.
void addLookups(forms::LookupPicker &picker, data::Session &session, data::ErrorManager &errors,
                const ScreenRunner::Caller &caller);

} // namespace DefinitionScreens

} // namespace qaveq
