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

#include <memory>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

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

// A value at the declared limit of a field: the widest text (with characters
// beyond ASCII, which take more than one byte), the largest decimal of its
// digits and places, the highest number, date or time; or at the other end
// the shortest text, the most negative decimal and the lowest number.
data::FieldValue limitOf(const data::FieldDef &field, bool high)
{
    switch (field.type) {
    case data::FieldType::Text: {
        if (!high)
            return u"x"_s;
        QString text;
        for (int i = 0; i < field.width; ++i)
            text.append(u"Aé€z"_s.at(i % 4));
        return text;
    }
    case data::FieldType::Decimal: {
        const QString nines = QString(field.digits - field.places, u'9') +
                              (field.places > 0 ? u'.' + QString(field.places, u'9') : QString());
        return *Decimal::parse(high ? nines : u'-' + nines);
    }
    case data::FieldType::Integer:
    case data::FieldType::Date:
    case data::FieldType::Time:
        return high ? field.maximum : field.minimum;
    }
    return {};
}

QString shown(const data::Record &record)
{
    QStringList values;
    for (const data::FieldDef &field : record.schema().fields) {
        const data::FieldValue value = record.value(field.name);
        QString text;
        if (const auto *number = std::get_if<qint64>(&value))
            text = QString::number(*number);
        else if (const auto *decimal = std::get_if<Decimal>(&value))
            text = decimal->toString(field.places);
        else
            text = std::get<QString>(value);
        values.append(field.name + u'=' + text);
    }
    return values.join(u' ');
}

// Every field of every file of the company holds the values at both ends of
// its declared width or range through the database and back: a stored column
// narrower than its declaration, a record member narrower than its range, or
// a decimal kept in floating point would change one of them.
TEST_P(CompanyFiles, EveryFieldHoldsItsLimitsThroughTheDatabase)
{
    for (const data::FileSchema *schema : company.catalog().files()) {
        if (schema->isAlias())
            continue;
        data::Table &table = company.file(schema->name);
        QStringList written;
        // The low record first: an auto-number after the highest one would have no room.
        for (const bool high : {false, true}) {
            const std::unique_ptr<data::Record> record = schema->create();
            for (int i = 0; i < schema->fields.size(); ++i)
                if (i != schema->autoNumberField || high)
                    record->setValue(schema->fields[i].name, limitOf(schema->fields[i], high));
            const data::FileStatus inserted = table.insert(*record);
            ASSERT_TRUE(inserted.isOk())
                << schema->name.toStdString() << ": " << inserted.error().text().toStdString();
            written.append(shown(*record));
        }
        QStringList read;
        data::KeyCursor cursor = table.scan(schema->keys.value(0).name);
        for (auto record = schema->create(); cursor.next(*record);)
            read.append(shown(*record));
        EXPECT_FALSE(cursor.error().has_value()) << schema->name.toStdString();
        written.sort();
        read.sort();
        EXPECT_EQ(read, written) << schema->name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, CompanyFiles, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
