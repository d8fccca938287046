#include "DesignedReportsWindow.h"

#include "writer/WriterCatalogues.h"

#include "runtime/widgets/DialogFrame.h"

#include "data/Session.h"

#include "core/Prompter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

constexpr int IndexRole = Qt::UserRole;

} // namespace

DesignedReportsWindow::DesignedReportsWindow(data::Session &session, Prompter &prompter,
                                             Runner runner, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
    , m_runner(std::move(runner))
{
    useDialogFrame(this);
    setObjectName(u"LISTEQREPORTS"_s);
    setWindowTitle(u"Report Writer Reports"_s);
    resize(900, 460);
    auto *layout = new QVBoxLayout(this);
    QStringList folders;
    for (const QString &folder : DesignedReports::folders(session))
        folders.append(QDir::toNativeSeparators(folder));
    auto *where = new QLabel(
        u"The reports designed for this company, from %1."_s.arg(folders.join(u" and "_s)), this);
    where->setWordWrap(true);
    layout->addWidget(where);

    auto *row = new QHBoxLayout;
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({u"Report"_s, u"Reports on"_s, u"File"_s, u"Changed"_s});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    row->addWidget(m_list, 1);
    connect(m_list, &QTreeWidget::itemActivated, this, [this] {
        if (const DesignedReport *report = current(); report && report->type)
            start(*report, 0);
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, &DesignedReportsWindow::updateButtons);

    auto *buttons = new QVBoxLayout;
    m_run = new QPushButton(u"&Run"_s, this);
    m_design = new QPushButton(u"&Design"_s, this);
    auto *create = new QPushButton(u"&New..."_s, this);
    m_copy = new QPushButton(u"Co&py"_s, this);
    m_delete = new QPushButton(u"De&lete"_s, this);
    auto *close = new QPushButton(u"&Close"_s, this);
    m_run->setToolTip(u"Runs the highlighted report over the data, to the preview."_s);
    m_design->setToolTip(u"Opens the highlighted report in the designer."_s);
    create->setToolTip(u"Designs a new report."_s);
    m_copy->setToolTip(u"Copies the highlighted report beside it, to change the copy."_s);
    m_delete->setToolTip(u"Deletes the highlighted report's file."_s);
    for (QPushButton *button : {m_run, m_design, create, m_copy, m_delete})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    row->addLayout(buttons);
    layout->addLayout(row, 1);

    connect(m_run, &QPushButton::clicked, this, [this] {
        if (const DesignedReport *report = current())
            start(*report, 0);
    });
    connect(m_design, &QPushButton::clicked, this, [this] {
        if (const DesignedReport *report = current())
            start(*report, 1);
    });
    connect(create, &QPushButton::clicked, this, &DesignedReportsWindow::designNew);
    connect(m_copy, &QPushButton::clicked, this, &DesignedReportsWindow::copyCurrent);
    connect(m_delete, &QPushButton::clicked, this, &DesignedReportsWindow::deleteCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    reload();
    m_list->setFocus();
}

void DesignedReportsWindow::reload()
{
    const DesignedReport *before = current();
    const QString path = before ? before->path : QString();
    m_reports = DesignedReports::list(DesignedReports::folders(m_session));
    m_list->clear();
    QTreeWidgetItem *restored = nullptr;
    for (int i = 0; i < m_reports.size(); ++i) {
        const DesignedReport &report = m_reports.at(i);
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, report.name);
        item->setText(1, report.type ? report.type->title : report.problem);
        item->setText(2, QDir::toNativeSeparators(report.path));
        item->setText(3, QLocale().toString(report.modified, QLocale::ShortFormat));
        item->setData(0, IndexRole, i);
        if (!report.problem.isEmpty())
            item->setToolTip(1, report.problem);
        if (report.path == path)
            restored = item;
    }
    if (m_reports.isEmpty()) {
        auto *none =
            new QTreeWidgetItem(m_list, {u"No reports are designed yet: New designs one."_s});
        none->setFirstColumnSpanned(true);
        none->setFlags(Qt::ItemIsEnabled);
    }
    m_list->setCurrentItem(restored ? restored : m_list->topLevelItem(0));
    updateButtons();
}

const DesignedReport *DesignedReportsWindow::current() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item || !item->data(0, IndexRole).isValid())
        return nullptr;
    return &m_reports.at(item->data(0, IndexRole).toInt());
}

void DesignedReportsWindow::updateButtons()
{
    const DesignedReport *report = current();
    const bool usable = report && report->type;
    m_run->setEnabled(usable);
    m_design->setEnabled(usable);
    m_copy->setEnabled(usable);
    m_delete->setEnabled(report != nullptr);
}

void DesignedReportsWindow::start(const DesignedReport &report, int editAction)
{
    data::Session::ReportWriter &settings = m_session.reportWriter;
    const QString searchPath = settings.searchPath;
    // The file's whole path stands for the name; the search path stays the
    // user's for the next run.
    settings.searchPath.clear();
    settings.fileName = report.path;
    settings.editAction = editAction;
    m_runner(report.type->procedure);
    settings.searchPath = searchPath;
    reload();
}

void DesignedReportsWindow::designNew()
{
    QStringList titles;
    for (const WriterReportType &type : writerReportTypes())
        titles.append(type.title);
    QInputDialog dialog(this);
    useDialogFrame(&dialog);
    dialog.setWindowTitle(u"New Report"_s);
    dialog.setLabelText(u"&What will the report list?"_s);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog.setComboBoxItems(titles);
    dialog.setTextValue(titles.first());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const WriterReportType &type = writerReportTypes().at(titles.indexOf(dialog.textValue()));
    data::Session::ReportWriter &settings = m_session.reportWriter;
    const QString searchPath = settings.searchPath;
    settings.searchPath.clear();
    settings.fileName.clear();
    settings.editAction = 1;
    m_runner(type.procedure);
    settings.searchPath = searchPath;
    reload();
}

void DesignedReportsWindow::copyCurrent()
{
    const DesignedReport *report = current();
    if (!report)
        return;
    QString error;
    const std::optional<QString> copy = DesignedReports::copy(*report, &error);
    if (!copy) {
        tell(error);
        return;
    }
    reload();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        if (m_list->topLevelItem(i)->text(2) == QDir::toNativeSeparators(*copy))
            m_list->setCurrentItem(m_list->topLevelItem(i));
}

void DesignedReportsWindow::deleteCurrent()
{
    const DesignedReport *report = current();
    if (!report)
        return;
    const int answer =
        m_prompter.ask(Message{u"Delete Report"_s,
                               u"Delete the report \"%1\"?|Its file %2 is removed for good."_s.arg(
                                   report->name, QDir::toNativeSeparators(report->path)),
                               u"&Yes|&No"_s, 2, Message::Icon::Question});
    if (answer != 1)
        return;
    QString error;
    if (!DesignedReports::remove(*report, &error))
        tell(error);
    reload();
}

void DesignedReportsWindow::tell(const QString &text)
{
    m_prompter.ask(Message::alert(u"Report Writer Reports"_s, text));
}

} // namespace qaveq
