#include "ReportDispatch.h"

#include "records/EQLimits.h"

using namespace Qt::StringLiterals;

namespace qaveq::ReportDispatch {

QString analysis(const EQLimits &definition)
{
    if (definition.ReportType == u"A")
        return u"PRINTEQANALYSIS"_s;
    if (definition.ReportType == u"S")
        return u"PRINTEQANALYSIS1"_s;
    if (definition.ReportType == u"M")
        return u"PRINTEQMAINTENANCE"_s;
    return {};
}

QString listing(const EQLimits &definition)
{
    const QString &format = definition.ReportFormat;
    if (format == u"M" || format == u"C" || format == u"D")
        return u"PRINTEQLISTING"_s;
    if (format == u"S")
        return u"PRINTEQLISTING1"_s;
    return {};
}

QString categoryList(const EQLimits &definition)
{
    return definition.DetailSummary == u"S" ? u"PRINTEQCATEGORYLIST"_s : u"PRINTEQCATEGORYLIST1"_s;
}

} // namespace qaveq::ReportDispatch
