#pragma once

#include "PageImage.h"

#include <QStringList>

namespace qaveq::report {

// One printed band of a report: a strip as wide as the page's printable
// area, its elements placed relative to its own top left corner, and the text
// lines it adds to the report's export list.
struct Band
{
    qreal height = 0; // decipoints
    std::vector<Element> elements;
    QStringList exportLines;

    // The band's elements, each added where it goes.
    Band &text(const QRectF &rect, QString text, const TextStyle &font = {},
               int alignment = 0x0001 | 0x0080, const QColor &color = Qt::black)
    {
        elements.push_back(TextElement{rect, std::move(text), font, alignment, color});
        return *this;
    }
    Band &line(const QPointF &from, const QPointF &to, qreal width = 5,
               const QColor &color = Qt::black)
    {
        elements.push_back(LineElement{from, to, width, color});
        return *this;
    }
    Band &box(const QRectF &rect, const QColor &fill, const QColor &border = {},
              qreal borderWidth = 5)
    {
        elements.push_back(BoxElement{rect, fill, border, borderWidth});
        return *this;
    }
    Band &drawing(const QRectF &rect, const QByteArray &svg)
    {
        elements.push_back(DrawingElement{rect, svg});
        return *this;
    }
    Band &image(const QRectF &rect, const QByteArray &encoded)
    {
        elements.push_back(ImageElement{rect, encoded});
        return *this;
    }
    Band &exportLine(QString line)
    {
        exportLines.append(std::move(line));
        return *this;
    }
    // Adds `below` under what the band holds, growing it by its height.
    Band &append(const Band &below)
    {
        for (Element element : below.elements) {
            translate(element, QPointF(0, height));
            elements.push_back(std::move(element));
        }
        exportLines.append(below.exportLines);
        height += below.height;
        return *this;
    }
};

} // namespace qaveq::report
