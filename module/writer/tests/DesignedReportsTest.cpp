#include "writer/DesignedReports.h"
#include "writer/WriterCatalogues.h"

#include "runtime/writer/ReportDocument.h"

#include "data/Session.h"

#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class DesignedReportsTest : public ::testing::Test
{
protected:
    QTemporaryDir company;
    QTemporaryDir shared;
    data::Session session;

    DesignedReportsTest()
    {
        session.dataPath = company.path();
        QDir(company.path()).mkdir(u"Reports"_s);
    }

    QString reports() const { return QDir(company.path()).filePath(u"Reports"_s); }

    static void save(const QString &path, const QString &type, const QString &name)
    {
        QString error;
        ASSERT_TRUE(writer::ReportDocument::blank(type, name, u"EQLog"_s).save(path, &error))
            << error.toStdString();
    }

    static QStringList names(const QList<DesignedReport> &listed)
    {
        QStringList names;
        for (const DesignedReport &report : listed)
            names.append(report.name);
        return names;
    }
};

TEST_F(DesignedReportsTest, TheReportsFolderAndTheSearchPathAreListedByName)
{
    save(QDir(reports()).filePath(u"weekly.qvr"_s), u"PrintUsageLogFM"_s, u"Weekly Hours"_s);
    save(QDir(shared.path()).filePath(u"fleet.qvr"_s), u"PrintEquipmentListFM"_s, u"Fleet"_s);
    QFile broken(QDir(reports()).filePath(u"broken.qvr"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a report");
    broken.close();
    QFile other(QDir(reports()).filePath(u"notes.txt"_s));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();

    EXPECT_EQ(DesignedReports::folders(session), QStringList{QDir::cleanPath(reports())});
    session.reportWriter.searchPath = shared.path();
    const QStringList folders = DesignedReports::folders(session);
    ASSERT_EQ(folders.size(), 2);
    session.reportWriter.searchPath = reports() + u"/"_s;
    EXPECT_EQ(DesignedReports::folders(session).size(), 1) << "one folder is searched once";

    const QList<DesignedReport> listed = DesignedReports::list(folders);
    EXPECT_EQ(names(listed), (QStringList{u"broken"_s, u"Fleet"_s, u"Weekly Hours"_s}));
    EXPECT_FALSE(listed[0].problem.isEmpty()) << "listed, so that it can be deleted";
    EXPECT_EQ(listed[0].type, nullptr);
    EXPECT_EQ(listed[1].type, writerReportType(u"PrintEquipmentListFM"));
    EXPECT_TRUE(listed[2].problem.isEmpty());
}

TEST_F(DesignedReportsTest, ACopyGoesBesideTheOriginalUnderANewName)
{
    const QString path = QDir(reports()).filePath(u"weekly.qvr"_s);
    save(path, u"PrintUsageLogFM"_s, u"Weekly Hours"_s);
    const DesignedReport original = DesignedReports::list({reports()}).first();
    QString error;
    const std::optional<QString> first = DesignedReports::copy(original, &error);
    ASSERT_TRUE(first) << error.toStdString();
    EXPECT_EQ(QFileInfo(*first).fileName(), u"weekly copy.qvr");
    const std::optional<QString> second = DesignedReports::copy(original, &error);
    ASSERT_TRUE(second);
    EXPECT_EQ(QFileInfo(*second).fileName(), u"weekly copy 2.qvr");
    const std::optional<writer::ReportDocument> copied =
        writer::ReportDocument::load(*first, &error);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->name, u"Copy of Weekly Hours");
    EXPECT_EQ(copied->type, u"PrintUsageLogFM");

    ASSERT_TRUE(DesignedReports::remove(original, &error)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(DesignedReports::remove(original, &error));
    EXPECT_TRUE(error.contains(u"cannot be deleted"_s)) << error.toStdString();
}

} // namespace
