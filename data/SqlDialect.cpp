#include "SqlDialect.h"

#include "Database.h"
#include "FileSchema.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

QString quotedList(const QStringList &tables)
{
    QStringList quoted;
    for (const QString &table : tables)
        quoted.append(Database::quote(table));
    return quoted.join(u", "_s);
}

// The texts of one column of every row the query gives.
QStringList readColumn(QSqlQuery &query, int column)
{
    QStringList values;
    while (query.next())
        values.append(query.value(column).toString());
    return values;
}

// One file beside the company, locked whole for writing; decimals stored as
// scaled integers; read through its own statements where a run repeats.
class SqliteDialect final : public SqlDialect
{
public:
    QString driver() const override { return u"QSQLITE"_s; }
    QString name() const override { return u"SQLite"_s; }

    void prepare(QSqlDatabase &connection, const ConnectionSettings &settings,
                 std::chrono::milliseconds lockWait) const override
    {
        if (settings.readOnly) {
            // Without its write-ahead log beside it a database that may not be
            // written is read as it stands (its last writer closed it cleanly);
            // with one, SQLite reads through it.
            const bool withLog = QFileInfo::exists(settings.sqliteFile + u"-wal"_s);
            connection.setDatabaseName(
                withLog ? settings.sqliteFile
                        : u"file:%1?immutable=1"_s.arg(QString::fromUtf8(
                              QUrl::toPercentEncoding(settings.sqliteFile, "/"))));
            connection.setConnectOptions(
                u"QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1"_s.arg(
                    lockWait.count()));
        } else {
            connection.setDatabaseName(settings.sqliteFile);
            connection.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(lockWait.count()));
        }
    }

    void setUp(Database &db, const ConnectionSettings &settings,
               std::chrono::milliseconds) const override
    {
        // Setting the journal mode writes: a read-only company keeps its own.
        if (!settings.readOnly)
            db.exec(u"PRAGMA journal_mode=WAL"_s);
        db.exec(u"PRAGMA synchronous=NORMAL"_s);
        db.exec(u"PRAGMA cache_size=-%1"_s.arg(Database::SqliteCacheKilobytes));
        db.exec(u"PRAGMA mmap_size=%1"_s.arg(Database::SqliteMapBytes));
    }

    bool hasNativeStatements() const override { return true; }
    bool canOpenAgain(const ConnectionSettings &settings) const override
    {
        return settings.sqliteFile != u":memory:";
    }
    QString copyStatement() const override { return u"VACUUM INTO ?"_s; }

    QString rowNumberColumn() const override { return u"qrow INTEGER PRIMARY KEY"_s; }
    QString columnType(const FieldDef &field) const override
    {
        // Decimals are kept exact as integers scaled by 10^places.
        return field.type == FieldType::Text ? u"TEXT"_s : u"INTEGER"_s;
    }
    QStringList columnsOf(const QSqlDatabase &connection, const QString &table) const override
    {
        QSqlQuery query(connection);
        query.exec(u"PRAGMA table_info(%1)"_s.arg(Database::quote(table)));
        return readColumn(query, 1);
    }

    QVariant decimalToSql(const Decimal &value, int places) const override
    {
        return value.unitsAt(places);
    }
    Decimal decimalFromSql(const QVariant &value, int places) const override
    {
        return Decimal::fromUnits(value.toLongLong(), places);
    }
    QString containsCondition(const QString &column) const override
    {
        return u"instr(upper(%1), upper(?)) > 0"_s.arg(column);
    }
    bool isUniqueViolation(const QSqlError &error) const override
    {
        // SQLITE_CONSTRAINT_UNIQUE (2067), SQLITE_CONSTRAINT_PRIMARYKEY (1555),
        // or the plain SQLITE_CONSTRAINT (19) with its message.
        const QString code = error.nativeErrorCode();
        return code == u"2067" || code == u"1555" ||
               (code == u"19" && error.databaseText().contains(u"UNIQUE"));
    }

    bool beginWriting(QSqlQuery &query, const QStringList &, std::chrono::milliseconds timeout,
                      std::chrono::milliseconds lockWait) const override
    {
        // SQLite locks the whole database for writing: waiting up to the
        // time-out for BEGIN IMMEDIATE is waiting for those files.
        query.exec(u"PRAGMA busy_timeout = %1"_s.arg(timeout.count()));
        const bool begun = query.exec(u"BEGIN IMMEDIATE"_s);
        query.exec(u"PRAGMA busy_timeout = %1"_s.arg(lockWait.count()));
        return begun;
    }
    bool lockWithin(QSqlQuery &, const QStringList &) const override { return true; }
    QStringList stationsHolding(const QSqlDatabase &, const QStringList &) const override
    {
        return {};
    }
    std::optional<QString> changeStamp(const QSqlDatabase &connection) const override
    {
        // data_version moves when another connection commits to the file;
        // total_changes() counts the rows this connection has written.
        QSqlQuery query(connection);
        if (!query.exec(u"SELECT data_version, total_changes() FROM pragma_data_version"_s) ||
            !query.next())
            return std::nullopt;
        return query.value(0).toString() + u'/' + query.value(1).toString();
    }
};

// A server several stations share: tables locked one by one, decimals as
// NUMERIC, and the server names who holds a lock.
class PostgresDialect final : public SqlDialect
{
public:
    QString driver() const override { return u"QPSQL"_s; }
    QString name() const override { return u"PostgreSQL"_s; }

    void prepare(QSqlDatabase &connection, const ConnectionSettings &settings,
                 std::chrono::milliseconds) const override
    {
        connection.setHostName(settings.host);
        connection.setPort(settings.port);
        connection.setDatabaseName(settings.databaseName);
        connection.setUserName(settings.user);
        connection.setPassword(settings.password);
        // Named for the station, so another one waiting for a lock can say
        // who holds it.
        QString host = QSysInfo::machineHostName();
        host.remove(QRegularExpression(u"[^A-Za-z0-9.-]"_s));
        connection.setConnectOptions(
            u"connect_timeout=10;application_name=qaveq@%1"_s.arg(host.left(40)));
        connection.setNumericalPrecisionPolicy(QSql::HighPrecision);
    }

    void setUp(Database &db, const ConnectionSettings &settings,
               std::chrono::milliseconds lockWait) const override
    {
        // A write never waits for ever behind another station's lock.
        db.exec(u"SET lock_timeout = %1"_s.arg(lockWait.count()));
        // The server's notices ("already exists, skipping") are not for the user.
        db.exec(u"SET client_min_messages = warning"_s);
        if (settings.readOnly)
            db.exec(u"SET default_transaction_read_only = on"_s);
        if (!settings.schema.isEmpty()) {
            QSqlQuery found(db.connection());
            found.prepare(u"SELECT 1 FROM pg_namespace WHERE nspname = ?"_s);
            found.addBindValue(settings.schema);
            if (!found.exec() || !found.next())
                db.exec(u"CREATE SCHEMA IF NOT EXISTS %1"_s.arg(Database::quote(settings.schema)));
            db.exec(u"SET search_path TO %1"_s.arg(Database::quote(settings.schema)));
        }
    }

    bool hasNativeStatements() const override { return false; }
    bool canOpenAgain(const ConnectionSettings &) const override { return true; }
    QString copyStatement() const override { return {}; }

    QString rowNumberColumn() const override { return u"qrow BIGSERIAL PRIMARY KEY"_s; }
    QString columnType(const FieldDef &field) const override
    {
        switch (field.type) {
        case FieldType::Text:
            return u"TEXT COLLATE \"C\""_s;
        case FieldType::Decimal:
            return u"NUMERIC(%1,%2)"_s.arg(field.digits).arg(field.places);
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::Time:
            return u"BIGINT"_s;
        }
        return {};
    }
    QStringList columnsOf(const QSqlDatabase &connection, const QString &table) const override
    {
        QSqlQuery query(connection);
        query.prepare(u"SELECT column_name FROM information_schema.columns "
                      "WHERE table_schema = current_schema() AND table_name = ?"_s);
        query.addBindValue(table);
        query.exec();
        return readColumn(query, 0);
    }

    QVariant decimalToSql(const Decimal &value, int places) const override
    {
        return value.toString(places);
    }
    Decimal decimalFromSql(const QVariant &value, int) const override
    {
        return Decimal::fromText(value.toString());
    }
    QString containsCondition(const QString &column) const override
    {
        return u"strpos(upper(%1), upper(?)) > 0"_s.arg(column);
    }
    bool isUniqueViolation(const QSqlError &error) const override
    {
        return error.nativeErrorCode() == u"23505";
    }

    bool beginWriting(QSqlQuery &query, const QStringList &tables,
                      std::chrono::milliseconds timeout,
                      std::chrono::milliseconds lockWait) const override
    {
        const bool begun = query.exec(u"BEGIN"_s) &&
                           query.exec(u"SET LOCAL lock_timeout = %1"_s.arg(timeout.count())) &&
                           lockWithin(query, tables);
        if (!begun)
            query.exec(u"ROLLBACK"_s);
        else
            query.exec(u"SET LOCAL lock_timeout = %1"_s.arg(lockWait.count()));
        return begun;
    }
    bool lockWithin(QSqlQuery &query, const QStringList &tables) const override
    {
        return query.exec(u"LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE"_s.arg(quotedList(tables)));
    }
    QStringList stationsHolding(const QSqlDatabase &connection,
                                const QStringList &tables) const override
    {
        if (tables.isEmpty())
            return {};
        QSqlQuery query(connection);
        query.prepare(u"SELECT DISTINCT a.application_name FROM pg_locks l "
                      "JOIN pg_stat_activity a ON a.pid = l.pid "
                      "JOIN pg_class c ON c.oid = l.relation "
                      "WHERE l.granted AND l.pid <> pg_backend_pid() "
                      "AND c.relnamespace = current_schema()::regnamespace "
                      "AND c.relname IN (%1) ORDER BY 1"_s.arg(
                          QStringList(tables.size(), u"?"_s).join(u',')));
        for (const QString &table : tables)
            query.addBindValue(table);
        QStringList stations;
        if (query.exec())
            while (query.next())
                if (const QString name = query.value(0).toString(); !name.isEmpty())
                    stations.append(name);
        return stations;
    }
    std::optional<QString> changeStamp(const QSqlDatabase &) const override { return std::nullopt; }
};

} // namespace

const SqlDialect &SqlDialect::of(Dialect kind)
{
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    switch (kind) {
    case Dialect::SQLite:
        return sqlite;
    case Dialect::PostgreSQL:
        return postgres;
    }
    return sqlite;
}

} // namespace qaveq::data
