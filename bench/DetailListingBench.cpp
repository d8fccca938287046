// The equipment detail listing in detail over 1,000 pieces of equipment and
// 1,000,000 ledger lines, against a raw read of the same lines in
// subsidiary-code order in the same run. The listing reads through keyed
// cursors, stores each page as it is made and spools its text for the
// export to a file, so its memory should not grow with the lines:
// "rss_growth_kb" is the growth of the process's peak memory during the run
// besides the database pages SQLite maps ("db_mapped_kb").
// Run: build/release/bench/detail_listing_bench
#include "BenchLedger.h"
#include "BenchSupport.h"

#include "output/ReportRun.h"
#include "records/EQLimits.h"
#include "reports/EquipmentDetailReport.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Equipment = 1000;
constexpr int Lines = 1'000'000;

bench::Ledger &ledger()
{
    return bench::sharedLedger({.equipment = Equipment, .categories = 2, .lines = Lines});
}

// The baseline: every ledger line read straight from SQLite in the key's order.
void RawReadInSubsidiaryOrder(benchmark::State &state)
{
    sqlite3 *db = ledger().open();
    qint64 read = 0;
    for (auto _ : state) {
        sqlite3_stmt *select = nullptr;
        sqlite3_prepare_v2(db, R"(SELECT * FROM "GLTrans" ORDER BY "SubsidiaryCode", "TransDate")",
                           -1, &select, nullptr);
        read = 0;
        qint64 sum = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(select); ++column)
                benchmark::DoNotOptimize(sqlite3_column_text(select, column));
            sum += sqlite3_column_int64(select, 8);
            ++read;
        }
        benchmark::DoNotOptimize(sum);
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    state.counters["lines"] = double(read);
}

// Argument 0: for the preview, which keeps the report's text for "Export
// This Report"; 1: straight to the printer, which keeps only the pages.
void DetailListingInDetail(benchmark::State &state)
{
    bench::Ledger &f = ledger();
    EQLimits definition;
    definition.Report = u"Detail"_s;
    definition.ReportTitle = u"Bench"_s;
    definition.SelectedRef = 1;
    definition.ColorCoding = 1;
    definition.PrintTransactionDetail = 1;
    definition.RefFrom = Decimal::fromText(u"1"_s); // rental income too: every line is listed
    long growth = 0;
    long mapped = 0;
    int pages = 0;
    qint64 read = 0;
    for (auto _ : state) {
        const bench::MemoryGrowth memory;
        data::Session session(&f.company());
        session.companyName = u"Bench"_s;
        session.printPreview = state.range(0) == 0;
        OutputState output;
        bench::CountingDevices devices;
        ScriptedPrompter prompter;
        FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
        EquipmentDetailReport report(f.company(), definition, bench::FirstLineDate);
        ReportRun(report, {session, output, devices, prompter, clock, {}}).run();
        pages = devices.pages;
        read = report.recordsRead();
        growth = std::max(growth, memory.peak());
        mapped = std::max(mapped, memory.mapped());
    }
    state.counters["pages"] = pages;
    state.counters["lines"] = double(read);
    state.counters["rss_growth_kb"] = double(growth);
    state.counters["db_mapped_kb"] = double(mapped);
}

BENCHMARK(RawReadInSubsidiaryOrder)->Apply(bench::inMilliseconds)->Iterations(1);
BENCHMARK(DetailListingInDetail)->Arg(0)->Arg(1)->Apply(bench::inMilliseconds)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWith<QGuiApplication>(argc, argv);
}
