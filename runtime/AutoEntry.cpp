#include "AutoEntry.h"

#include "DebugLog.h"

#include "data/Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

std::unique_ptr<AutoEntry> &currentStore()
{
    static std::unique_ptr<AutoEntry> store;
    return store;
}

} // namespace

AutoEntry::AutoEntry(const QString &file)
{
    try {
        data::ConnectionSettings settings;
        settings.sqliteFile = file;
        m_database = std::make_unique<data::Database>(settings);
    } catch (const std::exception &error) {
        m_error = QString::fromStdString(error.what());
        return;
    }
    QSqlQuery create(m_database->connection());
    if (!create.exec(u"CREATE TABLE IF NOT EXISTS typed (field TEXT NOT NULL, value TEXT NOT "
                     "NULL, used INTEGER NOT NULL, PRIMARY KEY (field, value))"_s)) {
        m_error = create.lastError().text();
        m_database.reset();
    }
}

AutoEntry::~AutoEntry() = default;

void AutoEntry::remember(const QString &field, const QString &value)
{
    const QString typed = value.trimmed();
    if (!m_database || typed.isEmpty())
        return;
    QSqlQuery query(m_database->connection());
    // The newest use gets the highest number, so offers come newest first.
    query.prepare(
        u"INSERT INTO typed (field, value, used) VALUES (?, ?, (SELECT COALESCE(MAX(used), "
        "0) + 1 FROM typed)) ON CONFLICT (field, value) DO UPDATE SET used = "
        "excluded.used"_s);
    query.addBindValue(field);
    query.addBindValue(typed);
    QSqlQuery prune(m_database->connection());
    prune.prepare(u"DELETE FROM typed WHERE field = ? AND used NOT IN (SELECT used FROM typed "
                  "WHERE field = ? ORDER BY used DESC LIMIT ?)"_s);
    prune.addBindValue(field);
    prune.addBindValue(field);
    prune.addBindValue(Kept);
    // Remembering is a convenience: a busy or damaged file must never stop
    // the user's typing, so a failure is only noted in the program's log.
    if (!query.exec() || !prune.exec())
        DebugLog::program().write(u"Remembering a typed value: "_s +
                                  (query.lastError().isValid() ? query : prune).lastError().text());
}

void AutoEntry::remember(const QList<std::pair<QString, QString>> &values)
{
    if (!m_database)
        return;
    // One write for the whole form, not one flush to the disk per entry.
    QSqlDatabase connection = m_database->connection();
    const bool together = connection.transaction();
    for (const auto &[field, value] : values)
        remember(field, value);
    if (together && !connection.commit())
        DebugLog::program().write(u"Remembering typed values: "_s + connection.lastError().text());
}

QStringList AutoEntry::offers(const QString &field) const
{
    QStringList values;
    if (!m_database)
        return values;
    QSqlQuery query(m_database->connection());
    query.prepare(u"SELECT value FROM typed WHERE field = ? ORDER BY used DESC"_s);
    query.addBindValue(field);
    if (!query.exec())
        return values;
    while (query.next())
        values.append(query.value(0).toString());
    return values;
}

AutoEntry *AutoEntry::current()
{
    return currentStore().get();
}

void AutoEntry::setCurrent(std::unique_ptr<AutoEntry> store)
{
    currentStore() = std::move(store);
}

} // namespace qaveq
