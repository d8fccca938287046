#include "CommandLine.h"

#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Outcome
{
    int status = 0;
    QString out;
    QString err;
};

class CommandLineTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;

    Outcome qaveq(const QStringList &arguments, QString input = {})
    {
        Outcome run;
        QTextStream in(&input);
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        run.status = qaveq::host::runCommandLine(
            QStringList{u"qaveq"_s, u"--company"_s, folder.path() + u"/co"_s} + arguments, in, out,
            err);
        out.flush();
        err.flush();
        return run;
    }
};

TEST_F(CommandLineTest, InitDumpAndLoadRoundTrip)
{
    EXPECT_EQ(qaveq({u"init"_s}).status, 0);
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCode"_s}).out, QString());

    const Outcome load = qaveq({u"load"_s, u"EQCode"_s},
                               uR"({"CategoryID":"TIRES","Description":"Tires","DefaultUnit":"Each"}
{"CategoryID":"FUEL","Description":"Fuel"})"_s);
    EXPECT_EQ(load.status, 0) << load.err.toStdString();
    EXPECT_EQ(load.out, u"Loaded EQCode: 2 inserted, 0 updated.\n");

    const Outcome csv = qaveq({u"dump"_s, u"EQCode"_s, u"--format"_s, u"csv"_s});
    EXPECT_EQ(
        csv.out,
        uR"(RecordID,CategoryID,Description,DefaultUnit,DefaultExpenseControl,DefaultContraExpenseControl,ScheduleType,MeterName,Meter,IntervalName,Interval
2,FUEL,Fuel,,,,,,0,,0
1,TIRES,Tires,Each,,,,,0,,0
)"_s);
    const Outcome jsonl = qaveq({u"dump"_s, u"eqcode"_s});
    EXPECT_TRUE(
        jsonl.out.startsWith(uR"({"RecordID":2,"CategoryID":"FUEL","Description":"Fuel",)"_s));
}

TEST_F(CommandLineTest, ARefusedLoadSaysWhereAndWritesNothing)
{
    qaveq({u"init"_s});
    const Outcome load =
        qaveq({u"load"_s, u"EQHeader"_s}, uR"({"EquipmentID":"T-1","Description":"Truck"}
{"EquipmentID":"T-2","Description":"Loader","PurchaseDate":"2024-13-01"})"_s);
    EXPECT_EQ(load.status, 1);
    EXPECT_EQ(load.err, u"qaveq: line 2: EQH:PurchaseDate is not a date: 2024-13-01\n"
                        "Nothing was loaded into EQHeader.\n");
    EXPECT_EQ(qaveq({u"dump"_s, u"EQHeader"_s}).out, QString());
}

TEST_F(CommandLineTest, MistakesAreExplained)
{
    Outcome run = qaveq({u"dump"_s, u"EQHeader"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(u"there is no company in"_s));
    EXPECT_TRUE(run.err.contains(u"init [--demo]"_s));

    qaveq({u"init"_s});
    run = qaveq({u"dump"_s, u"Trucks"_s});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(u"EQHeader, EQHeaderAlias"_s));
    EXPECT_EQ(qaveq({u"dump"_s, u"EQHeader"_s, u"--format"_s, u"xml"_s}).status, 2);
    EXPECT_EQ(qaveq({u"dump"_s}).status, 2);
    EXPECT_EQ(qaveq({u"frobnicate"_s}).status, 2);
    EXPECT_EQ(qaveq({u"--user"_s, u"ABCD"_s, u"dump"_s, u"EQHeader"_s}).status, 2);
}

TEST_F(CommandLineTest, EveryCommandExplainsItself)
{
    const Outcome help = qaveq({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    for (const QString &command : {u"init"_s, u"dump"_s, u"load"_s, u"depreciation"_s,
                                   u"apply-categories"_s, u"batch"_s, u"post"_s}) {
        EXPECT_TRUE(help.out.contains(u"  "_s + command)) << command.toStdString();
        const Outcome own = qaveq({command, u"--help"_s});
        EXPECT_EQ(own.status, 0);
        const QString usageLine = own.out.section(u'\n', 0, 0);
        EXPECT_TRUE(usageLine.startsWith(u"Usage: qaveq --company DIR "_s) &&
                    usageLine.contains(u' ' + command))
            << own.out.toStdString();
    }
}

TEST_F(CommandLineTest, DemonstrationDataOnlyGoesIntoAnEmptyCompany)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"EQHeader"_s}, uR"({"EquipmentID":"MINE","Description":"Own truck"})"_s);
    const Outcome demo = qaveq({u"init"_s, u"--demo"_s});
    EXPECT_EQ(demo.status, 1);
    EXPECT_TRUE(demo.err.contains(u"already holds equipment"_s));
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCode"_s}).out, QString());
}

} // namespace

namespace {

TEST_F(CommandLineTest, DepreciationPrintsStoredRowsOrTheSummary)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"EQHeader"_s},
          uR"({"EquipmentID":"GEN-1","Description":"Generator","PurchaseDate":"2024-11-10",
"PurchaseValue":"1000.00","SalvageValue":"100.00","DepreciationYears":3})"_s.remove(u'\n'));

    const Outcome dry = qaveq({u"depreciation"_s, u"GEN-1"_s, u"--dry-run"_s});
    EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(qaveq({u"dump"_s, u"GLDepr"_s}).out, QString()) << "a dry run stores nothing";

    const Outcome stored = qaveq({u"depreciation"_s, u"GEN-1"_s});
    EXPECT_EQ(stored.status, 0) << stored.err.toStdString();
    EXPECT_EQ(stored.out, dry.out);
    EXPECT_EQ(stored.out,
              u"Date,SLAmount,SLValue,SYAmount,SYValue,DDBAmount,DDBValue,UD1Amount,UD1Value,"
              u"ActualAmount,"
              "FPPostedLabel,GLTransID\n"
              "2024-12-01,300.00,700.00,450.00,550.00,666.67,333.33,0.00,0.00,0.00,,0\n"
              "2025-01-01,300.00,400.00,300.00,250.00,222.22,111.11,0.00,0.00,0.00,,0\n"
              "2025-02-01,300.00,100.00,150.00,100.00,11.11,100.00,0.00,0.00,0.00,,0\n"_s);

    EXPECT_EQ(qaveq({u"depreciation"_s, u"GEN-1"_s, u"--summary"_s}).out,
              u"Year,SLBegin,SLCharge,SYBegin,SYCharge,DDBBegin,DDBCharge\n"
              "1,100.00,0.00,100.00,0.00,100.00,0.00\n"_s);

    const Outcome unknown = qaveq({u"depreciation"_s, u"NOPE"_s});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, u"qaveq: there is no equipment \"NOPE\"\n");
}

} // namespace

namespace {

TEST_F(CommandLineTest, ApplyCategoriesPlansThenApplies)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"VEW","EquipmentReadOnly":1})"_s);
    qaveq({u"load"_s, u"EQHeader"_s}, uR"({"EquipmentID":"T-1","Description":"Truck"}
{"EquipmentID":"T-2","Description":"Loader"})"_s);
    qaveq({u"load"_s, u"EQCode"_s}, uR"({"CategoryID":"FUEL","Description":"Fuel"})"_s);

    Outcome plan = qaveq({u"apply-categories"_s});
    EXPECT_EQ(plan.status, 0);
    EXPECT_TRUE(plan.out.startsWith(
        u"Apply to All would add 2 cost categories to 2 pieces of equipment"_s));
    EXPECT_EQ(qaveq({u"--user"_s, u"VEW"_s, u"apply-categories"_s, u"--yes"_s}).status, 1);
    const Outcome applied = qaveq({u"apply-categories"_s, u"--yes"_s});
    EXPECT_EQ(applied.status, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith(
        u"Process Complete: New categories were added to 2 existing equipment records.\n"_s));
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out.count(u'\n'), 2);
}

} // namespace

namespace {

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

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

namespace {

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
    EXPECT_EQ(posted.out, u"Posted batch 1.\n");
    EXPECT_EQ(lines(qaveq({u"dump"_s, u"EQLog"_s}).out), postedBefore + 6);
    EXPECT_FALSE(qaveq({u"dump"_s, u"EQLogB"_s}).out.contains(u"\"BatchID\":1,"_s));
    // The run signs nobody on for good and leaves the batch free.
    EXPECT_EQ(qaveq({u"dump"_s, u"NetUser"_s}).out, QString());
    EXPECT_TRUE(qaveq({u"dump"_s, u"EQBatch"_s}).out.contains(u"\"InUseBy\":\"\""_s));

    const Outcome secure = qaveq({u"--user"_s, u"EQM"_s, u"post"_s, u"--batch"_s, u"2"_s});
    EXPECT_EQ(secure.status, 1);
    EXPECT_EQ(secure.err, u"Unable to Tag Batch: This batch can only be tagged by user ADM.\n");
    const Outcome viewer = qaveq({u"--user"_s, u"VEW"_s, u"post"_s, u"--batch"_s, u"3"_s});
    EXPECT_EQ(viewer.status, 1);
    EXPECT_TRUE(viewer.err.startsWith(u"Insufficient Access: User VEW has read only"_s));
    EXPECT_EQ(qaveq({u"post"_s}).status, 2);
    EXPECT_EQ(qaveq({u"batch"_s, u"add"_s, u"--secure"_s, u"3"_s}).status, 2);
}

} // namespace
