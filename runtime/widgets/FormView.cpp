#include "FormView.h"

#include "runtime/AutoEntry.h"
#include "runtime/widgets/HelpViewer.h"
#include "runtime/widgets/Icons.h"

#include "core/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
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

// The editors go before the widgets they watch.
FormView::~FormView() = default;

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
    const bool words = std::any_of(m_editors.cbegin(), m_editors.cend(),
                                   [](const auto &editor) { return editor->isSpellCheckable(); });
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
            const bool inList =
                std::any_of(m_editors.cbegin(), m_editors.cend(), [button](const auto &editor) {
                    return editor->standardButtons().contains(button);
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
    for (const auto &editor : m_editors)
        editor->markRequired(marks);
    if (!m_model.definition().wizard)
        return;
    const int pages = m_tabs ? m_tabs->count() : 1;
    bool requiredDone = true;
    for (const auto &editor : m_editors) {
        const forms::Control &control = editor->control();
        if ((control.required || control.marked) && m_model.isShown(control) &&
            m_model.text(control.field).trimmed().isEmpty())
            requiredDone = false;
    }
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
                    line->addWidget(buildControl(control, box).outer(), grows ? 1 : 0);
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
                ControlEditor &editor = buildControl(control, box);
                // The last control of a row has the rest of the row.
                const int span = c == controls.size() - 1 ? -1 : 1;
                const bool ownPrompt = control.kind == ControlKind::CheckBox ||
                                       control.kind == ControlKind::Button ||
                                       control.prompt.isEmpty();
                if (ownPrompt) {
                    grid->addWidget(editor.outer(), first + r, 2 * c, 1, span == -1 ? -1 : 2,
                                    Qt::AlignLeft);
                } else {
                    auto *label = new QLabel(control.prompt + u':', box);
                    editor.setPrompt(label);
                    grid->addWidget(label, first + r, 2 * c);
                    grid->addWidget(editor.outer(), first + r, 2 * c + 1, 1, span, Qt::AlignLeft);
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

ControlEditor &FormView::buildControl(const forms::Control &control, QWidget *parent)
{
    m_editors.push_back(ControlEditor::create(*this, control, parent));
    ControlEditor &editor = *m_editors.back();
    // A value shown twice (a unit beside each meter reading) is found by its
    // first control, the one the user types into.
    if (!m_byField.contains(control.field))
        m_byField.insert(control.field, &editor);
    return editor;
}

void FormView::refresh()
{
    m_refreshing = true;
    for (const auto &editor : m_editors)
        editor->refresh(m_staleChoices);
    for (auto it = m_groupTitles.cbegin(); it != m_groupTitles.cend(); ++it)
        it.key()->setTitle(it.value()->titleOf(m_model));
    m_staleChoices = false;
    m_refreshing = false;
    // A required entry made or emptied: Finish follows.
    if (m_wizard)
        updateWizard();
}

void FormView::choicesChanged()
{
    m_staleChoices = true;
    refresh();
}

forms::FormModel::Outcome
FormView::runCheck(const std::function<forms::FormModel::Outcome()> &check)
{
    m_checking = true;
    forms::FormModel::Outcome outcome = check();
    m_checking = false;
    return outcome;
}

ControlEditor *FormView::editorOf(const QWidget *widget) const
{
    for (const auto &editor : m_editors)
        if (editor->widget() == widget)
            return editor.get();
    return nullptr;
}

QWidget *FormView::editor(QStringView field) const
{
    for (auto it = m_byField.cbegin(); it != m_byField.cend(); ++it) {
        const data::FieldDef *wanted = m_model.schema().field(field);
        if (it.key() == field || (wanted && wanted == m_model.schema().field(it.key())))
            return it.value()->widget();
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

forms::FormModel::Outcome FormView::handOverEntries()
{
    // In the order the cursor visits them; a value shown twice is typed into
    // its first control.
    for (const forms::Control *each : m_model.controls())
        if (ControlEditor *editor = m_byField.value(each->field))
            if (forms::FormModel::Outcome failed = editor->handOver())
                return failed;
    return std::nullopt;
}

bool FormView::ok()
{
    const forms::FormModel::Outcome failed = runCheck([this] {
        forms::FormModel::Outcome handed = handOverEntries();
        return handed ? handed : m_model.checkAll();
    });
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

void FormView::rememberTypedValues()
{
    AutoEntry *store = AutoEntry::current();
    if (!store)
        return;
    QList<std::pair<QString, QString>> typed;
    for (const auto &editor : m_editors)
        if (std::optional<std::pair<QString, QString>> value = editor->typedValue())
            typed.append(*value);
    store->remember(typed);
}

void FormView::reject()
{
    const bool typing = std::any_of(m_editors.cbegin(), m_editors.cend(),
                                    [](const auto &editor) { return editor->isTyping(); });
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
    if (event->key() == Qt::Key_F2)
        if (ControlEditor *editor = editorOf(focusWidget()); editor && editor->lookUp())
            return;
    if (event->key() == Qt::Key_F1) {
        HelpViewer::showTopic(currentHelpTopic(), this);
        return;
    }
    QDialog::keyPressEvent(event);
}

QString FormView::currentHelpTopic() const
{
    const QList<forms::Page> &pages = m_model.definition().pages;
    const int page = m_tabs ? m_tabs->currentIndex() : 0;
    return pages.value(page).helpTopic;
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
    for (const auto &editor : m_editors) {
        if (editor->isSpellCheckable()) {
            auto *line = static_cast<QLineEdit *>(editor->widget());
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
