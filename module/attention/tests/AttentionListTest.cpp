#include "attention/AttentionList.h"
#include "assets/ScheduleCalculator.h"
#include "records/EQBatch.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/EQLogB.h"
#include "records/GLDepr.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

using Kind = AttentionItem::Kind;

Decimal money(const char *text)
{
    return Decimal::parse(QString::fromLatin1(text)).value();
}

class AttentionListTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    const DayNumber today = SuiteDate::fromQDate(QDate(2026, 3, 2));

    void SetUp() override
    {
        session.userId = u"EQM"_s;
        session.companyId = company.id();
        UserFile user;
        user.UserID = u"ADM"_s;
        user.FirstName = u"Ada"_s;
        user.LastName = u"Moss"_s;
        ASSERT_TRUE(company.file<UserFile>().insert(user).isOk());
    }

    // Active equipment with one ordinary cost category, so that it asks for
    // nothing unless a test gives it a reason.
    EQHeader equipment(const QString &id, const QString &meter = u"0"_s)
    {
        EQHeader piece;
        piece.EquipmentID = id;
        piece.Description = u"Dump Truck"_s;
        piece.CurrentMeter = Decimal::parse(meter).value();
        piece.UnitsPerDay = money("10.00");
        EXPECT_TRUE(company.file<EQHeader>().insert(piece).isOk());
        category(id, u"FUEL"_s, u"N"_s);
        return piece;
    }

    EQCost category(const QString &equipmentId, const QString &category, const QString &type)
    {
        EQCost cost;
        cost.RecordID = equipmentId.leftJustified(10) + category;
        cost.EquipmentID = equipmentId;
        cost.CostCategory = category;
        cost.ScheduleType = type;
        EXPECT_TRUE(company.file<EQCost>().insert(cost).isOk());
        return cost;
    }

    void update(EQCost cost) { ASSERT_TRUE(company.file<EQCost>().update(cost).isOk()); }

    QList<AttentionItem> items() { return AttentionList(session, prompter, clock).items(); }

    QList<AttentionItem> of(Kind kind)
    {
        QList<AttentionItem> found;
        for (const AttentionItem &item : items())
            if (item.kind == kind)
                found.append(item);
        return found;
    }
};

TEST_P(AttentionListTest, ServicesDueByDateAndOverdueByMeterFollowTheSchedule)
{
    equipment(u"TRK-1"_s, u"1300"_s);
    EQCode oil;
    oil.CategoryID = u"OIL"_s;
    oil.Description = u"Oil Change"_s;
    ASSERT_TRUE(company.file<EQCode>().insert(oil).isOk());
    EQCost byMeter = category(u"TRK-1"_s, u"OIL"_s, u"M"_s);
    byMeter.Meter = 250;
    byMeter.MeterName = u"Hours"_s;
    byMeter.LastServiceMeter = 1000; // due at 1,250
    update(byMeter);

    equipment(u"LDR-2"_s);
    EQCost tomorrow = category(u"LDR-2"_s, u"INSP"_s, u"E"_s);
    tomorrow.Interval = 30;
    tomorrow.IntervalName = u"Days"_s;
    tomorrow.LastServiceDate = today - 29;
    update(tomorrow);
    // Due in eight days: beyond the week, not listed.
    EQCost later = category(u"LDR-2"_s, u"GREASE"_s, u"E"_s);
    later.Interval = 30;
    later.IntervalName = u"Days"_s;
    later.LastServiceDate = today - 22;
    update(later);
    // Overdue by date, on equipment nobody uses any more: left out.
    EQHeader retired = equipment(u"OLD-9"_s);
    retired.Active = 0;
    ASSERT_TRUE(company.file<EQHeader>().update(retired).isOk());
    EQCost forgotten = category(u"OLD-9"_s, u"INSP"_s, u"E"_s);
    forgotten.Interval = 1;
    forgotten.IntervalName = u"Days"_s;
    forgotten.LastServiceDate = today - 100;
    update(forgotten);

    const QList<AttentionItem> overdue = of(Kind::ServiceOverdue);
    ASSERT_EQ(overdue.size(), 1);
    EXPECT_EQ(overdue[0].subject, u"TRK-1");
    EXPECT_EQ(overdue[0].text,
              u"Oil Change (OIL), every 250 hours: due at 1,250 hours, the meter reads 1,300");
    EXPECT_EQ(overdue[0].date, 0) << "a meter falls due at a reading, not on a date";

    const QList<AttentionItem> due = of(Kind::ServiceDue);
    ASSERT_EQ(due.size(), 1);
    EXPECT_EQ(due[0].subject, u"LDR-2");
    EXPECT_EQ(due[0].date, today + 1);
    EXPECT_EQ(due[0].text, u"INSP, every 30 days: due 03/03/26, in 1 day");
    EXPECT_TRUE(prompter.texts().isEmpty());
}

TEST_P(AttentionListTest, ADateOverdueServiceSaysHowLongAgo)
{
    equipment(u"TRK-1"_s, u"1000"_s);
    // By meter or date, whichever comes first: the date came first.
    EQCost both = category(u"TRK-1"_s, u"SVC"_s, u"B"_s);
    both.Interval = 1;
    both.IntervalName = u"Months"_s;
    both.LastServiceDate = today - 40;
    both.Meter = 500;
    both.MeterName = u"Hours"_s;
    both.LastServiceMeter = 900;
    update(both);

    const QList<AttentionItem> overdue = of(Kind::ServiceOverdue);
    ASSERT_EQ(overdue.size(), 1);
    // A month is a calendar month: 01/21/26 falls due on 02/21/26.
    EXPECT_EQ(overdue[0].date, today - 9);
    EXPECT_TRUE(overdue[0].text.endsWith(u"due at 1,400 hours, the meter reads 1,000; by "
                                         "02/21/26, 9 days ago"_s))
        << overdue[0].text.toStdString();
}

TEST_P(AttentionListTest, AServiceByTimeNeverRecordedAsksForItsDateRatherThanCountingFromNothing)
{
    equipment(u"TRK-1"_s, u"1000"_s);
    EQCost yearly = category(u"TRK-1"_s, u"INSPECT"_s, u"E"_s);
    yearly.Interval = 12;
    yearly.IntervalName = u"Months"_s;
    update(yearly);

    const QList<AttentionItem> due = of(Kind::ServiceDue);
    ASSERT_EQ(due.size(), 1);
    EXPECT_EQ(due[0].date, 0);
    EXPECT_TRUE(due[0].text.endsWith(u"every 12 months: no service recorded yet; enter its last "
                                     "service date"_s))
        << due[0].text.toStdString();
    EXPECT_TRUE(of(Kind::ServiceOverdue).isEmpty());
}

TEST_P(AttentionListTest, UnpostedAndHeldBatchesSayTheirAgeAmountAndHolder)
{
    EQBatch week;
    week.Description = u"Week 9"_s;
    week.InUseBy = u"ADM"_s;
    week.SortID = 1;
    ASSERT_TRUE(company.file<EQBatch>().insert(week).isOk());
    EQBatch empty;
    empty.Description = u"Empty"_s;
    empty.SortID = 2; // each batch has its own place in the manual order
    ASSERT_TRUE(company.file<EQBatch>().insert(empty).isOk());
    for (const auto &[date, amount] :
         {std::pair{today - 12, "125.50"}, std::pair{today - 3, "74.50"}}) {
        EQLogB log;
        log.EquipmentID = u"TRK-1"_s;
        log.BatchID = qint16(week.BatchID);
        log.Date = date;
        log.AdjustedAmount = money(amount);
        ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    }

    const QList<AttentionItem> unposted = of(Kind::BatchUnposted);
    ASSERT_EQ(unposted.size(), 1) << "an empty batch has nothing to post";
    EXPECT_EQ(unposted[0].subject, QString::number(week.BatchID));
    EXPECT_EQ(unposted[0].date, today - 12);
    EXPECT_EQ(unposted[0].text,
              u"Week 9 (batch %1): 2 logs, 200.00, the oldest of 02/18/26 (12 days old)"_s.arg(
                  week.BatchID));

    QList<AttentionItem> held = of(Kind::BatchHeld);
    ASSERT_EQ(held.size(), 1);
    EXPECT_EQ(held[0].text, u"Week 9 (batch %1): held by ADM (Ada Moss), who is not signed on: "
                            "the hold was left by a station that stopped"_s.arg(week.BatchID));

    NetUser station;
    station.UserID = u"ADM"_s;
    station.CompanyID = company.id();
    station.SignOnDate = today;
    station.SignOnTime = SuiteTime::fromQTime(QTime(7, 45));
    ASSERT_TRUE(company.file<NetUser>().insert(station).isOk());
    held = of(Kind::BatchHeld);
    ASSERT_EQ(held.size(), 1);
    EXPECT_EQ(held[0].date, today);
    EXPECT_TRUE(held[0].text.endsWith(u"held by ADM (Ada Moss), signed on since 03/02/26 07:45"_s))
        << held[0].text.toStdString();
}

TEST_P(AttentionListTest, ASecureBatchOfAnotherUserStaysHidden)
{
    EQBatch hidden;
    hidden.UserID = u"ADM"_s;
    hidden.Secure = 2;
    ASSERT_TRUE(company.file<EQBatch>().insert(hidden).isOk());
    EQLogB log;
    log.BatchID = qint16(hidden.BatchID);
    log.Date = today;
    ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    EXPECT_TRUE(of(Kind::BatchUnposted).isEmpty());
}

TEST_P(AttentionListTest, SchedulesMissingStaleOrUnpostedAreNamed)
{
    EQHeader truck = equipment(u"TRK-1"_s);
    truck.PurchaseDate = SuiteDate::fromQDate(QDate(2025, 10, 15));
    truck.PurchaseValue = money("12000.00");
    truck.SalvageValue = money("2000.00");
    truck.DepreciationYears = 24;
    ASSERT_TRUE(company.file<EQHeader>().update(truck).isOk());

    ASSERT_EQ(of(Kind::ScheduleMissing).size(), 1);
    EXPECT_EQ(of(Kind::ScheduleMissing)[0].subject, u"TRK-1");

    ASSERT_TRUE(ScheduleCalculator(company, prompter).calculate(truck).done);
    EXPECT_TRUE(of(Kind::ScheduleMissing).isEmpty());
    EXPECT_TRUE(of(Kind::ScheduleStale).isEmpty()) << "calculated from what it holds now";
    // November to February have ended unposted; March is still running.
    QList<AttentionItem> unposted = of(Kind::DepreciationUnposted);
    ASSERT_EQ(unposted.size(), 1);
    EXPECT_EQ(unposted[0].text,
              u"Dump Truck: 4 months of depreciation not posted, 11/2025 to 02/2026");
    EXPECT_EQ(unposted[0].date, SuiteDate::fromQDate(QDate(2025, 11, 1)));

    truck.SalvageValue = money("1500.00");
    truck.DepreciationMethod = 2;
    ASSERT_TRUE(company.file<EQHeader>().update(truck).isOk());
    QList<AttentionItem> stale = of(Kind::ScheduleStale);
    ASSERT_EQ(stale.size(), 1);
    EXPECT_EQ(stale[0].text, u"Dump Truck: the depreciation schedule was calculated before its "
                             "salvage value and method changed");

    // A purchase date in another month leaves no row for the life's first month.
    truck.PurchaseDate = SuiteDate::fromQDate(QDate(2025, 8, 1));
    ASSERT_TRUE(company.file<EQHeader>().update(truck).isOk());
    stale = of(Kind::ScheduleStale);
    ASSERT_EQ(stale.size(), 1);
    EXPECT_TRUE(stale[0].text.endsWith(u"before its purchase date changed"_s));

    ASSERT_TRUE(ScheduleCalculator(company, prompter).calculate(truck).done);
    EXPECT_TRUE(of(Kind::ScheduleStale).isEmpty());
}

TEST_P(AttentionListTest, RowsFromBeforeTheBasisWasKeptAreNotCalledStale)
{
    EQHeader truck = equipment(u"TRK-1"_s);
    truck.PurchaseDate = SuiteDate::fromQDate(QDate(2026, 2, 10));
    truck.PurchaseValue = money("5000.00");
    truck.DepreciationYears = 12;
    ASSERT_TRUE(company.file<EQHeader>().update(truck).isOk());
    GLDepr row;
    row.EquipmentID = u"TRK-1"_s;
    row.Date = SuiteDate::fromQDate(QDate(2026, 3, 1));
    ASSERT_TRUE(company.file<GLDepr>().insert(row).isOk());
    EXPECT_TRUE(of(Kind::ScheduleStale).isEmpty());
    EXPECT_TRUE(of(Kind::ScheduleMissing).isEmpty());
}

TEST_P(AttentionListTest, EquipmentWithOnlyItsIncomeCategoriesHasNoCostCategories)
{
    equipment(u"TRK-1"_s);
    EQHeader bare;
    bare.EquipmentID = u"NEW-1"_s;
    bare.Description = u"New Loader"_s;
    ASSERT_TRUE(company.file<EQHeader>().insert(bare).isOk());
    category(u"NEW-1"_s, u".I"_s, u"N"_s);
    category(u"NEW-1"_s, u".R"_s, u"N"_s);

    const QList<AttentionItem> all = items();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].kind, Kind::NoCategories);
    EXPECT_EQ(all[0].subject, u"NEW-1");
    EXPECT_EQ(all[0].text, u"New Loader: no cost categories");
}

TEST_P(AttentionListTest, ReadingNeverKeepsTheUnitsPerDayItWorksOut)
{
    EQHeader truck;
    truck.EquipmentID = u"TRK-1"_s;
    truck.Description = u"Truck"_s;
    ASSERT_TRUE(company.file<EQHeader>().insert(truck).isOk());
    EQCost oil = category(u"TRK-1"_s, u"OIL"_s, u"M"_s);
    oil.Meter = 40;
    oil.MeterName = u"Hours"_s;
    update(oil);
    EQLog worked;
    worked.EquipmentID = u"TRK-1"_s;
    worked.Date = today - 1;
    worked.Units = money("8.00");
    ASSERT_TRUE(company.file<EQLog>().insert(worked).isOk());
    // 40 hours at the 8 a day its logs show: due in five days.
    const QList<AttentionItem> due = of(Kind::ServiceDue);
    ASSERT_EQ(due.size(), 1);
    EXPECT_EQ(due[0].date, today + 5);
    EQHeader stored;
    stored.EquipmentID = u"TRK-1"_s;
    ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", stored).isOk());
    EXPECT_TRUE(stored.UnitsPerDay.isZero());
}

TEST(AttentionItem, KindsHaveTheNamesScriptsRead)
{
    QStringList names;
    for (int kind = 0; kind < AttentionItem::KindCount; ++kind)
        names.append(AttentionItem::name(Kind(kind)));
    EXPECT_EQ(names, (QStringList{u"service-overdue"_s, u"service-due"_s, u"batch-unposted"_s,
                                  u"batch-held"_s, u"schedule-missing"_s, u"schedule-stale"_s,
                                  u"no-categories"_s, u"depreciation-unposted"_s}));
}

INSTANTIATE_TEST_SUITE_P(Backends, AttentionListTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
