#include "TestRecords.h"

#include "data/Company.h"
#include "data/Database.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::data;
using qaveq::testing::makePart;
using qaveq::testing::Part;

namespace {

class KeyedFileTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    Company company{database.settings(), qaveq::testing::partsCatalog()};
    Table &parts = company.file<Part>();

    void add(const QString &code, const QString &group, const char *price, int added = 0)
    {
        Part part = makePart(code, group, price, added);
        ASSERT_TRUE(parts.insert(part).isOk()) << code.toStdString();
    }

    QStringList codes(const QString &key, ScanOptions options = {})
    {
        QStringList result;
        KeyCursor cursor = parts.scan(key, std::move(options));
        Part part;
        while (cursor.next(part))
            result.append(part.Code);
        EXPECT_FALSE(cursor.error().has_value());
        return result;
    }
};

TEST_P(KeyedFileTest, InsertAutoNumbersFetchesByKeyAndCounts)
{
    add(u"B-2"_s, u"G1"_s, "10.50");
    Part primed;
    ASSERT_TRUE(parts.prime(primed).isOk());
    EXPECT_EQ(primed.RecordID, 2);
    primed.Code = u"A-1"_s;
    ASSERT_TRUE(parts.insert(primed).isOk());
    EXPECT_EQ(primed.RecordID, 2);
    EXPECT_GT(primed.rowId(), 0);

    Part found;
    found.Code = u"B-2"_s;
    ASSERT_TRUE(parts.fetch(u"PRT:KeyCode", found).isOk());
    EXPECT_EQ(found.RecordID, 1);
    EXPECT_EQ(found.Price, Decimal::fromUnits(1050, 2));
    EXPECT_EQ(found.Group, u"G1");
    EXPECT_EQ(parts.count(), 2);

    Part missing;
    missing.Code = u"ZZZ"_s;
    const FileStatus status = parts.fetch(u"KeyCode", missing);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, FileErrorCode::RecordNotFound);
    EXPECT_EQ(status.error().cause(), u"Record Not Found (35)");
}

// The row an insert reports is the one it wrote: a change right after it
// rewrites that row and no other, and texts come back as they went in.
TEST_P(KeyedFileTest, AnInsertedRecordIsRewrittenThroughItsOwnRow)
{
    add(u"A-1"_s, u"G1"_s, "1.00");
    Part second = makePart(u"\u00c9-2"_s, QString(), "2.00");
    ASSERT_TRUE(parts.insert(second).isOk());
    second.Price = Decimal::fromUnits(250, 2);
    ASSERT_TRUE(parts.update(second).isOk());

    Part first;
    first.Code = u"A-1"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", first).isOk());
    EXPECT_EQ(first.Price, Decimal(1));
    Part read;
    read.Code = u"\u00c9-2"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", read).isOk());
    EXPECT_EQ(read.Price, Decimal::fromUnits(250, 2));
    EXPECT_FALSE(read.Group.isNull()) << "a text left empty is stored empty, not NULL";
    EXPECT_TRUE(read.Group.isEmpty());
}

TEST_P(KeyedFileTest, RefusesWhatDoesNotFitAndKeepsTheFileAsItWas)
{
    add(u"A-1"_s, u"G1"_s, "1.00");
    Part duplicate = makePart(u"A-1"_s, u"G2"_s, "2.00");
    FileStatus status = parts.insert(duplicate);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, FileErrorCode::DuplicateKey);
    EXPECT_EQ(duplicate.RecordID, 0) << "an auto-number given to a refused record is taken back";

    Part tooLong = makePart(u"ABCDEFGHI"_s, u"G1"_s, "1.00");
    status = parts.insert(tooLong);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().text(), u"PRT:Code is longer than 8 characters");

    Part tooBig = makePart(u"BIG"_s, u"G1"_s, "10000000.00");
    EXPECT_FALSE(parts.insert(tooBig).isOk());

    Part halfCharacter = makePart(u"H"_s + QChar(0xD83D), u"G1"_s, "1.00");
    status = parts.insert(halfCharacter);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().text(), u"PRT:Code holds half a character");

    Part farFuture = makePart(u"F"_s, u"G1"_s, "1.00", SuiteDate::fromYmd(10000, 1, 1));
    EXPECT_FALSE(parts.insert(farFuture).isOk()) << "a date the program cannot show";

    EXPECT_EQ(parts.count(), 1);

    // Decimals follow the store rule when written.
    Part rounded = makePart(u"R"_s, u"G1"_s, "2.345");
    ASSERT_TRUE(parts.insert(rounded).isOk());
    Part read;
    read.Code = u"R"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", read).isOk());
    EXPECT_EQ(read.Price, Decimal::fromUnits(235, 2));
}

// A stored number outside its field's range is refused when read, never
// narrowed into another number; the auto-number stops at the field's end.
TEST_P(KeyedFileTest, NumbersAreNeverNarrowed)
{
    add(u"A-1"_s, u"G1"_s, "1.00");
    company.database().exec(uR"(UPDATE "Part" SET "Flag" = 256)"_s);
    Part read;
    read.Code = u"A-1"_s;
    EXPECT_THROW(static_cast<void>(parts.fetch(u"KeyCode", read)), DataError);
    company.database().exec(uR"(UPDATE "Part" SET "Flag" = 0, "RecordID" = 2147483647)"_s);
    Part next = makePart(u"B-1"_s, u"G1"_s, "1.00");
    const FileStatus status = parts.insert(next);
    ASSERT_FALSE(status.isOk());
    EXPECT_TRUE(status.error().text().contains(u"no number left"_s))
        << status.error().text().toStdString();
    EXPECT_EQ(parts.count(), 1);
}

TEST_P(KeyedFileTest, OrderedReadsPageThroughKeysBothWays)
{
    const QStringList all{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s,
                          u"F"_s, u"G"_s, u"H"_s, u"I"_s, u"J"_s};
    for (const QString &code :
         {u"E"_s, u"A"_s, u"J"_s, u"C"_s, u"H"_s, u"B"_s, u"G"_s, u"D"_s, u"I"_s, u"F"_s})
        add(code, u"G"_s, "1");

    ScanOptions small;
    small.pageSize = 3;
    EXPECT_EQ(codes(u"KeyCode"_s, small), all);

    ScanOptions backward = small;
    backward.direction = Direction::Backward;
    QStringList reversed = all;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(codes(u"KeyCode"_s, backward), reversed);
    EXPECT_EQ(codes(u"KeyCodeDown"_s, small), reversed);

    ScanOptions range = small;
    range.from = {u"C"_s};
    range.to = {u"F"_s};
    EXPECT_EQ(codes(u"KeyCode"_s, range), (QStringList{u"C"_s, u"D"_s, u"E"_s, u"F"_s}));

    ScanOptions downFrom = small;
    downFrom.from = {u"C"_s};
    EXPECT_EQ(codes(u"KeyCodeDown"_s, downFrom), (QStringList{u"C"_s, u"B"_s, u"A"_s}));

    ScanOptions startAt;
    startAt.from = {u"H"_s};
    EXPECT_EQ(codes(u"KeyCode"_s, startAt), (QStringList{u"H"_s, u"I"_s, u"J"_s}));
}

TEST_P(KeyedFileTest, DescendingKeysReadBackwardWithinBounds)
{
    for (const QString &code : {u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s})
        add(code, u"G"_s, "1");
    ScanOptions options;
    options.from = {u"D"_s}; // key order runs E, D, C, B, A
    options.to = {u"B"_s};
    EXPECT_EQ(codes(u"KeyCodeDown"_s, options), (QStringList{u"D"_s, u"C"_s, u"B"_s}));
    options.direction = Direction::Backward;
    EXPECT_EQ(codes(u"KeyCodeDown"_s, options), (QStringList{u"B"_s, u"C"_s, u"D"_s}));
    EXPECT_EQ(parts.scan(u"KeyCodeDown", options).count(), 3);
}

TEST_P(KeyedFileTest, DuplicateKeysAreEachReadOnceInStoredOrder)
{
    // Seven parts share group and date: the page boundaries fall inside the ties.
    for (int i = 0; i < 7; ++i)
        add(u"T"_s + QString::number(i), u"SAME"_s, "1", 100);
    add(u"EARLY"_s, u"SAME"_s, "1", 50);
    add(u"OTHER"_s, u"X"_s, "1", 10);

    ScanOptions group = ScanOptions::equal({u"SAME"_s});
    group.pageSize = 2;
    EXPECT_EQ(codes(u"KeyGroup"_s, group), (QStringList{u"EARLY"_s, u"T0"_s, u"T1"_s, u"T2"_s,
                                                        u"T3"_s, u"T4"_s, u"T5"_s, u"T6"_s}));
    group.direction = Direction::Backward;
    EXPECT_EQ(codes(u"KeyGroup"_s, group).first(), u"T6");
}

TEST_P(KeyedFileTest, SortFieldsOrderAheadOfTheKeyInTheirOwnDirections)
{
    // Groups differ only in case, prices tie across groups, and pages of two
    // break inside every tie.
    add(u"P1"_s, u"b"_s, "5.00");
    add(u"P2"_s, u"A"_s, "5.00");
    add(u"P3"_s, u"B"_s, "1.50");
    add(u"P4"_s, u"a"_s, "9.00");
    add(u"P5"_s, u"B"_s, "5.00");
    add(u"P6"_s, u"c"_s, "1.50");
    add(u"P7"_s, u"A"_s, "5.00");

    ScanOptions byGroup;
    byGroup.pageSize = 2;
    byGroup.order = {{u"PRT:Group"_s, true, true}, {u"Price"_s, false, false}};
    EXPECT_EQ(codes(u"KeyCode"_s, byGroup),
              (QStringList{u"P6"_s, u"P3"_s, u"P1"_s, u"P5"_s, u"P2"_s, u"P7"_s, u"P4"_s}));

    // Ties on every sort field fall back on the key, here one that is not
    // unique (its stored row settles the rest), and the key's bounds still hold.
    ScanOptions byPrice;
    byPrice.pageSize = 2;
    byPrice.order = {{u"Price"_s, true, false}};
    byPrice.from = {u"A"_s};
    byPrice.to = {u"B"_s};
    EXPECT_EQ(codes(u"KeyGroup"_s, byPrice), (QStringList{u"P2"_s, u"P7"_s, u"P5"_s, u"P3"_s}));
    EXPECT_EQ(parts.scan(u"KeyGroup", byPrice).count(), 4);

    ScanOptions exact;
    exact.order = {{u"Group"_s, false, false}};
    EXPECT_EQ(codes(u"KeyCode"_s, exact).mid(0, 4),
              (QStringList{u"P2"_s, u"P7"_s, u"P3"_s, u"P5"_s}))
        << "capitals before small letters when case counts";
}

TEST_P(KeyedFileTest, FiltersByFieldName)
{
    add(u"CAB-1"_s, u"G1"_s, "5.00");
    add(u"DOOR"_s, u"G1"_s, "15.00");
    add(u"SCAB"_s, u"G2"_s, "25.00");
    ScanOptions contains;
    contains.filters = {Filter{u"PRT:Code"_s, Filter::Op::Contains, u"ab"_s}};
    EXPECT_EQ(codes(u"KeyCode"_s, contains), (QStringList{u"CAB-1"_s, u"SCAB"_s}));
    ScanOptions priced;
    priced.filters = {Filter{u"Price"_s, Filter::Op::GreaterOrEqual, Decimal(15)},
                      Filter{u"Group"_s, Filter::Op::Equal, u"G1"_s}};
    EXPECT_EQ(codes(u"KeyCode"_s, priced), QStringList{u"DOOR"_s});
}

// Totals added up by the database: exact to the cent whatever the count,
// grouped by text exactly as stored (case and all), bounded by the read's
// range and filters, and nothing at all for a range without rows.
TEST_P(KeyedFileTest, SubtotalsAddUpTheRangeByGroupExactly)
{
    add(u"A"_s, u"G1"_s, "0.10");
    add(u"B"_s, u"G1"_s, "0.20");
    add(u"C"_s, u"g1"_s, "-1.05");
    add(u"D"_s, u"G2"_s, "9999999.99");
    add(u"E"_s, u"G2"_s, "9999999.99");
    add(u"F"_s, u"G3"_s, "1.00");

    const auto totals = [&](ScanOptions options) {
        KeyCursor cursor = parts.scan(u"KeyCode", std::move(options));
        const auto lines = cursor.subtotals({u"PRT:Group"_s}, {{u"Price"_s}});
        EXPECT_FALSE(cursor.error().has_value());
        QMap<QString, Decimal> byGroup;
        for (const KeyCursor::Subtotal &line : lines.value_or(QList<KeyCursor::Subtotal>{}))
            byGroup.insert(std::get<QString>(line.group.at(0)), line.sums.at(0));
        return byGroup;
    };
    ScanOptions everything;
    EXPECT_EQ(totals(everything),
              (QMap<QString, Decimal>{{u"G1"_s, Decimal::fromUnits(30, 2)},
                                      {u"g1"_s, Decimal::fromUnits(-105, 2)},
                                      {u"G2"_s, Decimal::fromUnits(1999999998, 2)},
                                      {u"G3"_s, Decimal(1)}}));
    ScanOptions bounded;
    bounded.from = {u"B"_s};
    bounded.to = {u"D"_s};
    bounded.filters = {Filter{u"Price"_s, Filter::Op::Less, Decimal(100)}};
    EXPECT_EQ(totals(bounded), (QMap<QString, Decimal>{{u"G1"_s, Decimal::fromUnits(20, 2)},
                                                       {u"g1"_s, Decimal::fromUnits(-105, 2)}}));
    ScanOptions none;
    none.from = {u"X"_s};
    EXPECT_TRUE(totals(none).isEmpty());

    // A sum of only some rows of each group, its condition bound ahead of
    // the read's range and filters.
    KeyCursor split = parts.scan(u"KeyCode", bounded);
    const auto splitLines = split.subtotals(
        {u"Group"_s}, {{u"Price"_s}, {u"Price"_s, Filter{u"Code"_s, Filter::Op::Equal, u"C"_s}}});
    ASSERT_TRUE(splitLines.has_value()) << split.error()->message.toStdString();
    QMap<QString, std::pair<Decimal, Decimal>> byGroup;
    for (const KeyCursor::Subtotal &line : *splitLines)
        byGroup.insert(std::get<QString>(line.group.at(0)), {line.sums.at(0), line.sums.at(1)});
    EXPECT_EQ(byGroup, (QMap<QString, std::pair<Decimal, Decimal>>{
                           {u"G1"_s, {Decimal::fromUnits(20, 2), Decimal()}},
                           {u"g1"_s, {Decimal::fromUnits(-105, 2), Decimal::fromUnits(-105, 2)}}}));

    // Without a group: one line over the whole range.
    KeyCursor all = parts.scan(u"KeyCode");
    const auto overall = all.subtotals({}, {{u"Price"_s}});
    ASSERT_TRUE(overall.has_value());
    ASSERT_EQ(overall->size(), 1);
    EXPECT_EQ(overall->at(0).sums.at(0), Decimal::fromUnits(1999999998 + 30 - 105 + 100, 2));
}

TEST_P(KeyedFileTest, UpdateAndRemoveTheRowThatWasRead)
{
    add(u"A"_s, u"G1"_s, "1.00");
    add(u"B"_s, u"G1"_s, "2.00");
    Part part;
    part.Code = u"A"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", part).isOk());
    part.Price = Decimal(9);
    part.Code = u"AA"_s;
    ASSERT_TRUE(parts.update(part).isOk());
    EXPECT_EQ(codes(u"KeyCode"_s), (QStringList{u"AA"_s, u"B"_s}));

    part.Code = u"B"_s;
    EXPECT_EQ(parts.update(part).error().code, FileErrorCode::DuplicateKey);

    ASSERT_TRUE(parts.remove(part).isOk());
    EXPECT_EQ(codes(u"KeyCode"_s), QStringList{u"B"_s});
    EXPECT_EQ(parts.remove(part).error().code, FileErrorCode::RecordNotFound);
}

TEST_P(KeyedFileTest, WritesWhileReadingVisitEachRowOnce)
{
    for (int i = 0; i < 20; ++i)
        add(u"P%1"_s.arg(i, 2, 10, QChar(u'0')), u"G"_s, "1");
    ScanOptions options;
    options.pageSize = 4;
    KeyCursor cursor = parts.scan(u"KeyCode", options);
    Part part;
    int visited = 0;
    while (cursor.next(part)) {
        ++visited;
        part.Price += Decimal(1);
        ASSERT_TRUE(parts.update(part).isOk());
        // Behind the read: not visited. The updated row is not visited again.
        Part added = makePart(u"A"_s + QString::number(visited), u"G"_s, "0");
        ASSERT_TRUE(parts.insert(added).isOk());
    }
    EXPECT_EQ(visited, 20);
    EXPECT_EQ(parts.count(), 40);
}

TEST_P(KeyedFileTest, ChangeByAnotherStationIsDetectedAtSave)
{
    add(u"A"_s, u"G1"_s, "1.00");
    Part mine;
    mine.Code = u"A"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", mine).isOk());
    const Part original = mine;

    Company station2(database.settings(), qaveq::testing::partsCatalog());
    Part theirs;
    theirs.Code = u"A"_s;
    ASSERT_TRUE(station2.file<Part>().fetch(u"KeyCode", theirs).isOk());
    theirs.Price = Decimal(2);
    ASSERT_TRUE(station2.file<Part>().update(theirs).isOk());

    mine.Price = Decimal(3);
    const FileStatus status = parts.updateIfUnchanged(mine, original);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, FileErrorCode::RecordChanged);

    Part again;
    again.Code = u"A"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", again).isOk());
    const Part unchanged = again;
    again.Price = Decimal(4);
    EXPECT_TRUE(parts.updateIfUnchanged(again, unchanged).isOk());
}

TEST_P(KeyedFileTest, ReadsOnlyTheFieldsAskedAndRereadsTheRest)
{
    for (int i = 0; i < 5; ++i)
        add(u"P"_s + QString::number(i), u"G"_s + QString::number(i % 2), "7.50", 100 + i);
    ScanOptions options;
    options.fields = {u"PRT:Price"_s};
    options.pageSize = 2;
    KeyCursor cursor = parts.scan(u"KeyGroup", options);
    Part part;
    QStringList seen;
    while (cursor.next(part)) {
        seen.append(part.Group + u'/' + QString::number(part.Added) + u'/' +
                    part.Price.toString(2));
        EXPECT_TRUE(part.Code.isEmpty()) << "a field not asked for is not read";
    }
    EXPECT_EQ(seen, (QStringList{u"G0/100/7.50"_s, u"G0/102/7.50"_s, u"G0/104/7.50"_s,
                                 u"G1/101/7.50"_s, u"G1/103/7.50"_s}));
    ASSERT_TRUE(parts.reread(part).isOk());
    EXPECT_EQ(part.Code, u"P3");
}

TEST_P(KeyedFileTest, FieldsByNameWithOrWithoutPrefix)
{
    Part part = makePart(u"X"_s, u"G"_s, "3.10", 77);
    EXPECT_EQ(std::get<QString>(part.value(u"PRT:Code")), u"X");
    EXPECT_EQ(std::get<qint64>(part.value(u"added")), 77);
    part.setValue(u"prt:price", Decimal(5));
    EXPECT_EQ(part.Price, Decimal(5));
    EXPECT_EQ(Part::fileSchema().fieldIndex(u"XYZ:Code"), -1);
    EXPECT_THROW(part.value(u"Nope"), std::invalid_argument);
}

TEST_P(KeyedFileTest, ACopyToAFileHoldsEveryRowOrIsNotOffered)
{
    add(u"COPIED"_s, u"G"_s, "12.25");
    if (!company.database().canCopyToFile()) {
        // A server's data is backed up on the server.
        EXPECT_EQ(database.settings().dialect, Dialect::PostgreSQL);
        return;
    }
    QTemporaryDir folder;
    const QString target = folder.filePath(u"copy.sqlite"_s);
    ASSERT_TRUE(company.database().copyTo(target).isOk());

    ConnectionSettings copySettings;
    copySettings.sqliteFile = target;
    Company copy(copySettings, qaveq::testing::partsCatalog());
    Part found;
    found.Code = u"COPIED"_s;
    ASSERT_TRUE(copy.file<Part>().fetch(u"KeyCode", found).isOk());
    EXPECT_EQ(found.Price, Decimal::fromText(u"12.25"));

    // An existing file is never overwritten: the failure is reported.
    const FileStatus again = company.database().copyTo(target);
    EXPECT_FALSE(again.isOk());
    EXPECT_FALSE(again.error().text().isEmpty());
}

TEST_P(KeyedFileTest, ADatabaseOnAFileOrServerOpensAgain)
{
    EXPECT_TRUE(company.database().canOpenAgain());
    Database second(database.settings());
    EXPECT_EQ(second.existingColumns(u"Part"_s), company.database().existingColumns(u"Part"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, KeyedFileTest, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

TEST(DatabaseCapabilities, APrivateInMemoryDatabaseCannotBeOpenedAgain)
{
    ConnectionSettings settings;
    settings.sqliteFile = u":memory:"_s;
    const Database memory(settings);
    EXPECT_FALSE(memory.canOpenAgain());
}

} // namespace
