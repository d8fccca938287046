#pragma once

#include "FormDefinition.h"

#include "data/Record.h"

#include <QMap>

#include <functional>
#include <memory>
#include <optional>

namespace qaveq {

class Clock;
class Picker;
class Prompter;
enum class StandardWarning : int;

namespace data {
class Table;
}

namespace forms {

// What a form holds while it is open, and every rule of it, without a widget:
// the values (the record's fields and the form's own values), their texts by
// picture, the checks (required, range, must exist in a file, the screen's
// own), derived values, the shown and enabled rules, and writing the record.
// A view binds its controls to it; tests drive it directly.
class FormModel
{
public:
    // Shows standard warning `number` with up to two texts; returns the answer.
    using Warn = std::function<int(int number, const QString &text1, const QString &text2)>;

    struct Services
    {
        data::Session &session;
        Prompter &prompter;
        Picker &picker;
        const Clock &clock;
        Warn warn;
    };

    // Where a check failed: the control the cursor goes back to. The user has
    // been told why (or chose to cancel a lookup).
    struct Failure
    {
        QString field;
        // What was typed is no value at all: the entry keeps it for the user
        // to correct. Otherwise the entry shows the value the checks left
        // (a code blanked after a refusal...).
        bool keepTyped = false;
    };
    using Outcome = std::optional<Failure>;

    // Reads the record the suite's request is for (the file's buffer names it);
    // a request the definition refuses, or a record that cannot be read
    // (warning 35), leaves the model closed and the response cancelled.
    FormModel(FormDefinition definition, Services services);
    ~FormModel();

    bool isOpen() const { return m_open; }
    const FormDefinition &definition() const { return m_definition; }
    const data::FileSchema &schema() const;
    data::Request request() const { return m_request; }
    bool isEditable() const
    {
        return m_request == data::Request::Insert || m_request == data::Request::Change;
    }
    QString caption() const;
    data::Session &session() const { return m_services.session; }
    Prompter &prompter() const { return m_services.prompter; }
    const Clock &clock() const { return m_services.clock; }

    // Values by name: a field of the file ("EQC:CostCategory" or "CostCategory")
    // or a value of the form's own ("LOC:Units").
    data::FieldValue value(QStringView name) const;
    // A text value without its trailing blanks.
    QString code(QStringView name) const;
    // The value as an entry of the control shows it.
    QString text(QStringView name) const;
    // Sets a value from the screen's behaviour (not as typed by the user).
    void setValue(QStringView name, const data::FieldValue &value);
    const data::Record &record() const { return *m_record; }

    // The controls in the order the cursor visits them.
    const QList<const Control *> &controls() const { return m_controls; }
    const Control *control(QStringView name) const;
    bool isShown(const Control &control) const;
    bool isEnabled(const Control &control) const;

    // The user's actions. Each runs the control's checks and behaviour and
    // tells where the cursor must go back to when one fails.
    Outcome edit(QStringView name, const QString &typed);            // an entry is left
    Outcome choose(QStringView name, const data::FieldValue &value); // box, list, radio
    // The lookup button or F2; the list starts at what is typed, when given.
    Outcome lookUp(QStringView name, const std::optional<QString> &typed = {});
    void enter(QStringView name); // an entry gets the cursor

    // OK: every shown and enabled control is checked again in order, as the
    // final check (no defaults copied, no derived values recomputed).
    Outcome checkAll();
    // OK after checkAll: writes, deletes (after confirming) or, in view mode,
    // does nothing; true when the form may close.
    bool save();
    // Checks and writes the record while the form stays open (before a
    // printout of it): a new record is then changed, not added again.
    bool saveAndStay();
    // Opens another list through the form's picker (a list the user keeps).
    std::optional<QString> pick(const QString &lookup, const QString &current);
    // Cancel: asks before changes (made, or still being typed) are dropped.
    enum class CancelAnswer { Close, Stay, Save };
    CancelAnswer askCancel(bool typing = false);
    bool isChanged() const;
    bool isSaved() const { return m_saved; }
    // Whether writing with `request` is refused (having said why): OK, and
    // Add or Delete in the form's lists.
    bool refuses(data::Request request);

    // A list of the form wrote records of `file` (a category added on one
    // tab): every list over that file shows them at once.
    void recordsChanged(const QString &file);
    // How often the form's lists wrote records of `file`: a list over it
    // reads again when the number moves.
    int recordsRevision(const QString &file) const { return m_recordRevisions.value(file); }

    // Called after values changed, so that a view shows them again.
    std::function<void()> changed;

private:
    enum class Mode { Editing, Final };

    struct Slot; // where a named value lives
    std::optional<Slot> slot(QStringView name) const;
    void store(QStringView name, const data::FieldValue &value, Mode mode);
    int warn(StandardWarning warning, const QString &text1 = {}, const QString &text2 = {});
    Outcome checkControl(const Control &control, Mode mode);
    Outcome checkCode(const Control &control, Mode mode);
    std::optional<QString> openLookup(const CodeCheck &check, const QString &current);
    std::optional<data::FieldValue> parse(const Control &control, const QString &typed,
                                          QString &problem) const;
    void runDerived(QStringView changedName, int depth);
    void notify();
    bool read();
    void rememberShown();
    void logActivity(const QString &verb, const data::Record &record);
    data::Table &table() const;

    FormDefinition m_definition;
    Services m_services;
    data::Request m_request;
    bool m_open = false;
    bool m_saved = false;
    std::unique_ptr<data::Record> m_original; // as read, or as primed for a new record
    std::unique_ptr<data::Record> m_record;   // as the form holds it
    std::unique_ptr<data::Record> m_shownRecord;
    QMap<QString, data::FieldValue> m_values; // the form's own values
    QMap<QString, data::FieldValue> m_shownValues;
    QMap<QString, QString> m_acceptedCodes; // by control field: the code accepted last
    QMap<QString, int> m_recordRevisions;   // by file: see recordsRevision()
    QList<const Control *> m_controls;
};

} // namespace forms

} // namespace qaveq
