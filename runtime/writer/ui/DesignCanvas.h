#pragma once

#include "runtime/writer/DesignModel.h"

#include <QWidget>

namespace qaveq::writer {

// The bands of the report under design, drawn as they print, with the
// fields shown by their names. Objects are selected and moved with the
// mouse (dragging the corner handle resizes) or the arrow keys (with Shift:
// resized), always on the grid; catalogue fields are dropped on a band.
class DesignCanvas : public QWidget
{
    Q_OBJECT

public:
    // The mime type of a field dragged from the catalogue tree: its name.
    static constexpr auto FieldMimeType = "application/x-qaveq-field";
    // Screen pixels per decipoint at 100%.
    static constexpr qreal Scale = 0.16;
    static constexpr int CaptionHeight = 18;

    DesignCanvas(DesignModel &model, QWidget *parent = nullptr);

    // Lays the bands out again after the report changed.
    void refresh();
    // Where a band's area starts on the canvas and the band at a point.
    QRect bandArea(int band) const;
    int bandAt(QPoint point) const;
    // A point of the canvas in a band's decipoints.
    QPointF toBand(int band, QPoint point) const;
    QPoint fromBand(int band, QPointF point) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The report or the selection changed through the canvas.
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    enum class Drag { None, Move, Resize };
    QRect handle(const QRectF &objectOnCanvas) const;
    QRectF objectOnCanvas(int band, const QRectF &rect) const;

    DesignModel &m_model;
    QList<int> m_order;   // bands in print order
    QList<QRect> m_areas; // by band index
    Drag m_drag = Drag::None;
    QPoint m_pressed;
    QRectF m_dragRect; // the selected object's rectangle while dragged, decipoints
};

} // namespace qaveq::writer
