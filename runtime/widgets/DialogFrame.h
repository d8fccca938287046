#pragma once

#include <QtCore/qnamespace.h>

class QWidget;

namespace qaveq {

// A dialog that asks or reports something, framed as desktops frame such
// dialogs: a title and a close button, no minimise or maximise buttons.
Qt::WindowFlags dialogFrame();
void useDialogFrame(QWidget *dialog);

} // namespace qaveq
