#include "QtFileChooser.h"

#include <QFileDialog>

namespace qaveq {

QString QtFileChooser::choose(Purpose purpose, const QString &caption, const QString &path,
                              const QString &filter)
{
    return purpose == Purpose::Save
               ? QFileDialog::getSaveFileName(m_parent, caption, path, filter, &m_chosenFilter)
               : QFileDialog::getOpenFileName(m_parent, caption, path, filter, &m_chosenFilter);
}

} // namespace qaveq
