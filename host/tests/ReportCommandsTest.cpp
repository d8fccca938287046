// The reports run headless: saved definitions and designed reports to their
// PDF and text copy, and a stopped report that leaves nothing behind.

#include "CommandLineFixture.h"

#include "core/OutputFile.h"
#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <csignal>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using qaveq::testing::CommandLineTest;
using qaveq::testing::Outcome;

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(CommandLineTest, FixedAssetReportWritesThePdfAndItsTextCopy)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    ASSERT_EQ(qaveq({u"depreciation"_s, u"TRK-101"_s}).status, 0);
    const QString pdf = folder.filePath(u"schedule.pdf"_s);
    const QString text = folder.filePath(u"schedule.txt"_s);
    const Outcome run =
        qaveq({u"report"_s, u"fixed-assets"_s, u"TRK-101"_s, u"--pdf"_s, pdf, u"--export"_s, text});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, pdf + u" (4 pages)\n"_s);
    EXPECT_TRUE(fileContents(pdf).startsWith("%PDF-1.4"));
    const QStringList lines = QString::fromUtf8(fileContents(text)).split(u'\n');
    EXPECT_EQ(lines.at(1), u"Fixed Asset Depreciation Schedule"_s);
    EXPECT_EQ(lines.at(3), u"Asset ID:\tTRK-101\tDump Truck, Tandem Axle"_s);
    EXPECT_TRUE(lines.at(10).startsWith(u"03/01/2021\t1,583.33\t166,416.67\t"_s));

    // What a reader of the PDF sees.
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (pdftotext.waitForFinished(10000) && pdftotext.exitCode() == 0) {
        const QString shown = QString::fromUtf8(pdftotext.readAllStandardOutput());
        EXPECT_TRUE(shown.contains(u"Fixed Asset Depreciation Schedule"_s));
        EXPECT_TRUE(shown.contains(u"TRK-101"_s));
        EXPECT_TRUE(shown.contains(u"03/2021"_s));
        EXPECT_TRUE(shown.contains(u"166,416.67"_s));
    }

    const Outcome graphs = qaveq({u"report"_s, u"fixed-assets"_s, u"TRK-101"_s, u"--graphs"_s,
                                  u"--pdf"_s, folder.filePath(u"graphs"_s)});
    EXPECT_EQ(graphs.status, 0) << graphs.err.toStdString();
    EXPECT_EQ(graphs.out, folder.filePath(u"graphs.pdf"_s) + u" (1 page)\n"_s);
}

// The analysis definitions of the demonstration: analysis, cost summary and
// maintenance schedule, run by the read-only user as well.
TEST_F(CommandLineTest, SavedAnalysisDefinitionsRunToPdfAndText)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    const struct
    {
        const char16_t *number, *user, *firstBlock;
    } runs[] = {
        {u"1", u"ADM", u"Type\tDescription\tUnits\tQuantity\tAmount\t"},
        {u"2", u"VEW", u"ID\tDescription\tVIN\tLicense\tInternal Rate"},
        {u"3", u"EQM", u"\t\t\t___ Last Service ___"},
    };
    for (const auto &r : runs) {
        const QString number = QString::fromUtf16(r.number);
        SCOPED_TRACE(number.toStdString());
        const QString pdf = folder.filePath(u"analysis"_s + number + u".pdf"_s);
        const QString text = folder.filePath(u"analysis"_s + number + u".txt"_s);
        const Outcome run = qaveq({u"--user"_s, QString::fromUtf16(r.user), u"report"_s, u"run"_s,
                                   number, u"--pdf"_s, pdf, u"--export"_s, text});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(pdf + u" ("_s));
        EXPECT_TRUE(fileContents(pdf).startsWith("%PDF-1.4"));
        const QString lines = QString::fromUtf8(fileContents(text));
        EXPECT_TRUE(lines.contains(QString::fromUtf16(r.firstBlock)))
            << lines.left(400).toStdString();
    }
    EXPECT_TRUE(QString::fromUtf8(fileContents(folder.filePath(u"analysis1.txt"_s)))
                    .contains(u"\tCost per hour:\t\t\t\t"_s));
}

TEST_F(CommandLineTest, DetailAndProofDefinitionsRunHeadless)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    // Definition 4 is the demonstration's detail listing, 10 its proof listing.
    const QString detail = folder.filePath(u"detail.txt"_s);
    const Outcome listing = qaveq({u"report"_s, u"run"_s, u"4"_s, u"--pdf"_s,
                                   folder.filePath(u"detail.pdf"_s), u"--export"_s, detail});
    ASSERT_EQ(listing.status, 0) << listing.err.toStdString();
    EXPECT_TRUE(listing.out.startsWith(folder.filePath(u"detail.pdf"_s)))
        << listing.out.toStdString();
    const QStringList lines = QString::fromUtf8(fileContents(detail)).split(u'\n');
    EXPECT_EQ(lines.at(1), u"Equipment Detail Listing"_s);
    EXPECT_TRUE(lines.contains(u"Includes Cost Categories Only"_s));

    const QString proof = folder.filePath(u"proof.txt"_s);
    const Outcome tagged =
        qaveq({u"report"_s, u"run"_s, u"10"_s, u"--batch"_s, u"1"_s, u"--batch"_s, u"3"_s,
               u"--pdf"_s, folder.filePath(u"proof.pdf"_s), u"--export"_s, proof});
    ASSERT_EQ(tagged.status, 0) << tagged.err.toStdString();
    const QStringList proofLines = QString::fromUtf8(fileContents(proof)).split(u'\n');
    EXPECT_EQ(proofLines.at(1), u"Proof Listing of Equipment Usage Log"_s);
    EXPECT_TRUE(proofLines.at(4).startsWith(u"Batch 1 - "_s)) << proofLines.at(4).toStdString();
    EXPECT_TRUE(std::any_of(proofLines.begin(), proofLines.end(), [](const QString &line) {
        return line.startsWith(u"\t\tGrand Totals:\t"_s);
    }));

    // --batch belongs to proof listings only.
    EXPECT_EQ(qaveq({u"report"_s, u"run"_s, u"4"_s, u"--batch"_s, u"1"_s}).status, 2);
}

TEST_F(CommandLineTest, FixedAssetReportFailuresSayWhy)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    const Outcome unknown = qaveq({u"report"_s, u"fixed-assets"_s, u"NOPE"_s});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, u"qaveq: there is no equipment \"NOPE\"\n"_s);

    const Outcome unwritable = qaveq(
        {u"report"_s, u"fixed-assets"_s, u"TRK-101"_s, u"--pdf"_s, u"/nonexistent-folder/r.pdf"_s});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.contains(u"/nonexistent-folder/r.pdf"_s));

    EXPECT_EQ(qaveq({u"report"_s, u"fixed-assets"_s}).status, 2);
    EXPECT_EQ(qaveq({u"report"_s, u"listing"_s}).status, 2);
}

TEST_F(CommandLineTest, ListingDefinitionsRunToTheirPdfAndTextCopy)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    const QStringList listed = qaveq({u"report"_s, u"definitions"_s}).out.split(u'\n');
    const auto numberOf = [&listed](const QString &title) {
        for (const QString &line : listed)
            if (line.contains(title + u"  "_s))
                return line.section(u' ', 0, 0, QString::SectionSkipEmpty);
        return QString();
    };
    const struct
    {
        QString title, pdf, reportTitle, heading;
    } cases[] = {
        {u"Equipment Data Sheets"_s, u"sheets.pdf"_s, u"Equipment Listing"_s,
         u"ID\tDescription\tLicense Plate\tLicense Code\tClass Code\tVIN\tActive\tPurchase "
         "Date\tPurchase Value\tUser Defined and Physical Description"_s},
        {u"Cost Categories"_s, u"codes.pdf"_s, u"Equipment Cost Code Listing"_s,
         u"ID\tDescription"_s},
    };
    for (const auto &c : cases) {
        const QString number = numberOf(c.title);
        ASSERT_FALSE(number.isEmpty()) << c.title.toStdString();
        const QString pdf = folder.filePath(c.pdf);
        const QString text = folder.filePath(c.pdf + u".txt"_s);
        const Outcome run =
            qaveq({u"report"_s, u"run"_s, number, u"--pdf"_s, pdf, u"--export"_s, text});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(pdf + u" ("_s)) << run.out.toStdString();
        EXPECT_TRUE(fileContents(pdf).startsWith("%PDF-1.4"));
        const QStringList lines = QString::fromUtf8(fileContents(text)).split(u'\n');
        ASSERT_GT(lines.size(), 4);
        EXPECT_EQ(lines.at(1), c.reportTitle);
        EXPECT_EQ(lines.at(3), c.heading);
    }
}

TEST_F(CommandLineTest, AStoppedReportLeavesNoPagesAndNoPdf)
{
    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    ASSERT_EQ(qaveq({u"depreciation"_s, u"TRK-101"_s}).status, 0);
    // Stopped at several moments: early, mid-way, perhaps after the end.
    for (const int afterMs : {20, 50, 80, 400}) {
        QTemporaryDir temporary;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TMPDIR"_s, temporary.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, folder.filePath(u"runtime"_s));
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        const QString pdf = folder.filePath(u"stopped-%1.pdf"_s.arg(afterMs));
        QProcess run;
        run.setProcessEnvironment(environment);
        run.start(QStringLiteral(QAVEQ_PROGRAM),
                  {u"--company"_s, folder.path() + u"/co"_s, u"report"_s, u"fixed-assets"_s,
                   u"TRK-101"_s, u"--pdf"_s, pdf});
        ASSERT_TRUE(run.waitForStarted());
        QThread::msleep(afterMs);
        run.terminate();
        ASSERT_TRUE(run.waitForFinished(30000));
        // Before the report starts the signal simply ends the program;
        // once it runs, the run stops itself and says so in its status.
        if (run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0) {
            EXPECT_TRUE(QFile::exists(pdf));
        } else {
            if (run.exitStatus() == QProcess::NormalExit) {
                EXPECT_EQ(run.exitCode(), 128 + SIGTERM);
            }
            EXPECT_FALSE(QFile::exists(pdf));
        }
        EXPECT_TRUE(
            QDir(temporary.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            << "stopped after " << afterMs << " ms";
    }
}

TEST_F(CommandLineTest, DesignedReportsRunFromTheirFilesOrAsShipped)
{
    const Outcome catalogue = qaveq({u"report"_s, u"catalogue"_s, u"PrintEQCategoryFM"_s});
    EXPECT_EQ(catalogue.status, 0);
    EXPECT_TRUE(
        catalogue.out.startsWith(u"@ProcessedFiles|1|0|PrintEQCategoryFM||'EQCode'|2|-1|"_s));
    const Outcome unknownType = qaveq({u"report"_s, u"catalogue"_s, u"PrintNothingFM"_s});
    EXPECT_EQ(unknownType.status, 1);
    EXPECT_TRUE(unknownType.err.contains(u"PrintUsageLogFM"_s));

    ASSERT_EQ(qaveq({u"init"_s, u"--demo"_s}).status, 0);
    // The read-only user may print reports.
    const QString pdf = folder.filePath(u"categories.pdf"_s);
    const Outcome starter = qaveq({u"--user"_s, u"VEW"_s, u"report"_s, u"starter"_s,
                                   u"PrintEQCategoryFM"_s, u"--pdf"_s, pdf});
    ASSERT_EQ(starter.status, 0) << starter.err.toStdString();
    EXPECT_EQ(starter.out, pdf + u" (1 page)\n"_s);
    EXPECT_TRUE(fileContents(pdf).startsWith("%PDF-1.4"));

    // A report file of the user's: its type picks the procedure.
    QFile shipped(u":/qaveq/writer/PrintEquipmentListFM.qvr"_s);
    QByteArray report;
    if (shipped.open(QIODevice::ReadOnly))
        report = shipped.readAll();
    ASSERT_FALSE(report.isEmpty());
    const QString file = folder.filePath(u"mine.qvr"_s);
    ASSERT_TRUE(qaveq::OutputFile::write(file, report).isEmpty());
    const Outcome own =
        qaveq({u"report"_s, u"file"_s, file, u"--pdf"_s, folder.filePath(u"listing.pdf"_s)});
    EXPECT_EQ(own.status, 0) << own.err.toStdString();
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {folder.filePath(u"listing.pdf"_s), u"-"_s});
    if (pdftotext.waitForFinished(10000) && pdftotext.exitCode() == 0) {
        const QString shown = QString::fromUtf8(pdftotext.readAllStandardOutput());
        EXPECT_TRUE(shown.contains(u"Equipment Listing"_s));
        EXPECT_TRUE(shown.contains(u"TRK-101"_s));
        EXPECT_TRUE(shown.contains(u"pieces of equipment"_s));
    }

    // Damaged and later files say what is wrong and write nothing.
    ASSERT_TRUE(qaveq::OutputFile::write(file, report.replace("\"version\": 1", "\"version\": 9"))
                    .isEmpty());
    const QString none = folder.filePath(u"none.pdf"_s);
    const Outcome later = qaveq({u"report"_s, u"file"_s, file, u"--pdf"_s, none});
    EXPECT_EQ(later.status, 1);
    EXPECT_TRUE(later.err.contains(u"later version of QAVEQ"_s)) << later.err.toStdString();
    ASSERT_TRUE(qaveq::OutputFile::write(file, "{\"format\": \"qaveq-report\", \"version\": 1, "
                                               "\"type\": \"PrintUsageLogFM\", \"bands\": "
                                               "[{\"kind\": \"detail\", \"file\": \"EQLog\", "
                                               "\"objects\": [{\"type\": \"field\", \"field\": "
                                               "\"EQL:Secret\"}]}]}")
                    .isEmpty());
    const Outcome unknownField = qaveq({u"report"_s, u"file"_s, file, u"--pdf"_s, none});
    EXPECT_EQ(unknownField.status, 1);
    EXPECT_TRUE(unknownField.err.contains(u"\"EQL:Secret\" is not in the catalogue"_s))
        << unknownField.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(none));
    EXPECT_EQ(qaveq({u"report"_s, u"starter"_s}).status, 2);
}

} // namespace
