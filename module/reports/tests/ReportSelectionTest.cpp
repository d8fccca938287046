#include "reports/ReportSelection.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "records/ModuleFiles.h"
#include "records/UserDef.h"
#include "reports/LimitsLines.h"

#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class ReportSelectionTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    const DayNumber today = SuiteDate::fromYmd(2026, 3, 15);

    void SetUp() override
    {
        // ID, description, class, active, colour (UD1)
        const struct
        {
            const char16_t *id, *description, *classCode;
            quint8 active;
            const char16_t *colour;
        } fleet[] = {
            {u"DOZ-1", u"bulldozer", u"EARTH", 1, u"Yellow"},
            {u"EXC-1", u"Excavator", u"EARTH", 1, u"Yellow"},
            {u"LDR-1", u"Loader", u"", 0, u"Red"},
            {u"TRK-1", u"dump truck", u"TRUCK", 1, u"Red"},
            {u"TRK-2", u"Water Truck", u"TRUCK", 1, u"White"},
        };
        for (const auto &f : fleet) {
            EQHeader piece;
            piece.EquipmentID = QString::fromUtf16(f.id);
            piece.Description = QString::fromUtf16(f.description);
            piece.ClassCode = QString::fromUtf16(f.classCode);
            piece.Active = f.active;
            piece.UD1 = QString::fromUtf16(f.colour);
            ASSERT_TRUE(company.file<EQHeader>().insert(piece).isOk());
        }
    }

    EQLimits stored(EQLimits definition)
    {
        definition.Report = definition.Report.isEmpty() ? u"Analysis"_s : definition.Report;
        EXPECT_TRUE(company.file<EQLimits>().insert(definition).isOk());
        return definition;
    }

    void member(const EQLimits &definition, const QString &kind, const QString &value)
    {
        LimList entry;
        entry.FileName = u"EQLimits"_s;
        entry.LimitID = static_cast<qint32>(definition.LimitID);
        entry.Kind = kind;
        entry.Value = value;
        ASSERT_TRUE(company.file<LimList>().insert(entry).isOk());
    }

    QStringList ids(const EQLimits &definition)
    {
        QStringList found;
        for (const SelectedEquipment &piece :
             ReportSelection(company, definition, today).equipment())
            found.append(piece.id);
        return found;
    }
};

TEST_F(ReportSelectionTest, EachKindOfEquipmentSelection)
{
    EQLimits all = stored({});
    EXPECT_EQ(ids(all), (QStringList{u"DOZ-1"_s, u"EXC-1"_s, u"TRK-1"_s, u"TRK-2"_s}))
        << "inactive equipment only when included";
    all.IncludeInactive = 1;
    EXPECT_EQ(ids(all).size(), 5);

    EQLimits range;
    range.SelectedEquipment = 1;
    range.EquipmentFrom = u"EXC-1"_s;
    EXPECT_EQ(ids(stored(range)), (QStringList{u"EXC-1"_s, u"TRK-1"_s, u"TRK-2"_s}))
        << "a blank To is no upper bound";
    range.EquipmentTo = u"TRK-1"_s;
    EXPECT_EQ(ids(stored(range)), (QStringList{u"EXC-1"_s, u"TRK-1"_s}));

    EQLimits listed;
    listed.SelectedEquipment = 2;
    EQLimits list = stored(listed);
    member(list, ListKind::Equipment, u"TRK-2"_s);
    member(list, ListKind::Equipment, u"DOZ-1"_s);
    member(list, ListKind::Category, u"EXC-1"_s); // another kind of entry
    EXPECT_EQ(ids(list), (QStringList{u"DOZ-1"_s, u"TRK-2"_s}));
}

TEST_F(ReportSelectionTest, ClassesUserDefinedFiltersAndTheSortByDescription)
{
    EQLimits classes;
    classes.IncludeInactive = 1;
    classes.SelectedClass = 1;
    classes.ClassFrom = u"EARTH"_s;
    EXPECT_EQ(ids(stored(classes)), (QStringList{u"DOZ-1"_s, u"EXC-1"_s, u"TRK-1"_s, u"TRK-2"_s}))
        << "a blank To is no upper bound; a blank class lies below EARTH";
    classes.ClassTo = u"EARTH"_s;
    EXPECT_EQ(ids(stored(classes)), (QStringList{u"DOZ-1"_s, u"EXC-1"_s}));

    EQLimits everything;
    everything.IncludeInactive = 1;
    EQLimits coloured = stored(everything);
    member(coloured, ListKind::UserDefined, u"1=red"_s);
    member(coloured, ListKind::UserDefined, u"1=White"_s);
    EXPECT_EQ(ids(coloured), (QStringList{u"LDR-1"_s, u"TRK-1"_s, u"TRK-2"_s}));
    member(coloured, ListKind::UserDefined, u"2=Anything"_s);
    EXPECT_TRUE(ids(coloured).isEmpty()) << "filters of different fields must all hold";

    EQLimits byName = stored(everything);
    byName.DetailSummary = u"D"_s;
    const QList<SelectedEquipment> sorted = ReportSelection(company, byName, today).equipment();
    QStringList names;
    for (const SelectedEquipment &piece : sorted)
        names.append(piece.description);
    EXPECT_EQ(names, (QStringList{u"BULLDOZER"_s, u"DUMP TRUCK"_s, u"EXCAVATOR"_s, u"LOADER"_s,
                                  u"WATER TRUCK"_s}));
}

TEST_F(ReportSelectionTest, CategoryAndJobFiltersAndTheDates)
{
    EQLimits filters;
    filters.SelectedCategory = 1;
    filters.SelectedJobs = 2;
    filters.CategoryFrom = u"FUEL"_s;
    filters.CategoryTo = u"OIL"_s;
    EQLimits d = stored(filters);
    member(d, ListKind::Job, u"J-100"_s);
    const ReportSelection selection(company, d, today);
    EXPECT_TRUE(selection.categoryPasses(u"FUEL      "_s));
    EXPECT_TRUE(selection.categoryPasses(u"INSURANCE"_s));
    EXPECT_FALSE(selection.categoryPasses(u"PARTS"_s));
    EXPECT_TRUE(selection.jobPasses(u"j-100"_s));
    EXPECT_FALSE(selection.jobPasses(u"J-200"_s));
    EXPECT_FALSE(selection.dateRange().has_value());

    EQLimits floating;
    floating.SelectedDates = 1;
    floating.SkipEquipment = 1;
    floating.Report = u"Analysis"_s;
    floating.JournalType = u"Minus"_s;
    floating.RefFrom = Decimal(30);
    floating.GLAccount = u"Plus"_s;
    const std::optional<DateRange> range = ReportSelection(company, floating, today).dateRange();
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->from, today - 30);
    EXPECT_EQ(range->to, today);
    floating.JournalType = u"Plus"_s;
    floating.RefFrom = Decimal(2);
    EXPECT_EQ(ReportSelection::floatingRange(floating, today).from, today + 2);

    EQLimits fixed;
    fixed.SelectedDates = 1;
    fixed.DateFrom = 100;
    fixed.DateTo = 200;
    fixed.Report = u"Detail"_s;
    fixed.SkipEquipment = 1; // on a detail definition: skip equipment with no detail
    EXPECT_EQ(ReportSelection(company, fixed, today).dateRange()->from, 100);
}

TEST_F(ReportSelectionTest, ParameterLinesSayWhatWasSelected)
{
    using namespace LimitsLines;
    EXPECT_EQ(codeLine(Equipment, 1, u"TRK-1"_s, u"TRK-1"_s, {}), u"Equipment ID: TRK-1");
    EXPECT_EQ(codeLine(Equipment, 1, u"A"_s, u"B"_s, {}), u"Equipment ID from A to B");
    EXPECT_EQ(codeLine(Categories, 2, {}, {}, {u"FUEL"_s}), u"Cost Category: FUEL");
    EXPECT_EQ(codeLine(Categories, 2, {}, {}, {u"FUEL"_s, u"OIL"_s}),
              u"Cost Categories: FUEL, OIL");
    EXPECT_EQ(codeLine(Equipment, 0, u"A"_s, u"B"_s, {}), u"");

    QStringList many;
    for (int i = 1; i <= 20; ++i)
        many.append(u"TRK-%1"_s.arg(i, 3, 10, QChar(u'0')));
    const QString line = codeLine(Equipment, 2, {}, {}, many);
    EXPECT_LE(line.size(), 99);
    EXPECT_TRUE(line.endsWith(u",..."_s)) << line.toStdString();
    EXPECT_TRUE(line.startsWith(u"Equipment: TRK-001, TRK-002"_s));
    const QString noCommas = cut(QString(120, u'x'));
    EXPECT_EQ(noCommas.size(), 99);
    EXPECT_EQ(cut(QString(99, u'x')), QString(99, u'x'));

    GLFiscal period;
    period.FiscalPeriod = 14;
    period.PeriodDate = SuiteDate::fromYmd(2026, 2, 28);
    ASSERT_TRUE(company.file<GLFiscal>().insert(period).isOk());
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    prompts.U1 = u"Colour"_s;
    ASSERT_TRUE(company.file<UserDef>().insert(prompts).isOk());
    EQLimits asOf;
    asOf.SelectedDates = 2;
    asOf.FPTo = Decimal(14);
    asOf.SelectedClass = 1;
    asOf.ReportTitle = u"Trucks"_s;
    asOf.ClassFrom = u"TRUCK"_s;
    asOf.ClassTo = u"TRUCK"_s;
    EQLimits d = stored(asOf);
    member(d, ListKind::UserDefined, u"1=Red"_s);
    EXPECT_EQ(
        standard(company, ReportSelection(company, d, today), {}),
        (QStringList{u"Report Title: Trucks"_s, u"Inactive Equipment Excluded"_s, u"Class: TRUCK"_s,
                     u"As Of 02/28/2026"_s, u"Equipment User Defined: Colour = Red"_s}));
    EQLimits dates;
    dates.SelectedDates = 1;
    dates.DateFrom = today;
    dates.DateTo = today;
    EXPECT_EQ(LimitsLines::dates(company, ReportSelection(company, dates, today)),
              u"Date: 03/15/26");
    dates.DateFrom = today - 14;
    EXPECT_EQ(LimitsLines::dates(company, ReportSelection(company, dates, today)),
              u"Dates from 03/01/26 to 03/15/26");
}

} // namespace
