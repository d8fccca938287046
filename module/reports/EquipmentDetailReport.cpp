#include "EquipmentDetailReport.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"

#include "runtime/report/ReportColumns.h"

#include "data/Company.h"

#include "core/Picture.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// Nine columns across; landscape unless the definition asks for portrait,
// where the type is a point smaller so that the same columns fit.
report::ColumnTable detailColumns(bool portrait)
{
    const int right = Qt::AlignRight;
    return report::ColumnTable(
        {{.heading = {u"Code"_s}, .picture = u"@s10"_s},
         {.heading = {u"Description"_s}, .picture = u"@s25"_s, .exportPicture = u"@s30"_s},
         {.heading = {u"Date"_s}, .picture = u"@d1"_s},
         {.heading = {u"FPeriod"_s}, .picture = u"@n4"_s, .alignment = right},
         {.heading = {u"Journal ID"_s}, .picture = u"@s15"_s},
         {.heading = {u"Transaction Description"_s}, .picture = u"@s70"_s},
         {.heading = {u"Quantity"_s}, .picture = u"@n-15.4"_s, .alignment = right},
         {.heading = {u"Unit"_s}, .picture = u"@s5"_s},
         {.heading = {u"Transaction Amount"_s}, .picture = u"@n-19.2"_s, .alignment = right}},
        ReportBands::font(portrait ? 6 : 7));
}

// An amount as the totals print it; parsed once, every section has a total.
QString printedAmount(const Decimal &amount)
{
    static const Picture picture = Picture::parse(u"@n-19.2");
    return picture.format(amount);
}

QString amountText(const Decimal &amount)
{
    return printedAmount(amount).trimmed();
}

} // namespace

EquipmentDetailReport::EquipmentDetailReport(data::Company &company, const EQLimits &definition,
                                             DayNumber today)
    : ReportPass({.title = u"Equipment Detail Listing"_s,
                  .pdfFileName = u"Equipment Detail Listing.pdf"_s,
                  .page = ReportIdentity::paper(definition.Orientation != u"P"),
                  .primaryFile = &company.file<EQHeader>(),
                  .recordsPerSlice = 100,
                  .cancelCaption = u"CANCEL REPORT"_s,
                  .cancelText = u"Are you sure you want to CANCEL this Report?NOTE..."_s})
    , m_company(company)
    , m_definition(definition)
    , m_walk(company, definition, today)
    , m_columns(detailColumns(definition.Orientation == u"P"))
{}

bool EquipmentDetailReport::open(ReportRun &run)
{
    if (!m_walk.start())
        return false;
    m_limits = DetailListing::limitsLines(m_company, m_walk.selection());
    m_run = &run;
    return true;
}

bool EquipmentDetailReport::beginPrinting()
{
    // Only once an equipment qualifies: a listing where none does prints
    // nothing at all, not a page of headings.
    if (m_run->engine())
        return true;
    report::ReportEngine &engine =
        m_run->beginPrinting([headings = m_columns.headings()](int) { return headings; });
    report::Band exportHeadings;
    exportHeadings.exportLines = m_columns.exportHeadings();
    return engine.print(exportHeadings);
}

bool EquipmentDetailReport::next(ReportRun &, int records)
{
    return m_walk.next(*this, records);
}

bool EquipmentDetailReport::heading(const EQHeader &equipment)
{
    if (!beginPrinting())
        return false;
    const report::TextStyle bold = ReportBands::font(9, true);
    report::Band band;
    band.height = 260;
    const QString id = Text::clip(equipment.EquipmentID);
    const QString description = Text::clip(equipment.Description);
    band.text(QRectF(0, 50, 1400, 200), id, bold)
        .text(QRectF(1400, 50, 4000, 200), description, bold)
        .exportLine(id + u'\t' + description);
    return m_run->engine()->print(band);
}

bool EquipmentDetailReport::line(const DetailListing::Section &section,
                                 const DetailListing::Line &line)
{
    if (m_definition.PrintTransactionDetail != 1)
        return true;
    const bool portrait = m_definition.Orientation == u"P";
    const report::ColumnTable &columns = m_columns;
    report::Band band = columns.detail({section.code, section.description, qint64(line.date),
                                        qint64(line.fiscalPeriod), line.journalId, line.description,
                                        line.quantity, line.unit, line.amount},
                                       -1, m_run->engine()->keepsExportLines());
    const report::TextStyle small = ReportBands::font(portrait ? 6 : 7);
    const qreal rowHeight = columns.lineHeight();
    // The job and the note print under the description; the export keeps
    // its one line per transaction.
    for (const QString &extra : {line.jobLine, line.note}) {
        if (extra.isEmpty())
            continue;
        // Under the description's text, as wide as its column and the next.
        band.text(QRectF(columns.textLeft(5), band.height, columns.left(7) - columns.textLeft(5),
                         rowHeight),
                  extra, small);
        band.height += rowHeight;
    }
    return m_run->engine()->print(band);
}

bool EquipmentDetailReport::sectionTotal(const DetailListing::Section &section,
                                         const Decimal &total)
{
    const bool portrait = m_definition.Orientation == u"P";
    const report::ColumnTable &columns = m_columns;
    const report::TextStyle bold = ReportBands::font(portrait ? 6 : 7, true);
    const qreal row = columns.lineHeight();
    report::Band band;
    band.height = row + 40;
    const QString label = section.code + u" Total:"_s;
    band.line(QPointF(columns.left(8), 10), QPointF(columns.left(8) + columns.width(8), 10), 3)
        .text(QRectF(columns.left(5), 20, columns.width(5) + columns.width(6) + columns.width(7),
                     row),
              label, bold, Qt::AlignRight | Qt::AlignVCenter)
        .text(QRectF(columns.left(8), 20, columns.width(8), row), printedAmount(total), bold,
              Qt::AlignRight | Qt::AlignVCenter)
        .exportLine(QString(7, u'\t') + label + u'\t' + amountText(total));
    return m_run->engine()->print(band);
}

bool EquipmentDetailReport::equipmentTotals(const EQHeader &, const Decimal &income,
                                            const Decimal &cost, const Decimal &net)
{
    const bool portrait = m_definition.Orientation == u"P";
    const report::ColumnTable &columns = m_columns;
    const report::TextStyle bold = ReportBands::font(portrait ? 7 : 8, true);
    const qreal row = columns.lineHeight() + 20;
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const qreal labelLeft = columns.left(5);
    const qreal labelWidth = columns.width(5) + columns.width(6) + columns.width(7);
    const qreal amountLeft = columns.left(8);
    const qreal amountWidth = columns.width(8);
    report::Band band;
    band.text(QRectF(columns.left(0), 40, labelLeft - columns.left(0), row), u"Equipment Totals"_s,
              bold);
    const struct
    {
        QString label;
        const Decimal &amount;
    } figures[] = {
        {u"Total Income:"_s, income}, {u"(less) Total Costs:"_s, cost}, {u"Net:"_s, net}};
    qreal top = 40;
    for (const auto &figure : figures) {
        band.text(QRectF(labelLeft, top, labelWidth, row), figure.label, bold, right)
            .text(QRectF(amountLeft, top, amountWidth, row), printedAmount(figure.amount), bold,
                  right);
        top += row;
    }
    band.line(QPointF(0, top + 30), QPointF(amountLeft + amountWidth, top + 30), 5);
    band.height = top + 120;
    band.exportLine(QString(7, u'\t') + u"Total Income:\t"_s + amountText(income))
        .exportLine(QString(6, u'\t') + u"Equipment Totals\t(less) Total Costs:\t"_s +
                    amountText(cost))
        .exportLine(QString(7, u'\t') + u"Net:\t"_s + amountText(net));
    return m_run->engine()->print(band);
}

} // namespace qaveq
