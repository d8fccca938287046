#include "Company.h"

#include "FileSchema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <stdexcept>

namespace qaveq::data {

QString Company::settingsFile(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("company.ini"));
}

bool Company::exists(const QString &folder)
{
    return QFileInfo::exists(settingsFile(folder));
}

ConnectionSettings Company::connectionSettings(const QString &folder)
{
    QSettings ini(settingsFile(folder), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Database"));
    ConnectionSettings settings;
    const QString driver = ini.value(QStringLiteral("Driver"), QStringLiteral("SQLite")).toString();
    if (driver.compare(u"PostgreSQL", Qt::CaseInsensitive) == 0) {
        settings.dialect = Dialect::PostgreSQL;
        settings.host = ini.value(QStringLiteral("Host"), QStringLiteral("localhost")).toString();
        settings.port = ini.value(QStringLiteral("Port"), 5432).toInt();
        settings.databaseName = ini.value(QStringLiteral("Name")).toString();
        settings.user = ini.value(QStringLiteral("User")).toString();
        settings.password = ini.value(QStringLiteral("Password")).toString();
        settings.schema = ini.value(QStringLiteral("Schema")).toString();
    } else if (driver.compare(u"SQLite", Qt::CaseInsensitive) == 0) {
        settings.sqliteFile = QDir(folder).filePath(QStringLiteral("company.sqlite"));
        // SQLite writes beside its file (its log): the folder must be
        // writable as well as the file.
        const QFileInfo file(settings.sqliteFile);
        settings.readOnly =
            !QFileInfo(folder).isWritable() || (file.exists() && !file.isWritable());
    } else {
        throw DataError(
            QStringLiteral("%1: unknown database driver \"%2\" (use SQLite or PostgreSQL)")
                .arg(settingsFile(folder), driver)
                .toStdString());
    }
    // A station set up only to look at the company.
    if (ini.value(QStringLiteral("ReadOnly"), false).toBool())
        settings.readOnly = true;
    return settings;
}

Company::Company(const QString &folder, Catalog catalog)
    : m_folder(QDir(folder).absolutePath())
    , m_catalog(std::move(catalog))
{
    if (!QDir().mkpath(m_folder))
        throw DataError(
            QStringLiteral("Cannot create the company folder %1").arg(m_folder).toStdString());
    QSettings ini(settingsFile(m_folder), QSettings::IniFormat);
    m_id = ini.value(QStringLiteral("Company/ID")).toString();
    // The ID names the company's folders in the user's settings: one that
    // could leave them ("../x") is refused.
    if (!m_id.isEmpty() && !isValidId(m_id))
        throw DataError(QStringLiteral("%1: the company ID \"%2\" may hold only letters, digits, "
                                       "\"-\" and \"_\"")
                            .arg(settingsFile(m_folder), m_id)
                            .toStdString());
    m_name = ini.value(QStringLiteral("Company/Name")).toString();
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
    ini.setValue(QStringLiteral("Company/ID"), id);
    ini.setValue(QStringLiteral("Company/Name"), name);
}

void Company::setPostgresServer(const QString &folder, const ConnectionSettings &server)
{
    {
        QSettings ini(settingsFile(folder), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Database"));
        ini.setValue(QStringLiteral("Driver"), QStringLiteral("PostgreSQL"));
        ini.setValue(QStringLiteral("Host"), server.host);
        ini.setValue(QStringLiteral("Port"), server.port);
        ini.setValue(QStringLiteral("Name"), server.databaseName);
        ini.setValue(QStringLiteral("User"), server.user);
        ini.setValue(QStringLiteral("Password"), server.password);
        ini.setValue(QStringLiteral("Schema"), server.schema);
        ini.sync();
        if (ini.status() != QSettings::NoError)
            throw DataError(
                QStringLiteral("%1 cannot be written").arg(settingsFile(folder)).toStdString());
    }
    keepPasswordPrivate(folder);
}

void Company::keepPasswordPrivate(const QString &folder)
{
    const QString path = settingsFile(folder);
    if (QSettings(path, QSettings::IniFormat)
            .value(QStringLiteral("Database/Password"))
            .toString()
            .isEmpty())
        return;
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        throw DataError(QStringLiteral("%1 holds a password and cannot be made private")
                            .arg(path)
                            .toStdString());
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
            parts.append(QStringLiteral("%1:%2:%3:%4:%5:%6:%7")
                             .arg(field.name)
                             .arg(int(field.type))
                             .arg(field.width)
                             .arg(field.digits)
                             .arg(field.places)
                             .arg(field.minimum)
                             .arg(field.maximum));
        for (const KeyDef &key : schema->keys)
            parts.append(QStringLiteral("%1:%2:%3:%4")
                             .arg(key.name)
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
        throw std::invalid_argument(
            QStringLiteral("no file %1 in the catalog").arg(name).toStdString());
    auto &table = m_tables[schema->name];
    if (!table)
        table = std::make_unique<Table>(*m_db, *schema);
    return *table;
}

} // namespace qaveq::data
