#include "FileDialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qaveq::FileDialogFolder {

namespace {

QString &last()
{
    static QString folder;
    return folder;
}

} // namespace

QString start(const QString &offered)
{
    return last().isEmpty() || !QFileInfo(last()).isDir() ? offered : last();
}

void remember(const QString &chosenFile)
{
    if (!chosenFile.isEmpty())
        last() = QFileInfo(chosenFile).absolutePath();
}

QString documents()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

} // namespace qaveq::FileDialogFolder
