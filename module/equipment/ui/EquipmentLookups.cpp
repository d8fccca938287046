#include "EquipmentLookups.h"

#include "CostCategoryScreens.h"
#include "EquipmentCostScreens.h"
#include "EquipmentScreens.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "runtime/widgets/QtFileChooser.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentLookups {

void add(forms::LookupPicker &picker, data::Session &session, data::ErrorManager &errors,
         const ScreenRunner::Caller &caller)
{
    picker.add(u"BROWSEEQHEADER"_s,
               forms::LookupPicker::list(
                   session, EQHeader::fileSchema(), u"EquipmentID"_s, [&errors, caller] {
                       EquipmentScreens::browse(errors, [caller](const QString &procedure) {
                           if (caller)
                               caller(procedure);
                       });
                   }));
    picker.add(u"BROWSEEQCOST"_s,
               forms::LookupPicker::list(session, EQCost::fileSchema(), u"CostCategory"_s,
                                         [&errors] { EquipmentCostScreens::browse(errors); }));
    picker.add(u"BROWSEEQCODE"_s,
               forms::LookupPicker::list(session, EQCode::fileSchema(), u"CategoryID"_s,
                                         [&errors] { CostCategoryScreens::browse(errors); }));
    picker.add(u"PHOTOFILE"_s, [](const QString &current) -> std::optional<QString> {
        QtFileChooser chooser(QApplication::activeWindow());
        const QString chosen = chooser.choose(
            FileChooser::Purpose::Open, u"Select an Equipment Photo Image"_s, current,
            u"Image Files (*.bmp *.gif *.jpg *.jpeg *.png);;All Files (*)"_s);
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
    });
}

} // namespace qaveq::EquipmentLookups
