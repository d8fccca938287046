// A designed report (the usage-log history shipped with QAVEQ: groups by
// equipment with totals) run over posted usage logs, against a raw layout of
// the same pages: the same bands filled from a plain SQLite read, in the same
// run. The report reads through keyed cursors and stores each page as it is
// made, so the memory it takes should not grow with its pages: the counter
// "rss_growth_kb" is the growth of the process's peak memory during one run
// besides the database pages SQLite maps ("db_mapped_kb"). The arguments are
// the logs: about 10, 1,000 and 3,160 pages.
// Run: build/release/bench/report_writer_bench
#include "BenchSupport.h"

#include "records/EQLog.h"
#include "records/ModuleFiles.h"
#include "writer/WriterCatalogues.h"

#include "runtime/report/ExportSpool.h"
#include "runtime/report/PageList.h"
#include "runtime/writer/ReportProcessor.h"

#include "data/Company.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Equipment = 400;

// A company of `rows` posted logs over 400 pieces of equipment.
struct Fixture
{
    QTemporaryDir folder;
    std::unique_ptr<data::Company> company;
    QString file;

    explicit Fixture(int rows)
    {
        company = std::make_unique<data::Company>(folder.path(), companyCatalog());
        file = folder.filePath(u"company.sqlite"_s);
        sqlite3 *db = bench::openSqlite(file);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *equipment = nullptr;
        sqlite3_prepare_v2(db,
                           R"(INSERT INTO "EQHeader" ("RecordID", "EquipmentID", "Description",
                              "ClassCode", "Active") VALUES (?, ?, ?, 'EXCAVATOR', 1))",
                           -1, &equipment, nullptr);
        for (int i = 0; i < Equipment; ++i) {
            const std::string id = "EQ-" + std::to_string(i);
            const std::string description = "Bench machine " + std::to_string(i);
            sqlite3_bind_int(equipment, 1, i + 1);
            sqlite3_bind_text(equipment, 2, id.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(equipment, 3, description.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(equipment);
            sqlite3_reset(equipment);
        }
        sqlite3_finalize(equipment);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(
            db,
            R"(INSERT INTO "EQLog" ("RecordID", "EquipmentID", "Type", "Date", "Units",
                              "GrossAmount", "AdjustedAmount", "JobID", "CostCode", "Posted")
                              VALUES (?, ?, 'I', ?, 800, 68000, 68000, '2401', '020200E', 1))",
            -1, &insert, nullptr);
        for (int i = 1; i <= rows; ++i) {
            const std::string id = "EQ-" + std::to_string(i % Equipment);
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_text(insert, 2, id.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, 82000 + i % 700);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

// One company per size, kept for the process so that repetitions share it;
// closed before the application ends.
std::map<int, std::unique_ptr<Fixture>> fixtures;

Fixture &fixture(int rows)
{
    std::unique_ptr<Fixture> &found = fixtures[rows];
    if (!found)
        found = std::make_unique<Fixture>(rows);
    return *found;
}

const WriterReportType &reportType()
{
    return *writerReportType(u"PrintUsageLogFM");
}

const writer::ReportDocument &document()
{
    static const writer::ReportDocument loaded = [] {
        QString error;
        return writer::ReportDocument::load(reportType().starterFile(), &error).value();
    }();
    return loaded;
}

const QDateTime RunTime(QDate(2026, 12, 9), QTime(9, 0));

void DesignedReportOverLogs(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    const writer::Catalogue catalogue = reportType().catalogue();
    long growth = 0;
    long mapped = 0;
    int pages = 0;
    for (auto _ : state) {
        const bench::MemoryGrowth memory;
        report::PageList list;
        report::ExportSpool exportLines;
        writer::ReportProcessor processor(document(), catalogue, reportType().plan,
                                          {*f.company, u"Bench"_s, u"ADM"_s, RunTime});
        report::ReportEngine engine(document().page, list, exportLines);
        engine.setPageHeader(processor.pageHeader());
        engine.setPageFooter(processor.pageFooter());
        processor.open();
        while (processor.next(engine, 25)) {
        }
        engine.endPage();
        pages = list.count();
        growth = std::max(growth, memory.peak());
        mapped = std::max(mapped, memory.mapped());
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_kb"] = double(growth);
    state.counters["db_mapped_kb"] = double(mapped);
}

// The values of the report's bands from a raw read: fields by their names in
// the report, footer totals by their objects.
class RawValues final : public writer::ValueSource
{
public:
    explicit RawValues(const writer::Catalogue &catalogue)
        : m_catalogue(catalogue)
    {}

    std::map<QString, data::FieldValue> fields;
    std::map<const writer::ReportObject *, std::pair<Decimal, qint64>> totals;
    int page = 1;

    void add(const writer::ReportBand &footer)
    {
        for (const writer::ReportObject &object : footer.objects)
            if (object.total != writer::Total::None) {
                auto &[sum, count] = totals[&object];
                ++count;
                if (const Decimal *amount = std::get_if<Decimal>(&fields[object.field]))
                    sum += *amount;
            }
    }

    void reset(const writer::ReportBand &footer)
    {
        for (const writer::ReportObject &object : footer.objects)
            totals.erase(&object);
    }

    QString field(const writer::ReportObject &object) const override
    {
        const writer::CatalogueField *field = m_catalogue.field(object.field);
        const QString picture = field ? field->picture : QString();
        if (object.total != writer::Total::None) {
            const auto found = totals.find(&object);
            if (found == totals.end())
                return {};
            if (object.total == writer::Total::Count)
                return writer::formatValue(found->second.second, u"@n-12"_s);
            return writer::formatValue(found->second.first, picture);
        }
        const auto found = fields.find(object.field);
        return found == fields.end() ? QString() : writer::formatValue(found->second, picture);
    }

    QString variable(const QString &name) const override
    {
        if (name == u"Page")
            return QString::number(page);
        if (name == u"Date")
            return QLocale().toString(RunTime.date(), QLocale::ShortFormat);
        if (name == u"Time")
            return QLocale().toString(RunTime.time(), QLocale::ShortFormat);
        if (name == u"CompanyName")
            return u"Bench"_s;
        if (name == u"ReportName")
            return document().name;
        return {};
    }

private:
    const writer::Catalogue &m_catalogue;
};

QString text(sqlite3_stmt *statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

// The floor of the designed report: the same bands on the same pages, filled
// from SQLite's own interface, the equipment read once per group.
void RawLayoutOverLogs(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    const writer::Catalogue catalogue = reportType().catalogue();
    const writer::ReportDocument &report = document();
    const auto band = [&report](writer::BandKind kind) {
        for (const writer::ReportBand &b : report.bands)
            if (b.kind == kind)
                return &b;
        return static_cast<const writer::ReportBand *>(nullptr);
    };
    const writer::ReportBand &groupHeader = *band(writer::BandKind::GroupHeader);
    const writer::ReportBand &detail = *band(writer::BandKind::Detail);
    const writer::ReportBand &groupFooter = *band(writer::BandKind::GroupFooter);
    const writer::ReportBand &reportFooter = *band(writer::BandKind::ReportFooter);
    const writer::ReportBand &pageHeader = *band(writer::BandKind::PageHeader);
    const writer::ReportBand &pageFooter = *band(writer::BandKind::PageFooter);
    const data::FileSchema &logSchema = EQLog::fileSchema();
    const int unitPlaces = logSchema.field(u"Units")->places;
    const int amountPlaces = logSchema.field(u"GrossAmount")->places;

    sqlite3 *db = bench::openSqlite(f.file);
    sqlite3_stmt *logs = nullptr;
    sqlite3_prepare_v2(db,
                       R"(SELECT "EquipmentID", "Date", "Type", "JobID", "CostCode", "Category",
                          "Units", "GrossAmount", "AdjustedAmount" FROM "EQLog"
                          ORDER BY "EquipmentID", "Date", qrow)",
                       -1, &logs, nullptr);
    sqlite3_stmt *equipment = nullptr;
    sqlite3_prepare_v2(db,
                       R"(SELECT "Description", "ClassCode" FROM "EQHeader"
                          WHERE "EquipmentID" = ?)",
                       -1, &equipment, nullptr);
    int pages = 0;
    for (auto _ : state) {
        report::PageList list;
        report::ExportSpool exportLines;
        report::ReportEngine engine(report.page, list, exportLines);
        RawValues values(catalogue);
        const auto print = [&engine, &values, &catalogue](const writer::ReportBand &b) {
            report::Band printed = writer::renderBand(b, catalogue, values);
            printed.exportLines.clear();
            engine.print(std::move(printed));
        };
        const auto pageBand = [&values, &catalogue](const writer::ReportBand &b) {
            return [&values, &catalogue, &b](int page) {
                values.page = page;
                report::Band printed = writer::renderBand(b, catalogue, values);
                printed.exportLines.clear();
                return printed;
            };
        };
        engine.setPageHeader(pageBand(pageHeader));
        engine.setPageFooter(pageBand(pageFooter));
        QString group;
        bool started = false;
        while (sqlite3_step(logs) == SQLITE_ROW) {
            const QString id = text(logs, 0);
            if (started && id != group)
                print(groupFooter);
            values.fields[u"EQL:EquipmentID"_s] = id;
            values.fields[u"EQL:Date"_s] = qint64(sqlite3_column_int64(logs, 1));
            values.fields[u"EQL:Type"_s] = text(logs, 2);
            values.fields[u"EQL:JobID"_s] = text(logs, 3);
            values.fields[u"EQL:CostCode"_s] = text(logs, 4);
            values.fields[u"EQL:Category"_s] = text(logs, 5);
            values.fields[u"EQL:Units"_s] =
                Decimal::fromUnits(sqlite3_column_int64(logs, 6), unitPlaces);
            values.fields[u"EQL:GrossAmount"_s] =
                Decimal::fromUnits(sqlite3_column_int64(logs, 7), amountPlaces);
            values.fields[u"EQL:AdjustedAmount"_s] =
                Decimal::fromUnits(sqlite3_column_int64(logs, 8), amountPlaces);
            if (!started || id != group) {
                const QByteArray bound = id.toUtf8();
                sqlite3_bind_text(equipment, 1, bound.constData(), int(bound.size()),
                                  SQLITE_TRANSIENT);
                const bool found = sqlite3_step(equipment) == SQLITE_ROW;
                values.fields[u"EQH:Description"_s] = found ? text(equipment, 0) : QString();
                values.fields[u"EQH:ClassCode"_s] = found ? text(equipment, 1) : QString();
                sqlite3_reset(equipment);
                values.reset(groupFooter);
                group = id;
                print(groupHeader);
                started = true;
            }
            values.add(groupFooter);
            values.add(reportFooter);
            print(detail);
        }
        sqlite3_reset(logs);
        if (started)
            print(groupFooter);
        print(reportFooter);
        engine.endPage();
        pages = list.count();
    }
    sqlite3_finalize(equipment);
    sqlite3_finalize(logs);
    sqlite3_close(db);
    state.counters["pages"] = pages;
}

// 70 and 31,640 logs fill about 10 and 1,000 pages.
void overLogCounts(benchmark::internal::Benchmark *timing)
{
    timing->Arg(70)->Arg(31'640)->Arg(100'000)->Apply(bench::inMilliseconds)->Iterations(1);
}

BENCHMARK(DesignedReportOverLogs)->Apply(overLogCounts);
BENCHMARK(RawLayoutOverLogs)->Apply(overLogCounts);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bench::runBenchmarks(argc, argv);
    fixtures.clear();
    return 0;
}
