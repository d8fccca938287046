#pragma once

#include "FileError.h"

#include <QStringList>

#include <chrono>

namespace qaveq::data {

class Database;

// A transaction on some files of a company, begun with a time-out, rolled back
// unless committed. When it cannot be begun in time (another station holds
// those files) isActive() is false and error() says why; the caller decides
// whether to go on without it.
//
//   Transaction tx(db, {u"GLDepr"_s}, 5s);
//   ... writes ...
//   if (tx.isActive()) tx.commit();
class Transaction
{
public:
    Transaction(Database &db, const QStringList &tables, std::chrono::milliseconds timeout);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool isActive() const { return m_active; }
    const FileError &error() const { return m_error; }

    FileStatus commit();
    void rollback();

private:
    Database &m_db;
    bool m_active = false;
    FileError m_error;
};

} // namespace qaveq::data
