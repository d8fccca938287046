#include "assets/ScheduleCalculator.h"
#include "assets/AnnualSummary.h"
#include "assets/DepreciationMethod.h"
#include "assets/ScheduleRows.h"
#include "records/EQHeader.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Transaction.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace qaveq;

namespace {

Decimal money(const char *text)
{
    return Decimal::parse(QString::fromLatin1(text)).value();
}

QStringList amounts(const std::vector<GLDepr> &rows, Decimal GLDepr::*column)
{
    QStringList list;
    for (const GLDepr &row : rows)
        list.append((row.*column).toString(2));
    return list;
}

class ScheduleCalculatorTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    ScriptedPrompter prompter;
    ScheduleCalculator calculator{company, prompter};

    EQHeader equipment(const char *purchase, const char *salvage, int months,
                       QDate purchased = QDate(2024, 3, 20))
    {
        EQHeader e;
        e.EquipmentID = u"EXC-301"_s;
        e.Description = u"Excavator"_s;
        e.PurchaseDate = SuiteDate::fromQDate(purchased);
        e.PurchaseValue = money(purchase);
        e.SalvageValue = money(salvage);
        e.DepreciationYears = static_cast<quint16>(months);
        return e;
    }

    std::vector<GLDepr> calculate(const EQHeader &e)
    {
        const ScheduleCalculator::Result result = calculator.calculate(e);
        EXPECT_TRUE(result.done) << prompter.texts().join(u'\n').toStdString();
        return scheduleRows(company, e.EquipmentID);
    }
};

TEST_P(ScheduleCalculatorTest, StraightLineStartsTheMonthAfterPurchase)
{
    const auto rows = calculate(equipment("1000.00", "100.00", 3));
    EXPECT_EQ(amounts(rows, &GLDepr::SLAmount),
              (QStringList{u"300.00"_s, u"300.00"_s, u"300.00"_s}));
    EXPECT_EQ(amounts(rows, &GLDepr::SLValue),
              (QStringList{u"700.00"_s, u"400.00"_s, u"100.00"_s}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(SuiteDate::toQDate(rows[0].Date), QDate(2024, 4, 1));
    EXPECT_EQ(SuiteDate::toQDate(rows[2].Date), QDate(2024, 6, 1));
}

TEST_P(ScheduleCalculatorTest, TheLastMonthTakesTheRemainder)
{
    const auto rows = calculate(equipment("1000.00", "0.00", 3));
    EXPECT_EQ(amounts(rows, &GLDepr::SLAmount),
              (QStringList{u"333.33"_s, u"333.33"_s, u"333.34"_s}));
    EXPECT_EQ(amounts(rows, &GLDepr::SYAmount),
              (QStringList{u"500.00"_s, u"333.33"_s, u"166.67"_s}));
    EXPECT_TRUE(rows.back().SLValue.isZero());
    EXPECT_TRUE(rows.back().SYValue.isZero());
}

TEST_P(ScheduleCalculatorTest, SumOfYearsDigits)
{
    const auto rows = calculate(equipment("700.00", "100.00", 3));
    EXPECT_EQ(amounts(rows, &GLDepr::SYAmount),
              (QStringList{u"300.00"_s, u"200.00"_s, u"100.00"_s}));
    EXPECT_EQ(rows.back().SYValue, money("100.00"));
}

TEST_P(ScheduleCalculatorTest, DecliningBalanceSwitchesToStraightLine)
{
    const auto rows = calculate(equipment("1200.00", "0.00", 12));
    const QStringList ddb = amounts(rows, &GLDepr::DDBAmount);
    ASSERT_EQ(ddb.size(), 12);
    EXPECT_EQ(ddb[0], u"200.00");
    EXPECT_EQ(ddb[1], u"166.67");
    // Month 7: the declining amount (66.98) is not below the remaining-months
    // amount (401.87 / 6 = 66.98); month 8 switches (55.82 < 334.89 / 5).
    EXPECT_EQ(ddb[6], u"66.98");
    EXPECT_EQ(ddb.mid(7),
              (QStringList{u"66.98"_s, u"66.98"_s, u"66.98"_s, u"66.98"_s, u"66.97"_s}));
    EXPECT_TRUE(rows.back().DDBValue.isZero());
}

TEST_P(ScheduleCalculatorTest, DecliningBalanceNeverEndsBelowSalvage)
{
    const auto rows = calculate(equipment("1000.00", "100.00", 3));
    EXPECT_EQ(amounts(rows, &GLDepr::DDBAmount),
              (QStringList{u"666.67"_s, u"222.22"_s, u"11.11"_s}));
    EXPECT_EQ(rows.back().DDBValue, money("100.00"));

    // A long life whose declining amount reaches salvage early stays there.
    const auto longer = calculate(equipment("168000.00", "35000.00", 84));
    for (const GLDepr &row : longer)
        EXPECT_GE(row.DDBValue, money("35000.00"));
    EXPECT_EQ(longer.back().DDBValue, money("35000.00"));
}

TEST_P(ScheduleCalculatorTest, PurchaseEqualToSalvageWritesOneRow)
{
    const auto rows = calculate(equipment("500.00", "500.00", 24));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].SLAmount.isZero());
    EXPECT_TRUE(rows[0].DDBAmount.isZero()) << "no charge below salvage";
}

TEST_P(ScheduleCalculatorTest, RecalculationUpdatesInPlaceAndKeepsWhatWasPosted)
{
    EQHeader e = equipment("1000.00", "100.00", 3);
    calculate(e);
    // The general ledger posted the first month; a user typed a custom amount;
    // another program stored the second month mid-month.
    std::vector<GLDepr> rows = scheduleRows(company, e.EquipmentID);
    rows[0].ActualAmount = money("300.00");
    rows[0].FPPostedLabel = u"04/24"_s;
    rows[0].GLTransID = 4711;
    rows[0].UD1Amount = money("250.00");
    rows[1].Date = SuiteDate::fromYmd(2024, 5, 15);
    for (GLDepr &row : rows)
        ASSERT_TRUE(company.file<GLDepr>().update(row).isOk());

    e.PurchaseValue = money("1300.00");
    const ScheduleCalculator::Result result = calculator.calculate(e);
    EXPECT_EQ(result.rowsUpdated, 3);
    EXPECT_EQ(result.rowsInserted, 0);
    rows = scheduleRows(company, e.EquipmentID);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(amounts(rows, &GLDepr::SLAmount),
              (QStringList{u"400.00"_s, u"400.00"_s, u"400.00"_s}));
    EXPECT_EQ(rows[0].ActualAmount, money("300.00"));
    EXPECT_EQ(rows[0].FPPostedLabel, u"04/24");
    EXPECT_EQ(rows[0].GLTransID, 4711);
    EXPECT_EQ(rows[0].UD1Amount, money("250.00"));
    EXPECT_EQ(SuiteDate::toQDate(rows[1].Date), QDate(2024, 5, 15));
}

TEST_P(ScheduleCalculatorTest, NoRowSurvivesAfterTheSaleDate)
{
    EQHeader e = equipment("1200.00", "0.00", 12);
    calculate(e);
    e.SaleDate = SuiteDate::fromYmd(2024, 9, 10);
    const ScheduleCalculator::Result result = calculator.calculate(e);
    EXPECT_EQ(result.rowsDeleted, 6);
    const auto rows = scheduleRows(company, e.EquipmentID);
    ASSERT_EQ(rows.size(), 6u); // April to September
    EXPECT_EQ(SuiteDate::toQDate(rows.back().Date), QDate(2024, 9, 1));
}

TEST_P(ScheduleCalculatorTest, AShorterLifeLeavesExactlyItsMonthsButKeepsPostedRows)
{
    EQHeader e = equipment("6000.00", "0.00", 60);
    calculate(e);
    std::vector<GLDepr> rows = scheduleRows(company, e.EquipmentID);
    rows[40].GLTransID = 812; // month 41 is posted to the general ledger
    rows[40].FPPostedLabel = u"08/27"_s;
    ASSERT_TRUE(company.file<GLDepr>().update(rows[40]).isOk());

    e.DepreciationYears = 36;
    const ScheduleCalculator::Result result = calculator.calculate(e);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.rowsDeleted, 23);
    EXPECT_EQ(result.postedKept, 1);
    rows = scheduleRows(company, e.EquipmentID);
    ASSERT_EQ(rows.size(), 37u);
    EXPECT_EQ(rows[35].SLValue, money("0.00")) << "month 36 reaches salvage";
    EXPECT_EQ(rows[36].GLTransID, 812);
    EXPECT_EQ(prompter.shown().last().text,
              u"Equipment EXC-301 has rows outside its 36 months that are posted to the general "
              "ledger: 08/2027.|They were kept; reverse their postings to remove them.");

    // A life that ends early (cost equal to salvage) leaves its one month.
    e.SalvageValue = e.PurchaseValue;
    calculate(e);
    EXPECT_EQ(scheduleRows(company, e.EquipmentID).size(), 2u) << "the month and the posted row";
}

TEST_P(ScheduleCalculatorTest, ALaterPurchaseDateLeavesNoEarlierMonths)
{
    EQHeader e = equipment("1200.00", "0.00", 12);
    calculate(e);
    e.PurchaseDate = SuiteDate::fromYmd(2024, 6, 10);
    const ScheduleCalculator::Result result = calculator.calculate(e);
    EXPECT_EQ(result.rowsDeleted, 3) << "April to June";
    const auto rows = scheduleRows(company, e.EquipmentID);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(SuiteDate::toQDate(rows.front().Date), QDate(2024, 7, 1));
}

TEST_P(ScheduleCalculatorTest, EveryMethodEndsExactlyAtSalvage)
{
    // Straight line reaches salvage in month 8 of 10; the others still owe
    // cents then and must take them by month 10.
    const auto rows = calculate(equipment("0.15", "0.00", 10));
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(amounts(rows, &GLDepr::SLAmount).mid(7),
              (QStringList{u"0.01"_s, u"0.00"_s, u"0.00"_s}));
    for (const GLDepr &row : rows) {
        EXPECT_GE(row.SYValue, Decimal());
        EXPECT_GE(row.DDBValue, Decimal());
    }
    EXPECT_TRUE(rows.back().SLValue.isZero());
    EXPECT_TRUE(rows.back().SYValue.isZero());
    EXPECT_TRUE(rows.back().DDBValue.isZero());
}

TEST_P(ScheduleCalculatorTest, RefusesWhatCannotBeDepreciatedAndWritesNothing)
{
    EQHeader e = equipment("1000.00", "1100.00", 12);
    EXPECT_FALSE(calculator.calculate(e).done);
    EXPECT_EQ(prompter.shown().last().text,
              u"Equipment EXC-301 has a salvage value above its purchase value.|Correct the "
              "values, then calculate the schedule again.");

    e = equipment("9999999999999.99", "-9999999999999.99", 1);
    EXPECT_FALSE(calculator.calculate(e).done);
    EXPECT_TRUE(prompter.shown().last().text.startsWith(
        u"The amounts of equipment EXC-301 are too large to depreciate."_s));
    EXPECT_EQ(company.file<GLDepr>().count(), 0);
}

TEST_P(ScheduleCalculatorTest, AFailedWriteTakesTheWholeRunBack)
{
    EQHeader e = equipment("1200.00", "0.00", 12);
    calculate(e);
    const std::vector<GLDepr> before = scheduleRows(company, e.EquipmentID);

    // Recalculating over a longer life fails at month 15, as on a full disk.
    database.failInserts(company.database(), u"GLDepr"_s,
                         u"\"Date\" = %1"_s.arg(SuiteDate::fromYmd(2025, 6, 1)));
    e.PurchaseValue = money("2400.00");
    e.DepreciationYears = 24;
    const ScheduleCalculator::Result result = calculator.calculate(e);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(
        prompter.shown().last().text.endsWith(u" Inserting GLDepr|The schedule was not changed."_s))
        << prompter.shown().last().text.toStdString();
    const std::vector<GLDepr> after = scheduleRows(company, e.EquipmentID);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(amounts(after, &GLDepr::SLAmount), amounts(before, &GLDepr::SLAmount));
}

TEST_P(ScheduleCalculatorTest, MonthsRollIntoTheNextYear)
{
    const auto rows = calculate(equipment("300.00", "0.00", 3, QDate(2024, 11, 10)));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(SuiteDate::toQDate(rows[0].Date), QDate(2024, 12, 1));
    EXPECT_EQ(SuiteDate::toQDate(rows[1].Date), QDate(2025, 1, 1));
    EXPECT_EQ(SuiteDate::toQDate(rows[2].Date), QDate(2025, 2, 1));
}

TEST_P(ScheduleCalculatorTest, FiftyYearSchedule)
{
    const auto rows = calculate(equipment("987654.32", "1234.56", 600));
    ASSERT_EQ(rows.size(), 600u);
    EXPECT_EQ(SuiteDate::toQDate(rows.back().Date), QDate(2074, 3, 1));
    EXPECT_EQ(rows.back().SLValue, money("1234.56"));
    EXPECT_EQ(rows.back().SYValue, money("1234.56"));
    EXPECT_EQ(rows.back().DDBValue, money("1234.56"));
}

TEST_P(ScheduleCalculatorTest, RefusedWithoutAPurchaseDate)
{
    EQHeader e = equipment("1000.00", "0.00", 12);
    e.PurchaseDate = 0;
    EXPECT_FALSE(calculator.calculate(e).done);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(
        prompter.shown()[0].text,
        u"Equipment EXC-301 has no purchase date.|Enter the purchase date, then calculate the "
        "schedule again.");
    EXPECT_EQ(company.file<GLDepr>().count(), 0);
}

TEST_P(ScheduleCalculatorTest, ZeroMonthsWritesNothing)
{
    EXPECT_TRUE(calculate(equipment("1000.00", "0.00", 0)).empty());
}

TEST_P(ScheduleCalculatorTest, WritesNothingWithoutTheTransaction)
{
    data::Company station2(database.settings(), companyCatalog());
    data::Transaction held(station2.database(), {u"GLDepr"_s}, 5s);
    ASSERT_TRUE(held.isActive());
    calculator.setTransactionTimeout(100ms);

    const ScheduleCalculator::Result result =
        calculator.calculate(equipment("1000.00", "100.00", 3));
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.busy);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_TRUE(prompter.shown()[0].text.endsWith(
        u" is using GLDepr.|Nothing was changed; try again in a moment."_s))
        << prompter.shown()[0].text.toStdString();
    held.rollback();
    EXPECT_EQ(company.file<GLDepr>().count(), 0);
}

TEST_P(ScheduleCalculatorTest, APreviewStoresNothing)
{
    int seen = 0;
    const auto result =
        calculator.preview(equipment("1000.00", "100.00", 3), [&seen](const GLDepr &row) {
            ++seen;
            EXPECT_EQ(row.SLAmount, money("300.00"));
        });
    EXPECT_TRUE(result.done);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(company.file<GLDepr>().count(), 0);
}

TEST_P(ScheduleCalculatorTest, AnnualSummaryCoversEveryMonthThenTheSalvageValue)
{
    const EQHeader e = equipment("1900.00", "100.00", 18);
    const auto entries = annualSummary(e, calculate(e));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].year, 1);
    EXPECT_EQ(entries[0].slBegin, money("1900.00"));
    EXPECT_EQ(entries[0].slCharge, money("1200.00"));
    EXPECT_EQ(entries[1].year, 2);
    EXPECT_EQ(entries[1].slBegin, money("700.00"));
    EXPECT_EQ(entries[1].slCharge, money("600.00")) << "the part year counts";
    EXPECT_EQ(entries[2].year, 3);
    EXPECT_EQ(entries[2].slBegin, money("100.00"));
    EXPECT_TRUE(entries[2].slCharge.isZero());
    EXPECT_EQ(entries[2].ddbBegin, money("100.00"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ScheduleCalculatorTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

TEST(DepreciationMethod, TitlesAndColumnsFollowTheMethod)
{
    using namespace DepreciationMethod;
    EXPECT_EQ(scheduleTitle(1, {}), u"Straight Line Depreciation Schedule");
    EXPECT_EQ(scheduleTitle(2, {}), u"Sum of Years' Digits Depreciation Schedule");
    EXPECT_EQ(scheduleTitle(3, {}), u"Double Rate Declining Balance Depreciation Schedule");
    EXPECT_EQ(scheduleTitle(4, u"Accelerated 7-Year   "_s),
              u"Accelerated 7-Year Depreciation Schedule");
    EXPECT_FALSE(scheduleTitle(0, {}).has_value());
    EXPECT_EQ(choiceLabels(u"Custom  "_s).last(), u"Custom");
    EXPECT_EQ(monthlyColumns(3), Columns::DecliningBalance);
    EXPECT_EQ(monthlyColumns(4), Columns::Custom);
    EXPECT_EQ(monthlyColumns(9), Columns::Other);
    EXPECT_EQ(annualColumns(2), Columns::SumOfYearsDigits);
    EXPECT_FALSE(annualColumns(4).has_value());
}

} // namespace
