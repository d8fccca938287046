#include "EquipmentFormParts.h"

#include "EquipmentRules.h"
#include "NotesReport.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/Notes.h"

#include "runtime/forms/FormModel.h"

#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QSet>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::EquipmentForm {

namespace {

const QString NotesFolder = u"Korvalis/Equipment Notes"_s;
const QString CategoriesFolder = u"Korvalis/Equipment Maintenance Categories"_s;

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

} // namespace

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

} // namespace qaveq::EquipmentForm
