#include "SuiteDate.h"

namespace qaveq {

namespace {

// Julian day of day number 0: day 4 is 1 January 1801.
const qint64 JulianDayOfZero = QDate(1801, 1, 1).toJulianDay() - 4;

int floorDiv(int a, int b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

namespace SuiteDate {

QDate toQDate(DayNumber day)
{
    if (day == 0)
        return {};
    return QDate::fromJulianDay(JulianDayOfZero + day);
}

DayNumber fromQDate(const QDate &date)
{
    if (!date.isValid())
        return 0;
    const qint64 day = date.toJulianDay() - JulianDayOfZero;
    return day > 0 && day <= std::numeric_limits<DayNumber>::max() ? static_cast<DayNumber>(day)
                                                                   : 0;
}

DayNumber fromYmd(int year, int month, int day)
{
    return fromQDate(QDate(year, month, day));
}

DayNumber lastShown()
{
    static const DayNumber last = fromYmd(LastYear, 12, 31);
    return last;
}

bool isShown(DayNumber day)
{
    return day >= fromYmd(FirstYear, 1, 1) && day <= lastShown();
}

int year(DayNumber day)
{
    return toQDate(day).year();
}

int month(DayNumber day)
{
    return toQDate(day).month();
}

int dayOfMonth(DayNumber day)
{
    return toQDate(day).day();
}

DayNumber make(int month, int day, int year)
{
    const int monthIndex = year * 12 + (month - 1);
    const int carriedYear = floorDiv(monthIndex, 12);
    const int carriedMonth = monthIndex - carriedYear * 12 + 1;
    return fromQDate(QDate(carriedYear, carriedMonth, 1).addDays(day - 1));
}

int expandYear(int year, int referenceYear)
{
    if (year < 0 || year > 99)
        return year;
    const int last = referenceYear + 20;
    int candidate = (last / 100) * 100 + year;
    if (candidate > last)
        candidate -= 100;
    return candidate;
}

} // namespace SuiteDate

namespace SuiteTime {

QTime toQTime(TimeOfDay time)
{
    return QTime::fromMSecsSinceStartOfDay(time * 10);
}

TimeOfDay fromQTime(const QTime &time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / 10 : 0;
}

} // namespace SuiteTime

} // namespace qaveq
