#include "ReportScreens.h"

#include "common/ui/ScreenRunner.h"
#include "output/ui/ReportWindow.h"
#include "reports/EquipmentDetailReport.h"
#include "reports/ReportDefinitions.h"
#include "reports/ReportFactory.h"

#include "suite/Procedures.h"

#include "runtime/widgets/ProgressWindow.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include "core/Clock.h"
#include "core/Prompter.h"

#include <QApplication>

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

void runDetail(data::Session &session, Prompter &prompter, const EQLimits &definition,
               OutputState &output)
{
    const std::unique_ptr<ReportPass> report =
        makeReport(u"PRINTEQDETAIL"_s, {.session = session,
                                        .prompter = prompter,
                                        .definition = definition,
                                        .today = SuiteDate::fromQDate(systemClock.today())});
    runReportWindow(*report, session, output);
}

} // namespace

AnalysisScreens::ViewTab detailTab(QList<DetailListing::ViewedEquipment> equipment,
                                   data::Session &session, Prompter &prompter,
                                   DetailListingView::ProcedureCaller call,
                                   std::function<void()> print)
{
    AnalysisScreens::ViewTab tab{u"Detail Listing"_s,
                                 u"EQ Detail Listing"_s,
                                 u"EQ Detail Listing"_s,
                                 {},
                                 {},
                                 std::move(print),
                                 Qt::Vertical};
    for (const DetailListing::ViewedEquipment &piece : std::as_const(equipment))
        tab.equipment.append({piece.id, piece.description, piece.vin, piece.license});
    auto collected = std::make_shared<QList<DetailListing::ViewedEquipment>>(std::move(equipment));
    tab.detail = [collected, &session, &prompter, call = std::move(call)](int row,
                                                                          QWidget *parent) {
        return new DetailListingView(collected->at(row), session, prompter, call, parent);
    };
    return tab;
}

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
        auto equipment = collect(*session, *definition, prompter);
        if (!equipment)
            return;
        const auto call = [](const QString &procedure) {
            if (procedure == u"OVVIEWTRANSACTION")
                suite::OVVIEWTRANSACTION();
            else if (procedure == u"OVBROWSEGLJOURNAL")
                suite::OVBROWSEGLJOURNAL();
        };
        const auto print = [session, &prompter, &output, definition = *definition] {
            runDetail(*session, prompter, definition, output);
        };
        AnalysisScreens::viewWindow(
            *session, 3, detailTab(std::move(*equipment), *session, prompter, call, print));
        return;
    }
    runDetail(*session, prompter, *definition, output);
}

void printReport(const QString &procedure, data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    const std::optional<EQLimits> definition = ReportDefinitions::handedOver(*session);
    if (!definition)
        return;
    const std::unique_ptr<ReportPass> report =
        makeReport(procedure, {.session = *session,
                               .prompter = *errors.prompter(),
                               .definition = *definition,
                               .today = SuiteDate::fromQDate(systemClock.today()),
                               .batches = session->tagQueue});
    if (report)
        runReportWindow(*report, *session, output);
}

void printLogProof(data::ErrorManager &errors, OutputState &output)
{
    printReport(u"PRINTEQLOGBPROOF"_s, errors, output);
}

} // namespace qaveq::ReportScreens
