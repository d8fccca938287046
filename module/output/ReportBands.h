#pragma once

#include "runtime/report/Band.h"

#include <QDateTime>

namespace qaveq::ReportBands {

// What every report prints at the top and bottom of its pages.
struct Standard
{
    QString company;
    QString title;
    QDateTime run;
    QStringList limits; // the report's limits lines, in the footer
    QString footerMessage;
    QColor titleColor;
    QColor shadingColor; // invalid: no shading
    QColor footerColor;
    qreal width = 0; // of the printable area
};

report::Band pageHeader(const Standard &standard);
report::Band pageFooter(const Standard &standard, int page);

// The fonts reports print in: Arial Narrow at the given point size.
report::TextStyle font(int points, bool bold = false);

// A colour from the suite's 0xRRGGBB value; -1 is none.
QColor color(int value);

} // namespace qaveq::ReportBands
