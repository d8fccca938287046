#include "equipment/CategoryApplier.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace qaveq;

namespace {

class CategoryApplierTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    data::ErrorManager errors{u"host"_s, &prompter};
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 30))};
    CategoryApplier applier{session, prompter, errors, clock};

    QStringList activityTexts()
    {
        QStringList texts;
        data::KeyCursor log =
            company.file<UserLog>().scan(company.catalog().find(u"UserLog")->keys.first().name);
        for (UserLog entry; log.next(entry);) {
            EXPECT_EQ(entry.Area.trimmed(), u"EQ Equipment Setup");
            texts.append(entry.Text.trimmed());
        }
        texts.sort();
        return texts;
    }

    void equipment(const QString &id)
    {
        EQHeader piece;
        piece.EquipmentID = id;
        piece.Description = id;
        ASSERT_TRUE(company.file<EQHeader>().insert(piece).isOk());
    }

    void category(const QString &id, const QString &schedule = u"M"_s)
    {
        EQCode code;
        code.CategoryID = id;
        code.Description = id;
        code.DefaultUnit = u"Gal"_s;
        code.DefaultExpenseControl = u"6100"_s;
        code.DefaultContraExpenseControl = u"6300"_s;
        code.ScheduleType = schedule;
        code.MeterName = u"Hours"_s;
        code.Meter = 250;
        ASSERT_TRUE(company.file<EQCode>().insert(code).isOk());
    }

    EQCost cost(const QString &equipmentId, const QString &categoryId)
    {
        EQCost record;
        record.RecordID = equipmentId.leftJustified(10) + categoryId;
        record.EquipmentID = equipmentId;
        record.CostCategory = categoryId;
        record.ControlDebit = u"6100"_s;
        record.ControlCredit = u"6300"_s;
        return record;
    }

    void give(EQCost record) { ASSERT_TRUE(company.file<EQCost>().insert(record).isOk()); }
};

TEST_P(CategoryApplierTest, AllPresentAddsNothingButStillCorrectsAccounts)
{
    equipment(u"T-1"_s);
    category(u"FUEL"_s);
    EQCost wrong = cost(u"T-1"_s, u"FUEL"_s);
    wrong.ControlDebit = u"9999"_s;
    wrong.UnitName = u"Ltr"_s;
    wrong.CumulativeAmount = Decimal(500);
    give(wrong);

    prompter.answerNext(1);
    const CategoryApplier::Result result = applier.applyToAll();
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.corrected, 1);
    EXPECT_EQ(prompter.shown().last().caption, u"Process Complete");
    EXPECT_EQ(prompter.shown().last().text,
              u"No new categories were added to existing|equipment records.");
    EQCost stored = cost(u"T-1"_s, u"FUEL"_s);
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", stored).isOk());
    EXPECT_EQ(stored.ControlDebit, u"6100");
    EXPECT_EQ(stored.UnitName, u"Ltr") << "nothing else of an existing category changes";
    EXPECT_EQ(stored.CumulativeAmount, Decimal(500));
}

TEST_P(CategoryApplierTest, CountsPiecesOfEquipmentNotCategories)
{
    equipment(u"T-1"_s);
    equipment(u"T-2"_s);
    category(u"FUEL"_s);
    category(u"TIRES"_s, u"X"_s);
    give(cost(u"T-1"_s, u"FUEL"_s));
    give(cost(u"T-2"_s, u"TIRES"_s));
    EXPECT_EQ(applier.plan().equipmentReceiving, 2);
    EXPECT_EQ(company.file<EQCost>().count(), 2) << "a plan writes nothing";

    const CategoryApplier::Result result = applier.applyToAll();
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.equipmentReceiving, 2);
    EXPECT_EQ(prompter.shown().last().text,
              u"New categories were added to 2 existing|equipment records.");
    EQCost added = cost(u"T-1"_s, u"TIRES"_s);
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", added).isOk());
    EXPECT_EQ(added.UnitName, u"Gal");
    EXPECT_EQ(added.ScheduleType, u"X") << "the category's schedule is copied as it stands";
    EXPECT_EQ(added.Meter, 250);
    EXPECT_GT(added.PrimaryRecordID, 0);
}

TEST_P(CategoryApplierTest, OnePieceLackingThreeCategoriesCountsOnce)
{
    equipment(u"1001"_s);
    for (const QString &id : {u"FUEL"_s, u"OIL"_s, u"TIRES"_s})
        category(id);
    const CategoryApplier::Result result = applier.applyToAll();
    EXPECT_EQ(result.added, 3);
    EXPECT_EQ(result.equipmentReceiving, 1);
    EXPECT_EQ(prompter.shown().last().text,
              u"New categories were added to one existing|equipment record.");
}

TEST_P(CategoryApplierTest, ReadOnlyUsersAndADeclinedConfirmationChangeNothing)
{
    equipment(u"T-1"_s);
    category(u"FUEL"_s);
    session.userId = u"VEW"_s;
    session.equipmentReadOnly = true;
    EXPECT_FALSE(applier.applyToAll().done);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Insufficient Access");
    EXPECT_EQ(prompter.shown()[0].text,
              u"User VEW has read only privileges|in the Equipment Costing module.");

    session.equipmentReadOnly = false;
    prompter.answerNext(2);
    EXPECT_FALSE(applier.applyToAll().done);
    EXPECT_EQ(prompter.shown().last().caption, u"Confirm Apply to All");
    EXPECT_EQ(company.file<EQCost>().count(), 0);
}

TEST_P(CategoryApplierTest, WritesNothingWithoutTheTransaction)
{
    equipment(u"T-1"_s);
    category(u"FUEL"_s);
    data::Company station2(database.settings(), companyCatalog());
    data::Transaction held(station2.database(), {u"EQCost"_s}, 5s);
    ASSERT_TRUE(held.isActive());
    applier.setTransactionTimeout(100ms);
    const CategoryApplier::Result result = applier.applyToAll();
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.busy);
    EXPECT_TRUE(prompter.shown().last().text.endsWith(
        u" is using EQCost.|Nothing was changed; try again in a moment."_s))
        << "never \"Process Complete\"";
    held.rollback();
    EXPECT_EQ(company.file<EQCost>().count(), 0);
}

TEST_P(CategoryApplierTest, AFailedWriteTakesTheWholeRunBack)
{
    equipment(u"T-1"_s);
    equipment(u"T-2"_s);
    equipment(u"T-3"_s);
    category(u"FUEL"_s);
    database.failInserts(company.database(), u"EQCost"_s, u"\"EquipmentID\" = 'T-2'"_s);
    const CategoryApplier::Result result = applier.applyToAll();
    EXPECT_FALSE(result.done);
    EXPECT_EQ(prompter.shown().last().caption, u"Record Insert Error");
    for (const Message &message : prompter.shown())
        EXPECT_NE(message.caption, u"Process Complete");
    EXPECT_EQ(company.file<EQCost>().count(), 0) << "T-1's category went back with the run";
    session.logUserActivity = 2;
    applier.applyToAll();
    EXPECT_TRUE(activityTexts().isEmpty()) << "a run taken back logs nothing";
}

TEST_P(CategoryApplierTest, EachCategoryAddedOrCorrectedIsLoggedAtTheFullLevel)
{
    equipment(u"T-1"_s);
    equipment(u"T-2"_s);
    category(u"FUEL"_s);
    EQCost stale = cost(u"T-2"_s, u"FUEL"_s);
    stale.ControlDebit = u"5000"_s;
    give(stale);
    applier.applyToAll();
    EXPECT_TRUE(activityTexts().isEmpty()) << "logging level 0";

    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", stale).isOk());
    stale.ControlDebit = u"5000"_s;
    ASSERT_TRUE(company.file<EQCost>().update(stale).isOk());
    EQCost added = cost(u"T-1"_s, u"FUEL"_s);
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", added).isOk());
    ASSERT_TRUE(company.file<EQCost>().remove(added).isOk());
    session.logUserActivity = 2;
    applier.applyToAll();
    EXPECT_EQ(activityTexts(), (QStringList{u"Added cost category (FUEL) of equipment (T-1)"_s,
                                            u"Changed cost category (FUEL) of equipment (T-2)"_s}));
}

INSTANTIATE_TEST_SUITE_P(Backends, CategoryApplierTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

TEST(CategoryApplier, ReportTexts)
{
    EXPECT_EQ(CategoryApplier::reportText(7),
              u"New categories were added to 7 existing|equipment records.");
}

} // namespace
