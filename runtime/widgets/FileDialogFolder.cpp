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
    if (last().isEmpty() || !QFileInfo(last()).isDir())
        return offered;
    const QFileInfo info(offered);
    return offered.isEmpty() || info.isDir() ? last() : QDir(last()).filePath(info.fileName());
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
