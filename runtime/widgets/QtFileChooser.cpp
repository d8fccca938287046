#include "QtFileChooser.h"

#include "FileDialogFolder.h"

#include <QFileDialog>

namespace qaveq {

QString QtFileChooser::choose(Purpose purpose, const QString &caption, const QString &path,
                              const QString &filter)
{
    const QString start = startAt(path);
    const QString chosen =
        purpose == Purpose::Save
            ? QFileDialog::getSaveFileName(m_parent, caption, start, filter, &m_chosenFilter)
            : QFileDialog::getOpenFileName(m_parent, caption, start, filter, &m_chosenFilter);
    FileDialogFolder::remember(chosen);
    return chosen;
}

QString QtFileChooser::startAt(const QString &offered) const
{
    return m_start == Start::Offered ? offered : FileDialogFolder::start(offered);
}

QStringList QtFileChooser::chooseSeveral(const QString &caption, const QString &path,
                                         const QString &filter)
{
    const QStringList chosen =
        QFileDialog::getOpenFileNames(m_parent, caption, startAt(path), filter, &m_chosenFilter);
    if (!chosen.isEmpty())
        FileDialogFolder::remember(chosen.first());
    return chosen;
}

} // namespace qaveq
