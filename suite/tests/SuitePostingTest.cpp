#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/ModuleFiles.h"
#include "records/PriorPeriods.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/testing/TestDatabase.h"

#include "suite/JournalPosting.h"
#include "suite/PeriodClose.h"

#include "core/SuiteDate.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

// A company with the fiscal periods November 2025 to January 2026 and one
// excavator, EXC-1, with the cost categories FUEL and REPAIRS, for the
// suite's posting and closing runs on both databases.
class SuitePostingTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};

    void SetUp() override
    {
        int number = 0;
        for (const QDate start : {QDate(2025, 11, 1), QDate(2025, 12, 1), QDate(2026, 1, 1)}) {
            GLFiscal period;
            period.FiscalPeriod = ++number;
            period.Label = start.toString(u"MM/yy"_s);
            period.StartDate = SuiteDate::fromQDate(start);
            period.EndDate = SuiteDate::fromQDate(start.addMonths(1).addDays(-1));
            period.PeriodDate = period.EndDate;
            period.FiscalYear = qint16(start.year());
            period.Period = quint8(start.month());
            ASSERT_TRUE(company.file<GLFiscal>().insert(period).isOk());
        }
        EQHeader equipment;
        equipment.EquipmentID = u"EXC-1"_s;
        ASSERT_TRUE(company.file<EQHeader>().insert(equipment).isOk());
        for (const QString &category : {u"FUEL"_s, u"REPAIRS"_s}) {
            EQCost cost;
            cost.RecordID = costId(category);
            cost.EquipmentID = u"EXC-1"_s;
            cost.CostCategory = category;
            ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
        }
    }

    static QString costId(const QString &category) { return u"EXC-1     "_s + category; }

    template <class R> R stored(R key, QStringView index)
    {
        EXPECT_TRUE(company.file<R>().fetch(index, key).isOk());
        return key;
    }
    EQCost cost(const QString &category)
    {
        EQCost key;
        key.RecordID = costId(category);
        return stored(key, u"KeyRecordID");
    }
    template <class R> std::vector<R> all(QStringView key)
    {
        std::vector<R> records;
        data::KeyCursor cursor = company.file<R>().scan(key);
        for (R record; cursor.next(record);)
            records.push_back(record);
        EXPECT_FALSE(cursor.error().has_value());
        return records;
    }
};

GLTrans line(const QDate &date, const QString &account, const char *amount, bool credit,
             const QString &subsidiary = {}, const char *quantity = "0")
{
    GLTrans t;
    t.TransDate = SuiteDate::fromQDate(date);
    t.Account = account;
    t.CreditDebit = credit ? u"C"_s : u"D"_s;
    t.Amount = *Decimal::parse(QString::fromLatin1(amount));
    t.SubsidiaryCode = subsidiary;
    t.SubsidiaryQuantity = *Decimal::parse(QString::fromLatin1(quantity));
    return t;
}

QString figures(const Decimal &units, const Decimal &amount)
{
    return units.toString(2) + u" / "_s + amount.toString(2);
}

// A vendor's fuel bill in December, a repair in January and a part of the
// repair billed back to a customer: the ledger gets each entry's lines under
// its own number, the cost categories and their prior periods what the lines
// charge them.
TEST_P(SuitePostingTest, JournalEntriesChargeTheCostCategoriesTheyName)
{
    const QString fuel = costId(u"FUEL"_s), repairs = costId(u"REPAIRS"_s);
    const QList<suite::JournalEntry> entries = {
        {u"A/P"_s,
         5001,
         {line({2025, 12, 9}, u"6100"_s, "410.50", false, fuel, "95"),
          line({2025, 12, 9}, u"2000"_s, "410.50", true)}},
        {u"A/P"_s,
         5002,
         {line({2026, 1, 20}, u"6110"_s, "1200.00", false, repairs, "2"),
          line({2026, 1, 20}, u"2000"_s, "1200.00", true)}},
        {u"A/R"_s,
         17,
         {line({2026, 1, 28}, u"6110"_s, "240.00", true, repairs),
          line({2026, 1, 28}, u"1100"_s, "240.00", false)}}};
    const suite::JournalOutcome outcome = suite::postJournalEntries(session, entries);
    ASSERT_TRUE(outcome.posted) << outcome.error.toStdString();
    EXPECT_EQ(outcome.lines, 6);

    const auto ledger = all<GLTrans>(u"KeyRecordID");
    ASSERT_EQ(ledger.size(), 6u);
    QStringList numbered;
    for (const GLTrans &t : ledger)
        numbered.append(u"%1 %2-%3 period %4"_s.arg(t.JournalID)
                            .arg(t.JournalNo)
                            .arg(t.LineNo)
                            .arg(t.FiscalPeriod));
    EXPECT_EQ(numbered, (QStringList{u"A/P 5001-1 period 2"_s, u"A/P 5001-2 period 2"_s,
                                     u"A/P 5002-1 period 3"_s, u"A/P 5002-2 period 3"_s,
                                     u"A/R 17-1 period 3"_s, u"A/R 17-2 period 3"_s}));

    const EQCost f = cost(u"FUEL"_s), r = cost(u"REPAIRS"_s);
    EXPECT_EQ(figures(f.CumulativeUnitUsed, f.CumulativeAmount), u"95.00 / 410.50");
    EXPECT_EQ(figures(f.MonthUnitsUsed, f.MonthAmount), u"95.00 / 410.50");
    EXPECT_EQ(figures(r.CumulativeUnitUsed, r.CumulativeAmount), u"2.00 / 960.00")
        << "the billed-back credit takes its amount off the category";
    EXPECT_EQ(figures(r.YearUnitsUsed, r.YearAmount), u"2.00 / 960.00");

    QStringList priorMonths;
    for (const EQPriorCM &p : all<EQPriorCM>(u"KeyEquipmentCategoryYearPeriod"))
        priorMonths.append(u"%1 %2/%3 %4"_s.arg(p.Category)
                               .arg(p.Period)
                               .arg(p.FiscalYear)
                               .arg(figures(p.Units, p.Amount)));
    EXPECT_EQ(priorMonths,
              (QStringList{u"FUEL 12/2025 95.00 / 410.50"_s, u"REPAIRS 1/2026 2.00 / 960.00"_s}));
    EXPECT_EQ(all<EQPriorC>(u"KeyEquipmentCategoryYear").size(), 2u);
}

// Whatever entry is refused, none of the run's entries is posted: the ledger
// and the categories stay as they were, and the error names the entry.
TEST_P(SuitePostingTest, ARefusedEntryLeavesEveryFileAsItWas)
{
    const QString fuel = costId(u"FUEL"_s);
    const suite::JournalEntry good = {u"A/P"_s,
                                      6001,
                                      {line({2025, 12, 9}, u"6100"_s, "410.50", false, fuel, "95"),
                                       line({2025, 12, 9}, u"2000"_s, "410.50", true)}};
    const struct
    {
        suite::JournalEntry entry;
        const char16_t *error;
    } refused[] = {
        {{u"A/P"_s,
          6002,
          {line({2025, 12, 9}, u"6100"_s, "100.00", false, fuel),
           line({2025, 12, 9}, u"2000"_s, "99.99", true)}},
         u"Journal entry A/P 6002 does not balance: debits 100.00, credits 99.99."},
        {{u"P/R"_s,
          6003,
          {line({2026, 3, 2}, u"6110"_s, "50.00", false),
           line({2026, 3, 2}, u"2100"_s, "50.00", true)}},
         u"No fiscal period holds the date 3/02/2026 of journal entry P/R 6003."},
        {{u"A/P"_s,
          6004,
          {line({2025, 12, 9}, u"6120"_s, "80.00", false, costId(u"TIRES"_s)),
           line({2025, 12, 9}, u"2000"_s, "80.00", true)}},
         u"Journal entry A/P 6004 charges cost category TIRES of equipment EXC-1, which that "
         u"equipment does not have."},
        {{u"A/P"_s, 6005, {}}, u"Journal entry A/P 6005 has no lines."},
    };
    for (const auto &[entry, error] : refused) {
        const suite::JournalOutcome outcome = suite::postJournalEntries(session, {good, entry});
        EXPECT_FALSE(outcome.posted);
        EXPECT_EQ(outcome.lines, 0);
        EXPECT_EQ(outcome.error, QString::fromUtf16(error));
    }
    EXPECT_EQ(company.file<GLTrans>().count(), 0);
    EXPECT_TRUE(cost(u"FUEL"_s).CumulativeAmount.isZero());
    EXPECT_EQ(company.file<EQPriorCM>().count(), 0);
}

// Totals of an equipment and a cost category as a month of posting leaves them.
void giveTotals(data::Company &company, EQHeader equipment, EQCost cost)
{
    for (Decimal *total :
         {&equipment.CumulativeInternalUnits, &equipment.YearInternalUnits,
          &equipment.MonthInternalUnits, &equipment.MonthInternalIncome,
          &equipment.YearRentalIncome, &equipment.MonthUnits, &equipment.YearUnits,
          &equipment.MonthNonProductiveUnits, &cost.CumulativeAmount, &cost.YearAmount,
          &cost.MonthAmount, &cost.MonthUnitsUsed, &cost.YearUnitsUsed})
        *total = Decimal(7);
    ASSERT_TRUE(company.file<EQHeader>().update(equipment).isOk());
    ASSERT_TRUE(company.file<EQCost>().update(cost).isOk());
}

// Closing November starts December's month from zero and keeps the year;
// closing December starts the new fiscal year's totals too. The cumulative
// totals keep everything, and each closed period is marked so.
TEST_P(SuitePostingTest, APeriodCloseStartsTheMonthAndAtYearEndTheYear)
{
    EQHeader key;
    key.EquipmentID = u"EXC-1"_s;
    giveTotals(company, stored(key, u"KeyEquipmentID"), cost(u"FUEL"_s));

    suite::PeriodCloseOutcome november = suite::closePeriod(session, 1);
    ASSERT_TRUE(november.closed) << november.error.toStdString();
    EXPECT_FALSE(november.newYear);
    EQHeader eq = stored(key, u"KeyEquipmentID");
    EQCost c = cost(u"FUEL"_s);
    EXPECT_TRUE(eq.MonthInternalUnits.isZero() && eq.MonthInternalIncome.isZero() &&
                eq.MonthUnits.isZero() && eq.MonthNonProductiveUnits.isZero());
    EXPECT_TRUE(c.MonthAmount.isZero() && c.MonthUnitsUsed.isZero());
    EXPECT_EQ(figures(eq.YearInternalUnits, eq.YearRentalIncome), u"7.00 / 7.00");
    EXPECT_EQ(figures(c.YearUnitsUsed, c.YearAmount), u"7.00 / 7.00");

    const suite::PeriodCloseOutcome december = suite::closePeriod(session, 2);
    ASSERT_TRUE(december.closed) << december.error.toStdString();
    EXPECT_TRUE(december.newYear);
    eq = stored(key, u"KeyEquipmentID");
    c = cost(u"FUEL"_s);
    EXPECT_TRUE(eq.YearInternalUnits.isZero() && eq.YearRentalIncome.isZero() &&
                eq.YearUnits.isZero());
    EXPECT_TRUE(c.YearUnitsUsed.isZero() && c.YearAmount.isZero());
    EXPECT_EQ(figures(eq.CumulativeInternalUnits, c.CumulativeAmount), u"7.00 / 7.00");

    QList<int> closed;
    for (const GLFiscal &period : all<GLFiscal>(u"KeyFiscalPeriodUp"))
        closed.append(period.Closed);
    EXPECT_EQ(closed, (QList<int>{1, 1, 0}));
}

// The last period on file has no next period to start, and a period that is
// not on file cannot be closed: nothing is changed.
TEST_P(SuitePostingTest, APeriodWithoutANextOneIsNotClosed)
{
    EQHeader key;
    key.EquipmentID = u"EXC-1"_s;
    giveTotals(company, stored(key, u"KeyEquipmentID"), cost(u"FUEL"_s));
    const suite::PeriodCloseOutcome last = suite::closePeriod(session, 3);
    EXPECT_FALSE(last.closed);
    EXPECT_EQ(last.error, u"Fiscal period 01/26 is the last one on file.|Add the periods of the "
                          u"next fiscal year before closing it.");
    const suite::PeriodCloseOutcome missing = suite::closePeriod(session, 9);
    EXPECT_FALSE(missing.closed);
    EXPECT_EQ(missing.error, u"There is no fiscal period 9.");
    EXPECT_EQ(cost(u"FUEL"_s).MonthAmount, Decimal(7));
    EXPECT_EQ(stored(key, u"KeyEquipmentID").MonthUnits, Decimal(7));
    for (const GLFiscal &period : all<GLFiscal>(u"KeyFiscalPeriodUp"))
        EXPECT_EQ(period.Closed, 0);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Backends, SuitePostingTest,
                         ::testing::ValuesIn(qaveq::testing::backends()));
