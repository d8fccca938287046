#include "ExportWindow.h"

#include "ImportWindow.h"

#include "transfer/UsageLogExporter.h"

#include "data/Session.h"

#include "core/Picker.h"
#include "core/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

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
    auto *fileRow = new QHBoxLayout;
    m_fileName->setMaxLength(255);
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
    if (!TransferScreens::batchChosen(m_batchId, m_prompter))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UsageLogExporter::Result result =
        UsageLogExporter::exportBatch(*m_session.company, m_batchId, path);
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        m_prompter.ask(
            Message{u"Export Not Done"_s, result.problem, u"&OK"_s, 1, Message::Icon::Stop});
        return;
    }
    if (m_preview->isChecked())
        m_view(path);
    else
        m_prompter.ask(Message{u"Equipment Log Export"_s, u"Export Process Complete"_s, u"&OK"_s, 1,
                               Message::Icon::Information});
    accept();
}

} // namespace qaveq
