#include "Prompter.h"

#include <QStringList>

namespace qaveq {

QStringList Message::buttonLabels() const
{
    QStringList labels = buttons.split(u'|');
    for (QString &label : labels)
        label.remove(u'&');
    return labels;
}

} // namespace qaveq
