#include "ReportColumns.h"

#include "core/Picture.h"
#include "core/SuiteDate.h"
#include "core/Text.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq::report {

namespace {

// Decipoints: a figure of "Arial Narrow" is 0.456 of the font's size wide;
// a little more keeps rounding of the printer's metrics from cutting it.
constexpr qreal FigureWidth = 0.47;
constexpr qreal Pad = 40;
constexpr int AlignVCenter = 0x0080;
constexpr int AlignBottom = 0x0040;
constexpr int AlignHCenter = 0x0004;

} // namespace

ColumnTable::ColumnTable(QList<ReportColumn> columns, TextStyle font, QList<ColumnSpan> spans)
    : m_columns(std::move(columns))
    , m_font(std::move(font))
    , m_spans(std::move(spans))
{
    m_bold = m_font;
    m_bold.bold = true;
    qreal left = 0;
    for (const ReportColumn &column : std::as_const(m_columns)) {
        int characters = pictureCharacters(column.picture);
        for (const QString &line : column.heading)
            characters = std::max(characters, int(line.size()));
        const qreal width = characters * FigureWidth * m_font.size + 2 * Pad;
        m_lefts.append(left);
        m_widths.append(width);
        left += width;
        const bool same = column.exportPicture.isEmpty() || column.exportPicture == column.picture;
        m_pictures.append({Picture::tryParse(column.picture),
                           Picture::tryParse(same ? column.picture : column.exportPicture), same});
    }
}

int ColumnTable::pictureCharacters(const QString &picture)
{
    const std::optional<Picture> parsed = Picture::tryParse(picture);
    if (!parsed)
        return 0;
    if (parsed->kind() == Picture::Kind::Date)
        return int(parsed->format(qint64(SuiteDate::fromYmd(2099, 12, 28))).size());
    if (parsed->kind() == Picture::Kind::Time)
        return int(parsed->format(qint64(8'640'000 - 1)).size());
    return parsed->width();
}

qreal ColumnTable::textLeft(int column) const
{
    return m_lefts.at(column) + Pad;
}

qreal ColumnTable::totalWidth() const
{
    return m_lefts.isEmpty() ? 0 : m_lefts.last() + m_widths.last();
}

qreal ColumnTable::lineHeight() const
{
    // 8 point type on lines of 150 decipoints, in proportion for other sizes.
    return m_font.size * 15 / 8;
}

int ColumnTable::headingLines() const
{
    int lines = m_spans.isEmpty() ? 0 : 1;
    for (const ReportColumn &column : m_columns)
        lines = std::max(lines, int(column.heading.size()));
    return lines;
}

Band ColumnTable::headings(int emphasised) const
{
    const qreal line = lineHeight();
    const int lines = headingLines();
    Band band;
    band.height = lines * line + 60;
    for (const ColumnSpan &span : m_spans) {
        const qreal left = m_lefts.at(span.first);
        const qreal right =
            m_lefts.at(span.first + span.count - 1) + m_widths.at(span.first + span.count - 1);
        const TextStyle &font = span.group >= 0 && span.group == emphasised ? m_bold : m_font;
        band.text(QRectF(left + Pad, 0, right - left - 2 * Pad, line), span.text, font,
                  AlignHCenter | AlignBottom)
            .line(QPointF(left + Pad, line), QPointF(right - Pad, line), 3);
    }
    for (int c = 0; c < m_columns.size(); ++c) {
        const ReportColumn &column = m_columns.at(c);
        const TextStyle &font = column.group >= 0 && column.group == emphasised ? m_bold : m_font;
        // The heading's last line sits on the band's last line.
        const int first = lines - int(column.heading.size());
        for (int i = 0; i < column.heading.size(); ++i)
            if (!column.heading.at(i).isEmpty())
                band.text(
                    QRectF(m_lefts.at(c) + Pad, (first + i) * line, m_widths.at(c) - 2 * Pad, line),
                    column.heading.at(i), font, column.alignment | AlignBottom);
    }
    band.line(QPointF(0, lines * line + 30), QPointF(totalWidth(), lines * line + 30), 5);
    return band;
}

QString ColumnTable::formatted(const std::optional<Picture> &picture, const CellValue &value)
{
    if (!picture) {
        if (const auto *text = std::get_if<QString>(&value))
            return Text::clip(*text);
        return {};
    }
    return std::visit([&picture](const auto &v) { return picture->format(v); }, value);
}

Band ColumnTable::detail(const QList<CellValue> &values, int emphasised, bool withExportLine) const
{
    Band band;
    band.height = lineHeight();
    band.elements.reserve(m_columns.size());
    QString exported;
    if (withExportLine)
        exported.reserve(160);
    for (int c = 0; c < m_columns.size() && c < values.size(); ++c) {
        const ReportColumn &column = m_columns.at(c);
        const Pictures &pictures = m_pictures.at(c);
        const TextStyle &font = column.group >= 0 && column.group == emphasised ? m_bold : m_font;
        QString printed = formatted(pictures.printed, values.at(c));
        // Most columns export what they print: formatted once for both.
        if (withExportLine) {
            if (c > 0)
                exported += u'\t';
            if (pictures.sameForExport)
                exported += exportCell(printed);
            else
                exported += exportCell(formatted(pictures.exported, values.at(c)));
        }
        band.text(QRectF(m_lefts.at(c) + Pad, 0, m_widths.at(c) - 2 * Pad, band.height),
                  std::move(printed), font, column.alignment | AlignVCenter);
    }
    if (withExportLine)
        band.exportLine(std::move(exported));
    return band;
}

QStringView ColumnTable::exportCell(QStringView formatted)
{
    return formatted.trimmed();
}

QString ColumnTable::exportLine(const QList<CellValue> &values) const
{
    QString line;
    for (int c = 0; c < m_columns.size() && c < values.size(); ++c) {
        if (c > 0)
            line += u'\t';
        line += exportCell(formatted(m_pictures.at(c).exported, values.at(c)));
    }
    return line;
}

QStringList ColumnTable::exportHeadings() const
{
    const int lines = headingLines();
    QList<QStringList> rows(lines, QStringList(m_columns.size()));
    for (const ColumnSpan &span : m_spans)
        rows[0][span.first] = span.text;
    for (int c = 0; c < m_columns.size(); ++c) {
        const QStringList &heading = m_columns.at(c).heading;
        const int first = lines - int(heading.size());
        for (int i = 0; i < heading.size(); ++i)
            if (!heading.at(i).isEmpty())
                rows[first + i][c] = heading.at(i);
    }
    QStringList joined;
    for (const QStringList &row : rows) {
        QString line = row.join(u'\t');
        while (line.endsWith(u'\t'))
            line.chop(1);
        joined.append(line);
    }
    return joined;
}

} // namespace qaveq::report
