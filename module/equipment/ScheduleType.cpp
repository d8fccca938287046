#include "ScheduleType.h"

using namespace Qt::StringLiterals;

namespace qaveq::ScheduleType {

QString normalized(const QString &code)
{
    return code == u"M" || code == u"E" || code == u"B" ? code : u"N"_s;
}

QStringList choices()
{
    return {u"None"_s, u"Meter"_s, u"Elapsed Time"_s, u"Meter or Elapsed Time"_s};
}

QStringList codes()
{
    return {u"N"_s, u"M"_s, u"E"_s, u"B"_s};
}

bool showsMeter(const QString &code)
{
    const QString type = normalized(code);
    return type == u"M" || type == u"B";
}

bool showsTime(const QString &code)
{
    const QString type = normalized(code);
    return type == u"E" || type == u"B";
}

} // namespace qaveq::ScheduleType
