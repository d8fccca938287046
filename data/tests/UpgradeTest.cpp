#include "TestRecords.h"

#include "data/Company.h"
#include "data/Transaction.h"
#include "data/testing/TestDatabase.h"

#include <QSqlQuery>

#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::data;
using qaveq::testing::Part;

namespace {

class UpgradeTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
};

TEST_P(UpgradeTest, OpeningAnOlderCompanyAddsWhatIsMissingAndKeepsEveryRow)
{
    {
        // The layout of an older version: no Price, no Flag, no indexes.
        Database old(database.settings());
        QSqlQuery query(old.connection());
        const bool sqlite = old.settings().dialect == Dialect::SQLite;
        ASSERT_TRUE(
            query.exec(uR"(CREATE TABLE "Part" (qrow %1, "RecordID" INTEGER NOT NULL DEFAULT 0,
                                   "Code" TEXT NOT NULL DEFAULT '', "Group" TEXT NOT NULL DEFAULT '',
                                   "Added" INTEGER NOT NULL DEFAULT 0))"_s.arg(
                sqlite ? u"INTEGER PRIMARY KEY"_s : u"BIGSERIAL PRIMARY KEY"_s)));
        ASSERT_TRUE(query.exec(uR"(INSERT INTO "Part" ("RecordID", "Code", "Group", "Added")
                                   VALUES (7, 'OLD-1', 'G', 1000))"_s));
    }

    Company company(database.settings(), qaveq::testing::partsCatalog());
    Table &parts = company.file<Part>();
    EXPECT_EQ(parts.count(), 1);
    Part part;
    part.Code = u"OLD-1"_s;
    ASSERT_TRUE(parts.fetch(u"KeyCode", part).isOk());
    EXPECT_EQ(part.RecordID, 7);
    EXPECT_EQ(part.Added, 1000);
    EXPECT_TRUE(part.Price.isZero());

    // The unique key of the new layout holds.
    Part duplicate;
    duplicate.Code = u"OLD-1"_s;
    EXPECT_EQ(parts.insert(duplicate).error().code, FileErrorCode::DuplicateKey);
    // Opening again changes nothing.
    Company again(database.settings(), qaveq::testing::partsCatalog());
    EXPECT_EQ(again.file<Part>().count(), 1);
}

TEST_P(UpgradeTest, AnOrdinaryOpenTakesNoSchemaLocks)
{
    Company first(database.settings(), qaveq::testing::partsCatalog());
    // Another station works on the file, holding it against schema changes.
    Transaction held(first.database(), {u"Part"_s}, std::chrono::seconds(5));
    ASSERT_TRUE(held.isActive());
    EXPECT_NO_THROW(Company(database.settings(), qaveq::testing::partsCatalog()));

    // A dropped index shows that nothing was laid out again.
    held.rollback();
    QSqlQuery(first.database().connection()).exec(uR"(DROP INDEX "Part_KeyGroup")"_s);
    Company again(database.settings(), qaveq::testing::partsCatalog());
    QSqlQuery indexes(again.database().connection());
    indexes.exec(again.database().settings().dialect == Dialect::SQLite
                     ? u"SELECT name FROM sqlite_master WHERE type = 'index'"_s
                     : u"SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()"_s);
    QStringList names;
    while (indexes.next())
        names.append(indexes.value(0).toString());
    EXPECT_FALSE(names.contains(u"Part_KeyGroup"_s));
    EXPECT_TRUE(names.contains(u"Part_KeyCode"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, UpgradeTest, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
