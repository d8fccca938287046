#pragma once

#include <QIcon>
#include <QPixmap>

namespace qaveq::Icons {

// The small pictures screens name ("~gl.ico", "~attach.ico", "~pdf.gif",
// "~nophoto.gif", ...; a name's ".png" form is the same picture), drawn here
// so that the program needs no image files beside it. An unknown name gives
// a null picture.
QPixmap picture(QStringView name, const QSize &size);
QIcon icon(QStringView name);
// The picture as PNG bytes, for a report page.
QByteArray png(QStringView name, const QSize &size);

} // namespace qaveq::Icons
