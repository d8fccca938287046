#include "TestRecords.h"

#include "data/Company.h"
#include "data/Transaction.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QSysInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using namespace qaveq;
using namespace qaveq::data;
using qaveq::testing::makePart;
using qaveq::testing::Part;

namespace {

class TransactionTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    Company company{database.settings(), qaveq::testing::partsCatalog()};
    Table &parts = company.file<Part>();

    void add(const QString &code)
    {
        Part part = makePart(code, u"G"_s, "1");
        ASSERT_TRUE(parts.insert(part).isOk());
    }
};

TEST_P(TransactionTest, RollsBackUnlessCommitted)
{
    {
        Transaction transaction(company.database(), {u"Part"_s}, 5s);
        ASSERT_TRUE(transaction.isActive());
        add(u"GONE"_s);
    }
    EXPECT_EQ(parts.count(), 0);
    {
        Transaction transaction(company.database(), {u"Part"_s}, 5s);
        add(u"KEPT"_s);
        ASSERT_TRUE(transaction.commit().isOk());
    }
    EXPECT_EQ(parts.count(), 1);
}

TEST_P(TransactionTest, ARunInsideARunIsAPartOfIt)
{
    {
        Transaction outer(company.database(), {u"Part"_s}, 5s);
        ASSERT_TRUE(outer.isActive());
        add(u"OUTER"_s);
        {
            Transaction dropped(company.database(), {u"Part"_s}, 5s);
            ASSERT_TRUE(dropped.isActive()) << "an inner run never waits for its own station";
            add(u"DROPPED"_s);
        }
        EXPECT_EQ(parts.count(), 1) << "an inner run not committed takes back only its part";
        Transaction kept(company.database(), {u"Part"_s}, 5s);
        add(u"INNER"_s);
        ASSERT_TRUE(kept.commit().isOk());
        EXPECT_EQ(parts.count(), 2);
    }
    EXPECT_EQ(parts.count(), 0) << "the outer run not committed takes everything back";
    EXPECT_FALSE(company.database().inTransaction());

    Transaction outer(company.database(), {u"Part"_s}, 5s);
    {
        Transaction inner(company.database(), {u"Part"_s}, 5s);
        add(u"BOTH"_s);
        ASSERT_TRUE(inner.commit().isOk());
    }
    ASSERT_TRUE(outer.commit().isOk());
    EXPECT_EQ(parts.count(), 1);
}

TEST_P(TransactionTest, NotBegunInTimeWhileAnotherStationHoldsTheFile)
{
    Company station2(database.settings(), qaveq::testing::partsCatalog());
    Transaction held(station2.database(), {u"Part"_s}, 5s);
    ASSERT_TRUE(held.isActive());

    Transaction mine(company.database(), {u"Part"_s}, 300ms);
    EXPECT_FALSE(mine.isActive());
    EXPECT_EQ(mine.error().code, FileErrorCode::FileLocked);
    EXPECT_EQ(company.database().lastError().code, FileErrorCode::FileLocked);
    // The server names the station holding the file; SQLite cannot.
    const QString station = company.database().settings().dialect == Dialect::PostgreSQL
                                ? u" (qaveq@%1)"_s.arg(QSysInfo::machineHostName())
                                : QString();
    EXPECT_EQ(mine.notBegunText(), u"Another station%1 is using Part.|Nothing was changed; try "
                                   "again in a moment."_s.arg(station));

    held.rollback();
    Transaction later(company.database(), {u"Part"_s}, 300ms);
    EXPECT_TRUE(later.isActive());
}

TEST_P(TransactionTest, AWriteBlockedByAnotherStationFailsInsteadOfHanging)
{
    Company station2(database.settings(), qaveq::testing::partsCatalog());
    Transaction held(station2.database(), {u"Part"_s}, 5s);
    ASSERT_TRUE(held.isActive());
    Part part = makePart(u"LATE"_s, u"G"_s, "1");
    const FileStatus status = parts.insert(part);
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, FileErrorCode::FileSystemError);
    EXPECT_FALSE(status.error().driverMessage.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, TransactionTest, ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
