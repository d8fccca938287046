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
        {u"doubled quotes are one",
         u'C',
         u"M00Q00",
         u"\"say \"\"hi\"\"\",X",
         {u"say \"hi\""_s, u"X"_s}},
        {u"only quotes", u'C', u"M00Q00", u"\"\"\"\"\"\",X", {u"\"\""_s, u"X"_s}},
        {u"quoted blanks kept", u'C', u"M00Q00", u"\"  a, b\",X", {u"  a, b"_s, u"X"_s}},
        {u"unclosed quote runs to the end",
         u'C',
         u"M00Q00",
         u"\"open, ended",
         {u"open, ended"_s, QString()}},
        {u"missing columns are empty",
         u'C',
         u"Q00S00F00U00",
         u"LDR-1,10",
         {u"LDR-1"_s, u"10"_s, QString(), QString()}},
        {u"empty columns", u'C', u"Q00S00F00", u",,5", {QString(), QString(), u"5"_s}},
        {u"trailing blanks end no field", u'C', u"Q00S00", u"LDR-1   ", {u"LDR-1"_s, QString()}},
        {u"a lone quote", u'C', u"Q00S00", u"\",5", {u",5"_s, QString()}},
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
    std::optional<QDate> date; // nothing: refused; a null date: no date (today)
};

TEST(ImportLineTest, ReadsEveryDateFormatAndOnlyRealDates)
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
        {u"MM/DD/YYYY", u"02/29/2024", QDate(2024, 2, 29)},
        {u"MM/DD/YYYY", u" 1/ 5/2025", QDate(2025, 1, 5)},
        {u"MM/DD/YYYY", u"1/1/1801", QDate(1801, 1, 1)},
        {u"MM/DD/YYYY", u"12/31/9999", QDate(9999, 12, 31)},
        // Two-digit years in the century window around 2026.
        {u"MM/DD/YY", u"01/15/47", QDate(1947, 1, 15)},
        {u"MM/DD/YY", u"01/15/46", QDate(2046, 1, 15)},
        // No date: today.
        {u"MM/DD/YYYY", u"", QDate()},
        {u"MM/DD/YYYY", u"   ", QDate()},
        // Not a real date, or not one the program can show: refused, never rolled over.
        {u"MM/DD/YYYY", u"13/01/2025", std::nullopt},
        {u"MM/DD/YYYY", u"13/45/2026", std::nullopt},
        {u"MM/DD/YYYY", u"02/30/2025", std::nullopt},
        {u"MM/DD/YYYY", u"02/29/2025", std::nullopt},
        {u"MM/DD/YYYY", u"03/00/2025", std::nullopt},
        {u"MM/DD/YYYY", u"2025-13-45", std::nullopt},
        {u"MM/DD/YYYY", u"1/1/99999", std::nullopt},
        {u"MM/DD/YYYY", u"12/31/1800", std::nullopt},
        {u"MM/DD/YYYY", u"1/1/2147483647", std::nullopt},
        {u"MM/DD/YYYY", u"99999999999/1/2025", std::nullopt},
        {u"MM/DD/YYYY", u"1/5/2025/7", std::nullopt},
        {u"MM/DD/YYYY", u"1/x5/2025", std::nullopt},
        {u"MM/DD/YYYY", u"+1/5/2025", std::nullopt},
        {u"MM/DD/YYYY", u"abc", std::nullopt},
        {u"YYYYMMDD", u"99999999", std::nullopt},
        {u"YYYYMMDD", u"2025011", std::nullopt},
        {u"MMDDYYYY", u"0115", std::nullopt},
    };
    for (const DateCase &c : cases) {
        const QString format = QString::fromUtf16(c.format);
        const QString text = QString::fromUtf16(c.text);
        const std::optional<DayNumber> day = ImportLine::date(text, format, 2026);
        ASSERT_EQ(day.has_value(), c.date.has_value())
            << format.toStdString() << " " << text.toStdString();
        if (day) {
            EXPECT_EQ(SuiteDate::toQDate(*day), *c.date)
                << format.toStdString() << " " << text.toStdString();
        }
    }
}

TEST(ImportLineTest, ReadsFieldsAtTheirWidths)
{
    const ImportLine::Format format{.fileFormat = ImportLayout::Comma,
                                    .dateFormat = u"MM/DD/YYYY"_s,
                                    .items = layout(u"Q00S00U00T00L00E00M00000C00#00"_s),
                                    .referenceYear = 2026};
    ImportLine::Fields fields;
    EXPECT_EQ(ImportLine::read(u"ABCDEFGHIJKL, 1.50,-2,rent,yard-north,42,"
                               "0123456789012345678901234567890123,skip,01234567890123456789,"
                               "1/5/2025"_s,
                               format, fields),
              QString());
    EXPECT_EQ(fields.equipmentId, u"ABCDEFGHIJ");
    EXPECT_EQ(fields.startMeter, Decimal::fromUnits(150, 2));
    EXPECT_EQ(fields.units, Decimal(-2));
    EXPECT_EQ(fields.chargeType, u"RENT");
    EXPECT_EQ(fields.location, u"YARD-");
    EXPECT_EQ(fields.employeeId, 42);
    EXPECT_EQ(fields.comment.size(), 30);
    EXPECT_EQ(fields.costCode, u"01234567890123");
    EXPECT_EQ(SuiteDate::toQDate(fields.date), QDate(2025, 1, 5));
}

struct ReadCase
{
    const char16_t *line;
    const char16_t *problem; // empty: the line reads
};

// Every value the import cannot read exactly is refused with what it is.
TEST(ImportLineTest, RefusesWhatItCannotReadExactly)
{
    const ImportLine::Format format{.fileFormat = ImportLayout::Comma,
                                    .dateFormat = u"MM/DD/YYYY"_s,
                                    .items = layout(u"Q00S00F00U00M00#00E00"_s),
                                    .referenceYear = 2026};
    const ReadCase cases[] = {
        {u"LDR-1,10,20.5,,note,1/5/2025,7", u""},
        {u"LDR-1, 10 ,20.50,-3,,,", u""},
        {u"LDR-1,10,abc,,,,", u"Meter End: abc Is Not a Number"},
        {u"LDR-1,10,12abc,,,,", u"Meter End: 12abc Is Not a Number"},
        {u"LDR-1,10,1e30,,,,", u"Meter End: 1e30 Is Not a Number"},
        {u"LDR-1,10,\" 1, 234 \",,,,", u"Meter End: 1, 234 Is Not a Number"},
        {u"LDR-1,10,.5,,,,", u"Meter End: .5 Is Not a Number"},
        {u"LDR-1,10,999999999999999999999999999999,,,,", u"Meter End: 99999999999999 Is Too Large"},
        {u"LDR-1,1000000000,,,,,", u"Meter Start: 1000000000 Is Too Large"},
        {u"LDR-1,999999999.99,,,,,", u""},
        {u"LDR-1,1.005,,,,,", u"Meter Start: 1.005 Has Too Many Decimals"},
        {u"LDR-1,1.500,,,,,", u""},
        {u"LDR-1,,,x1,,,", u"Units: x1 Is Not a Number"},
        {u"LDR-1,,,,,13/45/2026,", u"Date: 13/45/2026 Is Not a Date"},
        {u"LDR-1,,,,,02/30/2025,", u"Date: 02/30/2025 Is Not a Date"},
        {u"LDR-1,,,,,,-5", u"Emp ID: -5 Is Not an Employee Number"},
        {u"LDR-1,,,,,,2147483648", u"Emp ID: 2147483648 Is Not an Employee Number"},
        {u"LDR-1,,,,,,2147483647", u""},
        {u"LDR-1,,,,a\u0001b,,", u"Line Holds a Control Character"},
        {u"LDR-1,,,,a\tb,,", u"Line Holds a Control Character"},
        {u"LDR-1,,,,a\rb,,", u"Line Holds a Control Character"},
        {u"LDR-1,,,,a\u0085b,,", u"Line Holds a Control Character"},
        {u"LDR-1,,,,\"ab\"c,,", u"Text Follows a Closing Quote"},
        {u"LDR-1,,,,\"open,,", u"A Quoted Field Is Not Closed"},
        // The first value that cannot be read is the one named.
        {u"LDR-1,x,y,,,bad,", u"Meter Start: x Is Not a Number"},
    };
    for (const ReadCase &c : cases) {
        const QString line = QString::fromUtf16(c.line);
        ImportLine::Fields fields;
        EXPECT_EQ(ImportLine::read(line, format, fields), QString::fromUtf16(c.problem))
            << line.toStdString();
    }
}

TEST(ImportLineTest, FormulaGuardsComeOffAndOnExactly)
{
    const std::pair<const char16_t *, const char16_t *> cases[] = {
        {u"=2*3", u"'=2*3"},
        {u"+1", u"'+1"},
        {u"-x", u"'-x"},
        {u"@a", u"'@a"},
        {u"'=x", u"''=x"},
        {u"'tis", u"'tis"},
        {u"a=b", u"a=b"},
        {u"'", u"'"},
        {u"", u""},
        {u"''", u"''"},
        {u"=HYPERLINK(\"x\")", u"'=HYPERLINK(\"x\")"},
    };
    for (const auto &[text, guarded] : cases) {
        const QString plain = QString::fromUtf16(text);
        EXPECT_EQ(ImportLine::guardedFromFormula(plain), QString::fromUtf16(guarded));
        const QString guardedText = ImportLine::guardedFromFormula(plain);
        EXPECT_EQ(ImportLine::unguardedFromFormula(guardedText).toString(), plain);
    }
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
        const std::optional<DayNumber> day = ImportLine::date(line, dateFormat, 2026);
        if (day && *day != 0) {
            ASSERT_TRUE(SuiteDate::isShown(*day)) << line.toStdString();
        }
    }
}

} // namespace
