#include "EntryEditor.h"

#include "runtime/TextCase.h"
#include "runtime/widgets/TypedValues.h"

#include "data/FileSchema.h"

#include "core/Picture.h"

#include <QActionGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace qaveq {

EntryEditor::EntryEditor(EditorHost &host, const forms::Control &control, QWidget *parent)
    : ControlEditor(host, control, new QLineEdit(parent))
{
    QLineEdit *entry = line();
    const std::optional<Picture> picture = Picture::tryParse(control.picture);
    const data::FieldDef *field = model().schema().field(control.field);
    int width = picture ? picture->width() : 10;
    if (picture && picture->kind() == Picture::Kind::Text) {
        entry->setMaxLength(field && field->width > 0 ? std::min(width, field->width) : width);
    } else if (picture && picture->kind() == Picture::Kind::Number) {
        entry->setAlignment(Qt::AlignRight);
    }
    if (picture && picture->kind() == Picture::Kind::Date)
        width = 10;
    // An entry is as wide as its picture, so that a short code looks short.
    entry->setFixedWidth(
        entry->fontMetrics().horizontalAdvance(QString(std::clamp(width, 4, 48) + 2, u'M')) * 3 /
        4);
    entry->installEventFilter(this);
    if (control.password)
        entry->setEchoMode(QLineEdit::Password);
    else if (picture && picture->kind() == Picture::Kind::Text && !control.code)
        TypedValues::offer(entry, typedValuesKey());
    if (control.textCase && model().definition().caseStore) {
        entry->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(entry, &QLineEdit::customContextMenuRequested, this,
                [this](const QPoint &position) { showCaseMenu(position); });
        connect(entry, &QLineEdit::textEdited, this, [this] { applyCase(); });
    }
    if (control.code || !control.pick.isEmpty())
        addLookupButton(parent);
}

QLineEdit *EntryEditor::line() const
{
    return static_cast<QLineEdit *>(widget());
}

void EntryEditor::addLookupButton(QWidget *parent)
{
    auto *outer = new QWidget(parent);
    auto *row = new QHBoxLayout(outer);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(line());
    auto *button = new QToolButton(outer);
    button->setText(u"..."_s);
    button->setToolTip(u"Look up (F2)"_s);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this] { lookUp(); });
    row->addWidget(button);
    row->addStretch();
    setOuter(outer);
    setCompanionButton(button);
}

void EntryEditor::show(bool enabled, bool)
{
    // Only a value the model changed replaces the entry's text: what the
    // user is still typing somewhere else stays as typed.
    QLineEdit *entry = line();
    const QString text = model().text(control().field);
    if (m_shownText != text || entry->text() == m_shownText) {
        m_shownText = text;
        if (entry->text() != text)
            entry->setText(text);
    }
    entry->setReadOnly(!enabled);
    entry->setEnabled(enabled || !model().isEditable() || control().promptStyle);
    if (control().promptStyle && entry->hasFrame() != enabled) {
        entry->setFrame(enabled);
        entry->setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
        entry->setStyleSheet(enabled ? QString() : u"QLineEdit { background: transparent; }"_s);
    }
}

bool EntryEditor::isTyping() const
{
    return !line()->isReadOnly() && line()->text() != model().text(control().field);
}

forms::FormModel::Outcome EntryEditor::handOver()
{
    if (!model().isEnabled(control()) || !model().isShown(control()) ||
        line()->text() == model().text(control().field))
        return std::nullopt;
    forms::FormModel::Outcome failed = model().edit(control().field, line()->text());
    if (failed)
        showValue(failed);
    return failed;
}

bool EntryEditor::lookUp()
{
    if (!control().code && control().pick.isEmpty())
        return false;
    const QString typed = line()->text();
    showOutcome(host().runCheck([this, &typed] { return model().lookUp(control().field, typed); }));
    return true;
}

bool EntryEditor::isSpellCheckable() const
{
    // Words the user types: not codes looked up in another file or picked from a list.
    const data::FieldDef *field = model().schema().field(control().field);
    return !line()->isReadOnly() && field && field->type == data::FieldType::Text &&
           !control().code && control().pick.isEmpty() && control().choices.isEmpty();
}

QString EntryEditor::typedValuesKey() const
{
    return model().definition().file + u'/' + control().field;
}

std::optional<std::pair<QString, QString>> EntryEditor::typedValue() const
{
    if (!line()->completer())
        return std::nullopt;
    return std::pair{typedValuesKey(), line()->text()};
}

void EntryEditor::showValue(const forms::FormModel::Outcome &outcome)
{
    if (outcome && outcome->keepTyped)
        return;
    const QString text = model().text(control().field);
    m_shownText = text;
    if (line()->text() != text)
        line()->setText(text);
}

void EntryEditor::showOutcome(const forms::FormModel::Outcome &outcome)
{
    showValue(outcome);
    host().showFailure(outcome);
}

bool EntryEditor::eventFilter(QObject *watched, QEvent *event)
{
    QLineEdit *entry = line();
    if (watched != entry || entry->isReadOnly() || host().isChecking())
        return false;
    if (event->type() == QEvent::FocusIn)
        model().enter(control().field);
    // Leaving for another window (a message box, a lookup) is not leaving the entry.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            entry->text() != model().text(control().field)) {
            const QString typed = entry->text();
            showOutcome(
                host().runCheck([this, &typed] { return model().edit(control().field, typed); }));
        }
    }
    return false;
}

QString EntryEditor::qualifiedField() const
{
    return model().schema().qualified(*model().schema().field(control().field));
}

void EntryEditor::applyCase()
{
    const QString field = qualifiedField();
    const auto mode =
        TextCase::fromCode(model().definition().caseStore(TextCase::queryRequest(field)));
    if (!mode || *mode == TextCase::Mode::Small)
        return;
    QLineEdit *entry = line();
    const int cursor = entry->cursorPosition();
    const QString cased = TextCase::apply(entry->text(), *mode);
    if (cased != entry->text()) {
        entry->setText(cased);
        entry->setCursorPosition(cursor);
    }
}

void EntryEditor::showCaseMenu(const QPoint &position)
{
    const QString field = qualifiedField();
    const auto &store = model().definition().caseStore;
    const auto current = TextCase::fromCode(store(TextCase::queryRequest(field)));
    QMenu menu(line()->window());
    auto *choices = new QActionGroup(&menu);
    for (TextCase::Mode mode :
         {TextCase::Mode::Small, TextCase::Mode::Capitalized, TextCase::Mode::AllCaps}) {
        QAction *action = menu.addAction(TextCase::menuText(mode));
        action->setCheckable(true);
        action->setChecked(current == mode);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, &store, field, mode] {
            store(TextCase::storeRequest(mode, field));
            applyCase();
        });
    }
    menu.exec(line()->mapToGlobal(position));
}

} // namespace qaveq
