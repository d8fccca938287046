#include "FixedAssetReports.h"

#include "ScheduleRows.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"

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

// Columns of the schedule, across a landscape page (7,200 decipoints).
constexpr qreal DateWidth = 560;
constexpr qreal AmountWidth = 640;
constexpr qreal MethodsLeft = DateWidth;
constexpr qreal ActualLeft = MethodsLeft + 8 * AmountWidth;
constexpr qreal PeriodLeft = ActualLeft + AmountWidth;
constexpr qreal PeriodWidth = 400;
constexpr qreal RecordLeft = PeriodLeft + PeriodWidth;
constexpr qreal RecordWidth = 480;
constexpr qreal Pad = 40;
constexpr qreal LineHeight = 150;

const char16_t *const MethodHeadings[] = {u"Straight Line", u"Sum of Years' Digits",
                                          u"Double Declining Balance", u"Custom"};

// The method printed bold: 1 to 4 in the order of the columns, else none.
int boldGroup(int method)
{
    return method >= 1 && method <= 4 ? method - 1 : -1;
}

QRectF cell(qreal left, qreal width, qreal top = 0, qreal height = LineHeight)
{
    return QRectF(left + Pad, top, width - 2 * Pad, height);
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
        graph.x.append(entry.calendarYear != 0 ? entry.calendarYear : entry.year);
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
    graph.xTitle = u"Number of Years"_s;
    graph.yTitle = u"Book Value"_s;
    graph.yMin = equipment.SalvageValue.toDouble();
    graph.yMax = equipment.PurchaseValue.toDouble();
    return graph;
}

} // namespace FixedAssets

FixedAssetScheduleReport::FixedAssetScheduleReport(data::Company &company, EQHeader equipment)
    : m_company(company)
    , m_equipment(std::move(equipment))
{}

QString FixedAssetScheduleReport::title() const
{
    return u"Fixed Asset Depreciation Schedule"_s;
}

QString FixedAssetScheduleReport::pdfFileName() const
{
    return u"Fixed Asset Depreciation Schedule.pdf"_s;
}

report::PageSetup FixedAssetScheduleReport::pageSetup() const
{
    report::PageSetup setup;
    setup.landscape = true;
    return setup;
}

qint64 FixedAssetScheduleReport::primaryRecordCount()
{
    return m_company.file<GLDepr>().count();
}

report::Band FixedAssetScheduleReport::headings() const
{
    const int bold = boldGroup(m_equipment.DepreciationMethod);
    const report::TextStyle plain = ReportBands::font(8);
    const report::TextStyle strong = ReportBands::font(8, true);
    const int centre = Qt::AlignHCenter | Qt::AlignBottom;
    const int right = Qt::AlignRight | Qt::AlignBottom;
    report::Band band;
    band.height = 2 * LineHeight + 60;
    for (int group = 0; group < 4; ++group) {
        const qreal left = MethodsLeft + group * 2 * AmountWidth;
        const report::TextStyle &font = group == bold ? strong : plain;
        band.text(cell(left, 2 * AmountWidth), QString::fromUtf16(MethodHeadings[group]), font,
                  centre)
            .line(QPointF(left + Pad, LineHeight),
                  QPointF(left + 2 * AmountWidth - Pad, LineHeight), 3)
            .text(cell(left, AmountWidth, LineHeight), u"Amount"_s, font, right)
            .text(cell(left + AmountWidth, AmountWidth, LineHeight), u"Value"_s, font, right);
    }
    band.text(cell(0, DateWidth, LineHeight), u"Month/Year"_s, plain,
              Qt::AlignLeft | Qt::AlignBottom)
        .text(cell(ActualLeft, AmountWidth), u"Actual"_s, plain, right)
        .text(cell(ActualLeft, AmountWidth, LineHeight), u"Amount"_s, plain, right)
        .text(cell(PeriodLeft, PeriodWidth), u"Fiscal"_s, plain, centre)
        .text(cell(PeriodLeft, PeriodWidth, LineHeight), u"Period"_s, plain, centre)
        .text(cell(RecordLeft, RecordWidth, LineHeight), u"Record #"_s, plain, right)
        .line(QPointF(0, 2 * LineHeight + 30),
              QPointF(RecordLeft + RecordWidth, 2 * LineHeight + 30), 5);
    return band;
}

report::Band FixedAssetScheduleReport::detail(const GLDepr &row) const
{
    const int bold = boldGroup(m_equipment.DepreciationMethod);
    const report::TextStyle plain = ReportBands::font(8);
    const report::TextStyle strong = ReportBands::font(8, true);
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const Decimal GLDepr::*const amounts[8] = {
        &GLDepr::SLAmount,  &GLDepr::SLValue,  &GLDepr::SYAmount,  &GLDepr::SYValue,
        &GLDepr::DDBAmount, &GLDepr::DDBValue, &GLDepr::UD1Amount, &GLDepr::UD1Value};

    report::Band band;
    band.height = LineHeight;
    band.text(cell(0, DateWidth), formatted(u"@d14", row.Date), plain);
    QStringList values{formatted(u"@d02", row.Date)};
    for (int i = 0; i < 8; ++i) {
        const Decimal &amount = row.*amounts[i];
        band.text(cell(MethodsLeft + i * AmountWidth, AmountWidth), formatted(u"@n-18.2", amount),
                  i / 2 == bold ? strong : plain, right);
        values.append(formatted(u"@n-15.2", amount));
    }
    const QString transaction = formatted(u"@n7b", row.GLTransID);
    band.text(cell(ActualLeft, AmountWidth), formatted(u"@n-18.2", row.ActualAmount), plain, right)
        .text(cell(PeriodLeft, PeriodWidth), Picture::parse(u"@s5").format(row.FPPostedLabel),
              plain, Qt::AlignCenter)
        .text(cell(RecordLeft, RecordWidth), transaction, plain, right);
    values << formatted(u"@n-15.2", row.ActualAmount) << Text::clip(row.FPPostedLabel)
           << transaction;
    band.exportLine(values.join(u'\t'));
    return band;
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
    block.exportLine(
        u"\tStraight Line\t\tSum of Years' Digits\t\tDouble Declining Balance\t\tCustom\t\tActual\tFiscal"_s);
    block.exportLine(
        u"Month/Year\tAmount\tValue\tAmount\tValue\tAmount\tValue\tAmount\tValue\tAmount\tPeriod\tRecord #"_s);
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
    : m_company(company)
    , m_equipment(std::move(equipment))
    , m_renderer(std::move(renderer))
{}

QString FixedAssetGraphsReport::title() const
{
    return u"Fixed Asset Depreciation Graphs"_s;
}

QString FixedAssetGraphsReport::pdfFileName() const
{
    return u"Fixed Asset Depreciation Graphs.pdf"_s;
}

qint64 FixedAssetGraphsReport::primaryRecordCount()
{
    return m_company.file<EQHeader>().count();
}

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
