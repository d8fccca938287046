#pragma once

#include "runtime/SpellChecker.h"
#include "runtime/forms/FormModel.h"
#include "runtime/widgets/ControlEditor.h"

#include <QDialog>
#include <QMap>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace qaveq {

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
// one editor per control bound to the form model, which holds the values and
// every rule. Leaving an entry hands its text to the model; OK and Enter hand
// over the entry being typed in, run every check again and put the cursor on
// the first that fails; only then is the record written.
class FormView : public QDialog, private EditorHost
{
    Q_OBJECT

public:
    using Extras = FormExtras;

    FormView(forms::FormModel &model, Extras extras = {}, QWidget *parent = nullptr);
    ~FormView() override;

    // Opens the form modally, unless the model refused to open (it has said
    // why and answered cancelled).
    void run();

    forms::FormModel &model() const override { return m_model; }
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

private:
    const FormExtras &extras() const override { return m_extras; }
    bool isRefreshing() const override { return m_refreshing; }
    bool isChecking() const override { return m_checking; }
    forms::FormModel::Outcome
    runCheck(const std::function<forms::FormModel::Outcome()> &check) override;
    void showFailure(const forms::FormModel::Outcome &outcome) override;
    forms::FormModel::Outcome handOverEntries() override;
    void choicesChanged() override;

    void build();
    // No two controls in sight share an access key.
    void giveUniqueAccessKeys(const QWidgetList &pages, const QList<QAbstractButton *> &frame);
    QWidget *buildPage(const forms::Page &page);
    ControlEditor &buildControl(const forms::Control &control, QWidget *parent);
    QWidget *buildWizard();
    void updateWizard();
    void refresh();
    ControlEditor *editorOf(const QWidget *widget) const;
    QString currentHelpTopic() const;
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
    QMap<QGroupBox *, const forms::Group *> m_groupTitles; // titles that follow the values
    std::vector<std::unique_ptr<ControlEditor>> m_editors; // in the order declared
    QMap<QString, ControlEditor *> m_byField;              // by field name as declared
    bool m_staleChoices = true;
    bool m_refreshing = false; // values are being shown: no user action
    bool m_checking = false;   // a check runs (it may open a lookup)
};

} // namespace qaveq
