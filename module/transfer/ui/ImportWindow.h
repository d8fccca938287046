#pragma once

#include "transfer/UsageLogImporter.h"

#include "data/Session.h"
#include "data/suite/JobCostFiles.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;

namespace qaveq {

class BatchChooser;
class Clock;
class ImportPreviewModel;
class FileChooser;
class Prompter;

namespace data {
class ErrorManager;
}

// BrowseErrQue, "Errors Were Encountered": the lines that failed their
// checks; true when the user chose to proceed with the others.
class ImportErrorsWindow : public QDialog
{
    Q_OBJECT

public:
    ImportErrorsWindow(const QList<UsageLogImporter::Error> &errors, QWidget *parent = nullptr);
};

// ImportEQLog, "Import Equipment Logs": the import sources, the preview of
// the highlighted source's file and the import into the batch highlighted in
// the usage-log window; opened without one (batch 0), the window offers the
// batches the user may add logs to. The reading, checks and writing are
// UsageLogImporter's.
class ImportWindow : public QDialog
{
    Q_OBJECT

public:
    // The error list; true to proceed with the valid lines.
    using ErrorReview = std::function<bool(const QList<UsageLogImporter::Error> &)>;
    // The source form for Add, Change and Delete; the saved (or deleted) source,
    // nothing when cancelled.
    using SourceEditor = std::function<std::optional<JCLimits>(data::Request, const JCLimits &)>;

    ImportWindow(data::Session &session, Prompter &prompter, FileChooser &files, const Clock &clock,
                 quint16 batchId, QWidget *parent = nullptr);

    void setErrorReview(ErrorReview review) { m_reviewErrors = std::move(review); }
    void setSourceEditor(SourceEditor editor) { m_editSource = std::move(editor); }

    QListWidget &sources() const { return *m_sources; }
    QTableView &previewList() const { return *m_preview; }
    QLabel &count() const { return *m_count; }
    // How the previewed file was read, when it was not UTF-8.
    QLabel &encodingNote() const { return *m_encodingNote; }
    // Shown while the import runs.
    QProgressBar &progress() const { return *m_progress; }
    // Null when the window was handed a batch.
    BatchChooser *batchChooser() const { return m_batchChooser; }
    QPushButton &button(const QString &text) const;
    const UsageLogImporter &importer() const { return m_importer; }

    void addSource();
    void changeSource();
    void deleteSource();
    void preview();
    void import();

private:
    std::optional<JCLimits> highlightedSource() const;
    void loadSources(const QString &highlight);
    void setUpColumns();
    void showLines();

    data::Session &m_session;
    Prompter &m_prompter;
    FileChooser &m_files;
    quint16 m_batchId;
    UsageLogImporter m_importer;
    QList<JCLimits> m_sourceRecords;
    ErrorReview m_reviewErrors;
    SourceEditor m_editSource;
    QListWidget *m_sources;
    QTableView *m_preview;
    ImportPreviewModel *m_lines;
    QLabel *m_count;
    QLabel *m_encodingNote;
    QProgressBar *m_progress;
    QPushButton *m_previewButton = nullptr;
    QPushButton *m_importButton = nullptr;
    BatchChooser *m_batchChooser = nullptr;
};

namespace TransferScreens {

// The exported procedures: the batch is the one in the usage-log window's
// batch buffer.
void importLogs(data::ErrorManager &errors);
// Says so when no batch was highlighted or chosen (0); true when one was.
bool batchChosen(quint16 batchId, Prompter &prompter);
void exportLogs(data::ErrorManager &errors);

} // namespace TransferScreens

} // namespace qaveq
