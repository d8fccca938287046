#include "CompanyHome.h"
#include "CommandLine.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using qaveq::host::CompanyHome;

namespace {

// A user's data folder of the test's own, with or without a company made in
// the place earlier versions chose.
class CompanyHomeTest : public ::testing::Test
{
protected:
    QTemporaryDir home;
    QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    QByteArray savedCompany = qgetenv("QAVEQ_COMPANY");

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        qunsetenv("QAVEQ_COMPANY");
    }

    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedDataHome);
        if (!savedCompany.isEmpty())
            qputenv("QAVEQ_COMPANY", savedCompany);
    }

    static void makeCompany(const QString &folder)
    {
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile settings(folder + u"/company.ini"_s);
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[Company]\nID=OLD\n");
    }

    static bool holdsCompany(const QString &folder)
    {
        return QFile::exists(folder + u"/company.ini"_s);
    }
};

TEST_F(CompanyHomeTest, TheDefaultCompanyHasAFolderOfQaveqsOwn)
{
    EXPECT_EQ(CompanyHome::defaultFolder(), home.path() + u"/qaveq/company"_s);
    EXPECT_EQ(CompanyHome::formerFolder(), home.path() + u"/company"_s);
}

TEST_F(CompanyHomeTest, AFormerCompanyMovesInOnceAndSaysSo)
{
    makeCompany(CompanyHome::formerFolder());
    QString message;
    EXPECT_EQ(CompanyHome::adoptFormer(CompanyHome::defaultFolder(), &message),
              CompanyHome::defaultFolder());
    EXPECT_TRUE(message.contains(CompanyHome::formerFolder()) &&
                message.contains(u"was moved to "_s + CompanyHome::defaultFolder()))
        << message.toStdString();
    EXPECT_TRUE(holdsCompany(CompanyHome::defaultFolder()));
    EXPECT_FALSE(QFile::exists(CompanyHome::formerFolder()));

    CompanyHome::adoptFormer(CompanyHome::defaultFolder(), &message);
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(CompanyHomeTest, OnlyAFormerCompanyMovesAndOnlyIntoAnEmptyDefault)
{
    QString message;
    // A folder of that name that is no company belongs to someone else.
    ASSERT_TRUE(QDir().mkpath(CompanyHome::formerFolder()));
    CompanyHome::adoptFormer(CompanyHome::defaultFolder(), &message);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_FALSE(QFile::exists(CompanyHome::defaultFolder()));

    // A named folder is used as named.
    makeCompany(CompanyHome::formerFolder());
    const QString named = home.path() + u"/acme"_s;
    EXPECT_EQ(CompanyHome::adoptFormer(named, &message), named);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_TRUE(holdsCompany(CompanyHome::formerFolder()));

    // A company already in the default place is never replaced.
    makeCompany(CompanyHome::defaultFolder());
    EXPECT_EQ(CompanyHome::adoptFormer(CompanyHome::defaultFolder(), &message),
              CompanyHome::defaultFolder());
    EXPECT_TRUE(message.isEmpty());
    EXPECT_TRUE(holdsCompany(CompanyHome::formerFolder()));
}

TEST_F(CompanyHomeTest, AFormerCompanyThatCannotMoveIsOpenedWhereItIs)
{
    makeCompany(CompanyHome::formerFolder());
    // A file where QAVEQ's folder would go.
    QFile blocker(home.path() + u"/qaveq"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString message;
    EXPECT_EQ(CompanyHome::adoptFormer(CompanyHome::defaultFolder(), &message),
              CompanyHome::formerFolder());
    EXPECT_TRUE(message.contains(u"could not be moved"_s)) << message.toStdString();
    EXPECT_TRUE(holdsCompany(CompanyHome::formerFolder()));
}

TEST_F(CompanyHomeTest, TheCommandLineMovesTheFormerCompanyAndRunsOnIt)
{
    const QString former = CompanyHome::formerFolder();
    QString input, out, err;
    QTextStream in(&input), outStream(&out), errStream(&err);
    ASSERT_EQ(qaveq::host::runCommandLine({u"qaveq"_s, u"--company"_s, former, u"init"_s}, in,
                                          outStream, errStream),
              0)
        << err.toStdString();
    errStream.flush();
    err.clear();

    EXPECT_EQ(qaveq::host::runCommandLine({u"qaveq"_s, u"dump"_s, u"EQHeader"_s}, in, outStream,
                                          errStream),
              0);
    errStream.flush();
    EXPECT_TRUE(err.contains(u"was moved to "_s + CompanyHome::defaultFolder()))
        << err.toStdString();
    EXPECT_TRUE(holdsCompany(CompanyHome::defaultFolder()));
}

TEST(ProgramVersion, IsPrintedWithItsThreeParts)
{
    QString input, out, err;
    QTextStream in(&input), outStream(&out), errStream(&err);
    EXPECT_EQ(qaveq::host::runCommandLine({u"qaveq"_s, u"--version"_s}, in, outStream, errStream),
              0);
    outStream.flush();
    EXPECT_TRUE(QRegularExpression(u"^qaveq \\d+\\.\\d+\\.\\d+\\n$"_s).match(out).hasMatch())
        << out.toStdString();
}

} // namespace
