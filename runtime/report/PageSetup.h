#pragma once

#include "PageImage.h"

#include <QMarginsF>
#include <QPageSize>

namespace qaveq::report {

// The paper a report is laid out on, in decipoints.
struct PageSetup
{
    QPageSize::PageSizeId paper = QPageSize::Letter;
    bool landscape = false;
    QMarginsF margins{360, 360, 360, 360}; // half an inch each side

    QSizeF pageSize() const
    {
        const QSizeF points = QPageSize(paper).size(QPageSize::Point);
        const QSizeF size = points * UnitsPerPoint;
        return landscape ? size.transposed() : size;
    }
    // Where bands go: the page less its margins.
    QRectF printable() const { return QRectF(QPointF(0, 0), pageSize()).marginsRemoved(margins); }
};

} // namespace qaveq::report
