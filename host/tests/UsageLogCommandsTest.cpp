// The usage logs from the command line: batches added, listed, posted,
// reordered and tagged, logs added, imported and exported.

#include "CommandLineFixture.h"

#include "records/EQBatch.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "data/suite/SystemFiles.h"

#include "core/OutputFile.h"
#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using qaveq::testing::CommandLineTest;
using qaveq::testing::finished;
using qaveq::testing::Outcome;

int lines(const QString &text)
{
    return int(text.count(u'\n'));
}

TEST_F(CommandLineTest, BatchesAreAddedListedAndPostedHeadless)
{
    qaveq({u"init"_s, u"--demo"_s});
    const Outcome added =
        qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Night shift"_s, u"--secure"_s, u"2"_s});
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, u"4\n");
    const Outcome listed = qaveq({u"batch"_s, u"list"_s});
    EXPECT_TRUE(listed.out.contains(u"    4     Night shift                ADM   2"_s))
        << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(u"    3  R  Monthly Standby Charges"_s));

    const int postedBefore = lines(qaveq({u"dump"_s, u"EQLog"_s}).out);
    const Outcome posted = qaveq({u"--user"_s, u"EQM"_s, u"post"_s, u"--batch"_s, u"1"_s});
    ASSERT_EQ(posted.status, 0) << posted.err.toStdString();
    EXPECT_TRUE(posted.out.startsWith(u"Posted 6 usage logs of batch 1, amount "_s))
        << posted.out.toStdString();
    EXPECT_EQ(lines(qaveq({u"dump"_s, u"EQLog"_s}).out), postedBefore + 6);
    EXPECT_FALSE(qaveq({u"dump"_s, u"EQLogB"_s}).out.contains(u"\"BatchID\":1,"_s));
    // The run signs off again and leaves the batch free.
    EXPECT_FALSE(qaveq({u"dump"_s, u"NetUser"_s}).out.contains(u"\"UserID\":\"EQM\""_s));
    EXPECT_TRUE(qaveq({u"dump"_s, u"EQBatch"_s}).out.contains(u"\"InUseBy\":\"\""_s));

    const Outcome secure = qaveq({u"--user"_s, u"EQM"_s, u"post"_s, u"--batch"_s, u"2"_s});
    EXPECT_EQ(secure.status, 1);
    EXPECT_EQ(secure.err, u"Unable to Tag Batch: This batch can only be tagged by user ADM.\n");
    const Outcome viewer = qaveq({u"--user"_s, u"VEW"_s, u"post"_s, u"--batch"_s, u"3"_s});
    EXPECT_EQ(viewer.status, 1);
    EXPECT_TRUE(viewer.err.startsWith(u"Insufficient Access: User VEW has read only"_s));
    EXPECT_EQ(qaveq({u"post"_s}).status, 2);
    EXPECT_EQ(qaveq({u"batch"_s, u"add"_s, u"--secure"_s, u"3"_s}).status, 2);
    EXPECT_EQ(qaveq({u"batch"_s, u"tag"_s}).status, 2);
    EXPECT_EQ(qaveq({u"batch"_s, u"untag"_s, u"x"_s}).status, 2);
    const Outcome notMine = qaveq({u"batch"_s, u"untag"_s, u"3"_s});
    EXPECT_EQ(notMine.status, 1) << "nobody holds it: untagging it is no success";
    EXPECT_EQ(notMine.err, u"qaveq: batch 3 is not tagged by ADM; nothing was changed.\n");
}

TEST_F(CommandLineTest, BatchesAreReorderedAndLogsCopiedAndMovedHeadless)
{
    qaveq({u"init"_s, u"--demo"_s});
    const auto order = [this] {
        QStringList numbers;
        for (const QString &line : qaveq({u"batch"_s, u"list"_s}).out.split(u'\n').mid(1))
            if (!line.isEmpty())
                numbers.append(line.left(5).trimmed());
        return numbers;
    };
    const QStringList before = order();
    ASSERT_EQ(before, (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    const Outcome top = qaveq({u"batch"_s, u"move"_s, u"3"_s, u"top"_s});
    ASSERT_EQ(top.status, 0) << top.err.toStdString();
    EXPECT_EQ(top.out, u"Batch 3 moved top.\n");
    EXPECT_EQ(order(), (QStringList{u"3"_s, u"1"_s, u"2"_s}));
    const Outcome first = qaveq({u"batch"_s, u"move"_s, u"3"_s, u"up"_s});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, u"Batch 3 is already first; nothing was changed.\n");
    EXPECT_EQ(qaveq({u"batch"_s, u"move"_s, u"1"_s, u"sideways"_s}).status, 2);
    EXPECT_EQ(qaveq({u"batch"_s, u"move"_s, u"99"_s, u"up"_s}).status, 1);
    const Outcome viewer = qaveq({u"--user"_s, u"VEW"_s, u"batch"_s, u"move"_s, u"1"_s, u"up"_s});
    EXPECT_EQ(viewer.status, 1);
    EXPECT_EQ(order(), (QStringList{u"3"_s, u"1"_s, u"2"_s}));

    // The logs of batch 1, from the file itself.
    QStringList logs;
    const QRegularExpression entry(u"\"LogID\":(\\d+),.*\"BatchID\":1,"_s);
    for (const QString &line : qaveq({u"dump"_s, u"EQLogB"_s}).out.split(u'\n'))
        if (const QRegularExpressionMatch match = entry.match(line); match.hasMatch())
            logs.append(match.captured(1));
    ASSERT_GE(logs.size(), 3);
    const Outcome copied =
        qaveq(QStringList{u"logs"_s, u"copy"_s, u"--to"_s, u"3"_s} + logs.mid(0, 2));
    ASSERT_EQ(copied.status, 0) << copied.err.toStdString();
    EXPECT_EQ(lines(copied.out), 2);
    EXPECT_FALSE(logs.contains(copied.out.section(u'\n', 0, 0)));
    const Outcome moved = qaveq({u"logs"_s, u"move"_s, u"--to"_s, u"3"_s, logs[2]});
    ASSERT_EQ(moved.status, 0) << moved.err.toStdString();
    EXPECT_EQ(moved.out, u"Moved 1 log to batch 3.\n");
    const QString dumped = qaveq({u"dump"_s, u"EQLogB"_s}).out;
    EXPECT_TRUE(QRegularExpression(u"\"LogID\":"_s + logs[2] + u",.*\"BatchID\":3,"_s)
                    .match(dumped)
                    .hasMatch());
    EXPECT_TRUE(QRegularExpression(u"\"LogID\":"_s + logs[0] + u",.*\"BatchID\":1,"_s)
                    .match(dumped)
                    .hasMatch());

    // Batch 2 is another user's secure batch: it takes no logs.
    const Outcome refused =
        qaveq({u"--user"_s, u"EQM"_s, u"logs"_s, u"copy"_s, u"--to"_s, u"2"_s, logs[0]});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.startsWith(u"Secure Batch: The target batch is a secure batch"_s))
        << refused.err.toStdString();
    EXPECT_EQ(qaveq({u"logs"_s, u"copy"_s, u"--to"_s, u"3"_s, u"999999"_s}).status, 1);
    EXPECT_EQ(qaveq({u"logs"_s, u"copy"_s, u"3"_s}).status, 2);
    EXPECT_EQ(qaveq({u"logs"_s, u"swap"_s, u"--to"_s, u"3"_s, logs[0]}).status, 2);
}

TEST_F(CommandLineTest, OfTwoStationsTaggingOneBatchAtOnceExactlyOneWinsEachTime)
{
    constexpr int Rounds = 100;
    qaveq({u"init"_s, u"--demo"_s});
    const QString batch =
        qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Shared"_s}).out.trimmed();
    ASSERT_FALSE(batch.isEmpty());
    {
        // Both users are signed on, so a flag held by either is asked about
        // (and, unanswered, refused) rather than taken silently.
        qaveq::data::Company station(folder.path() + u"/co"_s, qaveq::companyCatalog());
        for (const QString &user : {u"EQM"_s, u"ADM"_s}) {
            qaveq::NetUser signedOn;
            signedOn.UserID = user;
            signedOn.CompanyID = station.id();
            ASSERT_TRUE(station.file<qaveq::NetUser>().insert(signedOn).isOk());
        }
    }
    const QStringList users{u"EQM"_s, u"ADM"_s};
    int rounds = 0;
    for (int round = 0; round < Rounds; ++round) {
        std::array<QProcess, 2> runs;
        for (int i = 0; i < 2; ++i)
            start(runs[i], {u"--user"_s, users[i], u"batch"_s, u"tag"_s, batch});
        const std::array<Outcome, 2> outcome{finished(runs[0]), finished(runs[1])};
        const int winners = (outcome[0].status == 0 ? 1 : 0) + (outcome[1].status == 0 ? 1 : 0);
        if (winners != 1)
            break;
        const int winner = outcome[0].status == 0 ? 0 : 1;
        EXPECT_EQ(outcome[winner].out,
                  u"Batch "_s + batch + u" is tagged by "_s + users[winner] + u".\n"_s);
        EXPECT_EQ(outcome[1 - winner].status, 1);
        EXPECT_TRUE(outcome[1 - winner].err.startsWith(u"Batch In Use: "_s))
            << outcome[1 - winner].err.toStdString();
        ASSERT_EQ(qaveq({u"--user"_s, users[winner], u"batch"_s, u"untag"_s, batch}).status, 0);
        ++rounds;
    }
    EXPECT_EQ(rounds, Rounds);
    EXPECT_FALSE(qaveq({u"batch"_s, u"list"_s}).out.contains(u"ADM   0       EQM"_s));
    EXPECT_FALSE(qaveq({u"batch"_s, u"list"_s}).out.contains(u"ADM   0       ADM"_s));
}

TEST_F(CommandLineTest, LogAddChargesThroughTheFormsRulesAndKeepsOutOfAHeldBatch)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    const QString batch =
        qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Scripted"_s}).out.trimmed();
    const QStringList add{u"log"_s,         u"add"_s,     u"--batch"_s,     batch,
                          u"--equipment"_s, u"CMP-401"_s, u"--units"_s,     u"8"_s,
                          u"--job"_s,       u"bridge"_s,  u"--cost-code"_s, u"0203003"_s};
    const Outcome added = qaveq(add);
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    const QString logs = qaveq({u"dump"_s, u"EQLogB"_s}).out;
    const QString line =
        logs.split(u'\n').filter(u"\"LogID\":"_s + added.out.trimmed() + u',').value(0);
    EXPECT_TRUE(line.contains(u"\"JobID\":\"2401\""_s)) << "the only job named so";
    EXPECT_TRUE(line.contains(u"\"CostCode\":\"020300S\""_s)) << "3 stands for subcontract";
    EXPECT_TRUE(line.contains(u"\"Units\":\"8.00\""_s));
    EXPECT_TRUE(line.contains(u"\"GrossAmount\":\"144.00\""_s)) << "8 at the internal 18.00";

    const Outcome refused = qaveq({u"log"_s, u"add"_s, u"--batch"_s, batch, u"--equipment"_s,
                                   u"CMP-401"_s, u"--units"_s, u"2"_s, u"--account"_s, u"3900"_s});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(u"Current Earnings Account Entered"_s));

    {
        // Another user, signed on, is entering logs in the batch.
        qaveq::data::Company station(folder.path() + u"/co"_s, qaveq::companyCatalog());
        qaveq::EQBatch held;
        held.BatchID = quint16(batch.toUInt());
        ASSERT_TRUE(station.file<qaveq::EQBatch>().fetch(u"KeyBatchID", held).isOk());
        held.InUseBy = u"EQM"_s;
        ASSERT_TRUE(station.file<qaveq::EQBatch>().update(held).isOk());
        qaveq::NetUser other;
        other.UserID = u"EQM"_s;
        other.CompanyID = station.id();
        ASSERT_TRUE(station.file<qaveq::NetUser>().insert(other).isOk());
    }
    const Outcome kept = qaveq(add);
    EXPECT_EQ(kept.status, 1);
    EXPECT_TRUE(kept.err.contains(u"Batch In Use"_s)) << kept.err.toStdString();
    EXPECT_EQ(qaveq({u"dump"_s, u"EQLogB"_s}).out, logs) << "nothing added";
}

TEST_F(CommandLineTest, TwoStationsAddingLogsToOneBatchAtOnceKeepEveryLog)
{
    constexpr int Rounds = 10;
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    const QString batch =
        qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Both"_s}).out.trimmed();
    const auto count = [this] { return qaveq({u"dump"_s, u"EQLogB"_s}).out.count(u'\n'); };
    const qsizetype before = count();
    int added = 0;
    for (int round = 0; round < Rounds; ++round)
        for (const Outcome &run :
             together({u"log"_s, u"add"_s, u"--batch"_s, batch, u"--equipment"_s, u"TRK-101"_s,
                       u"--units"_s, u"1"_s, u"--account"_s, u"6110"_s})) {
            expectWonOrToldWhy(run, u"EQLogB"_s);
            added += run.status == 0 ? 1 : 0;
        }
    EXPECT_GT(added, Rounds);
    EXPECT_EQ(count(), before + added) << "each log saved once, none lost";
}

TEST_F(CommandLineTest, ImportListsErrorsProceedsOnRequestAndExportReadsBack)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    const QString first = qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"In"_s}).out.trimmed();
    const QString second =
        qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Again"_s}).out.trimmed();
    QString equipment;
    const auto logsIn = [this](const QString &batch) {
        qaveq::data::Company station(folder.path() + u"/co"_s, qaveq::companyCatalog());
        return station.file<qaveq::EQLogB>()
            .scan(u"KeyBatchID", qaveq::data::ScanOptions::equal({batch.toLongLong()}))
            .count();
    };
    {
        qaveq::data::Company station(folder.path() + u"/co"_s, qaveq::companyCatalog());
        qaveq::EQHeader piece;
        qaveq::data::KeyCursor cursor = station.file<qaveq::EQHeader>().scan(u"KeyEquipmentID");
        ASSERT_TRUE(cursor.next(piece));
        equipment = piece.EquipmentID.trimmed();
    }
    const QString source = u"*Usage Logs Exported from Tessary"_s;
    const QString in = folder.filePath(u"in.csv"_s);
    ASSERT_TRUE(qaveq::OutputFile::write(in, (u"NOPE,0,1\n"_s + equipment +
                                              u",0,2,,,,6110,,,,,\"Fuel, oil\",01/05/2025\n"_s)
                                                 .toUtf8())
                    .isEmpty());

    const Outcome refused = qaveq({u"import"_s, u"--batch"_s, first, u"--source"_s, source, in});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.startsWith(u"1\tEquipment: NOPE Not Found\n"_s))
        << refused.err.toStdString();
    EXPECT_EQ(logsIn(first), 0);

    const Outcome viewer = qaveq({u"--user"_s, u"VEW"_s, u"import"_s, u"--batch"_s, first,
                                  u"--source"_s, source, u"--proceed"_s, in});
    EXPECT_EQ(viewer.status, 1);
    EXPECT_TRUE(viewer.err.contains(u"has read only privileges"_s)) << viewer.err.toStdString();
    EXPECT_EQ(logsIn(first), 0);

    const Outcome imported =
        qaveq({u"import"_s, u"--batch"_s, first, u"--source"_s, source, u"--proceed"_s, in});
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.startsWith(u"Imported 1 usage log into batch "_s + first + u", "_s))
        << imported.out.toStdString();
    EXPECT_EQ(imported.out.count(u'\n'), 1) << "one line";
    EXPECT_EQ(logsIn(first), 1);

    const QString out = folder.filePath(u"out.txt"_s);
    const Outcome exported = qaveq({u"export"_s, u"--batch"_s, first, out});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, u"1\n");
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains(",\"Fuel, oil\", 1/ 5/2025,"));

    // Two stations importing the same file into one batch at once: both get
    // all their lines in, none twice.
    const std::array<Outcome, 2> both =
        together({u"import"_s, u"--batch"_s, second, u"--source"_s, source, out});
    for (const Outcome &run : both) {
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(u"Imported 1 usage log into batch "_s + second));
    }
    EXPECT_EQ(logsIn(second), 2);

    const Outcome unknown = qaveq({u"import"_s, u"--batch"_s, first, u"--source"_s, u"Nope"_s, in});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains(u"  *Usage Logs Exported from Tessary\n"_s));
    EXPECT_EQ(qaveq({u"import"_s, u"--batch"_s, first, in}).status, 2);
    EXPECT_EQ(qaveq({u"export"_s, u"--batch"_s, u"0"_s, out}).status, 2);
}

} // namespace
