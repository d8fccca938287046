#include "TransferFixture.h"

#include "transfer/ImportLayout.h"
#include "transfer/UsageLogImporter.h"

#include "core/testing/QtPrinters.h"
#include "data/Transaction.h"

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class UsageLogImporterTest : public qaveq::testing::TransferTest
{
protected:
    JCLimits source = ImportSources::builtIn();
    UsageLogImporter importer{session, clock};

    void read(const QByteArray &text)
    {
        QBuffer file;
        file.setData(text);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ASSERT_EQ(importer.read(source, file), QString());
    }

    const UsageLogImporter::Line *line(int number) const
    {
        for (const UsageLogImporter::Line &kept : importer.lines())
            if (kept.number == number)
                return &kept;
        return nullptr;
    }
};

TEST_P(UsageLogImporterTest, ExportedLineImportsWithUnitsFromTheMeters)
{
    read("LDR-1,10,20,,,,,J100,0100000000,,,\"Fuel, oil\",01/05/2025,yard,7\n");
    ASSERT_TRUE(importer.errors().isEmpty());
    ASSERT_EQ(importer.lines().size(), 1);
    const UsageLogImporter::Result result = importer.import(1);
    ASSERT_TRUE(result.done) << result.problem.toStdString();
    EXPECT_EQ(result.imported, 1);
    const QList<EQLogB> logs = logsOf(1);
    ASSERT_EQ(logs.size(), 1);
    const EQLogB &log = logs.first();
    EXPECT_EQ(log.Units, Decimal(10));
    EXPECT_EQ(log.DetailType, u"Job");
    EXPECT_EQ(log.CostCode, u"0100000000E");
    EXPECT_EQ(log.Comments, u"Fuel, oil");
    EXPECT_EQ(SuiteDate::toQDate(log.Date), QDate(2025, 1, 5));
    EXPECT_EQ(log.Location, u"YARD");
    EXPECT_EQ(log.EmployeeID, 7);
    EXPECT_EQ(log.ChargeType, u"I");
    EXPECT_EQ(log.GrossAmount, Decimal(500));
    EXPECT_EQ(log.AdjustedAmount, Decimal(500));
    EXPECT_TRUE(importer.lines().isEmpty());
}

// Each line of one file: the error it gets, or the detail type it is imported with.
TEST_P(UsageLogImporterTest, ChecksLinesInOrderWithTheirTexts)
{
    const std::pair<const char *, const char16_t *> cases[] = {
        {"NOPE,0,1", u"Equipment: NOPE Not Found"},
        {"LDR-1,0,1,,,X", u"Invalid Record"},
        {"LDR-1,0,1,,,Job", u"Missing Job ID"},
        {"LDR-1,0,1,,,,,J999", u"Job: J999 Not Found"},
        {"LDR-1,0,1,,,,,J100", u"No Cost Code"},
        {"LDR-1,0,1,,,,,J100,0300000000", u"Cost Code 0300000000E on Job J100 Not Found"},
        {"LDR-1,0,1,,,G/L Account", u"Missing GL Account"},
        {"LDR-1,0,1,,,G,9999", u"Account: 9999 Not Found"},
        {"LDR-1,0,1,,,Equipment", u"Missing Equipment ID"},
        {"LDR-1,0,1,,,E,,,,TRK-2", u"No Cost Category"},
        {"LDR-1,0,1,,,E,,,,TRK-2,FUEL", u"Category FUEL on Equipment TRK-2 Not Found"},
        {"LDR-1,0,1,,,Maintenance,,,,,REPAIR", u"Category REPAIR on Equipment LDR-1 Not Found"},
        {"LDR-1,5,5,,,M,,,,,FUEL", u"No Units"},
        {"LDR-1,0,999999999999,,,M,,,,,FUEL", u"Meter End: 999999999999 Is Too Large"},
        {"LDR-1,0,999999999,,r,M,,,,,FUEL", u"Figures too large for a usage log"},
        {"LDR-1,0,1,,,Maintenance,,,,,FUEL", u"=Maintenance"},
        {"LDR-1,0,1,,,m,,,,,FUEL", u"=Maintenance"},
        {"LDR-1,0,1,,,,,J100,0100000000", u"=Job"},
        {"LDR-1,0,1,,,,6110", u"=G/L Account"},
        {"LDR-1,0,1,,,E,,,,TRK-2,REPAIR", u"=Equipment"},
        {"LDR-1,0,0,3,,,,,,,FUEL", u"=Maintenance"},
    };
    QByteArray file;
    for (const auto &[text, expected] : cases)
        file += QByteArray(text) + '\n';
    read(file);
    int number = 0;
    for (const auto &[text, expected] : cases) {
        ++number;
        const QString want = QString::fromUtf16(expected);
        if (want.startsWith(u'=')) {
            const UsageLogImporter::Line *kept = line(number);
            ASSERT_NE(kept, nullptr) << text;
            EXPECT_EQ(kept->fields.detailType, want.mid(1)) << text;
            continue;
        }
        const auto error = std::find_if(importer.errors().begin(), importer.errors().end(),
                                        [&](const auto &e) { return e.line == number; });
        ASSERT_NE(error, importer.errors().end()) << text;
        EXPECT_EQ(error->text, want) << text;
    }
}

TEST_P(UsageLogImporterTest, HeaderAndBlankLinesAreCountedNotRead)
{
    source.Skip = 1;
    read("EQ,Start,End\r\nNOPE,1,2\r\n   \r\n\r\nLDR-1,1,4,,,,6110\r\n");
    ASSERT_EQ(importer.errors().size(), 1);
    EXPECT_EQ(importer.errors().first().line, 2);
    ASSERT_EQ(importer.lines().size(), 1);
    EXPECT_EQ(importer.lines().first().number, 5);
}

TEST_P(UsageLogImporterTest, FillsTodayTheInternalChargeAndPricesRentalAtTheRentalRate)
{
    read("TRK-2,0,2,,,,6110,,,,,,\n"
         "TRK-2,0,2,,r,,6110,,,,,,03/01/2026\n");
    ASSERT_EQ(importer.lines().size(), 2);
    EXPECT_EQ(SuiteDate::toQDate(importer.lines()[0].fields.date), QDate(2026, 3, 10));
    EXPECT_EQ(importer.lines()[0].fields.chargeType, u"I");
    ASSERT_TRUE(importer.import(4).done);
    const QList<EQLogB> logs = logsOf(4);
    ASSERT_EQ(logs.size(), 2);
    EXPECT_EQ(logs[0].GrossAmount, Decimal(25)); // 2 x 12.50
    EXPECT_EQ(logs[1].ChargeType, u"R");
    EXPECT_EQ(logs[1].GrossAmount, Decimal(40)); // 2 x 20
}

TEST_P(UsageLogImporterTest, EquipmentOnlyKeepsCodesWithoutACostType)
{
    read("LDR-1,0,1,,,,,J100,0100000000\n"
         "LDR-1,0,1,,,,,J100,0200000000M\n"
         "LDR-1,0,1,,,,6110\n");
    ASSERT_EQ(importer.lines().size(), 3);
    EXPECT_EQ(importer.otherCostTypes(), 1);
    importer.keepEquipmentOnly();
    ASSERT_EQ(importer.lines().size(), 2);
    EXPECT_EQ(importer.lines()[0].number, 1);
    EXPECT_EQ(importer.lines()[1].number, 3);
}

TEST_P(UsageLogImporterTest, FixedPositionSourceWithCompactDates)
{
    source.PrintOrder = u"F"_s;
    source.JobTo = u"YYYYMMDD"_s;
    source.Layout = u"Q10S08F08#08G04"_s;
    read("LDR-1     10      20      202501156110\n");
    ASSERT_TRUE(importer.errors().isEmpty()) << importer.errors().first().text.toStdString();
    ASSERT_EQ(importer.lines().size(), 1);
    const ImportLine::Fields &fields = importer.lines().first().fields;
    EXPECT_EQ(fields.units, Decimal(10));
    EXPECT_EQ(SuiteDate::toQDate(fields.date), QDate(2025, 1, 15));
    EXPECT_EQ(fields.account, u"6110");
}

TEST_P(UsageLogImporterTest, FailurePartWayLeavesTheBatchAsItWasAndNamesTheLine)
{
    EQLogB earlier;
    earlier.BatchID = 1;
    earlier.EquipmentID = u"LDR-1"_s;
    ASSERT_TRUE(company.file<EQLogB>().insert(earlier).isOk());
    read("LDR-1,0,1,,,,6110,,,,,one\n"
         "LDR-1,0,1,,,,6110,,,,,two\n"
         "LDR-1,0,1,,,,6110,,,,,BOOM\n");
    database.failInserts(company.database(), u"EQLogB"_s, u"\"Comments\" = 'BOOM'"_s);
    const UsageLogImporter::Result result = importer.import(1);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.problem.contains(u"Inserting EQLogB|Line 3 could not be imported"))
        << result.problem.toStdString();
    EXPECT_EQ(logsOf(1).size(), 1);
    EXPECT_EQ(importer.lines().size(), 3); // still there to try again
}

TEST_P(UsageLogImporterTest, StoppedRunWritesNothing)
{
    read("LDR-1,0,1,,,,6110\nLDR-1,0,2,,,,6110\n");
    const UsageLogImporter::Result result =
        importer.import(1, [](int done, int) { return done < 2; });
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(logsOf(1).isEmpty());
}

TEST_P(UsageLogImporterTest, ABatchFileHeldByAnotherStationIsReportedBusy)
{
    read("LDR-1,0,1,,,,6110\n");
    data::Company station2(database.settings(), companyCatalog());
    data::Transaction held(station2.database(), {u"EQLogB"_s}, std::chrono::seconds(5));
    ASSERT_TRUE(held.isActive());
    const UsageLogImporter::Result result = importer.import(1);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.busy);
    EXPECT_TRUE(result.problem.contains(u"EQLogB")) << result.problem.toStdString();
    held.rollback();
    EXPECT_TRUE(logsOf(1).isEmpty());
    EXPECT_EQ(importer.lines().size(), 1); // still there to try again
}

TEST_P(UsageLogImporterTest, MissingFileSaysSo)
{
    const QString problem = importer.read(source, folder.filePath(u"none.csv"_s));
    EXPECT_TRUE(problem.contains(u"none.csv")) << problem.toStdString();
}

TEST_P(UsageLogImporterTest, BuiltInSourceIsMadeOnceAndAgainWhenRemoved)
{
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    QList<JCLimits> sources = ImportSources::all(company);
    ASSERT_EQ(sources.size(), 1);
    EXPECT_EQ(sources.first().Layout, ImportLayout::BuiltInLayout);
    EXPECT_EQ(sources.first().PrintOrder, u"C");
    EXPECT_EQ(sources.first().JobTo, u"MM/DD/YYYY");
    EXPECT_TRUE(ImportSources::isBuiltIn(sources.first()));
    ASSERT_TRUE(company.file<JCLimits>().remove(sources.first()).isOk());
    ASSERT_TRUE(ImportSources::ensureBuiltIn(company).isOk());
    EXPECT_EQ(ImportSources::all(company).size(), 1);
}

// What cannot be read is on the error list with its line; the rest is kept.
TEST_P(UsageLogImporterTest, UnreadableLinesAreListedWithTheirNumbers)
{
    QByteArray file = "LDR-1,0,1,,,,6110\n"
                      "LDR-1,0,1,,,,6110,,,,,,13/45/2026\n"
                      "LDR-1,0,abc,,,,6110\n"
                      "LDR-1,0,1,,,,6110,,,,,a";
    file += '\0';
    file += "b\n";
    file += "LDR-1,0,1,,,,6110,,,,," + QByteArray(1100, 'x') + "\n";
    file += "LDR-1,0,1,,,,6110,,,,,\"" + QByteArray(1000, 'y') + "\"\n"; // 1,024 characters
    file += "LDR-1,0,1,,,,6110,,,,,,02/29/2025\n";
    file += "LDR-1,0,2,,,,6110\n";
    read(file);
    QList<std::pair<int, QString>> errors;
    for (const UsageLogImporter::Error &error : importer.errors())
        errors.append({error.line, error.text});
    const QList<std::pair<int, QString>> expected{{2, u"Date: 13/45/2026 Is Not a Date"_s},
                                                  {3, u"Meter End: abc Is Not a Number"_s},
                                                  {4, u"Line Holds a Control Character"_s},
                                                  {5, u"Line Is Longer Than 1,024 Characters"_s},
                                                  {7, u"Date: 02/29/2025 Is Not a Date"_s}};
    EXPECT_EQ(errors, expected);
    ASSERT_EQ(importer.lines().size(), 3);
    EXPECT_EQ(importer.lines()[0].number, 1);
    EXPECT_EQ(importer.lines()[1].number, 6);
    EXPECT_EQ(importer.lines()[2].number, 8);
}

TEST_P(UsageLogImporterTest, ReadsUtf8WithOrWithoutAByteOrderMark)
{
    read("\xEF\xBB\xBFLDR-1,0,1,,,,6110,,,,,Caf\xC3\xA9 se\xC3\xB1or \xF0\x9F\x9A\x9C\n");
    ASSERT_TRUE(importer.errors().isEmpty()) << importer.errors().first().text.toStdString();
    ASSERT_EQ(importer.lines().size(), 1);
    EXPECT_EQ(importer.lines()[0].fields.comment, u"Café señor 🚜");
    EXPECT_EQ(importer.encodingNote(), QString());
    read("LDR-1,0,1,,,,6110,,,,,\xE2\x82\xAC 5\n");
    EXPECT_EQ(importer.lines()[0].fields.comment, u"€ 5");
}

TEST_P(UsageLogImporterTest, TextThatIsNotUtf8IsReadAsWindows1252AndSaysSo)
{
    read("LDR-1,0,1,,,,6110,,,,,Caf\xE9 se\xF1or \x80 \x93ok\x94\n");
    ASSERT_TRUE(importer.errors().isEmpty()) << importer.errors().first().text.toStdString();
    ASSERT_EQ(importer.lines().size(), 1);
    EXPECT_EQ(importer.lines()[0].fields.comment, u"Café señor € “ok”");
    EXPECT_TRUE(importer.encodingNote().contains(u"Windows-1252"));
    // A byte Windows-1252 leaves unassigned is a control character.
    read("LDR-1,0,1,,,,6110,,,,,a\x81\n");
    ASSERT_EQ(importer.errors().size(), 1);
    EXPECT_EQ(importer.errors()[0].text, u"Line Holds a Control Character");
}

// Devices and pipes never end and folders are no files: each is refused at
// once, without a byte read (a pipe without a writer would wait for ever).
TEST_P(UsageLogImporterTest, OnlyRegularFilesAreRead)
{
    const QString fifo = folder.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {u"/dev/zero"_s, fifo, folder.path()}) {
        const QString problem = importer.read(source, path);
        EXPECT_TRUE(problem.contains(u"is not a regular file"_s)) << problem.toStdString();
        EXPECT_TRUE(importer.lines().isEmpty());
    }
}

TEST(UsageLogImporterCount, SaysRecordOrRecords)
{
    EXPECT_EQ(UsageLogImporter::countText(1), u"1 Record");
    EXPECT_EQ(UsageLogImporter::countText(0), u"0 Records");
    EXPECT_EQ(UsageLogImporter::countText(12), u"12 Records");
}

INSTANTIATE_TEST_SUITE_P(Backends, UsageLogImporterTest,
                         ::testing::ValuesIn(qaveq::testing::backends()));

} // namespace
