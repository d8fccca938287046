// The usage-log window's copying and moving of logs, its log selection and
// the batches' manual order: what the buttons, menus and drags call.

#include "UsageLogWindow.h"

#include "runtime/widgets/HeaderSorter.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// A drag of logs names where it comes from; only the log list's is taken.
const QString DragFormat = u"application/x-qaveq-drag"_s;
const QByteArray LogListDrag = "List";

class LogListModel final : public QStandardItemModel
{
public:
    using QStandardItemModel::QStandardItemModel;

    QStringList mimeTypes() const override { return {DragFormat}; }
    QMimeData *mimeData(const QModelIndexList &) const override
    {
        auto *data = new QMimeData;
        data->setData(DragFormat, LogListDrag);
        return data;
    }
    Qt::DropActions supportedDragActions() const override
    {
        return Qt::CopyAction | Qt::MoveAction;
    }
};

bool fromLogList(const QMimeData *data)
{
    return data && data->data(DragFormat) == LogListDrag;
}

} // namespace

QStandardItemModel *UsageLogWindow::logListModel(QObject *parent)
{
    return new LogListModel(0, 5, parent);
}

void UsageLogWindow::addTransferControls(QBoxLayout *logPane)
{
    auto *row = new QHBoxLayout;
    const auto add = [this, row](const QString &text, const QString &hint, auto action) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        button->setToolTip(hint);
        connect(button, &QPushButton::clicked, this, action);
        row->addWidget(button);
        return button;
    };
    add(u"Copy"_s, u"Copy the selected logs; Paste puts them in another batch"_s,
        [this] { collectLogs(LogTransfer::Mode::Copy); });
    add(u"Move"_s, u"Move the selected logs; Paste puts them in another batch"_s,
        [this] { collectLogs(LogTransfer::Mode::Move); });
    m_paste = add(u"Paste"_s, u"Put the copied or moved logs in the highlighted batch"_s,
                  &UsageLogWindow::paste);
    row->addStretch();
    logPane->addLayout(row);

    m_logView->setDragEnabled(true);
    m_logView->setDragDropMode(QAbstractItemView::DragOnly);
    m_logView->setDefaultDropAction(Qt::MoveAction);

    m_logMenu = new QMenu(this);
    m_logMenu->setToolTipsVisible(true);
    m_logMenu->addAction(u"Copy Selected"_s, this, [this] { collectLogs(LogTransfer::Mode::Copy); })
        ->setToolTip(u"Drag+Ctrl+Drop"_s);
    m_logMenu->addAction(u"Move Selected"_s, this, [this] { collectLogs(LogTransfer::Mode::Move); })
        ->setToolTip(u"Drag+Drop"_s);
    m_logMenu->addSeparator();
    m_logMenu->addAction(u"Select"_s, this, &UsageLogWindow::toggleSelected);
    m_logMenu->addAction(u"Select All"_s, this, &UsageLogWindow::selectAllLogs);
    m_logMenu->addAction(u"Deselect All"_s, this, &UsageLogWindow::deselectAllLogs);
    m_logMenu->addAction(u"Invert"_s, this, &UsageLogWindow::invertSelection);
    m_logMenu->addAction(u"Filter On"_s, this, &UsageLogWindow::toggleFilter);
    m_logView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_logView, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        updateMenus();
        m_logMenu->popup(m_logView->viewport()->mapToGlobal(at));
    });

    // "Select" or "Deselect" follows the highlighted log.
    connect(m_logView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &UsageLogWindow::updateMenus);

    // A box ticked with the mouse selects its log as the menu's "Select" does.
    connect(m_logModel, &QStandardItemModel::itemChanged, this, [this](QStandardItem *item) {
        if (item->column() != 0)
            return;
        const qint32 logId = item->data(Qt::UserRole).toInt();
        if ((item->checkState() == Qt::Checked) != m_selection.isSelected(logId)) {
            m_selection.toggle(logId);
            showSelection();
        }
    });
}

void UsageLogWindow::addReorderControls(QBoxLayout *batchPane)
{
    auto *row = new QHBoxLayout;
    for (const auto &place : {std::pair{u"Up"_s, BatchReorder::Move::Up},
                              {u"Top"_s, BatchReorder::Move::Top},
                              {u"Down"_s, BatchReorder::Move::Down},
                              {u"Bottom"_s, BatchReorder::Move::Bottom}}) {
        const BatchReorder::Move kind = place.second;
        auto *button = new QPushButton(place.first, this);
        button->setAutoDefault(false);
        button->setToolTip(BatchReorder::hint(kind));
        connect(button, &QPushButton::clicked, this, [this, kind] { moveBatch(kind); });
        row->addWidget(button);
    }
    row->addStretch();
    batchPane->addLayout(row);

    // Logs dragged from the log list land on a batch of this list.
    m_batchView->setAcceptDrops(true);
    m_batchView->viewport()->setAcceptDrops(true);
    m_batchView->viewport()->installEventFilter(this);

    m_batchMenu = new QMenu(this);
    m_batchMenu->addAction(u"Paste"_s, this, &UsageLogWindow::paste);
    m_batchView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_batchView, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        updateMenus();
        m_batchMenu->popup(m_batchView->viewport()->mapToGlobal(at));
    });

    updateMenus();
}

QList<qint32> UsageLogWindow::listedLogs() const
{
    QList<qint32> listed;
    for (int row = 0; row < m_logModel->rowCount(); ++row)
        listed.append(m_logModel->item(row, 0)->data(Qt::UserRole).toInt());
    return listed;
}

void UsageLogWindow::showSelection()
{
    for (int row = 0; row < m_logModel->rowCount(); ++row) {
        QStandardItem *item = m_logModel->item(row, 0);
        const bool selected = m_selection.isSelected(item->data(Qt::UserRole).toInt());
        const Qt::CheckState state = selected ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state)
            item->setCheckState(state);
        m_logView->setRowHidden(row, m_selection.filtered() && !selected);
    }
    updateMenus();
}

void UsageLogWindow::updateMenus()
{
    if (!m_logMenu || !m_batchMenu)
        return;
    const QList<QAction *> actions = m_logMenu->actions();
    const QModelIndex current = m_logView->currentIndex();
    const bool selected =
        current.isValid() &&
        m_selection.isSelected(m_logModel->item(current.row(), 0)->data(Qt::UserRole).toInt());
    for (QAction *action : actions) {
        if (action->text() == u"Select" || action->text() == u"Deselect")
            action->setText(selected ? u"Deselect"_s : u"Select"_s);
        if (action->text() == u"Filter On" || action->text() == u"Filter Off")
            action->setText(m_selection.filtered() ? u"Filter Off"_s : u"Filter On"_s);
    }
    const bool pasting = m_transfer.mode() != LogTransfer::Mode::None;
    m_paste->setEnabled(pasting);
    m_batchMenu->actions().constFirst()->setEnabled(pasting);
    const qsizetype count = m_transfer.logs().size();
    m_paste->setToolTip(pasting ? m_transfer.modeText() + u" "_s + QString::number(count) +
                                      (count == 1 ? u" log"_s : u" logs"_s) +
                                      u" into the highlighted batch"_s
                                : u"Put the copied or moved logs in the highlighted batch"_s);
}

void UsageLogWindow::collectLogs(LogTransfer::Mode mode)
{
    const QModelIndex current = m_logView->currentIndex();
    std::optional<qint32> highlightedLog;
    if (current.isValid() && !m_logView->isRowHidden(current.row()))
        highlightedLog = m_logModel->item(current.row(), 0)->data(Qt::UserRole).toInt();
    m_transfer.collect(mode, m_selection.transferList(highlightedLog), m_shownBatch);
    updateMenus();
}

void UsageLogWindow::afterTransfer(const std::optional<LogTransfer::Done> &done)
{
    if (done) {
        m_selection.clear();
        refresh();
        highlight(done->highlight);
    }
    updateMenus();
}

void UsageLogWindow::paste()
{
    if (m_transfer.mode() == LogTransfer::Mode::None)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<LogTransfer::Done> done = m_transfer.paste(highlighted());
    QApplication::restoreOverrideCursor();
    afterTransfer(done);
}

void UsageLogWindow::dropLogs(LogTransfer::Mode mode, int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const QModelIndex current = m_logView->currentIndex();
    std::optional<qint32> highlightedLog;
    if (current.isValid())
        highlightedLog = m_logModel->item(current.row(), 0)->data(Qt::UserRole).toInt();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<LogTransfer::Done> done = m_transfer.drop(
        mode, m_selection.transferList(highlightedLog), m_shownBatch, m_rows[row].batch.BatchID);
    QApplication::restoreOverrideCursor();
    afterTransfer(done);
}

bool UsageLogWindow::dragEvent(QObject *watched, QEvent *event)
{
    // Events reach the filter while the window is still being built.
    if (!m_batchView || watched != m_batchView->viewport())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!fromLogList(drag->mimeData()) ||
            !m_batchView->indexAt(drag->position().toPoint()).isValid()) {
            drag->ignore();
            return true;
        }
        drag->setDropAction(drag->modifiers().testFlag(Qt::ControlModifier) ? Qt::CopyAction
                                                                            : Qt::MoveAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const int row = m_batchView->indexAt(drop->position().toPoint()).row();
        if (!fromLogList(drop->mimeData()) || row < 0) {
            drop->ignore();
            return true;
        }
        const bool copying = drop->modifiers().testFlag(Qt::ControlModifier);
        drop->setDropAction(copying ? Qt::CopyAction : Qt::MoveAction);
        drop->accept();
        dropLogs(copying ? LogTransfer::Mode::Copy : LogTransfer::Mode::Move, row);
        return true;
    }
    default:
        return false;
    }
}

void UsageLogWindow::moveBatch(BatchReorder::Move move)
{
    const quint16 batchId = highlighted();
    if (batchId == 0)
        return;
    // The move is in the manual order; a column sort would hide it.
    m_sorter->reset();
    if (m_reorder.move(batchId, move)) {
        refresh();
        highlight(batchId);
        m_batchView->setFocus();
    }
}

void UsageLogWindow::toggleSelected()
{
    const QModelIndex current = m_logView->currentIndex();
    if (!current.isValid())
        return;
    m_selection.toggle(m_logModel->item(current.row(), 0)->data(Qt::UserRole).toInt());
    showSelection();
}

void UsageLogWindow::selectAllLogs()
{
    m_selection.selectAll(listedLogs());
    showSelection();
}

void UsageLogWindow::deselectAllLogs()
{
    m_selection.clear();
    showSelection();
}

void UsageLogWindow::invertSelection()
{
    m_selection.invert(listedLogs());
    showSelection();
}

void UsageLogWindow::toggleFilter()
{
    m_selection.setFiltered(!m_selection.filtered());
    showSelection();
}

} // namespace qaveq
