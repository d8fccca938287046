#include "EquipmentFormParts.h"

#include "EquipmentRules.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentForm {

namespace {

// The drop-down entries of a list the user keeps (class codes, licence codes),
// a blank first so that none can be chosen.
QList<Choice> dropList(const FormModel &form, const QString &name)
{
    QList<Choice> choices{{QString(), QString()}};
    data::KeyCursor cursor = form.session().company->file<DropList>().scan(
        u"KeyFieldValue", data::ScanOptions::equal({name}));
    DropList item;
    while (cursor.next(item))
        choices.append({Text::clip(item.Value), Text::clip(item.Value)});
    return choices;
}

// A drop-down list of the suite with the button that maintains it.
QList<Control> maintainedList(const QString &prompt, const QString &field, const QString &picture,
                              const QString &list)
{
    return {
        {.kind = ControlKind::DropList,
         .prompt = prompt,
         .field = field,
         .picture = picture,
         .choicesOf = [list](const FormModel &form) { return dropList(form, list); }},
        {.kind = ControlKind::Button,
         .prompt = u"Edit List..."_s,
         .enabledWhen = [](const FormModel &form) { return form.isEditable(); },
         .onChange =
             [list](FormModel &form) {
                 if (!form.refuses(data::Request::Change))
                     form.pick(u"UPDATEDROPLIST"_s, list);
             },
         .tip = u"Maintain the list \"%1\""_s.arg(list)},
    };
}

void recalculateUnits(FormModel &form)
{
    const std::optional<Decimal> average =
        EquipmentRules::unitsPerDay(*form.session().company, form.code(u"EquipmentID"));
    if (!average) {
        form.prompter().ask(Message::alert(u"Unable to Recalculate Average"_s,
                                           u"No usage log entries were found for this piece of "
                                           "equipment, so no recalculation is possible."_s));
        return;
    }
    form.setValue(u"UnitsPerDay", *average);
}

} // namespace

QString operatorName(const FormModel &form)
{
    PREmp employee;
    employee.EmployeeID = static_cast<qint32>(std::get<qint64>(form.value(u"OperatorEmployeeID")));
    if (employee.EmployeeID == 0 ||
        !form.session().company->file<PREmp>().fetch(u"KeyEmployeeID", employee))
        return {};
    return (Text::clip(employee.FirstName) + u' ' + Text::clip(employee.LastName)).trimmed();
}

forms::Page generalPage()
{
    const Control operatorId{.prompt = u"Operator Employee ID"_s,
                             .field = u"EQH:OperatorEmployeeID"_s,
                             .picture = u"@n_6b"_s,
                             .code = forms::CodeCheck{.file = u"PREmp"_s,
                                                      .key = u"KeyEmployeeID"_s,
                                                      .lookup = u"BROWSEPREMP"_s}};
    return {
        .title = u"&General Info"_s,
        .helpTopic = Topic + u"#ec_insert_or_change_an_equipment_record_screen"_s,
        .groups =
            {{.title = u"General Information"_s,
              .rows = {{{{.prompt = u"Equipment ID"_s,
                          .field = u"EQH:EquipmentID"_s,
                          .picture = u"@s10"_s,
                          .marked = true},
                         {.kind = ControlKind::CheckBox,
                          .prompt = u"Active"_s,
                          .field = u"EQH:Active"_s}}},
                       {{{.prompt = u"Description"_s,
                          .field = u"EQH:Description"_s,
                          .picture = u"@s40"_s,
                          .marked = true,
                          .textCase = true}}},
                       {{{.prompt = u"Physical Description"_s,
                          .field = u"EQH:PhysicalDescription"_s,
                          .picture = u"@s60"_s,
                          .textCase = true}}},
                       {{entry(u"VIN / Serial #"_s, u"EQH:VIN"_s, u"@s30"_s),
                         entry(u"Year"_s, u"EQH:Year"_s, u"@n_4b"_s)}},
                       {{{.prompt = u"Make"_s,
                          .field = u"EQH:Make"_s,
                          .picture = u"@s20"_s,
                          .textCase = true},
                         {.prompt = u"Model"_s,
                          .field = u"EQH:Model"_s,
                          .picture = u"@s20"_s,
                          .textCase = true}}},
                       {maintainedList(u"Class Code"_s, u"EQH:ClassCode"_s, u"@s10"_s,
                                       u"EQH Class Code"_s)},
                       {{entry(u"License Plate"_s, u"EQH:VehicleLicense"_s, u"@s10"_s)}}}},
             {.title = u"Miscellaneous"_s,
              .rows = {{{entry(u"Location"_s, u"EQH:Location"_s, u"@s10"_s)}},
                       {maintainedList(u"License Code"_s, u"EQH:LicenseCode"_s, u"@s5"_s,
                                       u"EQH License Code"_s)},
                       {{entry(u"Current Meter Reading"_s, u"EQH:CurrentMeter"_s, u"@n-15b"_s)}},
                       {{{.prompt = u"Certified ID"_s,
                          .field = u"EQH:CertifiedID"_s,
                          .picture = u"@s8"_s,
                          .code = forms::CodeCheck{.file = u"PRCert"_s,
                                                   .key = u"KeyCertifiedID"_s,
                                                   .lookup = u"BROWSEPRCERT"_s}}}},
                       {{operatorId,
                         {.kind = ControlKind::Display,
                          .field = u"LOC:OperatorName"_s,
                          .picture = u"@s50"_s}}}}},
             {.title = u"Usage Rates"_s,
              .rows = {{{entry(u"Unit Name"_s, u"EQH:UsageUnit"_s, u"@s5"_s),
                         entry(u"Unit Name"_s, u"EQH:BillingUnit"_s, u"@s5"_s)}},
                       {{entry(u"Charge Rate/Unit"_s, u"EQH:InternalBillingRate"_s, u"@n8.2b"_s),
                         entry(u"Charge Rate/Unit"_s, u"EQH:RentalBillingRate"_s, u"@n8.2b"_s)}},
                       {{account(u"Income Account"_s, u"EQH:InternalIncomeControl"_s),
                         account(u"Income Account"_s, u"EQH:RentalIncomeControl"_s)}},
                       {{entry(u"Average Units per Day"_s, u"EQH:UnitsPerDay"_s, u"@n-11.2b"_s),
                         button(u"Recalculate"_s, &recalculateUnits, false)}}},
              .columnTitles = {u"Internal"_s, u"Rental"_s}}},
    };
}

} // namespace qaveq::EquipmentForm
