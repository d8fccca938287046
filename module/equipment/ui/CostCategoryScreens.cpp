#include "CostCategoryScreens.h"

#include "SearchWindow.h"

#include "equipment/CategoryApplier.h"
#include "equipment/CostCategoryForms.h"

#include "common/ui/ScreenRunner.h"

#include "suite/Lookups.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Prompter.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::CostCategoryScreens {

ListWindow::Definition list(data::Session &session, data::ErrorManager &errors, ListWindow **window)
{
    ListWindow::Definition definition{u"BrowseEQCode"_s,
                                      u"Equipment Maintenance Categories"_s,
                                      u"EQCode"_s,
                                      {{u"by Category ID"_s, u"KeyCategoryID"_s, u"CategoryID"_s}},
                                      {{u"Category ID"_s, u"EQD:CategoryID"_s, u"@s10"_s, 110},
                                       {u"Description"_s, u"EQD:Description"_s, u"@s30"_s, 280}}};
    definition.form = u"UPDATEEQCODE"_s;
    definition.exportFolder = u"Korvalis/Equipment Maintenance Categories"_s;
    definition.helpTopic = u"html/EC_Cost_Categories.htm"_s;
    definition.buttons = {
        {u"Sea&rch..."_s,
         [&session, window] {
             const std::optional<QString> chosen = SearchWindow::choose(
                 Search::Mode::Code, Search::candidates(*session.company, Search::Mode::Code),
                 *window);
             if (chosen)
                 (*window)->find(*chosen);
         }},
        {u"Apply to &All"_s,
         [&session, &errors] {
             Prompter *prompter = errors.prompter();
             if (prompter)
                 CategoryApplier(session, *prompter, errors, SystemClock()).applyToAll();
         }},
    };
    if (suite::trainingInstalled(u"Cost Categories"_s))
        definition.buttons.append(
            {u"&Training Video"_s, [] { suite::PLAYTRAINING(u"Cost Categories"_s); }});
    return definition;
}

void update(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    ScreenRunner::runForm(CostCategoryForms::category(), *session, errors);
}

void browse(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    ListWindow *shown = nullptr;
    ListWindow window(
        list(*session, errors, &shown), *session, *errors.prompter(),
        [&errors](const QString &) { update(errors); }, QApplication::activeWindow());
    shown = &window;
    window.run();
}

} // namespace qaveq::CostCategoryScreens
