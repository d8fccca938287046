#include "DemoCompany.h"
#include "DemoHistory.h"
#include "DemoMasterFiles.h"
#include "DemoPlan.h"
#include "DemoRun.h"

#include "records/EQLimits.h"

#include "data/Company.h"
#include "data/FileSchema.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// The report definitions of every family, with the analysis definitions among
// ADM's favourites and the truck definitions' lists.
void writeReportDefinitions(demo::DemoRun &run)
{
    for (const demo::DefinitionPlan &d : demo::Definitions) {
        EQLimits limits;
        limits.UserID = QString::fromUtf16(d.owner);
        limits.Locked = d.locked;
        limits.Report = QString::fromUtf16(d.report);
        limits.ReportTitle = QString::fromUtf16(d.title);
        limits.ReportType = QString::fromUtf16(d.type);
        limits.ReportFormat = QString::fromUtf16(d.format);
        limits.DetailSummary = QString::fromUtf16(d.summary);
        limits.Orientation = QString::fromUtf16(d.orientation);
        limits.ModifyDate = demo::DemoRun::day(run.today);
        limits.QuantityAnalysis = u"D"_s;
        if (limits.Report == u"Detail") {
            limits.SelectedDates = 1;
            limits.DateFrom = demo::DemoRun::day(QDate(run.lastMonth.year(), 1, 1));
            limits.DateTo = demo::DemoRun::day(run.lastMonth.addMonths(1).addDays(-1));
            limits.PrintTransactionDetail = 1;
            limits.ColorCoding = 1;
        } else if (limits.Report == u"Analysis") {
            limits.SelectedDates = 2;
            limits.FPTo = Decimal(run.periods[run.periodOf(run.lastMonth)].number);
        }
        const bool trucks = limits.ReportTitle.contains(u"Trucks"_s);
        if (trucks && limits.Report == u"Log Proof Listing") {
            limits.SelectedEquipment = 1;
            limits.EquipmentFrom = u"TRK-101"_s;
            limits.EquipmentTo = u"TRK-199"_s;
            limits.SelectedDates = 1;
            limits.DateFrom = demo::DemoRun::day(QDate(run.today.year(), run.today.month(), 1));
            limits.DateTo = demo::DemoRun::day(run.today);
        } else if (trucks) {
            limits.SelectedEquipment = 2;
            limits.SelectedCategory = 2;
        }
        run.put(limits);
        if (limits.ReportType == u"A") {
            MemLimit favourite;
            favourite.LimitID = static_cast<qint32>(limits.LimitID);
            favourite.UserID = u"ADM"_s;
            favourite.FileName = u"EQLimits"_s;
            favourite.ReportName = u"E/Q Analysis Report"_s;
            favourite.Title = limits.ReportTitle;
            run.put(favourite);
        }
        if (trucks && limits.SelectedEquipment == 2) {
            for (const demo::ListMemberPlan &member : demo::TruckListMembers) {
                LimList entry;
                entry.FileName = u"EQLimits"_s;
                entry.LimitID = static_cast<qint32>(limits.LimitID);
                entry.Kind = QString::fromUtf16(member.kind);
                entry.Value = QString::fromUtf16(member.value);
                run.put(entry);
            }
        }
    }
}

} // namespace

DemoCompany::DemoCompany(data::Company &company, const Clock &clock)
    : m_company(company)
    , m_clock(clock)
{}

DemoCompany::Summary DemoCompany::build()
{
    QStringList tables;
    for (const data::FileSchema *schema : m_company.catalog().files())
        if (!schema->isAlias())
            tables.append(schema->table);
    data::Transaction transaction(m_company.database(), tables, std::chrono::seconds(5));
    if (!transaction.isActive())
        throw data::DataError(
            (u"the company is in use: "_s + transaction.error().text()).toStdString());
    demo::DemoRun run(m_company, m_clock.today());
    demo::writeMasterFiles(run);
    demo::writeHistory(run);
    demo::writeOpenBatches(run);
    writeReportDefinitions(run);
    if (data::FileStatus status = transaction.commit(); !status)
        throw data::DataError(status.error().text().toStdString());
    return run.summary;
}

} // namespace qaveq
