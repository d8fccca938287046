#include "logs/LogTransfer.h"
#include "logs/LogSelection.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

using Mode = LogTransfer::Mode;

class LogTransferTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 6, 15), QTime(9, 0))};
    UsageLogBatches batches{session, prompter, clock};
    LogTransfer transfer{session, prompter, batches};

    void SetUp() override
    {
        session.userId = u"EQM"_s;
        session.companyId = company.id();
        for (const QString &id : {u"EQM"_s, u"ADM"_s, u"VEW"_s}) {
            UserFile user;
            user.UserID = id;
            ASSERT_TRUE(company.file<UserFile>().insert(user).isOk());
        }
    }

    quint16 batch(const QString &owner = u"EQM"_s, quint8 secure = 0)
    {
        EQBatch record;
        record.UserID = owner;
        record.Description = u"Batch of "_s + owner;
        record.Secure = secure;
        EXPECT_TRUE(batches.addBatch(record));
        return record.BatchID;
    }

    qint32 log(quint16 batchId, const QString &equipment, int amount)
    {
        EQLogB record;
        record.BatchID = quint16(batchId);
        record.EquipmentID = equipment;
        record.Date = SuiteDate::fromYmd(2025, 6, 2);
        record.Units = Decimal(amount / 10);
        record.AdjustedAmount = Decimal(amount);
        record.DetailType = u"Job"_s;
        record.JobID = u"J-1"_s;
        record.Comments = u"Trench"_s;
        EXPECT_TRUE(company.file<EQLogB>().insert(record).isOk());
        return record.LogID;
    }

    EQLogB stored(qint32 logId)
    {
        EQLogB record;
        record.LogID = logId;
        EXPECT_TRUE(company.file<EQLogB>().fetch(u"KeyLogID", record).isOk());
        return record;
    }

    QList<qint32> logsOf(quint16 batchId)
    {
        QList<qint32> ids;
        data::KeyCursor cursor =
            company.file<EQLogB>().scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
        for (EQLogB record; cursor.next(record);)
            ids.append(record.LogID);
        return ids;
    }

    void followPastedLogs()
    {
        UserFile user;
        user.UserID = u"EQM"_s;
        ASSERT_TRUE(company.file<UserFile>().fetch(u"KeyUserID", user).isOk());
        user.PasteSelection = 1;
        ASSERT_TRUE(company.file<UserFile>().update(user).isOk());
    }
};

TEST_P(LogTransferTest, CopyingThreeTaggedLogsMakesNewLogsAndLeavesTheSourceAlone)
{
    const quint16 source = batch();
    const quint16 target = batch();
    const QList<qint32> logs{log(source, u"LDR-1"_s, 100), log(source, u"TRK-1"_s, 200),
                             log(source, u"LDR-1"_s, 300)};
    log(source, u"TRK-1"_s, 400); // not selected
    LogSelection selection;
    for (qint32 id : {logs[2], logs[0], logs[1]})
        selection.toggle(id);
    transfer.collect(Mode::Copy, selection.transferList(std::nullopt), source);
    EXPECT_EQ(transfer.modeText(), u"Copy");

    const std::optional<LogTransfer::Done> done = transfer.paste(target);
    ASSERT_TRUE(done);
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(logsOf(source).size(), 4);
    EXPECT_EQ(logsOf(target), done->created);
    ASSERT_EQ(done->created.size(), 3);
    // In the order they were ticked, each a copy of its original but for number and batch.
    const QList<qint32> ticked{logs[2], logs[0], logs[1]};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(logs.contains(done->created[i]));
        const EQLogB copy = stored(done->created[i]);
        const EQLogB original = stored(ticked[i]);
        EXPECT_EQ(copy.BatchID, quint16(target));
        EXPECT_EQ(original.BatchID, quint16(source));
        EXPECT_EQ(copy.EquipmentID, original.EquipmentID);
        EXPECT_EQ(copy.AdjustedAmount, original.AdjustedAmount);
        EXPECT_EQ(copy.Comments, original.Comments);
        EXPECT_EQ(copy.Date, original.Date);
    }
    EXPECT_EQ(done->highlight, source) << "the user does not follow pasted logs";
    EXPECT_EQ(transfer.mode(), Mode::None);
    EXPECT_TRUE(transfer.logs().isEmpty());
    EXPECT_EQ(transfer.source(), 0);
}

TEST_P(LogTransferTest, MovingChangesOnlyTheBatchNumbersAndFollowsWhenAsked)
{
    followPastedLogs();
    const quint16 source = batch();
    const quint16 target = batch();
    const QList<qint32> logs{log(source, u"LDR-1"_s, 100), log(source, u"TRK-1"_s, 200),
                             log(source, u"LDR-1"_s, 300)};
    const EQLogB before = stored(logs[1]);
    const std::optional<LogTransfer::Done> done = transfer.drop(Mode::Move, logs, source, target);
    ASSERT_TRUE(done);
    EXPECT_TRUE(done->created.isEmpty());
    EXPECT_TRUE(logsOf(source).isEmpty());
    EXPECT_EQ(logsOf(target), logs);
    const EQLogB after = stored(logs[1]);
    EXPECT_EQ(after.BatchID, quint16(target));
    EXPECT_EQ(after.EquipmentID, before.EquipmentID);
    EXPECT_EQ(after.AdjustedAmount, before.AdjustedAmount);
    EXPECT_EQ(after.JobID, before.JobID);
    EXPECT_EQ(done->highlight, target);
}

TEST_P(LogTransferTest, ADropOnItsOwnBatchDoesNothing)
{
    const quint16 source = batch();
    const qint32 id = log(source, u"LDR-1"_s, 100);
    EXPECT_FALSE(transfer.drop(Mode::Copy, {id}, source, source));
    EXPECT_EQ(logsOf(source), QList<qint32>{id});
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_P(LogTransferTest, AnotherUsersSecureBatchRefusesCopiesAndMoves)
{
    const quint16 source = batch();
    const quint16 secure = batch(u"ADM"_s, 1);
    const quint16 hidden = batch(u"ADM"_s, 2);
    const quint16 open = batch(u"ADM"_s, 0);
    const qint32 id = log(source, u"LDR-1"_s, 100);
    for (const auto &[target, mode] : {std::pair{secure, Mode::Copy},
                                       {secure, Mode::Move},
                                       {hidden, Mode::Copy},
                                       {hidden, Mode::Move}}) {
        EXPECT_FALSE(transfer.drop(mode, {id}, source, target));
        ASSERT_FALSE(prompter.shown().isEmpty());
        EXPECT_EQ(prompter.shown().last().caption, u"Secure Batch");
        EXPECT_EQ(prompter.shown().last().text,
                  u"The target batch is a secure batch belonging|to user ADM. Please drag to "
                  u"another batch.");
        EXPECT_EQ(transfer.mode(), Mode::None);
    }
    EXPECT_EQ(logsOf(source), QList<qint32>{id});
    EXPECT_TRUE(logsOf(secure).isEmpty());
    // The owner's own secure batch and another user's open one take logs.
    EXPECT_TRUE(transfer.drop(Mode::Copy, {id}, source, open));
    session.userId = u"ADM"_s;
    EXPECT_TRUE(transfer.drop(Mode::Move, {id}, source, secure));
    EXPECT_EQ(logsOf(secure), QList<qint32>{id});
}

TEST_P(LogTransferTest, AfterAPasteNoBatchIsTaggedOrHeld)
{
    const quint16 source = batch();
    const quint16 target = batch();
    const qint32 id = log(source, u"LDR-1"_s, 100);
    ASSERT_TRUE(batches.tag(source));
    ASSERT_TRUE(batches.tag(target));
    transfer.collect(Mode::Move, {id}, source);
    ASSERT_TRUE(transfer.paste(target));
    EXPECT_TRUE(batches.tags().isEmpty());
    for (quint16 batchId : {source, target}) {
        EQBatch record;
        record.BatchID = batchId;
        ASSERT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", record).isOk());
        EXPECT_EQ(record.InUseBy, u"");
    }
}

TEST_P(LogTransferTest, AFailureHalfwayTransfersNothing)
{
    const quint16 source = batch();
    const quint16 target = batch();
    const QList<qint32> logs{log(source, u"LDR-1"_s, 100), log(source, u"TRK-1"_s, 200),
                             log(source, u"BAD-1"_s, 300)};
    database.failInserts(company.database(), u"EQLogB"_s, u"\"EquipmentID\" = 'BAD-1'"_s);
    database.failUpdates(company.database(), u"EQLogB"_s, u"\"EquipmentID\" = 'BAD-1'"_s);
    ASSERT_TRUE(batches.tag(target));
    for (const Mode mode : {Mode::Copy, Mode::Move}) {
        EXPECT_FALSE(transfer.drop(mode, logs, source, target));
        ASSERT_FALSE(prompter.shown().isEmpty());
        const QString text = prompter.shown().last().text;
        EXPECT_TRUE(text.contains(mode == Mode::Copy ? u" Inserting EQLogB|Nothing was copied."_s
                                                     : u" Saving EQLogB|Nothing was moved."_s))
            << text.toStdString();
        EXPECT_EQ(logsOf(source), logs);
        EXPECT_TRUE(logsOf(target).isEmpty());
    }
    EXPECT_TRUE(batches.isTagged(target)) << "a failed transfer leaves the tags as they were";

    // A log removed by another user meanwhile stops the transfer too.
    EQLogB gone = stored(logs[1]);
    ASSERT_TRUE(company.file<EQLogB>().remove(gone).isOk());
    EXPECT_FALSE(transfer.drop(Mode::Move, {logs[0], logs[1]}, source, target));
    EXPECT_TRUE(prompter.shown().last().text.contains(u" Reading EQLogB"_s));
    EXPECT_EQ(stored(logs[0]).BatchID, quint16(source));
}

TEST_P(LogTransferTest, AReadOnlyUserCannotPaste)
{
    const quint16 source = batch();
    const quint16 target = batch();
    const qint32 id = log(source, u"LDR-1"_s, 100);
    session.userId = u"VEW"_s;
    session.usageLogsReadOnly = true;
    EXPECT_FALSE(transfer.drop(Mode::Copy, {id}, source, target));
    EXPECT_EQ(prompter.shown().last().caption, u"Insufficient Access");
    EXPECT_TRUE(logsOf(target).isEmpty());
}

TEST_P(LogTransferTest, TwoStationsCopyingAtOnceLoseNoCopy)
{
    const quint16 source = batch();
    const quint16 target = batch();
    QList<qint32> logs;
    for (int i = 1; i <= 4; ++i)
        logs.append(log(source, u"LDR-1"_s, 100 * i));
    constexpr int Rounds = 10;
    std::atomic<int> refused{0};
    std::barrier sync(2);
    const auto station = [&](const QString &userId) {
        data::Company own(database.settings(), companyCatalog());
        data::Session mine(&own);
        mine.userId = userId;
        mine.companyId = own.id();
        ScriptedPrompter answers;
        UsageLogBatches desk(mine, answers, clock);
        LogTransfer copier(mine, answers, desk);
        for (int round = 0; round < Rounds; ++round) {
            sync.arrive_and_wait();
            if (!copier.drop(Mode::Copy, logs, source, target))
                ++refused;
        }
    };
    std::thread first(station, u"EQM"_s);
    std::thread second(station, u"ADM"_s);
    first.join();
    second.join();
    EXPECT_LT(refused.load(), Rounds) << "the stations took turns, mostly without waiting long";
    // Every copy that was not refused whole is there in full, under its own number.
    EXPECT_EQ(logsOf(target).size(), (2 * Rounds - refused) * logs.size());
    EXPECT_EQ(logsOf(source), logs);
}

TEST(LogSelectionTest, TicksKeepTheirOrderAndTheHighlightedLogStandsInForNone)
{
    LogSelection selection;
    EXPECT_EQ(selection.transferList(7), QList<qint32>{7});
    EXPECT_TRUE(selection.transferList(std::nullopt).isEmpty());
    selection.toggle(5);
    selection.toggle(2);
    selection.toggle(9);
    selection.toggle(2); // "Deselect"
    EXPECT_EQ(selection.transferList(7), (QList<qint32>{5, 9}));
    selection.selectAll({1, 2, 5, 9});
    EXPECT_EQ(selection.selected(), (QList<qint32>{5, 9, 1, 2}));
    selection.invert({1, 2, 3, 5, 9});
    EXPECT_EQ(selection.selected(), QList<qint32>{3});
    selection.setFiltered(true);
    selection.clear();
    EXPECT_TRUE(selection.isEmpty());
    EXPECT_FALSE(selection.filtered()) << "a new batch shows all its rows";
}

INSTANTIATE_TEST_SUITE_P(Backends, LogTransferTest, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
