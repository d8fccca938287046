#include "ScreenRunner.h"

#include "CostCategoryScreens.h"
#include "EquipmentCostScreens.h"
#include "EquipmentScreens.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "reports/DefinitionForms.h"
#include "reports/ReportSelection.h"

#include "suite/Lookups.h"
#include "suite/Procedures.h"

#include "runtime/StandardWarnings.h"
#include "runtime/forms/FormModel.h"
#include "runtime/widgets/FormView.h"
#include "runtime/widgets/QtFileChooser.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::ScreenRunner {

data::Session *session(data::ErrorManager &errors)
{
    data::Session *current = data::Session::current();
    return current && current->company && errors.prompter() ? current : nullptr;
}

forms::LookupPicker picker(data::Session &session, data::ErrorManager &errors,
                           std::function<void(const QString &procedure)> caller)
{
    forms::LookupPicker lookups = suite::lookups(session);
    lookups.add(u"BROWSEEQHEADER"_s,
                forms::LookupPicker::list(
                    session, EQHeader::fileSchema(), u"EquipmentID"_s, [&errors, caller] {
                        EquipmentScreens::browse(errors, [caller](const QString &procedure) {
                            if (caller)
                                caller(procedure);
                        });
                    }));
    lookups.add(u"BROWSEEQCOST"_s,
                forms::LookupPicker::list(session, EQCost::fileSchema(), u"CostCategory"_s,
                                          [&errors] { EquipmentCostScreens::browse(errors); }));
    lookups.add(u"BROWSEEQCODE"_s,
                forms::LookupPicker::list(session, EQCode::fileSchema(), u"CategoryID"_s,
                                          [&errors] { CostCategoryScreens::browse(errors); }));
    lookups.add(u"BROWSEEQHEADER"_s,
                forms::LookupPicker::list(session, EQHeader::fileSchema(), u"EquipmentID"_s,
                                          [&errors] { EquipmentScreens::browse(errors, {}); }));
    // The list editors of a report definition: the picker gets its number.
    for (const QString &kind : {ListKind::Equipment, ListKind::Category, ListKind::Job})
        lookups.add(DefinitionForms::listEditor(kind),
                    [kind](const QString &limit) -> std::optional<QString> {
                        suite::UPDATELIMLIST(limit.toUInt(), kind);
                        return std::nullopt;
                    });
    lookups.add(DefinitionForms::UserDefinedEditor,
                [](const QString &limit) -> std::optional<QString> {
                    suite::BROWSELIMLISTUD(limit.toUInt());
                    return std::nullopt;
                });
    lookups.add(u"PHOTOFILE"_s, [](const QString &current) -> std::optional<QString> {
        QtFileChooser chooser(QApplication::activeWindow());
        const QString chosen = chooser.choose(
            FileChooser::Purpose::Open, u"Select an Equipment Photo Image"_s, current,
            u"Image Files (*.bmp *.gif *.jpg *.jpeg *.png);;All Files (*)"_s);
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
    });
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
