#include "OutputRules.h"

#include "core/Text.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq::OutputRules {

PreviewZoom previewZoom(int &previewZoomGlobal)
{
    PreviewZoom zoom;
    if (previewZoomGlobal == 1) {
        zoom.flags = PreviewZoom::Fit;
        return zoom;
    }
    if (previewZoomGlobal >= 2) {
        if (previewZoomGlobal == 2)
            previewZoomGlobal = 100;
        zoom.flags = PreviewZoom::Percentage;
        zoom.percent = previewZoomGlobal;
    }
    return zoom;
}

QString nothingToPrintText(qint64 primaryRecords)
{
    if (primaryRecords <= 0)
        return u"The primary file has no records!"_s;
    if (primaryRecords == 1)
        return u"Your Limits have excluded the one record!"_s;
    if (primaryRecords == 2)
        return u"Your Limits have excluded both records!"_s;
    return u"Your Limits have excluded all "_s + QString::number(primaryRecords) + u" records!"_s;
}

QString pdfFileName(const QString &pdfPath, const QString &reportFileName)
{
    const QString folder = Text::clip(pdfPath);
    return folder.isEmpty() ? reportFileName : QDir(folder).filePath(reportFileName);
}

} // namespace qaveq::OutputRules
