#include "CostCategoryScreens.h"

#include "SearchWindow.h"

#include "equipment/CategoryApplier.h"
#include "equipment/ScheduleType.h"
#include "frame/ReadOnlyAccess.h"
#include "records/EQCode.h"
#include "records/EQCost.h"

#include "ScreenRunner.h"

#include "suite/Lookups.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace qaveq::CostCategoryScreens {

namespace {

using Control = RecordForm::Control;

// The company's default equipment expense account (the first Systems record).
QString defaultExpenseAccount(data::Company &company)
{
    data::KeyCursor cursor = company.file<Systems>().scan(u"KeyRecordID");
    Systems systems;
    return cursor.next(systems) ? Text::clip(systems.EquipmentExpenseAccount) : QString();
}

} // namespace

QList<RecordForm::Control> scheduleControls(const QString &prefix)
{
    const auto field = [&prefix](const QString &name) { return prefix + u':' + name; };
    return {
        Control::dropList(u"Schedule Type"_s, field(u"ScheduleType"_s), ScheduleType::choices(),
                          ScheduleType::codes()),
        Control::dropList(u"Meter Unit"_s, field(u"MeterName"_s), {u"Miles"_s, u"Hours"_s},
                          {u"Miles"_s, u"Hours"_s}),
        Control::entry(u"Meter Interval"_s, field(u"Meter"_s), u"@n_13b"_s),
        Control::dropList(u"Time Unit"_s, field(u"IntervalName"_s), {u"Months"_s, u"Days"_s},
                          {u"Months"_s, u"Days"_s}),
        Control::entry(u"Time Interval"_s, field(u"Interval"_s), u"@n_13b"_s),
    };
}

void showSchedule(RecordForm &form)
{
    const QString code = ScheduleType::codes().value(form.choice(u"ScheduleType"_s));
    for (const QString &field : {u"MeterName"_s, u"Meter"_s})
        form.setShown(field, ScheduleType::showsMeter(code));
    for (const QString &field : {u"IntervalName"_s, u"Interval"_s})
        form.setShown(field, ScheduleType::showsTime(code));
}

namespace {

// A category that equipment still uses cannot be deleted: their cost
// categories would be left naming a category that is gone.
bool usedByEquipment(RecordForm &form)
{
    data::Session &session = form.session();
    const QString id = Text::clip(session.buffer<EQCode>().CategoryID);
    const qint64 uses = session.company->file<EQCost>()
                            .scan(u"KeyCostCategory", data::ScanOptions::equal({id}))
                            .count();
    if (uses <= 0)
        return false;
    form.prompter().ask(
        Message{u"Cannot Delete"_s,
                u"Cost category %1 is used by %2 equipment cost categories.|Remove it from the "
                "equipment first."_s.arg(id)
                    .arg(uses),
                u"&OK"_s, 1, Message::Icon::Exclamation});
    return true;
}

} // namespace

RecordForm::Definition form(const AccountLookup &lookupAccount)
{
    RecordForm::Definition definition{u"EQCode"_s, u"Adding a Cost Category"_s,
                                      u"Changing a Cost Category"_s, u"Deleting a Cost Category"_s};
    definition.controls = {
        Control::entry(u"Category ID"_s, u"EQD:CategoryID"_s, u"@s10"_s, true),
        Control::entry(u"Description"_s, u"EQD:Description"_s, u"@s30"_s).withTextCase(),
        Control::entry(u"Default Unit"_s, u"EQD:DefaultUnit"_s, u"@s5"_s),
        Control::entry(u"Expense Control GL Account"_s, u"EQD:DefaultExpenseControl"_s, u"@s10"_s)
            .withLookup(lookupAccount),
    };
    definition.controls += scheduleControls(u"EQD"_s);
    definition.caseStore = &suite::GETCASE;
    definition.helpTopic = u"html/EC_Cost_Categories.htm#ec_insert_or_change_a_cost_category"_s;
    definition.opened = &showSchedule;
    definition.changed = [](RecordForm &form, const QString &field) {
        if (field == u"ScheduleType")
            showSchedule(form);
    };
    definition.entered = [](RecordForm &form, const QString &field) {
        if (field == u"DefaultExpenseControl" && form.text(field).trimmed().isEmpty())
            form.setText(field, defaultExpenseAccount(*form.session().company));
    };
    definition.left = [lookupAccount](RecordForm &form, const QString &field) {
        if (field != u"DefaultExpenseControl")
            return true;
        GLMaster account;
        account.Account = form.text(field).trimmed();
        if (form.session().company->file<GLMaster>().fetch(u"KeyAccount", account))
            return true;
        const std::optional<QString> chosen = lookupAccount(account.Account);
        if (chosen)
            form.setText(field, *chosen);
        return chosen.has_value();
    };
    definition.beforeSave = [](RecordForm &form) {
        if (refuseReadOnly(form.session(), form.prompter()))
            return false;
        return form.request() != data::Request::Delete || !usedByEquipment(form);
    };
    return definition;
}

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
                 (*window)->locate(*chosen);
         }},
        {u"Apply to &All"_s,
         [&session, &errors] {
             Prompter *prompter = errors.prompter();
             if (prompter)
                 CategoryApplier(session, *prompter, errors).applyToAll();
         }},
        {u"&Training Video"_s, [] { suite::PLAYTRAINING(u"Cost Categories"_s); }},
    };
    return definition;
}

AccountLookup accountLookup(data::Session &session)
{
    return [&session](const QString &typed) -> std::optional<QString> {
        const data::Request request = session.globalRequest;
        session.globalRequest = data::Request::Select;
        session.buffer<GLMaster>().Account = typed;
        suite::BROWSEGLMASTER();
        session.globalRequest = request;
        if (session.globalResponse != data::Response::Completed)
            return std::nullopt;
        return Text::clip(session.buffer<GLMaster>().Account);
    };
}

void update(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    ScreenRunner::runForm(CostCategoryScreens::form(accountLookup(*session)), *session, errors);
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
