#include "Database.h"

#include "FileSchema.h"
#include "Record.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QUrl>

#include <sqlite3.h>

#include <atomic>

namespace qaveq::data {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("qaveq-%1").arg(++counter);
}

// The connection Qt's SQLite driver holds: the system's SQLite library, the
// one this layer links.
sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

bool isUniqueViolation(const QSqlError &error, Dialect dialect)
{
    if (dialect == Dialect::PostgreSQL)
        return error.nativeErrorCode() == u"23505";
    // SQLITE_CONSTRAINT_UNIQUE (2067), SQLITE_CONSTRAINT_PRIMARYKEY (1555), or the
    // plain SQLITE_CONSTRAINT (19) with its message.
    const QString code = error.nativeErrorCode();
    return code == u"2067" || code == u"1555" ||
           (code == u"19" && error.databaseText().contains(u"UNIQUE"));
}

} // namespace

Database::Database(const ConnectionSettings &settings)
    : m_settings(settings)
    , m_connectionName(nextConnectionName())
{
    const bool sqlite = settings.dialect == Dialect::SQLite;
    QSqlDatabase db = QSqlDatabase::addDatabase(
        sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), m_connectionName);
    if (!db.isValid())
        throw DataError(QStringLiteral("The database driver for %1 is not installed.")
                            .arg(sqlite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL"))
                            .toStdString());
    if (sqlite && settings.readOnly) {
        // Without its write-ahead log beside it a database that may not be
        // written is read as it stands (its last writer closed it cleanly);
        // with one, SQLite reads through it.
        const bool withLog = QFileInfo::exists(settings.sqliteFile + QStringLiteral("-wal"));
        db.setDatabaseName(withLog ? settings.sqliteFile
                                   : QStringLiteral("file:%1?immutable=1")
                                         .arg(QString::fromUtf8(
                                             QUrl::toPercentEncoding(settings.sqliteFile, "/"))));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;"
                                            "QSQLITE_BUSY_TIMEOUT=%1")
                                 .arg(m_lockWait.count()));
    } else if (sqlite) {
        db.setDatabaseName(settings.sqliteFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_lockWait.count()));
    } else {
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setDatabaseName(settings.databaseName);
        db.setUserName(settings.user);
        db.setPassword(settings.password);
        // Named for the station, so another one waiting for a lock can say
        // who holds it.
        QString host = QSysInfo::machineHostName();
        host.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]")));
        db.setConnectOptions(
            QStringLiteral("connect_timeout=10;application_name=qaveq@%1").arg(host.left(40)));
        db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    }
    if (!db.open())
        throw DataError(QStringLiteral("Cannot open the company database: %1")
                            .arg(db.lastError().text())
                            .toStdString());
    if (sqlite) {
        m_sqlite = sqliteHandle(db);
        // Setting the journal mode writes: a read-only company keeps its own.
        if (!settings.readOnly)
            exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        exec(QStringLiteral("PRAGMA cache_size=-%1").arg(SqliteCacheKilobytes));
        exec(QStringLiteral("PRAGMA mmap_size=%1").arg(SqliteMapBytes));
    } else {
        // A write never waits for ever behind another station's lock.
        exec(QStringLiteral("SET lock_timeout = %1").arg(m_lockWait.count()));
        // The server's notices ("already exists, skipping") are not for the user.
        exec(QStringLiteral("SET client_min_messages = warning"));
        if (settings.readOnly)
            exec(QStringLiteral("SET default_transaction_read_only = on"));
        if (!settings.schema.isEmpty()) {
            QSqlQuery found(connection());
            found.prepare(QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname = ?"));
            found.addBindValue(settings.schema);
            if (!found.exec() || !found.next())
                exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(quote(settings.schema)));
            exec(QStringLiteral("SET search_path TO %1").arg(quote(settings.schema)));
        }
    }
}

Database::~Database()
{
    for (const auto &[key, statement] : m_sqliteStatements)
        sqlite3_finalize(statement);
    m_statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (inTransaction())
                db.exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlQuery *Database::prepared(const QString &key, const std::function<QString()> &sql,
                              const QString &file)
{
    auto found = m_statements.find(key);
    if (found == m_statements.end()) {
        QSqlQuery query(connection());
        query.setForwardOnly(true);
        if (!query.prepare(sql())) {
            fail(query.lastError(), file);
            return nullptr;
        }
        found = m_statements.emplace(key, std::move(query)).first;
    }
    return &found->second;
}

std::optional<QString> Database::changeStamp() const
{
    if (dialect() != Dialect::SQLite)
        return std::nullopt;
    // data_version moves when another connection commits to the file;
    // total_changes() counts the rows this connection has written.
    QSqlQuery query(connection());
    if (!query.exec(
            QStringLiteral("SELECT data_version, total_changes() FROM pragma_data_version")) ||
        !query.next())
        return std::nullopt;
    return query.value(0).toString() + u'/' + query.value(1).toString();
}

sqlite3_stmt *Database::preparedSqlite(const QString &key, const std::function<QString()> &sql,
                                       const QString &file)
{
    if (dialect() != Dialect::SQLite)
        return nullptr;
    auto found = m_sqliteStatements.find(key);
    if (found == m_sqliteStatements.end()) {
        if (!m_sqlite) {
            fail(FileError::driver(QStringLiteral("The SQLite connection is not open"),
                                   QStringLiteral("0"), file));
            return nullptr;
        }
        const QByteArray text = sql().toUtf8();
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v3(m_sqlite, text.constData(), int(text.size()),
                               SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
            failSqlite(file);
            sqlite3_finalize(statement);
            return nullptr;
        }
        found = m_sqliteStatements.emplace(key, statement).first;
    }
    return found->second;
}

void Database::bindSqlite(sqlite3_stmt *statement, int parameter, const FieldDef &field,
                          const FieldValue &value)
{
    switch (field.type) {
    case FieldType::Text: {
        // Bound as UTF-8, the form the file keeps: Qt's conversion is far
        // quicker than SQLite's own from UTF-16 at every step.
        const QByteArray utf8 = std::get<QString>(value).toUtf8();
        sqlite3_bind_text(statement, parameter, utf8.isNull() ? "" : utf8.constData(),
                          int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    case FieldType::Decimal:
        sqlite3_bind_int64(statement, parameter, std::get<Decimal>(value).unitsAt(field.places));
        break;
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::Time:
        sqlite3_bind_int64(statement, parameter, std::get<qint64>(value));
        break;
    }
}

FieldValue Database::fromSqlite(const FieldDef &field, sqlite3_stmt *statement, int column)
{
    switch (field.type) {
    case FieldType::Text: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
    }
    case FieldType::Decimal:
        return Decimal::fromUnits(sqlite3_column_int64(statement, column), field.places);
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::Time:
        return qint64(sqlite3_column_int64(statement, column));
    }
    return {};
}

void Database::readRow(const FileSchema &schema, const QList<int> &fields, sqlite3_stmt *statement,
                       Record &record)
{
    record.m_rowId = sqlite3_column_int64(statement, 0);
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef &field = schema.fields[fields[i]];
        field.set(record, fromSqlite(field, statement, i + 1));
    }
}

bool Database::stepSqlite(sqlite3_stmt *statement, const QString &file,
                          std::optional<FileError> &error)
{
    switch (sqlite3_step(statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        error = failSqlite(file);
        return false;
    }
}

FileError Database::failSqlite(const QString &file)
{
    const QString text = m_sqlite ? QString::fromUtf8(sqlite3_errmsg(m_sqlite)) : QString();
    const QString code =
        m_sqlite ? QString::number(sqlite3_extended_errcode(m_sqlite)) : QStringLiteral("0");
    return fail(QSqlError(text, text, QSqlError::StatementError, code), file);
}

qint64 Database::lastSqliteRow() const
{
    return m_sqlite ? sqlite3_last_insert_rowid(m_sqlite) : 0;
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString Database::quote(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

void Database::exec(const QString &sql)
{
    QSqlQuery query(connection());
    if (!query.exec(sql))
        throw DataError(QStringLiteral("%1: %2").arg(sql, query.lastError().text()).toStdString());
}

QString Database::columnType(const FieldDef &field) const
{
    const bool sqlite = dialect() == Dialect::SQLite;
    switch (field.type) {
    case FieldType::Text:
        return sqlite ? QStringLiteral("TEXT") : QStringLiteral("TEXT COLLATE \"C\"");
    case FieldType::Decimal:
        // SQLite keeps decimals exact as integers scaled by 10^places.
        return sqlite ? QStringLiteral("INTEGER")
                      : QStringLiteral("NUMERIC(%1,%2)").arg(field.digits).arg(field.places);
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::Time:
        return sqlite ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT");
    }
    return {};
}

QString Database::columnDefault(const FieldDef &field) const
{
    return field.type == FieldType::Text ? QStringLiteral("''") : QStringLiteral("0");
}

QStringList Database::existingColumns(const QString &table) const
{
    QSqlQuery query(connection());
    if (dialect() == Dialect::SQLite) {
        query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quote(table)));
        QStringList columns;
        while (query.next())
            columns.append(query.value(1).toString());
        return columns;
    }
    query.prepare(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                 "WHERE table_schema = current_schema() AND table_name = ?"));
    query.addBindValue(table);
    query.exec();
    QStringList columns;
    while (query.next())
        columns.append(query.value(0).toString());
    return columns;
}

void Database::ensureTable(const FileSchema &schema)
{
    const QString table = quote(schema.table);
    const QStringList existing = existingColumns(schema.table);
    if (existing.isEmpty()) {
        QStringList columns{dialect() == Dialect::SQLite
                                ? QStringLiteral("qrow INTEGER PRIMARY KEY")
                                : QStringLiteral("qrow BIGSERIAL PRIMARY KEY")};
        for (const FieldDef &field : schema.fields)
            columns.append(QStringLiteral("%1 %2 NOT NULL DEFAULT %3")
                               .arg(quote(field.name), columnType(field), columnDefault(field)));
        exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(QStringLiteral(", "))));
    } else {
        for (const FieldDef &field : schema.fields) {
            if (existing.contains(field.name, Qt::CaseInsensitive))
                continue;
            exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3 NOT NULL DEFAULT %4")
                     .arg(table, quote(field.name), columnType(field), columnDefault(field)));
        }
    }
    for (const KeyDef &key : schema.keys) {
        QStringList columns;
        for (const QString &f : key.fields)
            columns.append(quote(schema.fields[schema.fieldIndex(f)].name));
        if (!key.unique)
            columns.append(QStringLiteral("qrow"));
        exec(QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                 .arg(key.unique ? QStringLiteral("UNIQUE ") : QString(),
                      quote(schema.table + u'_' + key.name), table,
                      columns.join(QStringLiteral(", "))));
    }
}

namespace {

const QString VersionTable = QStringLiteral("qaveq_schema");

} // namespace

QStringList Database::stationsHolding(const QStringList &tables) const
{
    if (dialect() != Dialect::PostgreSQL || tables.isEmpty())
        return {};
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("SELECT DISTINCT a.application_name FROM pg_locks l "
                                 "JOIN pg_stat_activity a ON a.pid = l.pid "
                                 "JOIN pg_class c ON c.oid = l.relation "
                                 "WHERE l.granted AND l.pid <> pg_backend_pid() "
                                 "AND c.relnamespace = current_schema()::regnamespace "
                                 "AND c.relname IN (%1) ORDER BY 1")
                      .arg(QStringList(tables.size(), QStringLiteral("?")).join(u',')));
    for (const QString &table : tables)
        query.addBindValue(table);
    QStringList stations;
    if (query.exec())
        while (query.next())
            if (const QString name = query.value(0).toString(); !name.isEmpty())
                stations.append(name);
    return stations;
}

QString Database::schemaVersion() const
{
    if (existingColumns(VersionTable).isEmpty())
        return {};
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("SELECT version FROM %1").arg(quote(VersionTable))) ||
        !query.next())
        return {};
    return query.value(0).toString();
}

void Database::setSchemaVersion(const QString &version)
{
    exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (version TEXT NOT NULL)")
             .arg(quote(VersionTable)));
    exec(QStringLiteral("DELETE FROM %1").arg(quote(VersionTable)));
    QSqlQuery query(connection());
    query.prepare(QStringLiteral("INSERT INTO %1 (version) VALUES (?)").arg(quote(VersionTable)));
    query.addBindValue(version);
    if (!query.exec())
        throw DataError(QStringLiteral("Cannot record the schema version: %1")
                            .arg(query.lastError().text())
                            .toStdString());
}

QVariant Database::toSql(const FieldDef &field, const FieldValue &value) const
{
    switch (field.type) {
    case FieldType::Text: {
        // A default-constructed text is null; stored texts are never NULL.
        const QString &text = std::get<QString>(value);
        return text.isNull() ? QStringLiteral("") : text;
    }
    case FieldType::Decimal: {
        const Decimal &d = std::get<Decimal>(value);
        if (dialect() == Dialect::SQLite)
            return d.unitsAt(field.places);
        return d.toString(field.places);
    }
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::Time:
        return std::get<qint64>(value);
    }
    return {};
}

FieldValue Database::fromSql(const FieldDef &field, const QVariant &value) const
{
    switch (field.type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Decimal:
        if (dialect() == Dialect::SQLite)
            return Decimal::fromUnits(value.toLongLong(), field.places);
        return Decimal::fromText(value.toString());
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::Time:
        return value.toLongLong();
    }
    return {};
}

void Database::readRow(const FileSchema &schema, const QList<int> &fields, const QVariant *row,
                       Record &record) const
{
    record.m_rowId = row[0].toLongLong();
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef &field = schema.fields[fields[i]];
        field.set(record, fromSql(field, row[i + 1]));
    }
}

void Database::readRow(const FileSchema &schema, const QList<int> &fields, FieldValue *row,
                       Record &record)
{
    record.m_rowId = std::get<qint64>(row[0]);
    for (int i = 0; i < fields.size(); ++i)
        schema.fields[fields[i]].set(record, std::move(row[i + 1]));
}

QString Database::selectList(const FileSchema &schema)
{
    QStringList columns{QStringLiteral("qrow")};
    for (const FieldDef &field : schema.fields)
        columns.append(quote(field.name));
    return columns.join(QStringLiteral(", "));
}

FileError Database::fail(const QSqlError &error, const QString &file)
{
    if (isUniqueViolation(error, dialect()))
        return fail(FileError::make(FileErrorCode::DuplicateKey, file));
    return fail(
        FileError::driver(error.databaseText().isEmpty() ? error.text() : error.databaseText(),
                          error.nativeErrorCode(), file));
}

FileError Database::fail(FileError error)
{
    m_lastError = error;
    return error;
}

} // namespace qaveq::data
