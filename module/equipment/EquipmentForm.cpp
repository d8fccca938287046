#include "EquipmentForm.h"

#include "EquipmentRules.h"
#include "NotesReport.h"

#include "assets/AnnualSummary.h"
#include "assets/ScheduleCalculator.h"
#include "common/ChargeCodes.h"
#include "common/ReadOnlyAccess.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/GLDepr.h"
#include "records/Images.h"
#include "records/Notes.h"
#include "records/UserDef.h"

#include "suite/Services.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentForm {

namespace {

using forms::ChildColumn;
using forms::ChildRow;
using forms::Choice;
using forms::Control;
using forms::ControlKind;
using forms::FormModel;

const QString Topic = u"html/EC_Equipment.htm"_s;
const QString NotesFolder = u"Korvalis/Equipment Notes"_s;
const QString CategoriesFolder = u"Korvalis/Equipment Maintenance Categories"_s;

const EQHeader &equipmentOf(const FormModel &form)
{
    return static_cast<const EQHeader &>(form.record());
}

QString money(const Decimal &value, const QString &picture = u"@n-15.2"_s)
{
    return Picture::parse(picture).format(value).trimmed();
}

// The settings file of the workstation that keeps the wizard's choice.
QString setupFile(const data::Session &session)
{
    return QDir(session.suiteIniFolder()).filePath(u"TQSetup.ini"_s);
}

// Each user's own choice: users sharing a workstation do not inherit it.
QString wizardKey(const data::Session &session)
{
    return u"EquipmentEntryWizard_"_s + session.userId.trimmed().toUpper();
}

forms::CodeCheck accountCheck()
{
    return {.file = u"GLMaster"_s, .key = u"KeyAccount"_s, .lookup = u"BROWSEGLMASTER"_s};
}

Control entry(const QString &prompt, const QString &field, const QString &picture)
{
    return {.prompt = prompt, .field = field, .picture = picture};
}

Control account(const QString &prompt, const QString &field)
{
    return {.prompt = prompt, .field = field, .picture = u"@s10"_s, .code = accountCheck()};
}

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

QString operatorName(const FormModel &form)
{
    PREmp employee;
    employee.EmployeeID = static_cast<qint32>(std::get<qint64>(form.value(u"OperatorEmployeeID")));
    if (employee.EmployeeID == 0 ||
        !form.session().company->file<PREmp>().fetch(u"KeyEmployeeID", employee))
        return {};
    return (Text::clip(employee.FirstName) + u' ' + Text::clip(employee.LastName)).trimmed();
}

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

QList<Choice> fiscalPeriods(data::Company &company)
{
    QList<Choice> choices;
    data::KeyCursor cursor = company.file<GLFiscal>().scan(u"KeyFiscalPeriodDown");
    GLFiscal period;
    while (cursor.next(period))
        choices.append({Text::clip(period.Label) + u"  "_s + Text::clip(period.Description),
                        QString::number(period.FiscalPeriod)});
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

QList<ChildRow> serviceRows(const FormModel &form)
{
    data::Company &company = *form.session().company;
    QList<ChildRow> rows;
    data::KeyCursor cursor = company.file<EQCost>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({form.code(u"EquipmentID")}));
    EQCost cost;
    while (cursor.next(cost)) {
        EQCode category;
        category.CategoryID = cost.CostCategory;
        const QString description = company.file<EQCode>().fetch(u"KeyCategoryID", category)
                                        ? Text::clip(category.Description)
                                        : QString();
        rows.append({.cells = {Text::clip(cost.CostCategory), description,
                               EquipmentRules::scheduleInWords(cost),
                               Picture::parse(u"@n_13b"_s).format(qint64(cost.LastServiceMeter)),
                               Picture::parse(u"@d1b"_s).format(qint64(cost.LastServiceDate))},
                     .key = {cost.RecordID}});
    }
    return rows;
}

QList<ChildRow> costRows(const FormModel &form)
{
    GLFiscal period;
    period.FiscalPeriod = static_cast<qint32>(std::get<qint64>(form.value(u"LOC:FiscalPeriod")));
    if (period.FiscalPeriod != 0)
        static_cast<void>(
            form.session().company->file<GLFiscal>().fetch(u"KeyFiscalPeriodUp", period));
    return EquipmentRules::costCategoryRows(*form.session().company, equipmentOf(form),
                                            period.FiscalYear, period.Period);
}

std::optional<Message> refuseUsedCategory(FormModel &, const data::Record &record)
{
    if (static_cast<const EQCost &>(record).CumulativeAmount.isZero())
        return std::nullopt;
    return Message::alert(
        u"Cannot Delete"_s,
        u"Costs have been posted to this cost category.  It cannot be |deleted at "
        "this time."_s);
}

QList<ChildRow> noteRows(const FormModel &form, const QSet<qint32> &tagged)
{
    QList<ChildRow> rows;
    data::KeyCursor cursor = form.session().company->file<Notes>().scan(
        u"KeyEntityID", data::ScanOptions::equal({form.code(u"EquipmentID")}));
    Notes note;
    while (cursor.next(note))
        if (Text::clip(note.EntityType) == u"EQHeader")
            rows.append({.cells = {tagged.contains(note.RecordID) ? u"\u2713"_s : QString(),
                                   Picture::parse(u"@d1b"_s).format(qint64(note.Date)),
                                   Text::clip(note.Heading), Text::clip(note.Note)},
                         .key = {qint64(note.RecordID)}});
    return rows;
}

Control notesList(const std::shared_ptr<QSet<qint32>> &tagged, const Actions &actions)
{
    const auto noteId = [](const data::Record *note) {
        return note ? static_cast<const Notes *>(note)->RecordID : 0;
    };
    return {
        .kind = ControlKind::ChildList,
        .field = u"LOC:Notes"_s,
        .child = {.file = u"Notes"_s,
                  .columns = {{.header = u"Tag"_s, .width = 40},
                              {.header = u"Date"_s, .picture = u"@d1b"_s, .width = 80},
                              {.header = u"Heading"_s, .picture = u"@s20"_s, .width = 150},
                              {.header = u"Note"_s, .picture = u"@s255"_s, .width = 320}},
                  .form = u"UPDATENOTES"_s,
                  .rows = [tagged](const FormModel &form) { return noteRows(form, *tagged); },
                  .dependsOn = {u"EQH:EquipmentID"_s},
                  .buttons = {{u"Print"_s,
                               [tagged, print = actions.printNotes](FormModel &form,
                                                                    const data::Record *) {
                                   if (!print)
                                       return;
                                   if (tagged->isEmpty()) {
                                       form.prompter().ask(Message{
                                           u"Print Notes"_s,
                                           u"No notes are tagged.|Tag the notes to print with "
                                           "\"Tag\" or \"Tag all\"."_s,
                                           u"&OK"_s, 1, Message::Icon::Information});
                                       return;
                                   }
                                   NotesReport report(
                                       *form.session().company,
                                       {.word = u"Equipment"_s,
                                        .type = u"EQHeader"_s,
                                        .id = form.code(u"EquipmentID"),
                                        .description = form.code(u"Description")},
                                       QList<qint32>(tagged->cbegin(), tagged->cend()));
                                   print(report);
                               }},
                              {u"Tag &all"_s,
                               [tagged](FormModel &form, const data::Record *) {
                                   for (const ChildRow &row : noteRows(form, {}))
                                       tagged->insert(
                                           static_cast<qint32>(std::get<qint64>(row.key.first())));
                               }},
                              {u"&Tag"_s,
                               [tagged, noteId](FormModel &, const data::Record *note) {
                                   const qint32 id = noteId(note);
                                   if (id != 0 && !tagged->remove(id))
                                       tagged->insert(id);
                               }}},
                  .exportTitle =
                      [](const FormModel &form) {
                          return u"Notes for Equipment ("_s + form.code(u"EquipmentID") + u") "_s +
                                 form.code(u"Description");
                      },
                  .exportFolder = NotesFolder,
                  .prime =
                      [](const FormModel &form, data::Record &note) {
                          note.setValue(u"EntityID", form.code(u"EquipmentID"));
                          note.setValue(u"EntityType", u"EQHeader"_s);
                      }},
    };
}

// The prompts of the fifteen user-defined values, from the UserDef record
// "EQHeader", which is made when it is missing.
void readPrompts(FormModel &form)
{
    data::Table &file = form.session().company->file<UserDef>();
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    if (const data::FileStatus status = file.fetch(u"KeyFile", prompts); !status) {
        if (status.error().code != data::FileErrorCode::RecordNotFound) {
            form.prompter().ask(
                Message{u"User Defined"_s, status.error().text() + u" Getting UserDef."_s});
        } else if (!file.prime(prompts)) {
            form.prompter().ask(Message{u"User Defined"_s, u"Error Priming UserDef"_s});
        } else if (prompts.FileName = u"EQHeader"_s; !file.insert(prompts)) {
            form.prompter().ask(Message{u"User Defined"_s, u"Error Adding UserDef"_s});
        }
    }
    for (int i = 1; i <= 15; ++i)
        form.setValue(u"LOC:U%1"_s.arg(i), prompts.value(u"U%1"_s.arg(i)));
}

void savePrompts(FormModel &form)
{
    data::Table &file = form.session().company->file<UserDef>();
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    if (!file.fetch(u"KeyFile", prompts))
        return;
    bool changed = false;
    for (int i = 1; i <= 15; ++i) {
        const QString field = u"U%1"_s.arg(i);
        const data::FieldValue typed = form.value(u"LOC:"_s + field);
        changed = changed || prompts.value(field) != typed;
        prompts.setValue(field, typed);
    }
    if (changed)
        if (const data::FileStatus status = file.update(prompts); !status)
            form.prompter().ask(
                Message{u"User Defined"_s, status.error().text() + u" Saving UserDef"_s});
}

// The photograph: the Images record of type "Equipment" of the equipment.
Images photographRecord(data::Company &company, const QString &equipmentId, bool *found)
{
    Images photo;
    data::ScanOptions options = data::ScanOptions::equal({u"Equipment"_s, equipmentId});
    data::KeyCursor cursor = company.file<Images>().scan(u"KeyTypeStringID", options);
    *found = cursor.next(photo);
    return photo;
}

QString storedPath(const QString &stored)
{
    return stored.isEmpty() ? QString() : QDir(suite::imageStoreFolder()).filePath(stored);
}

void savePhotograph(FormModel &form, const QString &opened)
{
    const QString chosen = form.code(PhotoFile);
    if (chosen == opened || chosen.isEmpty())
        return;
    data::Company &company = *form.session().company;
    const std::optional<QString> stored = suite::STOREIMAGEFILE(chosen);
    if (!stored) {
        form.prompter().ask(
            Message::alert(u"Equipment Photograph"_s,
                           u"%1 could not be copied into the image store."_s.arg(chosen)));
        return;
    }
    bool found = false;
    Images photo = photographRecord(company, form.code(u"EquipmentID"), &found);
    photo.Caption = u"Equipment Photograph"_s;
    photo.FileName = *stored;
    if (found) {
        if (const data::FileStatus status = company.file<Images>().update(photo); !status)
            form.prompter().ask(
                Message{u"Equipment Photograph"_s, status.error().text() + u" Saving Images"_s});
        return;
    }
    photo.Type = u"Equipment"_s;
    photo.StringID = form.code(u"EquipmentID");
    photo.ImageType = u"Bitmap"_s;
    photo.FileDate = SuiteDate::fromQDate(form.clock().today());
    if (const data::FileStatus status = company.file<Images>().insert(photo); !status)
        form.prompter().ask(
            Message{u"Equipment Photograph"_s, status.error().text() + u" Inserting Images"_s});
}

bool hasAttachments(data::Company &company, const QString &equipmentId)
{
    return company.file<Images>()
               .scan(u"KeyTypeStringID", data::ScanOptions::equal({u"EQHeader"_s, equipmentId}))
               .count() > 0;
}

void calculateSchedule(FormModel &form)
{
    if (form.refuses(data::Request::Change))
        return;
    ScheduleCalculator(*form.session().company, form.prompter()).calculate(equipmentOf(form));
    form.setValue(u"LOC:ScheduleRevision",
                  std::get<qint64>(form.value(u"LOC:ScheduleRevision")) + 1);
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

Control button(const QString &text, std::function<void(FormModel &)> action, bool whileViewing)
{
    return {.kind = ControlKind::Button,
            .prompt = text,
            .enabledWhen =
                [whileViewing](const FormModel &form) { return whileViewing || form.isEditable(); },
            .onChange = std::move(action)};
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

forms::Page costCategoriesPage(data::Company &company)
{
    const auto columns = [] {
        QList<ChildColumn> list{{.header = u"Category"_s, .picture = u"@s10"_s, .width = 105},
                                {.header = u"Description"_s, .picture = u"@s30"_s, .width = 200}};
        for (const QString &span : {u"Cumulative"_s, u"Year to Date"_s, u"Month to Date"_s})
            for (const QString &what : {u"Quantity"_s, u"Amount"_s})
                list.append({.header = span + u'\n' + what, .picture = u"@n-15.2"_s, .width = 105});
        return list;
    };
    return {
        .title = u"&Cost Categories"_s,
        .helpTopic = Topic + u"#ec_maintenace_categories_tab"_s,
        .groups =
            {{.rows = {{{{.kind = ControlKind::DropList,
                          .prompt = u"Display figures for Fiscal Period"_s,
                          .field = u"LOC:FiscalPeriod"_s,
                          .picture = u"@s15"_s,
                          .choices = fiscalPeriods(company)}}},
                       {{{.kind = ControlKind::ChildList,
                          .field = u"LOC:CostCategories"_s,
                          .child = {.file = u"EQCost"_s,
                                    .columns = columns(),
                                    .form = u"UPDATEEQCOST"_s,
                                    .rows = &costRows,
                                    .dependsOn = {u"LOC:FiscalPeriod"_s, u"EQH:EquipmentID"_s},
                                    .refuseDelete = &refuseUsedCategory,
                                    .exportTitle =
                                        [](const FormModel &form) {
                                            return u"Cost Categories for Equipment: "_s +
                                                   form.code(u"EquipmentID") + u" - "_s +
                                                   form.code(u"Description");
                                        },
                                    .exportFolder = CategoriesFolder,
                                    .counted = true}}}}}}},
    };
}

forms::Page serviceSchedulePage()
{
    return {
        .title = u"&Service Schedule"_s,
        .helpTopic = Topic + u"#ec_eq_service_schedule__tab_"_s,
        .groups = {{.rows = {{{{.kind = ControlKind::ChildList,
                                .field = u"LOC:ServiceSchedule"_s,
                                .child = {.file = u"EQCost"_s,
                                          .columns = {{.header = u"Category"_s, .width = 80},
                                                      {.header = u"Description"_s, .width = 200},
                                                      {.header = u"Schedule"_s, .width = 260},
                                                      {.header = u"Last Service Meter Reading"_s,
                                                       .picture = u"@n_13b"_s,
                                                       .width = 160},
                                                      {.header = u"Last Service Date"_s,
                                                       .picture = u"@d1b"_s,
                                                       .width = 110}},
                                          .form = u"UPDATEEQCOST"_s,
                                          .rows = &serviceRows,
                                          .dependsOn = {u"EQH:EquipmentID"_s},
                                          .exportTitle =
                                              [](const FormModel &form) {
                                                  return u"Service Schedule for Equipment: "_s +
                                                         form.code(u"EquipmentID");
                                              },
                                          .exportFolder = CategoriesFolder}}}}}}},
    };
}

forms::Page photographPage()
{
    return {
        .title = u"&Photograph"_s,
        .helpTopic = Topic + u"#ec_photograph_tab"_s,
        .groups = {{.rows = {{{{.kind = ControlKind::Custom, .field = PhotoPart}}},
                             {{{.prompt = u"Image File"_s,
                                .field = PhotoFile,
                                .picture = u"@s60"_s,
                                .pick = u"PHOTOFILE"_s}}}}}},
    };
}

forms::Page notesPage(const std::shared_ptr<QSet<qint32>> &tagged, const Actions &actions)
{
    QList<forms::Row> userDefined;
    for (int i = 1; i <= 15; ++i)
        userDefined.append({{{.field = u"LOC:U%1"_s.arg(i),
                              .picture = u"@s20"_s,
                              .promptStyle = true,
                              .enabledWhen =
                                  [](const FormModel &form) {
                                      return std::get<qint64>(form.value(u"LOC:EditPrompts")) != 0;
                                  }},
                             {.field = u"EQH:UD%1"_s.arg(i), .picture = u"@s40"_s}}});
    userDefined.append({{button(
        u"Edit Prompts"_s,
        [](FormModel &form) {
            if (!form.refuses(data::Request::Change))
                form.setValue(u"LOC:EditPrompts", qint64(1));
        },
        false)}});
    return {
        .title = u"&Notes / User Defined"_s,
        .helpTopic = Topic + u"#user_defined_tab"_s,
        .groups = {{.title = u"Notes"_s, .rows = {{{notesList(tagged, actions)}}}},
                   {.title = u"User Defined"_s, .rows = userDefined}},
    };
}

forms::Page attachmentsPage()
{
    return {
        .title = u"Attachments"_s,
        .helpTopic = Topic,
        .groups = {{.rows = {{{{.kind = ControlKind::Custom, .field = AttachmentsPart}}}}}},
    };
}

QList<forms::FormValue> formValues()
{
    QList<forms::FormValue> values{
        {.name = u"LOC:OperatorName"_s, .width = 50},
        {.name = PhotoFile, .width = 250},
        {.name = u"LOC:FiscalPeriod"_s, .type = data::FieldType::Integer},
        {.name = u"LOC:ScheduleRevision"_s, .type = data::FieldType::Integer},
        {.name = u"LOC:EditPrompts"_s, .type = data::FieldType::Integer},
    };
    for (int i = 1; i <= 15; ++i)
        values.append({.name = u"LOC:U%1"_s.arg(i), .width = 40});
    return values;
}

} // namespace

forms::FormDefinition definition(data::Session &session, Actions actions)
{
    // Opened from the general ledger, the equipment is a fixed asset.
    const bool fixedAsset = Text::clip(session.equipField) == u"GL";
    if (fixedAsset)
        session.equipField.clear();
    const QString thing = fixedAsset ? u"Fixed Asset"_s : u"Equipment"_s;
    auto tagged = std::make_shared<QSet<qint32>>();
    auto openedPhoto = std::make_shared<QString>();
    forms::FormDefinition form{
        .file = u"EQHeader"_s,
        .insertCaption = (fixedAsset ? u"Adding a "_s : u"Adding an "_s) + thing + u" Record"_s,
        .changeCaption = u"Changing a"_s + (fixedAsset ? u" "_s : u"n "_s) + thing + u" Record"_s,
        .icon = fixedAsset ? u"~gl.ico"_s : QString(),
        .pages = {generalPage(), fixedAssetPage(actions), costCategoriesPage(*session.company),
                  serviceSchedulePage(), photographPage(), notesPage(tagged, actions),
                  attachmentsPage()},
        .values = formValues(),
        .derived = {{.from = {u"EQH:OperatorEmployeeID"_s},
                     .to = u"LOC:OperatorName"_s,
                     .compute =
                         [](const FormModel &form) {
                             return data::FieldValue(operatorName(form));
                         }}},
    };
    const QString viewCaption =
        (fixedAsset ? u"Viewing a "_s : u"Viewing an "_s) + thing + u" Record"_s;
    form.captionOf = [insert = form.insertCaption, change = form.changeCaption,
                      viewCaption](const FormModel &model) {
        const QString suffix = u"  ("_s + model.code(u"Description") + u')';
        switch (model.request()) {
        case data::Request::Insert:
            return insert + u"  (New)"_s;
        case data::Request::Change:
            return change + suffix;
        case data::Request::Delete:
            return suffix.trimmed();
        default:
            return viewCaption + suffix;
        }
    };
    // A read-only user may look at equipment: a change opens for viewing.
    form.viewOnly = [](const data::Session &session) { return session.equipmentReadOnly; };
    form.refuse = [](data::Session &session, Prompter &prompter, data::Request) {
        return refuseReadOnly(session, prompter);
    };
    form.refuseSave = [](data::Session &session, Prompter &prompter, data::Request) {
        return refuseReadOnly(session, prompter);
    };
    form.opened = [openedPhoto](FormModel &model) {
        data::Company &company = *model.session().company;
        model.setValue(u"LOC:OperatorName", operatorName(model));
        bool found = false;
        const Images photo = photographRecord(company, model.code(u"EquipmentID"), &found);
        *openedPhoto = found ? storedPath(Text::clip(photo.FileName)) : QString();
        model.setValue(PhotoFile, *openedPhoto);
        const QList<Choice> periods = fiscalPeriods(company);
        if (!periods.isEmpty())
            model.setValue(u"LOC:FiscalPeriod", periods.first().value.toLongLong());
        readPrompts(model);
    };
    form.finalCheck = [](FormModel &model) -> std::optional<forms::Refusal> {
        if (model.code(u"Description").isEmpty())
            return forms::Refusal{Message::alert(u"Required Field"_s, u"Description is Required"_s),
                                  u"EQH:Description"_s};
        if (model.code(u"EquipmentID").isEmpty())
            return forms::Refusal{
                Message::alert(u"Required Field"_s, u"Equipment ID is Required"_s),
                u"EQH:EquipmentID"_s};
        return std::nullopt;
    };
    form.beforeSave = [](FormModel &model) -> QString {
        if (model.request() == data::Request::Delete)
            return {};
        const QString id = model.code(u"EquipmentID");
        model.setValue(u"Attachments",
                       qint64(hasAttachments(*model.session().company, id) ? 1 : 0));
        model.setValue(u"EquipmentSortID", EquipmentRules::sortText(id));
        return {};
    };
    form.saved = [openedPhoto](FormModel &model) {
        if (model.request() == data::Request::Delete)
            return;
        savePhotograph(model, *openedPhoto);
        *openedPhoto = model.code(PhotoFile);
        savePrompts(model);
        model.setValue(u"LOC:EditPrompts", qint64(0));
    };
    form.activity =
        forms::Activity{u"EQ Equipment Setup"_s, [](const data::Record &record) {
                            const auto &equipment = static_cast<const EQHeader &>(record);
                            return u"equipment ("_s + Text::clip(equipment.EquipmentID) + u") "_s +
                                   Text::clip(equipment.Description);
                        }};
    form.wizard = forms::Wizard{
        .read =
            [&session] {
                return data::IniManager(setupFile(session))
                           .fetch(u"Korvalis Tessary"_s, wizardKey(session), 0)
                           .toInt() != 0;
            },
        .write =
            [&session](bool on) {
                QDir().mkpath(session.suiteIniFolder());
                data::IniManager(setupFile(session))
                    .update(u"Korvalis Tessary"_s, wizardKey(session), on ? 1 : 0);
            },
    };
    return form;
}

} // namespace qaveq::EquipmentForm
