#pragma once

#include <QByteArray>
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QtNumeric>

#include <cstring>
#include <optional>
#include <variant>
#include <vector>

class QFont;
class QPainter;

namespace qaveq::report {

// Report geometry is kept in decipoints (1/720 inch) and fonts are sized in
// the same unit, so a page looks the same on the screen, the printer and in a
// PDF whatever each device's resolution.
constexpr qreal UnitsPerInch = 720.0;
constexpr qreal UnitsPerPoint = 10.0;

struct TextStyle
{
    // "Arial Narrow" is the family reports ask for; the runtime maps it to
    // Liberation Sans Narrow, which has the same widths.
    QString family = QStringLiteral("Arial Narrow");
    int size = 80; // decipoints: 8 point
    bool bold = false;
    bool italic = false;
};

struct TextElement
{
    QRectF rect;
    QString text;
    TextStyle font;
    int alignment = 0x0001 | 0x0080; // Qt::AlignLeft | Qt::AlignVCenter
    QColor color = Qt::black;
};

struct LineElement
{
    QPointF from, to;
    qreal width = 5; // half a point
    QColor color = Qt::black;
};

// A box with an optional border; a box without border is shading.
struct BoxElement
{
    QRectF rect;
    QColor fill;   // invalid: not filled
    QColor border; // invalid: no border
    qreal borderWidth = 5;
};

// A raster image (PNG or JPEG bytes), scaled into its rectangle keeping its shape.
struct ImageElement
{
    QRectF rect;
    QByteArray encoded;
};

// A vector drawing in SVG, such as a graph.
struct DrawingElement
{
    QRectF rect;
    QByteArray svg;
};

using Element = std::variant<TextElement, LineElement, BoxElement, ImageElement, DrawingElement>;

// The font a report element is drawn in.
QFont toQFont(const TextStyle &style);

// Moves an element by `offset`.
void translate(Element &element, const QPointF &offset);
// The topmost y an element covers.
qreal top(const Element &element);

// One laid-out page: what the engine stores in the page list and what the
// preview, the printer and the PDF generator replay.
struct PageImage
{
    QSizeF size; // decipoints
    std::vector<Element> elements;

    // The page as the page list stores it (PageWriter's bytes; none for a
    // page PageWriter cannot store), and back; none for bytes that are not a
    // whole page of this format.
    QByteArray toBytes() const;
    static std::optional<PageImage> fromBytes(const QByteArray &bytes);

    // Paints in page units: the caller scales the painter from decipoints to
    // its device.
    void paint(QPainter &painter) const;
};

// A page written in the page list's format as its elements are placed: the
// report engine lays each band straight into the bytes the list stores, with
// no element kept in between.
class PageWriter
{
public:
    explicit PageWriter(const QSizeF &size);

    // Adds the element moved by `offset`.
    void add(const Element &element, const QPointF &offset = {});
    // The whole page, or none when a text, image or drawing on it was too
    // long for its stored length; the writer is empty after.
    std::optional<QByteArray> finish();

private:
    template <typename T> void value(const T &v);
    void value(const QPointF &point);
    void value(const QRectF &rect);
    void value(const QColor &color);
    void value(const QString &text);
    void value(const QByteArray &data);
    template <typename... T> void values(const T &...v);
    // Inline: called for every value of every element.
    void raw(const void *data, qsizetype size)
    {
        if (m_bytes.size() - m_used < size)
            grow(size);
        std::memcpy(m_data + m_used, data, size_t(size));
        m_used += size;
    }
    void grow(qsizetype size);
    quint32 formatNumber(const TextElement &text);

    QByteArray m_bytes;
    char *m_data; // m_bytes's own, kept to spare a detach check a value
    qsizetype m_used = 0;
    quint32 m_count = 0;
    bool m_tooLong = false;
    struct TextFormat
    {
        TextStyle style;
        int alignment;
        QColor color;
        qreal width;
        qreal height;
        std::size_t next = std::size_t(-1); // the format used after this one, last time
    };
    std::vector<TextFormat> m_formats;
    std::size_t m_lastFormat = std::size_t(-1);
    qreal m_lastTextTop = qQNaN(); // where the last text's row is; none yet
};

} // namespace qaveq::report
