#include "FileManagers.h"

namespace qaveq::data {

void FileManagers::handOver(const QString &file, ErrorManager *errors)
{
    for (auto &[name, manager] : m_managers)
        if (name == file) {
            manager = errors;
            return;
        }
    m_managers.append({file, errors});
}

ErrorManager *FileManagers::errorManager(const QString &file) const
{
    for (const auto &[name, manager] : m_managers)
        if (name.compare(file, Qt::CaseInsensitive) == 0)
            return manager;
    return nullptr;
}

QStringList FileManagers::files() const
{
    QStringList names;
    for (const auto &entry : m_managers)
        names.append(entry.first);
    return names;
}

FileManagers &FileManagers::shared()
{
    static FileManagers managers;
    return managers;
}

} // namespace qaveq::data
