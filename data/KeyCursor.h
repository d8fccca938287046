#pragma once

#include "FieldValue.h"
#include "FileError.h"

#include <QList>
#include <QSqlQuery>

#include <optional>
#include <vector>

struct sqlite3_stmt;

namespace qaveq::data {

class Database;
class FileSchema;
class Record;
struct KeyDef;

enum class Direction { Forward, Backward };

struct Filter
{
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Contains };
    QString field; // "EQH:Active" or "Active"
    Op op = Op::Equal;
    FieldValue value;
};

// A field a read is ordered by ahead of its key (a list sorted by its
// headings). Text compared without case is compared in capitals.
struct SortField
{
    QString field; // "EQH:Description" or "Description"
    bool descending = false;
    bool caseless = false;
};

// What an ordered read covers. `from` and `to` are inclusive bounds on the
// key's leading fields (key order, whatever the direction): both set to the
// same values limit the read to one equipment, one batch...; `from` alone is a
// position to start at ("set the position in the key").
struct ScanOptions
{
    Direction direction = Direction::Forward;
    QList<FieldValue> from;
    QList<FieldValue> to;
    QList<Filter> filters;
    // The fields to read ("EQL:Units"); empty reads them all. The key's own
    // fields are always read. Fields not read keep their defaults.
    QStringList fields;
    int pageSize = 256;
    // Fields ordering the read ahead of the key, whose order then settles
    // rows equal in them; `from` and `to` still bound the key.
    QList<SortField> order;

    static ScanOptions equal(QList<FieldValue> values)
    {
        ScanOptions options;
        options.from = values;
        options.to = std::move(values);
        return options;
    }
};

// Reads a file in key order (or in the order of its sort fields, then the
// key) a page at a time: each page continues after the key of the last row
// read, so a read never holds more than one page and a
// file of a million rows starts as fast as one of ten. Writes between two
// reads are safe: the page in hand is already off the database.
class KeyCursor
{
public:
    KeyCursor(Database &db, const FileSchema &schema, const KeyDef &key, ScanOptions options);

    // The next record in key order into `record`; false at the end or on
    // error (see error()).
    bool next(Record &record);
    const std::optional<FileError> &error() const { return m_error; }

    // How many records the read covers (its range and filters), without
    // reading them; -1 on error.
    qint64 count();

    // A decimal field added up over the rows of a group, or only over those
    // of its rows that pass `onlyWhere` (the credits of a code, say), so that
    // one pass gives several sums without grouping finer than needed.
    struct Sum
    {
        Sum(QString field, std::optional<Filter> onlyWhere = std::nullopt)
            : field(std::move(field))
            , onlyWhere(std::move(onlyWhere))
        {}
        QString field;
        std::optional<Filter> onlyWhere;
    };
    // The sums `summed` over the rows the read covers, one subtotal per
    // distinct value of the fields `groupBy`, in no set order: the database
    // adds them up without handing over the rows. Nothing on error (see
    // error()), a sum beyond what SQLite's integers hold included.
    struct Subtotal
    {
        std::vector<FieldValue> group;
        std::vector<Decimal> sums;
    };
    std::optional<QList<Subtotal>> subtotals(const QStringList &groupBy, const QList<Sum> &summed);

private:
    bool fetchPage();
    // Reads the page through Qt's driver (PostgreSQL) or SQLite itself.
    bool readPage(const QString &sql);
    bool readPageSqlite(const QString &sql);
    void bindConditions(QSqlQuery &query);
    // Binds the range and filters from the parameter after `parameter`;
    // gives the last one bound.
    int bindConditions(sqlite3_stmt *statement, int parameter = 0);
    // The continuation after the last row read: a tuple comparison in key
    // order, or, with sort fields of their own directions, one alternative
    // per order field.
    QString continuation(const QStringList &terms, const QList<bool> &ascending,
                         const QStringList &marks);

    Database &m_db;
    const FileSchema &m_schema;
    ScanOptions m_options;
    QList<int> m_keyFields; // field indexes of the key, in order
    // What the rows are ordered by: the sort fields, the key's, then -1 for
    // the stored row number of a key that is not unique.
    QList<int> m_orderFields;
    QList<int> m_afterValues; // the continuation's parameters, as indexes into m_lastKey
    QList<int> m_readFields;  // field indexes read, in select order (after qrow)
    bool m_withRowId = false; // non-unique keys break ties on the stored row number
    QString m_sqlFirst;
    QString m_sqlAfter;
    QString m_sqlCount;
    QString m_where;                // the range and filters as a WHERE clause, or nothing
    std::vector<FieldValue> m_page; // rows * columns, columns = qrow + fields
    int m_columns = 0;
    int m_rowsInPage = 0;
    int m_rowInPage = 0;
    bool m_started = false;
    bool m_exhausted = false;
    std::vector<FieldValue> m_lastKey; // the order fields of the last row read
    std::optional<FileError> m_error;
};

} // namespace qaveq::data
