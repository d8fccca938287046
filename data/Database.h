#pragma once

#include "FieldValue.h"
#include "FileError.h"

#include <QSqlDatabase>
#include <QString>

#include <QSqlQuery>

#include <chrono>
#include <functional>
#include <optional>
#include <unordered_map>

class QSqlError;
struct sqlite3;
struct sqlite3_stmt;

namespace qaveq::data {

struct FieldDef;
class FileSchema;
class Record;
class SqlDialect;

// The kind of database a company lives in, as its settings name it.
enum class Dialect { SQLite, PostgreSQL };

struct ConnectionSettings
{
    Dialect dialect = Dialect::SQLite;
    QString sqliteFile; // ":memory:" for a private in-memory database
    QString host;
    int port = 5432;
    QString databaseName;
    QString user;
    QString password;
    QString schema; // PostgreSQL schema holding the company's tables; empty = the default
    // Opened for reading only: a folder or file the user may not write, or
    // a station set up to only look. Every transaction is then refused.
    bool readOnly = false;
};

// One connection to a company's database. Every value travels as a bound
// parameter; names of tables and columns come only from the declarations.
class Database
{
public:
    // How long a single write waits by default for another station's lock
    // before it fails.
    static constexpr std::chrono::milliseconds DefaultLockWait{2000};
    // SQLite's page cache and memory map, sized so that the indexes and rows
    // of a company of a million usage logs and ledger lines are read from
    // memory rather than through a system call per page.
    static constexpr int SqliteCacheKilobytes = 64 * 1024;
    static constexpr qint64 SqliteMapBytes = qint64(1) << 30;

    explicit Database(const ConnectionSettings &settings); // throws DataError
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // What the kind of database speaks and can do; for the data layer. The
    // rest of the program asks the capabilities below.
    const SqlDialect &dialect() const { return m_dialect; }
    const ConnectionSettings &settings() const { return m_settings; }
    QSqlDatabase connection() const;

    // Creates the file's table and indexes when missing, and adds columns that
    // an older company lacks; rows already stored are kept. Throws DataError.
    void ensureTable(const FileSchema &schema);
    QStringList existingColumns(const QString &table) const;
    // The version of the declarations the database was last laid out for;
    // empty when it never was (or by a program that did not record it).
    QString schemaVersion() const;
    void setSchemaVersion(const QString &version); // throws DataError

    static QString quote(const QString &identifier);
    QVariant toSql(const FieldDef &field, const FieldValue &value) const;
    FieldValue fromSql(const FieldDef &field, const QVariant &value) const;
    // Fills the record from one selected row: the stored row number, then the
    // fields `fields` (indexes into the schema) in that order.
    void readRow(const FileSchema &schema, const QList<int> &fields, const QVariant *row,
                 Record &record) const;
    // The same from values already decoded (fromSql(), fromSqlite()), which
    // the record takes over.
    static void readRow(const FileSchema &schema, const QList<int> &fields, FieldValue *row,
                        Record &record);
    // "qrow", then every field of the file, quoted, for a SELECT.
    static QString selectList(const FileSchema &schema);

    // Maps a failed statement to the file layer's error and remembers it as
    // the current error (the one the standard warnings report).
    FileError fail(const QSqlError &error, const QString &file);
    FileError fail(FileError error);
    const FileError &lastError() const { return m_lastError; }

    bool inTransaction() const { return m_transactionDepth > 0; }
    // The stations ("qaveq@host") holding locks on these tables, where the
    // server can tell (PostgreSQL); empty otherwise.
    QStringList stationsHolding(const QStringList &tables) const;
    bool isReadOnly() const { return m_settings.readOnly; }
    // A stamp that changes whenever rows of the database may have changed,
    // by this connection or by any other (another station's included); none
    // where the server cannot tell cheaply (PostgreSQL) or cannot be asked.
    std::optional<QString> changeStamp() const;
    // Another connection (a count in the background, a second station) can
    // open the same data; a private in-memory database cannot.
    bool canOpenAgain() const;
    // The database can write a consistent copy of itself to a file (a backup
    // before posting); a server's data is backed up on the server.
    bool canCopyToFile() const;
    FileStatus copyTo(const QString &file);

    // The statement kept under `key`, prepared from sql() on first use and
    // reused for the life of the connection; null (the error noted) when it
    // cannot be prepared. A statement is run, read to its end and finished
    // before anything else uses it.
    QSqlQuery *prepared(const QString &key, const std::function<QString()> &sql,
                        const QString &file);

    // The same for SQLite, bound and run through SQLite itself: for the
    // writes a run repeats many thousand times (an import of 100,000 logs),
    // where Qt's binding of each value costs more than the write. Null on
    // PostgreSQL, or (the error noted) when it cannot be prepared. The
    // statement is reset after each use; it is finalized with the connection.
    sqlite3_stmt *preparedSqlite(const QString &key, const std::function<QString()> &sql,
                                 const QString &file);
    // SQLite's own binding and reading of a field's value, stored as toSql()
    // stores it and read back as fromSql() reads it: texts as UTF-8 decoded
    // once, numbers and decimals as integers, never through text.
    static void bindSqlite(sqlite3_stmt *statement, int parameter, const FieldDef &field,
                           const FieldValue &value);
    static FieldValue fromSqlite(const FieldDef &field, sqlite3_stmt *statement, int column);
    // Fills the record from the current row of a SQLite statement laid out
    // as for readRow(): the stored row number, then the fields `fields`.
    static void readRow(const FileSchema &schema, const QList<int> &fields, sqlite3_stmt *statement,
                        Record &record);
    // Steps a statement of preparedSqlite(): true with a row in hand, false at
    // the end or on an error (then noted, and `error` set).
    bool stepSqlite(sqlite3_stmt *statement, const QString &file, std::optional<FileError> &error);
    // Notes the error of the last SQLite call on the connection as fail() does.
    FileError failSqlite(const QString &file);
    // The row number of the row SQLite inserted last on this connection.
    qint64 lastSqliteRow() const;

    std::chrono::milliseconds lockWait() const { return m_lockWait; }

    // Runs SQL of the program's own (never built from user text), as the
    // layout and its upgrades do.
    void exec(const QString &sql); // throws DataError

private:
    friend class Transaction;
    QString columnDefault(const FieldDef &field) const;

    ConnectionSettings m_settings;
    const SqlDialect &m_dialect;
    QString m_connectionName;
    FileError m_lastError;
    int m_transactionDepth = 0; // 1: a transaction; more: runs inside it
    std::chrono::milliseconds m_lockWait = DefaultLockWait;
    std::unordered_map<QString, QSqlQuery> m_statements;
    sqlite3 *m_sqlite = nullptr; // the open SQLite connection; null on PostgreSQL
    std::unordered_map<QString, sqlite3_stmt *> m_sqliteStatements;
};

} // namespace qaveq::data
