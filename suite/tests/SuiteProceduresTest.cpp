#include "suite/Procedures.h"
#include "suite/SiblingModules.h"

#include "assets/ScheduleCalculator.h"
#include "assets/ScheduleRows.h"
#include "records/EQHeader.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/SuiteModule.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class SuiteProceduresTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    data::Company company{folder.filePath(u"company"_s), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    data::ErrorManager errors{u"host"_s, &prompter};

    SuiteProceduresTest()
    {
        data::Session::setCurrent(&session);
        suite::qavgl().init(&errors, nullptr);
        suite::qavmisc().init(&errors, nullptr);
    }
    ~SuiteProceduresTest() override
    {
        suite::qavgl().kill();
        suite::qavmisc().kill();
        data::Session::setCurrent(nullptr);
    }
};

TEST_F(SuiteProceduresTest, TheImageStoreKeepsCopiesOfAttachedFiles)
{
    const QString original = folder.filePath(u"manual.pdf"_s);
    QFile file(original);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4 operator manual");
    file.close();

    const std::optional<QString> stored = suite::STOREIMAGEFILE(original);
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(stored->endsWith(u"-manual.pdf"_s));
    const QString copy = folder.filePath(u"copy.pdf"_s);
    ASSERT_TRUE(suite::EXTRACTIMAGEFILE(*stored, copy));
    QFile extracted(copy);
    ASSERT_TRUE(extracted.open(QIODevice::ReadOnly));
    EXPECT_EQ(extracted.readAll(), QByteArray("%PDF-1.4 operator manual"));
    EXPECT_TRUE(suite::REMOVEIMAGEFILE(*stored));
    EXPECT_FALSE(suite::EXTRACTIMAGEFILE(*stored, copy));
    EXPECT_FALSE(suite::STOREIMAGEFILE(folder.filePath(u"missing.pdf"_s)).has_value());
}

TEST_F(SuiteProceduresTest, UserDefinedLimitsLetListedValuesThrough)
{
    EXPECT_TRUE(suite::USERDEFTEST(7, u"anything"_s)) << "no limits: every value passes";
    for (const auto &[kind, value] :
         {std::pair{u"UD"_s, u"Cat"_s}, {u"UD"_s, u"Dog"_s}, {u"Class"_s, u"Cow"_s}}) {
        LimList entry;
        entry.FileName = u"EQLimits"_s;
        entry.LimitID = 7;
        entry.Kind = kind;
        entry.Value = value;
        ASSERT_TRUE(company.file<LimList>().insert(entry).isOk());
    }
    EXPECT_TRUE(suite::USERDEFTEST(7, u"cat "_s));
    EXPECT_FALSE(suite::USERDEFTEST(7, u"Cow"_s));
    EXPECT_TRUE(suite::USERDEFTEST(8, u"Cow"_s));
}

TEST_F(SuiteProceduresTest, TheBackupBeforePostingIsACompleteCopy)
{
    EQHeader truck;
    truck.EquipmentID = u"T-1"_s;
    truck.Description = u"Truck"_s;
    ASSERT_TRUE(company.file<EQHeader>().insert(truck).isOk());
    const std::optional<QString> backup = suite::PREPOSTBACKUP();
    ASSERT_TRUE(backup.has_value()) << prompter.texts().join(u'\n').toStdString();
    data::ConnectionSettings copy;
    copy.sqliteFile = *backup;
    data::Company restored(copy, companyCatalog());
    EXPECT_EQ(restored.file<EQHeader>().count(), 1);
}

TEST_F(SuiteProceduresTest, ADepreciationBatchPostsEachMonthOnce)
{
    EQHeader loader;
    loader.EquipmentID = u"LDR-1"_s;
    loader.Description = u"Loader"_s;
    loader.PurchaseDate = SuiteDate::fromYmd(2025, 12, 5);
    loader.PurchaseValue = Decimal(1200);
    loader.DepreciationYears = 12;
    loader.DepreciationMethod = 1;
    loader.DestinationAccount = u"6150"_s;
    loader.AssetAccount = u"1590"_s;
    ASSERT_TRUE(company.file<EQHeader>().insert(loader).isOk());
    ScheduleCalculator(company, prompter).calculate(loader);

    session.buffer<EQHeader>() = loader;
    GLFiscal &period = session.buffer<GLFiscal>();
    period.FiscalPeriod = 3;
    period.Label = u"03/26"_s;
    period.EndDate = SuiteDate::fromYmd(2026, 3, 31);
    EXPECT_EQ(suite::CREATEDEPRECIATIONBATCH(), 3) << prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(company.file<GLTrans>().count(), 6);
    EXPECT_EQ(suite::CREATEDEPRECIATIONBATCH(), 0) << "months already posted are not posted again";

    // A recalculation keeps what was posted.
    loader.PurchaseValue = Decimal(2400);
    ScheduleCalculator(company, prompter).calculate(loader);
    const auto rows = scheduleRows(company, u"LDR-1"_s);
    EXPECT_EQ(rows[0].ActualAmount, Decimal(100));
    EXPECT_EQ(rows[0].SLAmount, Decimal(200));
    EXPECT_EQ(rows[2].FPPostedLabel, u"03/26");
    EXPECT_NE(rows[2].GLTransID, 0);
    EXPECT_EQ(rows[3].GLTransID, 0);
}

} // namespace
