// A designed report (the usage-log history shipped with QAVEQ: groups by
// equipment with totals) run over 10,000 and 100,000 posted usage logs. The
// run reads through keyed cursors and stores each page as it is made, so the
// memory it takes should not grow with the number of logs: the counter
// "rss_growth_kb" is the growth of the process's peak memory during the run.
// Run: build/release/bench/report_writer_bench
#include "records/EQLog.h"
#include "records/ModuleFiles.h"
#include "writer/WriterCatalogues.h"

#include "runtime/report/ExportSpool.h"
#include "runtime/report/PageList.h"
#include "runtime/writer/ReportProcessor.h"

#include "data/Company.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A company of `rows` posted logs over 400 pieces of equipment.
std::unique_ptr<data::Company> companyWithLogs(const QString &folder, int rows)
{
    auto company = std::make_unique<data::Company>(folder, companyCatalog());
    sqlite3 *db = nullptr;
    sqlite3_open((folder + u"/company.sqlite"_s).toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       R"(INSERT INTO "EQLog" ("RecordID", "EquipmentID", "Type", "Date", "Units",
                          "GrossAmount", "AdjustedAmount", "JobID", "CostCode", "Posted")
                          VALUES (?, ?, 'I', ?, 800, 68000, 68000, '2401', '020200E', 1))",
                       -1, &insert, nullptr);
    for (int i = 1; i <= rows; ++i) {
        const std::string equipment = "EQ-" + std::to_string(i % 400);
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_text(insert, 2, equipment.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, 82000 + i % 700);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return company;
}

void DesignedReportOverLogs(benchmark::State &state)
{
    QTemporaryDir folder;
    const std::unique_ptr<data::Company> company =
        companyWithLogs(folder.path(), int(state.range(0)));
    const WriterReportType &type = *writerReportType(u"PrintUsageLogFM");
    const writer::Catalogue catalogue = type.catalogue();
    QString error;
    const std::optional<writer::ReportDocument> document =
        writer::ReportDocument::load(type.starterFile(), &error);
    long growth = 0;
    int pages = 0;
    for (auto _ : state) {
        const long before = peakKilobytes();
        report::PageList list;
        report::ExportSpool exportLines;
        writer::ReportProcessor processor(*document, catalogue, type.plan,
                                          {*company, u"Bench"_s, u"ADM"_s, {}});
        report::ReportEngine engine(document->page, list, exportLines);
        engine.setPageHeader(processor.pageHeader());
        engine.setPageFooter(processor.pageFooter());
        processor.open();
        while (processor.next(engine, 25)) {
        }
        engine.endPage();
        pages = list.count();
        growth = std::max(growth, peakKilobytes() - before);
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_kb"] = double(growth);
}

BENCHMARK(DesignedReportOverLogs)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
