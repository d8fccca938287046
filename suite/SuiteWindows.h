#pragma once

#include "Services.h"

#include "runtime/forms/FormDefinition.h"
#include "runtime/widgets/ListWindow.h"

namespace qaveq::data {
class ErrorManager;
class SuiteModule;
} // namespace qaveq::data

// How the sibling modules show their lists and forms: over the current
// session, reporting through the managers each module was initialised with.
namespace qaveq::suite {

void runList(ListWindow::Definition definition, data::SuiteModule &module,
             ListWindow::ProcedureCaller form = {});
void runForm(forms::FormDefinition definition, data::SuiteModule &module);

} // namespace qaveq::suite
