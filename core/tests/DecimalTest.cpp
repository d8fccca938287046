#include "core/Decimal.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using qaveq::Decimal;
using qaveq::DecimalOverflow;

namespace {

Decimal d(const char *text)
{
    return Decimal::parse(QString::fromLatin1(text)).value();
}

TEST(Decimal, ParsesSuiteNumberTexts)
{
    EXPECT_EQ(d("1,234.50"), Decimal::fromUnits(123450, 2));
    EXPECT_EQ(d("-12.5"), Decimal::fromUnits(-125, 1));
    EXPECT_EQ(d(""), Decimal());
    EXPECT_EQ(d("   "), Decimal());
    EXPECT_EQ(d("+7"), Decimal(7));
    EXPECT_EQ(d(".5"), Decimal::fromUnits(5, 1));
    for (const char *bad : {"abc", "1.2.3", "12-", ",12", "12,", "-", "1e5", "1,2.3.4"})
        EXPECT_FALSE(Decimal::parse(QString::fromLatin1(bad)).has_value()) << bad;
    EXPECT_EQ(Decimal::fromText(u"not a number"), Decimal());
}

TEST(Decimal, ThePlainGrammarOfFiles)
{
    EXPECT_EQ(Decimal::parsePlain(u"-1234.50"), d("-1234.5"));
    EXPECT_EQ(Decimal::parsePlain(u"7"), Decimal(7));
    for (const char16_t *bad : {u"1,5", u"1,234.50", u"", u" 1", u"1 ", u"+1", u".5", u"5.", u"-",
                                u"1e5", u"\u0661\u0662", u"\uff11", u"--1"})
        EXPECT_FALSE(Decimal::parsePlain(bad).has_value()) << QString::fromUtf16(bad).toStdString();
    // Digits of other scripts are not amounts in either grammar.
    EXPECT_FALSE(Decimal::parse(u"\u0661\u0662").has_value());
}

TEST(Decimal, NumbersBeyondTheRangeAreRefusedNeverThrown)
{
    EXPECT_FALSE(Decimal::parse(u"1234567890123456789012345678901234567890").has_value());
    EXPECT_FALSE(Decimal::parsePlain(QString(400, u'9')).has_value());
    // Random texts from the number characters: parsing never throws.
    const QString alphabet = u"0123456789.,-+ e\u0661"_s;
    quint32 seed = 7;
    for (int round = 0; round < 2000; ++round) {
        QString text;
        seed = seed * 1664525u + 1013904223u;
        const int length = int(seed % 45);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += alphabet[int(seed >> 8) % alphabet.size()];
        }
        EXPECT_NO_THROW((void)Decimal::parse(text)) << text.toStdString();
        EXPECT_NO_THROW((void)Decimal::parsePlain(text)) << text.toStdString();
    }
}

TEST(Decimal, StoreRuleRoundsHalfAwayFromZero)
{
    EXPECT_EQ(d("2.345").stored(15, 2), d("2.35"));
    EXPECT_EQ(d("-2.345").stored(15, 2), d("-2.35"));
    EXPECT_EQ(d("2.344999").stored(15, 2), d("2.34"));
    EXPECT_EQ(d("0.005").stored(15, 2), d("0.01"));
    EXPECT_EQ(d("-0.004").stored(15, 2), Decimal());
    EXPECT_EQ(d("12.5").stored(3, 0), Decimal(13));
}

TEST(Decimal, OverflowOfDeclaredDigitsIsAnError)
{
    EXPECT_NO_THROW(d("9999999999999.99").stored(15, 2));
    EXPECT_THROW(d("10000000000000.00").stored(15, 2), DecimalOverflow);
    // Rounding can carry into a new digit.
    EXPECT_THROW(d("9999999999999.995").stored(15, 2), DecimalOverflow);
    EXPECT_THROW(Decimal(1000).stored(3, 0), DecimalOverflow);
    EXPECT_THROW(Decimal(-1000).stored(3, 0), DecimalOverflow);
    EXPECT_FALSE(Decimal(1000).fits(3, 0));
}

TEST(Decimal, ArithmeticIsExact)
{
    EXPECT_EQ(d("0.1") + d("0.2"), d("0.3"));
    EXPECT_EQ(d("1000.00") - d("100.00"), Decimal(900));
    EXPECT_EQ(d("1.25") * d("1.25"), d("1.5625"));
    EXPECT_EQ(Decimal(900) / Decimal(3), Decimal(300));
    // 1/3 carries 18 places; three of them make 0.999..., stored as 1.00.
    const Decimal third = Decimal(1) / Decimal(3);
    EXPECT_EQ(third.places(), Decimal::MaxPlaces);
    EXPECT_EQ((third + third + third).stored(15, 2), Decimal(1));
    EXPECT_EQ((Decimal(2) / Decimal(3)).toString(2), u"0.67"_s);
    EXPECT_EQ((Decimal(-2) / Decimal(3)).toString(2), u"-0.67"_s);
    EXPECT_THROW(Decimal(1) / Decimal(), std::domain_error);
}

TEST(Decimal, IntermediatesThatLeaveTheRangeAreErrors)
{
    const Decimal huge = d("9999999999999.99"); // the largest 15.2 amount
    EXPECT_THROW(huge * huge * huge, DecimalOverflow);
    // A quotient is carried to 18 places: a product of two amounts is too big for that.
    EXPECT_THROW(huge * huge / Decimal(3), DecimalOverflow);
    EXPECT_NO_THROW(huge * huge);
}

TEST(Decimal, ComparesAcrossPlaces)
{
    EXPECT_EQ(d("1.50"), d("1.5"));
    EXPECT_LT(d("-0.01"), Decimal());
    EXPECT_GT(d("100.001"), d("100"));
    EXPECT_TRUE(d("0.00").isZero());
}

TEST(Decimal, TextAndUnits)
{
    EXPECT_EQ(d("1234.5").toString(2), u"1234.50"_s);
    EXPECT_EQ(d("-0.05").toString(2), u"-0.05"_s);
    EXPECT_EQ(d("-0.004").toString(2), u"0.00"_s);
    EXPECT_EQ(d("12.345").toString(), u"12.345"_s);
    EXPECT_EQ(d("7").toString(), u"7"_s);
    EXPECT_EQ(d("0").toString(3), u"0.000"_s);
    // Units beyond 64 bits, and a sign kept ahead of leading zeros.
    EXPECT_EQ(d("-123456789012.123456789").toString(), u"-123456789012.123456789"_s);
    EXPECT_EQ(d("-0.000000000000000001").toString(), u"-0.000000000000000001"_s);
    EXPECT_EQ(d("12.345").unitsAt(2), 1235);
    EXPECT_EQ(Decimal::fromDouble(666.666666, 2), d("666.67"));
    EXPECT_EQ(Decimal::fromDouble(-0.125, 2), d("-0.13"));
}

} // namespace
