#include "ControlEditors.h"

#include "runtime/widgets/FormChildList.h"
#include "runtime/widgets/FormView.h"

#include "core/Picture.h"
#include "core/Text.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace qaveq {

CheckBoxEditor::CheckBoxEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ControlEditor(host, control, new QCheckBox(control.prompt, parent))
{
    connect(static_cast<QCheckBox *>(widget()), &QCheckBox::toggled, this, [this](bool checked) {
        if (!this->host().isRefreshing())
            this->host().showFailure(
                model().choose(this->control().field, qint64(checked ? 1 : 0)));
    });
}

void CheckBoxEditor::show(bool enabled, bool)
{
    static_cast<QCheckBox *>(widget())->setChecked(model().value(control().field) !=
                                                   data::FieldValue(qint64(0)));
    widget()->setEnabled(enabled);
}

const QList<forms::Choice> &ChoiceEditor::choices() const
{
    return m_read ? *m_read : control().choices;
}

void ChoiceEditor::readChoices()
{
    m_read = control().choicesOf(model());
}

void ChoiceEditor::choose(int index)
{
    if (host().isRefreshing())
        return;
    // The stored value as the field's type holds it.
    const QString stored = choices().value(index).value;
    const data::FieldValue value = std::holds_alternative<QString>(model().value(control().field))
                                       ? data::FieldValue(stored)
                                       : data::FieldValue(stored.toLongLong());
    host().showFailure(model().choose(control().field, value));
}

int ChoiceEditor::currentIndex() const
{
    const data::FieldValue current = model().value(control().field);
    const QString stored =
        std::holds_alternative<QString>(current)  ? Text::clip(std::get<QString>(current))
        : std::holds_alternative<qint64>(current) ? QString::number(std::get<qint64>(current))
                                                  : QString();
    const QList<forms::Choice> &shown = choices();
    for (int i = 0; i < shown.size(); ++i)
        if (shown[i].value == stored)
            return i;
    return 0;
}

DropListEditor::DropListEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ChoiceEditor(host, control, new QComboBox(parent))
{
    auto *box = static_cast<QComboBox *>(widget());
    for (const forms::Choice &choice : control.choices)
        box->addItem(choice.text);
    if (std::any_of(control.choices.cbegin(), control.choices.cend(),
                    [](const forms::Choice &choice) { return !choice.keypad.isNull(); }))
        box->installEventFilter(this);
    connect(box, &QComboBox::currentIndexChanged, this, [this](int index) { choose(index); });
}

void DropListEditor::show(bool enabled, bool staleChoices)
{
    auto *box = static_cast<QComboBox *>(widget());
    if (control().choicesOf && staleChoices) {
        readChoices();
        box->clear();
        for (const forms::Choice &choice : choices())
            box->addItem(choice.text);
    }
    box->setCurrentIndex(currentIndex());
    box->setEnabled(enabled);
}

bool DropListEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != widget() || event->type() != QEvent::KeyPress)
        return false;
    const auto *press = static_cast<QKeyEvent *>(event);
    if (!press->modifiers().testFlag(Qt::KeypadModifier) || press->text().isEmpty())
        return false;
    const QList<forms::Choice> &declared = control().choices;
    for (int i = 0; i < declared.size(); ++i)
        if (declared[i].keypad == press->text().front()) {
            static_cast<QComboBox *>(widget())->setCurrentIndex(i);
            return true;
        }
    return false;
}

RadioGroupEditor::RadioGroupEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ChoiceEditor(host, control, new QWidget(parent))
{
    QWidget *box = widget();
    auto *line =
        new QBoxLayout(control.stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, box);
    line->setContentsMargins(0, 0, 0, 0);
    auto *group = new QButtonGroup(box);
    for (int i = 0; i < control.choices.size(); ++i) {
        auto *radio = new QRadioButton(control.choices[i].text, box);
        group->addButton(radio, i);
        line->addWidget(radio);
    }
    line->addStretch();
    connect(group, &QButtonGroup::idClicked, this, [this](int index) { choose(index); });
}

void RadioGroupEditor::show(bool enabled, bool)
{
    // A label the user names may have changed with any value.
    if (control().choicesOf)
        readChoices();
    const QList<QRadioButton *> radios = widget()->findChildren<QRadioButton *>();
    const int index = currentIndex();
    for (int i = 0; i < radios.size(); ++i) {
        radios[i]->setChecked(i == index);
        radios[i]->setText(choices().value(i).text);
    }
    widget()->setEnabled(enabled);
}

DisplayEditor::DisplayEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ControlEditor(host, control, new QLabel(parent))
{
    auto *label = static_cast<QLabel *>(widget());
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const std::optional<Picture> picture = Picture::tryParse(control.picture);
    if (picture && picture->kind() == Picture::Kind::Number)
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // As wide as its picture from the start: a longer description read
    // later neither widens the form nor is cut short.
    if (picture && picture->width() > 0) {
        label->setMinimumWidth(
            label->fontMetrics().averageCharWidth() * std::min(picture->width(), 60) + 8);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
}

void DisplayEditor::show(bool, bool)
{
    const std::optional<Picture> picture = Picture::tryParse(control().picture);
    const data::FieldValue value = model().value(control().field);
    QString text = model().text(control().field);
    if (picture && picture->kind() == Picture::Kind::Number)
        if (const auto *number = std::get_if<Decimal>(&value))
            text = picture->format(*number);
    static_cast<QLabel *>(widget())->setText(text);
}

ButtonEditor::ButtonEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ControlEditor(host, control, new QPushButton(control.prompt, parent))
{
    auto *button = static_cast<QPushButton *>(widget());
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this] {
        const forms::FormModel::Outcome failed =
            this->host().runCheck([this] { return this->host().handOverEntries(); });
        if (failed) {
            this->host().showFailure(failed);
            return;
        }
        if (this->control().onChange) {
            this->control().onChange(model());
            // A button may have changed a list the form chooses from.
            this->host().choicesChanged();
        }
    });
}

void ButtonEditor::show(bool enabled, bool)
{
    widget()->setEnabled(enabled);
}

ChildListEditor::ChildListEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ChildListEditor(host, control,
                      new FormChildList(host.model(), control, host.extras().caller, parent))
{}

ChildListEditor::ChildListEditor(EditorHost &host, const forms::Control &control,
                                 FormChildList *list)
    : ControlEditor(host, control, list->view())
    , m_list(list)
{
    setOuter(list);
}

QList<QAbstractButton *> ChildListEditor::standardButtons() const
{
    QList<QAbstractButton *> buttons;
    for (QPushButton *button : m_list->standardButtons())
        buttons.append(button);
    return buttons;
}

void ChildListEditor::show(bool, bool)
{
    m_list->refresh();
}

PartEditor::PartEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : PartEditor(host, control, [&host, &control, parent] {
        const auto make = host.extras().parts.value(control.field);
        return make ? make(host.model(), parent) : new FormPart(parent);
    }())
{}

PartEditor::PartEditor(EditorHost &host, const forms::Control &control, FormPart *part)
    : ControlEditor(host, control, part)
    , m_part(part)
{}

void PartEditor::show(bool enabled, bool)
{
    m_part->refresh();
    m_part->setEnabled(enabled || !model().isEditable());
}

} // namespace qaveq
