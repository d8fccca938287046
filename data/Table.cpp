#include "Table.h"

#include "Database.h"
#include "FileSchema.h"
#include "Record.h"

#include <QSqlError>
#include <QSqlQuery>

namespace qaveq::data {

Table::Table(Database &db, const FileSchema &schema)
    : m_db(db)
    , m_schema(schema)
    , m_table(Database::quote(schema.table))
{
}

QString Table::validate(const Record &record) const
{
    for (const FieldDef &field : m_schema.fields) {
        const FieldValue value = field.get(record);
        const QString name = m_schema.qualified(field);
        switch (field.type) {
        case FieldType::Text:
            if (std::get<QString>(value).size() > field.width)
                return QStringLiteral("%1 is longer than %2 characters").arg(name).arg(field.width);
            break;
        case FieldType::Decimal:
            if (!std::get<Decimal>(value).fits(field.digits, field.places))
                return QStringLiteral("%1 does not fit %2 digits with %3 places")
                    .arg(name)
                    .arg(field.digits)
                    .arg(field.places);
            break;
        case FieldType::Integer:
        case FieldType::Date:
        case FieldType::Time: {
            const qint64 v = std::get<qint64>(value);
            if (v < field.minimum || v > field.maximum)
                return QStringLiteral("%1 is out of range").arg(name);
            break;
        }
        }
    }
    return {};
}

FileStatus Table::fetch(QStringView keyName, Record &record)
{
    const KeyDef &key = m_schema.key(keyName);
    ScanOptions options;
    for (const QString &f : key.fields)
        options.from.append(m_schema.field(f)->get(record));
    options.to = options.from;
    options.pageSize = 1;
    KeyCursor cursor(m_db, m_schema, key, std::move(options));
    if (cursor.next(record))
        return {};
    if (cursor.error())
        return *cursor.error();
    return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
}

FileStatus Table::nextNumber(qint64 &number)
{
    const FieldDef &field = m_schema.fields[m_schema.autoNumberField];
    QSqlQuery query(m_db.connection());
    if (!query.exec(QStringLiteral("SELECT MAX(%1) FROM %2").arg(Database::quote(field.name), m_table)))
        return m_db.fail(query.lastError(), m_schema.name);
    query.next();
    number = query.value(0).toLongLong() + 1;
    return {};
}

FileStatus Table::prime(Record &record)
{
    if (m_schema.autoNumberField < 0)
        return {};
    qint64 number = 0;
    if (FileStatus status = nextNumber(number); !status)
        return status;
    m_schema.fields[m_schema.autoNumberField].set(record, number);
    return {};
}

FileStatus Table::insert(Record &record)
{
    const bool autoNumber = m_schema.autoNumberField >= 0
                            && std::get<qint64>(m_schema.fields[m_schema.autoNumberField].get(record)) == 0;
    if (autoNumber) {
        if (FileStatus status = prime(record); !status)
            return status;
    }
    if (const QString problem = validate(record); !problem.isEmpty())
        return m_db.fail(FileError::driver(problem, QStringLiteral("0"), m_schema.name));

    QStringList columns;
    QStringList marks;
    for (const FieldDef &field : m_schema.fields) {
        columns.append(Database::quote(field.name));
        marks.append(QStringLiteral("?"));
    }
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING qrow")
                      .arg(m_table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (const FieldDef &field : m_schema.fields)
        query.addBindValue(m_db.toSql(field, field.get(record)));
    if (!query.exec()) {
        if (autoNumber)
            m_schema.fields[m_schema.autoNumberField].set(record, qint64(0));
        return m_db.fail(query.lastError(), m_schema.name);
    }
    query.next();
    record.m_rowId = query.value(0).toLongLong();
    return {};
}

FileStatus Table::update(Record &record)
{
    if (const QString problem = validate(record); !problem.isEmpty())
        return m_db.fail(FileError::driver(problem, QStringLiteral("0"), m_schema.name));
    QStringList assignments;
    for (const FieldDef &field : m_schema.fields)
        assignments.append(Database::quote(field.name) + QStringLiteral(" = ?"));
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE qrow = ?")
                      .arg(m_table, assignments.join(QStringLiteral(", "))));
    for (const FieldDef &field : m_schema.fields)
        query.addBindValue(m_db.toSql(field, field.get(record)));
    query.addBindValue(record.m_rowId);
    if (!query.exec())
        return m_db.fail(query.lastError(), m_schema.name);
    if (query.numRowsAffected() == 0)
        return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
    return {};
}

bool Table::sameStoredRow(const Record &original, FileStatus &status)
{
    std::unique_ptr<Record> stored = m_schema.create();
    QSqlQuery query(m_db.connection());
    QStringList columns;
    for (const FieldDef &field : m_schema.fields)
        columns.append(Database::quote(field.name));
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE qrow = ?")
                      .arg(columns.join(QStringLiteral(", ")), m_table));
    query.addBindValue(original.m_rowId);
    if (!query.exec()) {
        status = m_db.fail(query.lastError(), m_schema.name);
        return false;
    }
    if (!query.next())
        return false;
    for (int i = 0; i < m_schema.fields.size(); ++i) {
        const FieldDef &field = m_schema.fields[i];
        if (m_db.fromSql(field, query.value(i)) != field.get(original))
            return false;
    }
    return true;
}

FileStatus Table::updateIfUnchanged(Record &record, const Record &original)
{
    FileStatus status;
    if (!sameStoredRow(original, status))
        return status ? FileStatus(m_db.fail(FileError::make(FileErrorCode::RecordChanged, m_schema.name)))
                      : status;
    return update(record);
}

FileStatus Table::remove(Record &record)
{
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE qrow = ?").arg(m_table));
    query.addBindValue(record.m_rowId);
    if (!query.exec())
        return m_db.fail(query.lastError(), m_schema.name);
    if (query.numRowsAffected() == 0)
        return m_db.fail(FileError::make(FileErrorCode::RecordNotFound, m_schema.name));
    record.m_rowId = 0;
    return {};
}

qint64 Table::count()
{
    QSqlQuery query(m_db.connection());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_table)) || !query.next()) {
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
