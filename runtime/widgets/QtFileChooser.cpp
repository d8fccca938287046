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

} // namespace qaveq
