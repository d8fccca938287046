#include "FixedAssetReports.h"

#include "ScheduleRows.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"

#include "runtime/report/ReportColumns.h"

#include "core/Picture.h"
#include "core/Text.h"

#include "data/Company.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

QString formatted(const char16_t *picture, const Decimal &value)
{
    return Picture::parse(QStringView(picture)).format(value);
}

QString formatted(const char16_t *picture, qint64 value)
{
    return Picture::parse(QStringView(picture)).format(value);
}

const char16_t *const MethodHeadings[] = {u"Straight Line", u"Sum of Years' Digits",
                                          u"Double Declining Balance", u"Custom"};

// The method printed bold: 1 to 4 in the order of the columns, else none.
int boldGroup(int method)
{
    return method >= 1 && method <= 4 ? method - 1 : -1;
}

// The schedule's columns across a landscape page: the month, an amount and
// a value per method, the amount actually posted, its period and G/L record.
const report::ColumnTable &scheduleColumns()
{
    static const report::ColumnTable table = [] {
        const int right = Qt::AlignRight;
        QList<report::ReportColumn> columns{
            {.heading = {u"Month/Year"_s}, .picture = u"@d14"_s, .exportPicture = u"@d02"_s}};
        QList<report::ColumnSpan> spans;
        for (int group = 0; group < 4; ++group) {
            spans.append({.first = 1 + 2 * group,
                          .count = 2,
                          .text = QString::fromUtf16(MethodHeadings[group]),
                          .group = group});
            for (const QString &heading : {u"Amount"_s, u"Value"_s})
                columns.append({.heading = {heading},
                                .picture = u"@n-15.2"_s,
                                .alignment = right,
                                .group = group});
        }
        columns.append(
            {.heading = {u"Actual"_s, u"Amount"_s}, .picture = u"@n-15.2"_s, .alignment = right});
        columns.append({.heading = {u"Fiscal"_s, u"Period"_s},
                        .picture = u"@s5"_s,
                        .alignment = Qt::AlignHCenter});
        columns.append({.heading = {u"Record #"_s}, .picture = u"@n7b"_s, .alignment = right});
        return report::ColumnTable(columns, ReportBands::font(8), spans);
    }();
    return table;
}

// The equipment's block of figures at the top of both reports, with its
// export lines.
report::Band equipmentBlock(const EQHeader &equipment, bool withScheduleCaption)
{
    const QString label =
        FixedAssets::methodLabel(equipment.DepreciationMethod, equipment.UD1DepreciationDesc);
    const report::TextStyle plain = ReportBands::font(9);
    const report::TextStyle bold = ReportBands::font(9, true);
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const qreal row = 200;
    report::Band band;
    band.text(QRectF(0, 60, 1300, row), u"Asset ID:"_s, bold, right)
        .text(QRectF(1400, 60, 1000, row), Picture::parse(u"@s10").format(equipment.EquipmentID),
              bold)
        .text(QRectF(2400, 60, 3600, row), Picture::parse(u"@s40").format(equipment.Description),
              bold);
    const struct
    {
        qreal left, top;
        QString prompt, value;
    } figures[] = {
        {0, 1, u"Purchase Value:"_s, formatted(u"@n-19.2", equipment.PurchaseValue)},
        {3200, 1, u"Purchase Date:"_s, formatted(u"@d1", equipment.PurchaseDate)},
        {0, 2, u"Salvage Value:"_s, formatted(u"@n-19.2", equipment.SalvageValue)},
        {3200, 2, u"Months to Depreciate:"_s, formatted(u"@n8", equipment.DepreciationYears)},
        {0, 3, u"Depreciation Method:"_s, label},
    };
    for (const auto &figure : figures) {
        const qreal top = 60 + figure.top * row;
        band.text(QRectF(figure.left, top, 1300, row), figure.prompt, plain, right)
            .text(QRectF(figure.left + 1400, top, 1600, row), figure.value, plain);
    }
    band.height = 60 + 4 * row + 60;
    if (withScheduleCaption) {
        band.text(QRectF(0, band.height, 2000, row), u"Depreciation Schedule:"_s, bold);
        band.height += row + 40;
    }

    band.exportLine(u"Asset ID:\t"_s + Text::clip(equipment.EquipmentID) + u'\t' +
                    Text::clip(equipment.Description));
    band.exportLine(u"Purchase Date: "_s + formatted(u"@d01b", equipment.PurchaseDate) +
                    u"\t\t\tMonths to Depreciate: "_s +
                    QString::number(equipment.DepreciationYears) +
                    u"\t\t\tDepreciation Method: "_s + label);
    band.exportLine(u"Purchase Value: "_s + formatted(u"@n-15.2", equipment.PurchaseValue) +
                    u"\t\t\tSalvage Value: "_s + formatted(u"@n-15.2", equipment.SalvageValue));
    return band;
}

// A line of its own under the block, in place of the schedule's figures; the
// export keeps its lines as they are.
report::Band noScheduleBand(const EQHeader &equipment)
{
    report::Band band;
    band.height = 400;
    band.text(QRectF(0, 100, 7200, 200), FixedAssets::noScheduleText(equipment),
              ReportBands::font(10, true));
    return band;
}

} // namespace

namespace FixedAssets {

QString noScheduleText(const EQHeader &equipment)
{
    return u"No schedule has been calculated for %1."_s.arg(Text::clip(equipment.EquipmentID));
}

QString methodLabel(int method, const QString &customDescription)
{
    switch (method) {
    case 1:
        return u"Straight Line"_s;
    case 2:
        return u"Sum of Years' Digits"_s;
    case 3:
        return u"Double Rate Declining Balance"_s;
    case 4: {
        const QString custom = Text::clip(customDescription);
        return custom.isEmpty() ? u"Custom"_s : custom.left(30);
    }
    default:
        return u"Undetermined"_s;
    }
}

namespace {

const QString SeriesNames[] = {u"Straight Line"_s, u"Sum of Years' Digits"_s,
                               u"Double-Rate Declining Balance"_s};

report::Graph summaryGraph(const QList<AnnualSummaryEntry> &summary,
                           Decimal AnnualSummaryEntry::*const (&fields)[3])
{
    report::Graph graph;
    for (int i = 0; i < 3; ++i)
        graph.series.append({SeriesNames[i], {}});
    for (const AnnualSummaryEntry &entry : summary) {
        // Years of the asset's life, as the equipment form's "by Year" list
        // has them: a life year is twelve months from the purchase, never a
        // calendar year.
        graph.x.append(entry.year);
        for (int i = 0; i < 3; ++i)
            graph.series[i].values.append((entry.*fields[i]).toDouble());
    }
    return graph;
}

} // namespace

report::Graph annualDepreciationGraph(const QList<AnnualSummaryEntry> &summary)
{
    static Decimal AnnualSummaryEntry::*const charges[3] = {&AnnualSummaryEntry::slCharge,
                                                            &AnnualSummaryEntry::syCharge,
                                                            &AnnualSummaryEntry::ddbCharge};
    report::Graph graph = summaryGraph(summary, charges);
    graph.title = u"Annual Depreciation Amounts"_s;
    graph.xTitle = u"Year"_s;
    graph.yTitle = u"Depreciation Amount"_s;
    return graph;
}

report::Graph bookValueGraph(const EQHeader &equipment, const QList<AnnualSummaryEntry> &summary)
{
    static Decimal AnnualSummaryEntry::*const values[3] = {
        &AnnualSummaryEntry::slBegin, &AnnualSummaryEntry::syBegin, &AnnualSummaryEntry::ddbBegin};
    report::Graph graph = summaryGraph(summary, values);
    graph.title = u"Asset Book Value"_s;
    // The points stand at calendar years, as in the annual depreciation graph.
    graph.xTitle = u"Year"_s;
    graph.yTitle = u"Book Value"_s;
    graph.yMin = equipment.SalvageValue.toDouble();
    graph.yMax = equipment.PurchaseValue.toDouble();
    return graph;
}

} // namespace FixedAssets

FixedAssetScheduleReport::FixedAssetScheduleReport(data::Company &company, EQHeader equipment)
    : ReportPass({.title = u"Fixed Asset Depreciation Schedule"_s,
                  .pdfFileName = u"Fixed Asset Depreciation Schedule.pdf"_s,
                  .page = ReportIdentity::paper(true),
                  .primaryFile = &company.file<GLDepr>()})
    , m_company(company)
    , m_equipment(std::move(equipment))
{}

report::Band FixedAssetScheduleReport::headings() const
{
    return scheduleColumns().headings(boldGroup(m_equipment.DepreciationMethod));
}

report::Band FixedAssetScheduleReport::detail(const GLDepr &row) const
{
    return scheduleColumns().detail({qint64(row.Date), row.SLAmount, row.SLValue, row.SYAmount,
                                     row.SYValue, row.DDBAmount, row.DDBValue, row.UD1Amount,
                                     row.UD1Value, row.ActualAmount, row.FPPostedLabel,
                                     qint64(row.GLTransID)},
                                    boldGroup(m_equipment.DepreciationMethod));
}

bool FixedAssetScheduleReport::open(ReportRun &run)
{
    if (Text::clip(m_equipment.EquipmentID).isEmpty())
        return false;
    m_rows.emplace(m_company.file<GLDepr>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({m_equipment.EquipmentID})));
    m_total = m_rows->count();
    m_read = 0;

    // Page 1 has the equipment's block above the headings; later pages
    // repeat the headings under the page header.
    report::ReportEngine &engine = run.beginPrinting([this](int) { return headings(); }, 2);
    report::Band block = equipmentBlock(m_equipment, true);
    block.exportLine(QString());
    block.exportLine(u"Depreciation Schedule:"_s);
    for (const QString &line : scheduleColumns().exportHeadings())
        block.exportLine(line);
    engine.print(block);
    engine.print(headings());
    if (m_total == 0)
        engine.print(noScheduleBand(m_equipment));
    return true;
}

bool FixedAssetScheduleReport::next(ReportRun &run, int records)
{
    GLDepr row;
    for (int i = 0; i < records; ++i) {
        if (!m_rows->next(row))
            return false;
        ++m_read;
        if (!run.engine()->print(detail(row)))
            return false;
    }
    return true;
}

int FixedAssetScheduleReport::percentRead() const
{
    return m_total > 0 ? int(std::min<qint64>(100, m_read * 100 / m_total)) : 100;
}

FixedAssetGraphsReport::FixedAssetGraphsReport(data::Company &company, EQHeader equipment,
                                               FixedAssets::GraphRenderer renderer)
    : ReportPass({.title = u"Fixed Asset Depreciation Graphs"_s,
                  .pdfFileName = u"Fixed Asset Depreciation Graphs.pdf"_s,
                  .primaryFile = &company.file<EQHeader>()})
    , m_company(company)
    , m_equipment(std::move(equipment))
    , m_renderer(std::move(renderer))
{}

bool FixedAssetGraphsReport::open(ReportRun &run)
{
    if (Text::clip(m_equipment.EquipmentID).isEmpty())
        return false;
    run.beginPrinting().print(equipmentBlock(m_equipment, false));
    return true;
}

bool FixedAssetGraphsReport::next(ReportRun &run, int)
{
    const std::vector<GLDepr> rows = scheduleRows(m_company, m_equipment.EquipmentID);
    const QList<AnnualSummaryEntry> summary = annualSummary(m_equipment, rows);
    report::ReportEngine &engine = *run.engine();
    if (rows.empty())
        engine.print(noScheduleBand(m_equipment));
    const qreal width = engine.width();
    for (const report::Graph &graph : {FixedAssets::annualDepreciationGraph(summary),
                                       FixedAssets::bookValueGraph(m_equipment, summary)}) {
        report::Band band;
        // Both graphs fit on the page under the equipment's block.
        band.height = 2650;
        const QSizeF size(width, 2550);
        band.drawing(QRectF(QPointF(0, 100), size), m_renderer(graph, size));
        if (!engine.print(band))
            break;
    }
    m_done = true;
    return false;
}

} // namespace qaveq
