#pragma once

#include "runtime/SpellChecker.h"

#include "data/Session.h"

#include <QDialog>
#include <QMap>

#include <functional>
#include <memory>

class QFormLayout;
class QLabel;
class QLineEdit;

namespace qaveq {

class Prompter;

namespace data {
class ErrorManager;
class Table;
} // namespace data

// A record form declared as a table of controls and built by one builder.
// It works on the file's buffer and the suite's global request: insert,
// change, delete or view; it sets the global response when it closes.
class RecordForm : public QDialog
{
    Q_OBJECT

public:
    struct Control
    {
        enum class Kind { Entry, CheckBox, DropList };
        QString prompt;  // "Category ID"
        QString field;   // "EQD:CategoryID"
        QString picture; // "@s10"; for a check box empty
        bool required = false;
        Kind kind = Kind::Entry;
        QStringList choices; // a drop list's texts...
        QStringList values;  // ...and the values stored for them
        // A lookup for the field (F2 presses it); it returns the chosen value,
        // or nothing when the lookup was cancelled.
        std::function<std::optional<QString>(const QString &current)> lookup;
        // The entry offers the text-case menu (right-click).
        bool textCase = false;

        static Control entry(QString prompt, QString field, QString picture, bool required = false)
        {
            Control control;
            control.prompt = std::move(prompt);
            control.field = std::move(field);
            control.picture = std::move(picture);
            control.required = required;
            return control;
        }
        static Control checkBox(QString prompt, QString field)
        {
            Control control = entry(std::move(prompt), std::move(field), {});
            control.kind = Kind::CheckBox;
            return control;
        }
        // `choices` are shown, `values` stored, pairwise.
        static Control dropList(QString prompt, QString field, QStringList choices,
                                QStringList values)
        {
            Control control = entry(std::move(prompt), std::move(field), {});
            control.kind = Kind::DropList;
            control.choices = std::move(choices);
            control.values = std::move(values);
            return control;
        }
        Control withLookup(std::function<std::optional<QString>(const QString &)> find) &&
        {
            lookup = std::move(find);
            return std::move(*this);
        }
        Control withTextCase() &&
        {
            textCase = true;
            return std::move(*this);
        }
    };

    struct Definition
    {
        QString file;
        QString insertCaption; // "Adding a Maintenance Category"
        QString changeCaption; // "Changing a Maintenance Category"
        QString deleteCaption; // "Deleting a Maintenance Category"
        QList<Control> controls = {};
        // The suite's text-case store (GETCASE): "000" + field asks for a
        // field's case, "DEF"/"CAP"/"UPR" + field keeps one.
        std::function<QString(const QString &request)> caseStore = {};
        // The form carries a Spelling button for its text entries.
        bool spellCheck = false;
        // Fills a new record before the form shows it (its owner, today's date...).
        std::function<void(data::Record &)> prime = {};
        // The screen's own behaviour, by field name without prefix.
        std::function<void(RecordForm &)> opened = {}; // the record is shown
        std::function<void(RecordForm &, const QString &field)> changed =
            {}; // a drop list or box changed
        std::function<void(RecordForm &, const QString &field)> entered =
            {}; // an entry got the cursor
        // An entry is left with text in it; false keeps the cursor there.
        std::function<bool(RecordForm &, const QString &field)> left = {};
        // OK is pressed; false keeps the form open without saving.
        std::function<bool(RecordForm &)> beforeSave = {};
        // The form's help topic; empty: no Help button.
        QString helpTopic = {};
    };

    // Shows standard warning `number` with up to two texts; returns the answer.
    using Warn = std::function<int(int number, const QString &text1, const QString &text2)>;
    // The standard warnings through an error manager.
    static Warn warningsOf(data::ErrorManager &errors);

    RecordForm(Definition definition, data::Session &session, Prompter &prompter, Warn warn,
               QWidget *parent = nullptr);

    void run();

    data::Request request() const { return m_request; }
    data::Session &session() const { return m_session; }
    Prompter &prompter() const { return m_prompter; }

    // The screen's behaviour works on the entries by field name (no prefix).
    QString text(const QString &field) const;
    void setText(const QString &field, const QString &text);
    int choice(const QString &field) const; // a drop list's entry, 0-based
    void setChoice(const QString &field, int index);
    void setShown(const QString &field, bool shown);
    // A field the form does not show, set in the record it saves.
    void setFieldValue(const QString &field, const data::FieldValue &value)
    {
        m_extra[field] = value;
    }
    bool isShown(const QString &field) const;
    bool lookUp(const QString &field) { return pressLookup(editor(field)); }
    QWidget *editor(const QString &field) const { return m_editors.value(field.section(u':', -1)); }
    bool isChanged() const;
    // OK: checks the entries and writes the record; false while the form stays open.
    bool save();
    // Cancel: asks before changes are dropped; false while the form stays open.
    bool cancel();
    // Checks the spelling of the text entries, asking `decide` about each word
    // not in the dictionary; ends with "The spelling check is complete.".
    void checkSpelling(const SpellChecker::Decide &decide);

protected:
    void reject() override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void display(const data::Record &record);
    void showEntries(const data::Record &record);
    // The entries into the record; the reason when an entry cannot be taken.
    QString collect(data::Record &record) const;
    bool pressLookup(QWidget *editor);
    void showCaseMenu(QLineEdit *editor, const QString &field, const QPoint &position);
    void applyCase(QLineEdit *editor, const QString &field);

    Definition m_definition;
    data::Session &m_session;
    Prompter &m_prompter;
    Warn m_warn;
    data::Table &m_table;
    data::Request m_request;
    std::unique_ptr<data::Record>
        m_original;                        // as read (change, delete, view) or as started (insert)
    std::unique_ptr<data::Record> m_shown; // the entries as the form showed them
    QMap<QString, QWidget *> m_editors;    // by field name without prefix
    QMap<QWidget *, const Control *> m_controls;
    QFormLayout *m_form = nullptr;
    bool m_leaving = false; // a "left" check is running (it may open a lookup)
    bool m_saved = false;   // the response when the form closes: lookups set it on their own
    QMap<QString, data::FieldValue> m_extra; // fields set by the screen, not shown
};

} // namespace qaveq
