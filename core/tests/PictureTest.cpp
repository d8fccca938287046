#include "core/Picture.h"

#include <QLocale>

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace qaveq;

namespace {

struct NumberCase
{
    const char *picture;
    const char *value;
    const char *expected;
};

TEST(Picture, Numbers)
{
    const NumberCase cases[] = {
        {"@n-15.2", "1234567.891", "1,234,567.89"},
        {"@n-15.2", "-1234.5", "-1,234.50"},
        {"@n-15.2", "0", "0.00"},
        {"@n_13", "1234567", "1234567"},
        {"@n_13", "12.5", "13"},
        {"@n8.2", "1234.5", "1,234.50"},
        {"@n8.2", "-3", "-3.00"},
        {"@n-19.2b", "0", ""},
        {"@n-19.2b", "0.004", ""},
        {"@n-19.2b", "-0.5", "-0.50"},
        {"@N_6B", "0", ""},
        {"@N_6B", "123456", "123456"},
        {"@n02", "7", "07"},
        {"@n02", "12", "12"},
        {"@n06", "-42", "-00042"},
        {"n3", "5", "5"},
        {"@n-8.0b", "36", "36"},
        {"@n13", "1000000", "1,000,000"},
        {"@n13", "100", "100"},
        {"@n13", "-1000", "-1,000"},
        {"@n-21.2", "-999999999999.99", "-999,999,999,999.99"},
    };
    for (const NumberCase &c : cases)
        EXPECT_EQ(Picture::parse(QString::fromLatin1(c.picture))
                      .format(Decimal::parse(QString::fromLatin1(c.value)).value()),
                  QString::fromLatin1(c.expected))
            << c.picture << " " << c.value;
}

TEST(Picture, Dates)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const DayNumber day = SuiteDate::fromYmd(2025, 3, 7);
    EXPECT_EQ(Picture::parse(u"@d1").format(day), u"3/07/25"_s);
    EXPECT_EQ(Picture::parse(u"@D01").format(day), u"03/07/25"_s);
    EXPECT_EQ(Picture::parse(u"@d2").format(day), u"3/07/2025"_s);
    EXPECT_EQ(Picture::parse(u"@d14").format(day), u"03/2025"_s);
    EXPECT_EQ(Picture::parse(u"@d14b").format(0), QString());
    EXPECT_EQ(Picture::parse(u"@d1b").format(0), QString());
    EXPECT_EQ(Picture::parse(u"@d1").format(0), QString());
    EXPECT_EQ(Picture::parse(u"@d17").format(day), u"3/7/25"_s);
    // Two-digit months and days, and a year ending in 0x.
    const DayNumber late = SuiteDate::fromYmd(2105, 12, 31);
    EXPECT_EQ(Picture::parse(u"@d1").format(late), u"12/31/05"_s);
    EXPECT_EQ(Picture::parse(u"@d01").format(late), u"12/31/05"_s);
    EXPECT_EQ(Picture::parse(u"@d2").format(late), u"12/31/2105"_s);
    EXPECT_EQ(Picture::parse(u"@d14").format(late), u"12/2105"_s);
    EXPECT_EQ(Picture::parse(u"@d02").format(SuiteDate::fromYmd(1801, 1, 1)), u"01/01/1801"_s);
}

TEST(Picture, TimesAndTexts)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const TimeOfDay afternoon = SuiteTime::fromQTime(QTime(17, 5));
    EXPECT_EQ(Picture::parse(u"@t3").format(afternoon), u"5:05PM"_s);
    EXPECT_EQ(Picture::parse(u"@t3").format(SuiteTime::fromQTime(QTime(0, 30))), u"12:30AM"_s);
    EXPECT_EQ(Picture::parse(u"@t7").format(afternoon),
              QLocale().toString(QTime(17, 5), QLocale::ShortFormat));
    EXPECT_EQ(Picture::parse(u"@t1").format(afternoon), u"17:05"_s);
    EXPECT_EQ(Picture::parse(u"@s10").format(u"EXCAVATOR-220"_s), u"EXCAVATOR-"_s);
    EXPECT_EQ(Picture::parse(u"@S3").format(u"ab"_s), u"ab"_s);
}

TEST(Picture, UnknownPicturesAreErrors)
{
    for (const char16_t *bad : {u"@x10", u"@n", u"@d99", u"@t9", u"@s", u"@n-15.2q", u""})
        EXPECT_THROW(Picture::parse(bad), std::invalid_argument);
}

} // namespace
