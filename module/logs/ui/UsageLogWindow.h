#pragma once

#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"

#include "data/Session.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QWidget;

namespace qaveq {

class Clock;
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
    void sortBy(int column);
    void resetSort();

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
    // Runs the log entry form over the held batch.
    void enterLog(bool adding);
    void callBatchForm(data::Request request);

    data::Session &m_session;
    Prompter &m_prompter;
    ProcedureCaller m_caller;
    UsageLogBatches m_batches;
    UsageLogBatches::ShowTags m_show = UsageLogBatches::ShowTags::All;
    int m_sortColumn = -1; // -1: manual order
    QList<Row> m_rows;
    QStandardItemModel *m_batchModel = nullptr;
    QStandardItemModel *m_logModel = nullptr;
    QTableView *m_batchView = nullptr;
    QTableView *m_logView = nullptr;
    QGroupBox *m_logPane = nullptr;
    QLabel *m_batchCount = nullptr;
    QLabel *m_logCount = nullptr;
    QLabel *m_total = nullptr;
    QPushButton *m_showTags = nullptr;
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
