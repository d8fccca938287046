#include "GraphChart.h"

#include "FileDialogFolder.h"
#include "QtFileChooser.h"
#include "QtPrompter.h"

#include "core/Picture.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QContextMenuEvent>
#include <QDir>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace GraphChart {

namespace {

// Labels at every multiple of `step` within the axis' range, so that the
// axis reads in round figures ("25,000", "50,000") or whole years.
void labelAxis(QCategoryAxis *axis, const AxisScale &scale, const Picture &picture)
{
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setStartValue(scale.low);
    axis->setRange(scale.low, scale.high);
    for (const double value : scale.ticks())
        axis->append(picture.format(qint64(std::llround(value))), value);
}

} // namespace

QList<double> AxisScale::ticks() const
{
    QList<double> values;
    const double tolerance = step * 1e-9;
    for (double value = std::ceil(low / step - 1e-9) * step; value <= high + tolerance;
         value += step)
        values.append(value);
    return values;
}

AxisScale scale(double low, double high, bool fixed, int parts)
{
    // Figures are whole units (currency, years): never a step below one.
    const double raw = std::max((high - low) / parts, 1.0);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw * (1 - 1e-9)) {
            step = factor * power;
            break;
        }
    }
    if (fixed)
        return {low, high, step};
    const double first = std::floor(low / step + 1e-9) * step;
    const double last = std::ceil(high / step - 1e-9) * step;
    return {first, std::max(last, first + step), step};
}

QChart *create(const report::Graph &graph)
{
    auto *chart = new QChart;
    chart->setTitle(graph.title);
    QFont titleFont = chart->titleFont();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setBackgroundRoundness(0);

    auto *x = new QCategoryAxis;
    x->setTitleText(graph.xTitle);
    auto *y = new QCategoryAxis;
    y->setTitleText(graph.yTitle);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    double low = graph.yMin.value_or(0), high = graph.yMax.value_or(0);
    for (const report::Graph::Series &data : graph.series) {
        auto *series = new QLineSeries;
        series->setName(data.name);
        series->setPointsVisible(true);
        for (int i = 0; i < data.values.size() && i < graph.x.size(); ++i) {
            series->append(graph.x.at(i), data.values.at(i));
            if (!graph.yMin)
                low = std::min(low, data.values.at(i));
            if (!graph.yMax)
                high = std::max(high, data.values.at(i));
        }
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    const double first = graph.x.isEmpty() ? 0 : *std::min_element(graph.x.begin(), graph.x.end());
    const double last = graph.x.isEmpty() ? 0 : *std::max_element(graph.x.begin(), graph.x.end());
    // A single point still gets an axis either side of it.
    const AxisScale years =
        first == last ? AxisScale{first - 1, last + 1, 1} : scale(first, last, true, 10);
    labelAxis(x, years, Picture::parse(u"@n_9"));
    // A fixed range stays exactly what was asked.
    const bool fixed = graph.yMin && graph.yMax && *graph.yMin < *graph.yMax;
    labelAxis(y, scale(low, high, fixed, 8), Picture::parse(u"@n-15"));
    return chart;
}

QByteArray svg(const report::Graph &graph, const QSizeF &size)
{
    // Drawn at a screen-like size, so that the chart's fonts and lines keep
    // their proportions; the page scales the drawing into its place.
    const QSize canvas(760, std::max(1, int(760 * size.height() / size.width())));
    QGraphicsScene scene;
    QChart *chart = create(graph);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), canvas));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(canvas);
    generator.setViewBox(QRect(QPoint(0, 0), canvas));
    generator.setTitle(graph.title);
    QPainter painter(&generator);
    scene.render(&painter, QRectF(QPointF(0, 0), canvas), QRectF(QPointF(0, 0), canvas));
    painter.end();
    return buffer.data();
}

} // namespace GraphChart

GraphView::GraphView(const report::Graph &graph, QWidget *parent)
    : QChartView(GraphChart::create(graph), parent)
    , m_graph(graph)
{
    setRenderHint(QPainter::Antialiasing);
}

bool GraphView::saveAs(const QString &path)
{
    if (path.endsWith(u".svg"_s, Qt::CaseInsensitive)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        return file.write(GraphChart::svg(m_graph, QSizeF(size()))) > 0;
    }
    return grab().save(path, "PNG");
}

void GraphView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *save = menu.addAction(u"Save As..."_s);
    if (menu.exec(event->globalPos()) != save)
        return;
    QString path = QtFileChooser(this).choose(
        FileChooser::Purpose::Save, u"Save Graph As"_s,
        QDir(FileDialogFolder::documents()).filePath(m_graph.title + u".png"_s),
        u"PNG Image (*.png);;SVG Drawing (*.svg)"_s);
    if (path.isEmpty())
        return;
    if (!path.contains(u'.'))
        path += u".png"_s;
    if (!saveAs(path))
        QtPrompter(this).ask(Message::alert(u"Save As"_s, u"%1 cannot be written."_s.arg(path)));
}

} // namespace qaveq
