#include "KeyCursor.h"

#include "Database.h"
#include "FileSchema.h"
#include "Record.h"
#include "SqlDialect.h"

#include <QSqlError>

#include <sqlite3.h>

#include <array>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

QString tuple(const QStringList &items)
{
    return items.size() == 1 ? items.first() : u'(' + items.join(u", "_s) + u')';
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks.append(u"?"_s);
    return tuple(marks);
}

QString sqlOperator(Filter::Op op)
{
    // In the order of Filter::Op; "contains" is a condition of the dialect's.
    static_assert(std::size_t(Filter::Op::Contains) == 6);
    static const std::array<QString, 6> operators{u"="_s,  u"<>"_s, u"<"_s,
                                                  u"<="_s, u">"_s,  u">="_s};
    const auto index = std::size_t(op);
    return index < operators.size() ? operators[index] : QString();
}

// The SQL that keeps the rows passing `filter`, with its value as the one
// parameter.
QString filterCondition(const Database &db, const FileSchema &schema, const Filter &filter)
{
    const FieldDef *field = schema.field(filter.field);
    if (!field)
        throw std::invalid_argument(
            u"no field %1 in %2"_s.arg(filter.field, schema.name).toStdString());
    const QString column = Database::quote(field->name);
    if (filter.op == Filter::Op::Contains)
        return db.dialect().containsCondition(column);
    return u"%1 %2 ?"_s.arg(column, sqlOperator(filter.op));
}

} // namespace

KeyCursor::KeyCursor(Database &db, const FileSchema &schema, const KeyDef &key, ScanOptions options)
    : m_db(db)
    , m_schema(schema)
    , m_options(std::move(options))
    , m_withRowId(!key.unique)
{
    QStringList keyColumns;
    for (const QString &f : key.fields) {
        const int index = schema.fieldIndex(f);
        m_keyFields.append(index);
        keyColumns.append(Database::quote(schema.fields[index].name));
    }
    if (m_options.from.size() > keyColumns.size() || m_options.to.size() > keyColumns.size())
        throw std::invalid_argument("scan bounds longer than the key");

    // What orders the rows: the sort fields in their own directions, then the key.
    const bool ascending = (m_options.direction == Direction::Forward) != key.descending;
    QStringList orderTerms;
    QStringList orderMarks;
    QList<bool> orderAscending;
    for (const SortField &sort : std::as_const(m_options.order)) {
        const int index = schema.fieldIndex(sort.field);
        if (index < 0)
            throw std::invalid_argument(
                u"no field %1 in %2"_s.arg(sort.field, schema.name).toStdString());
        const QString column = Database::quote(schema.fields[index].name);
        const bool caseless = sort.caseless && schema.fields[index].type == FieldType::Text;
        m_orderFields.append(index);
        orderTerms.append(caseless ? u"upper(%1)"_s.arg(column) : column);
        orderMarks.append(caseless ? u"upper(?)"_s : u"?"_s);
        orderAscending.append((m_options.direction == Direction::Forward) != sort.descending);
    }
    for (int i = 0; i < keyColumns.size(); ++i) {
        m_orderFields.append(m_keyFields[i]);
        orderTerms.append(keyColumns[i]);
        orderMarks.append(u"?"_s);
        orderAscending.append(ascending);
    }
    if (m_withRowId) {
        m_orderFields.append(-1);
        orderTerms.append(u"qrow"_s);
        orderMarks.append(u"?"_s);
        orderAscending.append(ascending);
    }

    if (m_options.fields.isEmpty()) {
        for (int i = 0; i < schema.fields.size(); ++i)
            m_readFields.append(i);
    } else {
        for (const QString &name : std::as_const(m_options.fields)) {
            const int index = schema.fieldIndex(name);
            if (index < 0)
                throw std::invalid_argument(
                    u"no field %1 in %2"_s.arg(name, schema.name).toStdString());
            if (!m_readFields.contains(index))
                m_readFields.append(index);
        }
        for (int index : std::as_const(m_orderFields))
            if (index >= 0 && !m_readFields.contains(index))
                m_readFields.append(index);
    }
    m_columns = static_cast<int>(m_readFields.size()) + 1;
    QStringList selected{u"qrow"_s};
    for (int index : std::as_const(m_readFields))
        selected.append(Database::quote(schema.fields[index].name));

    // Bounds are in key order; a descending key runs the other way in SQL.
    QStringList conditions;
    if (!m_options.from.isEmpty())
        conditions.append(u"%1 %2 %3"_s.arg(tuple(keyColumns.mid(0, m_options.from.size())),
                                            key.descending ? u"<="_s : u">="_s,
                                            placeholders(m_options.from.size())));
    if (!m_options.to.isEmpty())
        conditions.append(u"%1 %2 %3"_s.arg(tuple(keyColumns.mid(0, m_options.to.size())),
                                            key.descending ? u">="_s : u"<="_s,
                                            placeholders(m_options.to.size())));
    for (const Filter &filter : m_options.filters)
        conditions.append(filterCondition(db, schema, filter));

    QStringList orderBy;
    for (int i = 0; i < orderTerms.size(); ++i)
        orderBy.append(orderTerms[i] + (orderAscending[i] ? QString() : u" DESC"_s));

    const QString base =
        u"SELECT %1 FROM %2"_s.arg(selected.join(u", "_s), Database::quote(schema.table));
    const QString tail =
        u" ORDER BY %1 LIMIT %2"_s.arg(orderBy.join(u", "_s)).arg(m_options.pageSize);
    const auto where = [](const QStringList &c) {
        return c.isEmpty() ? QString() : u" WHERE "_s + c.join(u" AND "_s);
    };
    m_where = where(conditions);
    m_sqlFirst = base + m_where + tail;
    m_sqlCount = u"SELECT COUNT(*) FROM %1"_s.arg(Database::quote(schema.table)) + m_where;
    QStringList after = conditions;
    after.append(continuation(orderTerms, orderAscending, orderMarks));
    m_sqlAfter = base + where(after) + tail;
}

QString KeyCursor::continuation(const QStringList &terms, const QList<bool> &ascending,
                                const QStringList &marks)
{
    if (m_options.order.isEmpty()) {
        // One direction throughout: a tuple comparison the key's index serves.
        for (int i = 0; i < terms.size(); ++i)
            m_afterValues.append(i);
        return u"%1 %2 %3"_s.arg(tuple(terms), ascending.first() ? u">"_s : u"<"_s,
                                 placeholders(terms.size()));
    }
    // Directions differ from field to field: a row comes later when it equals
    // the last row in the first fields and comes after it in the next one.
    QStringList alternatives;
    for (int i = 0; i < terms.size(); ++i) {
        QStringList parts;
        for (int j = 0; j < i; ++j) {
            parts.append(terms[j] + u" = "_s + marks[j]);
            m_afterValues.append(j);
        }
        parts.append(terms[i] + (ascending[i] ? u" > "_s : u" < "_s) + marks[i]);
        m_afterValues.append(i);
        alternatives.append(u'(' + parts.join(u" AND "_s) + u')');
    }
    return u'(' + alternatives.join(u" OR "_s) + u')';
}

bool KeyCursor::fetchPage()
{
    const QString &sql = m_started ? m_sqlAfter : m_sqlFirst;
    m_page.clear();
    // Room for a page's rows at once, up to the default page's: a read of
    // hundreds of rows does not grow its page a dozen times.
    if (!m_started)
        m_page.reserve(std::size_t(std::min(m_options.pageSize, 256)) * std::size_t(m_columns));
    m_rowsInPage = 0;
    m_rowInPage = 0;
    if (!(m_db.dialect().hasNativeStatements() ? readPageSqlite(sql) : readPage(sql)))
        return false;
    m_started = true;
    if (m_rowsInPage < m_options.pageSize)
        m_exhausted = true;
    if (m_rowsInPage > 0) {
        const std::size_t last = static_cast<std::size_t>(m_rowsInPage - 1) * m_columns;
        m_lastKey.clear();
        for (int index : std::as_const(m_orderFields))
            m_lastKey.push_back(index < 0 ? m_page[last]
                                          : m_page[last + 1 + m_readFields.indexOf(index)]);
    }
    return m_rowsInPage > 0;
}

bool KeyCursor::readPage(const QString &sql)
{
    QSqlQuery *query = m_db.prepared(
        sql, [&sql] { return sql; }, m_schema.name);
    if (!query) {
        m_error = m_db.lastError();
        return false;
    }
    bindConditions(*query);
    if (m_started) {
        for (int i : std::as_const(m_afterValues)) {
            const int field = m_orderFields[i];
            const FieldValue &value = m_lastKey[std::size_t(i)];
            query->addBindValue(field < 0 ? QVariant(std::get<qint64>(value))
                                          : m_db.toSql(m_schema.fields[field], value));
        }
    }
    if (!query->exec()) {
        m_error = m_db.fail(query->lastError(), m_schema.name);
        return false;
    }
    while (query->next()) {
        m_page.push_back(query->value(0).toLongLong());
        for (int c = 1; c < m_columns; ++c)
            m_page.push_back(m_db.fromSql(m_schema.fields[m_readFields[c - 1]], query->value(c)));
        ++m_rowsInPage;
    }
    query->finish();
    return true;
}

bool KeyCursor::readPageSqlite(const QString &sql)
{
    sqlite3_stmt *select = m_db.preparedSqlite(
        sql, [&sql] { return sql; }, m_schema.name);
    if (!select) {
        m_error = m_db.lastError();
        return false;
    }
    int parameter = bindConditions(select);
    if (m_started) {
        for (int i : std::as_const(m_afterValues)) {
            const int field = m_orderFields[i];
            const FieldValue &value = m_lastKey[std::size_t(i)];
            if (field < 0)
                sqlite3_bind_int64(select, ++parameter, std::get<qint64>(value));
            else
                Database::bindSqlite(select, ++parameter, m_schema.fields[field], value);
        }
    }
    while (m_db.stepSqlite(select, m_schema.name, m_error)) {
        m_page.push_back(qint64(sqlite3_column_int64(select, 0)));
        for (int c = 1; c < m_columns; ++c)
            m_page.push_back(Database::fromSqlite(m_schema.fields[m_readFields[c - 1]], select, c));
        ++m_rowsInPage;
    }
    sqlite3_reset(select);
    return !m_error;
}

void KeyCursor::bindConditions(QSqlQuery &query)
{
    for (int i = 0; i < m_options.from.size(); ++i)
        query.addBindValue(m_db.toSql(m_schema.fields[m_keyFields[i]], m_options.from[i]));
    for (int i = 0; i < m_options.to.size(); ++i)
        query.addBindValue(m_db.toSql(m_schema.fields[m_keyFields[i]], m_options.to[i]));
    for (const Filter &filter : m_options.filters)
        query.addBindValue(m_db.toSql(*m_schema.field(filter.field), filter.value));
}

int KeyCursor::bindConditions(sqlite3_stmt *statement, int parameter)
{
    for (int i = 0; i < m_options.from.size(); ++i)
        Database::bindSqlite(statement, ++parameter, m_schema.fields[m_keyFields[i]],
                             m_options.from[i]);
    for (int i = 0; i < m_options.to.size(); ++i)
        Database::bindSqlite(statement, ++parameter, m_schema.fields[m_keyFields[i]],
                             m_options.to[i]);
    for (const Filter &filter : m_options.filters)
        Database::bindSqlite(statement, ++parameter, *m_schema.field(filter.field), filter.value);
    return parameter;
}

qint64 KeyCursor::count()
{
    if (m_db.dialect().hasNativeStatements()) {
        sqlite3_stmt *select = m_db.preparedSqlite(
            m_sqlCount, [this] { return m_sqlCount; }, m_schema.name);
        if (!select) {
            m_error = m_db.lastError();
            return -1;
        }
        bindConditions(select);
        const bool counted = m_db.stepSqlite(select, m_schema.name, m_error);
        const qint64 count = counted ? sqlite3_column_int64(select, 0) : -1;
        sqlite3_reset(select);
        return count;
    }
    QSqlQuery *query = m_db.prepared(
        m_sqlCount, [this] { return m_sqlCount; }, m_schema.name);
    if (!query) {
        m_error = m_db.lastError();
        return -1;
    }
    bindConditions(*query);
    if (!query->exec() || !query->next()) {
        m_error = m_db.fail(query->lastError(), m_schema.name);
        return -1;
    }
    const qint64 count = query->value(0).toLongLong();
    query->finish();
    return count;
}

std::optional<QList<KeyCursor::Subtotal>> KeyCursor::subtotals(const QStringList &groupBy,
                                                               const QList<Sum> &summed)
{
    const auto fieldOf = [this](const QString &name) {
        const FieldDef *field = m_schema.field(name);
        if (!field)
            throw std::invalid_argument(
                u"no field %1 in %2"_s.arg(name, m_schema.name).toStdString());
        return field;
    };
    QList<const FieldDef *> groups, sums;
    QStringList columns, groupColumns;
    for (const QString &name : groupBy) {
        groups.append(fieldOf(name));
        groupColumns.append(Database::quote(groups.last()->name));
    }
    columns = groupColumns;
    QList<const Filter *> sumConditions;
    for (const Sum &sum : summed) {
        sums.append(fieldOf(sum.field));
        if (sums.last()->type != FieldType::Decimal)
            throw std::invalid_argument(
                u"%1 of %2 is not a decimal"_s.arg(sum.field, m_schema.name).toStdString());
        const QString column = Database::quote(sums.last()->name);
        if (!sum.onlyWhere) {
            columns.append(u"SUM(%1)"_s.arg(column));
            continue;
        }
        sumConditions.append(&*sum.onlyWhere);
        columns.append(u"SUM(CASE WHEN %1 THEN %2 ELSE 0 END)"_s.arg(
            filterCondition(m_db, m_schema, *sum.onlyWhere), column));
    }
    QString sql =
        u"SELECT %1 FROM %2"_s.arg(columns.join(u", "_s), Database::quote(m_schema.table)) +
        m_where;
    if (!groupColumns.isEmpty())
        sql += u" GROUP BY "_s + groupColumns.join(u", "_s);
    const qsizetype groupCount = groups.size();

    QList<Subtotal> result;
    if (m_db.dialect().hasNativeStatements()) {
        sqlite3_stmt *select = m_db.preparedSqlite(
            sql, [&sql] { return sql; }, m_schema.name);
        if (!select) {
            m_error = m_db.lastError();
            return std::nullopt;
        }
        int parameter = 0;
        for (const Filter *condition : std::as_const(sumConditions))
            Database::bindSqlite(select, ++parameter, *m_schema.field(condition->field),
                                 condition->value);
        bindConditions(select, parameter);
        while (m_db.stepSqlite(select, m_schema.name, m_error)) {
            Subtotal line;
            for (qsizetype i = 0; i < groupCount; ++i)
                line.group.push_back(Database::fromSqlite(*groups[i], select, int(i)));
            for (qsizetype i = 0; i < sums.size(); ++i)
                line.sums.push_back(Decimal::fromUnits(
                    sqlite3_column_int64(select, int(groupCount + i)), sums[i]->places));
            result.append(std::move(line));
        }
        sqlite3_reset(select);
        if (m_error)
            return std::nullopt;
        return result;
    }
    QSqlQuery *query = m_db.prepared(
        sql, [&sql] { return sql; }, m_schema.name);
    if (!query) {
        m_error = m_db.lastError();
        return std::nullopt;
    }
    for (const Filter *condition : std::as_const(sumConditions))
        query->addBindValue(m_db.toSql(*m_schema.field(condition->field), condition->value));
    bindConditions(*query);
    if (!query->exec()) {
        m_error = m_db.fail(query->lastError(), m_schema.name);
        return std::nullopt;
    }
    while (query->next()) {
        Subtotal line;
        for (qsizetype i = 0; i < groupCount; ++i)
            line.group.push_back(m_db.fromSql(*groups[i], query->value(int(i))));
        for (qsizetype i = 0; i < sums.size(); ++i) {
            // The server's sum is exact (numeric) and may hold more places
            // than the field; a total no decimal holds is an error, not 0.
            const QVariant value = query->value(int(groupCount + i));
            const std::optional<Decimal> sum =
                value.isNull() ? Decimal() : Decimal::parsePlain(value.toString());
            if (!sum) {
                query->finish();
                m_error = m_db.fail(
                    FileError::driver(u"The total of %1 is beyond range."_s.arg(sums[i]->name),
                                      QString(), m_schema.name));
                return std::nullopt;
            }
            line.sums.push_back(*sum);
        }
        result.append(std::move(line));
    }
    query->finish();
    return result;
}

bool KeyCursor::next(Record &record)
{
    if (m_error)
        return false;
    if (m_rowInPage >= m_rowsInPage) {
        if (m_started && m_exhausted)
            return false;
        if (!fetchPage())
            return false;
    }
    const std::size_t row = static_cast<std::size_t>(m_rowInPage++) * m_columns;
    m_db.readRow(m_schema, m_readFields, &m_page[row], record);
    return true;
}

} // namespace qaveq::data
