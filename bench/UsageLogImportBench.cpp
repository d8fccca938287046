// Importing 100,000 usage-log lines into a batch through the import (read,
// checks with their look-ups, pricing, one transaction), against a raw SQLite
// insert of the same rows into the same file in the same run.
// Run: build/release/bench/usage_log_import_bench
#include "BenchSupport.h"

#include "records/EQHeader.h"
#include "records/ModuleFiles.h"
#include "transfer/ImportSources.h"
#include "transfer/UsageLogImporter.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Clock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Lines = 100'000;
constexpr int Equipment = 50;

struct Fixture
{
    QTemporaryDir folder;
    std::unique_ptr<data::Company> company;
    QString importFile;
    // Batch numbers that each run takes on from the last, so that repetitions
    // of the benchmarks in one process write new batches.
    quint16 importBatch = 100;
    int rawBatch = 1000;

    Fixture()
    {
        company = std::make_unique<data::Company>(folder.path(), companyCatalog());
        for (int i = 0; i < Equipment; ++i) {
            EQHeader piece;
            piece.EquipmentID = u"EQ-"_s + QString::number(i);
            piece.InternalBillingRate = Decimal(85);
            static_cast<void>(company->file<EQHeader>().insert(piece));
        }
        GLMaster account;
        account.Account = u"6110"_s;
        static_cast<void>(company->file<GLMaster>().insert(account));
        importFile = folder.filePath(u"logs.txt"_s);
        QFile file(importFile);
        static_cast<void>(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < Lines; ++i)
            file.write(u"EQ-%1,%2,%3,,,,6110,,,,,Run %4, 1/ 5/2025,YARD,101\n"_s.arg(i % Equipment)
                           .arg(i * 8)
                           .arg(i * 8 + 8)
                           .arg(i)
                           .toUtf8());
    }
};

Fixture &fixture()
{
    static Fixture shared;
    return shared;
}

// Reads the bench's file with the built-in layout, as the import does first.
void readLines(benchmark::State &state, UsageLogImporter &importer)
{
    if (!importer.read(ImportSources::builtIn(), fixture().importFile).isEmpty() ||
        importer.lines().size() != Lines)
        state.SkipWithError("the file did not read");
}

void BM_ImportLines(benchmark::State &state)
{
    Fixture &f = fixture();
    data::Session session(f.company.get());
    session.userId = u"ADM"_s;
    const SystemClock clock;
    for (auto _ : state) {
        UsageLogImporter importer(session, clock);
        readLines(state, importer);
        const UsageLogImporter::Result result = importer.import(++f.importBatch);
        if (!result.done)
            state.SkipWithError(result.problem.toUtf8().constData());
    }
    state.SetItemsProcessed(state.iterations() * Lines);
}

// The reading and checking alone, to tell it from the writing.
void BM_ReadLines(benchmark::State &state)
{
    data::Session session(fixture().company.get());
    const SystemClock clock;
    for (auto _ : state) {
        UsageLogImporter importer(session, clock);
        readLines(state, importer);
    }
    state.SetItemsProcessed(state.iterations() * Lines);
}

void BM_RawSqliteInsert(benchmark::State &state)
{
    Fixture &f = fixture();
    sqlite3 *db = bench::openSqlite(f.folder.filePath(u"company.sqlite"_s));
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(
        db,
        R"(INSERT INTO "EQLogB" ("LogID", "EquipmentID", "BatchID", "Type", "Date", "StartMeter",
             "EndMeter", "Units", "ChargeType", "GrossAmount", "AdjustedAmount", "DetailType",
             "GLAccount", "JobID", "CostCode", "ChangeOrder", "Category", "Comments", "EmployeeID",
             "Location", "EquipmentIDCharged")
           VALUES (?, ?, ?, '', 81100, ?, ?, 800, 'I', 68000, 68000, 'G/L Account', '6110', '',
             '', '', '', ?, 101, 'YARD', ''))",
        -1, &insert, nullptr);
    sqlite3_stmt *lastLog = nullptr;
    sqlite3_prepare_v2(db, R"(SELECT MAX("LogID") FROM "EQLogB")", -1, &lastLog, nullptr);
    for (auto _ : state) {
        const int batch = ++f.rawBatch;
        // Log numbers go on from the last, as the import's do.
        sqlite3_step(lastLog);
        int logId = sqlite3_column_int(lastLog, 0);
        sqlite3_reset(lastLog);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 0; i < Lines; ++i) {
            const std::string equipment = "EQ-" + std::to_string(i % Equipment);
            const std::string comment = "Run " + std::to_string(i);
            sqlite3_bind_int64(insert, 1, ++logId);
            sqlite3_bind_text(insert, 2, equipment.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, batch);
            sqlite3_bind_int64(insert, 4, qint64(i) * 800);
            sqlite3_bind_int64(insert, 5, qint64(i) * 800 + 800);
            sqlite3_bind_text(insert, 6, comment.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(insert) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(lastLog);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Lines);
}

BENCHMARK(BM_RawSqliteInsert)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(BM_ReadLines)->Apply(bench::inMilliseconds)->Iterations(3);
BENCHMARK(BM_ImportLines)->Apply(bench::inMilliseconds)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return bench::runWith<QCoreApplication>(argc, argv);
}
