#include "AnalysisReports.h"

#include "LimitsLines.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"

#include "runtime/report/ReportColumns.h"

#include "core/Picture.h"
#include "core/Text.h"

#include "data/Company.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

using Analysis::EquipmentFigures;
using Analysis::Row;

// How the rows below a block's categories open their export lines.
QString perUnitHeading(const EQLimits &definition)
{
    return Text::clip(definition.QuantityAnalysis) == u"U" ? u"Use/Unit"_s : u"$/Unit"_s;
}

// The columns of a block: type, description, units, then quantity, amount
// and per-unit figure of each period shown.
report::ColumnTable blockColumns(const QString &perUnit, const Analysis::Period &period)
{
    const int right = Qt::AlignRight;
    QList<report::ReportColumn> columns{
        {.heading = {QString(), u"Type"_s}, .picture = u"@s10"_s},
        {.heading = {QString(), u"Description"_s}, .picture = u"@s30"_s},
        {.heading = {QString(), u"Units"_s}, .picture = u"@s5"_s},
    };
    QList<report::ColumnSpan> spans;
    const int shown = period.isRange() ? 1 : 3;
    for (int c = 0; c < shown; ++c) {
        spans.append({.first = 3 + 3 * c, .count = 3, .text = period.headings[c]});
        columns.append(
            {.heading = {QString(), u"Quantity"_s}, .picture = u"@n-15.2b"_s, .alignment = right});
        columns.append(
            {.heading = {QString(), u"Amount"_s}, .picture = u"@n-15.2b"_s, .alignment = right});
        columns.append(
            {.heading = {QString(), perUnit}, .picture = u"@n-12.2b"_s, .alignment = right});
    }
    return report::ColumnTable(columns, ReportBands::font(8), spans);
}

QString exportFigure(const Analysis::Figure &figure)
{
    static const Picture picture = Picture::parse(u"@n-19.2");
    return figure ? picture.format(*figure).trimmed() : QString();
}

QStringList parameterLines(data::Company &company, const ReportSelection &selection, bool summary)
{
    const EQLimits &d = selection.definition();
    QStringList lines{
        LimitsLines::title(d.ReportTitle),
        summary ? u"Report Type: Cost Summary Report"_s : u"Report Type: Usage / Cost Analysis"_s,
        LimitsLines::codeLine(LimitsLines::Equipment, d.SelectedEquipment, d.EquipmentFrom,
                              d.EquipmentTo, selection.members(ListKind::Equipment)),
        LimitsLines::codeLine(LimitsLines::Categories, d.SelectedCategory, d.CategoryFrom,
                              d.CategoryTo, selection.members(ListKind::Category)),
        LimitsLines::inactive(d.IncludeInactive == 1),
        LimitsLines::classes(d.SelectedClass == 1, d.ClassFrom, d.ClassTo),
        LimitsLines::dates(company, selection),
        Text::clip(d.QuantityAnalysis) == u"U"
            ? u"Quantity Analysis Type: Usage Units per Cost Unit"_s
            : u"Quantity Analysis Type: Dollar Amount per Cost Unit"_s,
    };
    lines.append(LimitsLines::userDefined(company, selection));
    lines.removeAll(QString());
    return lines;
}

// What one limit of the definition covers, in a few words.
QString limitText(int selection, const QString &from, const QString &to, const QStringList &list)
{
    switch (selection) {
    case 1:
        return Text::clip(from) + u" to "_s +
               (Text::clip(to).isEmpty() ? u"the last"_s : Text::clip(to));
    case 2:
        return list.join(u", "_s);
    default:
        return u"All"_s;
    }
}

// The six lines that close an analysis export.
QStringList closingParameters(const Analysis::Period &period, const ReportSelection &selection,
                              bool summary)
{
    const EQLimits &d = selection.definition();
    QString dates;
    if (period.isRange())
        dates = period.headings[Analysis::Cumulative];
    return {
        u"Equipment ID: "_s + limitText(d.SelectedEquipment, d.EquipmentFrom, d.EquipmentTo,
                                        selection.members(ListKind::Equipment)),
        u"Cost Categories: "_s + limitText(d.SelectedCategory, d.CategoryFrom, d.CategoryTo,
                                           selection.members(ListKind::Category)),
        u"Equipment Classes: "_s +
            limitText(d.SelectedClass == 1 ? 1 : 0, d.ClassFrom, d.ClassTo, {}),
        u"Report Type: "_s + (summary ? u"Cost Summary Report"_s : u"Usage / Cost Analysis"_s),
        u"Quantity Analysis Type: "_s + (Text::clip(d.QuantityAnalysis) == u"U"
                                             ? u"Usage Units per Cost Unit"_s
                                             : u"Dollar Amount per Cost Unit"_s),
        u"Date Range: "_s + dates,
    };
}

// The analysis and the cost summary run under one name, on landscape pages
// unless the definition turns them upright.
ReportIdentity analysisIdentity(data::Company &company, const EQLimits &definition)
{
    const QString orientation = Text::clip(definition.Orientation);
    return {.title = u"Equipment Analysis"_s,
            .pdfFileName = u"Equipment Analysis Report.pdf"_s,
            .page = ReportIdentity::paper(orientation.isEmpty() || orientation == u"L"),
            .primaryFile = &company.file<EQHeader>()};
}

int percentOf(qint64 read, qint64 total)
{
    return total > 0 ? int(std::min<qint64>(100, read * 100 / total)) : 100;
}

} // namespace

AnalysisPass::AnalysisPass(data::Company &company, EQLimits definition, DayNumber today,
                           bool summary)
    : ReportPass(analysisIdentity(company, definition))
    , m_company(company)
    , m_selection(company, std::move(definition), today)
    , m_period(Analysis::selectedPeriod(company, m_selection, today))
    , m_calculator(company, m_selection, m_period)
    , m_limits(parameterLines(company, m_selection, summary))
    , m_summary(summary)
{}

QStringList AnalysisPass::exportParameters() const
{
    return closingParameters(m_period, m_selection, m_summary);
}

bool AnalysisPass::open(ReportRun &run)
{
    if (!m_period.refusal.isEmpty()) {
        run.passFailed(m_period.refusal);
        return false;
    }
    m_equipment = m_selection.equipment();
    m_read = 0;
    m_calculator.prepareRange(m_equipment.size());
    return !m_equipment.isEmpty();
}

bool AnalysisPass::readNext(EQHeader &header)
{
    header.EquipmentID = m_equipment.at(int(m_read)).id;
    ++m_read;
    return bool(m_company.file<EQHeader>().fetch(u"KeyEquipmentID", header));
}

int AnalysisPass::percentRead() const
{
    return percentOf(m_read, m_equipment.size());
}

EquipmentAnalysisReport::EquipmentAnalysisReport(data::Company &company, EQLimits definition,
                                                 DayNumber today,
                                                 QList<Analysis::EquipmentFigures> *collected)
    : AnalysisPass(company, std::move(definition), today, false)
    , m_collected(collected)
{}

report::Band EquipmentAnalysisReport::block(const EquipmentFigures &figures) const
{
    const QString perUnit = perUnitHeading(selection().definition());
    const report::ColumnTable columns = blockColumns(perUnit, period());
    const int shown = period().isRange() ? 1 : 3;
    const auto cells = [shown](const Row &row, bool withCode) {
        QList<report::CellValue> values{withCode ? row.code : QString(), row.description, row.unit};
        for (int i = 0; i < 3 * shown; ++i)
            values.append(row.figures[i] ? report::CellValue(*row.figures[i])
                                         : report::CellValue(QString()));
        return values;
    };

    report::Band band;
    band.height = 80;
    band.text(QRectF(0, 80, 1200, 220), figures.id, ReportBands::font(10, true))
        .text(QRectF(1200, 80, 5000, 220), figures.description, ReportBands::font(10, true));
    band.height += 260;
    report::Band spacer;
    spacer.height = 200;
    spacer.exportLine(QString());
    if (figures.categories.isEmpty()) {
        report::Band none;
        none.height = 220;
        none.text(QRectF(1200, 0, 5000, 200), Analysis::NoCostCategories, ReportBands::font(9))
            .exportLine(figures.id + u'\t' + figures.description)
            .exportLine(u'\t' + Analysis::NoCostCategories);
        band.append(none);
        band.append(spacer);
        return band;
    }
    band.append(columns.headings());
    band.exportLines.clear();
    band.exportLine(figures.id + u'\t' + figures.description);
    // The export shows the periods the page shows, each figure under its
    // own heading: quantity, amount and per unit of each period in turn.
    static const QString periodNames[] = {u"____Cumulative____"_s, u"____Year to Date____"_s,
                                          u"____Month to Date____"_s};
    QString periods = u"\t\t"_s;
    QString headings = u"Type\tDescription\tUnits"_s;
    for (int c = 0; c < shown; ++c) {
        // A date range's one period is named as the page names it.
        const QString name = period().isRange()
                                 ? u"____"_s + period().headings[Analysis::Cumulative] + u"____"_s
                                 : periodNames[c];
        periods += (c == 0 ? u"\t"_s : u"\t\t\t"_s) + name;
        headings += u"\tQuantity\tAmount\t"_s + perUnit;
    }
    band.exportLine(periods);
    band.exportLine(headings);
    const auto exportLine = [shown](const QString &opening, const Row &row) {
        QString line = opening + u'\t' + row.unit;
        for (int i = 0; i < 3 * shown; ++i)
            line += u'\t' + exportFigure(row.figures[i]);
        return line;
    };
    for (const Row &row : figures.categories) {
        report::Band line = columns.detail(cells(row, true));
        line.exportLines = {exportLine(row.code + u'\t' + row.description, row)};
        band.append(line);
    }
    report::Band rule;
    rule.height = 40;
    rule.line(QPointF(columns.left(3), 20), QPointF(columns.totalWidth(), 20), 5);
    band.append(rule);
    for (const Row &row : figures.totals) {
        report::Band line = columns.detail(cells(row, false));
        line.exportLines = {exportLine(u'\t' + row.description + u':', row)};
        band.append(line);
    }
    band.append(spacer);
    return band;
}

bool EquipmentAnalysisReport::next(ReportRun &run, int records)
{
    if (!run.engine()) {
        // The parameter lines stand under the report's heading on its first
        // page, not in the page footers.
        report::Band parameters;
        qreal top = 60;
        for (const QString &line : m_limits) {
            parameters.text(QRectF(0, top, pageSetup().printable().width(), 170), line,
                            ReportBands::font(8));
            top += 170;
        }
        parameters.height = top + 60;
        if (!run.beginPrinting().print(parameters))
            return false;
    }
    for (int i = 0; i < records; ++i) {
        if (!moreToRead())
            return false;
        EQHeader header;
        if (!readNext(header))
            continue;
        const EquipmentFigures figures = m_calculator.equipment(header);
        if (figures.categories.isEmpty() && !m_calculator.listsWithoutCategories())
            continue;
        if (m_collected)
            m_collected->append(figures);
        if (!run.engine()->print(block(figures)))
            return false;
    }
    return moreToRead();
}

CostSummaryReport::CostSummaryReport(data::Company &company, EQLimits definition, DayNumber today,
                                     QList<Analysis::SummaryLine> *collected)
    : AnalysisPass(company, std::move(definition), today, true)
    , m_collected(collected)
{}

namespace {

const report::ColumnTable &summaryColumns()
{
    static const report::ColumnTable table = [] {
        const int right = Qt::AlignRight;
        const QList<report::ReportColumn> columns{
            {.heading = {QString(), u"ID"_s}, .picture = u"@s10"_s},
            {.heading = {QString(), u"Description"_s}, .picture = u"@s30"_s},
            {.heading = {QString(), u"VIN"_s}, .picture = u"@s17"_s},
            {.heading = {QString(), u"License"_s}, .picture = u"@s10"_s},
            {.heading = {QString(), u"Internal"_s}, .picture = u"@n-10.2b"_s, .alignment = right},
            {.heading = {QString(), u"Rental"_s}, .picture = u"@n-10.2b"_s, .alignment = right},
            {.heading = {QString(), u"Month to Date"_s},
             .picture = u"@n-15.2"_s,
             .alignment = right},
            {.heading = {QString(), u"Year to Date"_s},
             .picture = u"@n-15.2"_s,
             .alignment = right},
            {.heading = {QString(), u"Cumulative"_s}, .picture = u"@n-15.2"_s, .alignment = right},
        };
        const QList<report::ColumnSpan> spans{{.first = 4, .count = 2, .text = u"Rates"_s},
                                              {.first = 6, .count = 3, .text = u"Cost"_s}};
        return report::ColumnTable(columns, ReportBands::font(8), spans);
    }();
    return table;
}

} // namespace

bool CostSummaryReport::open(ReportRun &run)
{
    for (Decimal &total : m_totals)
        total = Decimal();
    return AnalysisPass::open(run);
}

bool CostSummaryReport::next(ReportRun &run, int records)
{
    if (!run.engine()) {
        report::ReportEngine &engine =
            run.beginPrinting([](int) { return summaryColumns().headings(); });
        report::Band heading;
        heading.exportLine(
            u"ID\tDescription\tVIN\tLicense\tInternal Rate\tRental Rate\tMTD Cost\tYTD Cost\tCumulative Cost"_s);
        engine.print(heading);
    }
    for (int i = 0; i < records && moreToRead(); ++i) {
        EQHeader header;
        if (!readNext(header))
            continue;
        const Analysis::SummaryLine line = m_calculator.summary(header);
        for (int c = 0; c < 3; ++c)
            m_totals[c] += line.costs[c];
        if (m_collected)
            m_collected->append(line);
        report::Band band = summaryColumns().detail(
            {line.id, line.description, line.vin, line.license, line.internalRate, line.rentalRate,
             line.costs[0], line.costs[1], line.costs[2]});
        band.exportLines = {QStringList{line.id, line.description, line.vin, line.license,
                                        exportFigure(line.internalRate),
                                        exportFigure(line.rentalRate), exportFigure(line.costs[0]),
                                        exportFigure(line.costs[1]), exportFigure(line.costs[2])}
                                .join(u'\t')};
        if (!run.engine()->print(band))
            return false;
    }
    if (moreToRead())
        return true;
    const report::ColumnTable &columns = summaryColumns();
    report::Band totals = columns.detail({QString(), QString(), QString(), QString(), QString(),
                                          QString(), m_totals[0], m_totals[1], m_totals[2]});
    totals.text(
        QRectF(columns.left(4), 0, columns.width(4) + columns.width(5), columns.lineHeight()),
        u"Totals:"_s, ReportBands::font(8, true), Qt::AlignRight | Qt::AlignVCenter);
    totals.line(QPointF(columns.left(6), 0), QPointF(columns.totalWidth(), 0), 5);
    totals.exportLines = {u"\t\t\t\t\tTotals:\t"_s + exportFigure(m_totals[0]) + u'\t' +
                          exportFigure(m_totals[1]) + u'\t' + exportFigure(m_totals[2])};
    run.engine()->print(totals);
    return false;
}

} // namespace qaveq
