#include "Transaction.h"

#include "Database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace qaveq::data {

Transaction::Transaction(Database &db, const QStringList &tables, std::chrono::milliseconds timeout)
    : m_db(db)
    , m_tables(tables)
{
    if (db.isReadOnly()) {
        m_error = db.fail(FileError::driver(QStringLiteral("The company is open read-only"),
                                            QStringLiteral("8"), tables.join(u',')));
        return;
    }
    QSqlQuery query(db.connection());
    const auto run = [&query](const QString &sql) { return query.exec(sql); };
    if (db.inTransaction()) {
        // A run inside a run that already holds the company (the demonstration
        // company computing its schedules) is a part of it: all or nothing on
        // its own, and kept or dropped with the outer run.
        m_savepoint = QStringLiteral("qaveq_%1").arg(db.m_transactionDepth);
        bool begun = run(QStringLiteral("SAVEPOINT ") + m_savepoint);
        if (begun && db.dialect() == Dialect::PostgreSQL) {
            QStringList quoted;
            for (const QString &table : tables)
                quoted.append(Database::quote(table));
            begun = run(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE")
                            .arg(quoted.join(QStringLiteral(", "))));
        }
        if (!begun)
            m_error = db.fail(FileError::make(FileErrorCode::FileLocked, tables.join(u',')));
        m_active = begun;
        db.m_transactionDepth += begun ? 1 : 0;
        return;
    }
    bool begun = false;
    if (db.dialect() == Dialect::SQLite) {
        // SQLite locks the whole database for writing: waiting up to the
        // time-out for BEGIN IMMEDIATE is waiting for those files.
        run(QStringLiteral("PRAGMA busy_timeout = %1").arg(timeout.count()));
        begun = run(QStringLiteral("BEGIN IMMEDIATE"));
        if (!begun)
            m_error = db.fail(FileError::make(FileErrorCode::FileLocked, tables.join(u',')));
        run(QStringLiteral("PRAGMA busy_timeout = %1").arg(db.lockWait().count()));
    } else {
        QStringList quoted;
        for (const QString &table : tables)
            quoted.append(Database::quote(table));
        begun = run(QStringLiteral("BEGIN")) &&
                run(QStringLiteral("SET LOCAL lock_timeout = %1").arg(timeout.count())) &&
                run(QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE")
                        .arg(quoted.join(QStringLiteral(", "))));
        if (!begun) {
            m_error = db.fail(FileError::make(FileErrorCode::FileLocked, tables.join(u',')));
            run(QStringLiteral("ROLLBACK"));
            m_holders = db.stationsHolding(tables);
        } else {
            run(QStringLiteral("SET LOCAL lock_timeout = %1").arg(db.lockWait().count()));
        }
    }
    m_active = begun;
    db.m_transactionDepth = begun ? 1 : 0;
}

QString Transaction::notBegunText() const
{
    if (m_db.isReadOnly())
        return QStringLiteral("The company is open read-only here: %1 cannot be changed.|Nothing "
                              "was changed.")
            .arg(m_tables.join(QStringLiteral(", ")));
    const QString station =
        m_holders.isEmpty()
            ? QStringLiteral("Another station")
            : QStringLiteral("Another station (%1)").arg(m_holders.join(QStringLiteral(", ")));
    return QStringLiteral("%1 is using %2.|Nothing was changed; try again in a moment.")
        .arg(station, m_tables.join(QStringLiteral(", ")));
}

Transaction::~Transaction()
{
    rollback();
}

FileStatus Transaction::commit()
{
    if (!m_active)
        return {};
    QSqlQuery query(m_db.connection());
    m_active = false;
    --m_db.m_transactionDepth;
    if (!m_savepoint.isEmpty()) {
        if (!query.exec(QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint)) {
            FileError error = m_db.fail(query.lastError(), QString());
            query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + m_savepoint);
            return error;
        }
        return {};
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        FileError error = m_db.fail(query.lastError(), QString());
        query.exec(QStringLiteral("ROLLBACK"));
        return error;
    }
    return {};
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    QSqlQuery query(m_db.connection());
    if (m_savepoint.isEmpty()) {
        query.exec(QStringLiteral("ROLLBACK"));
    } else {
        query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + m_savepoint);
        query.exec(QStringLiteral("RELEASE SAVEPOINT ") + m_savepoint);
    }
    m_active = false;
    --m_db.m_transactionDepth;
}

} // namespace qaveq::data
