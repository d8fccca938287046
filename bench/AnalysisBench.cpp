// The usage / cost analysis over a date range for 1,000 pieces of equipment
// with 10 cost categories each and 1,000,000 ledger lines, against a raw SQL
// aggregate of the same figures (the range's lines summed per subsidiary
// code) in the same run.
// Run: build/release/bench/analysis_bench
#include "BenchLedger.h"
#include "BenchSupport.h"

#include "output/ReportRun.h"
#include "records/EQLimits.h"
#include "reports/AnalysisReports.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/SuiteDate.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

// The range holds about half of the lines, which run over 700 days.
const DayNumber RangeFrom = bench::FirstLineDate + 175;
const DayNumber RangeTo = bench::FirstLineDate + 524;

bench::Ledger &ledger()
{
    return bench::sharedLedger({.equipment = 1000, .categories = 10, .lines = 1'000'000});
}

// The baseline: the same figures as one aggregate straight from SQLite.
void RawSumBySubsidiaryCode(benchmark::State &state)
{
    sqlite3 *db = ledger().open();
    int codes = 0;
    for (auto _ : state) {
        sqlite3_stmt *select = nullptr;
        sqlite3_prepare_v2(db, R"(SELECT "SubsidiaryCode",
                                 SUM(CASE WHEN "CreditDebit" = 'C' THEN -"Amount" ELSE "Amount" END),
                                 SUM(CASE WHEN "CreditDebit" = 'C' THEN -"SubsidiaryQuantity"
                                     ELSE "SubsidiaryQuantity" END)
                                 FROM "GLTrans" WHERE "TransDate" BETWEEN ? AND ?
                                 GROUP BY "SubsidiaryCode")",
                           -1, &select, nullptr);
        sqlite3_bind_int(select, 1, RangeFrom);
        sqlite3_bind_int(select, 2, RangeTo);
        codes = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(select, 0));
            benchmark::DoNotOptimize(sqlite3_column_int64(select, 1));
            benchmark::DoNotOptimize(sqlite3_column_int64(select, 2));
            ++codes;
        }
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    state.counters["codes"] = codes;
}

// The report's whole pass straight to the printer: selection, figures and pages.
void AnalysisOverDateRange(benchmark::State &state)
{
    bench::Ledger &f = ledger();
    EQLimits definition;
    definition.Report = u"Analysis"_s;
    definition.ReportTitle = u"Bench"_s;
    definition.ReportType = u"A"_s;
    definition.QuantityAnalysis = u"D"_s;
    definition.DetailSummary = u"I"_s;
    definition.SelectedDates = 1;
    definition.DateFrom = RangeFrom;
    definition.DateTo = RangeTo;
    const DayNumber today = SuiteDate::fromYmd(2026, 12, 9);
    int pages = 0;
    qint64 read = 0;
    for (auto _ : state) {
        data::Session session(&f.company());
        session.companyName = u"Bench"_s;
        OutputState output;
        bench::CountingDevices devices;
        ScriptedPrompter prompter;
        FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
        EquipmentAnalysisReport report(f.company(), definition, today);
        ReportRun(report, {session, output, devices, prompter, clock, {}}).run();
        pages = devices.pages;
        read = report.recordsRead();
    }
    state.counters["pages"] = pages;
    state.counters["equipment"] = double(read);
}

BENCHMARK(RawSumBySubsidiaryCode)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(AnalysisOverDateRange)->Apply(bench::inMilliseconds)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWith<QGuiApplication>(argc, argv);
}
