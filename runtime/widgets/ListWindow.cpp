#include "ListWindow.h"

#include "runtime/DebugLog.h"

#include "core/Prompter.h"
#include "runtime/ListLayout.h"
#include "runtime/StandardWarnings.h"
#include "runtime/widgets/HelpViewer.h"
#include "runtime/widgets/ListExport.h"
#include "runtime/widgets/QtFileChooser.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace qaveq {

ListWindow::ListWindow(Definition definition, data::Session &session, Prompter &prompter,
                       ProcedureCaller caller, QWidget *parent)
    : QDialog(parent)
    , m_definition(std::move(definition))
    , m_session(session)
    , m_prompter(prompter)
    , m_caller(std::move(caller))
    , m_selecting(session.globalRequest == data::Request::Select)
{
    session.globalResponse = data::Response::Cancelled;
    if (m_selecting)
        m_reason = std::exchange(session.lookupReason, QString());
    data::Table &table = session.company->file(m_definition.file);
    m_model = new KeyedListModel(table, m_definition.columns, this);
    if (!m_definition.keys.isEmpty())
        m_model->setKey(m_definition.keys.first().key);
    m_model->setRange(m_definition.rangeFrom, m_definition.rangeTo);
    m_model->setFilters(m_definition.filters);
    buildUi();

    // A lookup opens on the value the caller put into the buffer.
    const KeyChoice *first = m_definition.keys.isEmpty() ? nullptr : &m_definition.keys.first();
    QString start;
    if (m_selecting && first && !first->locatorField.isEmpty())
        start =
            std::get<QString>(session.buffer(table.schema()).value(first->locatorField)).trimmed();
    if (start.isEmpty())
        m_model->reload();
    else
        locate(start);
    if (const std::optional<data::FileError> error = m_model->error()) {
        // The list still opens, over the whole file, so the user can go on.
        const std::optional<StandardWarnings::Warning> warning =
            StandardWarnings::describe(36, {}, {}, error->cause(), error->code);
        m_prompter.ask(warning->message);
        m_model->setRange({}, {});
        m_model->setFilters({});
        m_model->reload();
    }
    applyLayout();
    // A code that is not on file: the list stands where it would be, and
    // the user highlights the entry wanted (Enter picks nothing before).
    if (!m_reason.isEmpty())
        m_view->selectionModel()->clearSelection();
    // A lookup is for finding: what is typed goes into the locator.
    if (m_selecting && m_locator->isEnabled())
        m_locator->setFocus();
}

ListWindow::~ListWindow()
{
    if (m_counting)
        m_counting->waitForFinished();
}

void ListWindow::buildUi()
{
    setWindowTitle(m_definition.title);
    auto *layout = new QVBoxLayout(this);

    if (!m_reason.isEmpty()) {
        auto *reason = new QLabel(m_reason, this);
        reason->setObjectName(u"lookupReason"_s);
        reason->setWordWrap(true);
        QFont bold = reason->font();
        bold.setBold(true);
        reason->setFont(bold);
        layout->addWidget(reason);
    }
    auto *top = new QHBoxLayout;
    if (m_definition.keys.size() > 1) {
        m_order = new QComboBox(this);
        for (const KeyChoice &choice : std::as_const(m_definition.keys))
            m_order->addItem(choice.label);
        top->addWidget(new QLabel(u"Sort:"_s, this));
        top->addWidget(m_order);
        connect(m_order, &QComboBox::currentIndexChanged, this, [this](int index) {
            m_model->setKey(m_definition.keys[index].key);
            m_locator->clear();
            showLocatorColumn();
            m_model->locate({});
            selectRow(0);
        });
    }
    m_locatorLabel = new QLabel(this);
    top->addWidget(m_locatorLabel);
    m_locator = new QLineEdit(this);
    m_locator->setClearButtonEnabled(true);
    m_locatorLabel->setBuddy(m_locator);
    top->addWidget(m_locator, 1);
    showLocatorColumn();
    connect(m_locator, &QLineEdit::textEdited, this, &ListWindow::locate);
    m_locator->installEventFilter(this);
    layout->addLayout(top);

    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows are chosen, not cells: Tab goes on to the buttons.
    m_view->setTabKeyNavigation(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &ListWindow::showContextMenu);
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_selecting)
            choose();
        else if (!m_definition.form.isEmpty())
            callForm(data::Request::Change);
    });
    layout->addWidget(m_view, 1);

    // A list with check boxes has the screen's own buttons beside them, so
    // that the row of the standard buttons stays as wide as the list.
    QHBoxLayout *ownButtons = nullptr;
    if (!m_definition.checks.isEmpty()) {
        ownButtons = new QHBoxLayout;
        for (const Definition::Check &check : std::as_const(m_definition.checks)) {
            auto *box = new QCheckBox(check.text, this);
            box->setChecked(check.checked);
            connect(box, &QCheckBox::toggled, this, check.toggled);
            ownButtons->addWidget(box);
        }
        ownButtons->addStretch();
        layout->addLayout(ownButtons);
    }

    auto *bottom = new QHBoxLayout;
    m_count = new QLabel(this);
    bottom->addWidget(m_count);
    bottom->addStretch();
    if (!m_definition.form.isEmpty()) {
        const std::pair<QString, data::Request> buttons[] = {{u"&Add"_s, data::Request::Insert},
                                                             {u"&Change"_s, data::Request::Change},
                                                             {u"&Delete"_s, data::Request::Delete},
                                                             {u"&View"_s, data::Request::View}};
        for (const auto &[text, request] : buttons) {
            if (!m_definition.formButtons.contains(request))
                continue;
            auto *button = new QPushButton(text, this);
            connect(button, &QPushButton::clicked, this, [this, request] { callForm(request); });
            addExtras(button);
            bottom->addWidget(button);
        }
    }
    for (const auto &[text, action] : std::as_const(m_definition.buttons)) {
        auto *button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, action);
        addExtras(button);
        (ownButtons ? ownButtons : bottom)->addWidget(button);
    }
    auto *sendTo = new QPushButton(u"Send &To..."_s, this);
    connect(sendTo, &QPushButton::clicked, this, &ListWindow::sendTo);
    bottom->addWidget(sendTo);
    m_select = new QPushButton(u"&Select"_s, this);
    m_select->setEnabled(m_selecting);
    m_select->setDefault(m_selecting);
    connect(m_select, &QPushButton::clicked, this, &ListWindow::choose);
    bottom->addWidget(m_select);
    if (!m_definition.helpTopic.isEmpty()) {
        auto *help = new QPushButton(u"&Help"_s, this);
        connect(help, &QPushButton::clicked, this,
                [this] { HelpViewer::showTopic(m_definition.helpTopic, this); });
        bottom->addWidget(help);
    }
    HelpViewer::bindF1(this, m_definition.helpTopic);
    auto *close = new QPushButton(u"Close"_s, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    int width = 40;
    for (const KeyedListModel::Column &column : std::as_const(m_definition.columns))
        width += column.width;
    resize(std::max(width, 480), 460);
}

void ListWindow::addExtras(QPushButton *button)
{
    const auto found = m_definition.buttonExtras.constFind(button->text());
    if (found == m_definition.buttonExtras.cend())
        return;
    button->setToolTip(found->tip);
    if (const auto rightClick = found->rightClick) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [button, rightClick](const QPoint &at) { rightClick(button->mapToGlobal(at)); });
    }
}

void ListWindow::run()
{
    if (currentRow() < 0 && m_reason.isEmpty())
        selectRow(0);
    exec();
}

void ListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Counting a large file reads all of it: the first page is on screen
    // before the count begins, and the count shows when it is made.
    if (m_countOnShow)
        updateCount();
}

QString ListWindow::countText()
{
    if (m_countOnShow)
        updateCount();
    if (QFutureWatcher<qint64> *counting = m_counting) {
        counting->waitForFinished();
        QCoreApplication::sendPostedEvents(counting);
    }
    return m_count->text();
}

void ListWindow::updateCount()
{
    m_countOnShow = false;
    // A count still under way is of the list as it was.
    if (m_counting) {
        m_counting->disconnect(this);
        m_counting->deleteLater();
        m_counting = nullptr;
    }
    if (!m_session.recordCounts) {
        m_count->clear();
        return;
    }
    // The page is shown first; the count follows when it is made.
    const auto show = [this](qint64 count) {
        m_count->setText(count < 0 ? QString() : KeyedListModel::countText(count));
    };
    const QFuture<qint64> count = m_model->countInBackground();
    if (count.isFinished()) {
        show(count.result());
        return;
    }
    m_counting = new QFutureWatcher<qint64>(this);
    connect(m_counting, &QFutureWatcherBase::finished, this, [this, show] {
        show(m_counting->result());
        m_counting->deleteLater();
        m_counting = nullptr;
    });
    m_counting->setFuture(count);
}

const ListWindow::KeyChoice *ListWindow::locatorKey() const
{
    const int choice = m_order ? m_order->currentIndex() : 0;
    if (m_definition.keys.isEmpty() || m_definition.keys[choice].locatorField.isEmpty())
        return nullptr;
    return &m_definition.keys[choice];
}

void ListWindow::showLocatorColumn()
{
    const KeyChoice *key = locatorKey();
    m_locator->setEnabled(key);
    if (!key) {
        m_locatorLabel->setText(u"&Locate:"_s);
        return;
    }
    // The column the locator finds by, as its heading reads.
    QString column = key->locatorField;
    for (const KeyedListModel::Column &c : std::as_const(m_definition.columns))
        if (!c.display && c.field.section(u':', -1) == key->locatorField) {
            column = c.header;
            break;
        }
    m_locatorLabel->setText(u"&Locate %1:"_s.arg(column));
    m_locator->setPlaceholderText(u"the first %1 at or after what you type"_s.arg(column));
}

void ListWindow::locate(const QString &text)
{
    const int choice = m_order ? m_order->currentIndex() : 0;
    if (m_definition.keys.isEmpty() || m_definition.keys[choice].locatorField.isEmpty())
        return;
    const QString name = m_definition.keys[choice].locatorField;
    const data::FieldDef *field = m_model->table().schema().field(name);
    const bool textual = field->type == data::FieldType::Text;
    // The list keeps its beginning and moves to the first entry at or after
    // the text, reading on page by page; far down a long list it starts at
    // that entry instead, so the jump stays instant.
    constexpr int ReadAhead = 5000;
    if (m_model->rowCount() == 0 || !m_model->scanOptions().from.isEmpty() ||
        m_model->scanOptions().from.size() > m_definition.rangeFrom.size())
        m_model->locate({});
    // What the user types finds its entry whatever its case: "ldr" finds LDR-201.
    const auto reached = [&](int row) {
        const data::FieldValue value = m_model->record(row).value(name);
        return textual ? std::get<QString>(value).compare(text, Qt::CaseInsensitive) >= 0
                       : std::get<qint64>(value) >= text.toLongLong();
    };
    for (int row = 0;;) {
        if (row >= m_model->rowCount()) {
            if (!m_model->canFetchMore({}) || row >= ReadAhead)
                break;
            m_model->fetchMore({}); // then look at the same row again
            continue;
        }
        if (text.isEmpty() || reached(row)) {
            selectRow(row);
            return;
        }
        ++row;
    }
    if (m_model->canFetchMore({})) {
        QList<data::FieldValue> position = m_definition.rangeFrom;
        // Keys are kept in character order, where codes are written in
        // capitals: the jump goes to the capitals' place.
        position.append(textual ? data::FieldValue(text.toUpper())
                                : data::FieldValue(text.toLongLong()));
        m_model->locate(position);
        selectRow(0);
        return;
    }
    selectRow(m_model->rowCount() - 1);
}

void ListWindow::selectRow(int row)
{
    if (m_model->rowCount() == 0)
        return;
    row = std::clamp(row, 0, m_model->rowCount() - 1);
    m_view->selectRow(row);
    m_view->scrollTo(m_model->index(row, 0));
}

int ListWindow::currentRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

bool ListWindow::loadBuffer(int row)
{
    std::unique_ptr<data::Record> record = m_model->record(row).clone();
    if (const data::FileStatus status = m_model->table().reread(*record); !status) {
        m_prompter.ask(Message{u"Record Retrieval Error"_s,
                               status.error().text() + u"|The list is read again."_s, u"&OK"_s, 1,
                               Message::Icon::Exclamation});
        m_model->reload();
        updateCount();
        return false;
    }
    m_session.buffer(record->schema()).assign(*record);
    return true;
}

bool ListWindow::loadHighlighted()
{
    const int row = currentRow();
    return row >= 0 && loadBuffer(row);
}

void ListWindow::choose()
{
    const int row = currentRow();
    if (!m_selecting || row < 0 || !loadBuffer(row))
        return;
    m_session.globalResponse = data::Response::Completed;
    accept();
}

void ListWindow::callForm(data::Request request)
{
    // Keys and menus offer no more than the list's buttons do.
    if (m_definition.form.isEmpty() || !m_caller || !m_definition.formButtons.contains(request))
        return;
    const int row = currentRow();
    if (request != data::Request::Insert && (row < 0 || !loadBuffer(row)))
        return;
    const data::Request previous = m_session.globalRequest;
    const auto form = [this, request] {
        m_session.globalRequest = request;
        m_session.globalResponse = data::Response::Cancelled;
        m_caller(m_definition.form);
        return m_session.globalResponse == data::Response::Completed;
    };
    const bool completed =
        m_definition.formRunner ? m_definition.formRunner(request, form) : form();
    m_session.globalRequest = previous;
    // Back in the list, whatever the form's last question was answered with.
    activateWindow();
    m_view->setFocus();
    if (!completed)
        return;
    m_model->reload();
    updateCount();
    // A new record is shown where it stands in the list, highlighted.
    const KeyChoice *key = locatorKey();
    if (request == data::Request::Insert && key) {
        const data::FieldValue added =
            m_session.buffer(m_model->table().schema()).value(key->locatorField);
        locate(std::holds_alternative<QString>(added) ? std::get<QString>(added)
                                                      : QString::number(std::get<qint64>(added)));
        return;
    }
    selectRow(row);
}

void ListWindow::sendTo()
{
    const QString folder = ListExport::defaultFolder(m_definition.exportFolder);
    QDir().mkpath(folder);
    QtFileChooser desktop(this);
    FileChooser &chooser = m_fileChooser ? *m_fileChooser : desktop;
    const QString path =
        chooser.choose(FileChooser::Purpose::Save, u"Send To"_s,
                       QDir(folder).filePath(m_definition.title + u".csv"_s),
                       u"Comma-separated values (*.csv);;Tab-separated text (*.txt)"_s);
    if (path.isEmpty())
        return;
    // The file's ending says which kind of file the user asked for.
    const ListExport::Format kind = path.endsWith(u".txt"_s, Qt::CaseInsensitive)
                                        ? ListExport::Format::Tab
                                        : ListExport::Format::Csv;
    if (const QString problem = ListExport::write(*m_model, path, kind); !problem.isEmpty()) {
        m_prompter.ask(Message{u"Send To"_s, problem, u"&OK"_s, 1, Message::Icon::Exclamation});
        return;
    }
    if (m_prompter.ask(Message{u"Send To"_s,
                               u"The list was written to|%1.||Open it now?"_s.arg(path),
                               u"&Yes|&No"_s, 2, Message::Icon::Question}) == 1)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ListWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Insert:
        callForm(data::Request::Insert);
        return;
    case Qt::Key_Delete:
        callForm(data::Request::Delete);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_selecting)
            choose();
        else
            callForm(data::Request::Change);
        return;
    default:
        if (!event->text().isEmpty() && event->text().front().isLetterOrNumber() &&
            m_view->hasFocus()) {
            step(event->text().front());
            return;
        }
        QDialog::keyPressEvent(event);
    }
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
{
    // While typing into the locator, the arrow and page keys move through the list.
    if (watched == m_locator && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // Nothing highlighted yet: the first key highlights the entry in view.
            if (currentRow() < 0) {
                selectRow(std::max(0, m_view->currentIndex().row()));
                return true;
            }
            QCoreApplication::sendEvent(m_view, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ListWindow::showContextMenu(const QPoint &position)
{
    QMenu menu(this);
    if (!m_definition.form.isEmpty()) {
        const std::pair<QString, data::Request> actions[] = {{u"&Add"_s, data::Request::Insert},
                                                             {u"&Change"_s, data::Request::Change},
                                                             {u"&Delete"_s, data::Request::Delete},
                                                             {u"&View"_s, data::Request::View}};
        for (const auto &[text, request] : actions)
            if (m_definition.formButtons.contains(request))
                connect(menu.addAction(text), &QAction::triggered, this,
                        [this, request] { callForm(request); });
    }
    QAction *select = menu.addAction(u"&Select"_s);
    select->setEnabled(m_selecting);
    connect(select, &QAction::triggered, this, &ListWindow::choose);
    menu.addSeparator();
    connect(menu.addAction(u"Send &To..."_s), &QAction::triggered, this, &ListWindow::sendTo);
    connect(menu.addAction(u"&Reset Column Widths"_s), &QAction::triggered, this,
            &ListWindow::resetLayout);
    menu.exec(m_view->viewport()->mapToGlobal(position));
}

void ListWindow::resetLayout()
{
    for (int c = 0; c < m_definition.columns.size(); ++c)
        m_view->setColumnWidth(c, m_definition.columns[c].width);
}

void ListWindow::setFilters(QList<data::Filter> filters)
{
    m_model->setFilters(std::move(filters));
    m_model->locate({});
    locate(m_locator->text());
    updateCount();
}

void ListWindow::refresh()
{
    const int row = currentRow();
    m_model->reload();
    updateCount();
    selectRow(row);
}

void ListWindow::step(QChar key)
{
    const int choice = m_order ? m_order->currentIndex() : 0;
    if (m_definition.keys.isEmpty() || m_definition.keys[choice].locatorField.isEmpty())
        return;
    const QString field = m_definition.keys[choice].locatorField;
    const int from = currentRow() + 1;
    for (int pass = 0; pass < 2; ++pass) {
        for (int row = pass == 0 ? from : 0; row < m_model->rowCount(); ++row) {
            const data::FieldValue value = m_model->record(row).value(field);
            const QString text = std::holds_alternative<QString>(value)
                                     ? std::get<QString>(value)
                                     : QString::number(std::get<qint64>(value));
            if (text.startsWith(key, Qt::CaseInsensitive)) {
                selectRow(row);
                return;
            }
            if (pass == 0 && row + 1 == m_model->rowCount() && m_model->canFetchMore({}))
                m_model->fetchMore({});
        }
    }
}

void ListWindow::applyLayout()
{
    QList<int> widths;
    for (const KeyedListModel::Column &column : std::as_const(m_definition.columns))
        widths.append(column.width);
    if (preservesLayout()) {
        if (const auto saved =
                ListLayout::load(*m_session.company, m_session.userId, m_definition.procedure)) {
            const QList<int> savedWidths = ListLayout::widths(*saved);
            if (savedWidths.size() == widths.size())
                widths = savedWidths;
        }
    }
    for (int c = 0; c < widths.size(); ++c)
        m_view->setColumnWidth(c, widths[c]);
}

bool ListWindow::preservesLayout() const
{
    if (!m_session.company || m_session.userId.isEmpty())
        return false;
    UserFile user;
    user.UserID = m_session.userId;
    return m_session.company->file<UserFile>().fetch(u"KeyUserID", user) && user.PreserveWindows;
}

void ListWindow::saveLayout()
{
    if (!preservesLayout())
        return;
    QList<int> widths;
    for (int c = 0; c < m_model->columnCount(); ++c)
        widths.append(m_view->columnWidth(c));
    // A layout that cannot be kept costs the user nothing but the widths.
    if (const data::FileStatus status =
            ListLayout::save(*m_session.company, m_session.userId, m_definition.procedure,
                             ListLayout::format(widths));
        !status)
        DebugLog::program().write(status.error().text() + u" Saving LBFmt"_s);
}

void ListWindow::done(int result)
{
    saveLayout();
    QDialog::done(result);
}

} // namespace qaveq
