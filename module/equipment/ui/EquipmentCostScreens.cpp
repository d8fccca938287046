#include "EquipmentCostScreens.h"

#include "CostCategoryScreens.h"

#include "equipment/ScheduleType.h"
#include "frame/ReadOnlyAccess.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "ScreenRunner.h"

#include "suite/Lookups.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Text.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentCostScreens {

namespace {

using Control = RecordForm::Control;

// The category's defaults into the form whenever a category is accepted.
void copyDefaults(RecordForm &form, const EQCode &category)
{
    form.setText(u"UnitName"_s, Text::clip(category.DefaultUnit));
    form.setText(u"ControlDebit"_s, Text::clip(category.DefaultExpenseControl));
    form.setFieldValue(u"ControlCredit"_s, category.DefaultContraExpenseControl);
    form.setChoice(u"ScheduleType"_s, static_cast<int>(ScheduleType::codes().indexOf(
                                          ScheduleType::normalized(category.ScheduleType))));
    form.setChoice(u"MeterName"_s, category.MeterName == u"Miles" ? 0 : 1);
    form.setText(u"Meter"_s, category.Meter == 0 ? QString() : QString::number(category.Meter));
    form.setChoice(u"IntervalName"_s, category.IntervalName == u"Days" ? 1 : 0);
    form.setText(u"Interval"_s,
                 category.Interval == 0 ? QString() : QString::number(category.Interval));
    CostCategoryScreens::showSchedule(form);
}

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

RecordForm::Definition form(const Lookup &lookupCategory, const Lookup &lookupAccount)
{
    RecordForm::Definition definition{u"EQCost"_s, u"Adding a Maintenance Code"_s,
                                      u"Changing a Maintenance Code"_s,
                                      u"Deleting a Maintenance Code"_s};
    definition.controls = {
        Control::entry(u"Cost Category"_s, u"EQC:CostCategory"_s, u"@s10"_s, true)
            .withLookup(lookupCategory),
        Control::entry(u"Unit Name"_s, u"EQC:UnitName"_s, u"@s5"_s),
        Control::entry(u"Expense Account"_s, u"EQC:ControlDebit"_s, u"@s12"_s)
            .withLookup(lookupAccount),
    };
    definition.controls += CostCategoryScreens::scheduleControls(u"EQC"_s);
    definition.controls += {
        Control::entry(u"Last Service Meter Reading"_s, u"EQC:LastServiceMeter"_s, u"@n_13b"_s),
        Control::entry(u"Last Service Date"_s, u"EQC:LastServiceDate"_s, u"@d2"_s)
            .withLookup([](const QString &typed) -> std::optional<QString> {
                const QDate current = QDate::fromString(typed, u"M/d/yyyy"_s);
                const std::optional<DayNumber> chosen =
                    suite::EDITDATE(SuiteDate::fromQDate(current));
                if (!chosen)
                    return std::nullopt;
                return SuiteDate::toQDate(*chosen).toString(u"M/dd/yyyy"_s);
            }),
    };
    definition.helpTopic = u"html/EC_Cost_Categories.htm"_s;
    definition.prime = [](data::Record &record) {
        if (data::Session *session = data::Session::current())
            record.setValue(u"EquipmentID", Text::clip(session->equipField));
    };
    definition.opened = &CostCategoryScreens::showSchedule;
    definition.changed = [](RecordForm &form, const QString &field) {
        if (field == u"ScheduleType")
            CostCategoryScreens::showSchedule(form);
    };
    // The category last accepted: its defaults are copied when it changes,
    // not again when OK checks the entries.
    auto accepted = std::make_shared<QString>();
    definition.left = [lookupCategory, lookupAccount, accepted](RecordForm &form,
                                                                const QString &field) {
        data::Company &company = *form.session().company;
        if (field == u"CostCategory") {
            EQCode category;
            category.CategoryID = form.text(field).trimmed();
            if (!company.file<EQCode>().fetch(u"KeyCategoryID", category)) {
                const std::optional<QString> chosen = lookupCategory(category.CategoryID);
                if (!chosen)
                    return false;
                form.setText(field, *chosen);
                category.CategoryID = *chosen;
                if (!company.file<EQCode>().fetch(u"KeyCategoryID", category))
                    return false;
            }
            if (*accepted != Text::clip(category.CategoryID)) {
                *accepted = Text::clip(category.CategoryID);
                copyDefaults(form, category);
            }
            return true;
        }
        if (field == u"ControlDebit") {
            GLMaster account;
            account.Account = form.text(field).trimmed();
            if (company.file<GLMaster>().fetch(u"KeyAccount", account))
                return true;
            const std::optional<QString> chosen = lookupAccount(account.Account);
            if (chosen)
                form.setText(field, *chosen);
            return chosen.has_value();
        }
        return true;
    };
    definition.beforeSave = [accepted](RecordForm &form) {
        if (refuseReadOnly(form.session(), form.prompter()))
            return false;
        if (form.request() == data::Request::Delete)
            return true;
        const QString equipment = Text::clip(form.session().buffer<EQCost>().EquipmentID).isEmpty()
                                      ? Text::clip(form.session().equipField)
                                      : Text::clip(form.session().buffer<EQCost>().EquipmentID);
        form.setFieldValue(u"EquipmentID"_s, equipment);
        form.setFieldValue(u"RecordID"_s, equipment.leftJustified(10, u' ') +
                                              form.text(u"CostCategory"_s).trimmed());
        return true;
    };
    return definition;
}

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
    const Lookup lookupAccount = CostCategoryScreens::accountLookup(*session);
    data::ErrorManager *errorsPointer = &errors;
    const Lookup lookupCategory = [session,
                                   errorsPointer](const QString &typed) -> std::optional<QString> {
        const data::Request request = session->globalRequest;
        session->globalRequest = data::Request::Select;
        session->buffer<EQCode>().CategoryID = typed;
        CostCategoryScreens::browse(*errorsPointer);
        session->globalRequest = request;
        if (session->globalResponse != data::Response::Completed)
            return std::nullopt;
        return Text::clip(session->buffer<EQCode>().CategoryID);
    };
    ScreenRunner::runForm(EquipmentCostScreens::form(lookupCategory, lookupAccount), *session,
                          errors);
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
