// Records read through the keyed-file layer (fetches, rereads and ordered
// reads, which on SQLite decode SQLite's own values) must equal, field by
// field, the same rows read through Qt's driver and Database::readRow().
#include "data/Company.h"
#include "data/SchemaBuilder.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::data;

namespace {

// One field of every stored type, integers of every width.
struct Sample : RecordOf<Sample>
{
    qint32 RecordID = 0;
    QString Name;   // 20
    QString Note;   // 40
    Decimal Amount; // 15.2
    Decimal Rate;   // 18.4
    Decimal Whole;  // 9.0
    DayNumber Day = 0;
    TimeOfDay At = 0;
    quint8 Flag = 0;
    qint16 Year = 0;
    qint64 Big = 0;

    static const FileSchema &fileSchema()
    {
        using B = SchemaBuilder<Sample>;
        static const FileSchema schema = B(u"Sample"_s, u"SMP"_s)
                                             .autoNumber(u"RecordID"_s, &Sample::RecordID)
                                             .text(u"Name"_s, &Sample::Name, 20)
                                             .text(u"Note"_s, &Sample::Note, 40)
                                             .decimal(u"Amount"_s, &Sample::Amount, 15, 2)
                                             .decimal(u"Rate"_s, &Sample::Rate, 18, 4)
                                             .decimal(u"Whole"_s, &Sample::Whole, 9, 0)
                                             .date(u"Day"_s, &Sample::Day)
                                             .time(u"At"_s, &Sample::At)
                                             .integer(u"Flag"_s, &Sample::Flag)
                                             .integer(u"Year"_s, &Sample::Year)
                                             .integer(u"Big"_s, &Sample::Big)
                                             .key(u"KeyRecordID"_s, B::Unique, {u"RecordID"_s})
                                             .key(u"KeyName"_s, B::Duplicates, {u"Name"_s})
                                             .build();
        return schema;
    }
};

Catalog sampleCatalog()
{
    Catalog catalog;
    catalog.add(Sample::fileSchema());
    return catalog;
}

Decimal decimal(const char *text)
{
    return Decimal::parse(QString::fromLatin1(text)).value();
}

class ReadPathTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    Company company{database.settings(), sampleCatalog()};
    Table &samples = company.file<Sample>();
    const FileSchema &schema = Sample::fileSchema();

    // Every stored row in row order, read through Qt's driver.
    std::vector<Sample> throughQt()
    {
        Database &db = company.database();
        QSqlQuery query(db.connection());
        EXPECT_TRUE(query.exec(u"SELECT %1 FROM %2 ORDER BY qrow"_s.arg(
            Database::selectList(schema), Database::quote(schema.table))));
        QList<int> fields;
        for (int i = 0; i < schema.fields.size(); ++i)
            fields.append(i);
        std::vector<Sample> rows;
        while (query.next()) {
            std::vector<QVariant> row(std::size_t(schema.fields.size()) + 1);
            for (std::size_t c = 0; c < row.size(); ++c)
                row[c] = query.value(int(c));
            Sample sample;
            db.readRow(schema, fields, row.data(), sample);
            rows.push_back(sample);
        }
        return rows;
    }

    // `exactly`: null and empty texts are told apart, as two reads must agree
    // on them (a text written null is stored empty).
    void expectSame(const Sample &read, const Sample &expected, const char *how,
                    bool exactly = true)
    {
        SCOPED_TRACE(how);
        EXPECT_EQ(read.rowId(), expected.rowId());
        for (const FieldDef &field : schema.fields) {
            const FieldValue a = field.get(read);
            const FieldValue b = field.get(expected);
            EXPECT_EQ(a, b) << schema.qualified(field).toStdString() << " of row "
                            << expected.rowId();
            if (exactly && field.type == FieldType::Text) {
                EXPECT_EQ(std::get<QString>(a).isNull(), std::get<QString>(b).isNull())
                    << schema.qualified(field).toStdString() << " of row " << expected.rowId();
            }
        }
    }
};

TEST_P(ReadPathTest, EveryStoredTypeReadsAsThroughQtsDriver)
{
    std::vector<Sample> written;
    Sample plain; // every field at its default: null text, zero decimals, day and time 0
    written.push_back(plain);

    Sample wide;
    wide.Name = u"Gr\u00fc\u00dfe \u65e5\u672c \U0001F69C"_s; // Latin, CJK and a pair of surrogates
    wide.Note = u""_s;
    wide.Amount = decimal("9999999999999.99");
    wide.Rate = decimal("99999999999999.9999");
    wide.Whole = decimal("999999999");
    wide.Day = SuiteDate::fromYmd(2026, 12, 9);
    wide.At = 8640000; // the last hundredth of a day
    wide.Flag = std::numeric_limits<quint8>::max();
    wide.Year = std::numeric_limits<qint16>::min();
    wide.Big = std::numeric_limits<qint64>::max();
    written.push_back(wide);

    Sample negative;
    negative.Name = u"  padded  "_s;
    negative.Note = u"a\tb\nc \"quoted\" 'single' \\"_s;
    negative.Amount = decimal("-9999999999999.99");
    negative.Rate = decimal("-0.0001");
    negative.Whole = decimal("-999999999");
    negative.Day = 1;
    negative.At = 1;
    negative.Year = std::numeric_limits<qint16>::max();
    negative.Big = std::numeric_limits<qint64>::min();
    written.push_back(negative);

    Sample places;
    places.Name = u"Gr\u00fc\u00dfe \u65e5\u672c \U0001F69C"_s; // a second row of the same name
    places.Amount = decimal("0.01");
    places.Rate = decimal("1.5");
    places.Whole = decimal("10");
    written.push_back(places);

    for (Sample &sample : written)
        ASSERT_TRUE(samples.insert(sample).isOk());

    // A row with nothing but the columns' own defaults, as an older program
    // or another station may leave it.
    QSqlQuery insert(company.database().connection());
    ASSERT_TRUE(insert.exec(u"INSERT INTO %1 DEFAULT VALUES"_s.arg(Database::quote(schema.table))));

    const std::vector<Sample> expected = throughQt();
    ASSERT_EQ(expected.size(), written.size() + 1);
    for (std::size_t i = 0; i < written.size(); ++i)
        expectSame(written[i], expected[i], "as written", false);

    std::vector<Sample> scanned;
    ScanOptions smallPages; // a read over several pages
    smallPages.pageSize = 2;
    KeyCursor cursor = samples.scan(u"KeyRecordID", smallPages);
    for (Sample sample; cursor.next(sample);)
        scanned.push_back(sample);
    ASSERT_FALSE(cursor.error().has_value());
    std::sort(scanned.begin(), scanned.end(),
              [](const Sample &a, const Sample &b) { return a.rowId() < b.rowId(); });
    ASSERT_EQ(scanned.size(), expected.size());

    for (std::size_t i = 0; i < expected.size(); ++i) {
        expectSame(scanned[i], expected[i], "an ordered read");

        Sample fetched;
        fetched.RecordID = expected[i].RecordID;
        if (expected[i].RecordID != 0) {
            ASSERT_TRUE(samples.fetch(u"KeyRecordID", fetched).isOk());
            expectSame(fetched, expected[i], "a fetch");
        }

        Sample reread = expected[i];
        reread.Name = u"changed"_s;
        reread.Amount = Decimal(7);
        ASSERT_TRUE(samples.reread(reread).isOk());
        expectSame(reread, expected[i], "a reread");
    }

    // Bound by a key of non-ASCII text, both rows of that name and no other.
    KeyCursor named = samples.scan(u"KeyName", ScanOptions::equal({wide.Name}));
    int rows = 0;
    for (Sample sample; named.next(sample); ++rows)
        EXPECT_EQ(sample.Name, wide.Name);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(samples.scan(u"KeyName", ScanOptions::equal({wide.Name})).count(), 2);

    // Fields not asked for keep their defaults.
    ScanOptions someFields;
    const Sample &wideStored = written[1];
    someFields.from = {qint64(wideStored.RecordID)};
    someFields.fields = {u"SMP:Rate"_s};
    KeyCursor some = samples.scan(u"KeyRecordID", someFields);
    Sample first;
    ASSERT_TRUE(some.next(first));
    EXPECT_EQ(first.RecordID, wideStored.RecordID);
    EXPECT_EQ(first.Rate, wide.Rate);
    EXPECT_TRUE(first.Name.isNull());
    EXPECT_EQ(first.Amount, Decimal());
}

INSTANTIATE_TEST_SUITE_P(Backends, ReadPathTest, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
