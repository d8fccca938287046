#include "reports/ReportDispatch.h"
#include "records/EQLimits.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

TEST(ReportDispatch, ServersRunTheReportTheCodeNames)
{
    EQLimits definition;
    const auto analysis = [&definition](const char16_t *code) {
        definition.ReportType = QString::fromUtf16(code);
        return ReportDispatch::analysis(definition);
    };
    EXPECT_EQ(analysis(u"A"), u"PRINTEQANALYSIS");
    EXPECT_EQ(analysis(u"S"), u"PRINTEQANALYSIS1");
    EXPECT_EQ(analysis(u"M"), u"PRINTEQMAINTENANCE");
    EXPECT_EQ(analysis(u"a"), QString());
    EXPECT_EQ(analysis(u""), QString());
    for (const char16_t *code : {u"M", u"C", u"D"}) {
        definition.ReportFormat = QString::fromUtf16(code);
        EXPECT_EQ(ReportDispatch::listing(definition), u"PRINTEQLISTING");
    }
    definition.ReportFormat = u"S"_s;
    EXPECT_EQ(ReportDispatch::listing(definition), u"PRINTEQLISTING1");
    definition.ReportFormat = u"X"_s;
    EXPECT_EQ(ReportDispatch::listing(definition), QString());
    definition.DetailSummary = u"S"_s;
    EXPECT_EQ(ReportDispatch::categoryList(definition), u"PRINTEQCATEGORYLIST");
    definition.DetailSummary = u"D"_s;
    EXPECT_EQ(ReportDispatch::categoryList(definition), u"PRINTEQCATEGORYLIST1");
}

} // namespace
