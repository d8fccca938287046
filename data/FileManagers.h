#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace qaveq::data {

class ErrorManager;

// The file managers of the files a module uses, each with the error manager
// its errors are reported through, kept in the order they were handed over.
// A file this system does not declare is kept by name all the same.
class FileManagers
{
public:
    void handOver(const QString &file, ErrorManager *errors);
    ErrorManager *errorManager(const QString &file) const;
    QStringList files() const;

    // The file managers of this process.
    static FileManagers &shared();

private:
    QList<std::pair<QString, ErrorManager *>> m_managers;
};

} // namespace qaveq::data
