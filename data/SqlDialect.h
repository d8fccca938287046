#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;
class QVariant;

namespace qaveq {
class Decimal;
}

namespace qaveq::data {

class Database;
enum class Dialect;
struct ConnectionSettings;
struct FieldDef;

// What the kinds of database a company may live in differ in: how a
// connection is opened, the SQL each speaks for the layout and the filters,
// how a decimal is stored, how a write waits for another station, and what
// the database can tell about itself. The data layer asks it; everything
// above asks the Database for a capability instead.
class SqlDialect
{
public:
    // The one dialect of each kind; they hold no state.
    static const SqlDialect &of(Dialect kind);

    virtual ~SqlDialect() = default;

    // Qt's driver, and the name used in messages ("SQLite").
    virtual QString driver() const = 0;
    virtual QString name() const = 0;
    // Points the connection at the company's data before it is opened; a
    // single statement waits `lockWait` for another station's lock.
    virtual void prepare(QSqlDatabase &connection, const ConnectionSettings &settings,
                         std::chrono::milliseconds lockWait) const = 0;
    // Sets the open connection up for the program's work. Throws DataError.
    virtual void setUp(Database &db, const ConnectionSettings &settings,
                       std::chrono::milliseconds lockWait) const = 0;

    // SQLite's own statements (Database::preparedSqlite()) serve this kind;
    // otherwise every statement goes through Qt.
    virtual bool hasNativeStatements() const = 0;
    // Another connection (a second station, a count in the background) can
    // open the same data; a private in-memory database cannot.
    virtual bool canOpenAgain(const ConnectionSettings &settings) const = 0;
    // The statement writing a consistent copy of the whole database to the
    // file bound to it; empty where the server keeps its own backups.
    virtual QString copyStatement() const = 0;

    // The stored row number's column, for CREATE TABLE.
    virtual QString rowNumberColumn() const = 0;
    virtual QString columnType(const FieldDef &field) const = 0;
    // The columns the table has; none when it does not exist.
    virtual QStringList columnsOf(const QSqlDatabase &connection, const QString &table) const = 0;

    // Decimals are exact either way: integers scaled by 10^places, or NUMERIC.
    virtual QVariant decimalToSql(const Decimal &value, int places) const = 0;
    virtual Decimal decimalFromSql(const QVariant &value, int places) const = 0;
    // A condition true when `column` holds the bound text, in any case.
    virtual QString containsCondition(const QString &column) const = 0;
    virtual bool isUniqueViolation(const QSqlError &error) const = 0;

    // Begins a transaction that may write `tables`, waiting up to `timeout`
    // for another station to let them go; statements inside it then wait
    // `lockWait`. False (and no transaction open) when they stayed held.
    virtual bool beginWriting(QSqlQuery &query, const QStringList &tables,
                              std::chrono::milliseconds timeout,
                              std::chrono::milliseconds lockWait) const = 0;
    // Takes `tables` for writing inside a transaction already begun (a part
    // of a longer run): true where the transaction already holds them.
    virtual bool lockWithin(QSqlQuery &query, const QStringList &tables) const = 0;
    // The stations ("qaveq@host") holding locks on `tables`, where the
    // server can tell; empty otherwise.
    virtual QStringList stationsHolding(const QSqlDatabase &connection,
                                        const QStringList &tables) const = 0;
    // A stamp that moves whenever any connection may have changed rows;
    // none where the server cannot tell cheaply.
    virtual std::optional<QString> changeStamp(const QSqlDatabase &connection) const = 0;
};

} // namespace qaveq::data
