#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;

namespace qaveq {

class BatchChooser;
class FileChooser;
class Prompter;

namespace data {
class Session;
}

// ExportEQLog, "Equipment Log Export": writes the logs of the batch
// highlighted in the usage-log window to a text file the import reads back;
// opened without one (batch 0), the window offers the batches the user may read.
class ExportWindow : public QDialog
{
    Q_OBJECT

public:
    // Shows a written file in the desktop's text editor.
    using Viewer = std::function<void(const QString &path)>;

    ExportWindow(data::Session &session, Prompter &prompter, FileChooser &files, quint16 batchId,
                 QWidget *parent = nullptr);

    void setViewer(Viewer viewer) { m_view = std::move(viewer); }
    QLineEdit &fileName() const { return *m_fileName; }
    QCheckBox &previewBox() const { return *m_preview; }
    // Null when the window was handed a batch.
    BatchChooser *batchChooser() const { return m_batchChooser; }

    void chooseFile();
    void proceed();

private:
    data::Session &m_session;
    Prompter &m_prompter;
    FileChooser &m_files;
    quint16 m_batchId;
    Viewer m_view;
    QLineEdit *m_fileName;
    QCheckBox *m_preview;
    BatchChooser *m_batchChooser = nullptr;
};

} // namespace qaveq
