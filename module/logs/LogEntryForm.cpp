#include "LogEntryForm.h"

#include "common/ReadOnlyAccess.h"
#include "logs/LogEntryChecks.h"
#include "logs/LogEntryMemory.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"

using namespace Qt::StringLiterals;

namespace qaveq::LogEntryForm {

namespace {

using forms::Control;
using forms::ControlKind;
using forms::FormModel;
using namespace LogEntryChecks;

const QString Topic = u"html/EC_Usage_Logs.htm#ec_insert_or_change_an_usage_log_entry"_s;

std::function<bool(const FormModel &)> shownFor(QList<QString> types)
{
    return [types](const FormModel &form) { return types.contains(form.code(u"DetailType")); };
}

Control line(const QString &field, const QString &picture,
             std::function<bool(const FormModel &)> shown = {})
{
    return {.kind = ControlKind::Display, .field = field, .picture = picture, .shownWhen = shown};
}

Control meter(const QString &prompt, const QString &field)
{
    return {.prompt = prompt, .field = field, .picture = u"@n-14.2b"_s, .check = &tooLarge};
}

QList<forms::Page> pages(data::Session &session, LogEntryMemory &memory)
{
    const auto job = shownFor({Job});
    const auto changeOrders = [tracked = settingsOf(session).ChangeOrders == 1](
                                  const FormModel &form) { return tracked && detailIs(form, Job); };
    const auto categories = shownFor({Equipment, Maintenance});
    const forms::Group equipmentGroup{.title = u"Equipment Information"_s,
                                      .rows = {
                                          {{{.prompt = u"Equipment ID"_s,
                                             .field = u"EQLB:EquipmentID"_s,
                                             .picture = u"@s10"_s,
                                             .required = true,
                                             .code = equipmentCheck(memory)},
                                            line(EquipmentName, u"@s40"_s)}},
                                          {{{.kind = ControlKind::Display,
                                             .prompt = u"Internal Charge Rate"_s,
                                             .field = InternalRate,
                                             .picture = u"@n18.2"_s},
                                            line(UsageUnit, u"@s5"_s)}},
                                          {{{.kind = ControlKind::Display,
                                             .prompt = u"Rental Charge Rate"_s,
                                             .field = RentalRate,
                                             .picture = u"@n18.2"_s},
                                            line(BillingUnit, u"@s5"_s)}},
                                      }};
    const forms::Group meterGroup{
        .title = u"Meter Readings"_s,
        .rows = {
            {{meter(u"End"_s, u"EQLB:EndMeter"_s), line(UsageUnit, u"@s5"_s)}},
            {{meter(u"Start"_s, u"EQLB:StartMeter"_s), line(UsageUnit, u"@s5"_s)}},
            {{meter(u"Total"_s, u"EQLB:Units"_s), line(UsageUnit, u"@s5"_s)}},
        }};
    const forms::Group chargeGroup{
        .title = u"Charges"_s,
        .rows = forms::column({
            {.kind = ControlKind::RadioGroup,
             .prompt = u"Charge"_s,
             .field = u"EQLB:ChargeType"_s,
             .choices = {{u"&Internal"_s, u"I"_s}, {u"&Rental"_s, u"R"_s}}},
            {.kind = ControlKind::Display,
             .prompt = u"Rate"_s,
             .field = Rate,
             .picture = u"@n-21.2"_s},
            {.kind = ControlKind::Display,
             .prompt = u"Total Charge"_s,
             .field = u"EQLB:GrossAmount"_s,
             .picture = u"@n-18.2"_s},
            {.prompt = u"Adjustment"_s,
             .field = Adjustment,
             .picture = u"@n-19.2b"_s,
             .check = &tooLarge},
            {.prompt = u"Net Charge"_s,
             .field = u"EQLB:AdjustedAmount"_s,
             .picture = u"@n-19.2b"_s},
        })};
    const forms::Group detailGroup{
        .title = u"Usage Detail"_s,
        .rows = {
            {{{.kind = ControlKind::DropList,
               .prompt = u"Detail Type"_s,
               .field = u"EQLB:DetailType"_s,
               .required = true,
               .choices = {{Job, Job, u'5'},
                           {Account, Account, u'6'},
                           {Equipment, Equipment, u'.'},
                           {Maintenance, Maintenance, u'2'}},
               .onChange = &refreshDescriptions,
               .tip =
                   u"On the numeric keypad: 5 Job, 6 G/L Account, . Equipment, 2 Maintenance"_s}}},
            {{{.prompt = u"Job ID"_s,
               .field = u"EQLB:JobID"_s,
               .picture = u"@s10"_s,
               .required = true,
               .code = jobCheck(),
               .shownWhen = job},
              line(Line1, u"@s30"_s, job)}},
            {{{.prompt = u"Cost Code"_s,
               .field = u"EQLB:CostCode"_s,
               .picture = u"@s14"_s,
               .required = true,
               .code = costCodeCheck(),
               .shownWhen = job},
              line(Line2, u"@s30"_s, job)}},
            {{{.prompt = u"Change Order"_s,
               .field = u"EQLB:ChangeOrder"_s,
               .picture = u"@s10"_s,
               .code = changeOrderCheck(),
               .shownWhen = changeOrders,
               .onChange =
                   [](FormModel &form) {
                       if (form.code(u"ChangeOrder").isEmpty()) {
                           form.setValue(ChangeOrderDetail, qint64(0));
                           form.setValue(ChangeOrderName, QString());
                       }
                   }},
              line(ChangeOrderName, u"@s40"_s, changeOrders)}},
            {{{.prompt = u"Account"_s,
               .field = u"EQLB:GLAccount"_s,
               .picture = u"@s10"_s,
               .required = true,
               .code = accountCheck(),
               .shownWhen = shownFor({Account})},
              line(Line1, u"@s30"_s, shownFor({Account}))}},
            {{{.prompt = u"Equipment ID"_s,
               .field = u"EQLB:EquipmentIDCharged"_s,
               .picture = u"@s10"_s,
               .required = true,
               .code = chargedCheck(),
               .shownWhen = shownFor({Equipment})},
              line(Line1, u"@s30"_s, shownFor({Equipment}))}},
            {{{.kind = ControlKind::Display,
               .prompt = u"Equipment ID"_s,
               .field = u"EQLB:EquipmentID"_s,
               .picture = u"@s10"_s,
               .shownWhen = shownFor({Maintenance})},
              line(Line1, u"@s30"_s, shownFor({Maintenance}))}},
            {{{.prompt = u"Cost Category"_s,
               .field = u"EQLB:Category"_s,
               .picture = u"@s10"_s,
               .required = true,
               .code = categoryCheck(),
               .shownWhen = categories},
              line(Line2, u"@s30"_s, categories)}},
            {{{.prompt = u"Comment"_s,
               .field = u"EQLB:Comments"_s,
               .picture = u"@s20"_s,
               .textCase = true,
               .controlsToSpaces = true}}},
            {{{.prompt = u"Date"_s,
               .field = u"EQLB:Date"_s,
               .picture = u"@d1"_s,
               .required = true,
               .pick = u"EDITDATE"_s,
               .tip = u"Select a Date (F2)"_s}}},
            {{{.prompt = u"Location"_s,
               .field = u"EQLB:Location"_s,
               .picture = u"@s5"_s,
               .textCase = true}}},
            {{{.prompt = u"Employee ID"_s,
               .field = u"EQLB:EmployeeID"_s,
               .picture = u"@N_6B"_s,
               .code = employeeCheck(),
               .onChange = &showEmployee},
              line(EmployeeName, u"@s40"_s)}},
        }};
    return {{.title = u"Usage Log"_s,
             .helpTopic = Topic,
             .groups = {equipmentGroup, meterGroup, chargeGroup, detailGroup}}};
}

QList<forms::FormValue> values()
{
    const auto text = [](const QString &name, int width) {
        return forms::FormValue{.name = name, .type = data::FieldType::Text, .width = width};
    };
    const auto money = [](const QString &name) {
        return forms::FormValue{
            .name = name, .type = data::FieldType::Decimal, .digits = 15, .places = 2};
    };
    return {text(EquipmentName, 40), money(InternalRate),
            money(RentalRate),       text(UsageUnit, 5),
            text(BillingUnit, 5),    money(Rate),
            money(Adjustment),       text(Line1, 30),
            text(Line2, 30),         text(ChangeOrderName, 40),
            text(EmployeeName, 40),  {.name = ChangeOrderDetail, .type = data::FieldType::Integer}};
}

// The meter and charge arithmetic, run only while the user edits.
QList<forms::Derived> arithmetic()
{
    return {
        {.from = {u"EQLB:EndMeter"_s, u"EQLB:StartMeter"_s},
         .to = u"EQLB:Units"_s,
         .compute =
             [](const FormModel &form) {
                 return fitting(form, u"Units",
                                number(form, u"EndMeter") - number(form, u"StartMeter"));
             }},
        {.from = {u"EQLB:Units"_s},
         .to = u"EQLB:EndMeter"_s,
         .compute =
             [](const FormModel &form) {
                 return fitting(form, u"EndMeter",
                                number(form, u"StartMeter") + number(form, u"Units"));
             }},
        {.from = {u"EQLB:ChargeType"_s},
         .to = Rate,
         .compute = [](const FormModel &form) { return data::FieldValue(rateOf(form)); }},
        {.from = {u"EQLB:Units"_s, Rate},
         .to = u"EQLB:GrossAmount"_s,
         .compute =
             [](const FormModel &form) {
                 return fitting(form, u"GrossAmount", number(form, u"Units") * number(form, Rate));
             }},
        {.from = {u"EQLB:GrossAmount"_s, Adjustment},
         .to = u"EQLB:AdjustedAmount"_s,
         .compute =
             [](const FormModel &form) {
                 return fitting(form, u"AdjustedAmount",
                                number(form, u"GrossAmount") + number(form, Adjustment));
             }},
        {.from = {u"EQLB:AdjustedAmount"_s},
         .to = Adjustment,
         .compute =
             [](const FormModel &form) {
                 return data::FieldValue(number(form, u"AdjustedAmount") -
                                         number(form, u"GrossAmount"));
             }},
    };
}

void prime(FormModel &form, LogEntryMemory &memory)
{
    data::Session &session = form.session();
    const EQBatch &batch = session.buffer<EQBatch>();
    form.setValue(u"ChargeType", u"I"_s);
    form.setValue(u"DetailType", Job);
    form.setValue(u"Date", qint64(SuiteDate::fromQDate(form.clock().today())));
    form.setValue(u"BatchID", qint64(batch.BatchID));
    form.setValue(u"EquipmentID", memory.lastEquipment());
    form.setValue(u"StartMeter", fitting(form, u"StartMeter", memory.lastEndMeter()));
    if (const std::optional<EQHeader> piece = equipment(form, memory.lastEquipment()))
        takeEquipment(form, memory, *piece);
    // A batch that remembers the job starts each new log on the job of the last.
    if (batch.RememberLastJob == 1 && !session.generic && !memory.lastJob().isEmpty()) {
        form.setValue(u"JobID", memory.lastJob());
        session.jobField = memory.lastJob();
    }
}

void open(FormModel &form)
{
    if (const std::optional<EQHeader> piece = equipment(form, form.code(u"EquipmentID"))) {
        showEquipment(form, *piece);
        form.session().equipField = form.code(u"EquipmentID");
    }
    showEmployee(form);
    refreshDescriptions(form);
    if (form.request() == data::Request::Insert)
        return;
    form.setValue(Adjustment, number(form, u"AdjustedAmount") - number(form, u"GrossAmount"));
    form.setValue(Rate, rateOf(form));
    if (form.request() != data::Request::Change)
        return;
    // A log opened for change is priced again at the equipment's rate of
    // today; one whose equipment is gone keeps its amounts.
    if (equipment(form, form.code(u"EquipmentID")))
        priceCharges(form);
    if (!number(form, u"EndMeter").isZero())
        form.setValue(u"StartMeter", fitting(form, u"StartMeter",
                                             number(form, u"EndMeter") - number(form, u"Units")));
}

} // namespace

forms::FormDefinition definition(data::Session &session, LogEntryMemory &memory)
{
    forms::FormDefinition form{
        .file = u"EQLogB"_s,
        .insertCaption = u"Adding a Usage Log"_s,
        .changeCaption = u"Changing a Usage Log"_s,
        .deleteCaption = u"Deleting a Usage Log"_s,
        .pages = pages(session, memory),
        .values = values(),
        .derived = arithmetic(),
        .refuse =
            [](data::Session &user, Prompter &prompter, data::Request request) {
                return request == data::Request::Insert && refuseUsageLogsReadOnly(user, prompter);
            },
        .refuseSave = [](data::Session &user, Prompter &prompter,
                         data::Request) { return refuseUsageLogsReadOnly(user, prompter); },
        .activity = forms::Activity{.area = u"EQ Usage Logs"_s,
                                    .describe =
                                        [&session](const data::Record &log) {
                                            return UsageLogBatches::logEntryText(
                                                *session.company, static_cast<const EQLogB &>(log));
                                        }},
    };
    // The log's number is taken under the file's transaction, so that two
    // stations adding at the same moment get different ones.
    form.insert = [](FormModel &model, data::Record &record) {
        data::Company &company = *model.session().company;
        data::Transaction transaction(company.database(), {u"EQLogB"_s},
                                      UsageLogBatches::WriteWait);
        if (!transaction.isActive())
            return data::FileStatus(transaction.error());
        if (data::FileStatus status = company.file<EQLogB>().insert(record); !status)
            return status;
        return transaction.commit();
    };
    form.prime = [&memory](FormModel &model) { prime(model, memory); };
    form.opened = &open;
    // Maintenance is charged to the equipment maintained, which the posting
    // finds where it finds the equipment charged.
    form.beforeSave = [](FormModel &model) {
        if (detailIs(model, Maintenance))
            model.setValue(u"EquipmentIDCharged", model.code(u"EquipmentID"));
        return QString();
    };
    form.saved = [&memory](FormModel &model) {
        memory.remember(model.code(u"EquipmentID"), number(model, u"EndMeter"),
                        model.code(u"JobID"));
    };
    return form;
}

} // namespace qaveq::LogEntryForm
