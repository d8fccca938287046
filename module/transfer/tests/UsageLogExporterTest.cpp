#include "TransferFixture.h"

#include "transfer/UsageLogExporter.h"
#include "transfer/UsageLogImporter.h"

#include "core/Text.h"
#include "core/testing/QtPrinters.h"

#include <random>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

EQLogB sample()
{
    EQLogB log;
    log.BatchID = 1;
    log.EquipmentID = u"LDR-1"_s;
    log.StartMeter = Decimal(100);
    log.EndMeter = Decimal::fromUnits(11250, 2);
    log.Units = Decimal::fromUnits(1250, 2);
    log.ChargeType = u"I"_s;
    log.DetailType = u"Job"_s;
    log.JobID = u"J100"_s;
    log.CostCode = u"0100000000E"_s;
    log.Comments = u"Fuel, oil"_s;
    log.Date = SuiteDate::fromYmd(2025, 1, 5);
    log.Location = u"YARD"_s;
    log.EmployeeID = 7;
    return log;
}

TEST(UsageLogExporterLine, WritesEachFieldInTheImportOrder)
{
    EXPECT_EQ(UsageLogExporter::lineOf(sample()),
              u"LDR-1,100,112.5,12.5,I,Job,,J100,0100000000E,,,\"Fuel, oil\", 1/ 5/2025,YARD,7");
    EQLogB bare;
    bare.Comments = u"\"quoted\" start"_s;
    bare.Date = SuiteDate::fromYmd(2025, 11, 30);
    EXPECT_EQ(UsageLogExporter::lineOf(bare),
              u",0,0,0,,,,,,,,\"\"\"quoted\"\" start\",11/30/2025,,0");
}

class UsageLogExporterTest : public qaveq::testing::TransferTest
{
};

TEST_P(UsageLogExporterTest, EmptyBatchGivesAnEmptyFile)
{
    const QString path = folder.filePath(u"empty.txt"_s);
    const UsageLogExporter::Result result = UsageLogExporter::exportBatch(company, 9, path);
    ASSERT_TRUE(result.done) << result.problem.toStdString();
    EXPECT_EQ(result.written, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().isEmpty());
}

TEST_P(UsageLogExporterTest, RefusesAFolderAsTheFile)
{
    const UsageLogExporter::Result result =
        UsageLogExporter::exportBatch(company, 1, folder.path());
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(result.problem.isEmpty());
}

// A whole batch out and in again with the built-in source is the same logs,
// comments with commas included.
TEST_P(UsageLogExporterTest, ExportedBatchImportsAgainUnchanged)
{
    QList<EQLogB> written;
    EQLogB job = sample();
    written.append(job);
    EQLogB rental = sample();
    rental.ChargeType = u"R"_s;
    rental.DetailType = u"G/L Account"_s;
    rental.JobID.clear();
    rental.CostCode.clear();
    rental.GLAccount = u"6110"_s;
    rental.Comments = u"a,b,c"_s;
    rental.StartMeter = Decimal::fromUnits(5, 2);
    rental.EndMeter = Decimal(3);
    rental.Units = Decimal::fromUnits(295, 2);
    written.append(rental);
    EQLogB maintenance = sample();
    maintenance.EquipmentID = u"TRK-2"_s;
    maintenance.DetailType = u"Equipment"_s;
    maintenance.JobID.clear();
    maintenance.CostCode.clear();
    maintenance.EquipmentIDCharged = u"LDR-1"_s;
    maintenance.Category = u"FUEL"_s;
    maintenance.Comments = u"Bay 3, lift"_s;
    maintenance.EmployeeID = 0;
    maintenance.Location.clear();
    written.append(maintenance);
    for (EQLogB &log : written) {
        log.GrossAmount = log.Units * (log.ChargeType == u"R" ? Decimal(80) : Decimal(50));
        if (log.EquipmentID == u"TRK-2")
            log.GrossAmount = (log.Units * Decimal::fromUnits(1250, 2)).rounded(2);
        log.AdjustedAmount = log.GrossAmount;
        ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    }

    const QString path = folder.filePath(u"batch.txt"_s);
    const UsageLogExporter::Result exported = UsageLogExporter::exportBatch(company, 1, path);
    ASSERT_TRUE(exported.done) << exported.problem.toStdString();
    EXPECT_EQ(exported.written, 3);

    UsageLogImporter importer(session, clock);
    ASSERT_EQ(importer.read(ImportSources::builtIn(), path), QString());
    ASSERT_TRUE(importer.errors().isEmpty()) << importer.errors().first().text.toStdString();
    ASSERT_TRUE(importer.import(2).done);

    const QList<EQLogB> before = logsOf(1);
    const QList<EQLogB> after = logsOf(2);
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        EQLogB expected = before[i];
        expected.LogID = after[i].LogID;
        expected.BatchID = 2;
        EXPECT_EQ(UsageLogExporter::lineOf(after[i]), UsageLogExporter::lineOf(expected));
        EXPECT_EQ(after[i].Comments, expected.Comments);
        EXPECT_EQ(after[i].GrossAmount, expected.GrossAmount);
        EXPECT_EQ(after[i].AdjustedAmount, expected.AdjustedAmount);
    }
}

// Random logs of any printable text out and in again come back field for
// field: commas, quotes, apostrophes, formula signs, leading blanks, accents
// and characters beyond the basic plane included.
TEST_P(UsageLogExporterTest, AnyPrintableTextComesBackExactly)
{
    std::mt19937_64 random(31);
    const auto pick = [&random](int below) { return int(random() % unsigned(below)); };
    const QString alphabet = u"aZ09 ,\"'=+-@;:/|\\<>?!#$%&*()[]{}~`^_.éñüßÆ€“”—中文ДЖ"_s;
    const QStringList wide{u"🚜"_s, u"𝄞"_s, u"😀"_s};
    const auto text = [&](int width) {
        QString made;
        const int length = pick(width + 6);
        for (int i = 0; i < length; ++i)
            made += pick(8) == 0 ? wide.at(pick(wide.size()))
                                 : QString(alphabet.at(pick(alphabet.size())));
        return Text::cut(made, width); // as a stored text is kept
    };
    const auto figure = [&] {
        return Decimal::fromUnits(qint64(random() % 100000000000ULL) - 50000000000LL, 2);
    };
    QList<EQLogB> written;
    for (int i = 0; i < 150; ++i) {
        EQLogB log;
        log.BatchID = 1;
        log.EquipmentID = pick(2) ? u"LDR-1"_s : u"TRK-2"_s;
        log.StartMeter = figure();
        log.EndMeter = figure();
        // Units small enough that units x rate fits an amount.
        log.Units = Decimal::fromUnits(qint64(random() % 100000000U) - 50000000, 2);
        if (log.Units.isZero())
            log.Units = Decimal(1);
        log.ChargeType = pick(2) ? u"I"_s : u"R"_s;
        log.DetailType = u"G/L Account"_s;
        log.GLAccount = u"6110"_s;
        log.Comments = text(20);
        log.Date = SuiteDate::fromYmd(1801 + pick(8199), 1 + pick(12), 1 + pick(28));
        QString location;
        for (int c = pick(6); c > 0; --c)
            location += QChar(u'A' + pick(26));
        log.Location = location;
        log.EmployeeID = qint32(random() % 2147483648U);
        written.append(log);
        ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    }

    const QString path = folder.filePath(u"random.csv"_s);
    ASSERT_TRUE(UsageLogExporter::exportBatch(company, 1, path).done);
    UsageLogImporter importer(session, clock);
    ASSERT_EQ(importer.read(ImportSources::builtIn(), path), QString());
    ASSERT_TRUE(importer.errors().isEmpty())
        << importer.errors().first().line << " " << importer.errors().first().text.toStdString();
    EXPECT_EQ(importer.encodingNote(), QString());
    ASSERT_TRUE(importer.import(2).done);

    const QList<EQLogB> after = logsOf(2);
    ASSERT_EQ(after.size(), written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        const EQLogB &a = written[i];
        const EQLogB &b = after[i];
        const std::string line = UsageLogExporter::lineOf(a).toStdString();
        EXPECT_EQ(b.EquipmentID, a.EquipmentID) << line;
        EXPECT_EQ(b.StartMeter, a.StartMeter) << line;
        EXPECT_EQ(b.EndMeter, a.EndMeter) << line;
        EXPECT_EQ(b.Units, a.Units) << line;
        EXPECT_EQ(b.ChargeType, a.ChargeType) << line;
        EXPECT_EQ(b.DetailType, a.DetailType) << line;
        EXPECT_EQ(b.GLAccount, a.GLAccount) << line;
        EXPECT_EQ(b.Comments, a.Comments) << line;
        EXPECT_EQ(b.Date, a.Date) << line;
        EXPECT_EQ(b.Location, a.Location) << line;
        EXPECT_EQ(b.EmployeeID, a.EmployeeID) << line;
    }
}

TEST(UsageLogExporterLine, FormulasAreGuardedAndEveryLogIsOneLine)
{
    EQLogB log;
    log.Comments = u"=2*3"_s;
    log.JobID = u"@SUM"_s;
    log.Location = u"-1"_s;
    log.Date = SuiteDate::fromYmd(2025, 1, 5);
    EXPECT_EQ(UsageLogExporter::lineOf(log), u",0,0,0,,,,'@SUM,,,,'=2*3, 1/ 5/2025,'-1,0");
    // A log stored before line breaks were refused still makes one line.
    log.Comments = u"two\nlines\tand a tab"_s;
    EXPECT_FALSE(UsageLogExporter::lineOf(log).contains(u'\n'));
    EXPECT_TRUE(UsageLogExporter::lineOf(log).contains(u"two lines and a tab"));
}

INSTANTIATE_TEST_SUITE_P(Backends, UsageLogExporterTest,
                         ::testing::ValuesIn(qaveq::testing::backends()));

} // namespace
