#pragma once

#include "Catalog.h"
#include "Database.h"
#include "Table.h"

#include <QString>

#include <map>
#include <memory>

namespace qaveq::data {

// A company is a folder: its settings file "company.ini", its SQLite database
// "company.sqlite" (unless the settings name a PostgreSQL server), its INI
// files and its image store.
//
// company.ini:
//   [Company]   ID=DEMO  Name=...
//   [Database]  Driver=PostgreSQL  Host=...  Port=5432  Name=...  User=...  Password=... Schema=...
class Company
{
public:
    static QString settingsFile(const QString &folder);
    static bool exists(const QString &folder);
    static ConnectionSettings connectionSettings(const QString &folder);
    // Names a PostgreSQL server in the company's settings, as connectionSettings() reads it
    // (the password is kept private to the owner).
    static void setPostgresServer(const QString &folder, const ConnectionSettings &server);
    // A company ID: 1 to 5 letters, digits, "-" or "_" (it names folders).
    static bool isValidId(const QString &id);

    // Opens (creating when missing) the company's database and lays out every
    // file of the catalog: missing tables and indexes are created, columns an
    // older company lacks are added. Throws DataError.
    Company(const QString &folder, Catalog catalog);
    // A company over the given connection, without a folder of its own (tests).
    Company(const ConnectionSettings &settings, Catalog catalog);

    QString folder() const { return m_folder; }
    QString id() const { return m_id; }
    QString name() const { return m_name; }
    void setIdentity(const QString &id, const QString &name); // written to company.ini
    // Makes company.ini readable by its owner only when it holds a database
    // password. Throws DataError when it cannot.
    static void keepPasswordPrivate(const QString &folder);

    Database &database() { return *m_db; }
    const Catalog &catalog() const { return m_catalog; }

    // Throws std::invalid_argument for a file the catalog does not hold.
    Table &file(QStringView name);
    template <class R> Table &file() { return file(R::fileSchema().name); }

private:
    void layOut();

    QString m_folder;
    QString m_id;
    QString m_name;
    Catalog m_catalog;
    std::unique_ptr<Database> m_db;
    std::map<QString, std::unique_ptr<Table>> m_tables;
};

} // namespace qaveq::data
