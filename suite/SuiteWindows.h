#pragma once

#include "runtime/widgets/ListWindow.h"
#include "runtime/widgets/RecordForm.h"

namespace qaveq::data {
class ErrorManager;
class SuiteModule;
} // namespace qaveq::data

// How the sibling modules show their lists and forms: over the current
// session, reporting through the managers each module was initialised with.
namespace qaveq::suite {

Prompter &prompterOf(data::SuiteModule &module);
data::ErrorManager &errorsOf(data::SuiteModule &module);
void runList(ListWindow::Definition definition, data::SuiteModule &module,
             ListWindow::ProcedureCaller form = {});
void runForm(const RecordForm::Definition &definition, data::SuiteModule &module);

} // namespace qaveq::suite
