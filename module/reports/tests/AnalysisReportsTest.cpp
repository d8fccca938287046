#include "reports/AnalysisReports.h"
#include "records/EQCode.h"
#include "records/EQLog.h"
#include "records/PriorPeriods.h"
#include "reports/MaintenanceSchedule.h"

#include "testing/ReportTesting.h"

#include "data/suite/GeneralLedgerFiles.h"

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

Decimal money(const char *text)
{
    return Decimal::fromText(QString::fromLatin1(text));
}

// A small fleet over fiscal years 2025 and 2026 (calendar months), with the
// run on 9 December 2026: the current period is 2026/12, running number 24.
class AnalysisReportsTest : public qaveq::testing::ReportRunTest
{
protected:
    const DayNumber today = SuiteDate::fromYmd(2026, 12, 9);
    qint32 nextId = 1;

    void SetUp() override
    {
        ReportRunTest::SetUp();
        for (int year : {2025, 2026})
            for (int month = 1; month <= 12; ++month) {
                GLFiscal period;
                period.RecordID = nextId++;
                period.FiscalPeriod = (year - 2025) * 12 + month;
                period.FiscalYear = qint16(year);
                period.Period = quint8(month);
                period.StartDate = SuiteDate::fromYmd(year, month, 1);
                period.EndDate =
                    SuiteDate::fromQDate(QDate(year, month, 1).addMonths(1).addDays(-1));
                period.PeriodDate = period.EndDate;
                ASSERT_TRUE(company.file<GLFiscal>().insert(period).isOk());
            }
        for (const auto &[id, description] :
             {std::pair{u"FUEL"_s, u"Fuel"_s}, std::pair{u"OIL"_s, u"Oil Change"_s}}) {
            EQCode code;
            code.RecordID = nextId++;
            code.CategoryID = id;
            code.Description = description;
            ASSERT_TRUE(company.file<EQCode>().insert(code).isOk());
        }
    }

    EQHeader &equipment(const QString &id, const QString &description, quint8 active = 1)
    {
        static EQHeader piece;
        piece = EQHeader();
        piece.EquipmentID = id;
        piece.Description = description;
        piece.Active = active;
        EXPECT_TRUE(company.file<EQHeader>().insert(piece).isOk());
        return piece;
    }

    void update(EQHeader piece) { ASSERT_TRUE(company.file<EQHeader>().update(piece).isOk()); }

    EQCost cost(const QString &id, const QString &category, const char *units = "0",
                const char *amount = "0")
    {
        EQCost cost;
        cost.RecordID = id.leftJustified(10) + category;
        cost.PrimaryRecordID = nextId++;
        cost.EquipmentID = id;
        cost.CostCategory = category;
        cost.UnitName = u"Gal"_s;
        cost.CumulativeUnitUsed = money(units);
        cost.CumulativeAmount = money(amount);
        return cost;
    }
    void insert(EQCost c) { ASSERT_TRUE(company.file<EQCost>().insert(c).isOk()); }

    void categoryPrior(const QString &id, const QString &category, int year, int period,
                       const char *units, const char *amount)
    {
        if (period == 0) {
            EQPriorC prior;
            prior.EquipmentID = id;
            prior.Category = category;
            prior.FiscalYear = qint16(year);
            prior.Units = money(units);
            prior.Amount = money(amount);
            ASSERT_TRUE(company.file<EQPriorC>().insert(prior).isOk());
            return;
        }
        EQPriorCM prior;
        prior.EquipmentID = id;
        prior.Category = category;
        prior.FiscalYear = qint16(year);
        prior.Period = quint8(period);
        prior.Units = money(units);
        prior.Amount = money(amount);
        ASSERT_TRUE(company.file<EQPriorCM>().insert(prior).isOk());
    }

    void incomePrior(const QString &id, int year, int period, const char *internalUnits,
                     const char *internalIncome)
    {
        EQPriorFields fields;
        fields.EquipmentID = id;
        fields.FiscalYear = qint16(year);
        fields.InternalUnits = money(internalUnits);
        fields.InternalIncome = money(internalIncome);
        if (period == 0) {
            EQPrior prior;
            static_cast<EQPriorFields &>(prior) = fields;
            ASSERT_TRUE(company.file<EQPrior>().insert(prior).isOk());
        } else {
            EQPriorM prior;
            static_cast<EQPriorFields &>(prior) = fields;
            prior.Period = quint8(period);
            ASSERT_TRUE(company.file<EQPriorM>().insert(prior).isOk());
        }
    }

    void ledger(const QString &code, DayNumber date, const char *debitCredit, const char *amount,
                const char *quantity)
    {
        GLTrans entry;
        entry.RecordID = nextId++;
        entry.SubsidiaryCode = code;
        entry.TransDate = date;
        entry.CreditDebit = QString::fromLatin1(debitCredit);
        entry.Amount = money(amount);
        entry.SubsidiaryQuantity = money(quantity);
        ASSERT_TRUE(company.file<GLTrans>().insert(entry).isOk());
    }

    EQLimits definition(const char *type = "A")
    {
        EQLimits d;
        d.Report = u"Analysis"_s;
        d.ReportTitle = u"Test"_s;
        d.ReportType = QString::fromLatin1(type);
        d.QuantityAnalysis = u"D"_s;
        d.DetailSummary = u"I"_s;
        return d;
    }

    // `selected`: how many pieces of equipment the run is readied for; the
    // range of a run over few of the file's is read code by code.
    Analysis::EquipmentFigures figuresOf(const EQLimits &d, const QString &id,
                                         qsizetype selected = 0)
    {
        const ReportSelection selection(company, d, today);
        Analysis::Calculator calculator(company, selection,
                                        Analysis::selectedPeriod(company, selection, today));
        calculator.prepareRange(selected);
        EQHeader piece;
        piece.EquipmentID = id;
        EXPECT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", piece).isOk());
        return calculator.equipment(piece);
    }

    QStringList exported(ReportPass &pass)
    {
        devices.pressExport = true;
        ReportRun(pass, services()).run();
        return devices.exports.isEmpty() ? QStringList() : devices.exports.takeLast();
    }
};

// As of October 2026 (running period 22): November and December come off the
// cumulative figures, and off the year's, of costs and income alike.
TEST_F(AnalysisReportsTest, AsOfTwoPeriodsBackTakesTheLaterMonthsOffCumulativeAndYear)
{
    EQHeader &truck = equipment(u"TRK-1"_s, u"Truck"_s);
    truck.CumulativeInternalUnits = money("300");
    truck.CumulativeInternalIncome = money("3000.00");
    update(truck);
    insert(cost(u"TRK-1"_s, u"FUEL"_s, "100", "1000.00"));
    categoryPrior(u"TRK-1"_s, u"FUEL"_s, 2026, 0, "60", "600.00");
    categoryPrior(u"TRK-1"_s, u"FUEL"_s, 2026, 10, "5", "50.00");
    categoryPrior(u"TRK-1"_s, u"FUEL"_s, 2026, 11, "10", "100.25");
    categoryPrior(u"TRK-1"_s, u"FUEL"_s, 2026, 12, "20", "200.50");
    categoryPrior(u"TRK-1"_s, u"FUEL"_s, 2025, 12, "7", "70.00");
    incomePrior(u"TRK-1"_s, 2026, 0, "200", "2000.00");
    incomePrior(u"TRK-1"_s, 2026, 10, "15", "150.00");
    incomePrior(u"TRK-1"_s, 2026, 11, "30", "300.00");
    incomePrior(u"TRK-1"_s, 2026, 12, "40", "400.00");

    EQLimits d = definition();
    d.SelectedDates = 2;
    d.FPTo = Decimal(22);
    const Analysis::EquipmentFigures figures = figuresOf(d, u"TRK-1"_s);
    ASSERT_EQ(figures.categories.size(), 1);
    Analysis::Row fuel = figures.categories.at(0);
    EXPECT_EQ(*fuel.quantity(Analysis::Cumulative), money("70"));
    EXPECT_EQ(*fuel.amount(Analysis::Cumulative), money("699.25"));
    EXPECT_EQ(*fuel.amount(Analysis::Year), money("299.25"));
    EXPECT_EQ(*fuel.amount(Analysis::Month), money("50.00"));
    EXPECT_EQ(*fuel.perUnit(Analysis::Month), money("10.00"));

    Analysis::Row internal = figures.totals.at(1);
    EXPECT_EQ(*internal.amount(Analysis::Cumulative), money("2300.00"));
    // The year's income as of October holds no November or December income.
    EXPECT_EQ(*internal.amount(Analysis::Year), money("1300.00"));
    EXPECT_EQ(*internal.quantity(Analysis::Year), money("130"));
    EXPECT_EQ(*internal.amount(Analysis::Month), money("150.00"));
    EXPECT_EQ(*figures.totals.at(0).amount(Analysis::Cumulative), money("699.25"));

    // As of December 2025: every month after it, in both years, comes off.
    d.FPTo = Decimal(12);
    fuel = figuresOf(d, u"TRK-1"_s).categories.at(0);
    EXPECT_EQ(*fuel.amount(Analysis::Cumulative), money("649.25"));
    EXPECT_EQ(*fuel.amount(Analysis::Month), money("70.00"));
}

TEST_F(AnalysisReportsTest, AsOfAPeriodOutsideTheFiscalCalendarIsRefusedNamingIt)
{
    equipment(u"TRK-1"_s, u"Truck"_s);
    insert(cost(u"TRK-1"_s, u"FUEL"_s, "100", "1000.00"));
    const struct
    {
        int period;
        QString said;
    } rows[] = {
        {99, u"fiscal period 99, which is not in the fiscal calendar"_s},
        {0, u"no period is chosen"_s},
    };
    for (const auto &row : rows) {
        for (const char *type : {"A", "S"}) {
            EQLimits d = definition(type);
            d.SelectedDates = 2;
            d.FPTo = Decimal(row.period);
            std::unique_ptr<ReportPass> report;
            if (QByteArray(type) == "A")
                report = std::make_unique<EquipmentAnalysisReport>(company, d, today);
            else
                report = std::make_unique<CostSummaryReport>(company, d, today);
            const int shown = int(prompter.shown().size());
            ReportRun run(*report, services());
            run.run();
            EXPECT_TRUE(run.failed()) << row.period << type;
            EXPECT_FALSE(run.nothingToOutput());
            EXPECT_EQ(devices.pagesPreviewed, 0);
            ASSERT_EQ(prompter.shown().size(), shown + 1) << "one message, no \"Nothing to Print\"";
            EXPECT_TRUE(prompter.shown().last().text.contains(row.said))
                << prompter.shown().last().text.toStdString();
        }
    }
    EQLimits backwards = definition();
    backwards.SelectedDates = 1;
    backwards.DateFrom = SuiteDate::fromYmd(2026, 6, 30);
    backwards.DateTo = SuiteDate::fromYmd(2026, 1, 1);
    EXPECT_EQ(Analysis::selectedPeriod(company, ReportSelection(company, backwards, today), today)
                  .refusal,
              u"The report's dates run backwards: from 06/30/26 to 01/01/26."_s);

    EQLimits inCalendar = definition();
    inCalendar.SelectedDates = 2;
    inCalendar.FPTo = Decimal(22);
    EXPECT_TRUE(
        Analysis::selectedPeriod(company, ReportSelection(company, inCalendar, today), today)
            .refusal.isEmpty());
}

// Read code by code (a run over few of the file's equipment) and added up by
// the database in one pass (a run over most of it), alike.
TEST_F(AnalysisReportsTest, DateRangeSumsTheLedgerSignedAndEmptyRangeLeavesRowsAtZero)
{
    equipment(u"TRK-1"_s, u"Truck"_s);
    insert(cost(u"TRK-1"_s, u"FUEL"_s, "100", "1000.00"));
    const QString fuel = u"TRK-1     FUEL"_s;
    ledger(fuel, SuiteDate::fromYmd(2026, 6, 1), "D", "100.10", "10");
    ledger(fuel, SuiteDate::fromYmd(2026, 6, 2), "C", "20.05", "2");
    ledger(fuel, SuiteDate::fromYmd(2026, 6, 30), "C", "0.01", "0");
    ledger(fuel, SuiteDate::fromYmd(2026, 7, 1), "D", "999.00", "99");              // outside
    ledger(u"TRK-1     FUELX"_s, SuiteDate::fromYmd(2026, 6, 3), "D", "7.00", "7"); // another code
    ledger(u"TRK-1     .I"_s, SuiteDate::fromYmd(2026, 6, 5), "C", "500.00", "40");
    ledger(u"TRK-1     .I"_s, SuiteDate::fromYmd(2026, 6, 6), "D", "50.00", "4");

    for (const qsizetype selected : {0, 1}) {
        SCOPED_TRACE(selected ? "one pass" : "code by code");
        EQLimits d = definition();
        d.SelectedDates = 1;
        d.DateFrom = SuiteDate::fromYmd(2026, 6, 1);
        d.DateTo = SuiteDate::fromYmd(2026, 6, 30);
        Analysis::EquipmentFigures figures = figuresOf(d, u"TRK-1"_s, selected);
        Analysis::Row row = figures.categories.at(0);
        EXPECT_EQ(*row.amount(Analysis::Cumulative), money("80.04"));
        EXPECT_EQ(*row.quantity(Analysis::Cumulative), money("8"));
        EXPECT_EQ(*figures.totals.at(1).amount(Analysis::Cumulative), money("450.00"));
        EXPECT_EQ(*figures.totals.at(1).quantity(Analysis::Cumulative), money("36"));

        d.DateFrom = SuiteDate::fromYmd(2026, 1, 1);
        d.DateTo = SuiteDate::fromYmd(2026, 1, 31);
        figures = figuresOf(d, u"TRK-1"_s, selected);
        ASSERT_EQ(figures.categories.size(), 1);
        EXPECT_TRUE(figures.categories.at(0).amount(Analysis::Cumulative)->isZero());
        EXPECT_TRUE(figures.totals.at(6).perUnit(Analysis::Cumulative)->isZero());

        // The cost summary puts the range's costs in its month column only.
        d.DateFrom = SuiteDate::fromYmd(2026, 6, 1);
        d.DateTo = SuiteDate::fromYmd(2026, 6, 30);
        const ReportSelection selection(company, d, today);
        EQHeader piece;
        piece.EquipmentID = u"TRK-1"_s;
        ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", piece).isOk());
        Analysis::Calculator calculator(company, selection,
                                        Analysis::selectedPeriod(company, selection, today));
        calculator.prepareRange(selected);
        const Analysis::SummaryLine line = calculator.summary(piece);
        EXPECT_EQ(line.costs[0], money("80.04"));
        EXPECT_TRUE(line.costs[1].isZero());
        EXPECT_TRUE(line.costs[2].isZero());
    }
}

TEST_F(AnalysisReportsTest, ZeroDivisorsGiveZeroAndPseudoCategoriesNeverPrint)
{
    equipment(u"TRK-1"_s, u"Truck"_s);
    insert(cost(u"TRK-1"_s, u"FUEL"_s, "40", "100.00"));
    insert(cost(u"TRK-1"_s, u"GONE"_s, "0", "5.00"));
    for (const QString &pseudo : {u".I"_s, u".N"_s, u".R"_s})
        insert(cost(u"TRK-1"_s, pseudo, "1", "1.00"));

    EQLimits d = definition();
    d.QuantityAnalysis = u"U"_s; // no units of use at all
    const Analysis::EquipmentFigures figures = figuresOf(d, u"TRK-1"_s);
    QStringList codes;
    for (const Analysis::Row &row : figures.categories)
        codes.append(row.code);
    EXPECT_EQ(codes, (QStringList{u"FUEL"_s, u"GONE"_s}));
    EXPECT_EQ(figures.categories.at(1).description, u"Code Not In Dictionary"_s);
    for (const Analysis::Row &row : figures.categories + figures.totals) {
        for (int c = 0; c < 3; ++c) {
            if (row.perUnit(c) && row.description != u"Net Profit" &&
                row.description != u"Total Income") {
                EXPECT_TRUE(row.perUnit(c)->isZero()) << row.description.toStdString();
            }
        }
    }
    EXPECT_EQ(*figures.totals.at(0).amount(Analysis::Cumulative), money("105.00"));
}

TEST_F(AnalysisReportsTest, ExportListsEachBlockAndClosesWithTheParameters)
{
    equipment(u"B-2"_s, u"beta"_s);
    equipment(u"A-1"_s, u"Zulu"_s);
    equipment(u"C-3"_s, u"Alpha"_s);
    insert(cost(u"A-1"_s, u"FUEL"_s, "10", "25.50"));
    insert(cost(u"B-2"_s, u"FUEL"_s, "10", "10.00"));
    insert(cost(u"C-3"_s, u"FUEL"_s, "10", "10.00"));
    EQLimits d = definition();
    d.DetailSummary = u"D"_s;
    EquipmentAnalysisReport report(company, d, today);
    const QStringList lines = exported(report);
    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines.at(3), u"C-3\tAlpha"_s);
    EXPECT_EQ(lines.at(15), u"B-2\tbeta"_s); // by description, whatever its case
    EXPECT_EQ(lines.at(4),
              u"\t\t\t____Cumulative____\t\t\t____Year to Date____\t\t\t____Month to Date____"_s);
    EXPECT_TRUE(lines.contains(
        u"FUEL\tFuel\tGal\t10.00\t25.50\t2.55\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00"_s));
    EXPECT_TRUE(lines.contains(u"\tTotal Costs:\t\t\t25.50\t\t\t0.00\t\t\t0.00\t"_s));
    EXPECT_TRUE(lines.contains(u"\tCost per hour:\t\t\t\t0.00\t\t\t0.00\t\t\t0.00"_s));
    const qsizetype tail = lines.indexOf(u"Report Parameters:"_s);
    ASSERT_GT(tail, 0);
    EXPECT_EQ(
        lines.mid(tail + 1),
        (QStringList{u"Equipment ID: All"_s, u"Cost Categories: All"_s, u"Equipment Classes: All"_s,
                     u"Report Type: Usage / Cost Analysis"_s,
                     u"Quantity Analysis Type: Dollar Amount per Cost Unit"_s, u"Date Range:"_s}));
    EXPECT_EQ(report.pdfFileName(), u"Equipment Analysis Report.pdf"_s);
}

// Each exported figure stands under the heading of what it is, and a date
// range exports only the figures its page shows.
TEST_F(AnalysisReportsTest, ExportFiguresStandUnderTheirOwnHeadings)
{
    EQHeader &truck = equipment(u"TRK-1"_s, u"Truck"_s);
    truck.CumulativeInternalUnits = money("300");
    truck.CumulativeInternalIncome = money("3000.00");
    update(truck);
    insert(cost(u"TRK-1"_s, u"FUEL"_s, "100", "1000.00"));

    const struct
    {
        QString row;
        QStringList filled; // the headings the row has figures under
    } rows[] = {
        {u"Total Costs:"_s, {u"Amount"_s}},
        {u"Internal Income:"_s, {u"Quantity"_s, u"Amount"_s, u"$/Unit"_s}},
        {u"Non Productive:"_s, {u"Quantity"_s}},
        {u"Total Income:"_s, {u"Amount"_s, u"$/Unit"_s}},
        {u"Net Profit:"_s, {u"Amount"_s, u"$/Unit"_s}},
        {u"Cost per hour:"_s, {u"$/Unit"_s}},
    };
    for (const bool range : {false, true}) {
        EQLimits d = definition();
        if (range) {
            d.SelectedDates = 1;
            d.DateFrom = SuiteDate::fromYmd(2026, 1, 1);
            d.DateTo = SuiteDate::fromYmd(2026, 6, 30);
        }
        EquipmentAnalysisReport report(company, d, today);
        const QStringList lines = exported(report);
        const qsizetype block = lines.indexOf(u"TRK-1\tTruck"_s);
        ASSERT_GT(block, 0) << range;
        const QStringList headings = lines.at(block + 2).split(u'\t');
        const int columns = range ? 6 : 12;
        ASSERT_EQ(headings.size(), columns) << lines.at(block + 2).toStdString();
        EXPECT_EQ(lines.at(block + 1).count(u"____"_s), range ? 2 : 6);
        if (range) {
            EXPECT_TRUE(lines.at(block + 1).endsWith(u"____Dates from 01/01/26 to 06/30/26____"_s))
                << "the range's figures are named as the page names them: "
                << lines.at(block + 1).toStdString();
        }
        const QStringList fuel = lines.at(block + 3).split(u'\t');
        EXPECT_EQ(fuel.size(), columns);
        EXPECT_EQ(fuel.at(headings.indexOf(u"Amount"_s)), range ? u"0.00"_s : u"1,000.00"_s);
        for (const auto &row : rows) {
            const auto line =
                std::find_if(lines.begin() + block, lines.end(),
                             [&](const QString &l) { return l.startsWith(u'\t' + row.row); });
            ASSERT_NE(line, lines.end()) << row.row.toStdString();
            const QStringList cells = line->split(u'\t');
            ASSERT_EQ(cells.size(), columns) << line->toStdString();
            for (int i = 3; i < columns; ++i)
                EXPECT_EQ(!cells.at(i).isEmpty(), row.filled.contains(headings.at(i)))
                    << row.row.toStdString() << " under " << headings.at(i).toStdString() << " ("
                    << i << ")" << (range ? " of a range" : "");
        }
    }
}

// An equipment with no cost category of its own is still accounted for when
// every category is reported on; a run limited to some categories leaves it out.
TEST_F(AnalysisReportsTest, EquipmentWithoutCategoriesIsListedOnlyWhenCategoriesAreNotLimited)
{
    equipment(u"A-1"_s, u"Loader"_s);
    equipment(u"B-2"_s, u"Trailer"_s);
    insert(cost(u"A-1"_s, u"FUEL"_s, "10", "25.50"));
    insert(cost(u"B-2"_s, u".I"_s, "1", "1.00"));

    EQLimits d = definition();
    EquipmentAnalysisReport all(company, d, today);
    QStringList lines = exported(all);
    qsizetype trailer = lines.indexOf(u"B-2\tTrailer"_s);
    ASSERT_GT(trailer, 0);
    EXPECT_EQ(lines.at(trailer + 1), u"\tNo cost categories"_s);
    EXPECT_EQ(lines.at(trailer + 2), QString());
    EXPECT_FALSE(lines.contains(u"\tTotal Costs:\t\t\t0.00\t0.00\t0.00"_s));

    d.SelectedCategory = 1;
    d.CategoryFrom = u"FUEL"_s;
    d.CategoryTo = u"FUEL"_s;
    EquipmentAnalysisReport fuelOnly(company, d, today);
    lines = exported(fuelOnly);
    EXPECT_TRUE(lines.contains(u"A-1\tLoader"_s));
    EXPECT_FALSE(lines.contains(u"B-2\tTrailer"_s));
}

TEST_F(AnalysisReportsTest, CostSummaryTotalsTheEquipmentItPrints)
{
    equipment(u"A-1"_s, u"One"_s);
    equipment(u"B-2"_s, u"Two"_s);
    equipment(u"OLD"_s, u"Retired"_s, 0);
    insert(cost(u"A-1"_s, u"FUEL"_s, "1", "10.10"));
    insert(cost(u"A-1"_s, u"OIL"_s, "1", "0.01"));
    insert(cost(u"B-2"_s, u"FUEL"_s, "1", "5.00"));
    insert(cost(u"B-2"_s, u".I"_s, "1", "1000.00"));
    insert(cost(u"OLD"_s, u"FUEL"_s, "1", "99.00"));
    categoryPrior(u"A-1"_s, u"FUEL"_s, 2026, 12, "1", "2.00");
    CostSummaryReport report(company, definition("S"), today);
    const QStringList lines = exported(report);
    EXPECT_TRUE(lines.contains(u"A-1\tOne\t\t\t0.00\t0.00\t2.00\t0.00\t10.11"_s))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"\t\t\t\t\tTotals:\t2.00\t0.00\t15.11"_s));
    EXPECT_FALSE(lines.join(u'\n').contains(u"OLD"));
}

// The maintenance schedule's due values, run on 9 December 2026.
class MaintenanceTest : public AnalysisReportsTest
{
protected:
    EQCost schedule(const QString &id, const QString &category, const char *type, qint32 meter,
                    qint32 interval, const QString &intervalName, qint32 lastMeter,
                    DayNumber lastDate)
    {
        EQCost c = cost(id, category);
        c.ScheduleType = QString::fromLatin1(type);
        c.Meter = meter;
        c.MeterName = meter ? u"Hours"_s : QString();
        c.Interval = interval;
        c.IntervalName = intervalName;
        c.LastServiceMeter = lastMeter;
        c.LastServiceDate = lastDate;
        return c;
    }
    void log(const QString &id, DayNumber date, const char *units)
    {
        EQLog entry;
        entry.RecordID = nextId++;
        entry.EquipmentID = id;
        entry.Date = date;
        entry.Units = money(units);
        ASSERT_TRUE(company.file<EQLog>().insert(entry).isOk());
    }
    QList<Maintenance::Line> linesOf(const QString &id, EQLimits d = {})
    {
        if (d.Report.isEmpty())
            d = definition("M");
        MaintenanceScheduleReport report(session, prompter, d, today);
        EQHeader piece;
        piece.EquipmentID = id;
        EXPECT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", piece).isOk());
        return report.lines(piece);
    }
};

TEST_F(MaintenanceTest, DueValuesByScheduleType)
{
    EQHeader &truck = equipment(u"TRK-1"_s, u"Truck"_s);
    truck.CurrentMeter = Decimal(500);
    truck.UnitsPerDay = money("10");
    update(truck);
    const DayNumber march1 = SuiteDate::fromYmd(2026, 3, 1);
    insert(schedule(u"TRK-1"_s, u"ELAPSED"_s, "E", 0, 2, u"Months"_s, 0, march1));
    insert(schedule(u"TRK-1"_s, u"METER"_s, "M", 500, 0, {}, 200, march1));
    insert(schedule(u"TRK-1"_s, u"BOTH"_s, "B", 500, 30, u"Days"_s, 200, today - 25));
    insert(schedule(u"TRK-1"_s, u"NONE"_s, "N", 500, 30, u"Days"_s, 200, march1));
    insert(schedule(u"TRK-1"_s, u".N"_s, "E", 0, 30, u"Days"_s, 0, march1));

    const QList<Maintenance::Line> lines = linesOf(u"TRK-1"_s);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0).category, u"BOTH"_s);
    EXPECT_EQ(lines.at(0).schedule, u"Every 30 Days or 500 Hours"_s);
    EXPECT_EQ(lines.at(0).nextServiceDate, today + 5); // earlier than the meter's 20 days
    EXPECT_EQ(lines.at(0).nextServiceMeter, 700);
    EXPECT_EQ(lines.at(0).description, u"Code Not In Dictionary"_s);
    EXPECT_EQ(lines.at(1).schedule, u"Every 2 Months"_s);
    EXPECT_EQ(lines.at(1).nextServiceDate, SuiteDate::fromYmd(2026, 5, 1));
    EXPECT_EQ(lines.at(1).nextServiceMeter, 0);
    EXPECT_EQ(lines.at(2).schedule, u"Every 500 Hours"_s);
    EXPECT_EQ(lines.at(2).nextServiceMeter, 700);
    EXPECT_EQ(lines.at(2).nextServiceDate, today + 20);
    EXPECT_EQ(lines.at(2).currentMeter, 500);
}

TEST_F(MaintenanceTest, MonthsAreCalendarMonthsEndingOnTheMonthsLastDayWhenShorter)
{
    const struct
    {
        QDate last;
        qint32 months;
        QDate due;
    } rows[] = {
        {{2026, 8, 1}, 12, {2027, 8, 1}},  // not 27 July: a month is no 30 days
        {{2026, 1, 31}, 1, {2026, 2, 28}}, // February's last day
        {{2028, 1, 31}, 1, {2028, 2, 29}}, // in a leap year
        {{2028, 2, 29}, 12, {2029, 2, 28}},
        {{2027, 10, 31}, 4, {2028, 2, 29}},
        {{2026, 3, 31}, 1, {2026, 4, 30}},
        {{2026, 12, 15}, 3, {2027, 3, 15}}, // into the next year
        {{2026, 4, 30}, 1, {2026, 5, 30}},  // the same day, not the month's end
    };
    int n = 0;
    for (const auto &row : rows) {
        const QString id = u"M-%1"_s.arg(++n);
        equipment(id, id);
        insert(schedule(id, u"SERVICE"_s, "E", 0, row.months, u"Months"_s, 0,
                        SuiteDate::fromQDate(row.last)));
        const QList<Maintenance::Line> lines = linesOf(id);
        ASSERT_EQ(lines.size(), 1) << id.toStdString();
        EXPECT_EQ(SuiteDate::toQDate(lines.at(0).nextServiceDate), row.due)
            << row.last.toString(Qt::ISODate).toStdString() << " + " << row.months;
    }
}

TEST_F(MaintenanceTest, BothWithoutALastServiceDateIsDueByTheMeterAndKeptByADateLimit)
{
    EQHeader &loader = equipment(u"LDR-1"_s, u"Loader"_s);
    loader.CurrentMeter = Decimal(500);
    loader.UnitsPerDay = money("10");
    update(loader);
    insert(schedule(u"LDR-1"_s, u"BOTH"_s, "B", 500, 6, u"Months"_s, 200, 0));

    QList<Maintenance::Line> lines = linesOf(u"LDR-1"_s);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.at(0).nextServiceMeter, 700);
    EXPECT_EQ(lines.at(0).nextServiceDate, today + 20);

    EQLimits d = definition("M");
    d.SelectedDates = 1;
    d.DateFrom = today + 10;
    d.DateTo = today + 30;
    lines = linesOf(u"LDR-1"_s, d);
    ASSERT_EQ(lines.size(), 1) << "due within the limit by its meter";
    d.DateFrom = today + 21;
    EXPECT_TRUE(linesOf(u"LDR-1"_s, d).isEmpty());
}

TEST_F(MaintenanceTest, UnitsPerDayComeFromTheLogsExactlyAndAreKept)
{
    EQHeader &halfHours = equipment(u"H-1"_s, u"Half hours"_s);
    halfHours.CurrentMeter = Decimal(100);
    update(halfHours);
    insert(schedule(u"H-1"_s, u"METER"_s, "M", 10, 0, {}, 100, today));
    const DayNumber first = SuiteDate::fromYmd(2026, 11, 1);
    for (int day = 0; day <= 10; ++day)
        log(u"H-1"_s, first + day, "0.5"); // 5.5 hours over 10 days

    EQHeader &oneDay = equipment(u"D-1"_s, u"One day"_s);
    oneDay.CurrentMeter = Decimal(100);
    update(oneDay);
    insert(schedule(u"D-1"_s, u"METER"_s, "M", 10, 0, {}, 100, today));
    log(u"D-1"_s, first, "1.5");
    log(u"D-1"_s, first, "3.5");

    QList<Maintenance::Line> lines = linesOf(u"H-1"_s);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.at(0).nextServiceDate, today + 18); // 10 / 0.55
    EQHeader stored;
    stored.EquipmentID = u"H-1"_s;
    ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", stored).isOk());
    EXPECT_EQ(stored.UnitsPerDay, money("0.55"));

    lines = linesOf(u"D-1"_s);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.at(0).nextServiceDate, today + 2); // 10 / 5
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(MaintenanceTest, WithoutLogsOnlyElapsedLinesListUnlessErrorsAreListed)
{
    equipment(u"T-1"_s, u"No logs"_s);
    insert(schedule(u"T-1"_s, u"BOTH"_s, "B", 500, 30, u"Days"_s, 0, today));
    insert(schedule(u"T-1"_s, u"ELAPSED"_s, "E", 0, 30, u"Days"_s, 0, today));
    insert(schedule(u"T-1"_s, u"METER"_s, "M", 500, 0, {}, 0, today));
    insert(schedule(u"T-1"_s, u"WRONG"_s, "E", 0, 0, u"Days"_s, 0, today));

    QList<Maintenance::Line> lines = linesOf(u"T-1"_s);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.at(0).category, u"ELAPSED"_s);

    EQLimits d = definition("M");
    d.PrintTransactionDetail = 1;
    lines = linesOf(u"T-1"_s, d);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0).error, Maintenance::NoUnitsPerDay);
    EXPECT_EQ(lines.at(2).error, Maintenance::NoUnitsPerDay);
    EXPECT_EQ(lines.at(3).error, Maintenance::ImproperSetup);

    // A date limit keeps lines due within it.
    d.PrintTransactionDetail = 0;
    d.SelectedDates = 1;
    d.DateFrom = today + 31;
    d.DateTo = today + 60;
    EXPECT_TRUE(linesOf(u"T-1"_s, d).isEmpty());
}

TEST_F(MaintenanceTest, HeaderOnlyForEquipmentWithLinesAndInactiveOnlyWhenIncluded)
{
    equipment(u"A-1"_s, u"Listed"_s);
    insert(schedule(u"A-1"_s, u"ELAPSED"_s, "E", 0, 30, u"Days"_s, 0, today));
    equipment(u"B-2"_s, u"Nothing due"_s);
    insert(cost(u"B-2"_s, u"FUEL"_s));
    equipment(u"C-3"_s, u"Retired"_s, 0);
    insert(schedule(u"C-3"_s, u"ELAPSED"_s, "E", 0, 30, u"Days"_s, 0, today));

    EQLimits d = definition("M");
    MaintenanceScheduleReport report(session, prompter, d, today);
    QString text = exported(report).join(u'\n');
    EXPECT_TRUE(text.contains(u"A-1  Listed"_s));
    EXPECT_FALSE(text.contains(u"B-2"_s));
    EXPECT_FALSE(text.contains(u"C-3"_s));

    devices.exports.clear();
    d.IncludeInactive = 1;
    MaintenanceScheduleReport inactive(session, prompter, d, today);
    text = exported(inactive).join(u'\n');
    EXPECT_TRUE(text.contains(u"C-3  Retired"_s));
    EXPECT_TRUE(text.contains(
        u"ELAPSED\tCode Not In Dictionary\tEvery 30 Days\t12/09/26\t0\t1/08/27\t0\t0"_s))
        << text.toStdString();
}

} // namespace
