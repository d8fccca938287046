#include "QtFileChooser.h"

#include "FileDialogFolder.h"

#include <QFileDialog>

namespace qaveq {

QString QtFileChooser::choose(Purpose purpose, const QString &caption, const QString &path,
                              const QString &filter)
{
    const QString start = FileDialogFolder::start(path);
    const QString chosen =
        purpose == Purpose::Save
            ? QFileDialog::getSaveFileName(m_parent, caption, start, filter, &m_chosenFilter)
            : QFileDialog::getOpenFileName(m_parent, caption, start, filter, &m_chosenFilter);
    FileDialogFolder::remember(chosen);
    return chosen;
}

QStringList QtFileChooser::chooseSeveral(const QString &caption, const QString &path,
                                         const QString &filter)
{
    const QStringList chosen = QFileDialog::getOpenFileNames(
        m_parent, caption, FileDialogFolder::start(path), filter, &m_chosenFilter);
    if (!chosen.isEmpty())
        FileDialogFolder::remember(chosen.first());
    return chosen;
}

} // namespace qaveq
