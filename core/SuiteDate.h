#pragma once

#include <QDate>
#include <QTime>
#include <QtGlobal>

namespace qaveq {

// A date of the suite's standard calendar: the number of days where day 4 is
// 1 January 1801. 0 means "no date".
using DayNumber = qint32;

// Time of day in hundredths of a second since midnight.
using TimeOfDay = qint32;

namespace SuiteDate {

QDate toQDate(DayNumber day);                    // null QDate for 0
DayNumber fromQDate(const QDate &date);          // 0 for a null or invalid date
DayNumber fromYmd(int year, int month, int day); // 0 when not a real date

// The years a date may have: those the program can show and dump (four figures).
constexpr int FirstYear = 1801;
constexpr int LastYear = 9999;
DayNumber lastShown(); // 31 December 9999
// A real date of the years FirstYear to LastYear (not 0).
bool isShown(DayNumber day);

int year(DayNumber day);
int month(DayNumber day);
int dayOfMonth(DayNumber day);

// The runtime's date function: months above 12 (or below 1) carry into later
// (earlier) years, and days past the month's end carry into the following
// months; day 0 is the last day of the previous month.
DayNumber make(int month, int day, int year);

// Two-digit years fall in the century window of the 100 years that end 20
// years after `referenceYear` (with 2026: 47 is 1947, 46 is 2046). Years of
// three or more digits are returned as they are.
int expandYear(int year, int referenceYear);

} // namespace SuiteDate

namespace SuiteTime {

QTime toQTime(TimeOfDay time);
TimeOfDay fromQTime(const QTime &time);

} // namespace SuiteTime

} // namespace qaveq
