#pragma once

#include "FileError.h"
#include "KeyCursor.h"

#include <QSqlQuery>
#include <QStringView>

#include <functional>
#include <unordered_map>
#include <vector>

struct sqlite3_stmt;

namespace qaveq::data {

class Database;
class FileSchema;
class Record;
struct FieldDef;
struct KeyDef;

// One keyed file of a company: fetch by key, ordered reads, insert with
// auto-numbering, update, delete and counts. Records are checked against the
// declaration before they are written: a text longer than its field, a
// number with more digits than declared or outside its integer range is
// refused, never cut or wrapped; decimals are stored by the store rule.
class Table
{
public:
    Table(Database &db, const FileSchema &schema);

    const FileSchema &schema() const { return m_schema; }
    Database &database() const { return m_db; }

    // The first record (in key order) whose key fields equal those of `record`.
    FileStatus fetch(QStringView key, Record &record);
    // Obtains the next auto-number into the record before it is inserted.
    FileStatus prime(Record &record);
    // Inserts; an auto-numbered field left at 0 gets the next number.
    FileStatus insert(Record &record);
    // The whole stored row the record stands for (by its row number), e.g.
    // after a list read only some of its fields.
    FileStatus reread(Record &record);
    // Rewrites the stored row the record was read from.
    FileStatus update(Record &record);
    FileStatus remove(Record &record);
    // Rewrites the stored row only if it still holds `original`; a row that
    // another station changed or removed meanwhile fails with code 89.
    FileStatus updateIfUnchanged(Record &record, const Record &original);
    // Rewrites the stored row only while its `field` still holds `stored`, in
    // one statement: of two stations changing it at once exactly one succeeds,
    // the other fails with code 89 and its record as it was.
    FileStatus updateIf(Record &record, QStringView field, const FieldValue &stored);

    qint64 count();
    KeyCursor scan(QStringView key, ScanOptions options = {});

    // Why the record cannot be stored, or an empty text.
    QString validate(const Record &record) const;

private:
    FileStatus nextNumber(qint64 &number);
    bool sameStoredRow(const Record &original, FileStatus &status);
    // The file's statement for one purpose ("insert", "fetch:KeyCode"...).
    QSqlQuery *statement(const QString &purpose, const std::function<QString()> &sql);
    FileStatus run(QSqlQuery &query);
    QString insertText(bool returningRow) const;
    FileStatus insertSql(Record &record);
    // SQLite: bound and run through SQLite itself, the statement kept by the table.
    FileStatus insertSqlite(Record &record);
    bool readOne(QSqlQuery &query, Record &record);
    // SQLite: the one row the bound statement selects, read straight into the record.
    FileStatus readOneSqlite(sqlite3_stmt *select, Record &record);
    QString fetchText(const KeyDef &key) const;
    QString rereadText() const;
    QList<int> m_allFields;

    Database &m_db;
    const FileSchema &m_schema;
    QString m_table;
    sqlite3_stmt *m_sqliteInsert = nullptr; // owned by the database
    sqlite3_stmt *m_sqliteReread = nullptr;
    sqlite3_stmt *m_sqliteNextNumber = nullptr;
    // SQLite: each key's fetch, with the fields it binds.
    struct SqliteFetch
    {
        sqlite3_stmt *statement = nullptr;
        std::vector<const FieldDef *> keyFields;
    };
    std::unordered_map<const KeyDef *, SqliteFetch> m_sqliteFetches;
};

} // namespace qaveq::data
