#include "ScreenRunner.h"

#include "suite/Lookups.h"
#include "suite/Procedures.h"

#include "runtime/StandardWarnings.h"
#include "runtime/forms/FormModel.h"
#include "runtime/widgets/FormView.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"

#include <QApplication>

namespace qaveq::ScreenRunner {

namespace {

QList<Lookups> &features()
{
    static QList<Lookups> registered;
    return registered;
}

} // namespace

void setLookups(QList<Lookups> lookups)
{
    features() = std::move(lookups);
}

data::Session *session(data::ErrorManager &errors)
{
    data::Session *current = data::Session::current();
    return current && current->company && errors.prompter() ? current : nullptr;
}

forms::LookupPicker picker(data::Session &session, data::ErrorManager &errors, const Caller &caller)
{
    forms::LookupPicker lookups = suite::lookups(session);
    for (const Lookups &feature : std::as_const(features()))
        feature(lookups, session, errors, caller);
    return lookups;
}

void runForm(forms::FormDefinition definition, data::Session &session, data::ErrorManager &errors,
             FormExtras extras)
{
    static const SystemClock clock;
    if (!definition.caseStore)
        definition.caseStore = &suite::GETCASE;
    forms::LookupPicker lookups = picker(session, errors, extras.caller);
    forms::FormModel model(std::move(definition),
                           {session, *errors.prompter(), lookups, clock,
                            [&errors](int number, const QString &text1, const QString &text2) {
                                return StandardWarnings(errors).show(number, text1, text2);
                            }});
    FormView view(model, std::move(extras), QApplication::activeWindow());
    view.run();
}

} // namespace qaveq::ScreenRunner
