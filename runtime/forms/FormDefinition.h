#pragma once

#include "data/FieldValue.h"
#include "data/FileError.h"
#include "data/FileSchema.h"
#include "data/Session.h"

#include "core/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qaveq {

class Prompter;

namespace data {
class Record;
}

namespace forms {

class FormModel;

// One entry of a drop list or radio group: the text shown and the value
// stored. A blank value is a real choice ("no unit"), not a missing one.
struct Choice
{
    QString text = {};
    QString value = {};
    // A key of the numeric keypad that picks this entry while the list has
    // the cursor ('5', '.'); none when null.
    QChar keypad = {};
};

// A code that must be found in another file (a category, an account, a job):
// fetched when the control is left, the file's list opened when it is not
// there, the chosen entry taken as if typed, the cursor put back when the list
// is cancelled.
struct CodeCheck
{
    QString file = {};      // "EQCode"
    QString key = {};       // "KeyCategoryID": a unique key whose last field the code fills
    QString lookup = {};    // the list the picker opens: "BROWSEEQCODE"
    QString codeField = {}; // the key field the code fills; the key's last field when empty
    // Sets what the list needs before it opens (the equipment whose categories
    // it lists...).
    std::function<void(FormModel &)> beforeLookup = {};
    // A code was accepted while the user edits (typed and found, or picked),
    // and it is not the code accepted last: copy defaults from `found`. Never
    // called by the final check that OK runs.
    std::function<void(FormModel &, const data::Record &found)> accepted = {};
    // Turns what was typed into the code (shorthands, zero fill, a search by
    // name); nothing when the user cancelled a choice.
    std::function<std::optional<QString>(FormModel &, const QString &typed)> resolve = {};
    // Fills the key of the record looked for, when more than the code makes
    // it (a job's cost code is found by job and code).
    std::function<void(const FormModel &, data::Record &wanted)> fill = {};
    // Whether a newly accepted code may stand (a closed job may not); false
    // after saying why.
    std::function<bool(FormModel &, const data::Record &found)> allowed = {};
    // Opens a list of its own in place of `lookup`, for a list that answers
    // more than the code (a change order with its cost code): the code
    // chosen, or nothing when the user closed it without a choice.
    std::function<std::optional<QString>(FormModel &, const QString &typed)> lookUp = {};
};

// The columns of a list shown inside a form.
struct ChildColumn
{
    QString header = {};
    QString field = {}; // "GLDP:Date"
    QString picture = {};
    int width = 100;
    // A column whose text the form works out for the row (the amount of the
    // method chosen on the form...); `field` then names a field it reads.
    std::function<QString(const FormModel &, const data::Record &)> display = {};
};

// One row of a list the form computes itself (figures, words), with the key
// of the record it stands for.
struct ChildRow
{
    QStringList cells = {};
    // The values of the file's first unique key; empty for a row that is no
    // record (a totals row).
    QList<data::FieldValue> key = {};
    QList<int> negative = {}; // cells shown in red
    bool bold = false;
};

// A button of a list of the form's own (Print, Tag...): the highlighted
// record, or none.
struct ChildButton
{
    QString text = {};
    std::function<void(FormModel &, const data::Record *highlighted)> action = {};
};

// A list of another file's records that belong to the form's record (the
// schedule rows of an equipment...): ranged on the leading fields of `key`
// with the values of the parent's `rangeFields`, or computed by `rows`.
struct ChildList
{
    QString file = {};
    QString key = {};
    QStringList rangeFields = {};
    QList<ChildColumn> columns = {};
    QString form = {}; // the procedure that adds, changes and deletes a row; empty: none
    // Rows the form computes instead of reading the file in key order.
    std::function<QList<ChildRow>(const FormModel &)> rows = {};
    // The list is read again when one of these values changes (and after its
    // form ran); the range fields always count.
    QStringList dependsOn = {};
    // Before a row is deleted: why it may not be.
    std::function<std::optional<Message>(FormModel &, const data::Record &)> refuseDelete = {};
    QList<ChildButton> buttons = {};
    // Send To's title for the list; none: no Send To.
    std::function<QString(const FormModel &)> exportTitle = {};
    QString exportFolder = {};
    // Fills a new row beyond the range fields (an owner type...).
    std::function<void(const FormModel &, data::Record &)> prime = {};
    bool counted = false; // shows "n Records" under the list
};

enum class ControlKind {
    Entry,
    CheckBox,
    DropList,
    RadioGroup,
    Display,
    ChildList,
    Button, // `prompt` is its text, `onChange` what it does
    Custom  // a part the screen builds itself, named by `field`
};

// One control of a form: what it shows, how its value is checked, and the
// behaviour that belongs to it.
struct Control
{
    ControlKind kind = ControlKind::Entry;
    QString prompt = {};
    QString field = {};   // "EQD:CategoryID", or a value of the form's own ("LOC:Units")
    QString picture = {}; // "@s10", "@n_13b", "@d1"
    bool required = false;
    // Marked as required, but the form checks it itself (finalCheck).
    bool marked = false;
    std::optional<Decimal> minimum = {}; // numbers: the range the value must lie in
    std::optional<Decimal> maximum = {};
    QList<Choice> choices = {}; // drop lists and radio groups
    // Radio buttons one under another (choices with explanations), not side by side.
    bool stacked = false;
    // Choices that change while the form is open (a list the user maintains,
    // a label the user names); read again after each button of the form.
    std::function<QList<Choice>(const FormModel &)> choicesOf = {};
    std::optional<CodeCheck> code = {}; // a code that must exist in another file
    ChildList child = {};
    // A plain lookup button through the picker ("EDITDATE"): the picker gets the
    // entry's text and answers the new one.
    QString pick = {};
    bool textCase = false; // the right-click text-case menu
    bool password = false; // typed characters are shown as dots
    // Line breaks and tabs typed or pasted become spaces (with a word to the
    // user) instead of being refused.
    bool controlsToSpaces = false;
    // An entry that is the prompt of the next control (a user-defined
    // prompt): while it is not enabled it reads as a prompt, flat and plain,
    // instead of as a greyed-out entry.
    bool promptStyle = false;
    // Shown and enabled rules, computed from the form's values; empty: always.
    std::function<bool(const FormModel &)> shownWhen = {};
    std::function<bool(const FormModel &)> enabledWhen = {};
    // The value changed by the user (drop lists and boxes at once, entries when left).
    std::function<void(FormModel &)> onChange = {};
    // An entry gets the cursor.
    std::function<void(FormModel &)> onEnter = {};
    // A check of the screen's own, after the standard ones: the message, or empty.
    std::function<QString(const FormModel &)> check = {};
    QString tip = {};
};

struct Row
{
    QList<Control> controls = {};
};

struct Group
{
    QString title = {}; // empty: no frame
    QList<Row> rows = {};
    // Headings over the controls of each row ("Internal", "Rental").
    QStringList columnTitles = {};
    // A title that follows the form's values.
    std::function<QString(const FormModel &)> titleOf = {};
};

// One control a row, for the plain forms that are a column of prompts.
inline QList<Row> column(const QList<Control> &controls)
{
    QList<Row> rows = {};
    for (const Control &control : controls)
        rows.append(Row{{control}});
    return rows;
}

struct Page
{
    QString title = {}; // a tab's title; a form of one page shows no tabs
    QString helpTopic = {};
    QList<Group> groups = {};
};

// A value the form holds that is not a field of its file.
struct FormValue
{
    QString name = {}; // "LOC:Units"
    data::FieldType type = data::FieldType::Text;
    int width = 0; // texts
    int digits = 0;
    int places = 0;
};

// A value computed from others while the user edits (units from meter
// readings, an amount from units and a rate); never during OK's final check.
struct Derived
{
    QStringList from = {};
    QString to = {};
    std::function<data::FieldValue(const FormModel &)> compute = {};
};

// What a form writes into the user-activity log when the logging level is 2.
struct Activity
{
    QString area = {}; // "EQ Equipment Setup"
    // "cost category (LUBE) Lubrication": "Added ", "Changed " or "Deleted " goes before it.
    std::function<QString(const data::Record &)> describe = {};
};

// Why OK may not go on, and where the cursor goes.
struct Refusal
{
    Message message = {};
    QString field = {};
};

// A form that can walk through its pages one at a time; whether it does is
// the user's choice, kept where the screen keeps it.
struct Wizard
{
    std::function<bool()> read = {};
    std::function<void(bool)> write = {};
};

// Which of a wizard's buttons work on page `page` (0-based) of `pages`: no
// Back on the first page, no Next on the last, Finish on the last, or as soon
// as every required entry is made (the pages after hold nothing that must be
// typed). A form that does not walk through its pages keeps OK enabled.
struct WizardButtons
{
    bool back = false;
    bool next = false;
    bool finish = true;
};
inline WizardButtons wizardButtons(int page, int pages, bool walking, bool requiredDone = false)
{
    if (!walking)
        return {};
    return {
        .back = page > 0, .next = page < pages - 1, .finish = requiredDone || page >= pages - 1};
}

struct FormDefinition
{
    QString file = {};
    QString insertCaption = {};
    QString changeCaption = {};
    QString deleteCaption = {};
    // The window's icon by its name ("~gl.ico"); empty: the program's own.
    QString icon = {};
    QList<Page> pages = {};
    QList<FormValue> values = {};
    QList<Derived> derived = {};
    // The window's caption when the three captions above do not say enough.
    std::function<QString(const FormModel &)> captionOf = {};
    // Whether the signed-on user may only look at the form's records: a change
    // then opens the record in view mode, so nothing can be typed that OK
    // would refuse.
    std::function<bool(const data::Session &)> viewOnly = {};
    // Refuses a request before the form opens (a read-only user); true when
    // refused, after saying why.
    std::function<bool(data::Session &, Prompter &, data::Request)> refuse = {};
    // Refuses writing (OK, and Add or Delete in the form's lists); `refuse`
    // when not set.
    std::function<bool(data::Session &, Prompter &, data::Request)> refuseSave = {};
    // Fills a new record before the form shows it.
    std::function<void(FormModel &)> prime = {};
    // The record is shown.
    std::function<void(FormModel &)> opened = {};
    // After the controls' own checks on OK: what else the record lacks.
    std::function<std::optional<Refusal>(FormModel &)> finalCheck = {};
    // Before the record is written (or deleted): the reason it may not be, or
    // empty. It may still set fields the form does not show (keys...).
    std::function<QString(FormModel &)> beforeSave = {};
    // Writes a new record in place of the file's plain insert, for numbers
    // that must be taken under the file's transaction.
    std::function<data::FileStatus(FormModel &, data::Record &)> insert = {};
    // After the record was written or deleted: what hangs on it (a photograph...).
    std::function<void(FormModel &)> saved = {};
    std::optional<Wizard> wizard = {};
    std::optional<Activity> activity = {};
    // The suite's text-case store (GETCASE).
    std::function<QString(const QString &request)> caseStore = {};
};

} // namespace forms

} // namespace qaveq
