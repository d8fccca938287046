#include "TestDatabase.h"

#include <QDir>
#include <QSqlQuery>
#include <QUuid>

#include <stdexcept>

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
        m_settings.sqliteFile = QDir(m_folder.path()).filePath(QStringLiteral("test.sqlite"));
    } else if (backend == "PostgreSQL") {
        m_settings = postgresSettings();
        m_settings.schema = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128);
    } else {
        throw std::invalid_argument("unknown backend " + backend);
    }
}

TestDatabase::~TestDatabase()
{
    if (m_settings.dialect != data::Dialect::PostgreSQL)
        return;
    data::ConnectionSettings plain = m_settings;
    plain.schema.clear();
    data::Database db(plain);
    QSqlQuery(db.connection())
        .exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE")
                  .arg(data::Database::quote(m_settings.schema)));
}

} // namespace qaveq::testing
