#include "Transaction.h"

#include "Database.h"
#include "SqlDialect.h"

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
    if (db.inTransaction()) {
        // A run inside a run that already holds the company (the demonstration
        // company computing its schedules) is a part of it: all or nothing on
        // its own, and kept or dropped with the outer run.
        m_savepoint = QStringLiteral("qaveq_%1").arg(db.m_transactionDepth);
        const bool begun = query.exec(QStringLiteral("SAVEPOINT ") + m_savepoint) &&
                           db.dialect().lockWithin(query, tables);
        if (!begun)
            m_error = db.fail(FileError::make(FileErrorCode::FileLocked, tables.join(u',')));
        m_active = begun;
        db.m_transactionDepth += begun ? 1 : 0;
        return;
    }
    const bool begun = db.dialect().beginWriting(query, tables, timeout, db.lockWait());
    if (!begun) {
        m_error = db.fail(FileError::make(FileErrorCode::FileLocked, tables.join(u',')));
        m_holders = db.stationsHolding(tables);
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
