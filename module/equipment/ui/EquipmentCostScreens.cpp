#include "EquipmentCostScreens.h"

#include "equipment/CostCategoryForms.h"

#include "common/ui/ScreenRunner.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Text.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentCostScreens {

namespace {

QString description(data::Company &company, const QString &file, const QString &key,
                    const QString &value)
{
    std::unique_ptr<data::Record> record = company.catalog().find(file)->create();
    record->setValue(company.catalog().find(file)->key(key).fields.first(), value);
    if (!company.file(file).fetch(key, *record))
        return {};
    return Text::clip(std::get<QString>(record->value(u"Description")));
}

} // namespace

ListWindow::Definition list(data::Session &session)
{
    const QString equipment = Text::clip(session.equipField);
    data::Company &company = *session.company;
    ListWindow::Definition definition{
        u"BrowseEQCost"_s,
        u"Lookup Cost Categories"_s,
        u"EQCost"_s,
        {{u"by Cost Category"_s, u"KeyEquipmentID"_s, u"CostCategory"_s}},
        {{u"Equipment ID"_s, u"EQC:EquipmentID"_s, u"@s10"_s, 100},
         {u"Equipment"_s, u"EQC:EquipmentID"_s, u"@s40"_s, 220,
          [&company](const data::Record &cost) {
              return description(company, u"EQHeader"_s, u"KeyEquipmentID"_s,
                                 std::get<QString>(cost.value(u"EquipmentID")));
          }},
         {u"Category ID"_s, u"EQC:CostCategory"_s, u"@s10"_s, 100},
         {u"Category"_s, u"EQC:CostCategory"_s, u"@s30"_s, 200,
          [&company](const data::Record &cost) {
              return description(company, u"EQCode"_s, u"KeyCategoryID"_s,
                                 std::get<QString>(cost.value(u"CostCategory")));
          }}},
        {equipment},
        {equipment},
        u"UPDATEEQCOST"_s};
    definition.exportFolder = u"Korvalis/Equipment Maintenance Categories"_s;
    return definition;
}

void update(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    ScreenRunner::runForm(CostCategoryForms::equipmentCost(), *session, errors);
}

void browse(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    ListWindow window(
        list(*session), *session, *errors.prompter(),
        [&errors](const QString &) { update(errors); }, QApplication::activeWindow());
    window.run();
}

} // namespace qaveq::EquipmentCostScreens
