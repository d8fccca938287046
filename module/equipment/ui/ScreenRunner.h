#pragma once

#include "runtime/widgets/RecordForm.h"

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
void runForm(const RecordForm::Definition &definition, data::Session &session,
             data::ErrorManager &errors);

} // namespace ScreenRunner

} // namespace qaveq
