#include "TestRecords.h"

#include "data/Company.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::data;
using qaveq::testing::makePart;
using qaveq::testing::Part;

namespace {

class DatabaseCapabilitiesTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    Company company{database.settings(), qaveq::testing::partsCatalog()};
};

TEST_P(DatabaseCapabilitiesTest, ACopyToAFileHoldsEveryRowOrIsNotOffered)
{
    Part part = makePart(u"COPIED"_s, u"G"_s, "12.25");
    ASSERT_TRUE(company.file<Part>().insert(part).isOk());
    if (!company.database().canCopyToFile()) {
        // A server's data is backed up on the server.
        EXPECT_EQ(database.settings().dialect, Dialect::PostgreSQL);
        return;
    }
    QTemporaryDir folder;
    const QString target = folder.filePath(u"copy.sqlite"_s);
    ASSERT_TRUE(company.database().copyTo(target).isOk());

    ConnectionSettings copySettings;
    copySettings.sqliteFile = target;
    Company copy(copySettings, qaveq::testing::partsCatalog());
    Part found;
    found.Code = u"COPIED"_s;
    ASSERT_TRUE(copy.file<Part>().fetch(u"KeyCode", found).isOk());
    EXPECT_EQ(found.Price, Decimal::fromText(u"12.25"));

    // An existing file is never overwritten: the failure is reported.
    const FileStatus again = company.database().copyTo(target);
    EXPECT_FALSE(again.isOk());
    EXPECT_FALSE(again.error().text().isEmpty());
}

TEST_P(DatabaseCapabilitiesTest, ADatabaseOnAFileOrServerOpensAgain)
{
    EXPECT_TRUE(company.database().canOpenAgain());
    Database second(database.settings());
    EXPECT_EQ(second.existingColumns(u"Part"_s), company.database().existingColumns(u"Part"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, DatabaseCapabilitiesTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

TEST(DatabaseCapabilities, APrivateInMemoryDatabaseCannotBeOpenedAgain)
{
    ConnectionSettings settings;
    settings.sqliteFile = u":memory:"_s;
    const Database memory(settings);
    EXPECT_FALSE(memory.canOpenAgain());
}

} // namespace
