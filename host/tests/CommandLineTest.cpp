// The commands' common ground: a company made, dumped and loaded, the
// mistakes a user makes explained, and what only the administrator may do.

#include "CommandLineFixture.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using qaveq::testing::CommandLineTest;
using qaveq::testing::Outcome;

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
