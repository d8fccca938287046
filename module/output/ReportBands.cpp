#include "ReportBands.h"

#include "core/Picture.h"
#include "core/SuiteDate.h"

using namespace Qt::StringLiterals;

namespace qaveq::ReportBands {

report::TextStyle font(int points, bool bold)
{
    report::TextStyle style;
    style.size = points * int(report::UnitsPerPoint);
    style.bold = bold;
    return style;
}

QColor color(int value)
{
    return value < 0 ? QColor() : QColor::fromRgb(QRgb(value));
}

report::Band pageHeader(const Standard &standard)
{
    report::Band band;
    band.height = 560;
    const qreal w = standard.width;
    if (standard.shadingColor.isValid())
        band.box(QRectF(0, 0, w, 460), standard.shadingColor);
    const QString date =
        Picture::parse(u"@d01"_s).format(SuiteDate::fromQDate(standard.run.date()));
    const QString time = Picture::parse(u"@t3"_s).format(SuiteTime::fromQTime(standard.run.time()));
    const report::TextStyle small = font(8);
    band.text(QRectF(60, 20, 1400, 180), date, small)
        .text(QRectF(60, 220, 1400, 180), time, small)
        .text(QRectF(1500, 10, w - 3000, 200), standard.company, font(10, true), Qt::AlignCenter,
              standard.titleColor)
        .text(QRectF(1500, 220, w - 3000, 220), standard.title, font(12, true), Qt::AlignCenter,
              standard.titleColor);
    return band;
}

report::Band pageFooter(const Standard &standard, int page)
{
    report::Band band;
    const qreal w = standard.width;
    const report::TextStyle small = font(7);
    qreal y = 60;
    band.line(QPointF(0, 20), QPointF(w, 20), 5, standard.footerColor);
    for (const QString &line : standard.limits) {
        if (line.trimmed().isEmpty())
            continue;
        band.text(QRectF(0, y, w, 150), line, small, Qt::AlignLeft | Qt::AlignVCenter,
                  standard.footerColor);
        y += 150;
    }
    band.text(QRectF(0, y, w - 1000, 170), standard.footerMessage.left(100), small,
              Qt::AlignLeft | Qt::AlignVCenter, standard.footerColor)
        .text(QRectF(w - 1000, y, 1000, 170), u"Page: %1"_s.arg(page), small,
              Qt::AlignRight | Qt::AlignVCenter, standard.footerColor);
    band.height = y + 190;
    return band;
}

} // namespace qaveq::ReportBands
