#include "Database.h"

#include "FileSchema.h"
#include "Record.h"
#include "SqlDialect.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return u"qaveq-%1"_s.arg(++counter);
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

} // namespace

Database::Database(const ConnectionSettings &settings)
    : m_settings(settings)
    , m_dialect(SqlDialect::of(settings.dialect))
    , m_connectionName(nextConnectionName())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect.driver(), m_connectionName);
    if (!db.isValid())
        throw DataError(
            u"The database driver for %1 is not installed."_s.arg(m_dialect.name()).toStdString());
    m_dialect.prepare(db, settings, m_lockWait);
    if (!db.open())
        throw DataError(
            u"Cannot open the company database: %1"_s.arg(db.lastError().text()).toStdString());
    if (m_dialect.hasNativeStatements())
        m_sqlite = sqliteHandle(db);
    m_dialect.setUp(*this, settings, m_lockWait);
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
                db.exec(u"ROLLBACK"_s);
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
    return m_dialect.changeStamp(connection());
}

bool Database::canOpenAgain() const
{
    return m_dialect.canOpenAgain(m_settings);
}

bool Database::canCopyToFile() const
{
    return !m_dialect.copyStatement().isEmpty();
}

FileStatus Database::copyTo(const QString &file)
{
    QSqlQuery query(connection());
    query.prepare(m_dialect.copyStatement());
    query.addBindValue(file);
    if (!query.exec())
        return fail(query.lastError(), {});
    return {};
}

sqlite3_stmt *Database::preparedSqlite(const QString &key, const std::function<QString()> &sql,
                                       const QString &file)
{
    if (!m_dialect.hasNativeStatements())
        return nullptr;
    auto found = m_sqliteStatements.find(key);
    if (found == m_sqliteStatements.end()) {
        if (!m_sqlite) {
            fail(FileError::driver(u"The SQLite connection is not open"_s, u"0"_s, file));
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
    const QString code = m_sqlite ? QString::number(sqlite3_extended_errcode(m_sqlite)) : u"0"_s;
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
    escaped.replace(u'"', u"\"\""_s);
    return u'"' + escaped + u'"';
}

void Database::exec(const QString &sql)
{
    QSqlQuery query(connection());
    if (!query.exec(sql))
        throw DataError(u"%1: %2"_s.arg(sql, query.lastError().text()).toStdString());
}

QString Database::columnDefault(const FieldDef &field) const
{
    return field.type == FieldType::Text ? u"''"_s : u"0"_s;
}

QStringList Database::existingColumns(const QString &table) const
{
    return m_dialect.columnsOf(connection(), table);
}

void Database::ensureTable(const FileSchema &schema)
{
    const QString table = quote(schema.table);
    const QStringList existing = existingColumns(schema.table);
    if (existing.isEmpty()) {
        QStringList columns{m_dialect.rowNumberColumn()};
        for (const FieldDef &field : schema.fields)
            columns.append(u"%1 %2 NOT NULL DEFAULT %3"_s.arg(
                quote(field.name), m_dialect.columnType(field), columnDefault(field)));
        exec(u"CREATE TABLE %1 (%2)"_s.arg(table, columns.join(u", "_s)));
    } else {
        for (const FieldDef &field : schema.fields) {
            if (existing.contains(field.name, Qt::CaseInsensitive))
                continue;
            exec(u"ALTER TABLE %1 ADD COLUMN %2 %3 NOT NULL DEFAULT %4"_s.arg(
                table, quote(field.name), m_dialect.columnType(field), columnDefault(field)));
        }
    }
    for (const KeyDef &key : schema.keys) {
        QStringList columns;
        for (const QString &f : key.fields)
            columns.append(quote(schema.fields[schema.fieldIndex(f)].name));
        if (!key.unique)
            columns.append(u"qrow"_s);
        exec(u"CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)"_s.arg(
            key.unique ? u"UNIQUE "_s : QString(), quote(schema.table + u'_' + key.name), table,
            columns.join(u", "_s)));
    }
}

namespace {

const QString VersionTable = u"qaveq_schema"_s;

} // namespace

QStringList Database::stationsHolding(const QStringList &tables) const
{
    return m_dialect.stationsHolding(connection(), tables);
}

QString Database::schemaVersion() const
{
    if (existingColumns(VersionTable).isEmpty())
        return {};
    QSqlQuery query(connection());
    if (!query.exec(u"SELECT version FROM %1"_s.arg(quote(VersionTable))) || !query.next())
        return {};
    return query.value(0).toString();
}

void Database::setSchemaVersion(const QString &version)
{
    exec(u"CREATE TABLE IF NOT EXISTS %1 (version TEXT NOT NULL)"_s.arg(quote(VersionTable)));
    exec(u"DELETE FROM %1"_s.arg(quote(VersionTable)));
    QSqlQuery query(connection());
    query.prepare(u"INSERT INTO %1 (version) VALUES (?)"_s.arg(quote(VersionTable)));
    query.addBindValue(version);
    if (!query.exec())
        throw DataError(
            u"Cannot record the schema version: %1"_s.arg(query.lastError().text()).toStdString());
}

QVariant Database::toSql(const FieldDef &field, const FieldValue &value) const
{
    switch (field.type) {
    case FieldType::Text: {
        // A default-constructed text is null; stored texts are never NULL.
        const QString &text = std::get<QString>(value);
        return text.isNull() ? u""_s : text;
    }
    case FieldType::Decimal:
        return m_dialect.decimalToSql(std::get<Decimal>(value), field.places);
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
        return m_dialect.decimalFromSql(value, field.places);
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
    QStringList columns{u"qrow"_s};
    for (const FieldDef &field : schema.fields)
        columns.append(quote(field.name));
    return columns.join(u", "_s);
}

FileError Database::fail(const QSqlError &error, const QString &file)
{
    if (m_dialect.isUniqueViolation(error))
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
