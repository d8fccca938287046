#include "Icons.h"

#include <QBuffer>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace qaveq::Icons {

namespace {

// A sheet of paper with a folded corner and the file kind written on a band
// of the kind's colour.
void document(QPainter &painter, const QRectF &area, const QString &label, const QColor &colour)
{
    const qreal w = area.width() * 0.72, h = area.height() * 0.92;
    const QRectF sheet(area.center().x() - w / 2, area.center().y() - h / 2, w, h);
    const qreal fold = w * 0.3;
    QPainterPath page;
    page.moveTo(sheet.topLeft());
    page.lineTo(sheet.right() - fold, sheet.top());
    page.lineTo(sheet.right(), sheet.top() + fold);
    page.lineTo(sheet.bottomRight());
    page.lineTo(sheet.bottomLeft());
    page.closeSubpath();
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), std::max(1.0, area.width() / 48)));
    painter.setBrush(Qt::white);
    painter.drawPath(page);
    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    painter.setBrush(QColor(0xdd, 0xdd, 0xdd));
    painter.drawPath(corner);

    painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), std::max(1.0, area.width() / 64)));
    for (int line = 0; line < 4; ++line) {
        const qreal y = sheet.top() + h * (0.3 + 0.1 * line);
        painter.drawLine(QPointF(sheet.left() + w * 0.15, y), QPointF(sheet.right() - w * 0.15, y));
    }
    const QRectF band(area.left() + area.width() * 0.06, sheet.top() + h * 0.66,
                      area.width() * 0.88, h * 0.24);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(band, band.height() * 0.15, band.height() * 0.15);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(6, int(band.height() * 0.72)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, label);
}

// An open ledger: the general ledger's own picture.
void ledger(QPainter &painter, const QRectF &area)
{
    const qreal u = area.width() / 16;
    const QRectF left(area.left() + u, area.top() + 3 * u, 7 * u, 10 * u);
    const QRectF right(area.left() + 8 * u, area.top() + 3 * u, 7 * u, 10 * u);
    painter.setPen(QPen(QColor(0x1d, 0x5e, 0x2e), std::max(1.0, u * 0.8)));
    painter.setBrush(QColor(0xf4, 0xf8, 0xee));
    painter.drawRect(left);
    painter.drawRect(right);
    painter.setPen(QPen(QColor(0x2e, 0x8b, 0x45), std::max(1.0, u * 0.5)));
    for (int line = 1; line < 5; ++line) {
        const qreal y = left.top() + line * 2 * u;
        painter.drawLine(QPointF(left.left() + u, y), QPointF(left.right() - u, y));
        painter.drawLine(QPointF(right.left() + u, y), QPointF(right.right() - u, y));
    }
}

void paperClip(QPainter &painter, const QRectF &area)
{
    const qreal u = area.width() / 16;
    painter.translate(area.topLeft());
    painter.scale(u, u);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.4));
    QPainterPath clip;
    clip.moveTo(10, 5);
    clip.lineTo(10, 12);
    clip.arcTo(5, 10, 5, 5, 0, -180);
    clip.lineTo(5, 3.5);
    clip.arcTo(5, 1, 7, 5, 180, -180);
    clip.lineTo(12, 12.5);
    painter.drawPath(clip);
}

// A camera struck through: no photograph.
void noPhoto(QPainter &painter, const QRectF &area)
{
    const qreal u = area.width() / 16;
    const QRectF body(area.left() + 2 * u, area.top() + 5 * u, 12 * u, 8 * u);
    painter.setPen(QPen(QColor(0x90, 0x90, 0x90), std::max(1.0, u * 0.7)));
    painter.setBrush(QColor(0xee, 0xee, 0xee));
    painter.drawRoundedRect(body, u, u);
    painter.drawRect(QRectF(area.left() + 6 * u, area.top() + 3.5 * u, 4 * u, 1.5 * u));
    painter.drawEllipse(body.center(), 2.5 * u, 2.5 * u);
    painter.setPen(QPen(QColor(0xc0, 0x30, 0x30), std::max(1.0, u)));
    painter.drawLine(QPointF(area.left() + 2 * u, area.top() + 14 * u),
                     QPointF(area.left() + 14 * u, area.top() + 2 * u));
}

struct Kind
{
    QString label;
    QColor colour;
};

const QHash<QString, Kind> &documents()
{
    static const QHash<QString, Kind> kinds{
        {u"pdf"_s, {u"PDF"_s, QColor(0xc6, 0x28, 0x28)}},
        {u"worddoc"_s, {u"DOC"_s, QColor(0x1e, 0x5a, 0xa8)}},
        {u"xldoc"_s, {u"XLS"_s, QColor(0x1d, 0x7a, 0x3e)}},
        {u"ppdoc"_s, {u"PPT"_s, QColor(0xd2, 0x5b, 0x1e)}},
        {u"textfile"_s, {u"TXT"_s, QColor(0x60, 0x60, 0x60)}},
        {u"web"_s, {u"WEB"_s, QColor(0x13, 0x7c, 0x8b)}},
        {u"otherfile"_s, {u"FILE"_s, QColor(0x7a, 0x6a, 0x9a)}},
    };
    return kinds;
}

// "~pdf.gif" -> "pdf": the picture a name stands for, whatever its ending.
QString stem(QStringView name)
{
    QString base = name.toString().toLower();
    if (base.startsWith(u'~'))
        base.remove(0, 1);
    const qsizetype dot = base.lastIndexOf(u'.');
    return dot < 0 ? base : base.left(dot);
}

} // namespace

QPixmap picture(QStringView name, const QSize &size)
{
    const QString which = stem(name);
    const auto kind = documents().constFind(which);
    const bool known =
        kind != documents().cend() || which == u"gl" || which == u"attach" || which == u"nophoto";
    if (!known || size.isEmpty())
        return {};
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    const QRectF area((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    if (kind != documents().cend())
        document(painter, area, kind->label, kind->colour);
    else if (which == u"gl")
        ledger(painter, area);
    else if (which == u"attach")
        paperClip(painter, area);
    else
        noPhoto(painter, area);
    return pixmap;
}

QIcon icon(QStringView name)
{
    // Lists ask for a row's icon each time they paint it: draw each once.
    static QHash<QString, QIcon> drawn;
    const QString which = stem(name);
    if (const auto found = drawn.constFind(which); found != drawn.cend())
        return *found;
    QIcon icon;
    for (const int side : {16, 32, 48}) {
        const QPixmap pixmap = picture(name, QSize(side, side));
        if (pixmap.isNull())
            break;
        icon.addPixmap(pixmap);
    }
    drawn.insert(which, icon);
    return icon;
}

QByteArray png(QStringView name, const QSize &size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture(name, size).save(&buffer, "PNG");
    return bytes;
}

} // namespace qaveq::Icons
