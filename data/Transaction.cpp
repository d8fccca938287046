#include "Transaction.h"

#include "Database.h"
#include "SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace qaveq::data {

Transaction::Transaction(Database &db, const QStringList &tables, std::chrono::milliseconds timeout)
    : m_db(db)
    , m_tables(tables)
{
    if (db.isReadOnly()) {
        m_error = db.fail(
            FileError::driver(u"The company is open read-only"_s, u"8"_s, tables.join(u',')));
        return;
    }
    QSqlQuery query(db.connection());
    if (db.inTransaction()) {
        // A run inside a run that already holds the company (the demonstration
        // company computing its schedules) is a part of it: all or nothing on
        // its own, and kept or dropped with the outer run.
        m_savepoint = u"qaveq_%1"_s.arg(db.m_transactionDepth);
        const bool begun =
            query.exec(u"SAVEPOINT "_s + m_savepoint) && db.dialect().lockWithin(query, tables);
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
        return u"The company is open read-only here: %1 cannot be changed.|Nothing "
               "was changed."_s.arg(m_tables.join(u", "_s));
    const QString station = m_holders.isEmpty()
                                ? u"Another station"_s
                                : u"Another station (%1)"_s.arg(m_holders.join(u", "_s));
    return u"%1 is using %2.|Nothing was changed; try again in a moment."_s.arg(
        station, m_tables.join(u", "_s));
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
        if (!query.exec(u"RELEASE SAVEPOINT "_s + m_savepoint)) {
            FileError error = m_db.fail(query.lastError(), QString());
            query.exec(u"ROLLBACK TO SAVEPOINT "_s + m_savepoint);
            return error;
        }
        return {};
    }
    if (!query.exec(u"COMMIT"_s)) {
        FileError error = m_db.fail(query.lastError(), QString());
        query.exec(u"ROLLBACK"_s);
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
        query.exec(u"ROLLBACK"_s);
    } else {
        query.exec(u"ROLLBACK TO SAVEPOINT "_s + m_savepoint);
        query.exec(u"RELEASE SAVEPOINT "_s + m_savepoint);
    }
    m_active = false;
    --m_db.m_transactionDepth;
}

} // namespace qaveq::data
