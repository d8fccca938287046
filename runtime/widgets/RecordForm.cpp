#include "RecordForm.h"

#include "runtime/StandardWarnings.h"
#include "runtime/TextCase.h"
#include "runtime/widgets/HelpViewer.h"

#include "data/Company.h"
#include "data/Table.h"

#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

QString entryText(const data::FieldDef &field, const data::FieldValue &value,
                  const QString &picture)
{
    switch (field.type) {
    case data::FieldType::Text:
        return Text::clip(std::get<QString>(value));
    case data::FieldType::Decimal:
        return std::get<Decimal>(value).isZero() ? QString()
                                                 : std::get<Decimal>(value).toString(field.places);
    case data::FieldType::Date:
        return Picture::parse(picture.isEmpty() ? u"@d2"_s : picture)
            .format(std::get<qint64>(value));
    case data::FieldType::Integer:
    case data::FieldType::Time:
        return std::get<qint64>(value) == 0 ? QString() : QString::number(std::get<qint64>(value));
    }
    return {};
}

// A typed date: m/d/yy or m/d/yyyy; empty is no date.
std::optional<qint64> parseDate(const QString &text)
{
    if (text.trimmed().isEmpty())
        return 0;
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3)
        return std::nullopt;
    bool okMonth = false, okDay = false, okYear = false;
    const int month = parts[0].toInt(&okMonth);
    const int day = parts[1].toInt(&okDay);
    int year = parts[2].toInt(&okYear);
    if (!okMonth || !okDay || !okYear)
        return std::nullopt;
    if (parts[2].size() <= 2)
        year = SuiteDate::expandYear(year, QDate::currentDate().year());
    const DayNumber date = SuiteDate::fromYmd(year, month, day);
    return date == 0 ? std::nullopt : std::optional<qint64>(date);
}

// Asks about one word not in the dictionary: change it (to a suggestion or
// what the user types), ignore it once or everywhere, or stop.
SpellChecker::Decide askAboutWord(QWidget *parent)
{
    return [parent](const QString &word, const QStringList &suggestions) {
        QDialog dialog(parent);
        dialog.setWindowTitle(u"Spelling"_s);
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(
            new QLabel(u"Not in the dictionary: <b>%1</b>"_s.arg(word.toHtmlEscaped()), &dialog));
        auto *replacement = new QComboBox(&dialog);
        replacement->setEditable(true);
        replacement->addItems(suggestions.isEmpty() ? QStringList{word} : suggestions);
        layout->addWidget(replacement);
        auto *buttons = new QDialogButtonBox(&dialog);
        using Kind = SpellChecker::Decision::Kind;
        Kind chosen = Kind::Stop;
        const auto add = [&](const QString &text, Kind kind) {
            QPushButton *button = buttons->addButton(text, QDialogButtonBox::ActionRole);
            QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &chosen, kind] {
                chosen = kind;
                dialog.accept();
            });
            return button;
        };
        add(u"&Change"_s, Kind::Change)->setDefault(true);
        add(u"&Ignore"_s, Kind::Ignore);
        add(u"Ignore &All"_s, Kind::IgnoreAll);
        add(u"Cancel"_s, Kind::Stop);
        layout->addWidget(buttons);
        dialog.exec();
        return SpellChecker::Decision{chosen, replacement->currentText()};
    };
}

} // namespace

RecordForm::RecordForm(Definition definition, data::Session &session, Prompter &prompter, Warn warn,
                       QWidget *parent)
    : QDialog(parent)
    , m_definition(std::move(definition))
    , m_session(session)
    , m_prompter(prompter)
    , m_warn(std::move(warn))
    , m_table(session.company->file(m_definition.file))
    , m_request(session.globalRequest)
{
    session.globalResponse = data::Response::Cancelled;
    data::Record &buffer = session.buffer(m_table.schema());
    if (m_request == data::Request::Insert) {
        m_original = m_table.schema().create();
        if (m_definition.prime)
            m_definition.prime(*m_original);
    } else {
        // The stored record: by its row when the buffer came from a list,
        // else by the first unique key the caller put into the buffer.
        m_original = buffer.clone();
        const data::KeyDef *key = m_table.schema().firstUniqueKey();
        const bool found = buffer.rowId() != 0
                               ? m_table.reread(*m_original).isOk()
                               : key && m_table.fetch(key->name, *m_original).isOk();
        if (!found)
            m_original = buffer.clone();
    }
    build();
    display(*m_original);
    if (m_definition.opened)
        m_definition.opened(*this);
}

void RecordForm::build()
{
    switch (m_request) {
    case data::Request::Insert:
        setWindowTitle(m_definition.insertCaption);
        break;
    case data::Request::Change:
        setWindowTitle(m_definition.changeCaption);
        break;
    case data::Request::Delete:
        setWindowTitle(m_definition.deleteCaption);
        break;
    default:
        setWindowTitle(u"View Record"_s);
    }
    const bool editable = m_request == data::Request::Insert || m_request == data::Request::Change;
    auto *form = new QFormLayout;
    m_form = form;
    for (const Control &control : std::as_const(m_definition.controls)) {
        const data::FieldDef *field = m_table.schema().field(control.field);
        Q_ASSERT(field);
        QWidget *editor = nullptr;
        switch (control.kind) {
        case Control::Kind::CheckBox:
            editor = new QCheckBox(control.prompt, this);
            break;
        case Control::Kind::DropList: {
            auto *box = new QComboBox(this);
            box->addItems(control.choices);
            editor = box;
            break;
        }
        case Control::Kind::Entry: {
            auto *line = new QLineEdit(this);
            const Picture picture = Picture::parse(control.picture);
            if (picture.kind() == Picture::Kind::Text)
                line->setMaxLength(std::min(picture.width(), field->width));
            if (picture.kind() == Picture::Kind::Number)
                line->setAlignment(Qt::AlignRight);
            const int characters =
                picture.kind() == Picture::Kind::Date ? 10 : std::clamp(picture.width(), 4, 40);
            line->setMinimumWidth(
                line->fontMetrics().horizontalAdvance(QString(characters + 2, u'M')) * 3 / 4);
            editor = line;
            break;
        }
        }
        editor->setEnabled(editable);
        editor->installEventFilter(this);
        const QString name = field->name;
        if (auto *box = qobject_cast<QComboBox *>(editor))
            connect(box, &QComboBox::currentIndexChanged, this, [this, name] {
                if (m_definition.changed)
                    m_definition.changed(*this, name);
            });
        if (auto *box = qobject_cast<QCheckBox *>(editor))
            connect(box, &QCheckBox::toggled, this, [this, name] {
                if (m_definition.changed)
                    m_definition.changed(*this, name);
            });
        if (auto *line = qobject_cast<QLineEdit *>(editor);
            line && control.textCase && m_definition.caseStore) {
            const QString name = m_table.schema().qualified(*field);
            line->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(
                line, &QWidget::customContextMenuRequested, this,
                [this, line, name](const QPoint &position) { showCaseMenu(line, name, position); });
            connect(line, &QLineEdit::textEdited, this,
                    [this, line, name] { applyCase(line, name); });
        }
        m_editors.insert(field->name, editor);
        m_controls.insert(editor, &control);
        QWidget *row = editor;
        if (control.lookup) {
            row = new QWidget(this);
            auto *line = new QHBoxLayout(row);
            line->setContentsMargins(0, 0, 0, 0);
            line->addWidget(editor);
            auto *button = new QToolButton(row);
            button->setText(u"..."_s);
            button->setToolTip(u"Look up (F2)"_s);
            button->setEnabled(editable);
            connect(button, &QToolButton::clicked, this, [this, editor] { pressLookup(editor); });
            line->addWidget(button);
            line->addStretch();
        }
        const QString prompt = control.required ? control.prompt + u" *"_s : control.prompt;
        if (control.kind == Control::Kind::CheckBox)
            form->addRow(QString(), row);
        else
            form->addRow(prompt + u':', row);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    if (m_request == data::Request::Delete)
        buttons->button(QDialogButtonBox::Ok)->setText(u"&Delete"_s);
    if (!m_definition.helpTopic.isEmpty()) {
        QPushButton *help = buttons->addButton(QDialogButtonBox::Help);
        connect(help, &QPushButton::clicked, this,
                [this] { HelpViewer::showTopic(m_definition.helpTopic, this); });
    }
    if (m_definition.spellCheck && editable) {
        QPushButton *spelling = buttons->addButton(u"Spe&lling"_s, QDialogButtonBox::ActionRole);
        connect(spelling, &QPushButton::clicked, this,
                [this] { checkSpelling(askAboutWord(this)); });
    }
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &RecordForm::reject);
    layout->addWidget(buttons);
}

void RecordForm::display(const data::Record &record)
{
    showEntries(record);
    for (const Control &control : std::as_const(m_definition.controls)) {
        auto *line = qobject_cast<QLineEdit *>(m_editors.value(control.field.section(u':', -1)));
        if (line && control.textCase && m_definition.caseStore && line->isEnabled())
            applyCase(line, m_table.schema().qualified(*m_table.schema().field(control.field)));
    }
    // "Changed" means changed from what the user was shown.
    m_shown = record.clone();
    collect(*m_shown);
}

void RecordForm::showEntries(const data::Record &record)
{
    for (const Control &control : std::as_const(m_definition.controls)) {
        const data::FieldDef *field = m_table.schema().field(control.field);
        QWidget *editor = m_editors.value(field->name);
        const data::FieldValue value = field->get(record);
        switch (control.kind) {
        case Control::Kind::CheckBox:
            static_cast<QCheckBox *>(editor)->setChecked(std::get<qint64>(value) != 0);
            break;
        case Control::Kind::DropList: {
            const QString stored = field->type == data::FieldType::Text
                                       ? Text::clip(std::get<QString>(value))
                                       : QString::number(std::get<qint64>(value));
            // A stored value the list does not know shows as its first entry.
            static_cast<QComboBox *>(editor)->setCurrentIndex(
                std::max<int>(0, control.values.indexOf(stored)));
            break;
        }
        case Control::Kind::Entry:
            static_cast<QLineEdit *>(editor)->setText(entryText(*field, value, control.picture));
            break;
        }
    }
}

QString RecordForm::collect(data::Record &record) const
{
    for (const Control &control : std::as_const(m_definition.controls)) {
        const data::FieldDef *field = m_table.schema().field(control.field);
        QWidget *editor = m_editors.value(field->name);
        data::FieldValue value;
        switch (control.kind) {
        case Control::Kind::CheckBox:
            value = qint64(static_cast<QCheckBox *>(editor)->isChecked() ? 1 : 0);
            break;
        case Control::Kind::DropList: {
            const QString stored =
                control.values.value(static_cast<QComboBox *>(editor)->currentIndex());
            value = field->type == data::FieldType::Text ? data::FieldValue(stored)
                                                         : data::FieldValue(stored.toLongLong());
            break;
        }
        case Control::Kind::Entry: {
            const QString text = static_cast<QLineEdit *>(editor)->text();
            switch (field->type) {
            case data::FieldType::Text:
                value = Text::clip(text);
                break;
            case data::FieldType::Decimal: {
                const std::optional<Decimal> number = Decimal::parse(text);
                if (!number || !number->fits(field->digits, field->places))
                    return u"%1 must be a number that fits %2 digits with %3 places."_s
                        .arg(control.prompt)
                        .arg(field->digits)
                        .arg(field->places);
                value = number->stored(field->digits, field->places);
                break;
            }
            case data::FieldType::Date: {
                const std::optional<qint64> date = parseDate(text);
                if (!date)
                    return u"%1 must be a date such as 3/31/2025."_s.arg(control.prompt);
                value = *date;
                break;
            }
            case data::FieldType::Integer:
            case data::FieldType::Time: {
                bool ok = text.trimmed().isEmpty();
                const qint64 number = ok ? 0 : text.trimmed().toLongLong(&ok);
                if (!ok || number < field->minimum || number > field->maximum)
                    return u"%1 must be a whole number from %2 to %3."_s.arg(control.prompt)
                        .arg(field->minimum)
                        .arg(field->maximum);
                value = number;
                break;
            }
            }
            if (control.required && text.trimmed().isEmpty())
                return u"%1 is a required entry."_s.arg(control.prompt);
            break;
        }
        }
        field->set(record, value);
    }
    for (auto it = m_extra.cbegin(); it != m_extra.cend(); ++it)
        record.setValue(it.key(), it.value());
    return {};
}

bool RecordForm::isChanged() const
{
    std::unique_ptr<data::Record> current = m_original->clone();
    if (!collect(*current).isEmpty())
        return true;
    for (const data::FieldDef &field : m_table.schema().fields)
        if (field.get(*current) != field.get(*m_shown))
            return true;
    return false;
}

bool RecordForm::save()
{
    data::Record &buffer = m_session.buffer(m_table.schema());
    if (m_request == data::Request::View) {
        return true;
    }
    if (m_definition.beforeSave && !m_definition.beforeSave(*this))
        return false;
    if (m_request == data::Request::Delete) {
        if (m_warn(32, {}, {}) != 1)
            return false;
        std::unique_ptr<data::Record> stored = m_original->clone();
        if (const data::FileStatus status = m_table.remove(*stored); !status) {
            m_warn(17, m_table.schema().name, {});
            return false;
        }
        m_saved = true;
        m_session.globalResponse = data::Response::Completed;
        return true;
    }
    std::unique_ptr<data::Record> record = m_original->clone();
    if (const QString problem = collect(*record); !problem.isEmpty()) {
        m_prompter.ask(Message{windowTitle(), problem, u"&OK"_s, 1, Message::Icon::Exclamation});
        return false;
    }
    const data::FileStatus status = m_request == data::Request::Insert
                                        ? m_table.insert(*record)
                                        : m_table.updateIfUnchanged(*record, *m_original);
    if (!status) {
        const data::FileError &error = status.error();
        if (error.code == data::FileErrorCode::DuplicateKey) {
            const data::KeyDef *key = m_table.schema().firstUniqueKey();
            m_warn(24, key ? m_table.schema().prefix + u':' + key->name : QString(), {});
        } else if (error.code == data::FileErrorCode::RecordChanged) {
            // Another station changed the record: show theirs, keep the form open.
            m_warn(38, {}, {});
            if (m_table.reread(*m_original))
                display(*m_original);
        } else {
            m_warn(m_request == data::Request::Insert ? 14 : 15, error.text(), {});
        }
        return false;
    }
    buffer.assign(*record);
    m_saved = true;
    m_session.globalResponse = data::Response::Completed;
    return true;
}

bool RecordForm::cancel()
{
    const bool editable = m_request == data::Request::Insert || m_request == data::Request::Change;
    if (!editable || !isChanged())
        return true;
    if (m_request == data::Request::Insert)
        return m_warn(23, {}, {}) == 1;
    switch (m_warn(33, {}, {})) {
    case 1:
        return save();
    case 2:
        return true;
    default:
        return false;
    }
}

void RecordForm::reject()
{
    if (cancel())
        done(m_saved ? Accepted : Rejected);
}

void RecordForm::done(int result)
{
    m_session.globalResponse = m_saved ? data::Response::Completed : data::Response::Cancelled;
    QDialog::done(result);
}

void RecordForm::applyCase(QLineEdit *editor, const QString &field)
{
    const auto mode = TextCase::fromCode(m_definition.caseStore(TextCase::queryRequest(field)));
    if (!mode || *mode == TextCase::Mode::Small)
        return;
    const int cursor = editor->cursorPosition();
    const QString cased = TextCase::apply(editor->text(), *mode);
    if (cased != editor->text()) {
        editor->setText(cased);
        editor->setCursorPosition(cursor);
    }
}

void RecordForm::showCaseMenu(QLineEdit *editor, const QString &field, const QPoint &position)
{
    const auto current = TextCase::fromCode(m_definition.caseStore(TextCase::queryRequest(field)));
    QMenu menu(this);
    auto *choices = new QActionGroup(&menu);
    for (TextCase::Mode mode :
         {TextCase::Mode::Small, TextCase::Mode::Capitalized, TextCase::Mode::AllCaps}) {
        QAction *action = menu.addAction(TextCase::menuText(mode));
        action->setCheckable(true);
        action->setChecked(current == mode);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, editor, field, mode] {
            m_definition.caseStore(TextCase::storeRequest(mode, field));
            applyCase(editor, field);
        });
    }
    menu.exec(editor->mapToGlobal(position));
}

bool RecordForm::pressLookup(QWidget *editor)
{
    const Control *control = m_controls.value(editor);
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!control || !control->lookup || !line || !line->isEnabled())
        return false;
    if (const std::optional<QString> chosen = control->lookup(line->text())) {
        line->setText(*chosen);
        return true;
    }
    line->setFocus();
    return false;
}

void RecordForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2 && pressLookup(focusWidget()))
        return;
    QDialog::keyPressEvent(event);
}

void RecordForm::checkSpelling(const SpellChecker::Decide &decide)
{
    SpellChecker checker;
    if (!checker.isAvailable()) {
        m_prompter.ask(Message{
            u"Spelling"_s,
            u"The spelling dictionary is not installed:|%1.aff"_s.arg(checker.dictionaryPath()),
            u"&OK"_s, 1, Message::Icon::Exclamation});
        return;
    }
    QList<QLineEdit *> entries;
    QStringList texts;
    for (const Control &control : std::as_const(m_definition.controls)) {
        auto *line = qobject_cast<QLineEdit *>(m_editors.value(control.field.section(u':', -1)));
        if (line && line->isEnabled() &&
            m_table.schema().field(control.field)->type == data::FieldType::Text) {
            entries.append(line);
            texts.append(line->text());
        }
    }
    bool stopped = false;
    const QStringList corrected = checker.check(texts, decide, &stopped);
    for (int i = 0; i < entries.size(); ++i)
        if (corrected[i] != texts[i])
            entries[i]->setText(corrected[i].left(entries[i]->maxLength()));
    if (!stopped)
        m_prompter.ask(Message{u"Spelling"_s, u"The spelling check is complete."_s, u"&OK"_s, 1,
                               Message::Icon::Information});
}

RecordForm::Warn RecordForm::warningsOf(data::ErrorManager &errors)
{
    return [&errors](int number, const QString &text1, const QString &text2) {
        return StandardWarnings(errors).show(number, text1, text2);
    };
}

QString RecordForm::text(const QString &field) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor(field)))
        return line->text();
    return {};
}

void RecordForm::setText(const QString &field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(editor(field)))
        line->setText(text);
}

int RecordForm::choice(const QString &field) const
{
    auto *box = qobject_cast<QComboBox *>(editor(field));
    return box ? box->currentIndex() : -1;
}

void RecordForm::setChoice(const QString &field, int index)
{
    if (auto *box = qobject_cast<QComboBox *>(editor(field)))
        box->setCurrentIndex(index);
}

void RecordForm::setShown(const QString &field, bool shown)
{
    QWidget *widget = editor(field);
    if (!widget)
        return;
    // The row holds the entry, or the entry's box with its lookup button.
    QWidget *row = widget->parentWidget() != this ? widget->parentWidget() : widget;
    m_form->setRowVisible(row, shown);
}

bool RecordForm::isShown(const QString &field) const
{
    QWidget *widget = editor(field);
    QWidget *row = widget && widget->parentWidget() != this ? widget->parentWidget() : widget;
    return row && m_form->isRowVisible(row);
}

bool RecordForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *line = qobject_cast<QLineEdit *>(watched);
    const Control *control = line ? m_controls.value(line) : nullptr;
    if (control && line->isEnabled()) {
        const QString name = control->field.section(u':', -1);
        if (event->type() == QEvent::FocusIn && m_definition.entered && !m_leaving)
            m_definition.entered(*this, name);
        if (event->type() == QEvent::FocusOut && m_definition.left && !m_leaving &&
            !line->text().trimmed().isEmpty()) {
            m_leaving = true;
            const bool accepted = m_definition.left(*this, name);
            m_leaving = false;
            if (!accepted)
                QMetaObject::invokeMethod(line, qOverload<>(&QWidget::setFocus),
                                          Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RecordForm::run()
{
    exec();
}

} // namespace qaveq
