#include "TestRecords.h"

#include "data/Company.h"
#include "data/RecordLoader.h"
#include "data/RecordText.h"
#include "data/SchemaBuilder.h"
#include "data/Transaction.h"
#include "data/testing/TestDatabase.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QRandomGenerator>

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::data;
using qaveq::testing::makePart;
using qaveq::testing::Part;

namespace {

class LoadTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    Company company{database.settings(), qaveq::testing::partsCatalog()};
    Table &parts = company.file<Part>();

    LoadResult load(const QString &text) { return loadBytes(text.toUtf8()); }

    LoadResult loadBytes(QByteArray bytes)
    {
        QBuffer input(&bytes);
        input.open(QIODevice::ReadOnly);
        return RecordLoader(parts).load(input);
    }

    QString dump()
    {
        QStringList lines;
        KeyCursor cursor = parts.scan(u"KeyCode");
        Part part;
        while (cursor.next(part))
            lines.append(RecordText::toJsonLine(part));
        return lines.join(u'\n');
    }
};

TEST_P(LoadTest, InsertsNewAndUpdatesByFirstUniqueKey)
{
    Part existing = makePart(u"A-1"_s, u"OLD"_s, "1.00", 10);
    ASSERT_TRUE(parts.insert(existing).isOk());

    const LoadResult result = load(uR"({"Code":"A-1","Price":"7.25"}

{"Code":"B-2","Group":"NEW","Price":3,"Added":"2024-02-29","Flag":1}
)"_s);
    ASSERT_TRUE(result.done) << result.problem.toStdString();
    EXPECT_EQ(result.inserted, 1);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(
        dump(),
        uR"({"RecordID":1,"Code":"A-1","Group":"OLD","Price":"7.25","Added":"1801-01-07","Flag":0}
{"RecordID":2,"Code":"B-2","Group":"NEW","Price":"3.00","Added":"2024-02-29","Flag":1})"_s);
}

struct BadLine
{
    const char16_t *line;
    const char16_t *reason;
};

TEST_P(LoadTest, ABadLineRejectsTheWholeLoad)
{
    Part existing = makePart(u"A-1"_s, u"G"_s, "1.00");
    ASSERT_TRUE(parts.insert(existing).isOk());
    const QString before = dump();

    const BadLine cases[] = {
        {uR"({"Code":"C-3","Colour":"red"})", u"unknown field \"Colour\" in Part"},
        {uR"({"Code":"TOOLONGCODE"})", u"PRT:Code is longer than 8 characters"},
        {uR"({"Code":"C-3","Price":"12,3x"})", u"PRT:Price is not a number: 12,3x"},
        {uR"({"Code":"C-3","Price":"1,5"})", u"PRT:Price is not a number: 1,5"},
        {uR"({"Code":"C-3","Price":" 15"})", u"PRT:Price is not a number:  15"},
        {u"{\"Code\":\"C-3\",\"Price\":\"\u0661\u0662\"}", u"PRT:Price is not a number"},
        {uR"({"Code":"C-3","Flag":"١"})", u"PRT:Flag is not a whole number"},
        {uR"({"Code":"C-3","Price":1e308})", u"PRT:Price does not fit 9 digits with 2 places"},
        {uR"({"Code":"C-3","Price":"1234567890123456789012345678901234567890"})",
         u"PRT:Price is not a number"},
        {uR"({"Code":"C-3","Flag":1e300})", u"PRT:Flag is not a whole number"},
        {uR"({"Code":"C\u0000"})", u"PRT:Code holds a NUL character"},
        {uR"({"Code":"C-3","Group":"A","Group":"B"})", u"the field \"Group\" is given twice"},
        {uR"({"Code":"C-3","\u0047roup":"A","Group":"B"})", u"the field \"Group\" is given twice"},
        {uR"({"Code":"NEW-1"})", u"Code NEW-1 was already given on line 1"},
        {uR"({"Code":"  ","Group":"G"})", u"PRT:Code is required and blank"},
        {uR"({"Code":"A-1","Code":""})", u"the field \"Code\" is given twice"},
        {uR"({"Group":"G"})", u"PRT:Code is required and blank"},
        {uR"({"Code":"C-3","Price":"12345678.00"})",
         u"PRT:Price does not fit 9 digits with 2 places"},
        {uR"({"Code":"C-3","Added":"2023-02-29"})",
         u"PRT:Added is not a date of the years 1801 to 9999: 2023-02-29"},
        {uR"({"Code":"C-3","Added":"1800-12-31"})",
         u"PRT:Added is not a date of the years 1801 to 9999: 1800-12-31"},
        {uR"({"Code":"C-3","Group":"a\u001bb"})",
         u"PRT:Group holds a line break, a tab or another control character"},
        {uR"({"Code":"C-3","Flag":300})", u"PRT:Flag must be between 0 and 255"},
        {uR"({"Code":"C-3","RecordID":1})", u"Creates Duplicate Key"},
        {uR"({"Code":"C-3")", u"not valid JSON: "},
        {uR"(["C-3"])", u"not a JSON object"},
    };
    for (const BadLine &bad : cases) {
        const LoadResult result = load(uR"({"Code":"NEW-1","Price":"1"}
{"Code":"A-1","Price":"99"}
)"_s + QString::fromUtf16(bad.line) + u"\n{\"Code\":\"NEW-2\"}\n"_s);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.line, 3) << QString::fromUtf16(bad.line).toStdString();
        EXPECT_TRUE(result.problem.startsWith(QString::fromUtf16(bad.reason)))
            << result.problem.toStdString();
        EXPECT_EQ(dump(), before) << "nothing of a refused load is kept";
    }
}

TEST_P(LoadTest, AFileHeldByAnotherStationIsReportedBusyAndNothingIsLoaded)
{
    Company station2(database.settings(), qaveq::testing::partsCatalog());
    {
        Transaction held(station2.database(), {u"Part"_s}, std::chrono::seconds(5));
        ASSERT_TRUE(held.isActive());
        const LoadResult result = load(u"{\"Code\":\"HELD-1\"}\n"_s);
        EXPECT_FALSE(result.done);
        EXPECT_TRUE(result.busy);
        EXPECT_TRUE(result.problem.startsWith(u"Another station"_s))
            << result.problem.toStdString();
    }
    EXPECT_EQ(parts.count(), 0);
    const LoadResult later = load(u"{\"Code\":\"HELD-1\"}\n"_s);
    EXPECT_TRUE(later.done) << later.problem.toStdString();
    EXPECT_FALSE(later.busy);
    EXPECT_EQ(parts.count(), 1);
}

TEST_P(LoadTest, RefusesBytesThatAreNotUtf8OrHoldNul)
{
    const QByteArray lines[] = {
        QByteArray("{\"Code\":\"B\xe9\"}"),        // Latin-1, not UTF-8
        QByteArray("{\"Code\":\"\xc3\"}"),         // a cut sequence
        QByteArray("{\"Code\":\"\xed\xa0\x80\"}"), // an encoded surrogate
        QByteArray("{\"Code\":\"A\0B\"}", 14),
    };
    for (const QByteArray &line : lines) {
        const LoadResult result = loadBytes("{\"Code\":\"OK-1\"}\n" + line + '\n');
        EXPECT_FALSE(result.done) << line.toHex().toStdString();
        EXPECT_EQ(result.line, 2);
        EXPECT_TRUE(result.problem == u"not valid UTF-8" ||
                    result.problem == u"holds a NUL character")
            << result.problem.toStdString();
    }
    EXPECT_EQ(parts.count(), 0);
    // Text in other scripts is fine when it is UTF-8.
    EXPECT_TRUE(load(u"{\"Code\":\"\u00c5S-\u0661\"}"_s).done);
}

TEST_P(LoadTest, RandomAndMutatedLinesNeverCrash)
{
    // Lines that are almost right are the ones that find the holes.
    const QByteArray seeds[] = {
        R"({"Code":"A-1","Group":"G","Price":"12.50","Added":"2024-02-29","Flag":1})",
        R"({"Code":"B-2","Price":-0.5,"Flag":"255"})",
    };
    static const char characters[] = "{}[]\":,.-+eE0123456789\\u\xc3\xa9\x00 ntrfalsenull";
    const QByteArray alphabet(characters, sizeof characters - 1);
    QRandomGenerator random(12);
    for (int round = 0; round < 400; ++round) {
        QByteArray line = seeds[round % 2];
        const int changes = 1 + random.bounded(4);
        for (int c = 0; c < changes; ++c) {
            const qsizetype at = random.bounded(line.size());
            const char with = alphabet[random.bounded(alphabet.size())];
            switch (random.bounded(3)) {
            case 0:
                line[at] = with;
                break;
            case 1:
                line.insert(at, with);
                break;
            default:
                line.remove(at, 1);
            }
        }
        const LoadResult result = loadBytes(line + '\n');
        EXPECT_TRUE(result.done || result.line == 1) << line.toHex().toStdString();
    }
}

TEST_P(LoadTest, DumpTextShowsDatesDecimalsAndClippedTexts)
{
    Part part = makePart(u"P  "_s, u"G"_s, "-0.5", 0);
    const FileSchema &schema = Part::fileSchema();
    EXPECT_EQ(RecordText::fieldText(*schema.field(u"Code"), part.value(u"Code")), u"P");
    EXPECT_EQ(RecordText::fieldText(*schema.field(u"Added"), part.value(u"Added")), QString());
    EXPECT_EQ(RecordText::fieldText(*schema.field(u"Price"), part.value(u"Price")), u"-0.50");
    part.Code = u"say \"hi\", then\ngo"_s;
    EXPECT_EQ(RecordText::csvQuote(part.Code), u"\"say \"\"hi\"\", then\ngo\"");
    // Spreadsheet cells never start a formula; amounts stay numbers.
    EXPECT_EQ(RecordText::csvQuote(u"=HYPERLINK(\"x\")"_s), u"\"'=HYPERLINK(\"\"x\"\")\"");
    EXPECT_EQ(RecordText::spreadsheetCell(u"@SUM(A1)"_s), u"'@SUM(A1)");
    EXPECT_EQ(RecordText::spreadsheetCell(u"+1+2"_s), u"'+1+2");
    EXPECT_EQ(RecordText::spreadsheetCell(u"-12.50"_s), u"-12.50");
    EXPECT_EQ(RecordText::spreadsheetCell(u"-1,234.50"_s), u"-1,234.50");
    EXPECT_EQ(RecordText::spreadsheetCell(u"Fuel"_s), u"Fuel");
    EXPECT_TRUE(RecordText::toJsonLine(part).contains(uR"("Code":"say \"hi\", then\ngo")"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, LoadTest, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace

namespace {

TEST(RecordText, TimesReadAndWrite)
{
    const FileSchema &schema = qaveq::testing::Part::fileSchema();
    Q_UNUSED(schema);
    // Times travel as HH:MM:SS.hh; a time out of the day is refused.
    struct Stamp : RecordOf<Stamp>
    {
        TimeOfDay At = 0;
        static const FileSchema &fileSchema()
        {
            static const FileSchema s =
                SchemaBuilder<Stamp>(u"Stamp"_s, u"STP"_s).time(u"At"_s, &Stamp::At).build();
            return s;
        }
    };
    Stamp stamp;
    ASSERT_EQ(
        RecordText::fromJson(QJsonDocument::fromJson(R"({"At":"13:05:09.5"})").object(), stamp),
        QString());
    EXPECT_EQ(stamp.At, ((13 * 3600 + 5 * 60 + 9) * 100) + 50);
    EXPECT_EQ(RecordText::toJsonLine(stamp), uR"({"At":"13:05:09.50"})");
    EXPECT_EQ(RecordText::fromJson(QJsonDocument::fromJson(R"({"At":"25:00"})").object(), stamp),
              u"STP:At is not a time HH:MM:SS.hh");
}

} // namespace
