#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace qaveq {

namespace data {
class Database;
}

// Remembers what users type into the entries of forms, field by field, and
// offers it back the next time: a make, a location or a comment typed once
// need not be typed in full again. The values live in one file beside the
// company's data, shared by every workstation of the company.
class AutoEntry
{
public:
    // Opens (and, the first time, creates) the file; error() says why it
    // could not be opened, and the store then remembers nothing.
    explicit AutoEntry(const QString &file);
    ~AutoEntry();
    AutoEntry(const AutoEntry &) = delete;
    AutoEntry &operator=(const AutoEntry &) = delete;

    bool isOpen() const { return bool(m_database); }
    QString error() const { return m_error; }

    // `field` names the entry ("EQHeader/EQH:Make"). Blank values are not kept.
    void remember(const QString &field, const QString &value);
    // A whole form's values (field, value), written together.
    void remember(const QList<std::pair<QString, QString>> &values);
    // The field's values, the most recently typed first.
    QStringList offers(const QString &field) const;

    // The store the forms' entries use; null while remembering is off.
    static AutoEntry *current();
    static void setCurrent(std::unique_ptr<AutoEntry> store);

    // Values kept per field; the oldest go beyond it.
    static constexpr int Kept = 200;

private:
    std::unique_ptr<data::Database> m_database;
    QString m_error;
};

} // namespace qaveq
