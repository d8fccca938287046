// The equipment detail listing in detail over 1,000 pieces of equipment and
// 1,000,000 ledger lines, against a raw read of the same lines in
// subsidiary-code order in the same run. The listing reads through keyed
// cursors, stores each page as it is made and spools its text for the
// export to a file, so its memory should not grow with the lines:
// "rss_growth_kb" is the growth of the process's peak memory (VmHWM) during
// the run.
// Run: build/release/bench/detail_listing_bench
#include "output/ReportRun.h"
#include "records/EQLimits.h"
#include "records/ModuleFiles.h"
#include "reports/EquipmentDetailReport.h"

#include "runtime/ScriptedPrompter.h"
#include "runtime/report/PageList.h"

#include "data/Company.h"

#include "core/Clock.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Equipment = 1000;
constexpr int Lines = 1'000'000;

// The process's peak resident memory (VmHWM), in kilobytes.
long peakKilobytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Sets the peak back to what the process holds now, so that a run's growth
// is not hidden under the peak of building the ledger before it.
void resetPeak()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

std::string equipmentId(int i)
{
    const std::string number = std::to_string(i);
    return "EQ-" + std::string(4 - number.size(), '0') + number;
}

void exec(sqlite3 *db, const char *sql)
{
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Each equipment has two cost categories; its lines go to its internal
// income and both categories, a tenth of them vendor bills.
std::unique_ptr<data::Company> companyWithLedger(const QString &folder)
{
    auto company = std::make_unique<data::Company>(folder, companyCatalog());
    sqlite3 *db = nullptr;
    sqlite3_open((folder + u"/company.sqlite"_s).toUtf8().constData(), &db);
    exec(db, "BEGIN");
    exec(db, R"(INSERT INTO "EQCode" ("RecordID", "CategoryID", "Description") VALUES
                (1, 'FUEL', 'Fuel'), (2, 'REPAIRS', 'Repairs'))");
    exec(db, R"(INSERT INTO "APVendor" ("VendorID", "Name") VALUES ('V1', 'Fuel Supply'))");
    sqlite3_stmt *equipment = nullptr;
    sqlite3_prepare_v2(db,
                       R"(INSERT INTO "EQHeader" ("RecordID", "EquipmentID", "Description",
                          "Active") VALUES (?, ?, 'Bench equipment', 1))",
                       -1, &equipment, nullptr);
    sqlite3_stmt *cost = nullptr;
    sqlite3_prepare_v2(db,
                       R"(INSERT INTO "EQCost" ("RecordID", "PrimaryRecordID", "EquipmentID",
                          "CostCategory", "UnitName") VALUES (?, ?, ?, ?, 'GAL'))",
                       -1, &cost, nullptr);
    int costs = 0;
    for (int i = 1; i <= Equipment; ++i) {
        const std::string id = equipmentId(i);
        sqlite3_bind_int(equipment, 1, i);
        sqlite3_bind_text(equipment, 2, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(equipment);
        sqlite3_reset(equipment);
        for (const char *category : {"FUEL", "REPAIRS"}) {
            const std::string record = id + std::string(10 - id.size(), ' ') + category;
            sqlite3_bind_text(cost, 1, record.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(cost, 2, ++costs);
            sqlite3_bind_text(cost, 3, id.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(cost, 4, category, -1, SQLITE_STATIC);
            sqlite3_step(cost);
            sqlite3_reset(cost);
        }
    }
    sqlite3_stmt *line = nullptr;
    sqlite3_prepare_v2(db,
                       R"(INSERT INTO "GLTrans" ("RecordID", "JournalID", "JournalNo", "LineNo",
                          "FiscalPeriod", "TransDate", "Account", "CreditDebit", "Amount",
                          "SubsidiaryCode", "EquipmentID", "SubsidiaryQuantity", "Description",
                          "VendorID") VALUES (?, ?, ?, 1, 5, ?, '6100', ?, 12345, ?, ?, 20000,
                          'Bench line', ?))",
                       -1, &line, nullptr);
    const char *sections[] = {".I", "FUEL", "REPAIRS"};
    for (int i = 1; i <= Lines; ++i) {
        const std::string id = equipmentId(1 + i % Equipment);
        const char *section = sections[i % 3];
        const std::string code = id + std::string(10 - id.size(), ' ') + section;
        const bool bill = i % 10 == 0;
        sqlite3_bind_int(line, 1, i);
        sqlite3_bind_text(line, 2, bill ? "A/P" : "G/J", -1, SQLITE_STATIC);
        sqlite3_bind_int(line, 3, i);
        sqlite3_bind_int(line, 4, 82000 + i % 700);
        sqlite3_bind_text(line, 5, i % 3 == 0 ? "C" : "D", -1, SQLITE_STATIC);
        sqlite3_bind_text(line, 6, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(line, 7, id.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(line, 8, bill ? "V1" : "", -1, SQLITE_STATIC);
        sqlite3_step(line);
        sqlite3_reset(line);
    }
    for (sqlite3_stmt *statement : {equipment, cost, line})
        sqlite3_finalize(statement);
    exec(db, "COMMIT");
    sqlite3_close(db);
    return company;
}

// Where the finished listing would go: nowhere; only its pages are counted.
class CountingDevices final : public OutputDevices
{
public:
    int pages = 0;
    bool preview(const report::PageList &list, Preview &) override
    {
        pages = list.count();
        return false;
    }
    bool print(const report::PageList &list, int, bool) override
    {
        pages = list.count();
        return false;
    }
    bool hasDefaultPrinter() override { return false; }
    std::optional<QString> choosePdfFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    report::PdfGenerator::Result generatePdf(report::PdfGenerator &,
                                             const report::PageList &) override
    {
        return report::PdfGenerator::Result::NothingToDo;
    }
    void open(const QString &) override {}
    bool sendMail(const report::MailMessage &, QString *) override { return false; }
    bool exportLines(const QStringList &) override { return false; }
};

struct Fixture
{
    QTemporaryDir folder;
    std::unique_ptr<data::Company> company = companyWithLedger(folder.path());
};

Fixture &fixture()
{
    static Fixture shared;
    return shared;
}

// The baseline: every ledger line read straight from SQLite in the key's order.
void RawReadInSubsidiaryOrder(benchmark::State &state)
{
    Fixture &f = fixture();
    sqlite3 *db = nullptr;
    sqlite3_open((f.folder.path() + u"/company.sqlite"_s).toUtf8().constData(), &db);
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
    Fixture &f = fixture();
    EQLimits definition;
    definition.Report = u"Detail"_s;
    definition.ReportTitle = u"Bench"_s;
    definition.SelectedRef = 1;
    definition.ColorCoding = 1;
    definition.PrintTransactionDetail = 1;
    long growth = 0;
    int pages = 0;
    qint64 read = 0;
    for (auto _ : state) {
        resetPeak();
        const long before = peakKilobytes();
        data::Session session(f.company.get());
        session.companyName = u"Bench"_s;
        session.printPreview = state.range(0) == 0;
        OutputState output;
        CountingDevices devices;
        ScriptedPrompter prompter;
        FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
        EquipmentDetailReport report(*f.company, definition, 82000);
        ReportRun(report, {session, output, devices, prompter, clock, {}}).run();
        pages = devices.pages;
        read = report.recordsRead();
        growth = std::max(growth, peakKilobytes() - before);
    }
    state.counters["pages"] = pages;
    state.counters["lines"] = double(read);
    state.counters["rss_growth_kb"] = double(growth);
}

BENCHMARK(RawReadInSubsidiaryOrder)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DetailListingInDetail)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

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
