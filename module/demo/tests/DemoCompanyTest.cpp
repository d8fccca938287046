#include "demo/DemoCompany.h"
#include "assets/ScheduleCalculator.h"
#include "assets/ScheduleRows.h"
#include "records/EQBatch.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/EQLogB.h"
#include "records/GLDepr.h"
#include "records/ModuleFiles.h"
#include "records/PriorPeriods.h"
#include "reports/AnalysisReports.h"
#include "reports/EquipmentDetailReport.h"

#include "data/Company.h"
#include "data/suite/AccountsFiles.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

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

// Units and amount as text, so that a difference shows which figure it is.
struct Sum
{
    Decimal units, amount;
    void add(const Decimal &u, const Decimal &a)
    {
        units += u;
        amount += a;
    }
    QString text() const { return units.toString(2) + u" / "_s + amount.toString(2); }
};

QString periodKey(const QString &id, int year, int period = 0)
{
    return id + u' ' + QString::number(year) +
           (period ? u'/' + QString::number(period) : QString());
}

template <class M> std::map<QString, QString> texts(const std::map<QString, M> &sums)
{
    std::map<QString, QString> shown;
    for (const auto &[key, sum] : sums)
        shown[key] = sum.text();
    return shown;
}

// The demonstration posts through the posting run, so its totals are those of
// the posted logs; the last month is November 2026, fiscal period 23.
TEST_F(DemoCompanyTest, EquipmentTotalsAgreeWithLogsAndPriorPeriods)
{
    struct Income
    {
        Sum internal, rental;
        void add(const EQLog &log)
        {
            (log.ChargeType == u"R" ? rental : internal).add(log.Units, log.AdjustedAmount);
        }
        QString text() const { return internal.text() + u" | "_s + rental.text(); }
    };
    std::map<QString, Income> cumulative, year, month, priorYears, priorMonths;
    for (const EQLog &log : readAll<EQLog>(*company, u"KeyRecordID"_s)) {
        const QDate date = SuiteDate::toQDate(log.Date);
        cumulative[log.EquipmentID].add(log);
        if (date.year() == 2026)
            year[log.EquipmentID].add(log);
        if (date.year() == 2026 && date.month() == 11)
            month[log.EquipmentID].add(log);
        priorYears[periodKey(log.EquipmentID, date.year())].add(log);
        priorMonths[periodKey(log.EquipmentID, date.year(), date.month())].add(log);
    }
    std::map<QString, Decimal> ledger;
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s))
        if (t.SubsidiaryCode.endsWith(u".I"_s) || t.SubsidiaryCode.endsWith(u".R"_s))
            ledger[t.SubsidiaryCode] += t.CreditDebit == u"C" ? t.Amount : -t.Amount;

    for (const EQHeader &e : readAll<EQHeader>(*company, u"KeyEquipmentID"_s)) {
        const std::string id = e.EquipmentID.toStdString();
        const auto shown = [](const Decimal &iu, const Decimal &ii, const Decimal &ru,
                              const Decimal &ri) {
            return Income{{iu, ii}, {ru, ri}}.text();
        };
        EXPECT_EQ(shown(e.CumulativeInternalUnits, e.CumulativeInternalIncome,
                        e.CumulativeRentalUnits, e.CumulativeRentalIncome),
                  cumulative[e.EquipmentID].text())
            << id;
        EXPECT_EQ(
            shown(e.YearInternalUnits, e.YearInternalIncome, e.YearRentalUnits, e.YearRentalIncome),
            year[e.EquipmentID].text())
            << id;
        EXPECT_EQ(shown(e.MonthInternalUnits, e.MonthInternalIncome, e.MonthRentalUnits,
                        e.MonthRentalIncome),
                  month[e.EquipmentID].text())
            << id;
        EXPECT_EQ(e.CumulativeUnits, e.CumulativeInternalUnits + e.CumulativeRentalUnits) << id;
        EXPECT_EQ(e.YearUnits, e.YearInternalUnits + e.YearRentalUnits) << id;
        EXPECT_EQ(e.MonthUnits, e.MonthInternalUnits + e.MonthRentalUnits) << id;
        EXPECT_EQ(e.LastPostingFiscalPeriod, e.Active ? 23 : 0) << id;
        // The income the analysis reports read from the ledger.
        const QString padded = e.EquipmentID.leftJustified(10);
        EXPECT_EQ(ledger[padded + u".I"_s], e.CumulativeInternalIncome) << id;
        EXPECT_EQ(ledger[padded + u".R"_s], e.CumulativeRentalIncome) << id;
    }

    std::map<QString, Income> storedYears, storedMonths;
    const auto stored = [](const EQPriorFields &p) {
        return Income{{p.InternalUnits, p.InternalIncome}, {p.RentalUnits, p.RentalIncome}};
    };
    for (const EQPrior &p : readAll<EQPrior>(*company, u"KeyEquipmentYear"_s))
        storedYears[periodKey(p.EquipmentID, p.FiscalYear)] = stored(p);
    for (const EQPriorM &p : readAll<EQPriorM>(*company, u"KeyEquipmentYearPeriod"_s))
        storedMonths[periodKey(p.EquipmentID, p.FiscalYear, p.Period)] = stored(p);
    EXPECT_EQ(texts(storedYears), texts(priorYears));
    EXPECT_EQ(texts(storedMonths), texts(priorMonths));
}

// A cost category carries what posting charged it from logs and what the
// vendor bills added, in its totals, its prior-period records and the ledger.
TEST_F(DemoCompanyTest, CategoryTotalsAgreeWithTheLedger)
{
    std::map<QString, Sum> cumulative, year, month, priorYears, priorMonths;
    std::map<QString, Decimal> bySubsidiary;
    Decimal debits, credits;
    const auto charge = [&](const QString &id, const QString &category, const QDate &date,
                            const Decimal &units, const Decimal &amount) {
        const QString cost = id.leftJustified(10) + category;
        cumulative[cost].add(units, amount);
        if (date.year() == 2026)
            year[cost].add(units, amount);
        if (date.year() == 2026 && date.month() == 11)
            month[cost].add(units, amount);
        priorYears[periodKey(cost, date.year())].add(units, amount);
        priorMonths[periodKey(cost, date.year(), date.month())].add(units, amount);
    };
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s)) {
        (t.CreditDebit == u"C" ? credits : debits) += t.Amount;
        const bool debit = t.CreditDebit == u"D";
        if (!t.SubsidiaryCode.isEmpty())
            bySubsidiary[t.SubsidiaryCode] += debit ? t.Amount : -t.Amount;
        // Vendor bills and shop labor charge a category; damage billed back
        // to a customer credits it.
        const bool bill = t.JournalID == u"A/P" || t.JournalID == u"P/R";
        if (!t.SubsidiaryCode.isEmpty() && ((bill && debit) || (t.JournalID == u"A/R" && !debit)))
            charge(t.SubsidiaryCode.left(10).trimmed(), t.SubsidiaryCode.mid(10),
                   SuiteDate::toQDate(t.TransDate),
                   debit ? t.SubsidiaryQuantity : -t.SubsidiaryQuantity,
                   debit ? t.Amount : -t.Amount);
    }
    EXPECT_EQ(debits, credits) << "the ledger balances";
    int fromLogs = 0;
    for (const EQLog &log : readAll<EQLog>(*company, u"KeyRecordID"_s)) {
        if (log.DetailType != u"Equipment" && log.DetailType != u"Maintenance")
            continue;
        ++fromLogs;
        const QString charged =
            log.DetailType == u"Equipment" ? log.EquipmentIDCharged : log.EquipmentID;
        charge(charged, log.Category, SuiteDate::toQDate(log.Date), log.Units, log.AdjustedAmount);
    }
    EXPECT_GT(fromLogs, 20) << "logs charged to cost categories";

    const auto costs = readAll<EQCost>(*company, u"KeyRecordID"_s);
    EXPECT_GT(costs.size(), 100u);
    for (const EQCost &c : costs) {
        const std::string id = c.RecordID.toStdString();
        EXPECT_EQ(c.RecordID, c.EquipmentID.leftJustified(10) + c.CostCategory);
        EXPECT_EQ(c.CumulativeAmount, bySubsidiary[c.RecordID]) << id;
        EXPECT_EQ((Sum{c.CumulativeUnitUsed, c.CumulativeAmount}.text()),
                  cumulative[c.RecordID].text())
            << id;
        EXPECT_EQ((Sum{c.YearUnitsUsed, c.YearAmount}.text()), year[c.RecordID].text()) << id;
        EXPECT_EQ((Sum{c.MonthUnitsUsed, c.MonthAmount}.text()), month[c.RecordID].text()) << id;
    }
    std::map<QString, Sum> storedYears, storedMonths;
    for (const EQPriorC &p : readAll<EQPriorC>(*company, u"KeyEquipmentCategoryYear"_s))
        storedYears[periodKey(p.EquipmentID.leftJustified(10) + p.Category, p.FiscalYear)] =
            Sum{p.Units, p.Amount};
    for (const EQPriorCM &p : readAll<EQPriorCM>(*company, u"KeyEquipmentCategoryYearPeriod"_s))
        storedMonths[periodKey(p.EquipmentID.leftJustified(10) + p.Category, p.FiscalYear,
                               p.Period)] = Sum{p.Units, p.Amount};
    EXPECT_EQ(texts(storedYears), texts(priorYears));
    EXPECT_EQ(texts(storedMonths), texts(priorMonths));
}

// Each month was one run of the posting run: its journal number is the
// record number of the run's first G/L line, and the run wrote an income and
// a charge line for every log it posted.
TEST_F(DemoCompanyTest, PostedLogsCarryTheJournalsOfRealPostingRuns)
{
    const auto logs = readAll<EQLog>(*company, u"KeyRecordID"_s);
    std::map<qint32, Decimal> posted;
    std::map<qint32, int> count;
    std::map<qint32, QString> monthOf;
    std::set<QString> kinds;
    for (const EQLog &log : logs) {
        EXPECT_EQ(log.Posted, 1);
        EXPECT_EQ(log.Type, log.ChargeType);
        posted[log.JournalNumber] += log.AdjustedAmount;
        ++count[log.JournalNumber];
        const QString month = SuiteDate::toQDate(log.Date).toString(u"yyyy-MM"_s);
        EXPECT_EQ(monthOf.emplace(log.JournalNumber, month).first->second, month)
            << "one run a month";
        kinds.insert(log.DetailType + u' ' + log.ChargeType);
    }
    EXPECT_EQ(posted.size(), 18u);
    EXPECT_EQ(kinds, (std::set<QString>{u"Equipment I"_s, u"G/L Account R"_s, u"Job I"_s,
                                        u"Maintenance I"_s}));

    std::map<qint32, Decimal> debits, credits;
    std::map<qint32, int> lines;
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s)) {
        if (t.JournalID != u"EQ")
            continue;
        ASSERT_TRUE(posted.contains(t.JournalNo)) << t.RecordID;
        if (t.RecordID == t.JournalNo) {
            EXPECT_EQ(t.LineNo, 1);
        }
        (t.CreditDebit == u"C" ? credits : debits)[t.JournalNo] += t.Amount;
        ++lines[t.JournalNo];
    }
    QString previous;
    for (const auto &[journal, amount] : posted) {
        EXPECT_EQ(lines[journal], 2 * count[journal]) << journal;
        EXPECT_EQ(credits[journal], amount) << journal;
        EXPECT_EQ(debits[journal], amount) << journal;
        EXPECT_GT(monthOf[journal], previous) << "later runs, later months";
        previous = monthOf[journal];
    }

    // Posting emptied each month's batch; the batches still at work remain.
    EXPECT_EQ(company->file<EQBatch>().count(), 3);
    for (const EQLogB &log : readAll<EQLogB>(*company, u"KeyLogID"_s))
        EXPECT_EQ(SuiteDate::toQDate(log.Date).toString(u"yyyy-MM"_s), u"2026-12");
}

// The bills went to the ledger as journal entries of their documents: each
// A/P entry is a vendor's bill on file, each A/R entry a billing, and every
// entry balances with its lines numbered from 1. The period close between
// the months leaves the cost categories with November's month figures only.
TEST_F(DemoCompanyTest, BillsAreJournalEntriesOfTheirDocumentsAndMonthsAreClosed)
{
    std::map<std::pair<QString, qint32>, std::vector<GLTrans>> entries;
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s))
        if (t.JournalID != u"EQ")
            entries[{t.JournalID, t.JournalNo}].push_back(t);
    ASSERT_GT(entries.size(), 1000u);
    std::set<QString> journals;
    for (const auto &[entry, lines] : entries) {
        const auto &[journal, number] = entry;
        const std::string name = (journal + u' ' + QString::number(number)).toStdString();
        journals.insert(journal);
        Decimal balance;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].LineNo, qint16(i + 1)) << name;
            balance += lines[i].CreditDebit == u"D" ? lines[i].Amount : -lines[i].Amount;
        }
        EXPECT_TRUE(balance.isZero()) << name;
        if (journal == u"A/P") {
            APInvoice bill;
            bill.InvoiceID = number;
            EXPECT_TRUE(company->file<APInvoice>().fetch(u"KeyInvoiceID", bill).isOk()) << name;
        } else if (journal == u"A/R") {
            ARBilling billing;
            billing.BillingID = number;
            EXPECT_TRUE(company->file<ARBilling>().fetch(u"KeyBillingID", billing).isOk()) << name;
        }
    }
    EXPECT_EQ(journals, (std::set<QString>{u"A/P"_s, u"A/R"_s, u"P/R"_s}));

    for (const GLFiscal &period : readAll<GLFiscal>(*company, u"KeyFiscalPeriodUp"_s))
        EXPECT_EQ(period.Closed, period.FiscalPeriod <= 23 ? 1 : 0) << period.FiscalPeriod;
    const Decimal novemberCosts = [&] {
        Decimal total;
        for (const EQCost &c : readAll<EQCost>(*company, u"KeyRecordID"_s))
            total += c.MonthAmount;
        return total;
    }();
    Decimal novemberCharges;
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s))
        if (t.FiscalPeriod == 23 && !t.SubsidiaryCode.isEmpty() && !t.SubsidiaryCode.contains(u'.'))
            novemberCharges += t.CreditDebit == u"D" ? t.Amount : -t.Amount;
    EXPECT_EQ(novemberCosts, novemberCharges);
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

// The analysis figures of every piece of equipment against sums taken
// straight from its cost categories, prior periods and ledger lines.
TEST_F(DemoCompanyTest, AnalysisFiguresAgreeWithTheRecordsTheyComeFrom)
{
    const DayNumber today = SuiteDate::fromYmd(2026, 12, 8);
    GLFiscal current, asOf;
    for (const GLFiscal &period : readAll<GLFiscal>(*company, u"KeyFiscalPeriodUp"_s)) {
        if (period.StartDate <= today && today <= period.EndDate)
            current = period;
    }
    ASSERT_NE(current.FiscalPeriod, 0);
    for (const GLFiscal &period : readAll<GLFiscal>(*company, u"KeyFiscalPeriodUp"_s))
        if (period.FiscalPeriod == current.FiscalPeriod - 2)
            asOf = period;
    ASSERT_NE(asOf.FiscalPeriod, 0);

    // key: equipment ID + category
    std::map<QString, Decimal> cumulative, year, month, later, range;
    for (const EQCost &c : readAll<EQCost>(*company, u"KeyEquipmentID"_s))
        cumulative[Text::clip(c.EquipmentID) + u'|' + Text::clip(c.CostCategory)] =
            c.CumulativeAmount;
    for (const EQPriorC &p : readAll<EQPriorC>(*company, u"KeyEquipmentCategoryYear"_s))
        if (p.FiscalYear == current.FiscalYear)
            year[Text::clip(p.EquipmentID) + u'|' + Text::clip(p.Category)] += p.Amount;
    for (const EQPriorCM &p : readAll<EQPriorCM>(*company, u"KeyEquipmentCategoryYearPeriod"_s)) {
        const QString key = Text::clip(p.EquipmentID) + u'|' + Text::clip(p.Category);
        if (p.FiscalYear == current.FiscalYear && p.Period == current.Period)
            month[key] += p.Amount;
        if (p.FiscalYear > asOf.FiscalYear ||
            (p.FiscalYear == asOf.FiscalYear && p.Period > asOf.Period))
            later[key] += p.Amount;
    }
    const DayNumber from = SuiteDate::fromYmd(2026, 4, 1), to = SuiteDate::fromYmd(2026, 9, 30);
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeySubsidiaryCode"_s))
        if (t.TransDate >= from && t.TransDate <= to && t.SubsidiaryCode.size() > 10)
            range[t.SubsidiaryCode.left(10).trimmed() + u'|' + t.SubsidiaryCode.mid(10)] +=
                t.CreditDebit == u"C" ? -t.Amount : t.Amount;

    EQLimits all;
    all.Report = u"Analysis"_s;
    all.ReportType = u"A"_s;
    all.QuantityAnalysis = u"D"_s;
    all.IncludeInactive = 1;
    EQLimits byRange = all;
    byRange.SelectedDates = 1;
    byRange.DateFrom = from;
    byRange.DateTo = to;
    EQLimits twoBack = all;
    twoBack.SelectedDates = 2;
    twoBack.FPTo = Decimal(asOf.FiscalPeriod);
    const ReportSelection allSelection(*company, all, today),
        rangeSelection(*company, byRange, today), asOfSelection(*company, twoBack, today);
    const Analysis::Calculator allFigures(*company, allSelection,
                                          Analysis::selectedPeriod(*company, allSelection, today));
    const Analysis::Calculator rangeFigures(
        *company, rangeSelection, Analysis::selectedPeriod(*company, rangeSelection, today));
    const Analysis::Calculator asOfFigures(
        *company, asOfSelection, Analysis::selectedPeriod(*company, asOfSelection, today));
    int rows = 0;
    Decimal summaryTotal, directTotal;
    for (const EQHeader &e : readAll<EQHeader>(*company, u"KeyEquipmentID"_s)) {
        const Analysis::EquipmentFigures figures = allFigures.equipment(e);
        const Analysis::EquipmentFigures ranged = rangeFigures.equipment(e);
        const Analysis::EquipmentFigures backed = asOfFigures.equipment(e);
        ASSERT_EQ(figures.categories.size(), ranged.categories.size());
        ASSERT_EQ(figures.categories.size(), backed.categories.size());
        for (int i = 0; i < figures.categories.size(); ++i) {
            const QString key = Text::clip(e.EquipmentID) + u'|' + figures.categories.at(i).code;
            SCOPED_TRACE(key.toStdString());
            EXPECT_EQ(*figures.categories.at(i).amount(Analysis::Cumulative), cumulative[key]);
            EXPECT_EQ(*figures.categories.at(i).amount(Analysis::Year), year[key]);
            EXPECT_EQ(*figures.categories.at(i).amount(Analysis::Month), month[key]);
            EXPECT_EQ(*ranged.categories.at(i).amount(Analysis::Cumulative), range[key]);
            EXPECT_EQ(*backed.categories.at(i).amount(Analysis::Cumulative),
                      cumulative[key] - later[key]);
            directTotal += cumulative[key];
            ++rows;
        }
        summaryTotal += allFigures.summary(e).costs[2];
    }
    EXPECT_GT(rows, 50);
    EXPECT_EQ(summaryTotal, directTotal);
}

namespace {

// The subtotals the detail listing prints, by subsidiary code.
class SubtotalSink final : public DetailListing::Sink
{
public:
    std::map<QString, Decimal> totals;
    QStringList descriptions;
    QString equipment;

    bool heading(const EQHeader &e) override
    {
        equipment = e.EquipmentID.leftJustified(10);
        return true;
    }
    bool line(const DetailListing::Section &, const DetailListing::Line &line) override
    {
        descriptions.append(line.description);
        return true;
    }
    bool sectionTotal(const DetailListing::Section &section, const Decimal &total) override
    {
        totals[equipment + section.code] = total;
        return true;
    }
    bool equipmentTotals(const EQHeader &, const Decimal &, const Decimal &,
                         const Decimal &) override
    {
        return true;
    }
};

} // namespace

// The detail listing of every section of every equipment adds up to what the
// ledger holds for each subsidiary code: income credits less debits, costs
// debits less credits.
TEST_F(DemoCompanyTest, DetailListingSubtotalsAgreeWithTheLedger)
{
    EQLimits all;
    all.Report = u"Detail"_s;
    all.SelectedRef = 1;
    all.RefFrom = Decimal(1);
    all.ColorCoding = 1;
    all.IncludeInactive = 1;
    all.PrintTransactionDetail = 1;
    DetailListing::Walk walk(*company, all, SuiteDate::fromYmd(2026, 12, 8));
    SubtotalSink sink;
    ASSERT_TRUE(walk.start());
    while (walk.next(sink, 100)) {
    }

    std::map<QString, Decimal> ledger;
    for (const GLTrans &t : readAll<GLTrans>(*company, u"KeyRecordID"_s)) {
        if (t.SubsidiaryCode.isEmpty())
            continue;
        const bool income =
            t.SubsidiaryCode.endsWith(u".I"_s) || t.SubsidiaryCode.endsWith(u".R"_s);
        const bool credit = t.CreditDebit == u"C";
        ledger[t.SubsidiaryCode] += (income == credit) ? t.Amount : -t.Amount;
    }
    for (const auto &[code, amount] : ledger)
        EXPECT_EQ(sink.totals[code], amount) << code.toStdString();
    EXPECT_GT(sink.totals.size(), ledger.size()); // sections without a line print 0.00

    // The suite's parties behind the descriptions are on file.
    const auto has = [&sink](const QString &part) {
        return std::any_of(sink.descriptions.begin(), sink.descriptions.end(),
                           [&part](const QString &d) { return d.contains(part); });
    };
    EXPECT_TRUE(has(u"(V10"_s));
    EXPECT_TRUE(has(u" (Inv#INV-"_s));
    EXPECT_TRUE(has(u" (Unnumbered Invoice)"_s));
    EXPECT_TRUE(has(u" (Bill#B-"_s));
    EXPECT_TRUE(has(u" (Unnumbered Billing)"_s));
    EXPECT_TRUE(has(u" - Shop labor - "_s)); // payroll: "(101) Ortiz D - Shop labor - ..."
}
