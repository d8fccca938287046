#pragma once

#include "runtime/widgets/ControlEditor.h"

namespace qaveq {

class FormChildList;
class FormPart;

// A box the user ticks: the field holds 1 or 0.
class CheckBoxEditor final : public ControlEditor
{
public:
    CheckBoxEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

protected:
    void show(bool enabled, bool staleChoices) override;
};

// A value chosen from the control's choices, or from choices the form reads
// while it is open: the choice's stored value goes into the field.
class ChoiceEditor : public ControlEditor
{
protected:
    using ControlEditor::ControlEditor;

    const QList<forms::Choice> &choices() const;
    // Reads the choices again, for a control whose choices change.
    void readChoices();
    // The user chose entry `index`.
    void choose(int index);
    // The entry of the field's value; a stored value the list does not know
    // shows as its first entry.
    int currentIndex() const;

private:
    std::optional<QList<forms::Choice>> m_read; // read while the form is open
};

class DropListEditor final : public ChoiceEditor
{
public:
    DropListEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

protected:
    void show(bool enabled, bool staleChoices) override;
    // A key of the numeric keypad picks the entry it stands for.
    bool eventFilter(QObject *watched, QEvent *event) override;
};

class RadioGroupEditor final : public ChoiceEditor
{
public:
    RadioGroupEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

protected:
    void show(bool enabled, bool staleChoices) override;
};

// A value shown, not typed: right-aligned when it is a number.
class DisplayEditor final : public ControlEditor
{
public:
    DisplayEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

protected:
    void show(bool enabled, bool staleChoices) override;
};

// A button that works on what was typed, as OK does, then runs the control's
// behaviour.
class ButtonEditor final : public ControlEditor
{
public:
    ButtonEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

protected:
    void show(bool enabled, bool staleChoices) override;
};

// The records of another file that belong to the form's record.
class ChildListEditor final : public ControlEditor
{
public:
    ChildListEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

    QList<QAbstractButton *> standardButtons() const override;

protected:
    void show(bool enabled, bool staleChoices) override;

private:
    ChildListEditor(EditorHost &host, const forms::Control &control, FormChildList *list);

    FormChildList *m_list;
};

// A part the screen builds itself (a photograph...), or an empty one when
// the screen gives none.
class PartEditor final : public ControlEditor
{
public:
    PartEditor(EditorHost &host, const forms::Control &control, QWidget *parent);

protected:
    void show(bool enabled, bool staleChoices) override;

private:
    PartEditor(EditorHost &host, const forms::Control &control, FormPart *part);

    FormPart *m_part;
};

} // namespace qaveq
