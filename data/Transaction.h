#pragma once

#include "FileError.h"

#include <QStringList>

#include <chrono>

namespace qaveq::data {

class Database;

// A transaction on some files of a company, begun with a time-out, rolled back
// unless committed. When it cannot be begun in time (another station holds
// those files) isActive() is false and error() says why; the run then writes
// nothing at all and tells the user notBegunText(). Going on without it would let
// two stations interleave their writes: duplicate and missing rows. Begun
// while this station's company is already in a transaction, it is a part of
// that one (a savepoint): rolled back alone, kept only when the outer one is.
//
//   Transaction tx(db, {u"GLDepr"_s}, 5s);
//   if (!tx.isActive()) { prompter.ask(... tx.notBegunText() ...); return; }
//   ... writes, each checked; the first failure returns (and rolls back) ...
//   if (FileStatus status = tx.commit(); !status) ...
class Transaction
{
public:
    Transaction(Database &db, const QStringList &tables, std::chrono::milliseconds timeout);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return m_active; }
    const FileError &error() const { return m_error; }
    // Why the transaction was not begun, for the user: "Another station
    // (qaveq@yard-pc) is using GLDepr.|Nothing was changed; try again in a
    // moment.", or that the company is open read-only.
    QString notBegunText() const;

    FileStatus commit();
    void rollback();

private:
    Database &m_db;
    QStringList m_tables;
    QStringList m_holders; // the stations holding them, when the server can tell
    bool m_active = false;
    QString m_savepoint; // inside another transaction: the part this one is
    FileError m_error;
};

} // namespace qaveq::data
