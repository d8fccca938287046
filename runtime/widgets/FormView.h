#pragma once

#include "runtime/SpellChecker.h"
#include "runtime/forms/FormModel.h"

#include <QDialog>
#include <QMap>

#include <functional>

class QTabWidget;
class QToolButton;

namespace qaveq {

class KeyedListModel;

// The window of a form: built from the form's declared pages, groups and rows,
// its controls bound to the form model, which holds the values and every rule.
// Leaving an entry hands its text to the model; OK and Enter hand over the
// entry being typed in, run every check again and put the cursor on the first
// that fails; only then is the record written.
class FormView : public QDialog
{
    Q_OBJECT

public:
    // Calls a procedure by name with the request already set (a child list's
    // form).
    using ProcedureCaller = std::function<void(const QString &procedure)>;

    FormView(forms::FormModel &model, ProcedureCaller caller = {}, QWidget *parent = nullptr);

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

protected:
    void reject() override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    QWidget *buildPage(const forms::Page &page);
    QWidget *buildControl(const forms::Control &control, QWidget *parent);
    QWidget *buildChildList(const forms::Control &control, QWidget *parent);
    void refresh();
    void showFailure(const forms::FormModel::Outcome &outcome);
    // Hands every entry whose text differs from the model's to the model.
    forms::FormModel::Outcome handOverEntries();
    void showCaseMenu(const forms::Control &control, const QPoint &position);
    void applyCase(const forms::Control &control);
    QString currentHelpTopic() const;

    forms::FormModel &m_model;
    ProcedureCaller m_caller;
    QTabWidget *m_tabs = nullptr;
    QMap<QString, QWidget *> m_editors;                 // by field name as declared
    QMap<QWidget *, const forms::Control *> m_controls; // by editor
    QMap<QWidget *, QList<QWidget *>> m_parts;      // by editor: its prompt and box, shown with it
    QMap<QWidget *, QToolButton *> m_lookupButtons; // by editor
    QList<KeyedListModel *> m_childLists;
    QMap<QWidget *, QString> m_shownTexts; // by entry: the model's text it was last given
    bool m_refreshing = false;             // values are being shown: no user action
    bool m_checking = false;               // a check runs (it may open a lookup)
};

} // namespace qaveq
