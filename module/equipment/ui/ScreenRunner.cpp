#include "ScreenRunner.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include <QApplication>

namespace qaveq::ScreenRunner {

data::Session *session(data::ErrorManager &errors)
{
    data::Session *current = data::Session::current();
    return current && current->company && errors.prompter() ? current : nullptr;
}

void runForm(const RecordForm::Definition &definition, data::Session &session,
             data::ErrorManager &errors)
{
    RecordForm form(definition, session, *errors.prompter(), RecordForm::warningsOf(errors),
                    QApplication::activeWindow());
    form.run();
}

} // namespace qaveq::ScreenRunner
