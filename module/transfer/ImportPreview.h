#pragma once

#include "ImportLine.h"

#include <QList>
#include <QString>

namespace qaveq {

// The import window's preview list: one column per field of the layout in
// layout order (unused columns give none), each with its heading, width,
// alignment and picture.
namespace ImportPreview {

struct Column
{
    QChar code;
    QString heading;
    int width = 0; // in the suite's dialog units
    bool right = false;
    QString picture;
};

QList<Column> columns(const QList<ImportLayout::Item> &items);
// A parsed line's value under a column's picture.
QString text(const ImportLine::Fields &fields, const Column &column);

} // namespace ImportPreview

} // namespace qaveq
