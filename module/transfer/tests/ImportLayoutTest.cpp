#include "transfer/ImportLayout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

QStringList columns(const QList<ImportLayout::Row> &rows)
{
    QStringList names;
    for (const ImportLayout::Row &row : rows)
        names.append(row.column);
    return names;
}

QList<int> starts(const QList<ImportLayout::Row> &rows)
{
    QList<int> result;
    for (const ImportLayout::Row &row : rows)
        result.append(row.start);
    return result;
}

TEST(ImportLayoutTest, BuiltInLayoutIsFifteenFieldsInExportOrder)
{
    const QList<ImportLayout::Row> rows = ImportLayout::parse(ImportLayout::BuiltInLayout);
    ASSERT_EQ(rows.size(), 15);
    EXPECT_EQ(columns(rows).join(QString()), u"ABCDEFGHIJKLMNO");
    for (const ImportLayout::Row &row : rows)
        EXPECT_EQ(row.length, 0);
    EXPECT_EQ(rows.first().contents, u"Equipment ID");
    EXPECT_EQ(rows[12].contents, u"Date");
    EXPECT_EQ(rows.last().contents, u"Employee ID");
    EXPECT_EQ(ImportLayout::build(rows), ImportLayout::BuiltInLayout);
}

TEST(ImportLayoutTest, FixedPositionsFollowTheLengths)
{
    const QList<ImportLayout::Row> rows = ImportLayout::parse(u"Q10S08F08U07   "_s);
    EXPECT_EQ(starts(rows), (QList<int>{1, 11, 19, 27}));
    EXPECT_EQ(rows[1].contents, u"Meter Start");
}

TEST(ImportLayoutTest, MovesRenumberAndKeepTheRowHighlighted)
{
    QList<ImportLayout::Row> rows = ImportLayout::parse(u"Q10S08F08U07"_s);
    EXPECT_EQ(ImportLayout::moveToTop(rows, 3), 0);
    EXPECT_EQ(ImportLayout::build(rows), u"U07Q10S08F08");
    EXPECT_EQ(starts(rows), (QList<int>{1, 8, 18, 26}));
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].column, u"A");

    EXPECT_EQ(ImportLayout::moveUp(rows, 0), 0); // already at the top: nothing
    EXPECT_EQ(ImportLayout::build(rows), u"U07Q10S08F08");
    EXPECT_EQ(ImportLayout::moveDown(rows, 3), 3); // already at the bottom
    EXPECT_EQ(ImportLayout::moveDown(rows, 1), 2);
    EXPECT_EQ(ImportLayout::build(rows), u"U07S08Q10F08");
    EXPECT_EQ(ImportLayout::moveToBottom(rows, 0), 3);
    EXPECT_EQ(ImportLayout::build(rows), u"S08Q10F08U07");
    EXPECT_EQ(ImportLayout::moveUp(rows, 1), 0);
    EXPECT_EQ(ImportLayout::build(rows), u"Q10S08F08U07");
}

TEST(ImportLayoutTest, RowsThatNameNoFieldAreLeftOut)
{
    QList<ImportLayout::Row> rows = ImportLayout::parse(u"Q00000M00"_s);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].contents, u"Unused");
    rows.append({0, QString(), u"Not Used"_s, 4, 0});
    EXPECT_EQ(ImportLayout::build(rows), u"Q00000M00");
    rows[0].length = 123; // the item form allows 3 digits; a layout keeps two
    EXPECT_EQ(ImportLayout::build(rows).left(3), u"Q99");
}

TEST(ImportLayoutTest, ColumnNamesGoOnPastZ)
{
    const std::pair<int, const char16_t *> cases[] = {{1, u"A"},   {26, u"Z"},  {27, u"AA"},
                                                      {52, u"AZ"}, {53, u"BA"}, {703, u"AAA"}};
    for (const auto &[number, name] : cases)
        EXPECT_EQ(ImportLayout::columnName(number), QStringView(name)) << number;
}

TEST(ImportLayoutTest, ItemsOfAnOddLengthTextIgnoreTheRest)
{
    const QList<ImportLayout::Item> items = ImportLayout::items(u"Q10#0"_s);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].code, u'Q');
    EXPECT_EQ(items[0].length, 10);
    EXPECT_TRUE(ImportLayout::items(QString()).isEmpty());
}

// Every usage-log field has a code; of the ledger fields of generic mode
// only the date and the account.
TEST(ImportLayoutTest, ChoicesOfBothModesMapToTheirCodes)
{
    const QStringList logFields = ImportLayout::contentsChoices(false);
    ASSERT_EQ(logFields.size(), 16);
    EXPECT_EQ(logFields.last(), u"Unused");
    for (const QString &contents : logFields)
        EXPECT_TRUE(ImportLayout::codeOf(contents)) << contents.toStdString();

    QString codes;
    for (const QString &contents : ImportLayout::contentsChoices(true))
        if (const std::optional<QChar> code = ImportLayout::codeOf(contents))
            codes += *code;
    EXPECT_EQ(codes, u"#G");
}

} // namespace
