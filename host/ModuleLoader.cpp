#include "ModuleLoader.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq::host {

QString ModuleLoader::defaultPath()
{
    const QString configured = qEnvironmentVariable("QAVEQ_MODULE");
    if (!configured.isEmpty())
        return configured;
    // Beside the program in a build folder; installed, in the program's own
    // library folder.
    const QDir program(QCoreApplication::applicationDirPath());
    if (program.exists(u"libqaveq.so"_s))
        return program.filePath(u"libqaveq.so"_s);
    return QDir::cleanPath(
        program.filePath(QStringLiteral(QAVEQ_LIBDIR_FROM_PROGRAM "/libqaveq.so")));
}

ModuleLoader::ModuleLoader(const QString &path)
    : m_library(path)
{}

ModuleLoader::~ModuleLoader()
{
    unload();
}

bool ModuleLoader::load(QString *error)
{
    if (!m_library.load()) {
        *error = u"The equipment module cannot be loaded: %1"_s.arg(m_library.errorString());
        return false;
    }
    m_init = reinterpret_cast<QaveqInitFunction>(m_library.resolve("QAVEQ_INIT"));
    m_kill = reinterpret_cast<QaveqKillFunction>(m_library.resolve("QAVEQ_KILL"));
    const auto exports = reinterpret_cast<QaveqExportsFunction>(m_library.resolve("qaveq_exports"));
    if (!m_init || !m_kill || !exports) {
        *error = u"%1 is not the equipment module: its entry operations are missing."_s.arg(
            m_library.fileName());
        m_library.unload();
        return false;
    }
    int count = 0;
    const QaveqExport *table = exports(&count);
    m_exports.clear();
    for (int i = 0; i < count; ++i)
        m_exports.append(Procedure{QString::fromLatin1(table[i].name),
                                   QString::fromUtf8(table[i].what), table[i].procedure,
                                   table[i].built != 0});
    return true;
}

void ModuleLoader::init(data::ErrorManager *errors, data::IniManager *ini)
{
    if (m_init)
        m_init(errors, ini);
}

void ModuleLoader::kill()
{
    if (m_kill)
        m_kill();
}

void ModuleLoader::unload()
{
    m_exports.clear();
    m_init = nullptr;
    m_kill = nullptr;
    if (m_library.isLoaded())
        m_library.unload();
}

bool ModuleLoader::call(const QString &name) const
{
    for (const Procedure &procedure : m_exports)
        if (procedure.name == name && procedure.entry) {
            procedure.entry();
            return true;
        }
    return false;
}

} // namespace qaveq::host
