#include "DialogFrame.h"

#include <QWidget>

namespace qaveq {

Qt::WindowFlags dialogFrame()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

void useDialogFrame(QWidget *dialog)
{
    dialog->setWindowFlags(dialogFrame());
}

} // namespace qaveq
