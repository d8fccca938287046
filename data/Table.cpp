#include "Table.h"

#include "Database.h"
#include "FileSchema.h"
#include "Record.h"
#include "SqlDialect.h"

#include <QSqlError>

#include <sqlite3.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::data {

Table::Table(Database &db, const FileSchema &schema)
    : m_db(db)
    , m_schema(schema)
    , m_table(Database::quote(schema.table))
{
    for (int i = 0; i < schema.fields.size(); ++i)
        m_allFields.append(i);
}

QString Table::validate(const Record &record) const
{
    // The field's name is put together only for a refusal: this runs for every row written.
    for (const FieldDef &field : m_schema.fields) {
        const FieldValue value = field.get(record);
        switch (field.type) {
        case FieldType::Text:
            if (std::get<QString>(value).size() > field.width)
                return u"%1 is longer than %2 characters"_s.arg(m_schema.qualified(field))
                    .arg(field.width);
            // Half a character would be stored as bytes that are no text.
            if (!std::get<QString>(value).isValidUtf16())
                return u"%1 holds half a character"_s.arg(m_schema.qualified(field));
            break;
        case FieldType::Decimal:
            if (!std::get<Decimal>(value).fits(field.digits, field.places))
                return u"%1 does not fit %2 digits with %3 places"_s.arg(m_schema.qualified(field))
                    .arg(field.digits)
                    .arg(field.places);
            break;
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::Time: {
            const qint64 v = std::get<qint64>(value);
            if (v < field.minimum || v > field.maximum)
                return u"%1 is out of range"_s.arg(m_schema.qualified(field));
            break;
        }
        }
    }
    return {};
}

QSqlQuery *Table::statement(const QString &purpose, const std::function<QString()> &sql)
{
    return m_db.prepared(m_schema.name + u'|' + purpose, sql, m_schema.name);
}

FileStatus Table::run(QSqlQuery &query)
{
    if (!query.exec())
        return m_db.fail(query.lastError(), m_schema.name);
    return {};
}

bool Table::readOne(QSqlQuery &query, Record &record)
{
    if (!query.next()) {
        query.finish();
        return false;
    }
    std::vector<QVariant> row(m_schema.fields.size() + 1);
    for (std::size_t c = 0; c < row.size(); ++c)
        row[c] = query.value(static_cast<int>(c));
    query.finish();
    m_db.readRow(m_schema, m_allFields, row.data(), record);
    return true;
}

QString Table::fetchText(const KeyDef &key) const
{
    QStringList conditions;
    QStringList order;
    for (const QString &f : key.fields) {
        const QString column = Database::quote(m_schema.field(f)->name);
        conditions.append(column + u" = ?"_s);
        order.append(key.descending ? column + u" DESC"_s : column);
    }
    if (!key.unique)
        order.append(u"qrow"_s);
    return u"SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1"_s.arg(
        Database::selectList(m_schema), m_table, conditions.join(u" AND "_s), order.join(u", "_s));
}

FileStatus Table::readOneSqlite(sqlite3_stmt *select, Record &record)
{
    std::optional<FileError> error;
    const bool found = m_db.stepSqlite(select, m_schema.name, error);
    if (found)
        Database::readRow(m_schema, m_allFields, select, record);
    sqlite3_reset(select);
    if (error)
        return *error;
    if (!found)
        return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
    return {};
}

FileStatus Table::fetch(QStringView keyName, Record &record)
{
    const KeyDef &key = m_schema.key(keyName);
    if (m_db.dialect().hasNativeStatements()) {
        SqliteFetch &fetch = m_sqliteFetches[&key];
        if (!fetch.statement) {
            fetch.statement = m_db.preparedSqlite(
                m_schema.name + u"|fetch:"_s + key.name, [this, &key] { return fetchText(key); },
                m_schema.name);
            if (!fetch.statement)
                return m_db.lastError();
            for (const QString &f : key.fields)
                fetch.keyFields.push_back(m_schema.field(f));
        }
        int parameter = 0;
        for (const FieldDef *field : fetch.keyFields)
            Database::bindSqlite(fetch.statement, ++parameter, *field, field->get(record));
        return readOneSqlite(fetch.statement, record);
    }
    QSqlQuery *query = statement(u"fetch:"_s + key.name, [this, &key] { return fetchText(key); });
    if (!query)
        return m_db.lastError();
    for (const QString &f : key.fields) {
        const FieldDef &field = *m_schema.field(f);
        query->addBindValue(m_db.toSql(field, field.get(record)));
    }
    if (FileStatus status = run(*query); !status)
        return status;
    if (readOne(*query, record))
        return {};
    return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
}

FileStatus Table::nextNumber(qint64 &number)
{
    const auto sql = [this] {
        return u"SELECT MAX(%1) FROM %2"_s.arg(
            Database::quote(m_schema.fields[m_schema.autoNumberField].name), m_table);
    };
    if (m_db.dialect().hasNativeStatements()) {
        if (!m_sqliteNextNumber)
            m_sqliteNextNumber =
                m_db.preparedSqlite(m_schema.name + u"|next number"_s, sql, m_schema.name);
        if (!m_sqliteNextNumber)
            return m_db.lastError();
        std::optional<FileError> error;
        if (m_db.stepSqlite(m_sqliteNextNumber, m_schema.name, error))
            number = sqlite3_column_int64(m_sqliteNextNumber, 0) + 1;
        sqlite3_reset(m_sqliteNextNumber);
        if (error)
            return *error;
        return {};
    }
    QSqlQuery *query = statement(u"next number"_s, sql);
    if (!query)
        return m_db.lastError();
    if (FileStatus status = run(*query); !status)
        return status;
    query->next();
    number = query->value(0).toLongLong() + 1;
    query->finish();
    return {};
}

FileStatus Table::prime(Record &record)
{
    if (m_schema.autoNumberField < 0)
        return {};
    qint64 number = 0;
    if (FileStatus status = nextNumber(number); !status)
        return status;
    const FieldDef &field = m_schema.fields[m_schema.autoNumberField];
    if (number > field.maximum)
        return m_db.fail(FileError::driver(
            u"%1 has no number left after %2"_s.arg(m_schema.name).arg(field.maximum), u"0"_s,
            m_schema.name));
    field.set(record, number);
    return {};
}

FileStatus Table::insert(Record &record)
{
    const FieldDef *autoField =
        m_schema.autoNumberField >= 0 ? &m_schema.fields[m_schema.autoNumberField] : nullptr;
    const bool numbered = autoField && std::get<qint64>(autoField->get(record)) == 0;
    if (numbered) {
        if (FileStatus status = prime(record); !status)
            return status;
    }
    const auto undoNumber = [&] {
        if (numbered)
            autoField->set(record, qint64(0));
    };
    if (const QString problem = validate(record); !problem.isEmpty()) {
        undoNumber();
        return m_db.fail(FileError::driver(problem, u"0"_s, m_schema.name));
    }
    const FileStatus status =
        m_db.dialect().hasNativeStatements() ? insertSqlite(record) : insertSql(record);
    if (!status)
        undoNumber();
    return status;
}

QString Table::insertText(bool returningRow) const
{
    QStringList columns;
    QStringList marks;
    for (const FieldDef &field : m_schema.fields) {
        columns.append(Database::quote(field.name));
        marks.append(u"?"_s);
    }
    return u"INSERT INTO %1 (%2) VALUES (%3)%4"_s.arg(
        m_table, columns.join(u", "_s), marks.join(u", "_s),
        returningRow ? u" RETURNING qrow"_s : QString());
}

FileStatus Table::insertSql(Record &record)
{
    QSqlQuery *query = statement(u"insert"_s, [this] { return insertText(true); });
    if (!query)
        return m_db.lastError();
    for (const FieldDef &field : m_schema.fields)
        query->addBindValue(m_db.toSql(field, field.get(record)));
    if (FileStatus status = run(*query); !status)
        return status;
    query->next();
    record.m_rowId = query->value(0).toLongLong();
    query->finish();
    return {};
}

FileStatus Table::insertSqlite(Record &record)
{
    if (!m_sqliteInsert)
        m_sqliteInsert = m_db.preparedSqlite(
            m_schema.name + u"|insert"_s, [this] { return insertText(false); }, m_schema.name);
    sqlite3_stmt *insert = m_sqliteInsert;
    if (!insert)
        return m_db.lastError();
    int parameter = 0;
    for (const FieldDef &field : m_schema.fields)
        Database::bindSqlite(insert, ++parameter, field, field.get(record));
    const int done = sqlite3_step(insert);
    const FileStatus status = done == SQLITE_DONE ? FileStatus() : m_db.failSqlite(m_schema.name);
    if (status)
        record.m_rowId = m_db.lastSqliteRow();
    sqlite3_reset(insert);
    return status;
}

FileStatus Table::update(Record &record)
{
    if (const QString problem = validate(record); !problem.isEmpty())
        return m_db.fail(FileError::driver(problem, u"0"_s, m_schema.name));
    QSqlQuery *query = statement(u"update"_s, [this] {
        QStringList assignments;
        for (const FieldDef &field : m_schema.fields)
            assignments.append(Database::quote(field.name) + u" = ?"_s);
        return u"UPDATE %1 SET %2 WHERE qrow = ?"_s.arg(m_table, assignments.join(u", "_s));
    });
    if (!query)
        return m_db.lastError();
    for (const FieldDef &field : m_schema.fields)
        query->addBindValue(m_db.toSql(field, field.get(record)));
    query->addBindValue(record.m_rowId);
    if (FileStatus status = run(*query); !status)
        return status;
    if (query->numRowsAffected() == 0)
        return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
    return {};
}

QString Table::rereadText() const
{
    return u"SELECT %1 FROM %2 WHERE qrow = ?"_s.arg(Database::selectList(m_schema), m_table);
}

FileStatus Table::reread(Record &record)
{
    if (m_db.dialect().hasNativeStatements()) {
        if (!m_sqliteReread)
            m_sqliteReread = m_db.preparedSqlite(
                m_schema.name + u"|by row"_s, [this] { return rereadText(); }, m_schema.name);
        if (!m_sqliteReread)
            return m_db.lastError();
        sqlite3_bind_int64(m_sqliteReread, 1, record.m_rowId);
        return readOneSqlite(m_sqliteReread, record);
    }
    QSqlQuery *query = statement(u"by row"_s, [this] { return rereadText(); });
    if (!query)
        return m_db.lastError();
    query->addBindValue(record.m_rowId);
    if (FileStatus status = run(*query); !status)
        return status;
    if (!readOne(*query, record))
        return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
    return {};
}

bool Table::sameStoredRow(const Record &original, FileStatus &status)
{
    std::unique_ptr<Record> stored = original.clone();
    if (status = reread(*stored); !status) {
        if (status.error().code == FileErrorCode::RecordNotFound)
            status = {};
        return false;
    }
    for (const FieldDef &field : m_schema.fields)
        if (field.get(*stored) != field.get(original))
            return false;
    return true;
}

FileStatus Table::updateIfUnchanged(Record &record, const Record &original)
{
    FileStatus status;
    if (!sameStoredRow(original, status))
        return status ? FileStatus(
                            m_db.fail(FileError::make(FileErrorCode::RecordChanged, m_schema.name)))
                      : status;
    return update(record);
}

FileStatus Table::updateIf(Record &record, QStringView field, const FieldValue &stored)
{
    const FieldDef *condition = m_schema.field(field);
    if (!condition)
        throw std::invalid_argument(u"no field %1 in %2"_s.arg(field, m_schema.name).toStdString());
    if (const QString problem = validate(record); !problem.isEmpty())
        return m_db.fail(FileError::driver(problem, u"0"_s, m_schema.name));
    QSqlQuery *query = statement(u"update if "_s + condition->name, [this, condition] {
        QStringList assignments;
        for (const FieldDef &each : m_schema.fields)
            assignments.append(Database::quote(each.name) + u" = ?"_s);
        return u"UPDATE %1 SET %2 WHERE qrow = ? AND %3 = ?"_s.arg(
            m_table, assignments.join(u", "_s), Database::quote(condition->name));
    });
    if (!query)
        return m_db.lastError();
    for (const FieldDef &each : m_schema.fields)
        query->addBindValue(m_db.toSql(each, each.get(record)));
    query->addBindValue(record.m_rowId);
    query->addBindValue(m_db.toSql(*condition, stored));
    if (FileStatus status = run(*query); !status)
        return status;
    if (query->numRowsAffected() == 0)
        return m_db.fail(FileError::make(FileErrorCode::RecordChanged, m_schema.name));
    return {};
}

FileStatus Table::remove(Record &record)
{
    QSqlQuery *query =
        statement(u"remove"_s, [this] { return u"DELETE FROM %1 WHERE qrow = ?"_s.arg(m_table); });
    if (!query)
        return m_db.lastError();
    query->addBindValue(record.m_rowId);
    if (FileStatus status = run(*query); !status)
        return status;
    if (query->numRowsAffected() == 0)
        return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
    record.m_rowId = 0;
    return {};
}

qint64 Table::count()
{
    QSqlQuery query(m_db.connection());
    if (!query.exec(u"SELECT COUNT(*) FROM %1"_s.arg(m_table)) || !query.next()) {
        m_db.fail(query.lastError(), m_schema.name);
        return -1;
    }
    return query.value(0).toLongLong();
}

KeyCursor Table::scan(QStringView key, ScanOptions options)
{
    return KeyCursor(m_db, m_schema, m_schema.key(key), std::move(options));
}

} // namespace qaveq::data
