#include "ImportWindow.h"

#include "BatchChooser.h"
#include "ExportWindow.h"
#include "ImportSourceForm.h"

#include "common/ReadOnlyAccess.h"
#include "common/ui/ScreenRunner.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "transfer/ImportPreview.h"
#include "transfer/ImportSources.h"

#include "data/Company.h"
#include "data/ErrorManager.h"

#include "runtime/widgets/QtFileChooser.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/Text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

const QString FileFilter = u"Text Files (*.txt *.csv);;All Files (*)"_s;
// The suite's dialog units are about a quarter of an average character.
constexpr int PixelsPerUnit = 2;
// Lines imported between two showings of the progress.
constexpr int ProgressStep = 1000;

} // namespace

// The previewed lines under the source's columns, each cell written when it
// comes into sight: 100,000 lines cost no item of their own.
class ImportPreviewModel : public QAbstractTableModel
{
public:
    ImportPreviewModel(const UsageLogImporter &importer, QObject *parent)
        : QAbstractTableModel(parent)
        , m_importer(importer)
    {}

    const QList<ImportPreview::Column> &columns() const { return m_columns; }
    void setColumns(QList<ImportPreview::Column> columns)
    {
        beginResetModel();
        m_columns = std::move(columns);
        m_rows = 0;
        endResetModel();
    }
    // Shows the importer's lines as they are now; `false` shows none.
    void showLines(bool shown)
    {
        beginResetModel();
        m_rows = shown ? int(m_importer.lines().size()) : 0;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows)
            return {};
        const ImportPreview::Column &column = m_columns[index.column()];
        if (role == Qt::DisplayRole)
            return ImportPreview::text(m_importer.lines()[index.row()].fields, column);
        if (role == Qt::TextAlignmentRole)
            return alignment(column);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
            return QAbstractTableModel::headerData(section, orientation, role);
        if (role == Qt::DisplayRole)
            return m_columns[section].heading;
        if (role == Qt::TextAlignmentRole)
            return alignment(m_columns[section]);
        return {};
    }

private:
    static QVariant alignment(const ImportPreview::Column &column)
    {
        return QVariant::fromValue(
            Qt::Alignment((column.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }

    const UsageLogImporter &m_importer;
    QList<ImportPreview::Column> m_columns;
    int m_rows = 0;
};

ImportErrorsWindow::ImportErrorsWindow(const QList<UsageLogImporter::Error> &errors,
                                       QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(u"Errors Were Encountered"_s);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(u"Some errors were encountered while reading the import file.  The "
                             u"errors are listed below:"_s,
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *list = new QTableWidget(int(errors.size()), 2, this);
    list->setHorizontalHeaderLabels({u"Record #"_s, u"Error Description"_s});
    list->verticalHeader()->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < errors.size(); ++i) {
        auto *number = new QTableWidgetItem(QString::number(errors[i].line));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        list->setItem(i, 0, number);
        list->setItem(i, 1, new QTableWidgetItem(errors[i].text));
    }
    layout->addWidget(list, 1);
    auto *question = new QLabel(u"Do you wish to proceed with the import, or cancel and fix the "
                                u"problems in the import file?"_s,
                                this);
    question->setWordWrap(true);
    layout->addWidget(question);
    auto *buttons = new QDialogButtonBox(this);
    connect(buttons->addButton(u"&Proceed"_s, QDialogButtonBox::AcceptRole), &QPushButton::clicked,
            this, &QDialog::accept);
    connect(buttons->addButton(u"&Cancel"_s, QDialogButtonBox::RejectRole), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 400);
}

ImportWindow::ImportWindow(data::Session &session, Prompter &prompter, FileChooser &files,
                           const Clock &clock, quint16 batchId, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
    , m_files(files)
    , m_batchId(batchId)
    , m_importer(session, clock)
    , m_sources(new QListWidget(this))
    , m_preview(new QTableView(this))
    , m_lines(new ImportPreviewModel(m_importer, this))
    , m_count(new QLabel(this))
    , m_encodingNote(new QLabel(this))
    , m_progress(new QProgressBar(this))
{
    setObjectName(u"ImportEQLog"_s);
    setWindowTitle(u"Import Equipment Logs"_s);
    m_reviewErrors = [this](const QList<UsageLogImporter::Error> &errors) {
        return ImportErrorsWindow(errors, this).exec() == QDialog::Accepted;
    };
    m_editSource = [this](data::Request request,
                          const JCLimits &source) -> std::optional<JCLimits> {
        ImportSourceForm form(m_session, m_prompter, m_files, request, source, this);
        if (form.exec() != QDialog::Accepted)
            return std::nullopt;
        return form.source();
    };

    auto *layout = new QVBoxLayout(this);
    if (batchId == 0) {
        m_batchChooser =
            new BatchChooser(UsageLogBatches(session, prompter, clock).open(true), this);
        auto *batchRow = new QFormLayout;
        batchRow->addRow(u"Import into &Batch"_s, m_batchChooser);
        layout->addLayout(batchRow);
    }
    auto *top = new QHBoxLayout;
    auto *sourceBox = new QGroupBox(u"Source"_s, this);
    auto *sourceLayout = new QVBoxLayout(sourceBox);
    sourceLayout->addWidget(m_sources);
    m_sources->setMaximumHeight(fontMetrics().height() * 8);
    top->addWidget(sourceBox, 1);
    auto *buttons = new QVBoxLayout;
    const auto add = [this, buttons](const QString &text, auto action) {
        auto *button = new QPushButton(text, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        return button;
    };
    add(u"&Add"_s, &ImportWindow::addSource);
    add(u"&Change"_s, &ImportWindow::changeSource);
    add(u"&Delete"_s, &ImportWindow::deleteSource);
    m_previewButton = add(u"&Preview"_s, &ImportWindow::preview);
    m_importButton = add(u"&Import"_s, &ImportWindow::import);
    add(u"&Close"_s, &QDialog::reject);
    buttons->addStretch();
    top->addLayout(buttons);
    layout->addLayout(top);
    m_preview->setModel(m_lines);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_preview->verticalHeader()->hide();
    m_preview->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    layout->addWidget(m_preview, 3);
    m_encodingNote->hide();
    layout->addWidget(m_encodingNote);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    m_progress->setObjectName(u"importProgress"_s);
    m_progress->hide();
    bottom->addWidget(m_progress, 2);
    layout->addLayout(bottom);
    m_importButton->setEnabled(false);
    connect(m_sources, &QListWidget::currentRowChanged, this, [this] {
        setUpColumns();
        m_importer.dropLines();
        m_importButton->setEnabled(false);
        m_previewButton->setEnabled(true);
        m_count->clear();
        m_encodingNote->hide();
    });
    connect(m_sources, &QListWidget::itemDoubleClicked, this, &ImportWindow::changeSource);

    QString failure;
    if (!ImportSources::ensureBuiltIn(*session.company, &failure))
        m_prompter.ask(Message::alert(u"Import Source"_s, failure));
    loadSources(ImportLayout::BuiltInTitle);
    resize(900, 560);
}

QPushButton &ImportWindow::button(const QString &text) const
{
    for (QPushButton *button : findChildren<QPushButton *>())
        if (button->text() == text)
            return *button;
    throw std::out_of_range("no such button");
}

std::optional<JCLimits> ImportWindow::highlightedSource() const
{
    const int row = m_sources->currentRow();
    if (row < 0 || row >= m_sourceRecords.size())
        return std::nullopt;
    return m_sourceRecords[row];
}

void ImportWindow::loadSources(const QString &highlight)
{
    m_sourceRecords = ImportSources::all(*m_session.company);
    const QSignalBlocker quiet(m_sources);
    m_sources->clear();
    int current = 0;
    for (int i = 0; i < m_sourceRecords.size(); ++i) {
        const QString title = Text::clip(m_sourceRecords[i].ReportTitle);
        m_sources->addItem(title);
        if (title == highlight)
            current = i;
    }
    if (!m_sourceRecords.isEmpty())
        m_sources->setCurrentRow(current);
    setUpColumns();
}

void ImportWindow::setUpColumns()
{
    const std::optional<JCLimits> source = highlightedSource();
    m_lines->setColumns(ImportPreview::columns(source ? ImportLayout::items(source->Layout)
                                                      : QList<ImportLayout::Item>()));
    const QList<ImportPreview::Column> &columns = m_lines->columns();
    for (int i = 0; i < columns.size(); ++i)
        m_preview->setColumnWidth(i,
                                  qMax(columns[i].width * PixelsPerUnit,
                                       fontMetrics().horizontalAdvance(columns[i].heading) + 12));
}

void ImportWindow::showLines()
{
    m_lines->showLines(true);
    const qsizetype lines = m_importer.lines().size();
    const bool any = lines > 0;
    m_importButton->setEnabled(any);
    m_previewButton->setEnabled(!any);
    m_count->setText(any && m_session.recordCounts ? UsageLogImporter::countText(lines)
                                                   : QString());
    m_encodingNote->setText(m_importer.encodingNote());
    m_encodingNote->setVisible(!m_importer.encodingNote().isEmpty());
}

void ImportWindow::addSource()
{
    JCLimits fresh;
    fresh.Report = ImportLayout::SourceKind;
    fresh.PrintOrder = QString(ImportLayout::Comma);
    fresh.JobTo = ImportLayout::BuiltInDateFormat;
    if (const std::optional<JCLimits> saved = m_editSource(data::Request::Insert, fresh))
        loadSources(Text::clip(saved->ReportTitle));
}

void ImportWindow::changeSource()
{
    const std::optional<JCLimits> source = highlightedSource();
    if (!source)
        return;
    if (const std::optional<JCLimits> saved = m_editSource(data::Request::Change, *source))
        loadSources(Text::clip(saved->ReportTitle));
}

void ImportWindow::deleteSource()
{
    const std::optional<JCLimits> source = highlightedSource();
    if (!source)
        return;
    if (ImportSources::isBuiltIn(*source)) {
        m_prompter.ask(
            Message::alert(u"Cannot Delete"_s, u"This Import Type cannot be deleted."_s));
        return;
    }
    if (m_editSource(data::Request::Delete, *source))
        loadSources(ImportLayout::BuiltInTitle);
}

void ImportWindow::preview()
{
    std::optional<JCLimits> source = highlightedSource();
    if (!source)
        return;
    QString path = Text::clip(source->NameFrom);
    // Only a missing file asks for another; a folder, a device or a pipe is
    // refused by the reading with its own reason.
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        if (m_prompter.ask(Message{u"Select New Filename"_s,
                                   u"The selected import file, "_s + path +
                                       u" does not exist.  Do you wish to "_s +
                                       u"select a different file?"_s,
                                   u"&Yes|&No"_s, 1, Message::Icon::Question}) != 1)
            return;
        path = m_files.choose(FileChooser::Purpose::Open, u"Select An Import File"_s, path,
                              FileFilter);
        if (path.isEmpty())
            return;
        source->NameFrom = path;
        if (data::FileStatus status = m_session.company->file<JCLimits>().update(*source); !status)
            m_prompter.ask(Message{u"Record Not Saved"_s,
                                   status.error().text() + u" Saving JCLimits"_s, u"&OK"_s, 1,
                                   Message::Icon::Stop});
        else
            m_sourceRecords[m_sources->currentRow()] = *source;
    }
    setUpColumns();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString problem = m_importer.read(*source, path);
    QApplication::restoreOverrideCursor();
    if (!problem.isEmpty()) {
        m_prompter.ask(Message::alert(u"Cannot Read File"_s, problem));
        return;
    }
    if (!m_importer.errors().isEmpty()) {
        if (m_session.audibleBeeps)
            QApplication::beep();
        if (!m_reviewErrors(m_importer.errors()))
            m_importer.dropLines();
    }
    if (const int others = m_importer.otherCostTypes(); others > 0) {
        const int answer = m_prompter.ask(
            Message{u"Import Non-Equipment Cost Types?"_s,
                    u"Out of the "_s + QString::number(m_importer.lines().size()) +
                        u" usage log records to be imported,|"_s + QString::number(others) +
                        u" have been charged to cost types other than Equipment.|"_s +
                        u"Would you like to import just items charged to Equipment, |"_s +
                        u"cost codes, or All usage log records, regardless of the |"_s +
                        u"cost type they are charged to?"_s,
                    u"&Equipment Only|&All Types"_s, 1, Message::Icon::Question});
        if (answer == 1)
            m_importer.keepEquipmentOnly();
    }
    showLines();
}

void ImportWindow::import()
{
    const quint16 batchId = m_batchChooser ? m_batchChooser->batchId() : m_batchId;
    if (m_importer.lines().isEmpty() || !TransferScreens::batchChosen(batchId, m_prompter))
        return;
    // The run is one transaction and cannot stop half-way: the bar shows how
    // far it is and the window keeps painting, but takes no input meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_progress->setRange(0, int(m_importer.lines().size()));
    m_progress->setValue(0);
    m_progress->show();
    const UsageLogImporter::Result result = m_importer.import(batchId, [this](int done, int total) {
        if (done % ProgressStep == 0 || done == total) {
            m_progress->setValue(done);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        return true;
    });
    m_progress->hide();
    QApplication::restoreOverrideCursor();
    if (!result.done) {
        m_prompter.ask(
            Message{u"Import Not Done"_s, result.problem, u"&OK"_s, 1, Message::Icon::Stop});
        return;
    }
    m_lines->showLines(false);
    m_importButton->setEnabled(false);
    m_previewButton->setEnabled(true);
    m_session.resultLine = UsageLogImporter::resultText(result, batchId);
    accept();
}

namespace TransferScreens {

bool batchChosen(quint16 batchId, Prompter &prompter)
{
    if (batchId != 0)
        return true;
    prompter.ask(Message::alert(
        u"No Batch"_s, u"Choose a batch, or highlight one in the usage-log window: the logs "
                       u"go into that batch, or come from it."_s));
    return false;
}

// The batch highlighted in the usage-log window; 0 when there is none (the
// windows then say so when asked to write).
static quint16 highlightedBatch(data::Session &session)
{
    EQBatch batch;
    batch.BatchID = session.buffer<EQBatch>().BatchID;
    if (batch.BatchID != 0 && session.company->file<EQBatch>().fetch(u"KeyBatchID", batch))
        return batch.BatchID;
    return 0;
}

void importLogs(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session || refuseUsageLogsReadOnly(*session, *errors.prompter()))
        return;
    const quint16 batchId = highlightedBatch(*session);
    static const SystemClock clock;
    QtFileChooser files(QApplication::activeWindow());
    ImportWindow window(*session, *errors.prompter(), files, clock, batchId,
                        QApplication::activeWindow());
    window.exec();
}

void exportLogs(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    const quint16 batchId = highlightedBatch(*session);
    QtFileChooser files(QApplication::activeWindow());
    ExportWindow window(*session, *errors.prompter(), files, batchId, QApplication::activeWindow());
    window.exec();
}

} // namespace TransferScreens

} // namespace qaveq
