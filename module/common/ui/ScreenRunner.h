#pragma once

#include "runtime/forms/FormDefinition.h"
#include "runtime/forms/LookupPicker.h"
#include "runtime/widgets/FormView.h"

#include <QList>

#include <functional>

namespace qaveq {

namespace data {
class ErrorManager;
class Session;
} // namespace data

// How the module's screens open over the current session, reporting through
// the module's active error manager.
namespace ScreenRunner {

// Runs a procedure of the module by its name (a list's Add calls its form).
using Caller = std::function<void(const QString &procedure)>;

// A feature's lists that any form of the module may open, added to the
// form's picker; `caller` runs the forms those lists call.
using Lookups = std::function<void(forms::LookupPicker &picker, data::Session &session,
                                   data::ErrorManager &errors, const Caller &caller)>;

// Every feature's lists, given once by the module's entry when it loads.
void setLookups(QList<Lookups> features);

// The current session when a screen can open: a company, and a prompter for
// its messages; null otherwise.
data::Session *session(data::ErrorManager &errors);
// The lists a form of the module may open: the suite's and every feature's.
forms::LookupPicker picker(data::Session &session, data::ErrorManager &errors,
                           const Caller &caller = {});
// The form over the session's request, with what its screen adds.
void runForm(forms::FormDefinition definition, data::Session &session, data::ErrorManager &errors,
             FormExtras extras = {});

} // namespace ScreenRunner

} // namespace qaveq
