#include "TestRecords.h"

#include "data/Company.h"
#include "data/IniManager.h"
#include "data/Session.h"
#include "data/Transaction.h"

#include "core/testing/QtPrinters.h"

#include <QDir>
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

TEST(Company, AnIdThatCouldLeaveItsFoldersIsRefused)
{
    EXPECT_TRUE(Company::isValidId(u"ACME"_s));
    EXPECT_TRUE(Company::isValidId(u"CO-1"_s));
    for (const QString &bad : {u"../x"_s, u"a/b"_s, u".."_s, u""_s, u"TOOLONG"_s, u"A B"_s})
        EXPECT_FALSE(Company::isValidId(bad)) << bad.toStdString();
    QTemporaryDir folder;
    writeSettings(folder.path(), "[Company]\nID=../..\n");
    EXPECT_THROW(Company(folder.path(), qaveq::testing::partsCatalog()), DataError);
}

TEST(Company, APasswordInItsSettingsIsForItsOwnerOnly)
{
    QTemporaryDir folder;
    writeSettings(folder.path(), "[Database]\nDriver=SQLite\n");
    QFile::setPermissions(Company::settingsFile(folder.path()),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    Company::keepPasswordPrivate(folder.path());
    EXPECT_TRUE(QFile::permissions(Company::settingsFile(folder.path())) & QFile::ReadOther)
        << "nothing to hide";
    writeSettings(folder.path(), "[Database]\nDriver=SQLite\nPassword=secret\n");
    Company::keepPasswordPrivate(folder.path());
    const QFile::Permissions now = QFile::permissions(Company::settingsFile(folder.path()));
    EXPECT_TRUE(now & QFile::ReadOwner);
    EXPECT_FALSE(now &
                 (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther));
}

TEST(Company, AReadOnlyCompanyReadsButNeverWrites)
{
    QTemporaryDir folder;
    {
        Company company(folder.path(), qaveq::testing::partsCatalog());
        Part part = qaveq::testing::makePart(u"A-1"_s, u"G"_s, "1.00");
        ASSERT_TRUE(company.file<Part>().insert(part).isOk());
    }
    writeSettings(folder.path(), "[Database]\nDriver=SQLite\nReadOnly=true\n");
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);

    Company company(folder.path(), qaveq::testing::partsCatalog());
    EXPECT_TRUE(company.database().isReadOnly());
    EXPECT_EQ(company.file<Part>().count(), 1);
    Transaction transaction(company.database(), {u"Part"_s}, std::chrono::milliseconds(100));
    EXPECT_FALSE(transaction.isActive());
    EXPECT_EQ(transaction.notBegunText(),
              u"The company is open read-only here: Part cannot be changed.|Nothing was changed.");
    Part another = qaveq::testing::makePart(u"B-2"_s, u"G"_s, "1.00");
    EXPECT_FALSE(company.file<Part>().insert(another).isOk());
    EXPECT_EQ(company.file<Part>().count(), 1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before) << "not even a log is written";
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

TEST(IniManager, ReadsWholeValuesWithKeysInAnyCase)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"site.ini"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; written by hand at the site\r\n"
               "[Reports]\r\n"
               "footermessage = Smith, Jones & Co.; all rights reserved\r\n"
               "Quoted=\"  kept, as is  \"\r\n"
               "\r\n"
               "[pdf]\r\n"
               "Folder=/srv/pdf\r\n");
    file.close();

    IniManager ini(path);
    EXPECT_EQ(ini.fetch(u"Reports"_s, u"FooterMessage"_s).toString(),
              u"Smith, Jones & Co.; all rights reserved"_s);
    EXPECT_EQ(ini.fetch(u"REPORTS"_s, u"quoted"_s).toString(), u"  kept, as is  "_s);
    EXPECT_EQ(ini.fetch(u"PDF"_s, u"folder"_s).toString(), u"/srv/pdf"_s);
    EXPECT_EQ(ini.fetch(u"PDF"_s, u"Missing"_s, 7).toInt(), 7);
    EXPECT_FALSE(ini.contains(u"Nowhere"_s, u"Folder"_s));

    // Writing changes the one line and keeps the rest of the file as it was.
    ASSERT_TRUE(ini.update(u"reports"_s, u"FOOTERMESSAGE"_s, u"A, B; C"_s));
    ASSERT_TRUE(ini.update(u"Reports"_s, u"TitleColor"_s, u"#800000"_s));
    ASSERT_TRUE(ini.update(u"Mail"_s, u"Port"_s, 587));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), u"; written by hand at the site\n"
                                                 "[Reports]\n"
                                                 "footermessage=A, B; C\n"
                                                 "Quoted=\"  kept, as is  \"\n"
                                                 "TitleColor=#800000\n"
                                                 "\n"
                                                 "[pdf]\n"
                                                 "Folder=/srv/pdf\n"
                                                 "\n"
                                                 "[Mail]\n"
                                                 "Port=587\n"_s);
    EXPECT_EQ(ini.fetch(u"Mail"_s, u"Port"_s).toInt(), 587);
    for (const QString &value : {u" padded "_s, u"\"quoted\""_s}) {
        ASSERT_TRUE(ini.update(u"Mail"_s, u"Password"_s, value));
        EXPECT_EQ(ini.fetch(u"Mail"_s, u"Password"_s).toString(), value);
    }
}

} // namespace
