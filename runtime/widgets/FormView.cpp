#include "FormView.h"

#include "runtime/AutoEntry.h"
#include "runtime/TextCase.h"
#include "runtime/widgets/FormChildList.h"
#include "runtime/widgets/HelpViewer.h"
#include "runtime/widgets/Icons.h"
#include "runtime/widgets/TypedValues.h"

#include "data/Company.h"
#include "data/RequestScope.h"
#include "data/Table.h"

#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

using forms::ControlKind;

namespace {

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

// The stored value of a choice as the field's type holds it.
data::FieldValue choiceValue(const forms::FormModel &model, const forms::Control &control,
                             const QList<forms::Choice> &choices, int index)
{
    const QString stored = choices.value(index).value;
    if (std::holds_alternative<QString>(model.value(control.field)))
        return stored;
    return stored.toLongLong();
}

int choiceIndex(const forms::FormModel &model, const forms::Control &control,
                const QList<forms::Choice> &choices)
{
    const data::FieldValue current = model.value(control.field);
    const QString stored =
        std::holds_alternative<QString>(current)  ? Text::clip(std::get<QString>(current))
        : std::holds_alternative<qint64>(current) ? QString::number(std::get<qint64>(current))
                                                  : QString();
    for (int i = 0; i < choices.size(); ++i)
        if (choices[i].value == stored)
            return i;
    // A stored value the list does not know shows as its first entry.
    return 0;
}

// The key a caption's "&" gives it ("&Change": C), or a null character.
QChar accessKey(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toUpper();
        ++i; // "&&" is an ampersand shown
    }
    return {};
}

// The caption with its "&" on the first letter whose key is not `used`;
// without one when every letter is taken.
QString withFreeKey(const QString &text, const QSet<QChar> &used)
{
    QString plain = text;
    plain.replace(u"&&"_s, u"\x01"_s).remove(u'&').replace(u"\x01"_s, u"&&"_s);
    for (qsizetype i = 0; i < plain.size(); ++i)
        if (plain[i].isLetterOrNumber() && !used.contains(plain[i].toUpper()) &&
            (i == 0 || plain[i - 1] != u'&'))
            return plain.left(i) + u'&' + plain.mid(i);
    return plain;
}

} // namespace

FormView::FormView(forms::FormModel &model, Extras extras, QWidget *parent)
    : QDialog(parent)
    , m_model(model)
    , m_extras(std::move(extras))
{
    // A form is a dialog: a title and a close button, nothing to minimise.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // A refused request or a record that cannot be read leaves nothing to show.
    if (!m_model.isOpen())
        return;
    setWindowTitle(m_model.caption());
    if (const QString &icon = m_model.definition().icon; !icon.isEmpty())
        setWindowIcon(Icons::icon(icon));
    build();
    // The wizard walks through a new record; a stored one opens on its tabs.
    if (const auto &wizard = m_model.definition().wizard)
        setWizard(m_model.request() == data::Request::Insert && wizard->read && wizard->read());
    refresh();
    m_model.changed = [this] { refresh(); };
    // A narrow form opens as wide as its caption, which says what is being
    // changed and would otherwise be cut short in the title bar. Only its
    // first size: its smallest stays what its controls need.
    const int captionWidth =
        std::min(fontMetrics().horizontalAdvance(windowTitle()) * 5 / 4 + 200, 960);
    if (const QSize wanted = sizeHint(); wanted.width() < captionWidth)
        resize(captionWidth, wanted.height());
}

void FormView::build()
{
    auto *layout = new QVBoxLayout(this);
    const QList<forms::Page> &pages = m_model.definition().pages;
    if (m_model.definition().wizard) {
        m_pageTitle = new QLabel(this);
        QFont font = m_pageTitle->font();
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 1.25);
        m_pageTitle->setFont(font);
        layout->addWidget(m_pageTitle);
    }
    QWidgetList pageWidgets;
    if (pages.size() == 1) {
        pageWidgets.append(buildPage(pages.first()));
        layout->addWidget(pageWidgets.first());
    } else {
        m_tabs = new QTabWidget(this);
        for (const forms::Page &page : pages) {
            pageWidgets.append(buildPage(page));
            m_tabs->addTab(pageWidgets.last(), page.title);
        }
        connect(m_tabs, &QTabWidget::currentChanged, this, [this] { updateWizard(); });
        layout->addWidget(m_tabs, 1);
        // Every tab's title in sight, none behind scroll arrows.
        m_tabs->setMinimumWidth(m_tabs->tabBar()->sizeHint().width() + 24);
    }
    auto *bottom = new QHBoxLayout;
    if (m_model.definition().wizard)
        bottom->addWidget(buildWizard());
    bottom->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    // Alt+O as well as Enter, on every form.
    m_ok->setText(m_model.request() == data::Request::Delete ? u"&Delete"_s : u"&OK"_s);
    const bool help = std::any_of(pages.cbegin(), pages.cend(), [](const forms::Page &page) {
        return !page.helpTopic.isEmpty();
    });
    if (help) {
        QPushButton *button = buttons->addButton(QDialogButtonBox::Help);
        button->setText(u"&Help"_s);
        connect(button, &QPushButton::clicked, this,
                [this] { HelpViewer::showTopic(currentHelpTopic(), this); });
    }
    // Every form with words to type offers to check them.
    const bool words =
        std::any_of(m_controls.cbegin(), m_controls.cend(), [this](const forms::Control *control) {
            return spellCheckable(m_controls.key(control), *control);
        });
    if (words && m_model.isEditable()) {
        QPushButton *spelling = buttons->addButton(u"Spe&lling"_s, QDialogButtonBox::ActionRole);
        connect(spelling, &QPushButton::clicked, this,
                [this] { checkSpelling(askAboutWord(this)); });
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &FormView::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &FormView::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    QList<QAbstractButton *> frame = buttons->buttons();
    if (m_back)
        frame << m_back << m_next;
    giveUniqueAccessKeys(pageWidgets, frame);
}

void FormView::giveUniqueAccessKeys(const QWidgetList &pages, const QList<QAbstractButton *> &frame)
{
    // The tabs and the frame's buttons are in sight on every page and keep
    // their keys, and so do a page's own buttons before the standard buttons
    // of its lists (Add, Change...); a button whose key is taken gets a letter of its own, so
    // that Alt+C goes to the Cost Categories tab, never to a Change button.
    QSet<QChar> shared;
    for (int i = 0; m_tabs && i < m_tabs->count(); ++i)
        shared.insert(accessKey(m_tabs->tabText(i)));
    for (const QAbstractButton *button : frame)
        shared.insert(accessKey(button->text()));
    for (QWidget *page : pages) {
        QList<QAbstractButton *> own;
        QList<QAbstractButton *> lists;
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
            const bool inList = std::any_of(m_childLists.cbegin(), m_childLists.cend(),
                                            [button](const FormChildList *list) {
                                                return list->standardButtons().contains(button);
                                            });
            (inList ? lists : own).append(button);
        }
        QSet<QChar> used = shared;
        QList<QAbstractButton *> taken;
        for (QAbstractButton *button : own + lists) {
            const QChar key = accessKey(button->text());
            if (key.isNull())
                continue;
            if (used.contains(key))
                taken.append(button);
            used.insert(key);
        }
        for (QAbstractButton *button : std::as_const(taken)) {
            button->setText(withFreeKey(button->text(), used));
            used.insert(accessKey(button->text()));
        }
    }
}

QWidget *FormView::buildWizard()
{
    auto *panel = new QWidget(this);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    m_wizardBox = new QCheckBox(u"Wizard"_s, panel);
    connect(m_wizardBox, &QCheckBox::toggled, this, [this](bool on) {
        setWizard(on);
        m_model.definition().wizard->write(on);
    });
    row->addWidget(m_wizardBox);
    m_legend = new QLabel(u"* Required Entry"_s, panel);
    row->addWidget(m_legend);
    m_back = new QPushButton(u"< &Back"_s, panel);
    m_next = new QPushButton(u"&Next >>"_s, panel);
    for (QPushButton *button : {m_back, m_next}) {
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    connect(m_back, &QPushButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(currentPage() + 1); });
    return panel;
}

int FormView::currentPage() const
{
    return m_tabs ? m_tabs->currentIndex() : 0;
}

void FormView::showPage(int page)
{
    if (m_tabs && page >= 0 && page < m_tabs->count())
        m_tabs->setCurrentIndex(page);
    updateWizard();
}

void FormView::setWizard(bool on)
{
    if (!m_model.definition().wizard)
        return;
    m_wizard = on;
    {
        const QSignalBlocker quiet(m_wizardBox);
        m_wizardBox->setChecked(on);
    }
    if (m_tabs)
        m_tabs->tabBar()->setVisible(!on);
    if (on)
        showPage(0);
    updateWizard();
}

void FormView::updateWizard()
{
    // The required marks show only while the form walks through its pages;
    // forms without a wizard always show them.
    const bool marks = !m_model.definition().wizard || m_wizard;
    for (auto it = m_prompts.cbegin(); it != m_prompts.cend(); ++it) {
        const forms::Control &control = *it.value();
        const bool marked = control.marked || (control.required && !m_model.definition().wizard);
        it.key()->setText(control.prompt + (marked && marks ? u" *:"_s : u":"_s));
    }
    if (!m_model.definition().wizard)
        return;
    const int pages = m_tabs ? m_tabs->count() : 1;
    bool requiredDone = true;
    for (const forms::Control *control : std::as_const(m_controls))
        if ((control->required || control->marked) && m_model.isShown(*control) &&
            m_model.text(control->field).trimmed().isEmpty())
            requiredDone = false;
    const forms::WizardButtons state =
        forms::wizardButtons(currentPage(), pages, m_wizard, requiredDone);
    m_pageTitle->setVisible(m_wizard);
    m_pageTitle->setText(m_model.definition().pages.value(currentPage()).title.remove(u'&'));
    m_legend->setVisible(m_wizard);
    m_back->setVisible(m_wizard);
    m_next->setVisible(m_wizard);
    m_back->setEnabled(state.back);
    m_next->setEnabled(state.next);
    m_ok->setEnabled(state.finish);
    if (m_model.request() != data::Request::Delete)
        m_ok->setText(m_wizard ? u"&Finish"_s : u"&OK"_s);
}

QWidget *FormView::buildPage(const forms::Page &page)
{
    auto *widget = new QWidget(this);
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(m_tabs ? layout->contentsMargins() : QMargins());
    for (const forms::Group &group : page.groups) {
        QWidget *box = group.title.isEmpty() && !group.titleOf ? new QWidget(widget)
                                                               : new QGroupBox(group.title, widget);
        if (group.titleOf)
            m_groupTitles.insert(static_cast<QGroupBox *>(box), &group);
        auto *grid = new QGridLayout(box);
        if (!qobject_cast<QGroupBox *>(box))
            grid->setContentsMargins(0, 0, 0, 0);
        const int first = group.columnTitles.isEmpty() ? 0 : 1;
        for (int c = 0; c < group.columnTitles.size(); ++c) {
            auto *heading =
                new QLabel(u"<b>%1</b>"_s.arg(group.columnTitles[c].toHtmlEscaped()), box);
            grid->addWidget(heading, 0, 2 * c + 1);
        }
        bool lists = false;
        for (int r = 0; r < group.rows.size(); ++r) {
            const QList<forms::Control> &controls = group.rows[r].controls;
            const bool wide = std::all_of(controls.cbegin(), controls.cend(), [](const auto &c) {
                return c.kind == ControlKind::ChildList || c.kind == ControlKind::Button ||
                       c.kind == ControlKind::Custom;
            });
            if (wide) {
                // Lists, pictures and rows of buttons take the group's whole width.
                auto *line = new QHBoxLayout;
                bool stretches = false;
                for (const forms::Control &control : controls) {
                    const bool grows = control.kind != ControlKind::Button;
                    line->addWidget(buildControl(control, box), grows ? 1 : 0);
                    stretches = stretches || grows;
                }
                if (!stretches)
                    line->addStretch();
                grid->addLayout(line, first + r, 0, 1, -1);
                grid->setRowStretch(first + r, stretches ? 1 : 0);
                lists = lists || stretches;
                continue;
            }
            for (int c = 0; c < controls.size(); ++c) {
                const forms::Control &control = controls[c];
                QWidget *editor = buildControl(control, box);
                // The last control of a row has the rest of the row.
                const int span = c == controls.size() - 1 ? -1 : 1;
                const bool ownPrompt = control.kind == ControlKind::CheckBox ||
                                       control.kind == ControlKind::Button ||
                                       control.prompt.isEmpty();
                if (ownPrompt) {
                    grid->addWidget(editor, first + r, 2 * c, 1, span == -1 ? -1 : 2,
                                    Qt::AlignLeft);
                } else {
                    auto *label = new QLabel(control.prompt + u':', box);
                    m_prompts.insert(label, &control);
                    QWidget *focus = m_controls.key(&control);
                    label->setBuddy(focus);
                    grid->addWidget(label, first + r, 2 * c);
                    grid->addWidget(editor, first + r, 2 * c + 1, 1, span, Qt::AlignLeft);
                    m_parts[focus].append(label);
                }
            }
        }
        grid->setColumnStretch(grid->columnCount(), 1);
        layout->addWidget(box, lists ? 1 : 0);
    }
    const bool grows = std::any_of(page.groups.cbegin(), page.groups.cend(), [](const auto &g) {
        return std::any_of(g.rows.cbegin(), g.rows.cend(), [](const forms::Row &row) {
            return std::any_of(row.controls.cbegin(), row.controls.cend(), [](const auto &c) {
                return c.kind == ControlKind::ChildList || c.kind == ControlKind::Custom;
            });
        });
    });
    if (!grows)
        layout->addStretch();
    return widget;
}

QWidget *FormView::buildControl(const forms::Control &control, QWidget *parent)
{
    QWidget *editor = nullptr;
    QWidget *shown = nullptr; // what the grid holds: the editor, or the editor with its button
    switch (control.kind) {
    case ControlKind::CheckBox: {
        auto *box = new QCheckBox(control.prompt, parent);
        connect(box, &QCheckBox::toggled, this, [this, &control](bool checked) {
            if (!m_refreshing)
                showFailure(m_model.choose(control.field, qint64(checked ? 1 : 0)));
        });
        editor = box;
        break;
    }
    case ControlKind::DropList: {
        auto *box = new QComboBox(parent);
        for (const forms::Choice &choice : control.choices)
            box->addItem(choice.text);
        if (std::any_of(control.choices.cbegin(), control.choices.cend(),
                        [](const forms::Choice &choice) { return !choice.keypad.isNull(); }))
            box->installEventFilter(this);
        connect(box, &QComboBox::currentIndexChanged, this, [this, &control](int index) {
            if (!m_refreshing)
                showFailure(m_model.choose(
                    control.field, choiceValue(m_model, control, choicesOf(control), index)));
        });
        editor = box;
        break;
    }
    case ControlKind::RadioGroup: {
        auto *box = new QWidget(parent);
        auto *line = new QBoxLayout(
            control.stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, box);
        line->setContentsMargins(0, 0, 0, 0);
        auto *group = new QButtonGroup(box);
        for (int i = 0; i < control.choices.size(); ++i) {
            auto *radio = new QRadioButton(control.choices[i].text, box);
            group->addButton(radio, i);
            line->addWidget(radio);
        }
        line->addStretch();
        connect(group, &QButtonGroup::idClicked, this, [this, &control](int index) {
            if (!m_refreshing)
                showFailure(m_model.choose(
                    control.field, choiceValue(m_model, control, choicesOf(control), index)));
        });
        editor = box;
        break;
    }
    case ControlKind::Display: {
        auto *label = new QLabel(parent);
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
        editor = label;
        break;
    }
    case ControlKind::ChildList: {
        auto *list = new FormChildList(m_model, control, m_extras.caller, parent);
        m_childLists.append(list);
        m_editors.insert(control.field, list->view());
        m_controls.insert(list->view(), &control);
        m_parts[list->view()].append(list);
        return list;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(control.prompt, parent);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, &control] {
            // A button works on what was typed, as OK does.
            m_checking = true;
            const forms::FormModel::Outcome failed = handOverEntries();
            m_checking = false;
            if (failed) {
                showFailure(failed);
                return;
            }
            if (control.onChange) {
                control.onChange(m_model);
                // A button may have changed a list the form chooses from.
                m_staleChoices = true;
                refresh();
            }
        });
        editor = button;
        break;
    }
    case ControlKind::Custom: {
        const auto make = m_extras.parts.value(control.field);
        FormPart *part = make ? make(m_model, parent) : new FormPart(parent);
        m_customParts.append(part);
        editor = part;
        break;
    }
    case ControlKind::Entry: {
        auto *line = new QLineEdit(parent);
        const std::optional<Picture> picture = Picture::tryParse(control.picture);
        const data::FieldDef *field = m_model.schema().field(control.field);
        int width = picture ? picture->width() : 10;
        if (picture && picture->kind() == Picture::Kind::Text) {
            line->setMaxLength(field && field->width > 0 ? std::min(width, field->width) : width);
        } else if (picture && picture->kind() == Picture::Kind::Number) {
            line->setAlignment(Qt::AlignRight);
        }
        if (picture && picture->kind() == Picture::Kind::Date)
            width = 10;
        // An entry is as wide as its picture, so that a short code looks short.
        line->setFixedWidth(
            line->fontMetrics().horizontalAdvance(QString(std::clamp(width, 4, 48) + 2, u'M')) * 3 /
            4);
        line->installEventFilter(this);
        if (control.password)
            line->setEchoMode(QLineEdit::Password);
        else if (picture && picture->kind() == Picture::Kind::Text && !control.code)
            TypedValues::offer(line, typedValuesKey(control));
        if (control.textCase && m_model.definition().caseStore) {
            line->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(line, &QLineEdit::customContextMenuRequested, this,
                    [this, &control](const QPoint &position) { showCaseMenu(control, position); });
            connect(line, &QLineEdit::textEdited, this, [this, &control] { applyCase(control); });
        }
        editor = line;
        if (control.code || !control.pick.isEmpty()) {
            shown = new QWidget(parent);
            auto *row = new QHBoxLayout(shown);
            row->setContentsMargins(0, 0, 0, 0);
            row->addWidget(line);
            auto *button = new QToolButton(shown);
            button->setText(u"..."_s);
            button->setToolTip(u"Look up (F2)"_s);
            button->setFocusPolicy(Qt::NoFocus);
            connect(button, &QToolButton::clicked, this, [this, &control, line] {
                m_checking = true;
                const forms::FormModel::Outcome outcome =
                    m_model.lookUp(control.field, line->text());
                m_checking = false;
                showOutcome(line, control, outcome);
            });
            row->addWidget(button);
            row->addStretch();
            m_lookupButtons.insert(line, button);
        }
        break;
    }
    }
    if (!control.tip.isEmpty())
        editor->setToolTip(control.tip);
    // A value shown twice (a unit beside each meter reading) is found by its
    // first control, the one the user types into.
    if (!m_editors.contains(control.field))
        m_editors.insert(control.field, editor);
    m_controls.insert(editor, &control);
    if (shown)
        m_parts[editor].append(shown);
    return shown ? shown : editor;
}

void FormView::refresh()
{
    m_refreshing = true;
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        QWidget *editor = it.key();
        const forms::Control &control = *it.value();
        const bool shown = m_model.isShown(control);
        const bool enabled = m_model.isEnabled(control);
        switch (control.kind) {
        case ControlKind::Entry: {
            // Only a value the model changed replaces the entry's text: what the
            // user is still typing somewhere else stays as typed.
            auto *line = static_cast<QLineEdit *>(editor);
            const QString text = m_model.text(control.field);
            if (m_shownTexts.value(line) != text || line->text() == m_shownTexts.value(line)) {
                m_shownTexts.insert(line, text);
                if (line->text() != text)
                    line->setText(text);
            }
            line->setReadOnly(!enabled);
            line->setEnabled(enabled || !m_model.isEditable() || control.promptStyle);
            if (control.promptStyle && line->hasFrame() != enabled) {
                line->setFrame(enabled);
                line->setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
                line->setStyleSheet(enabled ? QString()
                                            : u"QLineEdit { background: transparent; }"_s);
            }
            break;
        }
        case ControlKind::CheckBox:
            static_cast<QCheckBox *>(editor)->setChecked(m_model.value(control.field) !=
                                                         data::FieldValue(qint64(0)));
            editor->setEnabled(enabled);
            break;
        case ControlKind::DropList: {
            auto *box = static_cast<QComboBox *>(editor);
            if (control.choicesOf && m_staleChoices) {
                m_choices[&control] = control.choicesOf(m_model);
                box->clear();
                for (const forms::Choice &choice : std::as_const(m_choices[&control]))
                    box->addItem(choice.text);
            }
            box->setCurrentIndex(choiceIndex(m_model, control, choicesOf(control)));
            editor->setEnabled(enabled);
            break;
        }
        case ControlKind::RadioGroup: {
            const QList<QRadioButton *> radios = editor->findChildren<QRadioButton *>();
            if (control.choicesOf)
                m_choices[&control] = control.choicesOf(m_model);
            const QList<forms::Choice> &choices = choicesOf(control);
            const int index = choiceIndex(m_model, control, choices);
            for (int i = 0; i < radios.size(); ++i) {
                radios[i]->setChecked(i == index);
                radios[i]->setText(choices.value(i).text);
            }
            editor->setEnabled(enabled);
            break;
        }
        case ControlKind::Display: {
            const std::optional<Picture> picture = Picture::tryParse(control.picture);
            const data::FieldValue value = m_model.value(control.field);
            QString text = m_model.text(control.field);
            if (picture && picture->kind() == Picture::Kind::Number)
                if (const auto *number = std::get_if<Decimal>(&value))
                    text = picture->format(*number);
            static_cast<QLabel *>(editor)->setText(text);
            break;
        }
        case ControlKind::ChildList:
            for (FormChildList *list : std::as_const(m_childLists))
                if (list->view() == editor)
                    list->refresh();
            break;
        case ControlKind::Button:
            editor->setEnabled(enabled);
            break;
        case ControlKind::Custom:
            static_cast<FormPart *>(editor)->refresh();
            editor->setEnabled(enabled || !m_model.isEditable());
            break;
        }
        editor->setVisible(shown);
        for (QWidget *part : m_parts.value(editor))
            part->setVisible(shown);
        if (QToolButton *button = m_lookupButtons.value(editor))
            button->setEnabled(enabled);
    }
    for (auto it = m_groupTitles.cbegin(); it != m_groupTitles.cend(); ++it)
        it.key()->setTitle(it.value()->titleOf(m_model));
    m_staleChoices = false;
    m_refreshing = false;
    // A required entry made or emptied: Finish follows.
    if (m_wizard)
        updateWizard();
}

const QList<forms::Choice> &FormView::choicesOf(const forms::Control &control) const
{
    const auto found = m_choices.constFind(&control);
    return found != m_choices.cend() ? *found : control.choices;
}

QWidget *FormView::editor(QStringView field) const
{
    for (auto it = m_editors.cbegin(); it != m_editors.cend(); ++it) {
        const data::FieldDef *wanted = m_model.schema().field(field);
        if (it.key() == field || (wanted && wanted == m_model.schema().field(it.key())))
            return it.value();
    }
    return nullptr;
}

void FormView::showFailure(const forms::FormModel::Outcome &outcome)
{
    if (!outcome)
        return;
    QWidget *target = editor(outcome->field);
    if (!target)
        return;
    if (m_tabs)
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->widget(i)->isAncestorOf(target))
                m_tabs->setCurrentIndex(i);
    // After the message box has closed and focus has settled.
    QMetaObject::invokeMethod(
        target,
        [target] {
            target->setFocus(Qt::OtherFocusReason);
            if (auto *line = qobject_cast<QLineEdit *>(target))
                line->selectAll();
        },
        Qt::QueuedConnection);
}

void FormView::showValue(QLineEdit *line, const forms::Control &control,
                         const forms::FormModel::Outcome &outcome)
{
    if (outcome && outcome->keepTyped)
        return;
    const QString text = m_model.text(control.field);
    m_shownTexts.insert(line, text);
    if (line->text() != text)
        line->setText(text);
}

void FormView::showOutcome(QLineEdit *line, const forms::Control &control,
                           const forms::FormModel::Outcome &outcome)
{
    showValue(line, control, outcome);
    showFailure(outcome);
}

forms::FormModel::Outcome FormView::handOverEntries()
{
    for (const forms::Control *each : m_model.controls()) {
        auto *line = qobject_cast<QLineEdit *>(m_editors.value(each->field));
        const forms::Control &control = *each;
        if (!line || !m_model.isEnabled(control) || !m_model.isShown(control) ||
            line->text() == m_model.text(control.field))
            continue;
        if (forms::FormModel::Outcome failed = m_model.edit(control.field, line->text())) {
            showValue(line, control, failed);
            return failed;
        }
    }
    return std::nullopt;
}

bool FormView::ok()
{
    m_checking = true;
    forms::FormModel::Outcome failed = handOverEntries();
    if (!failed)
        failed = m_model.checkAll();
    m_checking = false;
    if (failed) {
        showFailure(failed);
        return false;
    }
    if (!m_model.save())
        return false;
    rememberTypedValues();
    done(Accepted);
    return true;
}

QString FormView::typedValuesKey(const forms::Control &control) const
{
    return m_model.definition().file + u'/' + control.field;
}

void FormView::rememberTypedValues()
{
    AutoEntry *store = AutoEntry::current();
    if (!store)
        return;
    QList<std::pair<QString, QString>> typed;
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it)
        if (auto *line = qobject_cast<QLineEdit *>(it.key()); line && line->completer())
            typed.append({typedValuesKey(*it.value()), line->text()});
    store->remember(typed);
}

void FormView::reject()
{
    const bool typing = std::any_of(m_controls.keyBegin(), m_controls.keyEnd(), [this](QWidget *w) {
        auto *line = qobject_cast<QLineEdit *>(w);
        return line && !line->isReadOnly() && line->text() != m_model.text(m_controls[w]->field);
    });
    switch (m_model.askCancel(typing)) {
    case forms::FormModel::CancelAnswer::Close:
        done(m_model.isSaved() ? Accepted : Rejected);
        break;
    case forms::FormModel::CancelAnswer::Save:
        ok();
        break;
    case forms::FormModel::CancelAnswer::Stay:
        break;
    }
}

void FormView::done(int result)
{
    m_model.session().globalResponse =
        m_model.isSaved() ? data::Response::Completed : data::Response::Cancelled;
    QDialog::done(result);
    // The window below gets the keyboard back at once, not after a click.
    if (QWidget *below = parentWidget())
        below->activateWindow();
}

void FormView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2) {
        const forms::Control *control = m_controls.value(focusWidget());
        auto *line = qobject_cast<QLineEdit *>(focusWidget());
        if (control && line && (control->code || !control->pick.isEmpty())) {
            m_checking = true;
            const forms::FormModel::Outcome outcome = m_model.lookUp(control->field, line->text());
            m_checking = false;
            showOutcome(line, *control, outcome);
            return;
        }
    }
    if (event->key() == Qt::Key_F1) {
        HelpViewer::showTopic(currentHelpTopic(), this);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FormView::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *box = qobject_cast<QComboBox *>(watched); box && event->type() == QEvent::KeyPress) {
        const auto *press = static_cast<QKeyEvent *>(event);
        const forms::Control *owner = m_controls.value(box);
        if (owner && press->modifiers().testFlag(Qt::KeypadModifier) && !press->text().isEmpty())
            for (int i = 0; i < owner->choices.size(); ++i)
                if (owner->choices[i].keypad == press->text().front()) {
                    box->setCurrentIndex(i);
                    return true;
                }
    }
    auto *line = qobject_cast<QLineEdit *>(watched);
    const forms::Control *control = line ? m_controls.value(line) : nullptr;
    if (control && !line->isReadOnly() && !m_checking) {
        if (event->type() == QEvent::FocusIn)
            m_model.enter(control->field);
        // Leaving for another window (a message box, a lookup) is not leaving the entry.
        if (event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason &&
            line->text() != m_model.text(control->field)) {
            m_checking = true;
            const forms::FormModel::Outcome outcome = m_model.edit(control->field, line->text());
            m_checking = false;
            showOutcome(line, *control, outcome);
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString FormView::currentHelpTopic() const
{
    const QList<forms::Page> &pages = m_model.definition().pages;
    const int page = m_tabs ? m_tabs->currentIndex() : 0;
    return pages.value(page).helpTopic;
}

void FormView::applyCase(const forms::Control &control)
{
    auto *line = qobject_cast<QLineEdit *>(editor(control.field));
    const QString field = m_model.schema().qualified(*m_model.schema().field(control.field));
    const auto mode =
        TextCase::fromCode(m_model.definition().caseStore(TextCase::queryRequest(field)));
    if (!line || !mode || *mode == TextCase::Mode::Small)
        return;
    const int cursor = line->cursorPosition();
    const QString cased = TextCase::apply(line->text(), *mode);
    if (cased != line->text()) {
        line->setText(cased);
        line->setCursorPosition(cursor);
    }
}

void FormView::showCaseMenu(const forms::Control &control, const QPoint &position)
{
    const QString field = m_model.schema().qualified(*m_model.schema().field(control.field));
    const auto &store = m_model.definition().caseStore;
    const auto current = TextCase::fromCode(store(TextCase::queryRequest(field)));
    QMenu menu(this);
    auto *choices = new QActionGroup(&menu);
    for (TextCase::Mode mode :
         {TextCase::Mode::Small, TextCase::Mode::Capitalized, TextCase::Mode::AllCaps}) {
        QAction *action = menu.addAction(TextCase::menuText(mode));
        action->setCheckable(true);
        action->setChecked(current == mode);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, &control, &store, field, mode] {
            store(TextCase::storeRequest(mode, field));
            applyCase(control);
        });
    }
    menu.exec(editor(control.field)->mapToGlobal(position));
}

bool FormView::spellCheckable(QWidget *editor, const forms::Control &control) const
{
    // Words the user types: not codes looked up in another file or picked from a list.
    auto *line = qobject_cast<QLineEdit *>(editor);
    const data::FieldDef *field = m_model.schema().field(control.field);
    return line && !line->isReadOnly() && field && field->type == data::FieldType::Text &&
           !control.code && control.pick.isEmpty() && control.choices.isEmpty();
}

void FormView::checkSpelling(const SpellChecker::Decide &decide)
{
    SpellChecker checker;
    if (!checker.isAvailable()) {
        m_model.prompter().ask(Message::alert(
            u"Spelling"_s,
            u"The spelling dictionary is not installed:|%1.aff"_s.arg(checker.dictionaryPath())));
        return;
    }
    QList<QLineEdit *> entries;
    QStringList texts;
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        if (spellCheckable(it.key(), *it.value())) {
            auto *line = static_cast<QLineEdit *>(it.key());
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
        m_model.prompter().ask(Message{u"Spelling"_s, u"The spelling check is complete."_s,
                                       u"&OK"_s, 1, Message::Icon::Information});
}

void FormView::run()
{
    if (m_model.isOpen())
        exec();
}

} // namespace qaveq
