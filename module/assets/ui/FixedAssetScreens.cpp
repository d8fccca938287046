#include "FixedAssetScreens.h"

#include "assets/FixedAssetReports.h"
#include "assets/ScheduleRows.h"
#include "common/ui/ScreenRunner.h"
#include "output/ui/ReportWindow.h"

#include "runtime/widgets/GraphChart.h"
#include "runtime/widgets/HelpViewer.h"

#include "core/Text.h"

#include "data/Company.h"
#include "data/Session.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq {

QWidget *createDepreciationGraphWindow(const EQHeader &equipment, QWidget *parent)
{
    auto *dialog = new QDialog(parent);
    dialog->setWindowTitle(u"Comparisons of Depreciation and Book Value for ("_s +
                           Text::clip(equipment.EquipmentID) + u") "_s +
                           Text::clip(equipment.Description));
    data::Session *session = data::Session::current();
    const std::vector<GLDepr> rows =
        session ? scheduleRows(*session->company, equipment.EquipmentID) : std::vector<GLDepr>();
    const QList<AnnualSummaryEntry> summary = annualSummary(equipment, rows);
    auto *layout = new QVBoxLayout(dialog);
    if (rows.empty()) {
        auto *note = new QLabel(FixedAssets::noScheduleText(equipment), dialog);
        QFont bold = note->font();
        bold.setBold(true);
        note->setFont(bold);
        layout->addWidget(note);
    }
    auto *tabs = new QTabWidget(dialog);
    tabs->addTab(new GraphView(FixedAssets::annualDepreciationGraph(summary), tabs),
                 u"Annual Depreciation"_s);
    tabs->addTab(new GraphView(FixedAssets::bookValueGraph(equipment, summary), tabs),
                 u"Book Value"_s);
    auto *buttons = new QDialogButtonBox(dialog);
    buttons->addButton(u"&Close"_s, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    dialog->resize(820, 560);
    HelpViewer::bindF1(dialog, u"html/EC_Fixed_Assets.htm#graphs"_s);
    return dialog;
}

namespace FixedAssetScreens {

void printSchedule(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    FixedAssetScheduleReport report(*session->company, session->buffer<EQHeader>());
    runReportWindow(report, *session, output);
}

void printGraphs(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    FixedAssetGraphsReport report(*session->company, session->buffer<EQHeader>(), &GraphChart::svg);
    runReportWindow(report, *session, output);
}

void graphWindow(data::ErrorManager &errors)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    std::unique_ptr<QWidget> window(
        createDepreciationGraphWindow(session->buffer<EQHeader>(), QApplication::activeWindow()));
    static_cast<QDialog *>(window.get())->exec();
    session->globalResponse = data::Response::Completed;
}

} // namespace FixedAssetScreens

} // namespace qaveq
