#include "transfer/ImportLine.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

QList<ImportLayout::Item> layout(const QString &text)
{
    return ImportLayout::items(text);
}

struct SplitCase
{
    const char16_t *name;
    QChar format;
    const char16_t *layout;
    const char16_t *line;
    QStringList fields;
};

TEST(ImportLineTest, SplitsEachFormatAsWritten)
{
    const SplitCase cases[] = {
        {u"plain comma", u'C', u"Q00S00F00", u"LDR-1,10,20", {u"LDR-1"_s, u"10"_s, u"20"_s}},
        {u"quoted comma kept",
         u'C',
         u"Q00M00#00",
         u"LDR-1,\"Fuel, oil\",01/05/2025",
         {u"LDR-1"_s, u"Fuel, oil"_s, u"01/05/2025"_s}},
        {u"doubled quotes", u'C', u"M00Q00", u"\"say \"\"hi\"\"\",X", {u"say \" hi\" "_s, u"X"_s}},
        {u"unclosed quote runs to the end",
         u'C',
         u"M00Q00",
         u"\"open, ended",
         {u"open, ende"_s, QString()}},
        {u"missing columns are empty",
         u'C',
         u"Q00S00F00U00",
         u"LDR-1,10",
         {u"LDR-1"_s, u"10"_s, QString(), QString()}},
        {u"empty columns", u'C', u"Q00S00F00", u",,5", {QString(), QString(), u"5"_s}},
        {u"trailing blanks end no field", u'C', u"Q00S00", u"LDR-1   ", {u"LDR-1"_s, QString()}},
        {u"a lone quote", u'C', u"Q00S00", u"\",5", {u","_s, QString()}},
        {u"tab", u'T', u"Q00M00S00", u"LDR-1\tA, B\t7", {u"LDR-1"_s, u"A, B"_s, u"7"_s}},
        {u"tab quoted", u'T', u"Q00M00", u"LDR-1\t\"hi\"", {u"LDR-1"_s, u"hi"_s}},
        {u"fixed",
         u'F',
         u"Q10S08F08",
         u"LDR-1     10.00   20.00",
         {u"LDR-1     "_s, u"10.00   "_s, u"20.00"_s}},
        {u"fixed short line", u'F', u"Q10S08F08", u"LDR-1", {u"LDR-1"_s, QString(), QString()}},
    };
    for (const SplitCase &c : cases)
        EXPECT_EQ(ImportLine::split(c.line, c.format, layout(QString::fromUtf16(c.layout))),
                  c.fields)
            << QString::fromUtf16(c.name).toStdString();
}

struct DateCase
{
    const char16_t *format;
    const char16_t *text;
    QDate date;
};

TEST(ImportLineTest, ReadsEveryDateFormat)
{
    const QDate jan15(2025, 1, 15);
    const DateCase cases[] = {
        {u"MM/DD/YY", u"01/15/25", jan15},
        {u"MM-DD-YY", u"01-15-25", jan15},
        {u"MMDDYY", u"011525", jan15},
        {u"MM/DD/YYYY", u"1/15/2025", jan15},
        {u"MM-DD-YYYY", u"01-15-2025", jan15},
        {u"MMDDYYYY", u"01152025", jan15},
        {u"DD/MM/YY", u"15/01/25", jan15},
        {u"DD-MM-YY", u"15-01-25", jan15},
        {u"DDMMYY", u"150125", jan15},
        {u"DD/MM/YYYY", u"15/01/2025", jan15},
        {u"DD-MM-YYYY", u"15-01-2025", jan15},
        {u"DDMMYYYY", u"15012025", jan15},
        {u"YYYY-MM-DD", u"2025-01-15", jan15},
        {u"YYYYMMDD", u"20250115", jan15},
        // The date function's carries.
        {u"MM/DD/YYYY", u"13/01/2025", QDate(2026, 1, 1)},
        {u"MM/DD/YYYY", u"02/30/2025", QDate(2025, 3, 2)},
        {u"MM/DD/YYYY", u"03/00/2025", QDate(2025, 2, 28)},
        // Two-digit years in the century window around 2026.
        {u"MM/DD/YY", u"01/15/47", QDate(1947, 1, 15)},
        {u"MM/DD/YY", u"01/15/46", QDate(2046, 1, 15)},
        {u"MM/DD/YYYY", u" 1/ 5/2025", QDate(2025, 1, 5)},
        // No date.
        {u"MM/DD/YYYY", u"", QDate()},
        {u"MM/DD/YYYY", u"   ", QDate()},
        {u"MM/DD/YYYY", u"abc", QDate()},
        {u"YYYYMMDD", u"99999999", QDate()},
        {u"MM/DD/YYYY", u"1/1/2147483647", QDate()},
        // A part that is no number is 0, and the month carries.
        {u"MM/DD/YYYY", u"99999999999/1/2025", QDate(2024, 12, 1)},
    };
    for (const DateCase &c : cases) {
        const QString format = QString::fromUtf16(c.format);
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(SuiteDate::toQDate(ImportLine::date(text, format, 2026)), c.date)
            << format.toStdString() << " " << text.toStdString();
    }
}

TEST(ImportLineTest, ReadsFieldsAtTheirWidths)
{
    const ImportLine::Format format{.fileFormat = ImportLayout::Comma,
                                    .dateFormat = u"MM/DD/YYYY"_s,
                                    .items = layout(u"Q00S00U00T00L00E00M00000C00#00"_s),
                                    .referenceYear = 2026};
    const ImportLine::Fields fields =
        ImportLine::read(u"ABCDEFGHIJKL, 1.005,x1,rent,yard-north,42,"
                         "0123456789012345678901234567890123,skip,01234567890123456789,1/5/2025"_s,
                         format);
    EXPECT_EQ(fields.equipmentId, u"ABCDEFGHIJ");
    EXPECT_EQ(fields.startMeter, Decimal::fromUnits(101, 2)); // 1.005 rounded to cents
    EXPECT_EQ(fields.units, Decimal());                       // not a number
    EXPECT_EQ(fields.chargeType, u"RENT");
    EXPECT_EQ(fields.location, u"YARD-");
    EXPECT_EQ(fields.employeeId, 42);
    EXPECT_EQ(fields.comment.size(), 30);
    EXPECT_EQ(fields.costCode, u"01234567890123");
    EXPECT_EQ(SuiteDate::toQDate(fields.date), QDate(2025, 1, 5));

    const ImportLine::Fields odd = ImportLine::read(u"X,,,,,-5"_s, format);
    EXPECT_EQ(odd.employeeId, 0); // not an employee number
}

// Random lines of the characters that matter to the splitter, in every
// format, never crash, never read outside the line and always give one
// field per layout item, none longer than the line.
TEST(ImportLineTest, RandomLinesNeverBreakTheReader)
{
    std::mt19937 random(20250115);
    const QString alphabet = u"\",\t 0123456789/-aZ."_s;
    const QList<ImportLayout::Item> items = layout(u"Q03M00S05#00E02U00C04"_s);
    const QStringList formats = ImportLayout::dateFormats();
    for (int round = 0; round < 20000; ++round) {
        QString line;
        const int length = int(random() % 40);
        for (int i = 0; i < length; ++i)
            line += alphabet.at(int(random() % alphabet.size()));
        for (QChar format : {ImportLayout::Comma, ImportLayout::Tab, ImportLayout::Fixed}) {
            const QStringList fields = ImportLine::split(line, format, items);
            ASSERT_EQ(fields.size(), items.size()) << line.toStdString();
            for (const QString &field : fields)
                ASSERT_LE(field.size(), line.size()) << line.toStdString();
        }
        const QString &dateFormat = formats.at(int(random() % formats.size()));
        const DayNumber day = ImportLine::date(line, dateFormat, 2026);
        ASSERT_GE(day, 0) << line.toStdString();
        if (day != 0) {
            ASSERT_TRUE(SuiteDate::toQDate(day).isValid()) << line.toStdString();
        }
    }
}

} // namespace
