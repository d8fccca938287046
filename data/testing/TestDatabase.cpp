#include "TestDatabase.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::testing {

namespace {

data::ConnectionSettings postgresSettings()
{
    data::ConnectionSettings settings;
    settings.dialect = data::Dialect::PostgreSQL;
    const QStringList parts = qEnvironmentVariable("QAVEQ_TEST_PG").split(u' ', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString key = part.section(u'=', 0, 0);
        const QString value = part.section(u'=', 1);
        if (key == u"host")
            settings.host = value;
        else if (key == u"port")
            settings.port = value.toInt();
        else if (key == u"dbname")
            settings.databaseName = value;
        else if (key == u"user")
            settings.user = value;
        else if (key == u"password")
            settings.password = value;
    }
    return settings;
}

} // namespace

std::vector<std::string> backends()
{
    std::vector<std::string> kinds{"SQLite"};
    if (!qEnvironmentVariableIsEmpty("QAVEQ_TEST_PG"))
        kinds.emplace_back("PostgreSQL");
    return kinds;
}

TestDatabase::TestDatabase(const std::string &backend)
{
    if (backend == "SQLite") {
        m_settings.dialect = data::Dialect::SQLite;
        m_settings.sqliteFile = QDir(m_folder.path()).filePath(u"test.sqlite"_s);
    } else if (backend == "PostgreSQL") {
        m_settings = postgresSettings();
        m_settings.schema = u"t_"_s + QUuid::createUuid().toString(QUuid::Id128);
    } else {
        throw std::invalid_argument("unknown backend " + backend);
    }
}

void TestDatabase::failInserts(data::Database &db, const QString &table,
                               const QString &condition) const
{
    failWrites(db, table, condition, u"INSERT"_s);
}

void TestDatabase::failUpdates(data::Database &db, const QString &table,
                               const QString &condition) const
{
    failWrites(db, table, condition, u"UPDATE"_s);
}

void TestDatabase::failWrites(data::Database &db, const QString &table, const QString &condition,
                              const QString &statement) const
{
    QSqlQuery query(db.connection());
    const QString quoted = data::Database::quote(table);
    const QString name = u"qaveq_full_disk_"_s + statement.toLower();
    // Columns of the condition name the new row's values.
    const QString onNew =
        QString(condition).replace(QRegularExpression(u"(\"\\w+\")"_s), u"NEW.\\1"_s);
    bool done = false;
    if (m_settings.dialect == data::Dialect::SQLite) {
        done = query.exec(u"CREATE TRIGGER %1 BEFORE %2 ON %3 "
                          "WHEN %4 BEGIN SELECT RAISE(ABORT, "
                          "'database or disk is full'); END"_s.arg(name, statement, quoted, onNew));
    } else {
        done = query.exec(u"CREATE FUNCTION %1() RETURNS trigger AS "
                          "$$ BEGIN RAISE EXCEPTION 'could not extend file: No "
                          "space left on device'; END $$ LANGUAGE plpgsql"_s.arg(name)) &&
               query.exec(u"CREATE TRIGGER %1 BEFORE %2 ON %3 "
                          "FOR EACH ROW WHEN (%4) EXECUTE FUNCTION "
                          "%1()"_s.arg(name, statement, quoted, onNew));
    }
    if (!done)
        throw std::runtime_error("cannot simulate a full disk: " +
                                 query.lastError().text().toStdString());
}

TestDatabase::~TestDatabase()
{
    if (m_settings.dialect != data::Dialect::PostgreSQL)
        return;
    data::ConnectionSettings plain = m_settings;
    plain.schema.clear();
    data::Database db(plain);
    QSqlQuery(db.connection())
        .exec(u"DROP SCHEMA IF EXISTS %1 CASCADE"_s.arg(data::Database::quote(m_settings.schema)));
}

} // namespace qaveq::testing
