#include "testing/ReportTesting.h"

#include "assets/FixedAssetReports.h"
#include "assets/ScheduleCalculator.h"

using namespace Qt::StringLiterals;
using namespace qaveq;

TEST(FixedAssetMethodLabelTest, LabelsOfEveryMethod)
{
    using FixedAssets::methodLabel;
    EXPECT_EQ(methodLabel(1, {}), u"Straight Line"_s);
    EXPECT_EQ(methodLabel(2, {}), u"Sum of Years' Digits"_s);
    EXPECT_EQ(methodLabel(3, {}), u"Double Rate Declining Balance"_s);
    EXPECT_EQ(methodLabel(4, u"   "_s), u"Custom"_s);
    EXPECT_EQ(methodLabel(4, u"Units of Production "_s), u"Units of Production"_s);
    EXPECT_EQ(methodLabel(0, u"Units"_s), u"Undetermined"_s);
    EXPECT_EQ(methodLabel(7, {}), u"Undetermined"_s);
}

namespace {

class FixedAssetReportTest : public qaveq::testing::ReportRunTest
{
protected:
    EQHeader equipment() const
    {
        EQHeader e;
        e.EquipmentID = u"EXC-301"_s;
        e.Description = u"Excavator, 20 ton"_s;
        e.PurchaseDate = SuiteDate::fromQDate(QDate(2024, 3, 20));
        e.PurchaseValue = Decimal::parse(u"1000"_s).value();
        e.SalvageValue = Decimal::parse(u"100"_s).value();
        e.DepreciationYears = 3;
        e.DepreciationMethod = 2;
        return e;
    }

    // The report's text copy, as "Export This Report" writes it.
    QStringList exportOf(ReportPass &pass)
    {
        devices.pressExport = true;
        ReportRun(pass, services()).run();
        return devices.exports.value(0);
    }
};

const QStringList Header{
    u"Demonstration Construction Co."_s,
    u"Fixed Asset Depreciation Schedule"_s,
    QString(),
    u"Asset ID:\tEXC-301\tExcavator, 20 ton"_s,
    u"Purchase Date: 03/20/24\t\t\tMonths to Depreciate: 3\t\t\tDepreciation Method: Sum of "
    u"Years' Digits"_s,
    u"Purchase Value: 1,000.00\t\t\tSalvage Value: 100.00"_s,
    QString(),
    u"Depreciation Schedule:"_s,
    u"\tStraight Line\t\tSum of Years' Digits\t\tDouble Declining Balance\t\tCustom\t\tActual\tFi"
    u"scal"_s,
    u"Month/Year\tAmount\tValue\tAmount\tValue\tAmount\tValue\tAmount\tValue\tAmount\tPeriod\tRec"
    u"ord #"_s,
};

const QStringList Parameters{QString(), u"Report Parameters:"_s};

} // namespace

TEST_F(FixedAssetReportTest, ExportOfAnEquipmentWithoutRows)
{
    FixedAssetScheduleReport report(company, equipment());
    EXPECT_EQ(exportOf(report), Header + Parameters);
    EXPECT_TRUE(prompter.shown().isEmpty()); // the headings print: not "nothing to print"
}

TEST_F(FixedAssetReportTest, ExportOfAScheduleLineByLine)
{
    const EQHeader e = equipment();
    ScheduleCalculator(company, prompter).calculate(e);
    GLDepr posted;
    data::KeyCursor rows =
        company.file<GLDepr>().scan(u"KeyEquipmentID", data::ScanOptions::equal({e.EquipmentID}));
    ASSERT_TRUE(rows.next(posted));
    posted.ActualAmount = posted.SYAmount;
    posted.FPPostedLabel = u"03/24"_s;
    posted.GLTransID = 4182;
    ASSERT_TRUE(company.file<GLDepr>().update(posted));

    FixedAssetScheduleReport report(company, e);
    const QStringList lines = exportOf(report);
    ASSERT_EQ(lines.size(), Header.size() + 3 + Parameters.size());
    EXPECT_EQ(lines.mid(0, Header.size()), Header);
    EXPECT_EQ(lines.at(Header.size()),
              u"04/01/2024\t300.00\t700.00\t450.00\t550.00\t666.67\t333.33\t0.00\t0.00\t450.00\t03/"
              u"24\t4,182"_s);
    EXPECT_EQ(lines.at(Header.size() + 2),
              u"06/01/2024\t300.00\t100.00\t150.00\t100.00\t11.11\t100.00\t0.00\t0.00\t0.00\t\t"_s);
}

TEST_F(FixedAssetReportTest, TheChosenMethodsColumnsAreBold)
{
    EQHeader e = equipment();
    GLDepr row;
    row.Date = SuiteDate::fromQDate(QDate(2024, 3, 1));
    auto boldTexts = [](const report::Band &band) {
        int bold = 0;
        for (const report::Element &element : band.elements)
            if (const auto *text = std::get_if<report::TextElement>(&element))
                bold += text->font.bold ? 1 : 0;
        return bold;
    };
    FixedAssetScheduleReport sumOfYears(company, e);
    EXPECT_EQ(boldTexts(sumOfYears.headings()), 3); // group, "Amount", "Value"
    EXPECT_EQ(boldTexts(sumOfYears.detail(row)), 2);
    e.DepreciationMethod = 9;
    FixedAssetScheduleReport undetermined(company, e);
    EXPECT_EQ(boldTexts(undetermined.headings()), 0);
    EXPECT_EQ(boldTexts(undetermined.detail(row)), 0);
}

TEST(FixedAssetGraphsTest, AnEquipmentWithoutRowsGraphsOnePoint)
{
    EQHeader e;
    e.PurchaseValue = Decimal::parse(u"1000"_s).value();
    e.SalvageValue = Decimal::parse(u"100"_s).value();
    const QList<AnnualSummaryEntry> summary = annualSummary(e, {});
    ASSERT_EQ(summary.size(), 1);

    const report::Graph charges = FixedAssets::annualDepreciationGraph(summary);
    EXPECT_EQ(charges.title, u"Annual Depreciation Amounts"_s);
    EXPECT_EQ(charges.xTitle, u"Year"_s);
    EXPECT_EQ(charges.yTitle, u"Depreciation Amount"_s);
    ASSERT_EQ(charges.series.size(), 3);
    EXPECT_EQ(charges.series.at(2).name, u"Double-Rate Declining Balance"_s);
    EXPECT_EQ(charges.series.at(0).values, QList<double>{0.0});

    const report::Graph book = FixedAssets::bookValueGraph(e, summary);
    EXPECT_EQ(book.title, u"Asset Book Value"_s);
    EXPECT_EQ(book.xTitle, u"Year"_s) << "its points are calendar years";
    EXPECT_EQ(book.yTitle, u"Book Value"_s);
    EXPECT_EQ(book.series.at(1).values, QList<double>{100.0});
    EXPECT_EQ(book.yMin, 100.0);
    EXPECT_EQ(book.yMax, 1000.0);
}

TEST(FixedAssetGraphsTest, PointsAreYearsOfTheAssetsLifeAndAMissingScheduleIsSaid)
{
    EQHeader e;
    e.EquipmentID = u"LDR-9"_s;
    e.PurchaseDate = SuiteDate::fromYmd(2021, 2, 15);
    e.PurchaseValue = Decimal(19000);
    e.SalvageValue = Decimal(100);
    // Without rows, the single point is the closing one of year 1.
    EXPECT_EQ(FixedAssets::bookValueGraph(e, annualSummary(e, {})).x, QList<double>{1});
    EXPECT_EQ(FixedAssets::noScheduleText(e), u"No schedule has been calculated for LDR-9."_s);

    // Fourteen months from March 2021: life year 1 is March 2021 to February
    // 2022 whatever the calendar says, then the two months after it.
    std::vector<GLDepr> rows(14);
    for (int i = 0; i < 14; ++i) {
        rows[i].Date = SuiteDate::fromYmd(2021 + (i + 2) / 12, (i + 2) % 12 + 1, 1);
        rows[i].SLAmount = Decimal(100);
    }
    const QList<AnnualSummaryEntry> summary = annualSummary(e, rows);
    const report::Graph charges = FixedAssets::annualDepreciationGraph(summary);
    EXPECT_EQ(charges.x, (QList<double>{1, 2, 3}));
    // Each point holds its life year's charges, as the "by Year" list does.
    EXPECT_EQ(charges.series.at(0).values, (QList<double>{1200, 200, 0}));
    EXPECT_EQ(FixedAssets::bookValueGraph(e, summary).series.at(0).values,
              (QList<double>{19000, 17800, 100}));
}
