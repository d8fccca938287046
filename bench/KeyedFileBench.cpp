// Ordered scans and keyed fetches over 1,000,000 posted usage logs, through the
// keyed-file layer and through SQLite's own interface on the same file, in the
// same run, and the list window's opening against the raw first page.
// Run: build/release/bench/keyed_file_bench
#include "BenchSupport.h"

#include "records/EQLog.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"

#include "data/Session.h"

#include "runtime/ScriptedPrompter.h"
#include "runtime/widgets/KeyedListModel.h"
#include "runtime/widgets/ListWindow.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <random>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Rows = 1'000'000;
constexpr int Equipment = 400;
constexpr int Fetches = 10'000;

struct Fixture
{
    QTemporaryDir folder;
    std::unique_ptr<data::Company> company;
    QString file;

    Fixture()
    {
        company = std::make_unique<data::Company>(folder.path(), companyCatalog());
        file = folder.filePath(u"company.sqlite"_s);
        sqlite3 *db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(
            db,
            R"(INSERT INTO "EQLog" ("RecordID", "EquipmentID", "Type", "Date", "StartMeter",
                              "EndMeter", "Units", "ChargeType", "GrossAmount", "AdjustedAmount",
                              "DetailType", "GLAccount", "JobID", "CostCode", "Comments", "EmployeeID",
                              "Location", "Posted", "JournalNumber")
                              VALUES (?, ?, 'I', ?, ?, ?, ?, 'I', ?, ?, 'Job', '5000', ?, '020200E',
                              'Excavation', ?, 'YARD', 1, ?))",
            -1, &insert, nullptr);
        std::mt19937 random(42);
        for (int i = 1; i <= Rows; ++i) {
            const std::string equipment = "EQ-" + std::to_string(random() % Equipment);
            const std::string job = std::to_string(2400 + random() % 6);
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_text(insert, 2, equipment.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, 82000 + static_cast<int>(random() % 700));
            sqlite3_bind_int64(insert, 4, i * 100);
            sqlite3_bind_int64(insert, 5, i * 100 + 800);
            sqlite3_bind_int64(insert, 6, 800);
            sqlite3_bind_int64(insert, 7, 68000);
            sqlite3_bind_int64(insert, 8, 68000);
            sqlite3_bind_text(insert, 9, job.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 10, 100 + i % 8);
            sqlite3_bind_int(insert, 11, 1000 + i / 5000);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "ANALYZE", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void ScanThroughKeyedFile(benchmark::State &state)
{
    data::Table &logs = fixture().company->file<EQLog>();
    for (auto _ : state) {
        data::KeyCursor cursor = logs.scan(u"KeyEquipmentID");
        EQLog log;
        qint64 rows = 0;
        Decimal total;
        while (cursor.next(log)) {
            ++rows;
            total += log.AdjustedAmount;
        }
        if (rows != Rows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

// The same rows in the same order, read with SQLite's own interface into plain
// values: the floor the keyed-file layer is measured against.
void ScanThroughRawSqlite(benchmark::State &state)
{
    sqlite3 *db = bench::openSqlite(fixture().file);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(
        db,
        R"(SELECT qrow, "RecordID", "EquipmentID", "Type", "Date", "StartMeter", "EndMeter",
                          "Units", "ChargeType", "GrossAmount", "AdjustedAmount", "DetailType", "GLAccount",
                          "JobID", "CostCode", "Category", "Comments", "EmployeeID", "Location", "Posted",
                          "JournalNumber", "EquipmentIDCharged"
                          FROM "EQLog" ORDER BY "EquipmentID", "Date", qrow)",
        -1, &select, nullptr);
    for (auto _ : state) {
        qint64 rows = 0;
        qint64 total = 0;
        std::string text;
        while (sqlite3_step(select) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < 22; ++c) {
                if (sqlite3_column_type(select, c) == SQLITE_TEXT)
                    text.assign(reinterpret_cast<const char *>(sqlite3_column_text(select, c)));
                else
                    total += sqlite3_column_int64(select, c);
            }
        }
        sqlite3_reset(select);
        if (rows != Rows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(text);
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Rows);
}

void FetchThroughKeyedFile(benchmark::State &state)
{
    data::Table &logs = fixture().company->file<EQLog>();
    std::mt19937 random(7);
    for (auto _ : state) {
        for (int i = 0; i < Fetches; ++i) {
            EQLog log;
            log.RecordID = 1 + static_cast<qint32>(random() % Rows);
            if (!logs.fetch(u"KeyRecordID", log))
                state.SkipWithError("fetch failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * Fetches);
}

void FetchThroughRawSqlite(benchmark::State &state)
{
    sqlite3 *db = bench::openSqlite(fixture().file);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, R"(SELECT * FROM "EQLog" WHERE "RecordID" = ?)", -1, &select, nullptr);
    std::mt19937 random(7);
    std::string text;
    for (auto _ : state) {
        for (int i = 0; i < Fetches; ++i) {
            sqlite3_bind_int(select, 1, 1 + static_cast<int>(random() % Rows));
            if (sqlite3_step(select) != SQLITE_ROW)
                state.SkipWithError("fetch failed");
            for (int c = 0; c < sqlite3_column_count(select); ++c)
                if (sqlite3_column_type(select, c) == SQLITE_TEXT)
                    text.assign(reinterpret_cast<const char *>(sqlite3_column_text(select, c)));
            sqlite3_reset(select);
        }
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Fetches);
}

// The columns of the usage-log list.
QList<KeyedListModel::Column> logColumns()
{
    return {{u"Equipment"_s, u"EQL:EquipmentID"_s, u"@s10"_s},
            {u"Date"_s, u"EQL:Date"_s, u"@d1"_s},
            {u"Units"_s, u"EQL:Units"_s, u"@n-15.2"_s},
            {u"Amount"_s, u"EQL:AdjustedAmount"_s, u"@n-15.2"_s}};
}

void readFirstPage(KeyedListModel &model)
{
    model.reload();
    for (int row = 0; row < model.rowCount(); ++row)
        benchmark::DoNotOptimize(model.data(model.index(row, 3)));
}

// A list window over the million logs: its first page, as the window opens.
void ListFirstPage(benchmark::State &state)
{
    KeyedListModel model(fixture().company->file<EQLog>(), logColumns());
    model.setKey(u"KeyEquipmentID"_s);
    for (auto _ : state) {
        readFirstPage(model);
    }
}

// What the window asks of its file as it opens: the first page, then the
// count begun behind it, as the window begins it once the page is shown. The
// count is waited for outside the timing, so that counts do not pile up.
void ListOpensFirstPageAndCount(benchmark::State &state)
{
    KeyedListModel model(fixture().company->file<EQLog>(), logColumns());
    model.setKey(u"KeyEquipmentID"_s);
    for (auto _ : state) {
        readFirstPage(model);
        QFuture<qint64> count = model.countInBackground();
        state.PauseTiming();
        if (count.result() != Rows)
            state.SkipWithError("wrong count");
        state.ResumeTiming();
    }
}

// The same with a count that is not kept from an earlier one: the database
// changes between openings (outside the timing), so that each opening counts
// the million logs afresh, and the count is waited for within the timing.
void ListOpensFirstPageAndColdCount(benchmark::State &state)
{
    data::Database &db = fixture().company->database();
    KeyedListModel model(fixture().company->file<EQLog>(), logColumns());
    model.setKey(u"KeyEquipmentID"_s);
    QSqlQuery change(db.connection());
    for (auto _ : state) {
        state.PauseTiming();
        if (!change.exec(uR"(UPDATE "EQLog" SET "Posted" = 1 WHERE qrow = 1)"_s))
            state.SkipWithError("the database did not change");
        state.ResumeTiming();
        readFirstPage(model);
        if (model.countInBackground().result() != Rows)
            state.SkipWithError("wrong count");
    }
}

// The first page of the list read straight from SQLite, the file counted
// too when `counted` (on a connection of its own, as the list counts).
void rawFirstPage(benchmark::State &state, bool counted)
{
    sqlite3 *db = bench::openSqlite(fixture().file);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db,
                       R"(SELECT * FROM "EQLog" ORDER BY "EquipmentID", "Date", qrow LIMIT 100)",
                       -1, &select, nullptr);
    std::string text;
    for (auto _ : state) {
        while (sqlite3_step(select) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(select); ++c)
                if (sqlite3_column_type(select, c) == SQLITE_TEXT)
                    text.assign(reinterpret_cast<const char *>(sqlite3_column_text(select, c)));
        sqlite3_reset(select);
        if (!counted)
            continue;
        sqlite3 *counter = bench::openSqlite(fixture().file);
        sqlite3_stmt *count = nullptr;
        sqlite3_prepare_v2(counter, R"(SELECT COUNT(*) FROM "EQLog")", -1, &count, nullptr);
        if (sqlite3_step(count) != SQLITE_ROW || sqlite3_column_int64(count, 0) != Rows)
            state.SkipWithError("wrong count");
        sqlite3_finalize(count);
        sqlite3_close(counter);
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
}

void FirstPageThroughRawSqlite(benchmark::State &state)
{
    rawFirstPage(state, false);
}

// The floor of the cold opening.
void FirstPageAndCountThroughRawSqlite(benchmark::State &state)
{
    rawFirstPage(state, true);
}

// The list window opening over the million logs until its first page is on
// screen; the record count begins then and is made beside the list (outside
// the timing, each count is waited for so that they do not pile up). Most of
// the opening is building the window's widgets, whatever the file's size.
void ListWindowOpens(benchmark::State &state)
{
    data::Session session(fixture().company.get());
    ScriptedPrompter prompter;
    const ListWindow::Definition definition{
        u"BrowseEQLog"_s,
        u"Usage Logs"_s,
        u"EQLog"_s,
        {{u"by Equipment"_s, u"KeyEquipmentID"_s, u"EquipmentID"_s}},
        logColumns()};
    for (auto _ : state) {
        ListWindow window(definition, session, prompter);
        window.show();
        benchmark::DoNotOptimize(window.model().rowCount());
        state.PauseTiming();
        if (window.countText() != u"1000000 Records")
            state.SkipWithError("wrong count");
        state.ResumeTiming();
    }
}

BENCHMARK(ListWindowOpens)->Apply(bench::inMicroseconds)->UseRealTime();
BENCHMARK(ListFirstPage)->Apply(bench::inMicroseconds);
BENCHMARK(ListOpensFirstPageAndCount)->Apply(bench::inMicroseconds)->UseRealTime();
BENCHMARK(FirstPageThroughRawSqlite)->Apply(bench::inMicroseconds);
BENCHMARK(ListOpensFirstPageAndColdCount)->Apply(bench::inMilliseconds)->UseRealTime();
BENCHMARK(FirstPageAndCountThroughRawSqlite)->Apply(bench::inMilliseconds)->UseRealTime();
BENCHMARK(ScanThroughKeyedFile)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(ScanThroughRawSqlite)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(FetchThroughKeyedFile)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(FetchThroughRawSqlite)->Apply(bench::inMilliseconds)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWith<QApplication>(argc, argv);
}
