#pragma once

#include "runtime/SpellChecker.h"
#include "runtime/forms/FormModel.h"

#include <QDialog>
#include <QMap>

#include <functional>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace qaveq {

class FormChildList;

// A part of a form that the screen builds itself (a photograph, a preview):
// it shows the form's values again whenever they change.
class FormPart : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;
    virtual void refresh() {}
};

// What a screen adds to its declared form: how its lists call their row
// forms (a procedure by name, the request already set), and the parts it
// builds itself, by the field naming their Custom control.
struct FormExtras
{
    std::function<void(const QString &procedure)> caller = {};
    QMap<QString, std::function<FormPart *(forms::FormModel &, QWidget *parent)>> parts = {};
};

// The window of a form: built from the form's declared pages, groups and rows,
// its controls bound to the form model, which holds the values and every rule.
// Leaving an entry hands its text to the model; OK and Enter hand over the
// entry being typed in, run every check again and put the cursor on the first
// that fails; only then is the record written.
class FormView : public QDialog
{
    Q_OBJECT

public:
    using Extras = FormExtras;

    FormView(forms::FormModel &model, Extras extras = {}, QWidget *parent = nullptr);

    // Opens the form modally, unless the model refused to open (it has said
    // why and answered cancelled).
    void run();

    forms::FormModel &model() const { return m_model; }
    // The widget of a control, by its field name.
    QWidget *editor(QStringView field) const;
    // OK: hands over the entries, checks, writes; true when the form closed.
    bool ok();
    // Checks the spelling of the text entries, asking `decide` about each word
    // not in the dictionary; ends with "The spelling check is complete.".
    void checkSpelling(const SpellChecker::Decide &decide);
    // The page shown (a tab, or the wizard's step); 0-based.
    int currentPage() const;
    void showPage(int page);
    // Walks through the pages one at a time (forms that offer it).
    void setWizard(bool on);
    bool isWizard() const { return m_wizard; }

protected:
    void reject() override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A text entry the spelling check reads: typed words, not codes or choices.
    bool spellCheckable(QWidget *editor, const forms::Control &control) const;
    void build();
    // No two controls in sight share an access key.
    void giveUniqueAccessKeys(const QWidgetList &pages, const QList<QAbstractButton *> &frame);
    QWidget *buildPage(const forms::Page &page);
    QWidget *buildControl(const forms::Control &control, QWidget *parent);
    QWidget *buildWizard();
    void updateWizard();
    void refresh();
    const QList<forms::Choice> &choicesOf(const forms::Control &control) const;
    void showFailure(const forms::FormModel::Outcome &outcome);
    // After an entry was handed to the model: it shows the value the checks
    // left, unless what was typed is no value and stays to be corrected.
    void showValue(QLineEdit *line, const forms::Control &control,
                   const forms::FormModel::Outcome &outcome);
    void showOutcome(QLineEdit *line, const forms::Control &control,
                     const forms::FormModel::Outcome &outcome);
    // Hands every entry whose text differs from the model's to the model.
    forms::FormModel::Outcome handOverEntries();
    void showCaseMenu(const forms::Control &control, const QPoint &position);
    void applyCase(const forms::Control &control);
    QString currentHelpTopic() const;
    // Typed values remembered while the suite's switch is on: offered in the
    // entry as the user types, kept when the form is saved.
    QString typedValuesKey(const forms::Control &control) const;
    void rememberTypedValues();

    forms::FormModel &m_model;
    Extras m_extras;
    QTabWidget *m_tabs = nullptr;
    QPushButton *m_ok = nullptr;
    QCheckBox *m_wizardBox = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QLabel *m_pageTitle = nullptr;
    QLabel *m_legend = nullptr;
    bool m_wizard = false;
    QMap<QLabel *, const forms::Control *> m_prompts;             // to mark the required ones
    QMap<QGroupBox *, const forms::Group *> m_groupTitles;        // titles that follow the values
    QMap<const forms::Control *, QList<forms::Choice>> m_choices; // choices read while open
    bool m_staleChoices = true;
    QMap<QString, QWidget *> m_editors;                 // by field name as declared
    QMap<QWidget *, const forms::Control *> m_controls; // by editor
    QMap<QWidget *, QList<QWidget *>> m_parts;      // by editor: its prompt and box, shown with it
    QMap<QWidget *, QToolButton *> m_lookupButtons; // by editor
    QList<FormChildList *> m_childLists;
    QList<FormPart *> m_customParts;
    QMap<QWidget *, QString> m_shownTexts; // by entry: the model's text it was last given
    bool m_refreshing = false;             // values are being shown: no user action
    bool m_checking = false;               // a check runs (it may open a lookup)
};

} // namespace qaveq
