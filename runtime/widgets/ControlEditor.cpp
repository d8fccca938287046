#include "ControlEditor.h"

#include "runtime/widgets/ControlEditors.h"
#include "runtime/widgets/EntryEditor.h"

#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace qaveq {

using forms::ControlKind;

std::unique_ptr<ControlEditor> ControlEditor::create(EditorHost &host,
                                                     const forms::Control &control, QWidget *parent)
{
    switch (control.kind) {
    case ControlKind::Entry:
        return std::make_unique<EntryEditor>(host, control, parent);
    case ControlKind::CheckBox:
        return std::make_unique<CheckBoxEditor>(host, control, parent);
    case ControlKind::DropList:
        return std::make_unique<DropListEditor>(host, control, parent);
    case ControlKind::RadioGroup:
        return std::make_unique<RadioGroupEditor>(host, control, parent);
    case ControlKind::Display:
        return std::make_unique<DisplayEditor>(host, control, parent);
    case ControlKind::ChildList:
        return std::make_unique<ChildListEditor>(host, control, parent);
    case ControlKind::Button:
        return std::make_unique<ButtonEditor>(host, control, parent);
    case ControlKind::Custom:
        return std::make_unique<PartEditor>(host, control, parent);
    }
    return nullptr;
}

ControlEditor::ControlEditor(EditorHost &host, const forms::Control &control, QWidget *widget)
    : m_host(host)
    , m_control(control)
    , m_widget(widget)
{
    if (!control.tip.isEmpty())
        widget->setToolTip(control.tip);
}

void ControlEditor::setPrompt(QLabel *prompt)
{
    m_prompt = prompt;
    prompt->setBuddy(m_widget);
    addCompanion(prompt);
}

void ControlEditor::markRequired(bool marks)
{
    if (!m_prompt)
        return;
    // A wizard marks only what its own checks ask for; a plain form marks
    // every required entry.
    const bool marked = m_control.marked || (m_control.required && !model().definition().wizard);
    m_prompt->setText(m_control.prompt + (marked && marks ? u" *:"_s : u":"_s));
}

void ControlEditor::refresh(bool staleChoices)
{
    const bool shown = model().isShown(m_control);
    const bool enabled = model().isEnabled(m_control);
    show(enabled, staleChoices);
    m_widget->setVisible(shown);
    if (m_outer)
        m_outer->setVisible(shown);
    for (QWidget *companion : std::as_const(m_companions))
        companion->setVisible(shown);
    if (m_button)
        m_button->setEnabled(enabled);
}

} // namespace qaveq
