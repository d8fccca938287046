#include "core/SuiteDate.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace qaveq;

namespace {

TEST(SuiteDate, DayFourIsFirstOfJanuary1801)
{
    EXPECT_EQ(SuiteDate::fromYmd(1801, 1, 1), 4);
    EXPECT_EQ(SuiteDate::toQDate(4), QDate(1801, 1, 1));
    EXPECT_EQ(SuiteDate::toQDate(1), QDate(1800, 12, 29));
    EXPECT_FALSE(SuiteDate::toQDate(0).isValid());
    EXPECT_EQ(SuiteDate::fromQDate(QDate()), 0);
    EXPECT_EQ(SuiteDate::fromYmd(2024, 2, 30), 0);
    const DayNumber d = SuiteDate::fromYmd(2026, 12, 8);
    EXPECT_EQ(SuiteDate::year(d), 2026);
    EXPECT_EQ(SuiteDate::month(d), 12);
    EXPECT_EQ(SuiteDate::dayOfMonth(d), 8);
    EXPECT_EQ(SuiteDate::fromYmd(2026, 12, 9) - d, 1);
}

struct Carry
{
    int month, day, year;
    QDate expected;
};

TEST(SuiteDate, DateFunctionCarriesMonthsAndDays)
{
    const Carry cases[] = {
        {13, 1, 2024, QDate(2025, 1, 1)},     {12, 1, 2024, QDate(2024, 12, 1)},
        {25, 1, 2024, QDate(2026, 1, 1)},     {2, 30, 2024, QDate(2024, 3, 1)},
        {2, 30, 2023, QDate(2023, 3, 2)},     {3, 0, 2024, QDate(2024, 2, 29)},
        {0, 1, 2024, QDate(2023, 12, 1)},     {1, 32, 2024, QDate(2024, 2, 1)},
        {11 + 2, 1, 2024, QDate(2025, 1, 1)},
    };
    for (const Carry &c : cases)
        EXPECT_EQ(SuiteDate::toQDate(SuiteDate::make(c.month, c.day, c.year)), c.expected)
            << c.month << "/" << c.day << "/" << c.year;
}

TEST(SuiteDate, OnlyTheYearsThatCanBeShownAreShown)
{
    EXPECT_TRUE(SuiteDate::isShown(SuiteDate::fromYmd(1801, 1, 1)));
    EXPECT_TRUE(SuiteDate::isShown(SuiteDate::fromYmd(9999, 12, 31)));
    EXPECT_EQ(SuiteDate::lastShown(), SuiteDate::fromYmd(9999, 12, 31));
    EXPECT_FALSE(SuiteDate::isShown(0));
    EXPECT_FALSE(SuiteDate::isShown(3)); // 31 December 1800
    EXPECT_FALSE(SuiteDate::isShown(SuiteDate::fromYmd(10000, 1, 1)));
    EXPECT_FALSE(SuiteDate::isShown(SuiteDate::fromYmd(99999, 1, 1)));
}

TEST(SuiteDate, CenturyWindowForTwoDigitYears)
{
    EXPECT_EQ(SuiteDate::expandYear(46, 2026), 2046);
    EXPECT_EQ(SuiteDate::expandYear(47, 2026), 1947);
    EXPECT_EQ(SuiteDate::expandYear(0, 2026), 2000);
    EXPECT_EQ(SuiteDate::expandYear(99, 2026), 1999);
    EXPECT_EQ(SuiteDate::expandYear(26, 2026), 2026);
    EXPECT_EQ(SuiteDate::expandYear(2024, 2026), 2024);
}

TEST(SuiteTime, HundredthsSinceMidnight)
{
    EXPECT_EQ(SuiteTime::fromQTime(QTime(0, 0, 1)), 100);
    EXPECT_EQ(SuiteTime::fromQTime(QTime(13, 30)), (13 * 3600 + 30 * 60) * 100);
    EXPECT_EQ(SuiteTime::toQTime(4500), QTime(0, 0, 45));
}

} // namespace
