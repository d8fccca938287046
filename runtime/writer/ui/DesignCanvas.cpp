#include "DesignCanvas.h"

#include "runtime/writer/ReportProcessor.h"

#include "runtime/report/PageImage.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

namespace {

// What the canvas shows for values: field labels in brackets, totals as
// their kind, the report's own values by name.
class DesignValues final : public ValueSource
{
public:
    explicit DesignValues(const Catalogue &catalogue)
        : m_catalogue(catalogue)
    {}

    QString field(const ReportObject &object) const override
    {
        const CatalogueField *field = m_catalogue.field(object.field);
        const QString label = field ? field->label : object.field;
        switch (object.total) {
        case Total::Sum:
            return u"Sum(%1)"_s.arg(label);
        case Total::Count:
            return u"Count(%1)"_s.arg(label);
        case Total::None:
            break;
        }
        return u'[' + label + u']';
    }
    QString variable(const QString &name) const override { return u'{' + name + u'}'; }

private:
    const Catalogue &m_catalogue;
};

constexpr int Margin = 8;

} // namespace

DesignCanvas::DesignCanvas(DesignModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Mid);
    refresh();
}

void DesignCanvas::refresh()
{
    m_order = m_model.bandOrder();
    m_areas = QList<QRect>(qsizetype(m_model.document().bands.size()));
    const int width = int(m_model.document().page.printable().width() * Scale);
    int y = Margin;
    for (int band : m_order) {
        y += CaptionHeight;
        const int height =
            std::max(4, int(m_model.document().bands[std::size_t(band)].height * Scale));
        m_areas[band] = QRect(Margin, y, width, height);
        y += height + 1;
    }
    setMinimumSize(width + 2 * Margin, y + Margin);
    updateGeometry();
    update();
}

QSize DesignCanvas::sizeHint() const
{
    return minimumSize();
}

QRect DesignCanvas::bandArea(int band) const
{
    return band >= 0 && band < m_areas.size() ? m_areas.at(band) : QRect();
}

int DesignCanvas::bandAt(QPoint point) const
{
    for (int band : m_order) {
        // The caption strip above a band belongs to it.
        if (m_areas.at(band).adjusted(0, -CaptionHeight, 0, 0).contains(point))
            return band;
    }
    return -1;
}

QPointF DesignCanvas::toBand(int band, QPoint point) const
{
    const QRect area = bandArea(band);
    return QPointF((point.x() - area.x()) / Scale, (point.y() - area.y()) / Scale);
}

QPoint DesignCanvas::fromBand(int band, QPointF point) const
{
    const QRect area = bandArea(band);
    return QPoint(area.x() + int(point.x() * Scale), area.y() + int(point.y() * Scale));
}

QRectF DesignCanvas::objectOnCanvas(int band, const QRectF &rect) const
{
    const QRect area = bandArea(band);
    return QRectF(area.x() + rect.x() * Scale, area.y() + rect.y() * Scale,
                  std::max<qreal>(3, rect.width() * Scale),
                  std::max<qreal>(3, rect.height() * Scale));
}

QRect DesignCanvas::handle(const QRectF &object) const
{
    return QRect(int(object.right()) - 3, int(object.bottom()) - 3, 7, 7);
}

void DesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ReportDocument &document = m_model.document();
    const DesignValues values(m_model.catalogue());
    const DesignModel::Selection selection = m_model.selection();
    for (int index : m_order) {
        const ReportBand &band = document.bands[std::size_t(index)];
        const QRect area = m_areas.at(index);
        const QRect caption(area.x(), area.y() - CaptionHeight, area.width(), CaptionHeight);
        painter.fillRect(caption, index == selection.band && !selection.isObject()
                                      ? palette().highlight()
                                      : palette().button());
        painter.setPen(index == selection.band && !selection.isObject()
                           ? palette().highlightedText().color()
                           : palette().buttonText().color());
        painter.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         bandCaption(band, m_model.catalogue()));
        painter.fillRect(area, Qt::white);
        // The grid, every half inch, faintly.
        painter.setPen(QColor(0xE4, 0xE8, 0xEE));
        for (qreal x = 360; x < document.page.printable().width(); x += 360)
            painter.drawLine(QPointF(area.x() + x * Scale, area.y()),
                             QPointF(area.x() + x * Scale, area.bottom()));

        painter.save();
        painter.setClipRect(area);
        painter.translate(area.topLeft());
        painter.scale(Scale, Scale);
        report::PageImage image;
        image.size = QSizeF(document.page.printable().width(), band.height);
        ReportBand shown = band;
        if (index == selection.band && selection.isObject() && m_drag != Drag::None)
            shown.objects[std::size_t(selection.object)].rect = m_dragRect;
        image.elements = renderBand(shown, m_model.catalogue(), values).elements;
        image.paint(painter);
        painter.restore();

        if (index == selection.band && selection.isObject()) {
            const QRectF object =
                objectOnCanvas(index, shown.objects[std::size_t(selection.object)].rect);
            painter.setPen(QPen(palette().highlight().color(), 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(object);
            painter.fillRect(handle(object), palette().highlight());
        }
    }
}

void DesignCanvas::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const int band = bandAt(point);
    DesignModel::Selection selection{band, -1};
    if (band >= 0) {
        const auto &objects = m_model.document().bands[std::size_t(band)].objects;
        // The topmost object under the mouse, or the selected one's handle.
        const DesignModel::Selection current = m_model.selection();
        if (current.band == band && current.isObject() &&
            handle(objectOnCanvas(band, objects[std::size_t(current.object)].rect))
                .contains(point)) {
            selection = current;
        } else {
            for (int i = int(objects.size()) - 1; i >= 0; --i) {
                if (objectOnCanvas(band, objects[std::size_t(i)].rect)
                        .adjusted(-2, -2, 2, 2)
                        .contains(point)) {
                    selection.object = i;
                    break;
                }
            }
        }
    }
    m_model.select(selection);
    if (const ReportObject *object = m_model.selectedObject();
        object && event->button() == Qt::LeftButton) {
        m_dragRect = object->rect;
        m_pressed = point;
        m_drag =
            handle(objectOnCanvas(band, object->rect)).contains(point) ? Drag::Resize : Drag::Move;
    }
    update();
    Q_EMIT changed();
}

void DesignCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const ReportObject *object = m_model.selectedObject();
    if (m_drag == Drag::None || !object)
        return;
    const QPointF delta = QPointF(event->position().toPoint() - m_pressed) / Scale;
    m_dragRect = m_drag == Drag::Move ? object->rect.translated(DesignModel::snap(delta.x()),
                                                                DesignModel::snap(delta.y()))
                                      : object->rect.adjusted(0, 0, DesignModel::snap(delta.x()),
                                                              DesignModel::snap(delta.y()));
    update();
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent *)
{
    if (m_drag == Drag::None)
        return;
    m_drag = Drag::None;
    // One step on the undo list for the whole drag.
    if (m_model.setSelectedRect(m_dragRect))
        Q_EMIT changed();
    update();
}

void DesignCanvas::keyPressEvent(QKeyEvent *event)
{
    const qreal step = DesignModel::Grid;
    qreal dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    case Qt::Key_Delete:
        if (m_model.removeSelected()) {
            refresh();
            Q_EMIT changed();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const bool done = event->modifiers() & Qt::ShiftModifier ? m_model.resizeSelected(dx, dy)
                                                             : m_model.moveSelected(dx, dy);
    if (done) {
        update();
        Q_EMIT changed();
    }
}

void DesignCanvas::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(FieldMimeType)))
        event->acceptProposedAction();
}

void DesignCanvas::dragMoveEvent(QDragMoveEvent *event)
{
    if (bandAt(event->position().toPoint()) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void DesignCanvas::dropEvent(QDropEvent *event)
{
    const QPoint point = event->position().toPoint();
    const int band = bandAt(point);
    const QString field =
        QString::fromUtf8(event->mimeData()->data(QString::fromLatin1(FieldMimeType)));
    if (band < 0 || !m_model.dropField(band, field, toBand(band, point)))
        return;
    event->acceptProposedAction();
    refresh();
    Q_EMIT changed();
}

} // namespace qaveq::writer
