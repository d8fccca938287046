#include "ExportWindow.h"

#include "BatchChooser.h"
#include "ImportWindow.h"

#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"

#include "transfer/UsageLogExporter.h"

#include "data/Session.h"

#include "runtime/AutoEntry.h"
#include "runtime/widgets/TypedValues.h"

#include "core/Clock.h"
#include "core/Picker.h"
#include "core/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// Where the names of earlier export files are remembered, to be offered again.
const QString FileNameHistory = u"ExportEQLog/FileName"_s;

} // namespace

ExportWindow::ExportWindow(data::Session &session, Prompter &prompter, FileChooser &files,
                           quint16 batchId, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
    , m_files(files)
    , m_batchId(batchId)
    , m_view([](const QString &path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); })
    , m_fileName(new QLineEdit(this))
    , m_preview(new QCheckBox(u"Preview the text file before closing"_s, this))
{
    setObjectName(u"ExportEQLog"_s);
    setWindowTitle(u"Equipment Log Export"_s);
    auto *layout = new QVBoxLayout(this);
    auto *intro =
        new QLabel(u"This will create a text file containing the transactions in the "
                   u"highlighted batch.  Please indicate a filename for the export file."_s,
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    if (batchId == 0) {
        // Whose batches are open to the user does not depend on the day.
        const SystemClock clock;
        m_batchChooser =
            new BatchChooser(UsageLogBatches(session, prompter, clock).open(false), this);
        auto *batchRow = new QFormLayout;
        batchRow->addRow(u"Export &Batch"_s, m_batchChooser);
        layout->addLayout(batchRow);
    }
    auto *fileRow = new QHBoxLayout;
    m_fileName->setMaxLength(255);
    TypedValues::offer(m_fileName, FileNameHistory);
    fileRow->addWidget(m_fileName, 1);
    auto *fileButton = new QPushButton(u"..."_s, this);
    fileButton->setAutoDefault(false);
    connect(fileButton, &QPushButton::clicked, this, &ExportWindow::chooseFile);
    fileRow->addWidget(fileButton);
    layout->addLayout(fileRow);
    layout->addWidget(m_preview);
    auto *buttons = new QDialogButtonBox(this);
    connect(buttons->addButton(u"&Proceed"_s, QDialogButtonBox::AcceptRole), &QPushButton::clicked,
            this, &ExportWindow::proceed);
    connect(buttons->addButton(u"&Cancel"_s, QDialogButtonBox::RejectRole), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, 160);
}

void ExportWindow::chooseFile()
{
    const QString chosen =
        m_files.choose(FileChooser::Purpose::Save, u"Indicate an Export Filename"_s,
                       m_fileName->text(), u"Text Files (*.txt);;All Files (*)"_s);
    if (!chosen.isEmpty())
        m_fileName->setText(chosen);
}

void ExportWindow::proceed()
{
    const QString path = m_fileName->text().trimmed();
    if (path.isEmpty()) {
        m_fileName->setFocus();
        return;
    }
    const quint16 batchId = m_batchChooser ? m_batchChooser->batchId() : m_batchId;
    if (!TransferScreens::batchChosen(batchId, m_prompter))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UsageLogExporter::Result result =
        UsageLogExporter::exportBatch(*m_session.company, batchId, path);
    QApplication::restoreOverrideCursor();
    if (!result.done) {
        m_prompter.ask(
            Message{u"Export Not Done"_s, result.problem, u"&OK"_s, 1, Message::Icon::Stop});
        return;
    }
    if (AutoEntry *history = AutoEntry::current())
        history->remember(FileNameHistory, path);
    if (m_preview->isChecked())
        m_view(path);
    else
        m_prompter.ask(Message{u"Equipment Log Export"_s, u"Export Process Complete"_s, u"&OK"_s, 1,
                               Message::Icon::Information});
    accept();
}

} // namespace qaveq
