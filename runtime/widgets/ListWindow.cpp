#include "ListWindow.h"

#include "runtime/DebugLog.h"

#include "core/Prompter.h"
#include "runtime/ListLayout.h"
#include "runtime/StandardWarnings.h"
#include "runtime/widgets/HeaderSorter.h"
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

namespace {

// How far the locator reads a list page by page before it gives up looking.
constexpr int ReadAhead = 5000;

// The headings' sort as the order of the file: each sorted heading shows a
// field of the list's file.
QList<data::SortField> sortFields(const ColumnSorter &sorter,
                                  const QList<KeyedListModel::Column> &columns)
{
    QList<data::SortField> order;
    for (int entry : sorter.sortList())
        order.append(
            {columns[std::abs(entry) - 1].field, entry < 0, sorter.upperCased(std::abs(entry))});
    return order;
}

// A field's value as the locator compares it with what is typed.
QString plainText(const data::FieldValue &value)
{
    if (const auto *number = std::get_if<qint64>(&value))
        return QString::number(*number);
    if (const auto *amount = std::get_if<Decimal>(&value))
        return amount->toString();
    return std::get<QString>(value);
}

} // namespace

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
    // A list sorted by its headings is read from its beginning, where the
    // entry is found if it is on file.
    const std::optional<Locator> by = locator();
    if (start.isEmpty() || !by || !by->keyed)
        m_model->reload();
    if (!start.isEmpty())
        by && by->keyed ? locate(start) : find(start);
    if (const std::optional<data::FileError> error = m_model->error()) {
        // The list still opens, over the whole file, so the user can go on.
        const std::optional<StandardWarnings::Warning> warning = StandardWarnings::describe(
            StandardWarning::ViewOpenFailed, {}, {}, error->cause(), error->code);
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
            // A key chosen is the list's order: the headings' sort gives way.
            if (!m_sorter->sorter().sortList().isEmpty()) {
                m_sorter->reset();
                return;
            }
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
    QList<ColumnSorter::Column> sortColumns;
    for (int c = 0; c < m_definition.columns.size(); ++c) {
        const KeyedListModel::Column &column = m_definition.columns[c];
        sortColumns.append({c + 1, column.header, column.picture, !column.display && !column.icon});
    }
    m_sorter = new HeaderSorter(m_view->horizontalHeader(), std::move(sortColumns),
                                HeaderSorter::memoryFor(m_session, m_definition.procedure), this);
    m_model->setOrder(sortFields(m_sorter->sorter(), m_definition.columns));
    connect(m_sorter, &HeaderSorter::sortChanged, this, &ListWindow::applySort);
    showLocatorColumn();
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

std::optional<ListWindow::Locator> ListWindow::locator() const
{
    if (m_sorter && !m_sorter->sorter().sortList().isEmpty()) {
        const int entry = m_sorter->sorter().primary();
        const KeyedListModel::Column &column = m_definition.columns[std::abs(entry) - 1];
        return Locator{column.field.section(u':', -1), column.header, entry < 0, false};
    }
    const KeyChoice *key = locatorKey();
    if (!key)
        return std::nullopt;
    // The column the locator finds by, as its heading reads.
    QString heading = key->locatorField;
    for (const KeyedListModel::Column &c : std::as_const(m_definition.columns))
        if (!c.display && c.field.section(u':', -1) == key->locatorField) {
            heading = c.header;
            break;
        }
    return Locator{key->locatorField, heading, false, true};
}

void ListWindow::showLocatorColumn()
{
    const std::optional<Locator> by = locator();
    m_locator->setEnabled(by.has_value());
    if (!by) {
        m_locatorLabel->setText(u"&Locate:"_s);
        return;
    }
    m_locatorLabel->setText(u"&Locate %1:"_s.arg(by->heading));
    m_locator->setPlaceholderText(u"the first %1 at or %2 what you type"_s.arg(
        by->heading, by->descending ? u"before"_s : u"after"_s));
}

void ListWindow::applySort()
{
    // The highlighted entry, to highlight again in the new order.
    const KeyChoice *key = locatorKey();
    const int row = currentRow();
    const QString highlighted =
        key && row >= 0 ? plainText(m_model->record(row).value(key->locatorField)) : QString();
    m_model->setOrder(sortFields(m_sorter->sorter(), m_definition.columns));
    m_locator->clear();
    showLocatorColumn();
    m_model->locate({});
    selectRow(0);
    if (!highlighted.isEmpty())
        find(highlighted);
}

void ListWindow::find(const QString &text)
{
    const std::optional<Locator> by = locator();
    if (by && by->keyed) {
        locate(text);
        return;
    }
    const KeyChoice *key = locatorKey();
    if (!key)
        return;
    if (!m_model->scanOptions().from.isEmpty() &&
        m_model->scanOptions().from.size() > m_definition.rangeFrom.size())
        m_model->locate({});
    for (int row = 0; row < ReadAhead; ++row) {
        if (row >= m_model->rowCount()) {
            if (!m_model->canFetchMore({}))
                return;
            m_model->fetchMore({});
            continue;
        }
        if (plainText(m_model->record(row).value(key->locatorField))
                .compare(text.trimmed(), Qt::CaseInsensitive) == 0) {
            selectRow(row);
            return;
        }
    }
}

void ListWindow::locate(const QString &text)
{
    const std::optional<Locator> by = locator();
    if (!by)
        return;
    const QString &name = by->field;
    const data::FieldDef *field = m_model->table().schema().field(name);
    // The list keeps its beginning and moves to the first entry at or after
    // the text, reading on page by page; far down a long list in key order it
    // starts at that entry instead, so the jump stays instant.
    if (m_model->rowCount() == 0 || !m_model->scanOptions().from.isEmpty() ||
        m_model->scanOptions().from.size() > m_definition.rangeFrom.size())
        m_model->locate({});
    // What the user types finds its entry whatever its case: "ldr" finds LDR-201.
    const auto reached = [&](int row) {
        const data::FieldValue value = m_model->record(row).value(name);
        int order = 0;
        if (const auto *number = std::get_if<qint64>(&value))
            order = *number < text.toLongLong() ? -1 : *number > text.toLongLong() ? 1 : 0;
        else if (const auto *amount = std::get_if<Decimal>(&value)) {
            const std::strong_ordering typed = *amount <=> Decimal::fromText(text);
            order = typed < 0 ? -1 : typed > 0 ? 1 : 0;
        } else
            order = std::get<QString>(value).compare(text, Qt::CaseInsensitive);
        return by->descending ? order <= 0 : order >= 0;
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
    if (by->keyed && m_model->canFetchMore({})) {
        const bool textual = field->type == data::FieldType::Text;
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
        m_prompter.ask(Message::alert(u"Record Retrieval Error"_s,
                                      status.error().text() + u"|The list is read again."_s));
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
    if (const KeyChoice *key = locatorKey(); request == data::Request::Insert && key) {
        find(plainText(m_session.buffer(m_model->table().schema()).value(key->locatorField)));
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
        m_prompter.ask(Message::alert(u"Send To"_s, problem));
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
    const std::optional<Locator> by = locator();
    if (!by)
        return;
    const int from = currentRow() + 1;
    for (int pass = 0; pass < 2; ++pass) {
        for (int row = pass == 0 ? from : 0; row < m_model->rowCount(); ++row) {
            const QString text = plainText(m_model->record(row).value(by->field));
            if (text.trimmed().startsWith(key, Qt::CaseInsensitive)) {
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
