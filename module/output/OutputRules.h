#pragma once

#include <QString>

namespace qaveq::OutputRules {

// How the preview opens: at a percentage, or fitted (zoom mode flag 16).
struct PreviewZoom
{
    enum Flag { None = 0, Percentage = 8, Fit = 16 };
    int percent = 100;
    int flags = None;
};

// The preview zoom from GLO:PreviewZoom: 1 fits the page, 2 means 100% and is
// stored back as 100 so later reports open at 100 too, any higher value is a
// percentage; 0 opens at 100%.
PreviewZoom previewZoom(int &previewZoomGlobal);

// The message when a report found nothing to print, from the number of
// records in its primary file.
QString nothingToPrintText(qint64 primaryRecords);

// A report's PDF name appended to the user's PDF folder.
QString pdfFileName(const QString &pdfPath, const QString &reportFileName);

} // namespace qaveq::OutputRules
