#include "PageImage.h"

#include "core/OutputFile.h"

#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace qaveq::report {

namespace {

// "QPG" and a format number: a page file from another version is refused,
// never misread.
constexpr quint32 Magic = 0x51504701;

enum Tag : quint8 { Text = 1, Line, Box, Image, Drawing };

void write(QDataStream &out, const TextStyle &font)
{
    out << font.family << qint32(font.size) << font.bold << font.italic;
}

void read(QDataStream &in, TextStyle &font)
{
    qint32 size = 0;
    in >> font.family >> size >> font.bold >> font.italic;
    font.size = size;
}

struct Writer
{
    QDataStream &out;
    void operator()(const TextElement &e)
    {
        out << quint8(Text) << e.rect << e.text;
        write(out, e.font);
        out << qint32(e.alignment) << e.color;
    }
    void operator()(const LineElement &e)
    {
        out << quint8(Line) << e.from << e.to << e.width << e.color;
    }
    void operator()(const BoxElement &e)
    {
        out << quint8(Box) << e.rect << e.fill << e.border << e.borderWidth;
    }
    void operator()(const ImageElement &e) { out << quint8(Image) << e.rect << e.encoded; }
    void operator()(const DrawingElement &e) { out << quint8(Drawing) << e.rect << e.svg; }
};

std::optional<Element> readElement(QDataStream &in)
{
    quint8 tag = 0;
    in >> tag;
    switch (tag) {
    case Text: {
        TextElement e;
        qint32 alignment = 0;
        in >> e.rect >> e.text;
        read(in, e.font);
        in >> alignment >> e.color;
        e.alignment = alignment;
        return e;
    }
    case Line: {
        LineElement e;
        in >> e.from >> e.to >> e.width >> e.color;
        return e;
    }
    case Box: {
        BoxElement e;
        in >> e.rect >> e.fill >> e.border >> e.borderWidth;
        return e;
    }
    case Image: {
        ImageElement e;
        in >> e.rect >> e.encoded;
        return e;
    }
    case Drawing: {
        DrawingElement e;
        in >> e.rect >> e.svg;
        return e;
    }
    default:
        return std::nullopt;
    }
}

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
        QFont::insertSubstitution(QStringLiteral("Arial Narrow"),
                                  QStringLiteral("Liberation Sans Narrow"));
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

bool PageImage::save(const QString &path, QString *error) const
{
    // A full disk must stop the report, never leave a cut page behind.
    OutputFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out << Magic << size << quint32(elements.size());
    for (const Element &element : elements)
        std::visit(Writer{out}, element);
    if (out.status() != QDataStream::Ok) {
        *error = file.errorString();
        return false;
    }
    *error = file.finish();
    return error->isEmpty();
}

std::optional<PageImage> PageImage::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint32 count = 0;
    PageImage page;
    in >> magic >> page.size >> count;
    if (magic != Magic || in.status() != QDataStream::Ok)
        return std::nullopt;
    page.elements.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        std::optional<Element> element = readElement(in);
        if (!element || in.status() != QDataStream::Ok)
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
