#pragma once

#include "Band.h"

#include "core/Decimal.h"
#include "core/Picture.h"

#include <QList>
#include <QStringList>

#include <variant>

namespace qaveq::report {

// One column of a report's table, declared once: its heading, its pictures,
// its alignment and the group it is emphasised with. The heading band, the
// detail band and the export line all come from the declaration.
struct ReportColumn
{
    QStringList heading = {};   // lines from the top; an empty text leaves its line empty
    QString picture = {};       // as printed: "@n-15.2", "@d14", "@s5"
    QString exportPicture = {}; // in the export line; the printed picture when empty
    int alignment = 0x0001;     // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter
    int group = -1;             // columns printed bold together; -1: none
};

// A heading over several columns ("Straight Line" over "Amount" and "Value"),
// on the first heading line, with a rule under it.
struct ColumnSpan
{
    int first = 0;
    int count = 1;
    QString text = {};
    int group = -1;
};

// A value of a cell: a text, a whole number (dates and times are day numbers
// and hundredths of seconds) or a decimal.
using CellValue = std::variant<QString, qint64, Decimal>;

// The columns of a report side by side. A column is as wide as its picture
// at the font's figure width, so that no figure is ever cut.
class ColumnTable
{
public:
    ColumnTable(QList<ReportColumn> columns, TextStyle font, QList<ColumnSpan> spans = {});

    qreal left(int column) const { return m_lefts.at(column); }
    // Where a column's text starts: its left edge and the padding before it.
    qreal textLeft(int column) const;
    qreal width(int column) const { return m_widths.at(column); }
    qreal totalWidth() const;
    qreal lineHeight() const;

    // The heading lines, spans first, and a rule under them; `emphasised`
    // is the group printed bold.
    Band headings(int emphasised = -1) const;
    // One row, and its export line unless `withExportLine` is false (a run
    // whose text nobody keeps need not format it twice).
    Band detail(const QList<CellValue> &values, int emphasised = -1,
                bool withExportLine = true) const;
    QString exportLine(const QList<CellValue> &values) const;
    // The export's heading lines: the spans' line (when there are spans)
    // and the columns' heading lines, tab-separated.
    QStringList exportHeadings() const;

    // Characters a picture shows at most.
    static int pictureCharacters(const QString &picture);

private:
    // A column's pictures, parsed once: a report formats them on every line.
    struct Pictures
    {
        std::optional<Picture> printed; // none (no picture): the text as it is
        std::optional<Picture> exported;
        bool sameForExport = true;
    };

    static QString formatted(const std::optional<Picture> &picture, const CellValue &value);
    // A formatted value as the export line holds it: without its padding.
    static QStringView exportCell(QStringView formatted);
    int headingLines() const;

    QList<ReportColumn> m_columns;
    QList<Pictures> m_pictures;
    TextStyle m_font;
    TextStyle m_bold; // the emphasised group's
    QList<ColumnSpan> m_spans;
    QList<qreal> m_lefts;
    QList<qreal> m_widths;
};

} // namespace qaveq::report
