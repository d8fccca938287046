#include "logs/BatchReorder.h"
#include "records/EQBatch.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <barrier>
#include <map>
#include <thread>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

using Move = BatchReorder::Move;

class BatchReorderTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    BatchReorder reorder{session, prompter};
    // Batch number by its starting sort value.
    std::map<qint32, quint16> bySort;

    void SetUp() override
    {
        session.userId = u"EQM"_s;
        session.companyId = company.id();
    }

    // Batches with these sort values, numbered in the same order.
    void batches(std::initializer_list<qint32> sortIds)
    {
        for (qint32 sortId : sortIds) {
            EQBatch record;
            record.UserID = u"EQM"_s;
            record.Description = u"Sort "_s + QString::number(sortId);
            record.SortID = sortId;
            ASSERT_TRUE(company.file<EQBatch>().insert(record).isOk());
            bySort[sortId] = record.BatchID;
        }
    }

    // The sort value each batch now has, listed by its starting sort value.
    std::vector<qint32> order()
    {
        std::vector<qint32> now;
        for (const auto &[start, batchId] : bySort) {
            EQBatch record;
            record.BatchID = batchId;
            EXPECT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", record).isOk());
            now.push_back(record.SortID);
        }
        return now;
    }
};

struct Case
{
    const char *name;
    qint32 moving; // starting sort value of the batch moved
    Move move;
    std::optional<qint32> result;
    std::vector<qint32> after; // by starting sort value 1..6
};

TEST_P(BatchReorderTest, EachMoveShiftsOnlyTheBatchesBetween)
{
    const Case cases[] = {
        {"fourth to the top", 4, Move::Top, 1, {2, 3, 4, 1, 5, 6}},
        {"third to the bottom", 3, Move::Bottom, 6, {1, 2, 6, 3, 4, 5}},
        {"fourth up one", 4, Move::Up, 3, {1, 2, 4, 3, 5, 6}},
        {"fourth down one", 4, Move::Down, 5, {1, 2, 3, 5, 4, 6}},
        {"first up", 1, Move::Up, 1, {1, 2, 3, 4, 5, 6}},
        {"first to the top", 1, Move::Top, 1, {1, 2, 3, 4, 5, 6}},
        {"last down", 6, Move::Down, 6, {1, 2, 3, 4, 5, 6}},
        {"last to the bottom", 6, Move::Bottom, 6, {1, 2, 3, 4, 5, 6}},
        {"second to the top", 2, Move::Top, 1, {2, 1, 3, 4, 5, 6}},
        {"fifth to the bottom", 5, Move::Bottom, 6, {1, 2, 3, 4, 6, 5}},
    };
    batches({1, 2, 3, 4, 5, 6});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reorder.move(bySort[c.moving], c.move), c.result);
        EXPECT_EQ(order(), c.after);
        EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.texts().join(u'\n').toStdString();
        // Back to 1..6 for the next case: the batches are renumbered in place.
        std::map<qint32, quint16> now;
        for (const auto &[start, batchId] : bySort) {
            EQBatch record;
            record.BatchID = batchId;
            ASSERT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", record).isOk());
            now[record.SortID] = batchId;
        }
        bySort = now;
    }
}

TEST_P(BatchReorderTest, GapsInTheOrderAreKeptAndTheMovedBatchTakesItsNeighboursPlace)
{
    batches({10, 20, 35});
    EXPECT_EQ(reorder.move(bySort[35], Move::Top), 10);
    EXPECT_EQ(order(), (std::vector<qint32>{20, 35, 10}));
    EXPECT_EQ(reorder.move(bySort[10], Move::Down), 35);
    EXPECT_EQ(order(), (std::vector<qint32>{35, 20, 10}));
}

TEST_P(BatchReorderTest, TheSortKeyIsUniqueInTheDatabaseItself)
{
    // What keeps every step of a move apart is the file's own unique index:
    // writing one batch onto another's place is refused by the database.
    batches({1, 2});
    EQBatch first;
    first.BatchID = bySort[1];
    ASSERT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", first).isOk());
    first.SortID = 2;
    const data::FileStatus status = company.file<EQBatch>().update(first);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, data::FileErrorCode::DuplicateKey);
}

struct Failure
{
    const char *stage;
    QString condition; // the update refused, on the new row
    Move move;
};

TEST_P(BatchReorderTest, AFailedStageRollsTheWholeMoveBackAndNamesTheStage)
{
    batches({1, 2, 3, 4, 5, 6});
    const Failure failures[] = {
        {"Put Swap Out", u"\"SortID\" = 7"_s, Move::Top},
        {"Shift Stage", u"\"SortID\" = 3 AND \"Description\" = 'Sort 2'"_s, Move::Top},
        {"Final Move", u"\"SortID\" = 1 AND \"Description\" = 'Sort 4'"_s, Move::Top},
        {"Final Move", u"\"SortID\" = 3 AND \"Description\" = 'Sort 4'"_s, Move::Up},
    };
    for (const Failure &failure : failures) {
        SCOPED_TRACE(failure.stage);
        qaveq::testing::TestDatabase fresh(GetParam());
        data::Company own(fresh.settings(), companyCatalog());
        data::Session mine(&own);
        mine.userId = u"EQM"_s;
        ScriptedPrompter answers;
        BatchReorder desk(mine, answers);
        QList<quint16> ids;
        for (qint32 sortId = 1; sortId <= 6; ++sortId) {
            EQBatch record;
            record.Description = u"Sort "_s + QString::number(sortId);
            record.SortID = sortId;
            ASSERT_TRUE(own.file<EQBatch>().insert(record).isOk());
            ids.append(record.BatchID);
        }
        fresh.failUpdates(own.database(), u"EQBatch"_s, failure.condition);

        EXPECT_EQ(desk.move(ids[3], failure.move), std::nullopt);
        ASSERT_EQ(answers.shown().size(), 1);
        EXPECT_EQ(answers.shown()[0].caption, u"Error!");
        const QString text = answers.shown()[0].text;
        EXPECT_TRUE(text.startsWith(u"Record swap error: "_s)) << text.toStdString();
        EXPECT_TRUE(text.contains(u"||EQBatch, EQB:KeySortID|Key Field EQB:SortID = "_s));
        EXPECT_TRUE(text.endsWith(u"|Section = "_s + QString::fromLatin1(failure.stage)))
            << text.toStdString();
        for (qint32 sortId = 1; sortId <= 6; ++sortId) {
            EQBatch record;
            record.BatchID = ids[sortId - 1];
            ASSERT_TRUE(own.file<EQBatch>().fetch(u"KeyBatchID", record).isOk());
            EXPECT_EQ(record.SortID, sortId) << "every update of the move is undone";
        }
    }
}

TEST_P(BatchReorderTest, WhileAnotherStationHoldsTheBatchFileNothingMoves)
{
    batches({1, 2});
    data::Company station2(database.settings(), companyCatalog());
    data::Transaction held(station2.database(), {u"EQBatch"_s}, std::chrono::seconds(5));
    ASSERT_TRUE(held.isActive());
    EXPECT_EQ(reorder.move(bySort[2], Move::Up), std::nullopt);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_TRUE(prompter.shown()[0].text.endsWith(
        u" is using EQBatch.|Nothing was changed; try again in a moment."_s))
        << prompter.shown()[0].text.toStdString();
    held.rollback();
    EXPECT_EQ(order(), (std::vector<qint32>{1, 2}));
}

TEST_P(BatchReorderTest, AReadOnlyUserCannotReorder)
{
    batches({1, 2});
    session.userId = u"VEW"_s;
    session.usageLogsReadOnly = true;
    EXPECT_EQ(reorder.move(bySort[2], Move::Up), std::nullopt);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Insufficient Access");
    EXPECT_EQ(order(), (std::vector<qint32>{1, 2}));
}

TEST_P(BatchReorderTest, TwoStationsReorderingAtOnceKeepEveryPlaceOnce)
{
    batches({1, 2, 3, 4, 5, 6});
    constexpr int Rounds = 30;
    std::barrier sync(2);
    const auto station = [&](quint16 batchId, Move there, Move back) {
        data::Company own(database.settings(), companyCatalog());
        data::Session mine(&own);
        mine.userId = u"EQM"_s;
        ScriptedPrompter answers;
        BatchReorder desk(mine, answers);
        for (int round = 0; round < Rounds; ++round) {
            sync.arrive_and_wait();
            static_cast<void>(desk.move(batchId, round % 2 == 0 ? there : back));
        }
    };
    std::thread first(station, bySort[2], Move::Bottom, Move::Top);
    std::thread second(station, bySort[5], Move::Top, Move::Down);
    first.join();
    second.join();
    std::vector<qint32> now = order();
    std::sort(now.begin(), now.end());
    EXPECT_EQ(now, (std::vector<qint32>{1, 2, 3, 4, 5, 6}));
}

TEST(BatchReorderText, EachMoveHasItsHint)
{
    EXPECT_EQ(BatchReorder::hint(Move::Up), u"Move batch up one");
    EXPECT_EQ(BatchReorder::hint(Move::Top), u"Move batch to the top");
    EXPECT_EQ(BatchReorder::hint(Move::Down), u"Move batch down one");
    EXPECT_EQ(BatchReorder::hint(Move::Bottom), u"Move batch to the bottom");
}

INSTANTIATE_TEST_SUITE_P(Backends, BatchReorderTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
