#pragma once

#include "DemoCompany.h"

#include "records/EQCode.h"

#include "data/Company.h"
#include "data/FileSchema.h"

#include "core/Decimal.h"
#include "core/SuiteDate.h"

#include <QDate>
#include <QList>

#include <map>
#include <random>

namespace qaveq::demo {

// A fiscal period of the demonstration: its running number and first day.
struct Period
{
    int number;
    QDate start;
};

// What the builders of one demonstration company share: the company, its
// months, the random source that the day seeds (the same day gives the same
// company), the meters as the logs move them, and the running summary.
class DemoRun
{
public:
    DemoRun(data::Company &company, QDate today);

    data::Company &company;
    const QDate today;
    const QDate lastMonth;  // the first day of the month before today's
    const QDate firstMonth; // seventeen months before it
    QList<Period> periods;
    std::map<QString, EQCode> categories;
    std::map<QString, Decimal> meters;
    DemoCompany::Summary summary;

    // The index in `periods` of the month that starts on the date.
    int periodOf(const QDate &month) const;

    int between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

    // Throws data::DataError with the file's error: the company is written whole or not at all.
    static void check(const data::FileStatus &status, const QString &file);
    template <class R> void put(R &record)
    {
        check(company.file<R>().insert(record), R::fileSchema().name);
    }
    template <class R> void save(R &record)
    {
        check(company.file<R>().update(record), R::fileSchema().name);
    }
    template <class R> R fetched(R record, QStringView key)
    {
        check(company.file<R>().fetch(key, record), R::fileSchema().name);
        return record;
    }

    static Decimal cents(qint64 value) { return Decimal::fromUnits(value, 2); }
    static DayNumber day(const QDate &date) { return SuiteDate::fromQDate(date); }
    // The key of an equipment's cost category.
    static QString costRecordId(const QString &id, const QString &category)
    {
        return id.leftJustified(10, u' ') + category;
    }

private:
    std::mt19937 m_random;
};

} // namespace qaveq::demo
