#pragma once

#include "frame/ModuleExports.h"

#include <QLibrary>
#include <QList>
#include <QString>

namespace qaveq::host {

// Loads the equipment module (libqaveq) at run time, finds its entry
// operations and exported table, and unloads it again.
class ModuleLoader
{
public:
    struct Procedure
    {
        QString name;
        QString what;
        void (*entry)() = nullptr; // null for the entry operations
        bool built = true;         // false: its screen is still to come
    };

    // The module beside the program, unless QAVEQ_MODULE names another file.
    static QString defaultPath();

    explicit ModuleLoader(const QString &path = defaultPath());
    ~ModuleLoader();

    bool load(QString *error);
    bool isLoaded() const { return m_library.isLoaded(); }
    void init(data::ErrorManager *errors, data::IniManager *ini);
    void kill();
    void unload();

    const QList<Procedure> &exports() const { return m_exports; }
    // Runs a procedure by name; false when the module has none of that name.
    bool call(const QString &name) const;

private:
    QLibrary m_library;
    QaveqInitFunction m_init = nullptr;
    QaveqKillFunction m_kill = nullptr;
    QList<Procedure> m_exports;
};

} // namespace qaveq::host
