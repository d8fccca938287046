#include "CommandLine.h"

#include "records/EQLimits.h"
#include "records/ModuleFiles.h"

#include "runtime/report/tests/LocalCupsServer.h"
#include "runtime/report/tests/LoopbackSmtpServer.h"

#include "data/Company.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Reports run from the command line and sent to a print queue, a mail
// server or nowhere at all, with the demonstration company, the user's
// settings in a folder of the test's own.
class ReportOutputTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QByteArray configHome = qgetenv("XDG_CONFIG_HOME");

    struct Outcome
    {
        int status = 0;
        QString out;
        QString err;
    };

    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", folder.filePath(u"config"_s).toUtf8());
        ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    }
    void TearDown() override
    {
        if (configHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configHome);
    }

    Outcome qaveq(const QStringList &arguments, QString input = {})
    {
        Outcome run;
        QTextStream in(&input);
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        run.status = qaveq::host::runCommandLine(
            QStringList{u"qaveq"_s, u"--company"_s, folder.filePath(u"co"_s)} + arguments, in, out,
            err);
        out.flush();
        err.flush();
        return run;
    }

    // The mail settings of ADM, to the loopback server on `port`.
    void mailTo(int port)
    {
        const Outcome set =
            qaveq({u"mail-settings"_s, u"--server"_s, u"127.0.0.1"_s, u"--port"_s,
                   QString::number(port), u"--security"_s, u"none"_s, u"--from"_s,
                   u"eq@contractor.test"_s, u"--from-name"_s, u"Equipment Office"_s});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
    }
};

TEST_F(ReportOutputTest, MailSettingsTakeThePasswordFromAFileAndKeepItPrivate)
{
    const Outcome onTheLine =
        qaveq({u"mail-settings"_s, u"--server"_s, u"smtp.test"_s, u"--from"_s, u"a@b.test"_s,
               u"--login"_s, u"clerk"_s, u"--password"_s, u"s3cret"_s});
    EXPECT_EQ(onTheLine.status, 2);
    EXPECT_TRUE(onTheLine.err.contains(u"never taken on the command line"_s));

    const QString secret = folder.filePath(u"secret"_s);
    QFile file(secret);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("s3cret pass\n");
    file.close();
    const Outcome set = qaveq({u"mail-settings"_s, u"--server"_s, u"smtp.test"_s, u"--security"_s,
                               u"tls"_s, u"--from"_s, u"eq@contractor.test"_s, u"--login"_s,
                               u"clerk"_s, u"--password-file"_s, secret});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    const QString saved = set.out.section(u" saved in "_s, 1).trimmed();
    ASSERT_TRUE(QFileInfo::exists(saved)) << set.out.toStdString();
    EXPECT_TRUE(saved.startsWith(folder.filePath(u"config"_s)));
    EXPECT_EQ(QFileInfo(saved).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
              QFile::ReadOwner | QFile::WriteOwner)
        << "only the user reads it";

    const Outcome shown = qaveq({u"mail-settings"_s});
    EXPECT_EQ(shown.status, 0);
    EXPECT_TRUE(shown.out.contains(u"port:     465"_s)) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains(u"password: set"_s));
    EXPECT_FALSE(shown.out.contains(u"s3cret"_s));

    // Read from standard input as well.
    EXPECT_EQ(
        qaveq({u"mail-settings"_s, u"--server"_s, u"smtp.test"_s, u"--from"_s,
               u"eq@contractor.test"_s, u"--login"_s, u"clerk"_s, u"--password-file"_s, u"-"_s},
              u"other\n"_s)
            .status,
        0);
    EXPECT_EQ(qaveq({u"mail-settings"_s, u"--server"_s, u"smtp.test"_s, u"--from"_s,
                     u"eq@contractor.test"_s, u"--login"_s, u"clerk"_s, u"--password-file"_s,
                     folder.filePath(u"none"_s)})
                  .status,
              1);
    EXPECT_EQ(qaveq({u"mail-settings"_s, u"--server"_s, u"smtp.test"_s}).status, 2);
    EXPECT_EQ(qaveq({u"mail-settings"_s, u"--server"_s, u"h"_s, u"--from"_s, u"a@b.test"_s,
                     u"--security"_s, u"ssl"_s})
                  .status,
              2);
}

TEST_F(ReportOutputTest, AReportIsMailedUnattendedOrSaysWhyNotAndKeepsThePdf)
{
    const QString pdf = folder.filePath(u"analysis.pdf"_s);
    const Outcome unset = qaveq(
        {u"report"_s, u"run"_s, u"1"_s, u"--pdf"_s, pdf, u"--mail"_s, u"o@contractor.test"_s});
    EXPECT_EQ(unset.status, 1);
    EXPECT_TRUE(unset.err.contains(u"mail-settings"_s)) << unset.err.toStdString();

    {
        qaveq::testing::LoopbackSmtpServer server;
        mailTo(server.port());
        const Outcome mailed = qaveq({u"report"_s, u"run"_s, u"1"_s, u"--pdf"_s, pdf, u"--mail"_s,
                                      u"owner@contractor.test,yard@contractor.test"_s,
                                      u"--subject"_s, u"Weekly equipment analysis"_s});
        ASSERT_EQ(mailed.status, 0) << mailed.err.toStdString();
        EXPECT_TRUE(
            mailed.out.contains(u"mailed to owner@contractor.test, yard@contractor.test\n"_s))
            << mailed.out.toStdString();
        const QByteArray sent = server.received();
        EXPECT_TRUE(sent.contains("RCPT TO:<owner@contractor.test>"));
        EXPECT_TRUE(sent.contains("RCPT TO:<yard@contractor.test>"));
        EXPECT_TRUE(sent.contains("\r\nSubject: Weekly equipment analysis\r\n"));
        EXPECT_TRUE(sent.contains("\r\nMessage-ID: <"));
        EXPECT_TRUE(sent.contains("filename=\"analysis.pdf\""));
        EXPECT_TRUE(QFileInfo::exists(pdf));
    }
    {
        // Without a subject the report's title is one; without --pdf the
        // PDF is the report's own, written in the current folder.
        qaveq::testing::LoopbackSmtpServer server;
        mailTo(server.port());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        const Outcome mailed = qaveq({u"report"_s, u"fixed-assets"_s, u"TRK-101"_s, u"--mail"_s,
                                      u"owner@contractor.test"_s});
        QDir::setCurrent(previous);
        EXPECT_EQ(mailed.status, 0) << mailed.err.toStdString();
        EXPECT_TRUE(
            server.received().contains("\r\nSubject: Fixed Asset Depreciation Schedule\r\n"));
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(u"Fixed Asset Depreciation Schedule.pdf"_s)));
    }
    {
        qaveq::testing::LoopbackSmtpServer refusing(true);
        mailTo(refusing.port());
        QFile::remove(pdf);
        const Outcome refused = qaveq({u"report"_s, u"run"_s, u"1"_s, u"--pdf"_s, pdf, u"--mail"_s,
                                       u"nobody@contractor.test"_s});
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.err.contains(u"Recipient address rejected: User unknown"_s))
            << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(u"The PDF is kept as "_s + pdf));
        EXPECT_TRUE(QFileInfo::exists(pdf));
    }
    for (const QString &address : {u"not an address"_s, u"a@example.com>,<evil@x.com"_s,
                                   u"\"Pat\" <pat@example.com>"_s, u"a@b@example.com"_s})
        EXPECT_EQ(qaveq({u"report"_s, u"run"_s, u"1"_s, u"--mail"_s, address}).status, 2)
            << address.toStdString();
    const Outcome same = qaveq(
        {u"report"_s, u"run"_s, u"1"_s, u"--pdf"_s, u"same.out"_s, u"--export"_s, u"./same.out"_s});
    EXPECT_EQ(same.status, 2);
    EXPECT_TRUE(same.err.contains(u"name the same file"_s)) << same.err.toStdString();
    EXPECT_EQ(qaveq({u"report"_s, u"run"_s, u"1"_s, u"--subject"_s, u"x"_s}).status, 2);
}

TEST_F(ReportOutputTest, AReportWithNothingToPrintSaysSoWritesNoFileAndHasItsOwnStatus)
{
    // The demonstration's detail listing (definition 4), limited to dates
    // no transaction has.
    {
        qaveq::data::Company company(folder.filePath(u"co"_s), qaveq::companyCatalog());
        qaveq::EQLimits definition;
        definition.LimitID = 4;
        ASSERT_TRUE(company.file<qaveq::EQLimits>().fetch(u"KeyLimitID", definition).isOk());
        definition.SelectedDates = 1;
        definition.DateFrom = qaveq::SuiteDate::fromYmd(1990, 1, 1);
        definition.DateTo = qaveq::SuiteDate::fromYmd(1990, 1, 31);
        definition.SkipEquipment = 1; // equipment without transactions is left out
        ASSERT_TRUE(company.file<qaveq::EQLimits>().update(definition).isOk());
    }
    const QString pdf = folder.filePath(u"detail.pdf"_s);
    const QString text = folder.filePath(u"detail.txt"_s);
    const Outcome run =
        qaveq({u"report"_s, u"run"_s, u"4"_s, u"--pdf"_s, pdf, u"--export"_s, text});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"Nothing to Print"_s)) << run.err.toStdString();
    EXPECT_EQ(run.err.count(u"Nothing to"_s), 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_FALSE(QFileInfo::exists(text));

    const Outcome help = qaveq({u"report"_s, u"--help"_s});
    EXPECT_TRUE(help.out.contains(u"3  the report has nothing to print"_s))
        << help.out.toStdString();
}

TEST_F(ReportOutputTest, PrintingGoesToCupsAndTheExitStatusSaysWhetherItWasTaken)
{
    qaveq::testing::LocalCupsServer cups;
    if (!cups.unavailable().isEmpty())
        GTEST_SKIP() << "no CUPS server for the test: " << cups.unavailable().toStdString();

    const Outcome none = qaveq({u"report"_s, u"run"_s, u"1"_s, u"--print"_s});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains(u"No default print queue"_s)) << none.err.toStdString();

    ASSERT_TRUE(cups.addQueue(u"Yard"_s, true));
    ASSERT_TRUE(cups.addQueue(u"Office"_s, false));
    const QString pdf = folder.filePath(u"both.pdf"_s);
    const Outcome printed = qaveq({u"report"_s, u"run"_s, u"1"_s, u"--print"_s, u"--pdf"_s, pdf});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    EXPECT_FALSE(printed.err.contains(u"DEFAULT Printer"_s)) << printed.err.toStdString();
    EXPECT_TRUE(printed.out.contains(u"print job Yard-"_s)) << printed.out.toStdString();
    EXPECT_TRUE(printed.out.contains(pdf)) << "--print and --pdf do both";
    EXPECT_TRUE(QFileInfo::exists(pdf));

    const Outcome copies = qaveq({u"report"_s, u"fixed-assets"_s, u"TRK-101"_s, u"--print"_s,
                                  u"--printer"_s, u"Office"_s, u"--copies"_s, u"2"_s});
    ASSERT_EQ(copies.status, 0) << copies.err.toStdString();
    EXPECT_TRUE(copies.out.contains(u" on Office ("_s) && copies.out.contains(u"2 copies)"_s))
        << copies.out.toStdString();
    EXPECT_EQ(cups.jobTitles(u"Yard"_s), QStringList{u"Equipment Analysis"_s});
    EXPECT_EQ(cups.jobTitles(u"Office"_s), QStringList{u"Fixed Asset Depreciation Schedule"_s});

    const Outcome missing =
        qaveq({u"report"_s, u"run"_s, u"1"_s, u"--print"_s, u"--printer"_s, u"Nowhere"_s});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(u"There is no print queue \"Nowhere\""_s));

    ASSERT_TRUE(cups.tool(u"cupsreject"_s, {u"Yard"_s}));
    const Outcome refused = qaveq({u"report"_s, u"run"_s, u"1"_s, u"--print"_s});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(u"not accepting jobs"_s)) << refused.err.toStdString();
    EXPECT_EQ(cups.jobTitles(u"Yard"_s).size(), 1);

    EXPECT_EQ(qaveq({u"report"_s, u"run"_s, u"1"_s, u"--copies"_s, u"2"_s}).status, 2);
    EXPECT_EQ(qaveq({u"report"_s, u"run"_s, u"1"_s, u"--print"_s, u"--copies"_s, u"0"_s}).status,
              2);
}

} // namespace
