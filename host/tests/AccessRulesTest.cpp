// Who may do what, tried through the built program as a second station, on
// every database the data tests run on.
#include "CommandRun.h"

#include "records/EQBatch.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/Decimal.h"
#include "core/Picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <array>
#include <map>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::finished;
using qaveq::testing::Outcome;

namespace {

class AccessRulesTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    QTemporaryDir folder;

    QString companyFolder() const { return folder.filePath(u"co"_s); }

    void SetUp() override
    {
        if (database.settings().dialect == data::Dialect::PostgreSQL) {
            QDir().mkpath(companyFolder());
            data::Company::setPostgresServer(companyFolder(), database.settings());
        }
        const Outcome init = qaveq({u"init"_s, u"--demo"_s});
        ASSERT_EQ(init.status, 0) << init.err.toStdString();
        // A hand-written settings file (the server's) takes the ID as well.
        EXPECT_TRUE(init.out.startsWith(u"Demonstration company DEMO created"_s))
            << init.out.toStdString();
    }

    void start(QProcess &run, const QStringList &arguments) const
    {
        run.start(QStringLiteral(QAVEQ_PROGRAM),
                  QStringList{u"--company"_s, companyFolder()} + arguments);
    }

    // The program as a station of its own.
    Outcome qaveq(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess run;
        start(run, arguments);
        run.write(input);
        run.closeWriteChannel();
        return finished(run);
    }

    Outcome as(const QString &user, const QStringList &arguments) const
    {
        return qaveq(QStringList{u"--user"_s, user} + arguments);
    }

    // Every record of `file`, as dump prints them.
    QString dump(const QString &file) const { return qaveq({u"dump"_s, file}).out; }

    static QList<QJsonObject> records(const QString &dumped)
    {
        QList<QJsonObject> all;
        for (const QString &line : dumped.split(u'\n', Qt::SkipEmptyParts))
            all.append(QJsonDocument::fromJson(line.toUtf8()).object());
        return all;
    }

    static Decimal decimal(const QJsonObject &record, const QString &field)
    {
        return Decimal::parse(record.value(field).toString()).value_or(Decimal());
    }

    // Everything a refused command might have touched.
    QString everything() const
    {
        QString all;
        for (const QString &file :
             {u"EQHeader"_s, u"EQCost"_s, u"EQCode"_s, u"EQBatch"_s, u"EQLogB"_s, u"EQLog"_s,
              u"GLDepr"_s, u"GLTrans"_s, u"EQLimits"_s, u"Systems"_s, u"UserLog"_s})
            all += dump(file);
        return all;
    }

    QString batchAdded(const QString &user, const QString &description, int secure = 0) const
    {
        const Outcome added = as(user, {u"batch"_s, u"add"_s, u"--description"_s, description,
                                        u"--secure"_s, QString::number(secure)});
        EXPECT_EQ(added.status, 0) << added.err.toStdString();
        return added.out.trimmed();
    }

    QStringList logAdd(const QString &batch) const
    {
        return {u"log"_s,     u"add"_s,     u"--batch"_s, batch,          u"--equipment"_s,
                u"TRK-101"_s, u"--units"_s, u"2"_s,       u"--account"_s, u"6110"_s};
    }

    // A network-user record as a station on this machine writes it.
    void signedOnStation(const QString &user, qint64 processId, const QString &activity = {})
    {
        data::Company station(companyFolder(), companyCatalog());
        NetUser record;
        record.UserID = user;
        record.CompanyID = station.id();
        record.Activity = activity;
        record.Host = QSysInfo::machineHostName();
        record.ProcessID = processId;
        ASSERT_TRUE(station.file<NetUser>().insert(record).isOk());
    }

    void flag(quint16 batchId, const QString &user)
    {
        data::Company station(companyFolder(), companyCatalog());
        EQBatch batch;
        batch.BatchID = batchId;
        ASSERT_TRUE(station.file<EQBatch>().fetch(u"KeyBatchID", batch).isOk());
        batch.InUseBy = user;
        ASSERT_TRUE(station.file<EQBatch>().update(batch).isOk());
    }
};

// What every writing command is asked to do in the demonstration company.
QList<QStringList> writingCommands(const QString &exported)
{
    return {{u"depreciation"_s, u"TRK-101"_s},
            {u"apply-categories"_s, u"--yes"_s},
            {u"equipment"_s, u"delete"_s, u"TRK-101"_s, u"--yes"_s},
            {u"batch"_s, u"add"_s, u"--description"_s, u"Mine"_s},
            {u"batch"_s, u"tag"_s, u"1"_s},
            {u"batch"_s, u"move"_s, u"1"_s, u"down"_s},
            {u"post"_s, u"--batch"_s, u"1"_s},
            {u"logs"_s, u"move"_s, u"--to"_s, u"3"_s, u"1"_s},
            {u"log"_s, u"add"_s, u"--batch"_s, u"1"_s, u"--equipment"_s, u"TRK-101"_s, u"--units"_s,
             u"2"_s, u"--account"_s, u"6110"_s},
            {u"import"_s, u"--batch"_s, u"1"_s, u"--source"_s,
             u"*Usage Logs Exported from Tessary"_s, exported},
            {u"load"_s, u"EQCode"_s},
            {u"report"_s, u"copy"_s, u"1"_s},
            {u"logging-level"_s, u"2"_s}};
}

TEST_P(AccessRulesTest, AnUnknownUserIsRefusedBeforeAnythingIsReadOrWritten)
{
    const QString exported = folder.filePath(u"batch1.csv"_s);
    ASSERT_EQ(qaveq({u"export"_s, u"--batch"_s, u"1"_s, exported}).status, 0);
    const QString before = everything();
    QList<QStringList> commands = writingCommands(exported);
    commands += {{u"dump"_s, u"EQHeader"_s}, {u"batch"_s, u"list"_s}};
    for (const QStringList &command : std::as_const(commands)) {
        const Outcome run = qaveq(QStringList{u"--user"_s, u"XYZ"_s} + command,
                                  R"({"CategoryID":"NEW","Description":"New"})");
        EXPECT_EQ(run.status, 1) << command.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(u"qaveq: User \"XYZ\" is not set up in company"_s))
            << command.join(u' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, QString()) << command.join(u' ').toStdString();
    }
    EXPECT_EQ(everything(), before);
    EXPECT_FALSE(dump(u"NetUser"_s).contains(u"XYZ"_s));
}

TEST_P(AccessRulesTest, AReadOnlyUserIsRefusedByEveryWritingCommand)
{
    const QString exported = folder.filePath(u"batch1.csv"_s);
    ASSERT_EQ(qaveq({u"export"_s, u"--batch"_s, u"1"_s, exported}).status, 0);
    const QString before = everything();
    for (const QStringList &command : writingCommands(exported)) {
        const Outcome run = qaveq(QStringList{u"--user"_s, u"VEW"_s} + command,
                                  R"({"CategoryID":"NEW","Description":"New"})");
        EXPECT_EQ(run.status, 1) << command.join(u' ').toStdString();
        const bool administrators =
            command.first() == u"logging-level" || command.first() == u"load";
        EXPECT_TRUE(run.err.contains(administrators
                                         ? u"nly the administrator (ADM)"_s
                                         : u"Insufficient Access: User VEW has read only"_s))
            << command.join(u' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_EQ(everything(), before);
    // Looking stays allowed, and a dry run writes nothing.
    EXPECT_EQ(as(u"VEW"_s, {u"batch"_s, u"list"_s}).status, 0);
    EXPECT_EQ(as(u"VEW"_s, {u"depreciation"_s, u"TRK-101"_s, u"--dry-run"_s}).status, 0);
    EXPECT_EQ(as(u"VEW"_s, {u"export"_s, u"--batch"_s, u"1"_s, exported}).status, 0);
}

TEST_P(AccessRulesTest, ANewOrUpgradedCompanyWithoutUsersGetsItsAdministrator)
{
    {
        data::Company company(companyFolder(), companyCatalog());
        data::Table &users = company.file<UserFile>();
        for (UserFile user; users.scan(u"KeyUserID").next(user);)
            ASSERT_TRUE(users.remove(user).isOk());
    }
    EXPECT_EQ(as(u"ADM"_s, {u"batch"_s, u"list"_s}).status, 1) << "nobody to sign on as";
    const Outcome upgraded = qaveq({u"init"_s});
    EXPECT_EQ(upgraded.status, 0) << upgraded.err.toStdString();
    EXPECT_TRUE(upgraded.out.contains(u"User ADM (administrator) added."_s));
    EXPECT_EQ(as(u"ADM"_s, {u"batch"_s, u"list"_s}).status, 0);
    EXPECT_FALSE(qaveq({u"init"_s}).out.contains(u"added"_s)) << "only into an empty user file";
}

TEST_P(AccessRulesTest, TheRecordOfAStationThatIsGoneIsRemovedWhenAnyStationStarts)
{
    // A station killed while posting: its process no longer runs.
    QProcess gone;
    gone.start(u"sleep"_s, {u"0.1"_s});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadProcess = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    signedOnStation(u"EQM"_s, deadProcess, u"posting Equipment Usage Logs"_s);
    flag(1, u"EQM"_s);
    // A station that still runs (this test) keeps its record.
    signedOnStation(u"VEW"_s, QCoreApplication::applicationPid());

    const Outcome posted = as(u"ADM"_s, {u"post"_s, u"--batch"_s, u"1"_s});
    EXPECT_EQ(posted.status, 0) << posted.err.toStdString();
    const QString stations = as(u"ADM"_s, {u"dump"_s, u"NetUser"_s}).out;
    EXPECT_FALSE(stations.contains(u"\"UserID\":\"EQM\""_s)) << stations.toStdString();
    EXPECT_TRUE(stations.contains(u"\"UserID\":\"VEW\""_s));
    EXPECT_EQ(stations.count(u"\"UserID\":\"ADM\""_s), 1)
        << "the dump's own station only: the post signed off again";
}

TEST_P(AccessRulesTest, AnotherUsersSecureBatchHoldsOnEveryPath)
{
    // Batch 2 is ADM's, not to be changed by others; this one is hidden from them.
    const QString hidden = batchAdded(u"ADM"_s, u"Private"_s, 2);
    ASSERT_EQ(as(u"ADM"_s, logAdd(hidden)).status, 0);
    const QString exported = folder.filePath(u"out.csv"_s);
    const QString logs = dump(u"EQLogB"_s);

    const Outcome readable = as(u"EQM"_s, {u"export"_s, u"--batch"_s, u"2"_s, exported});
    EXPECT_EQ(readable.status, 0) << readable.err.toStdString();
    QFile::remove(exported);
    const Outcome exportHidden = as(u"EQM"_s, {u"export"_s, u"--batch"_s, hidden, exported});
    EXPECT_EQ(exportHidden.status, 1);
    EXPECT_TRUE(exportHidden.err.contains(
        u"Usage Logs included in Highlighted Batch can only be viewed by user ADM"_s))
        << exportHidden.err.toStdString();
    EXPECT_FALSE(QFile::exists(exported));

    const Outcome ownExport = as(u"ADM"_s, {u"export"_s, u"--batch"_s, hidden, exported});
    ASSERT_EQ(ownExport.status, 0) << ownExport.err.toStdString();
    for (const QString &batch : {u"2"_s, hidden}) {
        const Outcome imported = as(u"EQM"_s, {u"import"_s, u"--batch"_s, batch, u"--source"_s,
                                               u"*Usage Logs Exported from Tessary"_s, exported});
        EXPECT_EQ(imported.status, 1);
        EXPECT_TRUE(imported.err.contains(u"Highlighted Batch can only be"_s))
            << imported.err.toStdString();
        const Outcome added = as(u"EQM"_s, logAdd(batch));
        EXPECT_EQ(added.status, 1);
        EXPECT_TRUE(added.err.contains(u"Secure Batch: Usage Logs included in Highlighted Batch"_s))
            << "log add says why: " << added.err.toStdString();
    }
    const QString pdf = folder.filePath(u"proof.pdf"_s);
    const Outcome proof =
        as(u"EQM"_s, {u"report"_s, u"run"_s, u"10"_s, u"--batch"_s, hidden, u"--pdf"_s, pdf});
    EXPECT_EQ(proof.status, 1);
    EXPECT_TRUE(proof.err.contains(u"can only be viewed by user ADM"_s)) << proof.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(dump(u"EQLogB"_s), logs) << "nothing added to either batch";

    // Listed to others without its logs' count and amount.
    const auto lineOf = [&](const QString &user) {
        for (const QString &line : as(user, {u"batch"_s, u"list"_s}).out.split(u'\n'))
            if (line.trimmed().startsWith(hidden + u"  "_s))
                return line.trimmed();
        return QString();
    };
    EXPECT_TRUE(lineOf(u"EQM"_s).endsWith(u"ADM   2"_s)) << lineOf(u"EQM"_s).toStdString();
    EXPECT_TRUE(lineOf(u"ADM"_s).startsWith(lineOf(u"EQM"_s) + u"  "_s))
        << "the owner sees the count and the amount: " << lineOf(u"ADM"_s).toStdString();
}

TEST_P(AccessRulesTest, OfTwoStationsTaggingAtOnceOneWinsAndTheOtherIsToldWho)
{
    constexpr int Rounds = 5;
    const QString batch = batchAdded(u"ADM"_s, u"Shared"_s);
    const QStringList users{u"EQM"_s, u"ADM"_s};
    // Both users are signed on at other stations too, so a flag held by either
    // stays theirs after the command that took it ends.
    for (const QString &user : users)
        signedOnStation(user, QCoreApplication::applicationPid());
    for (int round = 0; round < Rounds; ++round) {
        std::array<QProcess, 2> runs;
        for (int i = 0; i < 2; ++i)
            start(runs[i], {u"--user"_s, users[i], u"batch"_s, u"tag"_s, batch});
        const std::array<Outcome, 2> outcome{finished(runs[0]), finished(runs[1])};
        ASSERT_EQ(int(outcome[0].status == 0) + int(outcome[1].status == 0), 1)
            << outcome[0].err.toStdString() << outcome[1].err.toStdString();
        const int winner = outcome[0].status == 0 ? 0 : 1;
        EXPECT_EQ(outcome[winner].out,
                  u"Batch "_s + batch + u" is tagged by "_s + users[winner] + u".\n"_s);
        EXPECT_EQ(outcome[1 - winner].status, 1);
        EXPECT_TRUE(outcome[1 - winner].err.startsWith(
            u"Batch In Use: This usage log batch is flagged as being in use by user "_s +
            users[winner] + u'.'))
            << outcome[1 - winner].err.toStdString();
        ASSERT_EQ(as(users[winner], {u"batch"_s, u"untag"_s, batch}).status, 0);
    }
}

TEST_P(AccessRulesTest, ABatchInAnotherSignedOnUsersHandsTakesAndGivesUpNoLogs)
{
    const QString exported = folder.filePath(u"batch2.csv"_s);
    ASSERT_EQ(qaveq({u"export"_s, u"--batch"_s, u"2"_s, exported}).status, 0);
    QString inBatch1, elsewhere;
    for (const QJsonObject &log : records(dump(u"EQLogB"_s))) {
        QString &id = log.value(u"BatchID"_s).toInt() == 1 ? inBatch1 : elsewhere;
        if (id.isEmpty())
            id = QString::number(log.value(u"LogID"_s).toInt());
    }
    ASSERT_FALSE(inBatch1.isEmpty() || elsewhere.isEmpty());
    signedOnStation(u"EQM"_s, QCoreApplication::applicationPid());
    flag(1, u"EQM"_s);
    const QString logs = dump(u"EQLogB"_s);
    for (const QStringList &command :
         {QStringList{u"logs"_s, u"move"_s, u"--to"_s, u"3"_s, inBatch1},
          {u"logs"_s, u"copy"_s, u"--to"_s, u"1"_s, elsewhere},
          {u"import"_s, u"--batch"_s, u"1"_s, u"--source"_s, u"*Usage Logs Exported from Tessary"_s,
           exported}}) {
        const Outcome run = as(u"ADM"_s, command);
        EXPECT_EQ(run.status, 1) << command.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(u"flagged as being in use"_s)) << run.err.toStdString();
    }
    EXPECT_EQ(dump(u"EQLogB"_s), logs);
    // The holder himself moves them.
    EXPECT_EQ(as(u"EQM"_s, {u"logs"_s, u"move"_s, u"--to"_s, u"3"_s, inBatch1}).status, 0);
}

TEST_P(AccessRulesTest, AFlagOfASignedOnUserIsTakenOnlyWithProceed)
{
    signedOnStation(u"EQM"_s, QCoreApplication::applicationPid());
    flag(1, u"EQM"_s);
    const Outcome asked = as(u"ADM"_s, {u"batch"_s, u"tag"_s, u"1"_s});
    EXPECT_EQ(asked.status, 1);
    EXPECT_TRUE(asked.err.startsWith(u"Batch In Use: This usage log batch is flagged as being in "
                                     u"use"_s))
        << asked.err.toStdString();
    const Outcome proceeded = as(u"ADM"_s, {u"batch"_s, u"tag"_s, u"1"_s, u"--proceed"_s});
    EXPECT_EQ(proceeded.status, 0) << proceeded.err.toStdString();
    EXPECT_EQ(proceeded.out, u"Batch 1 is tagged by ADM.\n");
    EXPECT_EQ(as(u"ADM"_s, {u"batch"_s, u"untag"_s, u"1"_s, u"--proceed"_s}).status, 2);
}

TEST_P(AccessRulesTest, PostingSaysWhatItPostedAndMovesTheMeters)
{
    const QList<QJsonObject> unposted = records(dump(u"EQLogB"_s));
    Decimal amount;
    int count = 0;
    std::map<QString, Decimal> highest;
    for (const QJsonObject &log : unposted) {
        if (log.value(u"BatchID"_s).toInt() != 1)
            continue;
        ++count;
        amount += decimal(log, u"AdjustedAmount"_s);
        Decimal &end = highest[log.value(u"EquipmentID"_s).toString()];
        end = std::max(end, decimal(log, u"EndMeter"_s).rounded(0));
    }
    ASSERT_GT(count, 0);
    std::map<QString, Decimal> meters;
    for (const QJsonObject &piece : records(dump(u"EQHeader"_s)))
        meters[piece.value(u"EquipmentID"_s).toString()] = decimal(piece, u"CurrentMeter"_s);

    const QString empty = batchAdded(u"EQM"_s, u"Nothing yet"_s);
    const Outcome nothing = as(u"EQM"_s, {u"post"_s, u"--batch"_s, empty});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err,
              u"Nothing to Post: Batch "_s + empty + u" is empty. Nothing was posted.\n"_s);

    const Outcome posted = as(u"EQM"_s, {u"post"_s, u"--batch"_s, u"1"_s, u"--batch"_s, empty});
    ASSERT_EQ(posted.status, 0) << posted.err.toStdString();
    const QString expected = u"Posted %1 usage logs of batch 1, amount %2, in journal "_s.arg(
        QString::number(count), Picture::parse(u"@n-15.2").format(amount).trimmed());
    EXPECT_TRUE(posted.out.startsWith(expected)) << posted.out.toStdString();
    EXPECT_TRUE(posted.out.endsWith(u".\nBatch "_s + empty + u" was empty.\n"_s))
        << posted.out.toStdString();

    for (const QJsonObject &piece : records(dump(u"EQHeader"_s))) {
        const QString id = piece.value(u"EquipmentID"_s).toString();
        const Decimal meter = decimal(piece, u"CurrentMeter"_s);
        const Decimal expected =
            highest.count(id) != 0 ? std::max(meters[id], highest[id]) : meters[id];
        EXPECT_EQ(meter, expected) << id.toStdString();
    }
}

TEST_P(AccessRulesTest, ARunThatFailsWhileRedatingPostsNothing)
{
    // Batch 3 repeats monthly: posting keeps its logs and moves them on a
    // month. The move is made to fail, as a full disk would.
    const QString logsBefore = dump(u"EQLogB"_s);
    const QString postedBefore = dump(u"EQLog"_s);
    const QString ledgerBefore = dump(u"GLTrans"_s);
    {
        data::Company station(companyFolder(), companyCatalog());
        database.failUpdates(station.database(), u"EQLogB"_s, u"\"BatchID\" = 3"_s);
    }
    const Outcome failed = as(u"EQM"_s, {u"post"_s, u"--batch"_s, u"3"_s});
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(failed.err.contains(u"Nothing was posted."_s)) << failed.err.toStdString();
    EXPECT_EQ(dump(u"EQLogB"_s), logsBefore);
    EXPECT_EQ(dump(u"EQLog"_s), postedBefore) << "posted once or not at all";
    EXPECT_EQ(dump(u"GLTrans"_s), ledgerBefore);
    EXPECT_FALSE(dump(u"NetUser"_s).contains(u"posting"_s));
}

TEST_P(AccessRulesTest, OfTwoStationsPostingOneBatchAtOnceItIsPostedOnce)
{
    const int logs = int(records(dump(u"EQLogB"_s)).size());
    const int postedBefore = int(records(dump(u"EQLog"_s)).size());
    int inBatch = 0;
    for (const QJsonObject &log : records(dump(u"EQLogB"_s)))
        inBatch += log.value(u"BatchID"_s).toInt() == 1 ? 1 : 0;
    std::array<QProcess, 2> runs;
    start(runs[0], {u"--user"_s, u"EQM"_s, u"post"_s, u"--batch"_s, u"1"_s});
    start(runs[1], {u"--user"_s, u"ADM"_s, u"post"_s, u"--batch"_s, u"1"_s});
    const std::array<Outcome, 2> outcome{finished(runs[0]), finished(runs[1])};
    const int posted = int(outcome[0].status == 0) + int(outcome[1].status == 0);
    EXPECT_LE(posted, 1) << outcome[0].out.toStdString() << outcome[1].out.toStdString();
    const int postedAfter = int(records(dump(u"EQLog"_s)).size());
    EXPECT_EQ(postedAfter, postedBefore + posted * inBatch);
    EXPECT_EQ(int(records(dump(u"EQLogB"_s)).size()), logs - posted * inBatch);
    // Whichever lost may simply post after it.
    if (posted == 0) {
        EXPECT_EQ(as(u"EQM"_s, {u"post"_s, u"--batch"_s, u"1"_s}).status, 0);
    }
}

TEST_P(AccessRulesTest, OnlyTheAdministratorSetsTheLoggingLevelAndLevel2LogsEveryChange)
{
    EXPECT_EQ(qaveq({u"logging-level"_s}).out, u"0\n");
    const Outcome refused = as(u"EQM"_s, {u"logging-level"_s, u"2"_s});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(u"Only the administrator (ADM)"_s));
    EXPECT_EQ(qaveq({u"logging-level"_s, u"3"_s}).status, 2);
    EXPECT_EQ(dump(u"UserLog"_s), QString());

    const Outcome set = as(u"ADM"_s, {u"logging-level"_s, u"2"_s});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(as(u"EQM"_s, {u"logging-level"_s}).out, u"2\n");

    const QString batch = batchAdded(u"EQM"_s, u"Logged"_s);
    ASSERT_EQ(as(u"EQM"_s, logAdd(batch)).status, 0);
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s},
                    R"({"EquipmentID":"SPARE","Description":"Spare trailer"})")
                  .status,
              0);
    const Outcome deleted = qaveq({u"equipment"_s, u"delete"_s, u"SPARE"_s, u"--yes"_s});
    ASSERT_EQ(deleted.status, 0) << deleted.err.toStdString();

    QStringList entries;
    for (const QJsonObject &entry : records(dump(u"UserLog"_s)))
        entries.append(entry.value(u"UserID"_s).toString() + u' ' +
                       entry.value(u"Area"_s).toString() + u": "_s +
                       entry.value(u"Text"_s).toString());
    ASSERT_EQ(entries.size(), 4) << entries.join(u'\n').toStdString();
    EXPECT_EQ(entries[0], u"EQM EQ Usage Logs: Added log entry batch (%1) Logged"_s.arg(batch));
    EXPECT_TRUE(entries[1].startsWith(
        u"EQM EQ Usage Logs: Added a log entry for equipment TRK-101, 2.00 "_s))
        << entries[1].toStdString();
    EXPECT_EQ(entries[2], u"ADM EQ Equipment Setup: Loaded EQHeader: 1 inserted, 0 updated"_s);
    EXPECT_EQ(entries[3], u"ADM EQ Equipment Setup: Deleted equipment (SPARE) Spare trailer"_s);
}

TEST_P(AccessRulesTest, EquipmentWithPostedCostsStaysAndOtherwiseGoesWhole)
{
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s},
                    R"({"EquipmentID":"KEEP","Description":"Costs posted"}
{"EquipmentID":"GO","Description":"Nothing posted"})")
                  .status,
              0);
    ASSERT_EQ(
        qaveq(
            {u"load"_s, u"EQCost"_s},
            R"({"RecordID":"KEEP      FUEL","EquipmentID":"KEEP","CostCategory":"FUEL","CumulativeAmount":"45.00"}
{"RecordID":"GO        FUEL","EquipmentID":"GO","CostCategory":"FUEL"})")
            .status,
        0);
    ASSERT_EQ(qaveq({u"load"_s, u"EQPriorC"_s},
                    R"({"EquipmentID":"GO","Category":"FUEL","FiscalYear":2024})")
                  .status,
              0);
    const Outcome kept = qaveq({u"equipment"_s, u"delete"_s, u"KEEP"_s, u"--yes"_s});
    EXPECT_EQ(kept.status, 1);
    EXPECT_TRUE(kept.err.contains(u"carries posted costs"_s)) << kept.err.toStdString();
    EXPECT_TRUE(dump(u"EQCost"_s).contains(u"\"EquipmentID\":\"KEEP\""_s));

    const Outcome gone = qaveq({u"equipment"_s, u"delete"_s, u"GO"_s, u"--yes"_s});
    ASSERT_EQ(gone.status, 0) << gone.err.toStdString();
    EXPECT_FALSE(dump(u"EQCost"_s).contains(u"\"EquipmentID\":\"GO\""_s));
    EXPECT_FALSE(dump(u"EQPriorC"_s).contains(u"\"EquipmentID\":\"GO\""_s))
        << "its prior-period rows go with it";
}

INSTANTIATE_TEST_SUITE_P(Databases, AccessRulesTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             return info.param;
                         });

} // namespace
