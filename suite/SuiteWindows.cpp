#include "SuiteWindows.h"

#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/SuiteModule.h"

#include "Lookups.h"

#include "runtime/StandardWarnings.h"
#include "runtime/forms/FormModel.h"
#include "runtime/widgets/FormView.h"

#include "core/Clock.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

void runList(ListWindow::Definition definition, data::SuiteModule &module,
             ListWindow::ProcedureCaller form)
{
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return;
    ListWindow window(std::move(definition), *session, prompterOf(module), std::move(form),
                      QApplication::activeWindow());
    window.run();
}

void runForm(forms::FormDefinition definition, data::SuiteModule &module)
{
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return;
    static const SystemClock clock;
    if (!definition.caseStore)
        definition.caseStore = &GETCASE;
    forms::LookupPicker picker = lookups(*session);
    data::ErrorManager &errors = errorsOf(module);
    forms::FormModel model(std::move(definition),
                           {*session, prompterOf(module), picker, clock,
                            [&errors](int number, const QString &text1, const QString &text2) {
                                return StandardWarnings(errors).show(number, text1, text2);
                            }});
    FormView view(model, {}, QApplication::activeWindow());
    view.run();
}

} // namespace qaveq::suite
