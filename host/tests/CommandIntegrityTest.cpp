// What the commands write, store and refuse: standard output that cannot be
// written, values that cannot be stored exactly, places no file belongs.
#include "CommandRun.h"

#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using qaveq::testing::Outcome;

class CommandIntegrityTest : public ::testing::Test
{
protected:
    // One demonstration company for the whole suite; each test works on a copy.
    static void SetUpTestSuite()
    {
        demo = new QTemporaryDir;
        ASSERT_EQ(qaveq::testing::runIn(demo->filePath(u"co"_s), {u"init"_s, u"--demo"_s}).status,
                  0);
    }
    static void TearDownTestSuite()
    {
        delete demo;
        demo = nullptr;
    }

    void SetUp() override
    {
        QDir().mkpath(company);
        const QDir from(demo->filePath(u"co"_s));
        for (const QString &name : from.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(from.filePath(name), QDir(company).filePath(name)));
    }

    Outcome qaveq(const QStringList &arguments, QString input = {})
    {
        return qaveq::testing::runIn(company, arguments, std::move(input));
    }

    // The built program, its standard output sent to `output`.
    static Outcome program(const QStringList &arguments, const QString &output = {},
                           const std::function<void()> &inChild = {})
    {
        QProcess run;
        if (!output.isEmpty())
            run.setStandardOutputFile(output);
        if (inChild)
            run.setChildProcessModifier(inChild);
        run.start(QStringLiteral(QAVEQ_PROGRAM), arguments);
        return qaveq::testing::finished(run);
    }

    QString logOfBatch(int batch)
    {
        const QRegularExpression entry(u"\"LogID\":(\\d+),.*\"BatchID\":%1,"_s.arg(batch));
        for (const QString &line : qaveq({u"dump"_s, u"EQLogB"_s}).out.split(u'\n'))
            if (const QRegularExpressionMatch match = entry.match(line); match.hasMatch())
                return match.captured(1);
        return {};
    }

    static QTemporaryDir *demo;
    QTemporaryDir folder;
    QString company = folder.filePath(u"co"_s);
};

QTemporaryDir *CommandIntegrityTest::demo = nullptr;

// A full disk or a closed pipe is no success: the command says so and fails.
TEST_F(CommandIntegrityTest, OutputThatCannotBeWrittenFailsTheCommand)
{
    const QStringList runs[] = {
        {u"--company"_s, company, u"dump"_s, u"EQHeader"_s},
        {u"--company"_s, company, u"batch"_s, u"list"_s},
        {u"--company"_s, company, u"depreciation"_s, u"CMP-401"_s},
        {u"--help"_s},
    };
    for (const QStringList &arguments : runs) {
        const Outcome full = program(arguments, u"/dev/full"_s);
        EXPECT_EQ(full.status, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(full.err.contains(u"the standard output could not be written: No space left"_s))
            << full.err.toStdString();
        EXPECT_EQ(program(arguments, u"/dev/null"_s).status, 0);
    }
}

// A company that could not be made whole is taken away again.
TEST_F(CommandIntegrityTest, AFailedInitLeavesNoHalfMadeCompany)
{
    const QString fresh = folder.filePath(u"fresh"_s);
    const Outcome full = program({u"--company"_s, fresh, u"init"_s, u"--demo"_s}, {}, [] {
        // A disk that fills up after 256 KB.
        const rlimit limit{256 * 1024, 256 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    EXPECT_EQ(full.status, 1) << full.err.toStdString();
    EXPECT_TRUE(full.err.contains(u"no company was created"_s)) << full.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(fresh));
}

// Batches 32768 to 65535 keep their logs through entry, listing and posting.
TEST_F(CommandIntegrityTest, TheLastBatchNumberHoldsAndPostsItsLogs)
{
    ASSERT_EQ(qaveq({u"load"_s, u"EQBatch"_s},
                    uR"({"BatchID":65535,"UserID":"ADM","Description":"Last","SortID":900})"_s)
                  .status,
              0);
    const Outcome added =
        qaveq({u"log"_s, u"add"_s, u"--batch"_s, u"65535"_s, u"--equipment"_s, u"CMP-401"_s,
               u"--units"_s, u"8"_s, u"--job"_s, u"bridge"_s, u"--cost-code"_s, u"0203003"_s});
    ASSERT_EQ(added.status, 0) << added.err.toStdString();
    EXPECT_TRUE(QRegularExpression(u"65535 .* 1 +144\\.00"_s)
                    .match(qaveq({u"batch"_s, u"list"_s}).out)
                    .hasMatch())
        << qaveq({u"batch"_s, u"list"_s}).out.toStdString();
    const Outcome posted = qaveq(
        {u"--user"_s, u"EQM"_s, u"post"_s, u"--batch"_s, u"65535"_s, u"--batch"_s, u"65535"_s});
    ASSERT_EQ(posted.status, 0) << posted.err.toStdString();
    EXPECT_TRUE(posted.out.startsWith(u"Posted 1 usage log of batch 65535, amount 144.00"_s))
        << posted.out.toStdString();
    EXPECT_EQ(logOfBatch(65535), QString());
}

TEST_F(CommandIntegrityTest, WhatIsNotThereIsNamedInPlainWords)
{
    const Outcome post = qaveq({u"--user"_s, u"EQM"_s, u"post"_s, u"--batch"_s, u"999"_s});
    EXPECT_EQ(post.status, 1);
    EXPECT_TRUE(post.err.contains(u"There is no batch 999."_s)) << post.err.toStdString();
    EXPECT_FALSE(post.err.contains(u"Record Not Found"_s));
    const Outcome copy = qaveq({u"logs"_s, u"copy"_s, u"--to"_s, u"999"_s, logOfBatch(1)});
    EXPECT_EQ(copy.status, 1);
    EXPECT_TRUE(copy.err.contains(u"There is no batch 999."_s)) << copy.err.toStdString();
}

// Stored text is one line of valid text, and a date one the program can show.
TEST_F(CommandIntegrityTest, LogValuesAreStoredExactlyOrRefused)
{
    const QStringList add{u"log"_s,         u"add"_s,     u"--batch"_s,     u"1"_s,
                          u"--equipment"_s, u"CMP-401"_s, u"--units"_s,     u"8"_s,
                          u"--job"_s,       u"bridge"_s,  u"--cost-code"_s, u"0203003"_s};
    const Outcome farDate = qaveq(add + QStringList{u"--date"_s, u"1/1/99999"_s});
    EXPECT_EQ(farDate.status, 1);
    EXPECT_TRUE(farDate.err.contains(u"1/1/99999"_s)) << farDate.err.toStdString();

    const Outcome comment = qaveq(add + QStringList{u"--comment"_s, u"two\nlines\tx"_s});
    ASSERT_EQ(comment.status, 0) << comment.err.toStdString();
    EXPECT_TRUE(comment.err.contains(u"replaced by spaces"_s)) << comment.err.toStdString();
    const QString dumped = qaveq({u"dump"_s, u"EQLogB"_s}).out;
    EXPECT_TRUE(dumped.contains(u"\"Comments\":\"two lines x\""_s));

    QStringList tabbed = add;
    tabbed[tabbed.indexOf(u"bridge"_s)] = u"bri\tdge"_s;
    const Outcome tab = qaveq(tabbed);
    EXPECT_EQ(tab.status, 1);
    EXPECT_TRUE(tab.err.contains(u"may not hold line breaks, tabs or other control characters"_s))
        << tab.err.toStdString();

    // An emoji at the field's end is kept whole or left out whole.
    const Outcome wide = qaveq(add + QStringList{u"--comment"_s, u"x"_s.repeated(19) + u"🚜"_s});
    ASSERT_EQ(wide.status, 0) << wide.err.toStdString();
    EXPECT_TRUE(qaveq({u"dump"_s, u"EQLogB"_s})
                    .out.contains(u"\"Comments\":\""_s + u"x"_s.repeated(19) + u"\""_s));

    // Bytes that are not UTF-8 on the command line are refused, not replaced.
    QProcess shell;
    shell.start(u"/bin/sh"_s, {u"-c"_s,
                               u"exec \"$0\" --company \"$1\" batch add --description "
                               u"\"$(printf 'caf\\351')\""_s,
                               QStringLiteral(QAVEQ_PROGRAM), company});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(shell.readAllStandardError()).contains(u"not UTF-8"_s));
}

TEST_F(CommandIntegrityTest, OutputFilesAreNeverDevices)
{
    for (const QString &device : {u"/dev/null"_s, u"/dev/full"_s}) {
        const Outcome pdf =
            qaveq({u"report"_s, u"run"_s, u"10"_s, u"--batch"_s, u"1"_s, u"--pdf"_s, device});
        EXPECT_EQ(pdf.status, 1) << device.toStdString();
        EXPECT_FALSE(QFileInfo::exists(device + u".pdf"_s));
        const Outcome exported = qaveq({u"export"_s, u"--batch"_s, u"1"_s, device});
        EXPECT_EQ(exported.status, 1) << device.toStdString();
    }
}

TEST_F(CommandIntegrityTest, ImportOfADeviceOrPipeEndsAtOnce)
{
    const QString fifo = folder.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {u"/dev/zero"_s, fifo}) {
        const Outcome run = qaveq({u"import"_s, u"--batch"_s, u"1"_s, u"--source"_s,
                                   u"*Usage Logs Exported from Tessary"_s, path});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(u"is not a regular file"_s)) << run.err.toStdString();
    }
}

TEST_F(CommandIntegrityTest, ABatchNamedTwiceCountsOnce)
{
    const QString once = folder.filePath(u"once.txt"_s);
    const QString twice = folder.filePath(u"twice.txt"_s);
    ASSERT_EQ(
        qaveq({u"report"_s, u"run"_s, u"10"_s, u"--batch"_s, u"1"_s, u"--export"_s, once}).status,
        0);
    ASSERT_EQ(qaveq({u"report"_s, u"run"_s, u"10"_s, u"--batch"_s, u"1"_s, u"--batch"_s, u"1"_s,
                     u"--export"_s, twice})
                  .status,
              0);
    const auto totals = [](const QString &path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        lines.removeIf([](const QString &line) { return !line.contains(u"Total"_s); });
        return lines;
    };
    EXPECT_FALSE(totals(once).isEmpty());
    EXPECT_EQ(totals(twice), totals(once));
}

// The window's paste ends with Untag All; so does the command's.
TEST_F(CommandIntegrityTest, MovingLogsUntagsTheUsersBatches)
{
    ASSERT_EQ(qaveq({u"batch"_s, u"tag"_s, u"1"_s}).status, 0);
    EXPECT_TRUE(qaveq({u"dump"_s, u"EQBatch"_s}).out.contains(u"\"InUseBy\":\"ADM\""_s));
    const Outcome moved = qaveq({u"logs"_s, u"move"_s, u"--to"_s, u"3"_s, logOfBatch(1)});
    ASSERT_EQ(moved.status, 0) << moved.err.toStdString();
    EXPECT_FALSE(qaveq({u"dump"_s, u"EQBatch"_s}).out.contains(u"\"InUseBy\":\"ADM\""_s));
}

} // namespace
