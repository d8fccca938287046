#include "EquipmentFormParts.h"

#include "EquipmentRules.h"

#include "assets/AnnualSummary.h"
#include "assets/ScheduleCalculator.h"
#include "common/ChargeCodes.h"
#include "records/EQCode.h"
#include "records/EQHeader.h"
#include "records/GLDepr.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/suite/JobCostFiles.h"

#include "core/Prompter.h"
#include "core/Text.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentForm {

namespace {

// The charge job: a typed text that is no job ID finds the job by the start
// of its ID, else by its name; closed jobs are refused, inactive ones asked
// about, important notes shown.
forms::CodeCheck jobCheck()
{
    forms::CodeCheck check{
        .file = u"JCHeader"_s, .key = u"KeyJobID"_s, .lookup = u"BROWSEJCHEADER"_s};
    check.resolve = [](FormModel &form, const QString &typed) -> std::optional<QString> {
        return ChargeCodes::resolveJob(*form.session().company, typed, form.session().jobIdLength,
                                       [&] { return form.pick(u"SELECTJOBBYNAME"_s, typed); });
    };
    check.allowed = [](FormModel &form, const data::Record &found) {
        const auto &job = static_cast<const JCHeader &>(found);
        const QString id = Text::clip(job.JobID);
        if (job.Closed) {
            form.prompter().ask(Message::alert(
                u"Job is Closed"_s,
                u"Job -"_s + id +
                    u" is closed to new transactions, please select a different Job ID."_s));
            return false;
        }
        if (!job.Active &&
            form.prompter().ask(Message{
                u"Confirm Charge to Inactive Job"_s,
                u"Job -"_s + id +
                    u" has been marked 'Inactive', are you sure you want to select this job?"_s,
                u"&Yes|&No"_s, 2, Message::Icon::Question}) != 1)
            return false;
        if (const std::optional<Message> note = ChargeCodes::noteOf(job))
            form.prompter().ask(*note);
        return true;
    };
    check.accepted = [](FormModel &form, const data::Record &found) {
        form.session().jobField = static_cast<const JCHeader &>(found).JobID;
    };
    return check;
}

forms::CodeCheck costCodeCheck()
{
    forms::CodeCheck check{.file = u"JCCost"_s,
                           .key = u"KeyJobCodeType"_s,
                           .lookup = u"BROWSEJCCOST"_s,
                           .codeField = u"CostCode"_s};
    check.beforeLookup = [](FormModel &form) {
        form.session().jobField = form.code(u"DestinationJob");
    };
    check.resolve = [](FormModel &form, const QString &typed) -> std::optional<QString> {
        return ChargeCodes::fillCostCode(typed, form.session().costCodeLength);
    };
    check.fill = [](const FormModel &form, data::Record &wanted) {
        ChargeCodes::fillCostCodeKey(static_cast<JCCost &>(wanted), form.code(u"DestinationJob"),
                                     form.session().costCodeLength);
    };
    check.allowed = [](FormModel &form, const data::Record &found) {
        const auto &code = static_cast<const JCCost &>(found);
        if (code.Inactive) {
            form.prompter().ask(Message::alert(u"Cannot Select Inactive Cost Code"_s,
                                               u"Cost Code "_s + Text::clip(code.CostCode) +
                                                   u"has been marked inactive."_s));
            return false;
        }
        if (const std::optional<Message> note = ChargeCodes::noteOf(code))
            form.prompter().ask(*note);
        return true;
    };
    return check;
}

bool destinationIs(const FormModel &form, const QString &type)
{
    return form.code(u"DestinationType") == type;
}

QList<Choice> costCategories(const FormModel &form)
{
    QList<Choice> choices{{QString(), QString()}};
    data::KeyCursor cursor = form.session().company->file<EQCode>().scan(u"KeyCategoryID");
    EQCode category;
    while (cursor.next(category))
        choices.append(
            {Text::clip(category.CategoryID).leftJustified(12) + Text::clip(category.Description),
             Text::clip(category.CategoryID)});
    return choices;
}

std::vector<GLDepr> scheduleRows(const FormModel &form)
{
    std::vector<GLDepr> rows;
    data::KeyCursor cursor = form.session().company->file<GLDepr>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({form.code(u"EquipmentID")}));
    GLDepr row;
    while (cursor.next(row))
        rows.push_back(row);
    return rows;
}

// The amount and value of the method chosen on the form.
std::pair<Decimal, Decimal> methodPair(const FormModel &form, const GLDepr &row)
{
    switch (std::get<qint64>(form.value(u"DepreciationMethod"))) {
    case 1:
        return {row.SLAmount, row.SLValue};
    case 2:
        return {row.SYAmount, row.SYValue};
    case 3:
        return {row.DDBAmount, row.DDBValue};
    case 4:
        return {row.UD1Amount, row.UD1Value};
    default:
        return {row.UD2Amount, row.UD2Value};
    }
}

Control monthList()
{
    const auto pairColumn = [](const QString &header, bool value) {
        return ChildColumn{.header = header,
                           .field = u"GLDP:SLAmount"_s,
                           .picture = u"@n-21.2"_s,
                           .width = 110,
                           .display = [value](const FormModel &form, const data::Record &row) {
                               const auto pair = methodPair(form, static_cast<const GLDepr &>(row));
                               return money(value ? pair.second : pair.first, u"@n-21.2"_s);
                           }};
    };
    return {.kind = ControlKind::ChildList,
            .prompt = u"by Month"_s,
            .field = u"LOC:ScheduleByMonth"_s,
            .child = {.file = u"GLDepr"_s,
                      .key = u"KeyEquipmentID"_s,
                      .rangeFields = {u"EQH:EquipmentID"_s},
                      .columns = {{.header = u"Date"_s,
                                   .field = u"GLDP:Date"_s,
                                   .picture = u"@d14b"_s,
                                   .width = 90},
                                  pairColumn(u"Amount"_s, false),
                                  pairColumn(u"Value"_s, true),
                                  {.header = u"Actual Amount"_s,
                                   .field = u"GLDP:ActualAmount"_s,
                                   .picture = u"@n-21.2"_s,
                                   .width = 110}},
                      .form = u"UPDATEGLDEPR"_s,
                      .dependsOn = {u"EQH:DepreciationMethod"_s, u"LOC:ScheduleRevision"_s}}};
}

Control yearList()
{
    // The custom method keeps the columns shown before it was chosen.
    auto shownPair = std::make_shared<int>(1);
    return {
        .kind = ControlKind::ChildList,
        .prompt = u"by Year"_s,
        .field = u"LOC:ScheduleByYear"_s,
        .child = {.columns =
                      {{.header = u"Year"_s, .picture = u"@n2"_s, .width = 50},
                       {.header = u"Beginning Book Value"_s, .picture = u"@n-15.2"_s, .width = 140},
                       {.header = u"Annual Charge"_s, .picture = u"@n-15.2"_s, .width = 120}},
                  .rows =
                      [shownPair](const FormModel &form) {
                          const int method =
                              static_cast<int>(std::get<qint64>(form.value(u"DepreciationMethod")));
                          if (method >= 1 && method <= 3)
                              *shownPair = method;
                          QList<ChildRow> rows;
                          for (const AnnualSummaryEntry &entry :
                               annualSummary(equipmentOf(form), scheduleRows(form))) {
                              const auto [begin, charge] =
                                  *shownPair == 2   ? std::pair{entry.syBegin, entry.syCharge}
                                  : *shownPair == 3 ? std::pair{entry.ddbBegin, entry.ddbCharge}
                                                    : std::pair{entry.slBegin, entry.slCharge};
                              rows.append(ChildRow{.cells = {QString::number(entry.year),
                                                             money(begin), money(charge)}});
                          }
                          return rows;
                      },
                  .dependsOn = {u"EQH:DepreciationMethod"_s, u"LOC:ScheduleRevision"_s}}};
}

void calculateSchedule(FormModel &form)
{
    if (form.refuses(data::Request::Change))
        return;
    ScheduleCalculator(*form.session().company, form.prompter()).calculate(equipmentOf(form));
    form.setValue(u"LOC:ScheduleRevision",
                  std::get<qint64>(form.value(u"LOC:ScheduleRevision")) + 1);
}

void printFixedAssets(FormModel &form, const Actions &actions)
{
    const int choice = form.prompter().ask(
        Message{u"Fixed Asset Printing"_s, u"Please indicate the items desired on the printout."_s,
                u"Schedule|Graph|Both|Cancel"_s, 1, Message::Icon::Question});
    if (choice < 1 || choice > 3)
        return;
    // The reports read the equipment as stored: the record is saved first.
    if (form.isEditable() && !form.saveAndStay())
        return;
    form.session().buffer<EQHeader>().assign(form.record());
    if (actions.print)
        actions.print(choice != 2, choice != 1);
    form.session().printPreview = true;
}

} // namespace

forms::Page fixedAssetPage(const Actions &actions)
{
    const auto methods = [](const FormModel &form) {
        const QString custom = form.code(u"UD1DepreciationDesc");
        return QList<Choice>{{u"Straight Line"_s, u"1"_s},
                             {u"Sum of Years' Digits"_s, u"2"_s},
                             {u"Double-Rate Declining Balance"_s, u"3"_s},
                             {custom.isEmpty() ? u"Custom"_s : custom, u"4"_s}};
    };
    QList<Choice> destinations;
    for (const QString &type : {u"None"_s, u"G/L Account"_s, u"Category"_s, u"Job"_s})
        destinations.append({type, type});
    return {
        .title = u"&Fixed Asset Info"_s,
        .helpTopic = Topic + u"#ec_general_tab_fixed_asset_information_defined"_s,
        .groups =
            {{.title = u"Fixed Asset"_s,
              .rows =
                  {{{{.prompt = u"Purchase Date"_s,
                      .field = u"EQH:PurchaseDate"_s,
                      .picture = u"@d1b"_s,
                      .pick = u"EDITDATE"_s},
                     entry(u"Purchase Value"_s, u"EQH:PurchaseValue"_s, u"@n-19.2b"_s)}},
                   {{{.prompt = u"Date Sold"_s,
                      .field = u"EQH:SaleDate"_s,
                      .picture = u"@d1b"_s,
                      .pick = u"EDITDATE"_s},
                     entry(u"Sale Value"_s, u"EQH:SaleValue"_s, u"@n-19.2b"_s)}},
                   {{entry(u"Salvage Value"_s, u"EQH:SalvageValue"_s, u"@n-19.2b"_s),
                     {.prompt = u"Number of Months"_s,
                      .field = u"EQH:DepreciationYears"_s,
                      .picture = u"@n-8.0b"_s,
                      .minimum = Decimal(0)}}},
                   {{account(u"Asset Account"_s, u"EQH:AssetAccount"_s),
                     {.kind = ControlKind::DropList,
                      .prompt = u"Charge Destination"_s,
                      .field = u"EQH:DestinationType"_s,
                      .choices = destinations}}},
                   {{{.prompt = u"Charge Account"_s,
                      .field = u"EQH:DestinationAccount"_s,
                      .picture = u"@s10"_s,
                      .code = accountCheck(),
                      .shownWhen = [](const FormModel
                                          &form) { return destinationIs(form, u"G/L Account"_s); }},
                     {.kind = ControlKind::DropList,
                      .prompt = u"Charge Category"_s,
                      .field = u"EQH:DestinationCategory"_s,
                      .choicesOf = &costCategories,
                      .shownWhen = [](const FormModel
                                          &form) { return destinationIs(form, u"Category"_s); }}}},
                   {{{.prompt = u"Charge Job"_s,
                      .field = u"EQH:DestinationJob"_s,
                      .picture = u"@s10"_s,
                      .code = jobCheck(),
                      .shownWhen =
                          [](const FormModel &form) { return destinationIs(form, u"Job"_s); }},
                     {.prompt = u"Charge Cost Code"_s,
                      .field = u"EQH:DestinationCostCode"_s,
                      .picture = u"@s14"_s,
                      .code = costCodeCheck(),
                      .shownWhen =
                          [](const FormModel &form) { return destinationIs(form, u"Job"_s); }}}},
                   {{{.kind = ControlKind::RadioGroup,
                      .prompt = u"Depreciation Method"_s,
                      .field = u"EQH:DepreciationMethod"_s,
                      .choices = {{u"Straight Line"_s, u"1"_s},
                                  {u"Sum of Years' Digits"_s, u"2"_s},
                                  {u"Double-Rate Declining Balance"_s, u"3"_s},
                                  {u"Custom"_s, u"4"_s}},
                      .choicesOf = methods}}},
                   {{entry(u"Custom Method Name"_s, u"EQH:UD1DepreciationDesc"_s, u"@s20"_s)}}}},
             {.title = u"Depreciation Schedule"_s,
              .rows = {{{monthList(), yearList()}},
                       {{button(u"C&alculate Schedule"_s, &calculateSchedule, false),
                         button(
                             u"Graph"_s,
                             [graph = actions.graph](FormModel &form) {
                                 form.session().buffer<EQHeader>().assign(form.record());
                                 if (graph)
                                     graph();
                             },
                             true),
                         button(
                             u"Print"_s,
                             [actions](FormModel &form) { printFixedAssets(form, actions); },
                             true)}}},
              .titleOf =
                  [](const FormModel &form) {
                      return EquipmentRules::scheduleTitle(
                          static_cast<int>(std::get<qint64>(form.value(u"DepreciationMethod"))),
                          form.code(u"UD1DepreciationDesc"));
                  }}},
    };
}

} // namespace qaveq::EquipmentForm
