#include "PageImage.h"

#include "StoredText.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace qaveq::report {

namespace {

// "QPG" and a format number: a page from another version is refused, never
// misread.
constexpr quint32 Magic = 0x51504703;

enum Tag : quint8 { Text = 1, Line, Box, Image, Drawing, Format, TextOnRow };

} // namespace

// Pages are written and read back by the same run of the program, so values
// go in the machine's own byte order, copied as they are: a report of tens of
// thousands of pages spends its time on its data, not on converting it.
//
// A page is its size, its element count and its elements in order. A text's
// format (its style, alignment, colour and the size of its box) is shared by
// the same column on every line: each format is defined once, by a record of
// its own ahead of the first text that uses it, and texts name it by its
// place among the definitions, giving only where they go and what they say.
// A text on the same row as the text before it gives only how far across.

PageWriter::PageWriter(const QSizeF &size)
    // Room for a page of some sixty lines of text: most pages are written
    // without growing their buffer.
    : m_bytes(32 * 1024, Qt::Uninitialized)
    , m_data(m_bytes.data())
{
    value(Magic);
    value(size.width());
    value(size.height());
    value(m_count); // set when the page is finished
}

template <typename T> void PageWriter::value(const T &v)
{
    static_assert(std::is_trivially_copyable_v<T>);
    raw(&v, sizeof v);
}

void PageWriter::value(const QPointF &point)
{
    value(point.x());
    value(point.y());
}

void PageWriter::value(const QRectF &rect)
{
    value(rect.topLeft());
    value(rect.size().width());
    value(rect.size().height());
}

void PageWriter::value(const QColor &color)
{
    value(quint8(color.isValid()));
    value(color.rgba64());
}

void PageWriter::value(const QString &text)
{
    if (text.size() > StoredText::MaxLength) {
        m_tooLong = true;
        return;
    }
    const qsizetype most = StoredText::maxBytes(text);
    if (m_bytes.size() - m_used < most)
        grow(most);
    m_used = StoredText::write(m_data + m_used, text) - m_data;
}

void PageWriter::value(const QByteArray &data)
{
    if (data.size() > StoredText::MaxLength) {
        m_tooLong = true;
        return;
    }
    value(qint32(data.size()));
    raw(data.constData(), data.size());
}

template <typename... T> void PageWriter::values(const T &...v)
{
    (value(v), ...);
}

void PageWriter::grow(qsizetype size)
{
    // By doubling: a page is thousands of small values.
    m_bytes.resize(std::max(2 * m_bytes.size(), m_used + size));
    m_data = m_bytes.data();
}

quint32 PageWriter::formatNumber(const TextElement &text)
{
    const auto same = [&text](const TextFormat &known) {
        return known.width == text.rect.width() && known.height == text.rect.height() &&
               known.alignment == text.alignment && known.color == text.color &&
               known.style.size == text.font.size && known.style.bold == text.font.bold &&
               known.style.italic == text.font.italic && known.style.family == text.font.family;
    };
    // A table's columns come round in the same order line after line: the
    // format that came after the last one used, the time before, is tried
    // first.
    const auto use = [this](std::size_t number) {
        if (m_lastFormat < m_formats.size())
            m_formats[m_lastFormat].next = number;
        m_lastFormat = number;
        return quint32(number);
    };
    const std::size_t count = m_formats.size();
    if (m_lastFormat < count) {
        const std::size_t guess = m_formats[m_lastFormat].next;
        if (guess < count && same(m_formats[guess]))
            return use(guess);
    }
    for (std::size_t i = 0; i < count; ++i)
        if (same(m_formats[i]))
            return use(i);
    values(quint8(Format), text.font.family, qint32(text.font.size), text.font.bold,
           text.font.italic, qint32(text.alignment), text.color, text.rect.width(),
           text.rect.height());
    m_formats.push_back(
        {text.font, text.alignment, text.color, text.rect.width(), text.rect.height()});
    return use(count);
}

void PageWriter::add(const Element &element, const QPointF &offset)
{
    std::visit(
        [this, &offset](const auto &e) {
            using Kind = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<Kind, TextElement>) {
                const quint32 format = formatNumber(e);
                const QPointF topLeft = e.rect.topLeft() + offset;
                if (topLeft.y() == m_lastTextTop) {
                    values(quint8(TextOnRow), format, topLeft.x(), e.text);
                } else {
                    values(quint8(Text), format, topLeft, e.text);
                    m_lastTextTop = topLeft.y();
                }
            } else if constexpr (std::is_same_v<Kind, LineElement>) {
                values(quint8(Line), e.from + offset, e.to + offset, e.width, e.color);
            } else if constexpr (std::is_same_v<Kind, BoxElement>) {
                values(quint8(Box), e.rect.translated(offset), e.fill, e.border, e.borderWidth);
            } else if constexpr (std::is_same_v<Kind, ImageElement>) {
                values(quint8(Image), e.rect.translated(offset), e.encoded);
            } else {
                values(quint8(Drawing), e.rect.translated(offset), e.svg);
            }
        },
        element);
    ++m_count;
}

std::optional<QByteArray> PageWriter::finish()
{
    // The count follows the magic number and the size.
    std::memcpy(m_bytes.data() + sizeof Magic + 2 * sizeof(qreal), &m_count, sizeof m_count);
    m_bytes.resize(m_used);
    QByteArray page = std::move(m_bytes);
    m_bytes.clear();
    m_data = nullptr;
    m_used = 0;
    if (std::exchange(m_tooLong, false))
        return std::nullopt;
    return page;
}

namespace {

// Reads what PageWriter wrote; any value that runs past the end, or names a
// format not yet defined, fails the whole page.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_next(bytes.constData())
        , m_end(bytes.constData() + bytes.size())
    {}

    bool ok() const { return m_ok; }
    qsizetype left() const { return m_end - m_next; }

    template <typename T> void value(T &v)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (!take(sizeof v))
            return;
        std::memcpy(&v, m_next - sizeof v, sizeof v);
    }
    void value(QPointF &point)
    {
        qreal x = 0, y = 0;
        value(x);
        value(y);
        point = QPointF(x, y);
    }
    void value(QRectF &rect)
    {
        QPointF topLeft;
        qreal width = 0, height = 0;
        value(topLeft);
        value(width);
        value(height);
        rect = QRectF(topLeft, QSizeF(width, height));
    }
    void value(QColor &color)
    {
        quint8 valid = 0;
        QRgba64 rgba;
        value(valid);
        value(rgba);
        color = valid ? QColor(rgba) : QColor();
    }
    void value(QString &text)
    {
        if (m_ok && !StoredText::read(m_next, m_end, text))
            fail();
    }
    void value(QByteArray &data)
    {
        qint32 size = 0;
        value(size);
        if (size < 0 || !take(size))
            return fail();
        data = QByteArray(m_next - size, size);
    }
    template <typename... T> void values(T &...v) { (value(v), ...); }

    std::optional<Element> element()
    {
        quint8 tag = 0;
        value(tag);
        while (tag == Format && m_ok) {
            TextElement format;
            qint32 size = 0;
            qint32 alignment = 0;
            qreal width = 0, height = 0;
            values(format.font.family, size, format.font.bold, format.font.italic, alignment,
                   format.color, width, height);
            format.font.size = size;
            format.alignment = alignment;
            format.rect.setSize(QSizeF(width, height));
            m_formats.push_back(std::move(format));
            value(tag);
        }
        switch (tag) {
        case Text:
        case TextOnRow: {
            quint32 format = 0;
            QPointF topLeft;
            QString text;
            if (tag == Text) {
                values(format, topLeft, text);
                m_lastTextTop = topLeft.y();
            } else {
                qreal left = 0;
                values(format, left, text);
                if (!m_lastTextTop)
                    return std::nullopt;
                topLeft = QPointF(left, *m_lastTextTop);
            }
            if (!m_ok || format >= m_formats.size())
                return std::nullopt;
            TextElement e = m_formats[format];
            e.rect.moveTopLeft(topLeft);
            e.text = std::move(text);
            return e;
        }
        case Line: {
            LineElement e;
            values(e.from, e.to, e.width, e.color);
            return e;
        }
        case Box: {
            BoxElement e;
            values(e.rect, e.fill, e.border, e.borderWidth);
            return e;
        }
        case Image: {
            ImageElement e;
            values(e.rect, e.encoded);
            return e;
        }
        case Drawing: {
            DrawingElement e;
            values(e.rect, e.svg);
            return e;
        }
        default:
            return std::nullopt;
        }
    }

private:
    bool take(qsizetype size)
    {
        if (!m_ok || m_end - m_next < size) {
            fail();
            return false;
        }
        m_next += size;
        return true;
    }
    void fail()
    {
        m_ok = false;
        m_next = m_end;
    }

    const char *m_next;
    const char *m_end;
    bool m_ok = true;
    std::vector<TextElement> m_formats; // each with its box at the origin and no text
    std::optional<qreal> m_lastTextTop;
};

struct Painter
{
    QPainter &painter;
    void operator()(const TextElement &e)
    {
        painter.setFont(toQFont(e.font));
        painter.setPen(e.color);
        // A text wider than its place is condensed into it rather than run
        // over its neighbour: a figure whose leading digits were covered
        // would read as another amount.
        const qreal width =
            QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(e.text);
        if (width <= e.rect.width() || e.rect.width() <= 0) {
            painter.drawText(e.rect, e.alignment | Qt::TextSingleLine, e.text);
            return;
        }
        painter.save();
        painter.translate(e.rect.left(), 0);
        painter.scale(e.rect.width() / width, 1);
        painter.drawText(QRectF(0, e.rect.top(), width, e.rect.height()),
                         e.alignment | Qt::TextSingleLine, e.text);
        painter.restore();
    }
    void operator()(const LineElement &e)
    {
        painter.setPen(QPen(e.color, e.width));
        painter.drawLine(e.from, e.to);
    }
    void operator()(const BoxElement &e)
    {
        painter.setPen(e.border.isValid() ? QPen(e.border, e.borderWidth) : QPen(Qt::NoPen));
        painter.setBrush(e.fill.isValid() ? QBrush(e.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(e.rect);
        painter.setBrush(Qt::NoBrush);
    }
    void operator()(const ImageElement &e)
    {
        const QImage image = QImage::fromData(e.encoded);
        if (image.isNull())
            return;
        QSizeF size = image.size();
        size.scale(e.rect.size(), Qt::KeepAspectRatio);
        const QRectF target(e.rect.topLeft() + QPointF((e.rect.width() - size.width()) / 2,
                                                       (e.rect.height() - size.height()) / 2),
                            size);
        painter.drawImage(target, image);
    }
    void operator()(const DrawingElement &e)
    {
        QSvgRenderer renderer(e.svg);
        renderer.render(&painter, e.rect);
    }
};

} // namespace

QFont toQFont(const TextStyle &style)
{
    // Reports name the narrow face of the suite's home platform; Liberation
    // Sans Narrow has its widths, so columns line up as designed.
    static const bool substituted = [] {
        QFont::insertSubstitution(u"Arial Narrow"_s, u"Liberation Sans Narrow"_s);
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(style.family);
    // Pixel sizes are in page units, so the painter's scale sizes the text
    // with everything else; no hinting, so that widths do not depend on the
    // device.
    font.setPixelSize(style.size);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void translate(Element &element, const QPointF &offset)
{
    std::visit(
        [&offset](auto &e) {
            if constexpr (std::is_same_v<std::decay_t<decltype(e)>, LineElement>) {
                e.from += offset;
                e.to += offset;
            } else {
                e.rect.translate(offset);
            }
        },
        element);
}

qreal top(const Element &element)
{
    return std::visit(
        [](const auto &e) {
            if constexpr (std::is_same_v<std::decay_t<decltype(e)>, LineElement>)
                return std::min(e.from.y(), e.to.y());
            else
                return e.rect.top();
        },
        element);
}

QByteArray PageImage::toBytes() const
{
    PageWriter out(size);
    for (const Element &element : elements)
        out.add(element);
    return out.finish().value_or(QByteArray());
}

std::optional<PageImage> PageImage::fromBytes(const QByteArray &bytes)
{
    Reader in(bytes);
    quint32 magic = 0;
    qreal width = 0, height = 0;
    in.value(magic);
    in.value(width);
    in.value(height);
    quint32 count = 0;
    in.value(count);
    if (magic != Magic || !in.ok())
        return std::nullopt;
    PageImage page;
    page.size = QSizeF(width, height);
    // Every element takes at least a byte: a damaged count reserves no more.
    page.elements.reserve(std::min<qsizetype>(count, in.left()));
    for (quint32 i = 0; i < count; ++i) {
        std::optional<Element> element = in.element();
        if (!element || !in.ok())
            return std::nullopt;
        page.elements.push_back(std::move(*element));
    }
    return page;
}

void PageImage::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Element &element : elements)
        std::visit(Painter{painter}, element);
    painter.restore();
}

} // namespace qaveq::report
