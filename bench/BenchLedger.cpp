#include "BenchLedger.h"
#include "BenchSupport.h"

#include "records/ModuleFiles.h"

#include "runtime/report/PageList.h"

#include <sqlite3.h>

#include <string>

using namespace Qt::StringLiterals;

namespace qaveq::bench {

namespace {

std::string equipmentId(int i)
{
    const std::string number = std::to_string(i);
    return "EQ-" + std::string(4 - number.size(), '0') + number;
}

std::string categoryId(int i)
{
    return i < 10 ? "CAT0" + std::to_string(i) : "CAT" + std::to_string(i);
}

std::string subsidiaryCode(const std::string &equipment, const std::string &section)
{
    return equipment + std::string(10 - equipment.size(), ' ') + section;
}

void exec(sqlite3 *db, const char *sql)
{
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

sqlite3_stmt *prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return statement;
}

void step(sqlite3_stmt *statement)
{
    sqlite3_step(statement);
    sqlite3_reset(statement);
}

void bindText(sqlite3_stmt *statement, int column, const std::string &text)
{
    sqlite3_bind_text(statement, column, text.c_str(), -1, SQLITE_TRANSIENT);
}

} // namespace

Ledger::Ledger(LedgerSize size)
    : m_company(std::make_unique<data::Company>(m_folder.path(), companyCatalog()))
{
    sqlite3 *db = open();
    exec(db, "BEGIN");
    exec(db, R"(INSERT INTO "APVendor" ("VendorID", "Name") VALUES ('V1', 'Fuel Supply'))");
    sqlite3_stmt *code =
        prepare(db, R"(INSERT INTO "EQCode" ("RecordID", "CategoryID", "Description")
                       VALUES (?, ?, 'Bench category'))");
    std::vector<std::string> sections = {".I", ".R"};
    for (int c = 1; c <= size.categories; ++c) {
        sections.push_back(categoryId(c));
        sqlite3_bind_int(code, 1, c);
        bindText(code, 2, sections.back());
        step(code);
    }
    sqlite3_stmt *equipment =
        prepare(db, R"(INSERT INTO "EQHeader" ("RecordID", "EquipmentID", "Description",
                       "Active") VALUES (?, ?, 'Bench equipment', 1))");
    sqlite3_stmt *cost =
        prepare(db, R"(INSERT INTO "EQCost" ("RecordID", "PrimaryRecordID", "EquipmentID",
                       "CostCategory", "UnitName") VALUES (?, ?, ?, ?, 'GAL'))");
    int costs = 0;
    for (int i = 1; i <= size.equipment; ++i) {
        const std::string id = equipmentId(i);
        sqlite3_bind_int(equipment, 1, i);
        bindText(equipment, 2, id);
        step(equipment);
        for (std::size_t c = 2; c < sections.size(); ++c) {
            bindText(cost, 1, subsidiaryCode(id, sections[c]));
            sqlite3_bind_int(cost, 2, ++costs);
            bindText(cost, 3, id);
            bindText(cost, 4, sections[c]);
            step(cost);
        }
    }
    // A tenth of the lines are vendor bills; a third are credits.
    sqlite3_stmt *line =
        prepare(db, R"(INSERT INTO "GLTrans" ("RecordID", "JournalID", "JournalNo", "LineNo",
                       "FiscalPeriod", "TransDate", "Account", "CreditDebit", "Amount",
                       "SubsidiaryCode", "EquipmentID", "SubsidiaryQuantity", "Description",
                       "VendorID") VALUES (?, ?, ?, 1, 5, ?, '6100', ?, 12345, ?, ?, 20000,
                       'Bench line', ?))");
    for (int i = 1; i <= size.lines; ++i) {
        const std::string id = equipmentId(1 + i % size.equipment);
        const std::string &section = sections[std::size_t(i / size.equipment) % sections.size()];
        const bool bill = i % 10 == 0;
        sqlite3_bind_int(line, 1, i);
        sqlite3_bind_text(line, 2, bill ? "A/P" : "G/J", -1, SQLITE_STATIC);
        sqlite3_bind_int(line, 3, i);
        sqlite3_bind_int(line, 4, FirstLineDate + i % 700);
        sqlite3_bind_text(line, 5, i % 3 == 0 ? "C" : "D", -1, SQLITE_STATIC);
        bindText(line, 6, subsidiaryCode(id, section));
        bindText(line, 7, id);
        sqlite3_bind_text(line, 8, bill ? "V1" : "", -1, SQLITE_STATIC);
        step(line);
    }
    for (sqlite3_stmt *statement : {code, equipment, cost, line})
        sqlite3_finalize(statement);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

sqlite3 *Ledger::open() const
{
    return openSqlite(m_folder.path() + u"/company.sqlite"_s);
}

Ledger &sharedLedger(LedgerSize size)
{
    static Ledger shared(size);
    return shared;
}

bool CountingDevices::preview(const report::PageList &list, Preview &)
{
    pages = list.count();
    return false;
}

bool CountingDevices::print(const report::PageList &list, const report::PrintJob &, bool)
{
    pages = list.count();
    return true;
}

} // namespace qaveq::bench
