#include "DefinitionForms.h"

#include "ReportSelection.h"
#include "common/ReadOnlyAccess.h"
#include "records/EQCode.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/Transaction.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"
#include "core/Text.h"

#include <chrono>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace qaveq::DefinitionForms {

namespace {

using forms::Choice;
using forms::Control;
using forms::ControlKind;
using forms::FormModel;
using forms::Group;
using forms::Row;
using Rule = std::function<bool(const FormModel &)>;

// The form's own values: descriptions beside the codes, and the choices
// whose stored field is not a plain number.
const QString EquipmentFromText = u"LOC:EquipmentFromText"_s;
const QString EquipmentToText = u"LOC:EquipmentToText"_s;
const QString CategoryFromText = u"LOC:CategoryFromText"_s;
const QString CategoryToText = u"LOC:CategoryToText"_s;
const QString JobFromText = u"LOC:JobFromText"_s;
const QString JobToText = u"LOC:JobToText"_s;
const QString PeriodFromText = u"LOC:PeriodFromText"_s;
const QString PeriodToText = u"LOC:PeriodToText"_s;
const QString AsOfPeriod = u"LOC:AsOfPeriod"_s;
const QString IncludeRental = u"LOC:IncludeRental"_s;
const QString TransactionNotes = u"LOC:TransactionNotes"_s;

// Whether the form's record is another user's locked definition.
struct FormState
{
    bool locked = false;
};

qint64 number(const FormModel &form, QStringView field)
{
    const data::FieldValue value = form.value(field);
    if (const auto *whole = std::get_if<qint64>(&value))
        return *whole;
    if (const auto *decimal = std::get_if<Decimal>(&value))
        return decimal->unitsAt(0);
    return 0;
}

Rule is(const QString &field, qint64 wanted)
{
    return [field, wanted](const FormModel &form) { return number(form, field) == wanted; };
}

Rule both(Rule a, Rule b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return [a, b](const FormModel &form) { return a(form) && b(form); };
}

QString equipmentText(data::Company &company, const QString &code)
{
    EQHeader piece;
    piece.EquipmentID = code;
    return !code.isEmpty() && company.file<EQHeader>().fetch(u"KeyEquipmentID", piece)
               ? Text::clip(piece.Description)
               : QString();
}

QString categoryText(data::Company &company, const QString &code)
{
    if (code.isEmpty())
        return {};
    EQCode category;
    category.CategoryID = code;
    return company.file<EQCode>().fetch(u"KeyCategoryID", category)
               ? Text::clip(category.Description)
               : u"Code Not In Dictionary"_s;
}

QString jobText(data::Company &company, const QString &code)
{
    JCHeader job;
    job.JobID = code;
    return !code.isEmpty() && company.file<JCHeader>().fetch(u"KeyJobID", job)
               ? Text::clip(job.Name)
               : QString();
}

QString periodText(data::Company &company, qint64 period)
{
    GLFiscal fiscal;
    fiscal.FiscalPeriod = static_cast<qint32>(period);
    return period != 0 && company.file<GLFiscal>().fetch(u"KeyFiscalPeriodUp", fiscal)
               ? Text::clip(fiscal.Description)
               : QString();
}

bool inFiscalCalendar(data::Company &company, qint64 period)
{
    GLFiscal fiscal;
    fiscal.FiscalPeriod = static_cast<qint32>(period);
    return company.file<GLFiscal>().fetch(u"KeyFiscalPeriodUp", fiscal).isOk();
}

// The descriptions beside the codes, as the record now stands.
void describe(FormModel &form)
{
    data::Company &company = *form.session().company;
    form.setValue(EquipmentFromText, equipmentText(company, form.code(u"EquipmentFrom")));
    form.setValue(EquipmentToText, equipmentText(company, form.code(u"EquipmentTo")));
    form.setValue(CategoryFromText, categoryText(company, form.code(u"CategoryFrom")));
    form.setValue(CategoryToText, categoryText(company, form.code(u"CategoryTo")));
    form.setValue(JobFromText, jobText(company, form.code(u"JobFrom")));
    form.setValue(JobToText, jobText(company, form.code(u"JobTo")));
    form.setValue(PeriodFromText, periodText(company, number(form, u"EQLM:FPFrom")));
    form.setValue(PeriodToText, periodText(company, number(form, u"EQLM:FPTo")));
}

// The choices that stand in other fields, from the record into the form's values.
void showStoredChoices(FormModel &form)
{
    form.setValue(AsOfPeriod, number(form, u"EQLM:FPTo"));
    form.setValue(IncludeRental, qint64(number(form, u"EQLM:RefFrom") != 0 ? 1 : 0));
    form.setValue(TransactionNotes, qint64(form.code(u"ReportFormat") == u"1" ? 1 : 0));
}

QList<Choice> userChoices(const FormModel &form)
{
    QList<Choice> users;
    data::KeyCursor cursor = form.session().company->file<UserFile>().scan(u"KeyUserID");
    for (UserFile user; cursor.next(user);)
        users.append({Text::clip(user.UserID), Text::clip(user.UserID)});
    // An owner no longer on file still shows as the owner.
    const QString owner = form.code(u"UserID");
    if (!owner.isEmpty() && std::none_of(users.cbegin(), users.cend(), [&](const Choice &c) {
            return c.value.compare(owner, Qt::CaseInsensitive) == 0;
        }))
        users.prepend({owner, owner});
    return users;
}

QList<Choice> classChoices(const FormModel &form)
{
    QList<Choice> classes{{}};
    data::KeyCursor cursor = form.session().company->file<DropList>().scan(
        u"KeyFieldValue", data::ScanOptions::equal({u"EQH Class Code"_s}));
    for (DropList entry; cursor.next(entry);)
        classes.append({Text::clip(entry.Value), Text::clip(entry.Value)});
    return classes;
}

QList<Choice> periodChoices(const FormModel &form)
{
    QList<Choice> periods{{}};
    data::KeyCursor cursor = form.session().company->file<GLFiscal>().scan(u"KeyFiscalPeriodUp");
    for (GLFiscal period; cursor.next(period);)
        periods.append({Text::clip(period.Description), QString::number(period.FiscalPeriod)});
    return periods;
}

Control entry(const QString &prompt, const QString &field, const QString &picture,
              Rule enabled = {})
{
    return {.prompt = prompt, .field = field, .picture = picture, .enabledWhen = enabled};
}

Control shown(const QString &field, const QString &picture, Rule enabled = {})
{
    return {
        .kind = ControlKind::Display, .field = field, .picture = picture, .enabledWhen = enabled};
}

Control radio(const QString &prompt, const QString &field, QList<Choice> choices,
              bool stacked = false, Rule enabled = {})
{
    return {.kind = ControlKind::RadioGroup,
            .prompt = prompt,
            .field = field,
            .choices = std::move(choices),
            .stacked = stacked,
            .enabledWhen = enabled};
}

Control box(const QString &prompt, const QString &field, Rule enabled = {})
{
    return {
        .kind = ControlKind::CheckBox, .prompt = prompt, .field = field, .enabledWhen = enabled};
}

Control button(const QString &text, std::function<void(FormModel &)> action, Rule enabled = {},
               const QString &tip = {})
{
    return {.kind = ControlKind::Button,
            .prompt = text,
            .enabledWhen = enabled,
            .onChange = std::move(action),
            .tip = tip};
}

const QList<Choice> AllRangeList{{u"All"_s, u"0"_s}, {u"Range"_s, u"1"_s}, {u"List"_s, u"2"_s}};

// Opens the list editor of one kind of list entry. A new definition is
// stored first: its entries need its number.
void editList(FormModel &form, const QString &editor)
{
    if (form.request() == data::Request::Insert && !form.isSaved() && !form.saveAndStay())
        return;
    form.pick(editor, QString::number(number(form, u"EQLM:LimitID")));
}

// A code selection (equipment, cost categories, jobs): All, Range, List,
// From and To with their lookups and descriptions, and "Edit List".
struct CodeSelection
{
    QString title;
    QString selectPrompt;
    QString selected; // "EQLM:SelectedEquipment"
    QString from, to;
    QString fromText, toText;
    QString descriptionPicture;
    forms::CodeCheck check;
    QString listKind;
    QString editListText = u"Edit List"_s;
    Rule enabled = {}; // the whole group
};

Group codeGroup(const CodeSelection &s, QList<Row> extra = {})
{
    const Rule range = both(s.enabled, is(s.selected, 1));
    const Rule list = both(s.enabled, is(s.selected, 2));
    Control from = entry(u"From"_s, s.from, u"@s10"_s, range);
    from.code = s.check;
    from.onChange = &describe;
    Control to = entry(u"To"_s, s.to, u"@s10"_s, range);
    to.code = s.check;
    to.onChange = &describe;
    const QString editor = listEditor(s.listKind);
    Group group{.title = s.title,
                .rows = {{{radio(s.selectPrompt, s.selected, AllRangeList, false, s.enabled)}},
                         {{from, shown(s.fromText, s.descriptionPicture, range)}},
                         {{to, shown(s.toText, s.descriptionPicture, range)}},
                         {{button(
                             s.editListText, [editor](FormModel &form) { editList(form, editor); },
                             list)}}}};
    group.rows.append(extra);
    return group;
}

forms::CodeCheck equipmentCheck()
{
    return {.file = u"EQHeader"_s, .key = u"KeyEquipmentID"_s, .lookup = u"BROWSEEQHEADER"_s};
}

forms::CodeCheck categoryCheck()
{
    return {.file = u"EQCode"_s, .key = u"KeyCategoryID"_s, .lookup = u"BROWSEEQCODE"_s};
}

forms::CodeCheck jobCheck()
{
    return {.file = u"JCHeader"_s, .key = u"KeyJobID"_s, .lookup = u"BROWSEJCHEADER"_s};
}

Group equipmentGroup(ReportFamily family)
{
    CodeSelection s{.title = family == ReportFamily::Listing ? u"Equipment to Include"_s
                                                             : u"Equipment ID"_s,
                    .selectPrompt = u"Select Equipment"_s,
                    .selected = u"EQLM:SelectedEquipment"_s,
                    .from = u"EQLM:EquipmentFrom"_s,
                    .to = u"EQLM:EquipmentTo"_s,
                    .fromText = EquipmentFromText,
                    .toText = EquipmentToText,
                    .descriptionPicture = u"@s30"_s,
                    .check = equipmentCheck(),
                    .listKind = ListKind::Equipment};
    return codeGroup(
        s, {{{box(u"Include Inactive Equipment"_s, u"EQLM:IncludeInactive"_s),
              button(
                  u"User Defined"_s, [](FormModel &form) { editList(form, UserDefinedEditor); }, {},
                  u"Limit the equipment by its user-defined fields"_s)}}});
}

Group categoryGroup(Rule enabled)
{
    return codeGroup({.title = u"Cost Category"_s,
                      .selectPrompt = u"Select Categories"_s,
                      .selected = u"EQLM:SelectedCategory"_s,
                      .from = u"EQLM:CategoryFrom"_s,
                      .to = u"EQLM:CategoryTo"_s,
                      .fromText = CategoryFromText,
                      .toText = CategoryToText,
                      .descriptionPicture = u"@s30"_s,
                      .check = categoryCheck(),
                      .listKind = ListKind::Category,
                      .enabled = enabled});
}

Group classGroup()
{
    const Rule limited = is(u"EQLM:SelectedClass"_s, 1);
    Control from{.kind = ControlKind::DropList,
                 .prompt = u"From"_s,
                 .field = u"EQLM:ClassFrom"_s,
                 .choicesOf = &classChoices,
                 .enabledWhen = limited};
    Control to = from;
    to.prompt = u"To"_s;
    to.field = u"EQLM:ClassTo"_s;
    return {.title = u"Equipment Classes"_s,
            .rows = {{{box(u"Select Classes:"_s, u"EQLM:SelectedClass"_s)}}, {{from}}, {{to}}}};
}

Group orientationGroup()
{
    return {.title = u"Orientation"_s,
            .rows = {{{radio({}, u"EQLM:Orientation"_s,
                             {{u"Portrait"_s, u"P"_s}, {u"Landscape"_s, u"L"_s}})}}}};
}

Group sortGroup()
{
    return {.title = u"Sort by"_s,
            .rows = {{{radio({}, u"EQLM:DetailSummary"_s,
                             {{u"Equipment ID"_s, u"I"_s}, {u"Description"_s, u"D"_s}})}}}};
}

Control dateEntry(const QString &prompt, const QString &field, Rule enabled)
{
    Control control = entry(prompt, field, u"@d1b"_s, enabled);
    control.pick = u"EDITDATE"_s;
    return control;
}

Group analysisDates()
{
    const Rule range = is(u"EQLM:SelectedDates"_s, 1);
    const Rule fixed = both(range, is(u"EQLM:SkipEquipment"_s, 0));
    const Rule floating = both(range, is(u"EQLM:SkipEquipment"_s, 1));
    const Rule asOf = is(u"EQLM:SelectedDates"_s, 2);
    const QList<Choice> directions{{}, {u"Plus"_s, u"Plus"_s}, {u"Minus"_s, u"Minus"_s}};
    const auto shownOnly = [](Control control, Rule when) {
        control.shownWhen = when;
        return control;
    };
    return {.title = u"Date Limit"_s,
            .rows = {
                {{radio({}, u"EQLM:SelectedDates"_s,
                        {{u"All"_s, u"0"_s}, {u"Range"_s, u"1"_s}, {u"As of ..."_s, u"2"_s}})}},
                {{shownOnly(radio({}, u"EQLM:SkipEquipment"_s,
                                  {{u"Date Range"_s, u"0"_s}, {u"Floating Range"_s, u"1"_s}}),
                            range)}},
                {{shownOnly(dateEntry(u"From"_s, u"EQLM:DateFrom"_s, {}), fixed),
                  shownOnly(dateEntry(u"To"_s, u"EQLM:DateTo"_s, {}), fixed)}},
                {{shownOnly({.kind = ControlKind::DropList,
                             .prompt = u"From Today"_s,
                             .field = u"EQLM:JournalType"_s,
                             .choices = directions},
                            floating),
                  shownOnly(entry(u"Days"_s, u"EQLM:RefFrom"_s, u"@n4"_s), floating)}},
                {{shownOnly({.kind = ControlKind::DropList,
                             .prompt = u"To Today"_s,
                             .field = u"EQLM:GLAccount"_s,
                             .choices = directions},
                            floating),
                  shownOnly(entry(u"Days"_s, u"EQLM:RefTo"_s, u"@n4"_s), floating)}},
                {{shownOnly({.kind = ControlKind::DropList,
                             .prompt = u"As of Fiscal Period"_s,
                             .field = AsOfPeriod,
                             .choicesOf = &periodChoices},
                            asOf)}},
            }};
}

QList<forms::Page> analysisPages()
{
    const Rule costAnalysis = [](const FormModel &form) {
        return form.code(u"ReportType") == u"A";
    };
    // Schedules without due values are left off unless asked for.
    Control listErrors =
        box(u"List schedules that cannot be calculated"_s, u"EQLM:PrintTransactionDetail"_s);
    listErrors.shownWhen = [](const FormModel &form) { return form.code(u"ReportType") == u"M"; };
    return {
        {.title = u"Selection"_s,
         .groups = {equipmentGroup(ReportFamily::Analysis), categoryGroup(costAnalysis),
                    classGroup()}},
        {.title = u"Report Options"_s,
         .groups = {
             {.title = u"Report Type"_s,
              .rows = {{{radio({}, u"EQLM:ReportType"_s,
                               {{u"Usage / Cost Analysis"_s, u"A"_s},
                                {u"Cost Summary Report"_s, u"S"_s},
                                {u"Maintenance Schedule"_s, u"M"_s}})}},
                       {{listErrors}}}},
             {.title = u"Quantity Analysis Type"_s,
              .rows = {{{radio({}, u"EQLM:QuantityAnalysis"_s,
                               {{u"Dollar Amount per Cost Unit  (e.g. $3.50/GAL)"_s, u"D"_s},
                                {u"Usage Units per Cost Unit  (e.g. 17.5 MILES/GAL)"_s, u"U"_s}},
                               true)}}}},
             analysisDates(),
             orientationGroup(),
             sortGroup(),
         }}};
}

QList<forms::Page> detailPages()
{
    const Rule journals = is(u"EQLM:SelectedJournals"_s, 1);
    const Rule dates = is(u"EQLM:SelectedDates"_s, 1);
    const Rule periods = is(u"EQLM:SelectedFP"_s, 1);
    Control periodFrom = entry(u"From"_s, u"EQLM:FPFrom"_s, u"@n4b"_s, periods);
    periodFrom.onChange = &describe;
    periodFrom.pick = u"BROWSEGLFISCAL"_s;
    Control periodTo = entry(u"To"_s, u"EQLM:FPTo"_s, u"@n4b"_s, periods);
    periodTo.onChange = &describe;
    periodTo.pick = u"BROWSEGLFISCAL"_s;
    return {
        {.title = u"General"_s,
         .groups =
             {
                 equipmentGroup(ReportFamily::Detail),
                 categoryGroup({}),
                 classGroup(),
                 {.title = u"Items to Include"_s,
                  .rows = {{{box(u"Include Cost Categories"_s, u"EQLM:ColorCoding"_s),
                             box(u"Include Internal Income (.I)"_s, u"EQLM:SelectedRef"_s)}},
                           {{box(u"Include Rental Income (.R)"_s, IncludeRental),
                             box(u"Skip Equipment with No Detail"_s, u"EQLM:SkipEquipment"_s)}},
                           {{box(u"Include Transaction Notes"_s, TransactionNotes)}}}},
                 {.title = u"Level of Detail"_s,
                  .rows = {{{radio(
                      {}, u"EQLM:PrintTransactionDetail"_s,
                      {{u"Print in Summary"_s, u"0"_s}, {u"Print in Detail"_s, u"1"_s}})}}}},
                 orientationGroup(),
                 sortGroup(),
             }},
        {.title = u"Detail Filters"_s,
         .groups =
             {
                 {.title = u"Select Journals"_s,
                  .rows = {{{box(u"Select Journals"_s, u"EQLM:SelectedJournals"_s)}},
                           {{entry(u"From"_s, u"EQLM:JournalFrom"_s, u"@n_7b"_s, journals),
                             entry(u"To"_s, u"EQLM:JournalTo"_s, u"@n_7b"_s, journals)}},
                           {{entry(u"Journal Types"_s, u"EQLM:JournalType"_s, u"@s15"_s,
                                   journals)}}}},
                 {.title = u"Transaction Dates"_s,
                  .rows = {{{box(u"Select Dates:"_s, u"EQLM:SelectedDates"_s)}},
                           {{dateEntry(u"From"_s, u"EQLM:DateFrom"_s, dates),
                             dateEntry(u"To"_s, u"EQLM:DateTo"_s, dates)}}}},
                 {.title = u"Fiscal Periods"_s,
                  .rows = {{{box(u"Select Fiscal Periods:"_s, u"EQLM:SelectedFP"_s)}},
                           {{periodFrom, shown(PeriodFromText, u"@s30"_s, periods)}},
                           {{periodTo, shown(PeriodToText, u"@s30"_s, periods)}}}},
                 codeGroup({.title = u"Job Information"_s,
                            .selectPrompt = u"Select Jobs"_s,
                            .selected = u"EQLM:SelectedJobs"_s,
                            .from = u"EQLM:JobFrom"_s,
                            .to = u"EQLM:JobTo"_s,
                            .fromText = JobFromText,
                            .toText = JobToText,
                            .descriptionPicture = u"@s50"_s,
                            .check = jobCheck(),
                            .listKind = ListKind::Job,
                            .editListText = u"Edit Job List"_s}),
             }},
    };
}

QList<forms::Page> listingPages()
{
    return {{.groups = {
                 equipmentGroup(ReportFamily::Listing),
                 classGroup(),
                 {.title = u"Report Format"_s,
                  .rows = {{{radio(
                      {}, u"EQLM:ReportFormat"_s,
                      {{u"Master  (Equipment ID Master Listing)"_s, u"M"_s},
                       {u"Summary  (Equipment ID, Cost Categories, Descriptions)"_s, u"S"_s},
                       {u"Complete  (All information for each Equipment ID)"_s, u"C"_s},
                       {u"Data Sheet  (Single Page Summary of each Equipment ID)"_s, u"D"_s}},
                      true)}}}},
                 orientationGroup(),
                 sortGroup(),
             }}};
}

QList<forms::Page> categoryPages()
{
    return {{.groups = {
                 categoryGroup({}),
                 {.title = u"Sort Order"_s,
                  .rows = {{{radio({}, u"EQLM:ReportFormat"_s,
                                   {{u"Category ID"_s, u"C"_s}, {u"Description"_s, u"D"_s}})}}}},
                 {.title = u"Detail Summary"_s,
                  .rows = {{{radio(
                      {}, u"EQLM:DetailSummary"_s,
                      {{u"Summary  (Prints the Code and its Description)"_s, u"S"_s},
                       {u"Complete  (Prints all data associated with each code)"_s, u"D"_s}},
                      true)}}}},
             }}};
}

QList<forms::Page> proofPages()
{
    const Rule dates = is(u"EQLM:SelectedDates"_s, 1);
    const Rule range = is(u"EQLM:SelectedEquipment"_s, 1);
    Control from = entry(u"From"_s, u"EQLM:EquipmentFrom"_s, u"@s10"_s, range);
    from.code = equipmentCheck();
    from.onChange = &describe;
    Control to = entry(u"To"_s, u"EQLM:EquipmentTo"_s, u"@s10"_s, range);
    to.code = equipmentCheck();
    to.onChange = &describe;
    const QList<Choice> allRange{{u"All"_s, u"0"_s}, {u"Range"_s, u"1"_s}};
    return {{.groups = {
                 {.title = u"Usage Dates"_s,
                  .rows = {{{radio(u"Select Dates"_s, u"EQLM:SelectedDates"_s, allRange)}},
                           {{dateEntry(u"From"_s, u"EQLM:DateFrom"_s, dates)}},
                           {{dateEntry(u"To"_s, u"EQLM:DateTo"_s, dates)}}}},
                 {.title = u"Equipment ID"_s,
                  .rows = {{{radio(u"Select Equipment"_s, u"EQLM:SelectedEquipment"_s, allRange)}},
                           {{from, shown(EquipmentFromText, u"@s30"_s, range)}},
                           {{to, shown(EquipmentToText, u"@s30"_s, range)}}}},
             }}};
}

// Title, owner and lock head every family's form.
Group heading(ReportFamily family)
{
    Control title = entry(u"Report Title"_s, u"EQLM:ReportTitle"_s, u"@s40"_s);
    if (family == ReportFamily::Proof)
        return {.rows = {{{title}}}};
    return {.rows = {{{title}},
                     {{{.kind = ControlKind::DropList,
                        .prompt = u"User"_s,
                        .field = u"EQLM:UserID"_s,
                        .choicesOf = &userChoices},
                       box(u"Lock"_s, u"EQLM:Locked"_s)}}}};
}

// Writes the form's record and hands it to its report; the record as the
// report left it is what the form shows afterwards.
void saveAndPrint(FormModel &form, const ReportDefinitions::Caller &print, bool viewing)
{
    ReportDefinitions definitions(form.session(), form.prompter(), form.clock());
    if (viewing) {
        const std::optional<int> mode =
            definitions.viewModeFor(static_cast<const EQLimits &>(form.record()));
        if (!mode)
            return;
        form.session().reportViewMode = *mode;
    }
    if (!form.saveAndStay())
        return;
    EQLimits stored = static_cast<const EQLimits &>(form.record());
    definitions.dispatch(stored, print);
}

bool refuseReadOnlyUser(data::Session &session, Prompter &prompter, data::Request request)
{
    return request != data::Request::View && refuseReadOnly(session, prompter);
}

} // namespace

QString listEditor(const QString &kind)
{
    return u"UPDATELIMLIST "_s + kind;
}

forms::FormDefinition definition(ReportFamily family, ReportDefinitions::Caller print)
{
    const FamilyInfo &info = ReportFamilies::info(family);
    QList<forms::Page> pages;
    switch (family) {
    case ReportFamily::Analysis:
        pages = analysisPages();
        break;
    case ReportFamily::Detail:
        pages = detailPages();
        break;
    case ReportFamily::Listing:
        pages = listingPages();
        break;
    case ReportFamily::Category:
        pages = categoryPages();
        break;
    case ReportFamily::Proof:
        pages = proofPages();
        break;
    }
    pages.first().groups.prepend(heading(family));
    // Another user's locked definition: nothing of it can be changed.
    const auto state = std::make_shared<FormState>();
    const Rule unlocked = [state](const FormModel &) { return !state->locked; };
    for (forms::Page &page : pages)
        for (Group &group : page.groups)
            for (Row &row : group.rows)
                for (Control &control : row.controls)
                    control.enabledWhen = both(unlocked, control.enabledWhen);
    for (forms::Page &page : pages)
        page.helpTopic = info.formHelpTopic;

    QList<Control> buttons;
    if (family != ReportFamily::Proof)
        buttons.append(button(
            u"Load Defaults"_s,
            [family](FormModel &form) {
                ReportDefinitions definitions(form.session(), form.prompter(), form.clock());
                if (!definitions.confirmLoadDefaults())
                    return;
                auto defaults = std::unique_ptr<EQLimits>(
                    static_cast<EQLimits *>(form.record().clone().release()));
                ReportDefinitions::loadDefaults(*defaults, family, form.session().userId);
                ReportDefinitions::fillBlanks(*defaults, family, form.session().userId);
                for (const data::FieldDef &field : EQLimits::fileSchema().fields)
                    form.setValue(field.name, field.get(*defaults));
                if (ReportFamilies::info(family).defaultsDeleteLists)
                    definitions.deleteListEntries(defaults->LimitID);
                showStoredChoices(form);
                describe(form);
            },
            both(unlocked, [](const FormModel &form) { return form.isEditable(); })));
    buttons.append(button(u"Save and &Print"_s,
                          [print](FormModel &form) { saveAndPrint(form, print, false); }));
    if (info.view)
        buttons.append(button(u"Save and &View"_s,
                              [print](FormModel &form) { saveAndPrint(form, print, true); }));
    Row actions;
    actions.controls = buttons;
    // On every page, so that no tab hides them.
    for (forms::Page &page : pages)
        page.groups.append(Group{.rows = {actions}});

    forms::FormDefinition form{
        .file = u"EQLimits"_s,
        .insertCaption = info.insertCaption,
        .changeCaption = info.changeCaption,
        .deleteCaption = info.changeCaption,
        .pages = pages,
        .values = {{.name = EquipmentFromText, .width = 40},
                   {.name = EquipmentToText, .width = 40},
                   {.name = CategoryFromText, .width = 30},
                   {.name = CategoryToText, .width = 30},
                   {.name = JobFromText, .width = 50},
                   {.name = JobToText, .width = 50},
                   {.name = PeriodFromText, .width = 30},
                   {.name = PeriodToText, .width = 30},
                   {.name = AsOfPeriod, .type = data::FieldType::Integer},
                   {.name = IncludeRental, .type = data::FieldType::Integer},
                   {.name = TransactionNotes, .type = data::FieldType::Integer}},
        .refuse = &refuseReadOnlyUser,
    };
    form.captionOf = [info](const FormModel &form) {
        switch (form.request()) {
        case data::Request::Insert:
            return info.insertCaption + u"  (New)"_s;
        case data::Request::View:
            return u"View Record  ("_s + form.code(u"ReportTitle") + u')';
        default:
            return info.changeCaption + u"  ("_s + form.code(u"ReportTitle") + u')';
        }
    };
    form.prime = [family](FormModel &form) {
        EQLimits primed;
        ReportDefinitions::prime(primed, family, form.session().userId);
        for (const data::FieldDef &field : EQLimits::fileSchema().fields)
            if (field.get(primed) != field.get(EQLimits()))
                form.setValue(field.name, field.get(primed));
    };
    form.opened = [family, state](FormModel &form) {
        ReportDefinitions definitions(form.session(), form.prompter(), form.clock());
        const EQLimits &record = static_cast<const EQLimits &>(form.record());
        state->locked = definitions.lockedAgainstMe(record);
        if (form.isEditable()) {
            EQLimits filled = record;
            ReportDefinitions::fillBlanks(filled, family, form.session().userId);
            form.setValue(u"Orientation", filled.Orientation);
            form.setValue(u"DetailSummary", filled.DetailSummary);
            form.setValue(u"UserID", filled.UserID);
        }
        showStoredChoices(form);
        describe(form);
    };
    form.beforeSave = [family, state](FormModel &form) {
        if (form.request() == data::Request::Delete || state->locked)
            return QString();
        if (family == ReportFamily::Analysis) {
            // A report "As of" a period that is not there would print nothing
            // but zeros.
            const qint64 asOf = number(form, AsOfPeriod);
            if (number(form, u"EQLM:SelectedDates") == 2) {
                if (asOf == 0)
                    return u"Choose the fiscal period the report is \"As of\"."_s;
                if (!inFiscalCalendar(*form.session().company, asOf))
                    return u"Fiscal period %1 is not in the fiscal calendar.|Choose one that is."_s
                        .arg(asOf);
            }
            form.setValue(u"FPTo", Decimal(asOf));
        }
        if (family == ReportFamily::Detail) {
            form.setValue(u"RefFrom", Decimal(number(form, IncludeRental)));
            form.setValue(u"ReportFormat", number(form, TransactionNotes) == 1 ? u"1"_s : u"0"_s);
        }
        form.setValue(u"ModifyDate", qint64(SuiteDate::fromQDate(form.clock().today())));
        return QString();
    };
    // Numbers are taken under the file's transaction, so that two stations
    // adding at once never share one.
    form.insert = [](FormModel &form, data::Record &record) -> data::FileStatus {
        data::Company &company = *form.session().company;
        data::Transaction transaction(company.database(), {u"EQLimits"_s}, 5s);
        if (!transaction.isActive())
            return transaction.error();
        if (data::FileStatus status = company.file<EQLimits>().insert(record); !status)
            return status;
        return transaction.commit();
    };
    form.activity = forms::Activity{u"EQ Equipment Setup"_s, [](const data::Record &record) {
                                        const auto &d = static_cast<const EQLimits &>(record);
                                        return u"report definition (%1) %2"_s.arg(d.LimitID).arg(
                                            Text::clip(d.ReportTitle));
                                    }};
    return form;
}

} // namespace qaveq::DefinitionForms
