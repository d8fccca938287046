#pragma once

#include "data/Database.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace qaveq::testing {

// The database kinds the data tests run on: SQLite always, PostgreSQL too when
// QAVEQ_TEST_PG holds a connection ("host=... port=... dbname=... user=...
// password=...").
std::vector<std::string> backends();

// A private, empty database of the given kind for one test: a file in a
// temporary folder, or a schema of its own on the PostgreSQL server, dropped
// afterwards. Several connections to it can be opened (a second station).
class TestDatabase
{
public:
    explicit TestDatabase(const std::string &backend);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    const data::ConnectionSettings &settings() const { return m_settings; }

    // From now on an insert into `table` whose row meets `condition` (SQL on
    // the new row's columns, such as `"Date" = 81234`) fails as a full disk
    // would: the write error of a real fault, through the real path.
    void failInserts(data::Database &db, const QString &table, const QString &condition) const;
    // The same for updates whose new row meets `condition`.
    void failUpdates(data::Database &db, const QString &table, const QString &condition) const;

private:
    void failWrites(data::Database &db, const QString &table, const QString &condition,
                    const QString &statement) const;

    QTemporaryDir m_folder;
    data::ConnectionSettings m_settings;
};

} // namespace qaveq::testing
