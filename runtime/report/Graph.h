#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qaveq::report {

// What a line graph shows, apart from how it is drawn: the report engine
// places it as a drawing, a window shows it in a chart view.
struct Graph
{
    struct Series
    {
        QString name;
        QList<double> values; // one per point of the x axis
    };

    QString title;
    QString xTitle;
    QString yTitle;
    QList<double> x; // the points along the x axis
    QList<Series> series;
    std::optional<double> yMin, yMax; // the value axis' range when fixed
};

} // namespace qaveq::report
