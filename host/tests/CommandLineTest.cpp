#include "CommandRun.h"

#include "records/EQBatch.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "core/OutputFile.h"
#include "core/testing/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <array>
#include <csignal>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using qaveq::testing::Outcome;

class CommandLineTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;

    void start(QProcess &run, const QStringList &arguments)
    {
        run.start(QStringLiteral(QAVEQ_PROGRAM),
                  QStringList{u"--company"_s, folder.path() + u"/co"_s} + arguments);
    }

    static Outcome finished(QProcess &run)
    {
        Outcome outcome;
        EXPECT_TRUE(run.waitForFinished(60000));
        outcome.status = run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
        outcome.out = QString::fromUtf8(run.readAllStandardOutput());
        outcome.err = QString::fromUtf8(run.readAllStandardError());
        return outcome;
    }

    // Two stations at once: the built program run twice side by side.
    std::array<Outcome, 2> together(const QStringList &arguments)
    {
        std::array<QProcess, 2> runs;
        for (QProcess &run : runs)
            start(run, arguments);
        return {finished(runs[0]), finished(runs[1])};
    }

    // The program run while another station holds `file` past the run's
    // wait (as a long load does).
    Outcome besideHeld(const QString &file, const QStringList &arguments)
    {
        qaveq::data::Company station(folder.path() + u"/co"_s, qaveq::companyCatalog());
        qaveq::data::Transaction held(station.database(), {file}, std::chrono::seconds(1));
        EXPECT_TRUE(held.isActive());
        QProcess run;
        start(run, arguments);
        return finished(run);
    }

    // A run that lost the race failed and said why; one that won succeeded.
    static void expectWonOrToldWhy(const Outcome &run, const QString &file)
    {
        if (run.status == 0)
            return;
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(u"Another station is using "_s + file))
            << run.err.toStdString();
    }

    Outcome qaveq(const QStringList &arguments, QString input = {})
    {
        return qaveq::testing::runIn(folder.path() + u"/co"_s, arguments, std::move(input));
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
    EXPECT_EQ(
        load.err,
        u"qaveq: line 2: EQH:PurchaseDate is not a date of the years 1801 to 9999: 2024-13-01\n"
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

    run = qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Two\nlines"_s});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(u"a description is one line"_s)) << run.err.toStdString();

    // An option given last without its value names the option as typed.
    for (const QStringList &arguments : {QStringList{u"export"_s, u"--batch"_s},
                                         {u"batch"_s, u"add"_s, u"--description"_s},
                                         {u"post"_s, u"--batch"_s},
                                         {u"logs"_s, u"move"_s, u"--to"_s}}) {
        run = qaveq(arguments);
        const QString option = arguments.last();
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(option + u" needs a value"_s) &&
                    !run.err.contains(u"--"_s + option))
            << run.err.toStdString();
    }
}

TEST_F(CommandLineTest, EveryCommandExplainsItself)
{
    const Outcome help = qaveq({u"--help"_s});
    EXPECT_EQ(help.status, 0);
    for (const QString &command :
         {u"init"_s, u"dump"_s, u"load"_s, u"depreciation"_s, u"apply-categories"_s, u"equipment"_s,
          u"batch"_s, u"post"_s, u"log"_s, u"logs"_s}) {
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
              "1,1000.00,900.00,1000.00,900.00,1000.00,900.00\n"
              "2,100.00,0.00,100.00,0.00,100.00,0.00\n"_s);

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

TEST_F(CommandLineTest, EquipmentListFiltersAndDeleteRefusesLikeTheWindow)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"EQM","EquipmentNoChanges":1}
{"UserID":"VEW","EquipmentReadOnly":1})"_s);
    qaveq({u"load"_s, u"EQHeader"_s}, uR"({"EquipmentID":"T-1","Description":"Truck","Active":1}
{"EquipmentID":"T-2","Description":"Loader","Active":0,"SaleDate":"2020-05-01"}
{"EquipmentID":"T-3","Description":"Crane","Active":1})"_s);
    qaveq({u"load"_s, u"EQLogB"_s}, uR"({"LogID":1,"EquipmentID":"T-3"})"_s);
    qaveq({u"load"_s, u"EQCost"_s},
          uR"({"RecordID":"T-1       FUEL","EquipmentID":"T-1","CostCategory":"FUEL"})"_s);

    const auto ids = [this](const QStringList &arguments) {
        QStringList found;
        for (const QString &line : qaveq(QStringList{u"equipment"_s, u"list"_s} + arguments)
                                       .out.split(u'\n', Qt::SkipEmptyParts)
                                       .mid(1))
            found.append(line.section(u'\t', 0, 0));
        return found;
    };
    EXPECT_EQ(ids({}), (QStringList{u"T-1"_s, u"T-3"_s}));
    EXPECT_EQ(ids({u"--inactive"_s}), (QStringList{u"T-1"_s, u"T-2"_s, u"T-3"_s}));
    EXPECT_EQ(ids({u"--inactive"_s, u"--sold"_s}), QStringList{u"T-2"_s});

    EXPECT_EQ(
        qaveq({u"--user"_s, u"VEW"_s, u"equipment"_s, u"delete"_s, u"T-1"_s, u"--yes"_s}).status,
        1);
    const Outcome denied =
        qaveq({u"--user"_s, u"EQM"_s, u"equipment"_s, u"delete"_s, u"T-1"_s, u"--yes"_s});
    EXPECT_EQ(denied.status, 1);
    EXPECT_TRUE(denied.err.contains(u"Access Denied"_s)) << denied.err.toStdString();
    const Outcome logged = qaveq({u"equipment"_s, u"delete"_s, u"T-3"_s, u"--yes"_s});
    EXPECT_EQ(logged.status, 1);
    EXPECT_TRUE(logged.err.contains(u"Cannot Delete Equipment"_s)) << logged.err.toStdString();

    const Outcome planned = qaveq({u"equipment"_s, u"delete"_s, u"T-1"_s});
    EXPECT_EQ(planned.status, 0);
    EXPECT_EQ(ids({u"--inactive"_s}).size(), 3) << "without --yes nothing goes";
    const Outcome deleted = qaveq({u"equipment"_s, u"delete"_s, u"T-1"_s, u"--yes"_s});
    EXPECT_EQ(deleted.status, 0) << deleted.err.toStdString();
    EXPECT_EQ(ids({u"--inactive"_s}), (QStringList{u"T-2"_s, u"T-3"_s}));
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out, QString());
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

namespace {

TEST_F(CommandLineTest, TwoStationsDepreciatingAtOnceNeitherDuplicateNorLoseMonths)
{
    constexpr int Rounds = 50;
    constexpr int Months = 120;
    qaveq({u"init"_s});
    QString equipment;
    for (int round = 0; round < Rounds; ++round)
        equipment +=
            uR"({"EquipmentID":"EQ-%1","Description":"Loader","PurchaseDate":"2020-05-04",)"
            uR"("PurchaseValue":"125000.00","SalvageValue":"5000.00","DepreciationYears":%2})"
            "\n"_s.arg(round)
                .arg(Months);
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s}, equipment).status, 0);

    // Held past its wait, the run gives up, says why and writes nothing.
    const Outcome waited = besideHeld(u"GLDepr"_s, {u"depreciation"_s, u"EQ-0"_s});
    EXPECT_EQ(waited.status, 1);
    EXPECT_TRUE(waited.err.contains(
        u"Another station is using GLDepr. Nothing was changed; try again in a moment."_s));
    EXPECT_EQ(qaveq({u"dump"_s, u"GLDepr"_s}).out, QString());

    for (int round = 0; round < Rounds; ++round) {
        const QString id = u"EQ-%1"_s.arg(round);
        for (const Outcome &run : together({u"depreciation"_s, id}))
            expectWonOrToldWhy(run, u"GLDepr"_s);
    }
    // Every schedule has each of its months once: 120 distinct dates.
    const QStringList lines = qaveq({u"dump"_s, u"GLDepr"_s, u"--format"_s, u"csv"_s})
                                  .out.split(u'\n', Qt::SkipEmptyParts)
                                  .mid(1);
    QHash<QString, QSet<QString>> months;
    for (const QString &line : lines)
        months[line.section(u',', 1, 1)].insert(line.section(u',', 2, 2));
    ASSERT_EQ(lines.size(), Rounds * Months);
    ASSERT_EQ(months.size(), Rounds);
    for (auto it = months.cbegin(); it != months.cend(); ++it)
        EXPECT_EQ(it.value().size(), Months) << it.key().toStdString();
}

TEST_F(CommandLineTest, TwoStationsApplyingCategoriesAtOnceAddEachOnce)
{
    constexpr int Rounds = 50;
    constexpr int Pieces = 7;
    qaveq({u"init"_s});
    QString equipment;
    for (int piece = 0; piece < Pieces; ++piece)
        equipment += uR"({"EquipmentID":"T-%1","Description":"Truck"})"
                     "\n"_s.arg(piece);
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s}, equipment).status, 0);
    ASSERT_EQ(
        qaveq({u"load"_s, u"EQCode"_s}, uR"({"CategoryID":"FIRST","Description":"x"})"_s).status,
        0);
    const Outcome waited = besideHeld(u"EQCost"_s, {u"apply-categories"_s, u"--yes"_s});
    EXPECT_EQ(waited.status, 1);
    EXPECT_TRUE(waited.err.contains(u"Another station is using EQCost."_s));
    EXPECT_FALSE(waited.out.contains(u"Process Complete"_s));
    ASSERT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out, QString());

    for (int round = 0; round < Rounds; ++round) {
        ASSERT_EQ(qaveq({u"load"_s, u"EQCode"_s},
                        uR"({"CategoryID":"C%1","Description":"Category"})"_s.arg(round))
                      .status,
                  0);
        for (const Outcome &run : together({u"apply-categories"_s, u"--yes"_s}))
            expectWonOrToldWhy(run, u"EQCost"_s);
        ASSERT_EQ(qaveq({u"dump"_s, u"EQCost"_s}).out.count(u'\n'), Pieces * (round + 2))
            << "round " << round;
    }
}

TEST_F(CommandLineTest, OnlyTheAdministratorLoadsOrDumpsAndOnlyWhatTheWindowsCouldStore)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"EQM"}
{"UserID":"VEW","EquipmentReadOnly":1})"_s);
    const QString truck = uR"({"EquipmentID":"T-1","Description":"Truck"})"_s;
    // Whole files are beneath each user's rights: another user could give
    // himself rights or read a hidden batch through them.
    for (const QString &user : {u"VEW"_s, u"EQM"_s}) {
        for (const QStringList &command : {QStringList{u"load"_s, u"UserFile"_s},
                                           {u"load"_s, u"EQHeader"_s},
                                           {u"dump"_s, u"EQLogB"_s}}) {
            const Outcome run = qaveq(QStringList{u"--user"_s, user} + command,
                                      uR"({"UserID":"ADM","EquipmentReadOnly":1})"_s);
            EXPECT_EQ(run.status, 1)
                << user.toStdString() << " " << command.join(u' ').toStdString();
            EXPECT_TRUE(run.err.startsWith(u"qaveq: only the administrator (ADM)"_s))
                << run.err.toStdString();
        }
    }
    EXPECT_EQ(qaveq({u"--user"_s, u"XYZ"_s, u"load"_s, u"EQHeader"_s}, truck).status, 1);
    EXPECT_EQ(qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Still mine"_s}).status, 0)
        << "the administrator kept his rights";

    // Text and dates as no window stores them.
    for (const QString &line :
         {uR"({"EquipmentID":"T-9","Description":"Two\nlines"})"_s,
          uR"({"EquipmentID":"T-9","Description":"Tab\tbed"})"_s,
          uR"({"EquipmentID":"T-9","Description":"Old","PurchaseDate":"1800-12-31"})"_s}) {
        const Outcome run = qaveq({u"load"_s, u"EQHeader"_s}, line);
        EXPECT_EQ(run.status, 1) << line.toStdString();
        EXPECT_TRUE(run.err.contains(u"control character"_s) ||
                    run.err.contains(u"not a date of the years 1801 to 9999"_s))
            << run.err.toStdString();
    }

    qaveq({u"logging-level"_s, u"2"_s});
    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s}, truck).status, 0);
    EXPECT_TRUE(qaveq({u"dump"_s, u"UserLog"_s})
                    .out.contains(u"\"Text\":\"Loaded EQHeader: 1 inserted, 0 updated\""_s));
}

TEST_F(CommandLineTest, LoadRefusesBlankRequiredFields)
{
    qaveq({u"init"_s});
    const QString truck = uR"({"EquipmentID":"T-1","Description":"Truck"})"_s;
    Outcome run;

    run = qaveq({u"load"_s, u"EQHeader"_s}, truck + uR"(
{"EquipmentID":"T-2","Description":"  "})"_s);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, u"qaveq: line 2: EQH:Description is required and blank\n"
                       "Nothing was loaded into EQHeader.\n");
    EXPECT_EQ(qaveq({u"dump"_s, u"EQHeader"_s}).out, QString());
}

TEST_F(CommandLineTest, NoNumberEndsTheProgram)
{
    qaveq({u"init"_s});
    Outcome run = qaveq({u"load"_s, u"EQHeader"_s},
                        uR"({"EquipmentID":"T-1","Description":"Truck","PurchaseValue":1e308})"_s);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith(u"qaveq: line 1: EQH:PurchaseValue does not fit"_s))
        << run.err.toStdString();

    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s},
                    uR"({"EquipmentID":"BIG","Description":"Crane","PurchaseDate":"2024-01-10",)"
                    uR"("PurchaseValue":"9999999999999.99","SalvageValue":"-9999999999999.99",)"
                    uR"("DepreciationYears":1})"_s)
                  .status,
              0);
    run = qaveq({u"depreciation"_s, u"BIG"_s});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(u"too large to depreciate"_s)) << run.err.toStdString();
    EXPECT_EQ(qaveq({u"dump"_s, u"GLDepr"_s}).out, QString());
}

TEST_F(CommandLineTest, SpreadsheetOutputNeverStartsAFormula)
{
    qaveq({u"init"_s});
    qaveq({u"load"_s, u"EQCode"_s},
          uR"x({"CategoryID":"=1+2","Description":"@SUM(A1)","Meter":-5})x"_s);
    EXPECT_EQ(qaveq({u"dump"_s, u"EQCode"_s, u"--format"_s, u"csv"_s}).out.section(u'\n', 1, 1),
              u"1,'=1+2,'@SUM(A1),,,,,,-5,,0"_s);
}

} // namespace

namespace {

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

} // namespace

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

} // namespace

namespace {

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

TEST_F(CommandLineTest, AttentionListsOneThingALineOrAsJsonLines)
{
    qaveq({u"init"_s});
    const Outcome nothing = qaveq({u"attention"_s, u"--json"_s});
    EXPECT_EQ(nothing.status, 0) << nothing.err.toStdString();
    EXPECT_EQ(nothing.out, QString());

    ASSERT_EQ(qaveq({u"load"_s, u"EQHeader"_s},
                    uR"({"EquipmentID":"TRK-1","Description":"Dump Truck"})"_s)
                  .status,
              0);
    ASSERT_EQ(qaveq({u"batch"_s, u"add"_s, u"--description"_s, u"Week 12"_s}).out, u"1\n");
    ASSERT_EQ(qaveq({u"batch"_s, u"tag"_s, u"1"_s}).status, 0);

    const Outcome plain = qaveq({u"attention"_s});
    EXPECT_EQ(plain.status, 0) << plain.err.toStdString();
    const QStringList lines = plain.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << plain.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"batch-held              1           Week 12 (batch 1): held "
                                    "by ADM"_s))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], u"no-categories           TRK-1       Dump Truck: no cost categories");

    // Read by another user, so that the holder is not signed on while it runs.
    ASSERT_EQ(qaveq({u"load"_s, u"UserFile"_s}, uR"({"UserID":"ADM"}
{"UserID":"EQM"})"_s)
                  .status,
              0);
    const Outcome json = qaveq({u"--user"_s, u"EQM"_s, u"attention"_s, u"--json"_s});
    EXPECT_EQ(json.status, 0);
    const QStringList objects = json.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(objects.size(), 2);
    const QJsonObject held = QJsonDocument::fromJson(objects[0].toUtf8()).object();
    EXPECT_EQ(held.value(u"kind"_s).toString(), u"batch-held");
    EXPECT_EQ(held.value(u"subject"_s).toString(), u"1");
    EXPECT_FALSE(held.contains(u"date"_s)) << "its holder is not signed on: no date to give";
    const QJsonObject bare = QJsonDocument::fromJson(objects[1].toUtf8()).object();
    EXPECT_EQ(bare, (QJsonObject{{u"kind"_s, u"no-categories"_s},
                                 {u"subject"_s, u"TRK-1"_s},
                                 {u"text"_s, u"Dump Truck: no cost categories"_s}}));
    EXPECT_EQ(qaveq({u"attention"_s, u"now"_s}).status, 2);
}
