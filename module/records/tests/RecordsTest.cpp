#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Database.h"
#include "data/FileSchema.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

struct Width
{
    const char16_t *field; // with prefix
    int width;
};

// Stored text widths the suite's other modules rely on.
TEST(Records, TextWidthsAreTheSuites)
{
    const data::Catalog catalog = companyCatalog();
    const Width widths[] = {
        {u"EQH:EquipmentID", 10},
        {u"EQH:Description", 40},
        {u"EQH:PhysicalDescription", 100},
        {u"EQH:LicenseCode", 5},
        {u"EQH:VIN", 30},
        {u"EQH:Make", 20},
        {u"EQH:Model", 20},
        {u"EQH:UsageUnit", 5},
        {u"EQH:BillingUnit", 5},
        {u"EQH:Location", 10},
        {u"EQH:UD1DepreciationDesc", 20},
        {u"EQH:DestinationType", 11},
        {u"EQH:DestinationCategory", 10},
        {u"EQH:DestinationJob", 10},
        {u"EQH:DestinationCostCode", 14},
        {u"EQH:AssetAccount", 12},
        {u"EQH:CertifiedID", 8},
        {u"EQH:UD1", 40},
        {u"EQH:UD15", 40},
        {u"EQH:EquipmentSortID", 10},
        {u"EQD:CategoryID", 10},
        {u"EQD:Description", 30},
        {u"EQD:DefaultExpenseControl", 12},
        {u"EQD:DefaultContraExpenseControl", 12},
        {u"EQD:DefaultUnit", 5},
        {u"EQD:MeterName", 10},
        {u"EQC:RecordID", 20},
        {u"EQC:EquipmentID", 10},
        {u"EQC:CostCategory", 10},
        {u"EQC:UnitName", 5},
        {u"EQC:ControlDebit", 12},
        {u"EQC:ControlCredit", 12},
        {u"EQC:ScheduleType", 1},
        {u"IMG:Type", 15},
        {u"IMG:StringID", 20},
        {u"IMG:Caption", 50},
        {u"IMG:ImageType", 10},
        {u"IMG:FileName", 250},
        {u"NOTE:EntityID", 20},
        {u"NOTE:EntityType", 10},
        {u"USD:U1", 40},
        {u"GLDP:EquipmentID", 10},
        {u"GLDP:FPPostedLabel", 5},
        {u"EQB:UserID", 10},
        {u"EQB:Description", 25},
        {u"EQB:InUseBy", 3},
        {u"EQLB:DetailType", 11},
        {u"EQLB:GLAccount", 12},
        {u"EQLB:ChangeOrder", 14},
        {u"EQLB:Comments", 20},
        {u"EQL:Location", 5},
        {u"EQLM:Report", 30},
        {u"EQLM:ReportTitle", 40},
        {u"EQLM:ClassFrom", 30},
        {u"EQLM:JournalType", 15},
        {u"JCL:NameFrom", 200},
        {u"JCL:Layout", 500},
        {u"NET:Activity", 30},
        {u"CTL:SystemPassword", 20},
    };
    for (const Width &w : widths) {
        const QString name = QString::fromUtf16(w.field);
        const data::FileSchema *schema = nullptr;
        for (const data::FileSchema *s : catalog.files())
            if (s->prefix == name.section(u':', 0, 0))
                schema = s;
        ASSERT_NE(schema, nullptr) << name.toStdString();
        const data::FieldDef *field = schema->field(name);
        ASSERT_NE(field, nullptr) << name.toStdString();
        EXPECT_EQ(field->type, data::FieldType::Text) << name.toStdString();
        EXPECT_EQ(field->width, w.width) << name.toStdString();
    }
    const data::FileSchema &eqh = EQHeader::fileSchema();
    EXPECT_EQ(eqh.field(u"DepreciationYears")->maximum, 65535);
    EXPECT_EQ(eqh.field(u"PurchaseValue")->places, 2);
    EXPECT_EQ(eqh.field(u"PurchaseDate")->type, data::FieldType::Date);
}

TEST(Records, TheAliasIsASecondViewOfTheEquipmentFile)
{
    const data::FileSchema &alias = EQHeaderAlias::fileSchema();
    EXPECT_EQ(alias.table, u"EQHeader");
    EXPECT_EQ(alias.prefix, u"EQH1");
    EXPECT_EQ(alias.fields.size(), EQHeader::fileSchema().fields.size());
    EXPECT_NO_THROW(alias.key(u"EQH1:KeyEquipmentID"));
}

class CompanyFiles : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
};

TEST_P(CompanyFiles, EquipmentIDsAreUniqueAndTheAliasSeesTheSameRows)
{
    EQHeader truck;
    truck.EquipmentID = u"T-1"_s;
    truck.Description = u"Truck"_s;
    ASSERT_TRUE(company.file<EQHeader>().insert(truck).isOk());
    EQHeader again = truck;
    again.RecordID = 0;
    EXPECT_EQ(company.file<EQHeader>().insert(again).error().code,
              data::FileErrorCode::DuplicateKey);

    EQHeaderAlias alias;
    alias.EquipmentID = u"T-1"_s;
    ASSERT_TRUE(company.file<EQHeaderAlias>().fetch(u"KeyEquipmentID", alias).isOk());
    EXPECT_EQ(alias.Description, u"Truck");

    EQCost cost;
    cost.RecordID = u"T-1       FUEL"_s;
    cost.EquipmentID = u"T-1"_s;
    cost.CostCategory = u"FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    EXPECT_EQ(cost.PrimaryRecordID, 1);
}

// Companies laid out when a log kept its batch number signed had batches
// 32768 to 65535 stored as their negative twins: the upgrade gives them back.
TEST_P(CompanyFiles, AnOlderCompanysLogsGetTheirBatchesBack)
{
    company.database().exec(uR"(INSERT INTO "EQLogB" ("LogID", "BatchID") VALUES (1, -1))"_s);
    company.database().exec(uR"(INSERT INTO "EQLogB" ("LogID", "BatchID") VALUES (2, -32768))"_s);
    company.database().exec(uR"(INSERT INTO "EQLogB" ("LogID", "BatchID") VALUES (3, 5))"_s);
    // A negative batch number is never read as some other number.
    EQLogB unread;
    unread.LogID = 1;
    EXPECT_THROW(static_cast<void>(company.file<EQLogB>().fetch(u"KeyLogID", unread)),
                 data::DataError);
    company.database().exec(uR"(UPDATE "qaveq_schema" SET "version" = 'older')"_s);

    data::Company upgraded(database.settings(), companyCatalog());
    const auto batchOf = [&upgraded](qint32 logId) {
        EQLogB log;
        log.LogID = logId;
        EXPECT_TRUE(upgraded.file<EQLogB>().fetch(u"KeyLogID", log).isOk());
        return log.BatchID;
    };
    EXPECT_EQ(batchOf(1), 65535);
    EXPECT_EQ(batchOf(2), 32768);
    EXPECT_EQ(batchOf(3), 5);
    // Opening again changes nothing more.
    data::Company again(database.settings(), companyCatalog());
    EQLogB log;
    log.LogID = 1;
    ASSERT_TRUE(again.file<EQLogB>().fetch(u"KeyLogID", log).isOk());
    EXPECT_EQ(log.BatchID, 65535);
}

INSTANTIATE_TEST_SUITE_P(Backends, CompanyFiles, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
