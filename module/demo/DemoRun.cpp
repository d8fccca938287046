#include "DemoRun.h"

using namespace Qt::StringLiterals;

namespace qaveq::demo {

DemoRun::DemoRun(data::Company &company, QDate today)
    : company(company)
    , today(today)
    , lastMonth(QDate(today.year(), today.month(), 1).addMonths(-1))
    , firstMonth(lastMonth.addMonths(-17))
    , m_random(static_cast<unsigned>(today.toJulianDay()))
{}

int DemoRun::periodOf(const QDate &month) const
{
    for (int i = 0; i < periods.size(); ++i)
        if (periods[i].start == month)
            return i;
    throw data::DataError("no fiscal period for a demonstration month");
}

void DemoRun::check(const data::FileStatus &status, const QString &file)
{
    if (!status)
        throw data::DataError((file + u": "_s + status.error().text()).toStdString());
}

} // namespace qaveq::demo
