#include "runtime/report/ReportColumns.h"

#include "core/SuiteDate.h"

#include <QFont>
#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::report;

namespace {

const TextElement &textAt(const Band &band, int index)
{
    return std::get<TextElement>(band.elements.at(index));
}

ColumnTable sample()
{
    return ColumnTable(
        {{.heading = {u"Date"_s}, .picture = u"@d14"_s, .exportPicture = u"@d02"_s},
         {.heading = {u"Cost"_s}, .picture = u"@n-15.2"_s, .alignment = Qt::AlignRight, .group = 0},
         {.heading = {u"Total"_s, u"Cost"_s},
          .picture = u"@n-15.2"_s,
          .alignment = Qt::AlignRight,
          .group = 1},
         {.heading = {u"Note"_s}, .picture = u"@s5"_s}},
        TextStyle{}, {{.first = 1, .count = 1, .text = u"Month"_s, .group = 0}});
}

TEST(ReportColumnsTest, AColumnIsAsWideAsTheWidestFigureOfItsPicture)
{
    const ColumnTable table = sample();
    // The widest figures of "@n-15.2" and "@d14", measured in the narrow
    // typeface reports print in, at 8 point (80 decipoints).
    QFont narrow(u"Liberation Sans Narrow"_s);
    narrow.setPixelSize(80);
    const QFontMetricsF metrics(narrow);
    EXPECT_LE(metrics.horizontalAdvance(u"-999,999,999.99"_s) + 80, table.width(1));
    EXPECT_LE(metrics.horizontalAdvance(u"12/2099"_s) + 80, table.width(0));
    EXPECT_EQ(table.left(1), table.width(0));
    EXPECT_EQ(table.totalWidth(), table.left(3) + table.width(3));
    EXPECT_EQ(ColumnTable::pictureCharacters(u"@d02"_s), 10);
    EXPECT_EQ(ColumnTable::pictureCharacters(u"@s5"_s), 5);
}

TEST(ReportColumnsTest, HeadingDetailAndExportComeFromTheOneDeclaration)
{
    const ColumnTable table = sample();
    const Band heading = table.headings(1);
    // The span, its rule, the four headings on their lines (two for "Total
    // Cost"), the rule under all.
    ASSERT_EQ(heading.elements.size(), 8u);
    EXPECT_EQ(textAt(heading, 0).text, u"Month");
    EXPECT_FALSE(textAt(heading, 0).font.bold) << "the span is of group 0";
    EXPECT_EQ(textAt(heading, 4).text, u"Total");
    EXPECT_TRUE(textAt(heading, 4).font.bold);
    EXPECT_EQ(textAt(heading, 4).rect.top(), 0);
    EXPECT_EQ(textAt(heading, 5).text, u"Cost");
    EXPECT_GT(textAt(heading, 5).rect.top(), 0);
    EXPECT_EQ(table.exportHeadings(),
              (QStringList{u"\tMonth\tTotal"_s, u"Date\tCost\tCost\tNote"_s}));

    const QList<CellValue> values{qint64(SuiteDate::fromYmd(2026, 3, 31)),
                                  Decimal::fromUnits(-123456, 2), Decimal(0), u"P03  "_s};
    const Band row = table.detail(values, 0);
    ASSERT_EQ(row.elements.size(), 4u);
    EXPECT_EQ(textAt(row, 0).text, u"03/2026");
    EXPECT_EQ(textAt(row, 1).text, u"-1,234.56");
    EXPECT_TRUE(textAt(row, 1).font.bold);
    EXPECT_FALSE(textAt(row, 2).font.bold);
    EXPECT_EQ(textAt(row, 1).rect.left(), table.left(1) + 40);
    EXPECT_EQ(row.exportLines, QStringList{u"03/31/2026\t-1,234.56\t0.00\tP03"_s});
}

} // namespace
