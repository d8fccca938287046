#include "UsageLogWindow.h"

#include "logs/BatchForm.h"
#include "logs/LogEntryForm.h"
#include "logs/LogEntryMemory.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "common/ui/ScreenRunner.h"

#include "runtime/widgets/HeaderSorter.h"
#include "runtime/widgets/HelpViewer.h"
#include "runtime/widgets/KeyedListModel.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/RequestScope.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

enum BatchColumn { TagColumn, BatchColumn, RepeatColumn, DescriptionColumn };

QTableView *listView(QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(22);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

QStandardItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

UsageLogWindow::UsageLogWindow(data::Session &session, Prompter &prompter, const Clock &clock,
                               ProcedureCaller caller, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
    , m_caller(std::move(caller))
    , m_batches(session, prompter, clock)
    , m_transfer(session, prompter, m_batches)
    , m_reorder(session, prompter)
{
    buildUi();
    refresh();
    m_batchView->setFocus();
}

UsageLogWindow::~UsageLogWindow()
{
    m_batches.releaseTagged();
}

void UsageLogWindow::buildUi()
{
    setWindowTitle(u"Equipment Usage Log Entry"_s);
    HelpViewer::bindF1(this, u"html/EC_Usage_Logs.htm"_s);
    auto *outer = new QVBoxLayout(this);
    auto *layout = new QHBoxLayout;
    outer->addLayout(layout, 1);

    m_logPane = new QGroupBox(u"Usage Logs included in Highlighted Batch"_s, this);
    auto *logs = new QVBoxLayout(m_logPane);
    m_logView = listView(m_logPane);
    m_logModel = logListModel(this);
    m_logModel->setHorizontalHeaderLabels(
        {u"Ref"_s, u"Equipment ID"_s, u"Description"_s, u"Date"_s, u"Amount"_s});
    m_logView->setModel(m_logModel);
    for (const auto &[column, width] : {std::pair{0, 70}, {1, 100}, {2, 220}, {3, 80}})
        m_logView->setColumnWidth(column, width);
    m_logView->installEventFilter(this);
    logs->addWidget(m_logView, 1);
    auto *figures = new QHBoxLayout;
    m_logCount = new QLabel(m_logPane);
    m_total = new QLabel(m_logPane);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    figures->addWidget(m_logCount);
    figures->addStretch();
    figures->addWidget(new QLabel(u"Total:"_s, m_logPane));
    figures->addWidget(m_total);
    logs->addLayout(figures);
    auto *logButtons = new QHBoxLayout;
    const auto add = [this](QBoxLayout *row, const QString &text, auto action) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        row->addWidget(button);
        return button;
    };
    add(logButtons, u"&Add"_s, &UsageLogWindow::addLog);
    add(logButtons, u"&Change"_s, &UsageLogWindow::changeLog);
    add(logButtons, u"&Delete"_s, &UsageLogWindow::deleteLog);
    // Import and export work on the highlighted batch, handed over in the batch buffer.
    const auto withBatch = [this](const QString &procedure) {
        m_session.buffer<EQBatch>().BatchID = highlighted();
        m_caller(procedure);
        showResult();
        refresh();
    };
    add(logButtons, u"Import"_s, [this, withBatch] {
        if (!m_batches.refuseReadOnly())
            withBatch(u"IMPORTEQLOG"_s);
    });
    add(logButtons, u"Export"_s, [withBatch] { withBatch(u"EXPORTEQLOG"_s); });
    logs->addLayout(logButtons);
    addTransferControls(logs);
    layout->addWidget(m_logPane, 3);

    auto *batchPane = new QGroupBox(u"Batch Information"_s, this);
    auto *batches = new QVBoxLayout(batchPane);
    m_batchView = listView(batchPane);
    m_batchModel = new QStandardItemModel(0, 4, this);
    m_batchModel->setHorizontalHeaderLabels({QString(), u"Batch"_s, QString(), u"Description"_s});
    m_batchView->setModel(m_batchModel);
    for (const auto &[column, width] : {std::pair{0, 26}, {1, 60}, {2, 22}})
        m_batchView->setColumnWidth(column, width);
    m_batchView->installEventFilter(this);
    m_sorter = new HeaderSorter(m_batchView->horizontalHeader(),
                                {{1, QString(), u"@n1"_s},
                                 {2, u"Batch"_s, u"@n6"_s},
                                 {3, QString(), u"@n1"_s},
                                 {4, u"Description"_s, u"@s25"_s}},
                                HeaderSorter::memoryFor(m_session, u"BrowseEQLog"_s), this);
    connect(m_sorter, &HeaderSorter::sortChanged, this, &UsageLogWindow::refresh);
    connect(m_batchView, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == TagColumn)
            tagHighlighted();
    });
    connect(m_batchView->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (highlighted() == m_shownBatch)
            return;
        m_shownBatch = highlighted();
        fillLogs();
    });
    batches->addWidget(m_batchView, 1);
    m_batchCount = new QLabel(batchPane);
    batches->addWidget(m_batchCount);
    auto *order = new QHBoxLayout;
    m_showTags = add(order, UsageLogBatches::caption(m_show), &UsageLogWindow::cycleShowTags);
    add(order, u"Reset to Manual Sort"_s, &UsageLogWindow::resetSort)
        ->setToolTip(u"Reset to Manual Sort"_s);
    batches->addLayout(order);
    addReorderControls(batches);
    auto *tags = new QHBoxLayout;
    add(tags, u"&Tag"_s, &UsageLogWindow::tagHighlighted);
    add(tags, u"Tag A&ll"_s, [this] {
        m_batches.tagAll();
        refresh();
    });
    add(tags, u"&Untag All"_s, [this] {
        m_batches.untagAll();
        refresh();
    });
    add(tags, u"&Rev tags"_s, [this] {
        m_batches.reverseTags();
        refresh();
    });
    batches->addLayout(tags);
    auto *edit = new QHBoxLayout;
    add(edit, u"&New Batch"_s, &UsageLogWindow::addBatch);
    add(edit, u"C&hange Batch"_s, &UsageLogWindow::changeBatch);
    add(edit, u"Delete &Batch"_s, &UsageLogWindow::deleteBatch);
    batches->addLayout(edit);
    auto *closing = new QHBoxLayout;
    add(closing, u"Proof List Tagged Batches"_s, &UsageLogWindow::proofList);
    add(closing, u"&Post Tagged Batches"_s, &UsageLogWindow::post);
    closing->addStretch();
    add(closing, u"Close"_s, &QDialog::reject);
    batches->addLayout(closing);
    layout->addWidget(batchPane, 2);
    m_result = new QLabel(this);
    m_result->setObjectName(u"result"_s);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outer->addWidget(m_result);
    resize(1040, 520);
}

QPushButton &UsageLogWindow::button(const QString &text) const
{
    for (QPushButton *button : findChildren<QPushButton *>())
        if (button->text() == text)
            return *button;
    throw std::invalid_argument("no such button");
}

QString UsageLogWindow::resultText() const
{
    return m_result->text();
}

void UsageLogWindow::showResult()
{
    // A task that said nothing leaves the last result standing.
    if (!m_session.resultLine.isEmpty())
        m_result->setText(std::exchange(m_session.resultLine, QString()));
}

QString UsageLogWindow::batchCountText() const
{
    return m_batchCount->text();
}

QString UsageLogWindow::logCountText() const
{
    return m_logCount->text();
}

QString UsageLogWindow::totalText() const
{
    return m_total->text();
}

quint16 UsageLogWindow::highlighted() const
{
    const int row = m_batchView->currentIndex().row();
    return row >= 0 && row < m_rows.size() ? m_rows[row].batch.BatchID : 0;
}

void UsageLogWindow::highlight(quint16 batchId)
{
    for (int row = 0; row < m_rows.size(); ++row)
        if (m_rows[row].batch.BatchID == batchId) {
            m_batchView->setCurrentIndex(m_batchModel->index(row, BatchColumn));
            return;
        }
}

void UsageLogWindow::refresh()
{
    fillBatches();
    fillLogs();
}

void UsageLogWindow::fillBatches()
{
    const quint16 remembered = highlighted() ? highlighted() : m_shownBatch;
    m_rows.clear();
    data::Table &logs = m_session.company->file<EQLogB>();
    data::KeyCursor cursor = m_session.company->file<EQBatch>().scan(u"KeySortID");
    for (EQBatch batch; cursor.next(batch);) {
        const bool tagged = m_batches.isTagged(batch.BatchID);
        if ((m_show == UsageLogBatches::ShowTags::Tagged && !tagged) ||
            (m_show == UsageLogBatches::ShowTags::UnTagged && tagged))
            continue;
        const qint64 count =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batch.BatchID)})).count();
        m_rows.append({batch, count});
    }
    if (!m_sorter->sorter().sortList().isEmpty()) {
        // The fields the headings show (tagged and repeating first), then
        // the row's place in the manual order.
        QList<QVariantList> fields;
        for (int index = 0; index < m_rows.size(); ++index) {
            const EQBatch &batch = m_rows[index].batch;
            fields.append(QVariantList{m_batches.isTagged(batch.BatchID) ? 0 : 1,
                                       int(batch.BatchID), batch.Repeating == 1 ? 0 : 1,
                                       Text::clip(batch.Description), index});
        }
        m_sorter->sortRows(fields);
        QList<Row> sorted;
        for (const QVariantList &row : std::as_const(fields))
            sorted.append(m_rows.at(row.last().toInt()));
        m_rows = sorted;
    }

    const QSignalBlocker quiet(m_batchView->selectionModel());
    m_batchModel->setRowCount(0);
    const Picture number = Picture::parse(u"@n6");
    for (int index = 0; index < m_rows.size(); ++index) {
        const EQBatch &batch = m_rows[index].batch;
        auto *tag = cell({});
        tag->setData(m_batches.isTagged(batch.BatchID) ? Qt::Checked : Qt::Unchecked,
                     Qt::CheckStateRole);
        QList<QStandardItem *> items{
            tag, cell(number.format(qint64(batch.BatchID)).trimmed(), Qt::AlignRight),
            cell(batch.Repeating == 1 ? u"R"_s : QString(), Qt::AlignCenter),
            cell(Text::clip(batch.Description))};
        QFont font = m_batchView->font();
        font.setWeight(m_rows[index].logs > 0 ? QFont::Bold : QFont::Normal);
        for (QStandardItem *item : items) {
            item->setFont(font);
            if (index % 2 == 1)
                item->setBackground(KeyedListModel::greenBar());
        }
        m_batchModel->appendRow(items);
    }
    m_batchCount->setText(m_session.recordCounts ? UsageLogBatches::recordCount(m_rows.size())
                                                 : QString());
    m_showTags->setText(UsageLogBatches::caption(m_show));
    if (m_rows.isEmpty())
        return;
    int row = 0;
    for (int index = 0; index < m_rows.size(); ++index)
        if (m_rows[index].batch.BatchID == remembered)
            row = index;
    m_batchView->setCurrentIndex(m_batchModel->index(row, BatchColumn));
    m_shownBatch = highlighted();
}

void UsageLogWindow::fillLogs()
{
    m_logModel->setRowCount(0);
    if (m_shownBatch != m_selectionBatch) {
        m_selection.clear();
        m_selectionBatch = m_shownBatch;
    }
    applySecurity();
    if (m_shownBatch == 0 || !m_logView->isVisibleTo(m_logPane)) {
        m_selection.clear();
        m_logCount->clear();
        m_total->clear();
        updateMenus();
        return;
    }
    const Picture ref = Picture::parse(u"@n13");
    const Picture date = Picture::parse(u"@d1b");
    const Picture amount = Picture::parse(u"@n-19.2");
    data::Table &equipment = m_session.company->file<EQHeader>();
    data::KeyCursor cursor = m_session.company->file<EQLogB>().scan(
        u"KeyBatchID", data::ScanOptions::equal({qint64(m_shownBatch)}));
    Decimal total;
    int count = 0;
    for (EQLogB log; cursor.next(log); ++count) {
        EQHeader piece;
        piece.EquipmentID = log.EquipmentID;
        static_cast<void>(equipment.fetch(u"KeyEquipmentID", piece));
        auto *first = cell(ref.format(qint64(log.LogID)).trimmed(), Qt::AlignRight);
        first->setData(log.LogID, Qt::UserRole);
        first->setCheckable(true);
        QList<QStandardItem *> items{
            first, cell(Text::clip(log.EquipmentID)), cell(Text::clip(piece.Description)),
            cell(date.format(qint64(log.Date))),
            cell(amount.format(log.AdjustedAmount).trimmed(), Qt::AlignRight)};
        if (count % 2 == 1)
            for (QStandardItem *item : items)
                item->setBackground(KeyedListModel::greenBar());
        m_logModel->appendRow(items);
        total += log.AdjustedAmount;
    }
    m_total->setText(Picture::parse(u"@n-15.2b").format(total).trimmed());
    m_logCount->setText(UsageLogBatches::recordCount(count));
    if (count > 0)
        m_logView->setCurrentIndex(m_logModel->index(0, 0));
    m_selection.retain(listedLogs());
    showSelection();
}

void UsageLogWindow::applySecurity()
{
    UsageLogBatches::Pane pane;
    pane.title = u"Usage Logs included in Highlighted Batch"_s;
    const int row = m_batchView->currentIndex().row();
    if (row >= 0 && row < m_rows.size())
        pane = m_batches.paneFor(m_rows[row].batch);
    m_logPane->setTitle(pane.title);
    m_logView->setVisible(pane.logsShown);
    m_logPane->setEnabled(pane.enabled);
}

bool UsageLogWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (dragEvent(watched, event))
        return true;
    if ((watched == m_batchView || watched == m_logView) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space) {
        tagHighlighted();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void UsageLogWindow::done(int result)
{
    m_batches.releaseTagged();
    QDialog::done(result);
}

void UsageLogWindow::tagHighlighted()
{
    if (m_batches.tag(highlighted()))
        refresh();
}

void UsageLogWindow::cycleShowTags()
{
    m_show = UsageLogBatches::next(m_show);
    refresh();
}

void UsageLogWindow::resetSort()
{
    m_sorter->reset();
}

void UsageLogWindow::callBatchForm(data::Request request)
{
    EQBatch &buffer = m_session.buffer<EQBatch>();
    const int row = m_batchView->currentIndex().row();
    if (request != data::Request::Insert) {
        if (row < 0 || row >= m_rows.size())
            return;
        buffer.assign(m_rows[row].batch);
    }
    bool completed = false;
    {
        data::RequestScope scope(m_session, request);
        m_caller(u"UPDATEEQBATCH"_s);
        completed = scope.completed();
    }
    showResult();
    const quint16 added = buffer.BatchID;
    refresh();
    if (completed && request == data::Request::Insert)
        highlight(added);
}

void UsageLogWindow::addBatch()
{
    if (!m_batches.refuseReadOnly())
        callBatchForm(data::Request::Insert);
}

void UsageLogWindow::changeBatch()
{
    callBatchForm(m_session.usageLogsReadOnly ? data::Request::View : data::Request::Change);
}

void UsageLogWindow::deleteBatch()
{
    if (m_batches.deleteBatch(highlighted()))
        refresh();
}

void UsageLogWindow::enterLog(bool adding)
{
    const QModelIndex current = m_logView->currentIndex();
    const qint32 logId = adding || !current.isValid()
                             ? 0
                             : m_logModel->item(current.row(), 0)->data(Qt::UserRole).toInt();
    // A user who may only look at usage logs sees the log without holding
    // the batch: looking must not keep another user out of it.
    const bool viewing = !adding && m_session.usageLogsReadOnly;
    if (!viewing && !m_batches.holdForEntry(highlighted(), adding))
        return;
    EQBatch &batch = m_session.buffer<EQBatch>();
    batch = EQBatch();
    batch.BatchID = highlighted();
    static_cast<void>(m_session.company->file<EQBatch>().fetch(u"KeyBatchID", batch));
    EQLogB &log = m_session.buffer<EQLogB>();
    log = EQLogB();
    log.LogID = logId;
    {
        data::RequestScope scope(m_session, viewing  ? data::Request::View
                                            : adding ? data::Request::Insert
                                                     : data::Request::Change);
        m_caller(u"UPDATEEQLOGB"_s);
    }
    m_batches.releaseHeld();
    refresh();
}

void UsageLogWindow::addLog()
{
    enterLog(true);
}

void UsageLogWindow::changeLog()
{
    if (m_logView->currentIndex().isValid())
        enterLog(false);
}

void UsageLogWindow::deleteLog()
{
    const QModelIndex current = m_logView->currentIndex();
    if (!m_batches.refuseReadOnly() && current.isValid() &&
        m_batches.deleteLog(m_logModel->item(current.row(), 0)->data(Qt::UserRole).toInt()))
        refresh();
}

void UsageLogWindow::proofList()
{
    // With nothing tagged the highlighted batch is the one to prove.
    if (m_batches.tags().isEmpty() && highlighted() != 0)
        m_batches.tag(highlighted());
    refresh();
    if (m_caller)
        m_caller(u"BrowseEQProofLimits"_s);
}

void UsageLogWindow::post()
{
    const qsizetype count = m_batches.tags().isEmpty() ? 1 : m_batches.tags().size();
    if (m_prompter.ask(Message{u"Post Tagged Batches"_s,
                               count == 1 ? u"Post 1 tagged batch?"_s
                                          : u"Post %1 tagged batches?"_s.arg(count),
                               u"&Yes|&No"_s, 1, Message::Icon::Question}) != 1)
        return;
    const std::optional<UsageLogBatches::Posted> posted = m_batches.postTagged(highlighted());
    refresh();
    if (posted)
        m_session.resultLine = posted->summary().replace(u'|', u' ');
    showResult();
    if (posted)
        m_prompter.ask(Message{u"Posting Complete"_s, posted->summary(), u"&OK"_s, 1,
                               Message::Icon::Information});
}

namespace UsageLogScreens {

void browse(data::ErrorManager &errors, const UsageLogWindow::ProcedureCaller &caller)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    static const SystemClock clock;
    UsageLogWindow window(*session, *errors.prompter(), clock, caller,
                          QApplication::activeWindow());
    window.exec();
}

void update(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    ScreenRunner::runForm(BatchForm::definition(), *session, errors);
}

void updateLog(data::ErrorManager &errors, LogEntryMemory &memory,
               const UsageLogWindow::ProcedureCaller &caller)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    const data::Request request = session->globalRequest;
    if (request == data::Request::Change)
        memory.rebuild(*session->company);
    // "Repetitive Insert": after each saved log a fresh one, until the user
    // cancels.
    bool another = true;
    while (another) {
        session->globalRequest = request;
        ScreenRunner::runForm(LogEntryForm::definition(*session, memory), *session, errors,
                              {.caller = caller});
        another = request == data::Request::Insert &&
                  session->globalResponse == data::Response::Completed &&
                  session->buffer<EQBatch>().ReInsert == 1;
    }
}

} // namespace UsageLogScreens

} // namespace qaveq
