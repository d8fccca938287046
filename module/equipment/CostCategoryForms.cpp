#include "CostCategoryForms.h"

#include "common/ReadOnlyAccess.h"
#include "equipment/ScheduleType.h"
#include "records/EQCode.h"
#include "records/EQCost.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::CostCategoryForms {

namespace {

using forms::Choice;
using forms::Control;
using forms::ControlKind;
using forms::FormModel;

// The company's default equipment expense account (the first Systems record).
QString defaultExpenseAccount(data::Company &company)
{
    data::KeyCursor cursor = company.file<Systems>().scan(u"KeyRecordID");
    Systems systems;
    return cursor.next(systems) ? Text::clip(systems.EquipmentExpenseAccount) : QString();
}

forms::CodeCheck accountCheck()
{
    return {.file = u"GLMaster"_s, .key = u"KeyAccount"_s, .lookup = u"BROWSEGLMASTER"_s};
}

bool refuseReadOnlyUser(data::Session &session, Prompter &prompter, data::Request)
{
    return refuseReadOnly(session, prompter);
}

// A read-only user opens a category to look at it.
bool equipmentViewOnly(const data::Session &session)
{
    return session.equipmentReadOnly;
}

// A unit kept blank stays blank: the first entry of the list is "no unit".
QList<Choice> units(const QStringList &names)
{
    QList<Choice> choices{{QString(), QString()}};
    for (const QString &name : names)
        choices.append({name, name});
    return choices;
}

// The equipment a cost category belongs to: the record's own, else the one the
// caller named in EQUIPFIELD.
QString owningEquipment(const FormModel &form)
{
    const QString own = form.code(u"EquipmentID");
    return own.isEmpty() ? Text::clip(form.session().equipField) : own;
}

} // namespace

const QString EquipmentSetupArea = u"EQ Equipment Setup"_s;

QString equipmentCostActivity(const EQCost &cost)
{
    return u"cost category ("_s + Text::clip(cost.CostCategory) + u") of equipment ("_s +
           Text::clip(cost.EquipmentID) + u')';
}

void normalizeSchedule(forms::FormModel &form)
{
    form.setValue(u"ScheduleType", ScheduleType::normalized(form.code(u"ScheduleType")));
}

forms::Group scheduleGroup(const QString &prefix)
{
    const auto field = [&prefix](const QString &name) { return prefix + u':' + name; };
    const QString type = field(u"ScheduleType"_s);
    const auto meter = [type](const FormModel &form) {
        return ScheduleType::showsMeter(form.code(type));
    };
    const auto time = [type](const FormModel &form) {
        return ScheduleType::showsTime(form.code(type));
    };
    QList<Choice> types;
    for (int i = 0; i < ScheduleType::codes().size(); ++i)
        types.append({ScheduleType::choices()[i], ScheduleType::codes()[i]});
    return {
        .title = u"Service Schedule"_s,
        .rows =
            {
                {{{.kind = ControlKind::DropList,
                   .prompt = u"Schedule Type"_s,
                   .field = type,
                   .choices = types}}},
                {{{.kind = ControlKind::DropList,
                   .prompt = u"Meter Unit"_s,
                   .field = field(u"MeterName"_s),
                   .choices = units({u"Miles"_s, u"Hours"_s}),
                   .shownWhen = meter},
                  {.kind = ControlKind::DropList,
                   .prompt = u"Time Unit"_s,
                   .field = field(u"IntervalName"_s),
                   .choices = units({u"Months"_s, u"Days"_s}),
                   .shownWhen = time}}},
                {{{.prompt = u"Meter Interval"_s,
                   .field = field(u"Meter"_s),
                   .picture = u"@n_13b"_s,
                   .minimum = Decimal(0),
                   .shownWhen = meter},
                  {.prompt = u"Time Interval"_s,
                   .field = field(u"Interval"_s),
                   .picture = u"@n_13b"_s,
                   .minimum = Decimal(0),
                   .shownWhen = time}}},
            },
    };
}

forms::FormDefinition category()
{
    forms::FormDefinition definition{
        .file = u"EQCode"_s,
        .insertCaption = u"Adding a Cost Category"_s,
        .changeCaption = u"Changing a Cost Category"_s,
        .deleteCaption = u"Deleting a Cost Category"_s,
        .pages = {{
            .title = u"Cost Category"_s,
            .helpTopic = u"html/EC_Cost_Categories.htm#ec_insert_or_change_a_cost_category"_s,
            .groups =
                {
                    {.title = u"General Information"_s,
                     .rows =
                         {
                             {{{.prompt = u"Category ID"_s,
                                .field = u"EQD:CategoryID"_s,
                                .picture = u"@s10"_s,
                                .required = true}}},
                             {{{.prompt = u"Description"_s,
                                .field = u"EQD:Description"_s,
                                .picture = u"@s30"_s,
                                .textCase = true}}},
                             {{{.prompt = u"Default Unit"_s,
                                .field = u"EQD:DefaultUnit"_s,
                                .picture = u"@s5"_s}}},
                             {{{.prompt = u"Expense Control GL Account"_s,
                                .field = u"EQD:DefaultExpenseControl"_s,
                                .picture = u"@s10"_s,
                                .code = accountCheck(),
                                .onEnter =
                                    [](FormModel &form) {
                                        if (form.code(u"DefaultExpenseControl").isEmpty())
                                            form.setValue(
                                                u"DefaultExpenseControl",
                                                defaultExpenseAccount(*form.session().company));
                                    }}}},
                         }},
                    scheduleGroup(u"EQD"_s),
                },
        }},
        .viewOnly = &equipmentViewOnly,
        .refuse = &refuseReadOnlyUser,
        .opened = &normalizeSchedule,
    };
    // A category that equipment still uses cannot be deleted: their cost
    // categories would be left naming a category that is gone.
    definition.beforeSave = [](FormModel &form) -> QString {
        if (form.request() != data::Request::Delete)
            return {};
        const QString id = form.code(u"CategoryID");
        const qint64 uses = form.session()
                                .company->file<EQCost>()
                                .scan(u"KeyCostCategory", data::ScanOptions::equal({id}))
                                .count();
        if (uses <= 0)
            return {};
        return u"Cost category %1 is used by %2 equipment cost categories.|Remove it from the "
               "equipment first."_s.arg(id)
                   .arg(uses);
    };
    definition.activity =
        forms::Activity{EquipmentSetupArea, [](const data::Record &record) {
                            const auto &category = static_cast<const EQCode &>(record);
                            return u"cost category ("_s + Text::clip(category.CategoryID) +
                                   u") "_s + Text::clip(category.Description);
                        }};
    return definition;
}

forms::FormDefinition equipmentCost()
{
    forms::CodeCheck categoryCheck{
        .file = u"EQCode"_s, .key = u"KeyCategoryID"_s, .lookup = u"BROWSEEQCODE"_s};
    // A category accepted while editing brings its defaults; the category the
    // record was opened with, or accepted last, does not bring them again.
    categoryCheck.accepted = [](FormModel &form, const data::Record &found) {
        const auto &category = static_cast<const EQCode &>(found);
        form.setValue(u"UnitName", Text::clip(category.DefaultUnit));
        form.setValue(u"ControlDebit", Text::clip(category.DefaultExpenseControl));
        form.setValue(u"ControlCredit", Text::clip(category.DefaultContraExpenseControl));
        form.setValue(u"ScheduleType", ScheduleType::normalized(Text::clip(category.ScheduleType)));
        form.setValue(u"MeterName", Text::clip(category.MeterName));
        form.setValue(u"Meter", qint64(category.Meter));
        form.setValue(u"IntervalName", Text::clip(category.IntervalName));
        form.setValue(u"Interval", qint64(category.Interval));
    };
    forms::FormDefinition definition{
        .file = u"EQCost"_s,
        .insertCaption = u"Adding an Equipment Cost Category"_s,
        .changeCaption = u"Changing an Equipment Cost Category"_s,
        .deleteCaption = u"Deleting an Equipment Cost Category"_s,
        .pages = {{
            .title = u"Cost Category"_s,
            .helpTopic = u"~EC_Insert_or_Change_a_Maintenance_Category_Screen"_s,
            .groups =
                {
                    {.title = u"General Information"_s,
                     .rows =
                         {
                             {{{.prompt = u"Cost Category"_s,
                                .field = u"EQC:CostCategory"_s,
                                .picture = u"@s10"_s,
                                .required = true,
                                .code = categoryCheck}}},
                             {{{.prompt = u"Unit Name"_s,
                                .field = u"EQC:UnitName"_s,
                                .picture = u"@s5"_s}}},
                             {{{.prompt = u"Expense Account"_s,
                                .field = u"EQC:ControlDebit"_s,
                                .picture = u"@s12"_s,
                                .code = accountCheck()}}},
                         }},
                    scheduleGroup(u"EQC"_s),
                    {.title = u"Last Service"_s,
                     .rows = {{{{.prompt = u"Meter Reading"_s,
                                 .field = u"EQC:LastServiceMeter"_s,
                                 .picture = u"@n_13b"_s},
                                {.prompt = u"Date"_s,
                                 .field = u"EQC:LastServiceDate"_s,
                                 .picture = u"@d1b"_s,
                                 .pick = u"EDITDATE"_s,
                                 .tip = u"Select a Date"_s}}}}},
                },
        }},
    };
    definition.viewOnly = &equipmentViewOnly;
    definition.refuse = [](data::Session &session, Prompter &prompter, data::Request request) {
        if (refuseReadOnly(session, prompter))
            return true;
        // A cost category belongs to an equipment: without one it would be
        // stored under a blank equipment ID.
        if (request == data::Request::Insert && Text::clip(session.equipField).isEmpty()) {
            prompter.ask(
                Message::alert(u"Adding an Equipment Cost Category"_s,
                               u"Choose the equipment whose cost categories you are adding to."_s));
            return true;
        }
        return false;
    };
    definition.prime = [](FormModel &form) {
        form.setValue(u"EquipmentID", Text::clip(form.session().equipField));
    };
    definition.opened = &normalizeSchedule;
    definition.beforeSave = [](FormModel &form) -> QString {
        if (form.request() == data::Request::Delete)
            return {};
        const QString equipment = owningEquipment(form);
        form.setValue(u"EquipmentID", equipment);
        form.setValue(u"RecordID", equipment.leftJustified(10, u' ') + form.code(u"CostCategory"));
        return {};
    };
    definition.activity =
        forms::Activity{EquipmentSetupArea, [](const data::Record &record) {
                            return equipmentCostActivity(static_cast<const EQCost &>(record));
                        }};
    return definition;
}

} // namespace qaveq::CostCategoryForms
