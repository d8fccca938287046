#include "AnalysisScreens.h"
#include "ReportScreens.h"

#include "common/ui/ScreenRunner.h"
#include "output/ui/ReportWindow.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "reports/AnalysisReports.h"
#include "reports/ReportDefinitions.h"
#include "reports/ReportFactory.h"

#include "suite/Procedures.h"

#include "runtime/widgets/ListExport.h"
#include "runtime/widgets/QtFileChooser.h"
#include "runtime/widgets/QtPrompter.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq::AnalysisScreens {

namespace {

DayNumber today()
{
    return SuiteDate::fromQDate(SystemClock().today());
}

QString money(const Analysis::Figure &figure)
{
    static const Picture picture = Picture::parse(u"@n-15.2"_s);
    return figure ? picture.format(*figure).trimmed() : QString();
}

// A read-only table of figures: the first `textColumns` columns hold texts,
// the others money, aligned on the right as on the printed report.
QTableWidget *figureTable(const QStringList &headings, int textColumns,
                          const QList<QStringList> &rows, QWidget *parent)
{
    auto *table = new QTableWidget(int(rows.size()), int(headings.size()), parent);
    table->setHorizontalHeaderLabels(headings);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows.at(r).size(); ++c) {
            auto *item = new QTableWidgetItem(rows.at(r).at(c));
            if (c >= textColumns)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->resizeColumnsToContents();
    return table;
}

// The figures of one equipment's block, as the report collected them.
QWidget *analysisTable(const Analysis::EquipmentFigures &figures, const Analysis::Period &period,
                       QWidget *parent)
{
    if (figures.categories.isEmpty())
        return new QLabel(Analysis::NoCostCategories, parent);
    // The cumulative column's heading names its date or range in full above
    // the table, so that the columns stay as narrow as their figures.
    const bool range = period.isRange();
    const QString groups[3] = {range ? QString() : u"Cumulative\n"_s,
                               period.headings[Analysis::Year] + u'\n',
                               period.headings[Analysis::Month] + u'\n'};
    QStringList headings{u"Type"_s, u"Description"_s, u"Units"_s};
    for (int c = 0; c < (range ? 1 : 3); ++c)
        for (const QString &figure : {u"Quantity"_s, u"Amount"_s, u"Per Unit"_s})
            headings.append(groups[c] + figure);
    QList<QStringList> rows;
    for (const Analysis::Row &row : figures.categories + figures.totals) {
        QStringList texts{row.code, row.description, row.unit};
        for (int i = 0; i < headings.size() - 3; ++i)
            texts.append(money(row.figures[i]));
        rows.append(texts);
    }
    auto *holder = new QWidget(parent);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *heading = new QLabel(period.headings[Analysis::Cumulative], holder);
    heading->setObjectName(u"PeriodHeading"_s);
    layout->addWidget(heading);
    layout->addWidget(figureTable(headings, 3, rows, holder), 1);
    return holder;
}

// The cost summary's line of one equipment: its rates and its three costs.
QWidget *summaryTable(const Analysis::SummaryLine &line, QWidget *parent)
{
    return figureTable({u"Internal Rate"_s, u"Rental Rate"_s, u"Month to Date Cost"_s,
                        u"Year to Date Cost"_s, u"Cumulative Cost"_s},
                       0,
                       {{money(line.internalRate), money(line.rentalRate), money(line.costs[0]),
                         money(line.costs[1]), money(line.costs[2])}},
                       parent);
}

// Where a tab keeps the format of its list: a folder per report below the
// maker's folder of the application data.
QString formatFile(const QString &folder)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(u"Korvalis/"_s + folder + u"/ListFormat.ini"_s);
}

} // namespace

QString recordCount(int count)
{
    return QString::number(count) + (count == 1 ? u" Record"_s : u" Records"_s);
}

void printAnalysis(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    if (session->reportViewMode == 0) {
        ReportScreens::printReport(u"PRINTEQANALYSIS"_s, errors, output);
        return;
    }
    const std::optional<EQLimits> definition = ReportDefinitions::handedOver(*session);
    if (!definition) {
        session->reportViewMode = 0;
        return;
    }
    auto collected = std::make_shared<QList<Analysis::EquipmentFigures>>();
    const ReportSelection selection(*session->company, *definition, today());
    const Analysis::Period period = Analysis::selectedPeriod(*session->company, selection, today());
    // The view shows what the report collects, without printing a page.
    const Analysis::Calculator calculator(*session->company, selection, period);
    for (const SelectedEquipment &piece : selection.equipment()) {
        EQHeader header;
        header.EquipmentID = piece.id;
        if (!session->company->file<EQHeader>().fetch(u"KeyEquipmentID", header))
            continue;
        Analysis::EquipmentFigures figures = calculator.equipment(header);
        if (!figures.categories.isEmpty() || calculator.listsWithoutCategories())
            collected->append(figures);
    }
    ViewTab tab{u"Analysis"_s, u"EQ Analysis Report"_s, u"EQ Analysis Listing"_s, {}, {}, {},
                Qt::Horizontal};
    for (const Analysis::EquipmentFigures &figures : *collected) {
        EQHeader header;
        header.EquipmentID = figures.id;
        static_cast<void>(session->company->file<EQHeader>().fetch(u"KeyEquipmentID", header));
        tab.equipment.append({figures.id, figures.description, Text::clip(header.VIN),
                              Text::clip(header.VehicleLicense)});
    }
    tab.detail = [collected, period](int row, QWidget *parent) {
        return analysisTable(collected->at(row), period, parent);
    };
    tab.print = [&errors, &output] {
        ReportScreens::printReport(u"PRINTEQANALYSIS"_s, errors, output);
    };
    viewWindow(*session, 1, std::move(tab));
}

void printSummary(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    if (session->reportViewMode == 0) {
        ReportScreens::printReport(u"PRINTEQANALYSIS1"_s, errors, output);
        return;
    }
    const std::optional<EQLimits> definition = ReportDefinitions::handedOver(*session);
    if (!definition) {
        session->reportViewMode = 0;
        return;
    }
    const ReportSelection selection(*session->company, *definition, today());
    const Analysis::Calculator calculator(
        *session->company, selection,
        Analysis::selectedPeriod(*session->company, selection, today()));
    auto lines = std::make_shared<QList<Analysis::SummaryLine>>();
    ViewTab tab{u"Cost Summary"_s, u"EQ Summary Report"_s, u"EQ Summary Listing"_s, {}, {}, {},
                Qt::Horizontal};
    for (const SelectedEquipment &piece : selection.equipment()) {
        EQHeader header;
        header.EquipmentID = piece.id;
        if (!session->company->file<EQHeader>().fetch(u"KeyEquipmentID", header))
            continue;
        const Analysis::SummaryLine line = calculator.summary(header);
        lines->append(line);
        tab.equipment.append({line.id, line.description, line.vin, line.license});
    }
    tab.detail = [lines](int row, QWidget *parent) { return summaryTable(lines->at(row), parent); };
    tab.print = [&errors, &output] {
        ReportScreens::printReport(u"PRINTEQANALYSIS1"_s, errors, output);
    };
    viewWindow(*session, 2, std::move(tab));
}

void printMaintenance(data::ErrorManager &errors, OutputState &output)
{
    ReportScreens::printReport(u"PRINTEQMAINTENANCE"_s, errors, output);
}

void viewWindow(data::Session &session, int mode, ViewTab tab, QWidget *parent)
{
    if (!parent)
        parent = QApplication::activeWindow();
    QDialog window(parent);
    window.setObjectName(u"LISTEQREPORTS"_s);
    window.setWindowTitle(u"Analysis Report Detail"_s);
    window.resize(1360, 680);
    auto *layout = new QVBoxLayout(&window);
    auto *tabs = new QTabWidget(&window);
    layout->addWidget(tabs);
    // One page per view mode; only the page of this run's report is shown.
    auto *page = new QWidget(tabs);
    tabs->addTab(page, tab.title);
    tabs->setProperty("viewMode", mode);
    auto *pageLayout = new QVBoxLayout(page);

    auto *model = new QStandardItemModel(0, 4, page);
    model->setHorizontalHeaderLabels({u"ID"_s, u"Description"_s, u"VIN"_s, u"License"_s});
    for (int r = 0; r < tab.equipment.size(); ++r) {
        QList<QStandardItem *> items;
        for (const QString &text : tab.equipment.at(r)) {
            auto *item = new QStandardItem(text);
            item->setData(r, Qt::UserRole);
            items.append(item);
        }
        model->appendRow(items);
    }
    auto *sorted = new QSortFilterProxyModel(page);
    sorted->setSourceModel(model);
    sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    auto *list = new QTableView(page);
    list->setObjectName(u"EquipmentList"_s);
    list->setModel(sorted);
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setStretchLastSection(true);
    list->resizeColumnsToContents();
    QSettings format(formatFile(tab.formatFolder), QSettings::IniFormat);
    if (const QByteArray state = format.value(u"List/Header"_s).toByteArray(); !state.isEmpty())
        list->horizontalHeader()->restoreState(state);

    auto *split = new QSplitter(tab.arrangement, page);
    split->addWidget(list);
    auto *detailArea = new QWidget(split);
    auto *detailHolder = new QVBoxLayout(detailArea);
    detailHolder->setContentsMargins(0, 0, 0, 0);
    split->addWidget(detailArea);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    pageLayout->addWidget(split, 1);
    auto *count = new QLabel(recordCount(int(tab.equipment.size())), page);
    pageLayout->addWidget(count);

    const auto highlighted = [list]() -> int {
        const QModelIndex index = list->currentIndex();
        return index.isValid() ? index.data(Qt::UserRole).toInt() : -1;
    };
    QWidget *shown = nullptr;
    const auto showDetail = [&] {
        delete shown;
        shown = nullptr;
        const int row = highlighted();
        if (row >= 0 && tab.detail) {
            shown = tab.detail(row, detailArea);
            detailHolder->addWidget(shown);
        }
    };
    QObject::connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, &window,
                     [&](const QModelIndex &, const QModelIndex &) { showDetail(); });

    auto *buttons = new QHBoxLayout;
    auto *view = new QPushButton(u"&View"_s, page);
    auto *sendTo = new QPushButton(u"&Send To"_s, page);
    auto *print = new QPushButton(u"&Print"_s, page);
    auto *close = new QPushButton(u"&Close"_s, page);
    for (QPushButton *button : {view, sendTo, print})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    pageLayout->addLayout(buttons);

    QObject::connect(view, &QPushButton::clicked, &window, [&] {
        const int row = highlighted();
        if (row < 0)
            return;
        EQHeader header;
        header.EquipmentID = tab.equipment.at(row).at(0);
        if (!session.company->file<EQHeader>().fetch(u"KeyEquipmentID", header))
            return;
        session.buffer<EQHeader>() = header;
        suite::OVVIEWEQHEADER();
    });
    QObject::connect(sendTo, &QPushButton::clicked, &window, [&] {
        QtPrompter prompter(&window);
        const QString folder = ListExport::defaultFolder(u"Korvalis/"_s + tab.sendToName);
        QDir().mkpath(folder);
        QtFileChooser chooser(&window);
        const QString path =
            chooser.choose(FileChooser::Purpose::Save, u"Send To"_s,
                           QDir(folder).filePath(tab.sendToName + u".csv"_s),
                           u"Comma-separated values (*.csv);;Tab-separated text (*.txt)"_s);
        if (path.isEmpty())
            return;
        QList<QStringList> rows;
        for (int r = 0; r < sorted->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells.append(sorted->index(r, c).data().toString());
            rows.append(cells);
        }
        const ListExport::Format kind = path.endsWith(u".txt"_s, Qt::CaseInsensitive)
                                            ? ListExport::Format::Tab
                                            : ListExport::Format::Csv;
        if (const QString problem = ListExport::write(
                {u"ID"_s, u"Description"_s, u"VIN"_s, u"License"_s}, rows, path, kind);
            !problem.isEmpty())
            prompter.ask(Message::alert(u"Send To"_s, problem));
    });
    QObject::connect(print, &QPushButton::clicked, &window, [&] {
        session.reportViewMode = 0;
        if (tab.print)
            tab.print();
    });
    QObject::connect(close, &QPushButton::clicked, &window, &QDialog::accept);
    if (sorted->rowCount() > 0)
        list->setCurrentIndex(sorted->index(0, 0));
    window.exec();
    QDir().mkpath(QFileInfo(formatFile(tab.formatFolder)).absolutePath());
    format.setValue(u"List/Header"_s, list->horizontalHeader()->saveState());
    session.reportViewMode = 0;
    session.globalResponse = data::Response::Completed;
}

} // namespace qaveq::AnalysisScreens
