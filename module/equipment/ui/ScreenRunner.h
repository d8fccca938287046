#pragma once

#include "runtime/forms/FormDefinition.h"
#include "runtime/forms/LookupPicker.h"
#include "runtime/widgets/FormView.h"

namespace qaveq {

namespace data {
class ErrorManager;
class Session;
} // namespace data

// How the module's screens open over the current session, reporting through
// the module's active error manager.
namespace ScreenRunner {

// The current session when a screen can open: a company, and a prompter for
// its messages; null otherwise.
data::Session *session(data::ErrorManager &errors);
// The lists a form of the module may open: the module's own and the suite's.
// `caller` runs the forms those lists call (the equipment form...).
forms::LookupPicker picker(data::Session &session, data::ErrorManager &errors,
                           std::function<void(const QString &procedure)> caller = {});
// The form over the session's request, with what its screen adds.
void runForm(forms::FormDefinition definition, data::Session &session, data::ErrorManager &errors,
             FormExtras extras = {});

} // namespace ScreenRunner

} // namespace qaveq
