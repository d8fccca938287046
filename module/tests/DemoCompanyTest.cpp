#include "demo/DemoCompany.h"
#include "assets/ScheduleCalculator.h"
#include "assets/ScheduleRows.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/GLDepr.h"
#include "records/ModuleFiles.h"
#include "records/PriorPeriods.h"

#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

template <class R> std::vector<R> readAll(data::Company &company, const QString &key)
{
    std::vector<R> records;
    data::KeyCursor cursor = company.file<R>().scan(key);
    R record;
    while (cursor.next(record))
        records.push_back(record);
    EXPECT_FALSE(cursor.error().has_value());
    return records;
}

class DemoCompanyTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        database = new qaveq::testing::TestDatabase("SQLite");
        company = new data::Company(database->settings(), companyCatalog());
        FixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        summary = DemoCompany(*company, clock).build();
    }
    static void TearDownTestSuite()
    {
        delete company;
        delete database;
    }

    static inline qaveq::testing::TestDatabase *database = nullptr;
    static inline data::Company *company = nullptr;
    static inline DemoCompany::Summary summary;
};

TEST_F(DemoCompanyTest, HasAFleetToShow)
{
    EXPECT_EQ(summary.equipment, 25);
    EXPECT_EQ(summary.categories, 12);
    const auto fleet = readAll<EQHeader>(*company, u"KeyEquipmentID"_s);
    ASSERT_EQ(fleet.size(), 25u);
    int inactive = 0;
    int numeric = 0;
    for (const EQHeader &e : fleet) {
        inactive += e.Active == 0;
        numeric += e.EquipmentSortID.startsWith(u"000000"_s);
        EXPECT_FALSE(e.Description.isEmpty());
        EXPECT_GT(e.PurchaseDate, 0);
    }
    EXPECT_GE(inactive, 2);
    EXPECT_EQ(numeric, 3);
    // Fiscal periods of 2025 and 2026; logs from June 2025 through November 2026.
    EXPECT_EQ(company->file<GLFiscal>().count(), 24);
    const auto logs = readAll<EQLog>(*company, u"KeyRecordID"_s);
    EXPECT_EQ(static_cast<int>(logs.size()), summary.postedLogs);
    DayNumber first = std::numeric_limits<DayNumber>::max(), last = 0;
    for (const EQLog &log : logs) {
        first = std::min(first, log.Date);
        last = std::max(last, log.Date);
    }
    EXPECT_EQ(SuiteDate::toQDate(first).toString(u"yyyy-MM"_s), u"2025-06");
    EXPECT_EQ(SuiteDate::toQDate(last).toString(u"yyyy-MM"_s), u"2026-11");
}

TEST_F(DemoCompanyTest, EquipmentTotalsAgreeWithLogsAndPriorPeriods)
{
    std::map<QString, Decimal> cumulative, year, month;
    for (const EQLog &log : readAll<EQLog>(*company, u"KeyRecordID"_s)) {
        if (log.ChargeType != u"I")
            continue;
        const QDate date = SuiteDate::toQDate(log.Date);
        cumulative[log.EquipmentID] += log.AdjustedAmount;
        if (date.year() == 2026)
            year[log.EquipmentID] += log.AdjustedAmount;
        if (date.year() == 2026 && date.month() == 11)
            month[log.EquipmentID] += log.AdjustedAmount;
    }
    std::map<QString, Decimal> prior2026;
    for (const EQPrior &p : readAll<EQPrior>(*company, u"KeyEquipmentYear"_s))
        if (p.FiscalYear == 2026)
            prior2026[p.EquipmentID] += p.InternalIncome;
    for (const EQHeader &e : readAll<EQHeader>(*company, u"KeyEquipmentID"_s)) {
        EXPECT_EQ(e.CumulativeInternalIncome, cumulative[e.EquipmentID])
            << e.EquipmentID.toStdString();
        EXPECT_EQ(e.YearInternalIncome, year[e.EquipmentID]) << e.EquipmentID.toStdString();
        EXPECT_EQ(e.MonthInternalIncome, month[e.EquipmentID]) << e.EquipmentID.toStdString();
        EXPECT_EQ(e.YearInternalIncome, prior2026[e.EquipmentID]) << e.EquipmentID.toStdString();
        EXPECT_EQ(e.CumulativeUnits, e.CumulativeInternalUnits + e.CumulativeRentalUnits);
    }
}

TEST_F(DemoCompanyTest, CategoryTotalsAgreeWithTheLedger)
{
    std::map<QString, Decimal> bySubsidiary;
    Decimal debits, credits;
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s)) {
        (t.CreditDebit == u"C" ? credits : debits) += t.Amount;
        if (t.CreditDebit == u"D" && !t.SubsidiaryCode.isEmpty())
            bySubsidiary[t.SubsidiaryCode] += t.Amount;
    }
    EXPECT_EQ(debits, credits) << "the ledger balances";

    std::map<QString, Decimal> priorByCost;
    for (const EQPriorC &p : readAll<EQPriorC>(*company, u"KeyEquipmentCategoryYear"_s))
        priorByCost[p.EquipmentID.leftJustified(10) + p.Category] += p.Amount;
    const auto costs = readAll<EQCost>(*company, u"KeyRecordID"_s);
    EXPECT_GT(costs.size(), 100u);
    for (const EQCost &c : costs) {
        EXPECT_EQ(c.RecordID, c.EquipmentID.leftJustified(10) + c.CostCategory);
        EXPECT_EQ(c.CumulativeAmount, bySubsidiary[c.RecordID]) << c.RecordID.toStdString();
        EXPECT_EQ(c.CumulativeAmount, priorByCost[c.RecordID]) << c.RecordID.toStdString();
    }
}

TEST_F(DemoCompanyTest, EveryEquipmentHasTheScheduleTheFormWouldCalculate)
{
    EXPECT_EQ(company->file<GLDepr>().count(), summary.scheduleRows);
    for (const EQHeader &e : readAll<EQHeader>(*company, u"KeyEquipmentID"_s)) {
        const std::vector<GLDepr> rows = scheduleRows(*company, e.EquipmentID);
        ASSERT_FALSE(rows.empty()) << e.EquipmentID.toStdString();
        EXPECT_GT(rows.front().Date, e.PurchaseDate);
        if (e.SaleDate != 0) {
            EXPECT_LE(rows.back().Date, e.SaleDate) << "no months after the sale";
        }

        // Calculating again (as the form does) finds every month already right.
        std::vector<GLDepr> recalculated;
        ScriptedPrompter prompter;
        ScheduleCalculator(*company, prompter).preview(e, [&](const GLDepr &row) {
            recalculated.push_back(row);
        });
        ASSERT_EQ(recalculated.size(), rows.size()) << e.EquipmentID.toStdString();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(recalculated[i].SLValue, rows[i].SLValue);
            EXPECT_EQ(recalculated[i].DDBValue, rows[i].DDBValue);
        }
        EXPECT_TRUE(prompter.texts().isEmpty());
    }
}

} // namespace
