#include "ReportScreens.h"

#include "DetailListingView.h"

#include "equipment/ui/ScreenRunner.h"
#include "logs/LogProofReport.h"
#include "output/ui/ReportWindow.h"
#include "reports/EquipmentDetailReport.h"
#include "reports/ReportDefinitions.h"

#include "suite/Procedures.h"

#include "runtime/widgets/ProgressWindow.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Prompter.h"

#include <QApplication>
#include <QDialog>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq::ReportScreens {

namespace {

const SystemClock systemClock;

// Walks the definition into the view's lists under the progress window;
// none when the user cancelled.
std::optional<QList<DetailListing::ViewedEquipment>>
collect(data::Session &session, const EQLimits &definition, Prompter &prompter)
{
    DetailListing::Walk walk(*session.company, definition,
                             SuiteDate::fromQDate(systemClock.today()));
    DetailListing::Collector collector;
    if (!walk.start())
        return collector.equipment;
    bool cancelled = false;
    ProgressWindow::Pass pass;
    pass.slice = [&walk, &collector] { return walk.next(collector, 100); };
    pass.cancel = [&prompter, &cancelled] {
        cancelled = prompter.ask(Message{u"CANCEL REPORT"_s,
                                         u"Are you sure you want to CANCEL this Report?NOTE..."_s,
                                         u"&Yes|&No"_s, 2, Message::Icon::Question}) == 1;
        return cancelled;
    };
    pass.percent = [&walk] { return walk.percent(); };
    pass.percentText = [&walk] { return u"%1% Completed"_s.arg(walk.percent()); };
    pass.recordsText = [&walk] { return u"%1 Records Read"_s.arg(walk.transactionsRead()); };
    ProgressWindow(u"Equipment Detail Listing"_s, pass, QApplication::activeWindow()).run();
    if (cancelled)
        return std::nullopt;
    return collector.equipment;
}

void showView(QList<DetailListing::ViewedEquipment> equipment, data::Session &session,
              Prompter &prompter, OutputState &output, const EQLimits &definition)
{
    QDialog window(QApplication::activeWindow());
    window.setWindowTitle(u"Analysis Report Detail"_s);
    const auto call = [](const QString &procedure) {
        if (procedure == u"OVVIEWEQHEADER")
            suite::OVVIEWEQHEADER();
        else if (procedure == u"OVVIEWTRANSACTION")
            suite::OVVIEWTRANSACTION();
        else if (procedure == u"OVBROWSEGLJOURNAL")
            suite::OVBROWSEGLJOURNAL();
    };
    const auto print = [&session, &output, &definition, &window] {
        EquipmentDetailReport report(*session.company, definition,
                                     SuiteDate::fromQDate(systemClock.today()));
        runReportWindow(report, session, output, &window);
    };
    auto *view =
        new DetailListingView(std::move(equipment), session, prompter, call, print, &window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(view);
    window.resize(1100, 700);
    window.exec();
}

} // namespace

void printDetail(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    Prompter &prompter = *errors.prompter();
    const std::optional<EQLimits> definition = ReportDefinitions::handedOver(*session);
    if (!definition)
        return;
    const bool view = session->reportViewMode == 3;
    session->reportViewMode = 0;
    if (view) {
        if (auto equipment = collect(*session, *definition, prompter))
            showView(std::move(*equipment), *session, prompter, output, *definition);
        return;
    }
    EquipmentDetailReport report(*session->company, *definition,
                                 SuiteDate::fromQDate(systemClock.today()));
    runReportWindow(report, *session, output);
}

void printLogProof(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    const std::optional<EQLimits> definition = ReportDefinitions::handedOver(*session);
    if (!definition)
        return;
    LogProofReport report(*session->company, *definition, session->tagQueue);
    runReportWindow(report, *session, output);
}

} // namespace qaveq::ReportScreens
