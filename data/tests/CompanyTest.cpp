#include "TestRecords.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"

#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::data;
using qaveq::testing::Part;

namespace {

void writeSettings(const QString &folder, const QByteArray &text)
{
    QFile file(Company::settingsFile(folder));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(Company, SettingsNameTheDatabase)
{
    QTemporaryDir folder;
    EXPECT_FALSE(Company::exists(folder.path()));
    ConnectionSettings sqlite = Company::connectionSettings(folder.path());
    EXPECT_EQ(sqlite.dialect, Dialect::SQLite);
    EXPECT_EQ(sqlite.sqliteFile, folder.filePath(u"company.sqlite"_s));

    writeSettings(folder.path(),
                  "[Database]\nDriver=PostgreSQL\nHost=db.example\nPort=5433\nName=acme\n"
                  "User=clerk\nPassword=secret\nSchema=paving\n");
    EXPECT_TRUE(Company::exists(folder.path()));
    const ConnectionSettings server = Company::connectionSettings(folder.path());
    EXPECT_EQ(server.dialect, Dialect::PostgreSQL);
    EXPECT_EQ(server.host, u"db.example");
    EXPECT_EQ(server.port, 5433);
    EXPECT_EQ(server.databaseName, u"acme");
    EXPECT_EQ(server.user, u"clerk");
    EXPECT_EQ(server.schema, u"paving");

    writeSettings(folder.path(), "[Database]\nDriver=Paradox\n");
    EXPECT_THROW(Company::connectionSettings(folder.path()), DataError);
}

TEST(Company, KeepsItsIdentityInItsFolder)
{
    QTemporaryDir folder;
    {
        Company company(folder.path(), qaveq::testing::partsCatalog());
        company.setIdentity(u"ACME"_s, u"Acme Paving"_s);
        EXPECT_THROW(company.file(u"Nope"), std::invalid_argument);
    }
    Company again(folder.path(), qaveq::testing::partsCatalog());
    EXPECT_EQ(again.id(), u"ACME");
    EXPECT_EQ(again.name(), u"Acme Paving");
}

TEST(Session, BuffersBelongToTheirSession)
{
    Session first;
    Session second;
    first.buffer<Part>().Code = u"A"_s;
    EXPECT_EQ(second.buffer<Part>().Code, QString());
    EXPECT_EQ(&first.buffer<Part>(), &first.buffer<Part>());
    EXPECT_EQ(Session::current(), nullptr);
    Session::setCurrent(&first);
    EXPECT_EQ(Session::current(), &first);
    Session::setCurrent(nullptr);
}

TEST(Session, ReportSettingsFromTheSuiteFile)
{
    QTemporaryDir folder;
    IniManager suite(folder.filePath(u"suite.ini"_s));
    Session session;
    session.loadReportSettings(suite, u"/home/pat"_s);
    EXPECT_EQ(session.pdfPath, u"/home/pat"_s);
    EXPECT_EQ(session.reportShadingColor, Session().reportShadingColor);

    suite.update(u"PDF"_s, u"Folder"_s, u"/srv/pdf"_s);
    suite.update(u"Reports"_s, u"TitleColor"_s, u"#800000"_s);
    suite.update(u"Reports"_s, u"ShadingColor"_s, u"none"_s);
    suite.update(u"Reports"_s, u"FooterColor"_s, u"not a colour"_s);
    suite.update(u"Reports"_s, u"FooterMessage"_s, u"Confidential"_s);
    session.loadReportSettings(suite, u"/home/pat"_s);
    EXPECT_EQ(session.pdfPath, u"/srv/pdf"_s);
    EXPECT_EQ(session.reportTitleColor, 0x800000);
    EXPECT_EQ(session.reportShadingColor, -1);
    EXPECT_EQ(session.reportFooterColor, Session().reportFooterColor);
    EXPECT_EQ(session.reportFooterMessage, u"Confidential"_s);
}

} // namespace
