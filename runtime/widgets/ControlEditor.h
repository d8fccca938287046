#pragma once

#include "runtime/forms/FormModel.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QAbstractButton;
class QLabel;
class QWidget;

namespace qaveq {

struct FormExtras;

// What an editor needs of the form window it sits on: the model, the
// window's state while values are shown or a check runs, and where a failed
// check puts the cursor.
class EditorHost
{
public:
    virtual forms::FormModel &model() const = 0;
    virtual const FormExtras &extras() const = 0;
    // Values are being shown: a widget's change is no user action.
    virtual bool isRefreshing() const = 0;
    // A check runs (it may open a lookup): leaving an entry meanwhile is not
    // the user leaving it.
    virtual bool isChecking() const = 0;
    // Runs `check` as such a check.
    virtual forms::FormModel::Outcome
    runCheck(const std::function<forms::FormModel::Outcome()> &check) = 0;
    // Shows the tab of the control that failed and puts the cursor on it.
    virtual void showFailure(const forms::FormModel::Outcome &outcome) = 0;
    // Hands every entry whose text differs from the model's to the model.
    virtual forms::FormModel::Outcome handOverEntries() = 0;
    // A button changed what the form's lists choose from: read them again.
    virtual void choicesChanged() = 0;

protected:
    ~EditorHost() = default;
};

// One control of a form on screen, of one kind: it builds its widget, shows
// the model's value in it again on refresh, and hands what the user does to
// the model. The form window lays the editors out and composes them.
class ControlEditor : public QObject
{
public:
    // The editor for the control's kind, its widgets children of `parent`.
    // The form window owns it: it goes before the widgets it watches.
    static std::unique_ptr<ControlEditor> create(EditorHost &host, const forms::Control &control,
                                                 QWidget *parent);

    const forms::Control &control() const { return m_control; }
    // The widget that holds the value and takes the cursor.
    QWidget *widget() const { return m_widget; }
    // What the form's grid holds: the widget, or the widget with its buttons.
    QWidget *outer() const { return m_outer ? m_outer : m_widget; }
    // The control's prompt beside it, which marks a required entry.
    void setPrompt(QLabel *prompt);
    void markRequired(bool marks);

    // Shows the model's value, and the control shown or hidden, enabled or
    // not; `staleChoices`: lists the form reads choose from may have changed.
    void refresh(bool staleChoices);

    // Entries only: what the user typed and has not left yet.
    virtual bool isTyping() const { return false; }
    virtual forms::FormModel::Outcome handOver() { return std::nullopt; }
    // The lookup of F2; false when the control has none.
    virtual bool lookUp() { return false; }
    // Words the user types, which the spelling check reads.
    virtual bool isSpellCheckable() const { return false; }
    // The text remembered for the entry's completion, by its key.
    virtual std::optional<std::pair<QString, QString>> typedValue() const { return std::nullopt; }
    // Buttons every list has, which give way to the screen's own access keys.
    virtual QList<QAbstractButton *> standardButtons() const { return {}; }

protected:
    ControlEditor(EditorHost &host, const forms::Control &control, QWidget *widget);

    // Shows the value; `enabled` is the model's rule for the control.
    virtual void show(bool enabled, bool staleChoices) = 0;
    // Puts the widget into a frame of its own with its buttons.
    void setOuter(QWidget *outer) { m_outer = outer; }
    // The widgets shown and hidden with the control (the prompt, a frame).
    void addCompanion(QWidget *companion) { m_companions.append(companion); }
    // The widget enabled with the control besides the value's own (a lookup button).
    void setCompanionButton(QWidget *button) { m_button = button; }

    forms::FormModel &model() const { return m_host.model(); }
    EditorHost &host() const { return m_host; }

private:
    EditorHost &m_host;
    const forms::Control &m_control;
    QWidget *m_widget;
    QWidget *m_outer = nullptr;
    QLabel *m_prompt = nullptr;
    QWidget *m_button = nullptr;
    QList<QWidget *> m_companions;
};

} // namespace qaveq
