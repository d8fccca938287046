#include "Company.h"

#include "FileSchema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::data {

QString Company::settingsFile(const QString &folder)
{
    return QDir(folder).filePath(u"company.ini"_s);
}

bool Company::exists(const QString &folder)
{
    return QFileInfo::exists(settingsFile(folder));
}

ConnectionSettings Company::connectionSettings(const QString &folder)
{
    QSettings ini(settingsFile(folder), QSettings::IniFormat);
    ini.beginGroup(u"Database"_s);
    ConnectionSettings settings;
    const QString driver = ini.value(u"Driver"_s, u"SQLite"_s).toString();
    if (driver.compare(u"PostgreSQL", Qt::CaseInsensitive) == 0) {
        settings.dialect = Dialect::PostgreSQL;
        settings.host = ini.value(u"Host"_s, u"localhost"_s).toString();
        settings.port = ini.value(u"Port"_s, 5432).toInt();
        settings.databaseName = ini.value(u"Name"_s).toString();
        settings.user = ini.value(u"User"_s).toString();
        settings.password = ini.value(u"Password"_s).toString();
        settings.schema = ini.value(u"Schema"_s).toString();
    } else if (driver.compare(u"SQLite", Qt::CaseInsensitive) == 0) {
        settings.sqliteFile = QDir(folder).filePath(u"company.sqlite"_s);
        // SQLite writes beside its file (its log): the folder must be
        // writable as well as the file.
        const QFileInfo file(settings.sqliteFile);
        settings.readOnly =
            !QFileInfo(folder).isWritable() || (file.exists() && !file.isWritable());
    } else {
        throw DataError(u"%1: unknown database driver \"%2\" (use SQLite or PostgreSQL)"_s
                            .arg(settingsFile(folder), driver)
                            .toStdString());
    }
    // A station set up only to look at the company.
    if (ini.value(u"ReadOnly"_s, false).toBool())
        settings.readOnly = true;
    return settings;
}

Company::Company(const QString &folder, Catalog catalog)
    : m_folder(QDir(folder).absolutePath())
    , m_catalog(std::move(catalog))
{
    if (!QDir().mkpath(m_folder))
        throw DataError(u"Cannot create the company folder %1"_s.arg(m_folder).toStdString());
    QSettings ini(settingsFile(m_folder), QSettings::IniFormat);
    m_id = ini.value(u"Company/ID"_s).toString();
    // The ID names the company's folders in the user's settings: one that
    // could leave them ("../x") is refused.
    if (!m_id.isEmpty() && !isValidId(m_id))
        throw DataError(u"%1: the company ID \"%2\" may hold only letters, digits, "
                        "\"-\" and \"_\""_s.arg(settingsFile(m_folder), m_id)
                            .toStdString());
    m_name = ini.value(u"Company/Name"_s).toString();
    m_db = std::make_unique<Database>(connectionSettings(m_folder));
    layOut();
}

Company::Company(const ConnectionSettings &settings, Catalog catalog)
    : m_catalog(std::move(catalog))
    , m_db(std::make_unique<Database>(settings))
{
    layOut();
}

void Company::setIdentity(const QString &id, const QString &name)
{
    m_id = id;
    m_name = name;
    if (m_folder.isEmpty())
        return;
    QSettings ini(settingsFile(m_folder), QSettings::IniFormat);
    ini.setValue(u"Company/ID"_s, id);
    ini.setValue(u"Company/Name"_s, name);
}

void Company::setPostgresServer(const QString &folder, const ConnectionSettings &server)
{
    {
        QSettings ini(settingsFile(folder), QSettings::IniFormat);
        ini.beginGroup(u"Database"_s);
        ini.setValue(u"Driver"_s, u"PostgreSQL"_s);
        ini.setValue(u"Host"_s, server.host);
        ini.setValue(u"Port"_s, server.port);
        ini.setValue(u"Name"_s, server.databaseName);
        ini.setValue(u"User"_s, server.user);
        ini.setValue(u"Password"_s, server.password);
        ini.setValue(u"Schema"_s, server.schema);
        ini.sync();
        if (ini.status() != QSettings::NoError)
            throw DataError(u"%1 cannot be written"_s.arg(settingsFile(folder)).toStdString());
    }
    keepPasswordPrivate(folder);
}

void Company::keepPasswordPrivate(const QString &folder)
{
    const QString path = settingsFile(folder);
    if (QSettings(path, QSettings::IniFormat).value(u"Database/Password"_s).toString().isEmpty())
        return;
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        throw DataError(
            u"%1 holds a password and cannot be made private"_s.arg(path).toStdString());
}

bool Company::isValidId(const QString &id)
{
    return !id.isEmpty() && id.size() <= 5 && std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == u'-' || c == u'_';
    });
}

namespace {

// A fingerprint of every stored declaration: tables, fields and keys.
QString schemaVersionOf(const Catalog &catalog)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const FileSchema *schema : catalog.files()) {
        if (schema->isAlias())
            continue;
        QStringList parts{schema->table};
        for (const FieldDef &field : schema->fields)
            parts.append(u"%1:%2:%3:%4:%5:%6:%7"_s.arg(field.name)
                             .arg(int(field.type))
                             .arg(field.width)
                             .arg(field.digits)
                             .arg(field.places)
                             .arg(field.minimum)
                             .arg(field.maximum));
        for (const KeyDef &key : schema->keys)
            parts.append(u"%1:%2:%3:%4"_s.arg(key.name)
                             .arg(key.unique)
                             .arg(key.descending)
                             .arg(key.fields.join(u',')));
        hash.addData(parts.join(u';').toUtf8());
        hash.addData(QByteArrayView("\n"));
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

void Company::layOut()
{
    // Tables are created and upgraded only when the declarations changed:
    // an ordinary open takes no schema locks, so it never waits behind (or
    // fails beside) another station's work.
    const QString version = schemaVersionOf(m_catalog);
    if (m_db->schemaVersion() == version)
        return;
    if (m_db->isReadOnly())
        throw DataError("The company is open read-only and was laid out by another version of "
                        "QAVEQ; open it once where it may be written.");
    for (const FileSchema *schema : m_catalog.files())
        if (!schema->isAlias()) {
            m_db->ensureTable(*schema);
            if (schema->upgrade)
                schema->upgrade(*m_db);
        }
    m_db->setSchemaVersion(version);
}

Table &Company::file(QStringView name)
{
    const FileSchema *schema = m_catalog.find(name);
    if (!schema)
        throw std::invalid_argument(u"no file %1 in the catalog"_s.arg(name).toStdString());
    auto &table = m_tables[schema->name];
    if (!table)
        table = std::make_unique<Table>(*m_db, *schema);
    return *table;
}

} // namespace qaveq::data
