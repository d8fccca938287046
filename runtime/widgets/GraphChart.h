#pragma once

#include "runtime/report/Graph.h"

#include <QChartView>

namespace qaveq {

// Line graphs drawn with Qt Charts: on screen in a chart view, and as SVG for
// a report page.
namespace GraphChart {

// The range of a value axis and the round step its labels stand at.
struct AxisScale
{
    double low = 0;
    double high = 1;
    double step = 1;

    // The labelled values: every multiple of the step within the range.
    QList<double> ticks() const;
};

// A scale of at most `parts` round steps (1, 2 or 5 times a power of ten, at
// least 1) over the values from `low` to `high`; the range widens to whole
// steps unless it is `fixed`.
AxisScale scale(double low, double high, bool fixed, int parts);

// A chart of the graph; the caller owns it.
QChart *create(const report::Graph &graph);
// The graph as an SVG drawing of `size` (page units; only the shape counts).
QByteArray svg(const report::Graph &graph, const QSizeF &size);

} // namespace GraphChart

// A chart view whose pop-up menu saves the graph as a PNG or SVG file.
class GraphView : public QChartView
{
    Q_OBJECT

public:
    explicit GraphView(const report::Graph &graph, QWidget *parent = nullptr);

    // Writes the graph to `path`, as SVG when the name ends in ".svg", else
    // as PNG; false when the file cannot be written.
    bool saveAs(const QString &path);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    report::Graph m_graph;
};

} // namespace qaveq
