#pragma once

#include "logs/BatchReorder.h"
#include "logs/LogSelection.h"
#include "logs/LogTransfer.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"

#include "data/Session.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QBoxLayout;
class QLabel;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QWidget;

namespace qaveq {

class Clock;
class HeaderSorter;
class LogEntryMemory;
class Prompter;

namespace data {
class ErrorManager;
}

// BrowseEQLog, "Equipment Usage Log Entry": the batch list with its tags on
// the right, the logs of the highlighted batch on the left. Everything it
// does to batches is UsageLogBatches'; the window shows and calls.
class UsageLogWindow : public QDialog
{
    Q_OBJECT

public:
    // Calls another procedure of the module (the batch form, import...).
    using ProcedureCaller = std::function<void(const QString &procedure)>;

    UsageLogWindow(data::Session &session, Prompter &prompter, const Clock &clock,
                   ProcedureCaller caller, QWidget *parent = nullptr);
    // The tagged batches are given free however the window ends.
    ~UsageLogWindow() override;

    UsageLogBatches &batches() { return m_batches; }
    QTableView &batchView() { return *m_batchView; }
    QTableView &logView() { return *m_logView; }
    QGroupBox &logPane() { return *m_logPane; }
    QPushButton &button(const QString &text) const;
    // The last import's, new batch's or posting's result, in one line
    // ("Imported 12 usage logs into batch 4, 1,234.56.").
    QString resultText() const;
    QString batchCountText() const;
    QString logCountText() const;
    QString totalText() const;
    // The highlighted batch; 0 when the list is empty.
    quint16 highlighted() const;
    void highlight(quint16 batchId);
    void refresh();

    // The buttons' work.
    void tagHighlighted();
    void addBatch();
    void changeBatch();
    void deleteBatch();
    void addLog();
    void changeLog();
    void deleteLog();
    void proofList();
    void post();
    void cycleShowTags();
    // Back to the manual order from a column sort.
    void resetSort();
    HeaderSorter &sorter() { return *m_sorter; }

    // Moving and copying logs between batches, and the batches' manual order.
    LogSelection &selection() { return m_selection; }
    LogTransfer &transfer() { return m_transfer; }
    QMenu &logMenu() const { return *m_logMenu; }
    QMenu &batchMenu() const { return *m_batchMenu; }
    // The log numbers of the log list, in list order.
    QList<qint32> listedLogs() const;
    void collectLogs(LogTransfer::Mode mode);
    void paste();
    // A drag of logs dropped on the batch list's row `row`.
    void dropLogs(LogTransfer::Mode mode, int row);
    void moveBatch(BatchReorder::Move move);
    void toggleSelected();
    void selectAllLogs();
    void deselectAllLogs();
    void invertSelection();
    void toggleFilter();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    struct Row
    {
        EQBatch batch;
        qint64 logs = 0;
    };

    void buildUi();
    void fillBatches();
    void fillLogs();
    void applySecurity();
    // Shows the result line the last task left in the session, and clears it.
    void showResult();
    // Runs the log entry form over the held batch.
    void enterLog(bool adding);
    void callBatchForm(data::Request request);
    void addTransferControls(QBoxLayout *logPane);
    void addReorderControls(QBoxLayout *batchPane);
    // The drag of logs over the batch list; true when the event was one.
    bool dragEvent(QObject *watched, QEvent *event);
    void afterTransfer(const std::optional<LogTransfer::Done> &done);
    // The ticks and the filter drawn on the log list.
    void showSelection();
    void updateMenus();
    static QStandardItemModel *logListModel(QObject *parent);

    data::Session &m_session;
    Prompter &m_prompter;
    ProcedureCaller m_caller;
    UsageLogBatches m_batches;
    LogSelection m_selection;
    LogTransfer m_transfer;
    BatchReorder m_reorder;
    quint16 m_selectionBatch = 0; // the batch whose logs the selection holds
    UsageLogBatches::ShowTags m_show = UsageLogBatches::ShowTags::All;
    HeaderSorter *m_sorter = nullptr; // the batch list's headings; no sort: manual order
    QList<Row> m_rows;
    QStandardItemModel *m_batchModel = nullptr;
    QStandardItemModel *m_logModel = nullptr;
    QTableView *m_batchView = nullptr;
    QTableView *m_logView = nullptr;
    QGroupBox *m_logPane = nullptr;
    QLabel *m_batchCount = nullptr;
    QLabel *m_logCount = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_result = nullptr;
    QPushButton *m_showTags = nullptr;
    QPushButton *m_paste = nullptr;
    QMenu *m_logMenu = nullptr;
    QMenu *m_batchMenu = nullptr;
    quint16 m_shownBatch = 0;
};

namespace UsageLogScreens {

// The exported procedures' work, over the current session.
void browse(data::ErrorManager &errors, const UsageLogWindow::ProcedureCaller &caller);
void update(data::ErrorManager &errors);
// UpdateEQLogB over the session's request and batch; Repetitive Insert opens
// it again after each log saved.
void updateLog(data::ErrorManager &errors, LogEntryMemory &memory,
               const UsageLogWindow::ProcedureCaller &caller);

} // namespace UsageLogScreens

} // namespace qaveq
