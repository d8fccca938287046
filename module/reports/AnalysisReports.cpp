#include "AnalysisReports.h"

#include "LimitsLines.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/PriorPeriods.h"

#include "runtime/report/ReportColumns.h"

#include "core/Picture.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace Analysis {

namespace {

const QStringList PseudoCategories{u".I"_s, u".R"_s, u".N"_s};

bool isPseudo(const QString &category)
{
    return PseudoCategories.contains(Text::clip(category));
}

// The equipment ID as it opens a subsidiary code: ten characters.
QString subsidiaryCode(const QString &id, const QString &rest)
{
    return Text::clip(id).leftJustified(10, u' ') + rest;
}

// The fiscal period today lies in: the period whose dates hold it, else the
// last one begun by today, else the first on file.
GLFiscal currentPeriod(data::Company &company, DayNumber today)
{
    data::KeyCursor cursor = company.file<GLFiscal>().scan(u"KeyFiscalPeriodUp");
    GLFiscal period, chosen;
    bool any = false;
    while (cursor.next(period)) {
        if (period.StartDate <= today && (period.EndDate == 0 || today <= period.EndDate))
            return period;
        if (!any || period.StartDate <= today) {
            chosen = period;
            any = true;
        }
    }
    return chosen;
}

void setHeadings(Period &period, DayNumber day)
{
    const QDate date = SuiteDate::toQDate(day);
    period.headings[Cumulative] =
        u"Cumulative As Of "_s + Picture::parse(u"@d02").format(qint64(day));
    period.headings[Year] = u"Year (%1)"_s.arg(
        QString::number(date.isValid() ? date.year() : 0).rightJustified(4, u'0'));
    period.headings[Month] = u"Month (%1)"_s.arg(
        date.isValid() ? QLocale(QLocale::English).monthName(date.month()) : QString());
}

template <class R> R fetched(data::Company &company, const QString &key, R record)
{
    if (!company.file<R>().fetch(key, record))
        return R();
    return record;
}

} // namespace

Decimal quotient(const Decimal &a, const Decimal &b)
{
    return b.isZero() ? Decimal() : (a / b).rounded(2);
}

Period selectedPeriod(data::Company &company, const ReportSelection &selection, DayNumber today)
{
    Period period;
    GLFiscal fiscal;
    if (const std::optional<int> asOf = selection.asOfPeriod()) {
        period.kind = Period::Kind::AsOfPeriod;
        fiscal.FiscalPeriod = *asOf;
        if (*asOf == 0)
            period.refusal = u"The report is \"As of\" a fiscal period, but no period is chosen."_s;
        else if (!company.file<GLFiscal>().fetch(u"KeyFiscalPeriodUp", fiscal))
            period.refusal =
                u"The report is \"As of\" fiscal period %1, which is not in the fiscal calendar."_s
                    .arg(*asOf);
        setHeadings(period, fiscal.PeriodDate);
    } else {
        fiscal = currentPeriod(company, today);
        setHeadings(period, today);
    }
    period.fiscalYear = fiscal.FiscalYear;
    period.period = fiscal.Period;
    if (const std::optional<DateRange> range = selection.dateRange()) {
        period.kind = Period::Kind::DateRange;
        period.range = *range;
        const Picture shortDate = Picture::parse(u"@d01");
        if (range->from > range->to)
            period.refusal = u"The report's dates run backwards: from %1 to %2."_s.arg(
                shortDate.format(qint64(range->from)), shortDate.format(qint64(range->to)));
        period.headings[Cumulative] =
            range->from == range->to ? u"Date: "_s + shortDate.format(qint64(range->from))
                                     : u"Dates from "_s + shortDate.format(qint64(range->from)) +
                                           u" to "_s + shortDate.format(qint64(range->to));
    }
    return period;
}

Calculator::Calculator(data::Company &company, const ReportSelection &selection, Period period)
    : m_company(company)
    , m_selection(selection)
    , m_period(std::move(period))
{}

void Calculator::prepareRange(qsizetype selected)
{
    m_rangeTotals.reset();
    if (!m_period.isRange() || selected * 10 < m_company.file<EQHeader>().count())
        return;
    data::ScanOptions options;
    options.filters = {
        {u"GLT:TransDate"_s, data::Filter::Op::GreaterOrEqual, qint64(m_period.range.from)},
        {u"GLT:TransDate"_s, data::Filter::Op::LessOrEqual, qint64(m_period.range.to)}};
    data::KeyCursor ledger = m_company.file<GLTrans>().scan(u"KeySubsidiaryCode", options);
    const auto subtotals = ledger.subtotals({u"GLT:SubsidiaryCode"_s, u"GLT:CreditDebit"_s},
                                            {u"GLT:SubsidiaryQuantity"_s, u"GLT:Amount"_s});
    // A ledger the database cannot add up is read code by code instead,
    // where its error shows as any read's does.
    if (!subtotals)
        return;
    m_rangeTotals.emplace();
    for (const data::KeyCursor::Subtotal &line : *subtotals)
        (*m_rangeTotals)[std::get<QString>(line.group[0])].append(
            {Text::clip(std::get<QString>(line.group[1])), Pair{line.sums[0], line.sums[1]}});
}

Calculator::Pair Calculator::rangeTotals(const QString &subsidiaryCode,
                                         const QString &negative) const
{
    if (m_rangeTotals) {
        Pair total;
        for (const auto &[mark, sums] : m_rangeTotals->value(subsidiaryCode)) {
            if (mark == negative) {
                total.amount -= sums.amount;
                total.quantity -= sums.quantity;
            } else {
                total.amount += sums.amount;
                total.quantity += sums.quantity;
            }
        }
        return total;
    }
    data::ScanOptions options;
    options.from = {subsidiaryCode, qint64(m_period.range.from)};
    options.to = {subsidiaryCode, qint64(m_period.range.to)};
    options.fields = {u"GLT:CreditDebit"_s, u"GLT:Amount"_s, u"GLT:SubsidiaryQuantity"_s};
    data::KeyCursor cursor = m_company.file<GLTrans>().scan(u"KeySubsidiaryCode", options);
    Pair total;
    for (GLTrans entry; cursor.next(entry);) {
        if (Text::clip(entry.CreditDebit) == negative) {
            total.amount -= entry.Amount;
            total.quantity -= entry.SubsidiaryQuantity;
        } else {
            total.amount += entry.Amount;
            total.quantity += entry.SubsidiaryQuantity;
        }
    }
    return total;
}

bool Calculator::listsWithoutCategories() const
{
    return m_selection.definition().SelectedCategory == 0;
}

QList<EQCost> Calculator::categories(const QString &id) const
{
    QList<EQCost> list;
    data::KeyCursor cursor = m_company.file<EQCost>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({Text::clip(id)}));
    for (EQCost cost; cursor.next(cost);)
        if (!isPseudo(cost.CostCategory) && m_selection.categoryPasses(cost.CostCategory))
            list.append(cost);
    return list;
}

std::optional<QString> Calculator::categoryDescription(const QString &category) const
{
    if (const auto known = m_descriptions.constFind(category); known != m_descriptions.constEnd())
        return *known;
    EQCode code;
    code.CategoryID = category;
    std::optional<QString> description;
    if (m_company.file<EQCode>().fetch(u"KeyCategoryID", code))
        description = Text::clip(code.Description);
    m_descriptions.insert(category, description);
    return description;
}

EquipmentFigures Calculator::equipment(const EQHeader &header) const
{
    const QString id = Text::clip(header.EquipmentID);
    EquipmentFigures result{id, Text::clip(header.Description), {}, {}};
    const bool byUse = Text::clip(m_selection.definition().QuantityAnalysis) == u"U";

    // Internal, rental and non-productive (idle) units and income per column.
    Decimal internalUnits[3], internalIncome[3], rentalUnits[3], rentalIncome[3], idleUnits[3];
    internalUnits[Cumulative] = header.CumulativeInternalUnits;
    internalIncome[Cumulative] = header.CumulativeInternalIncome;
    rentalUnits[Cumulative] = header.CumulativeRentalUnits;
    rentalIncome[Cumulative] = header.CumulativeRentalIncome;
    idleUnits[Cumulative] = header.CumulativeNonProductiveUnits;
    EQPrior year;
    year.EquipmentID = id;
    year.FiscalYear = qint16(m_period.fiscalYear);
    year = fetched(m_company, u"KeyEquipmentYear"_s, year);
    EQPriorM month;
    month.EquipmentID = id;
    month.FiscalYear = qint16(m_period.fiscalYear);
    month.Period = quint8(m_period.period);
    month = fetched(m_company, u"KeyEquipmentYearPeriod"_s, month);
    const EQPriorFields *records[3] = {nullptr, &year, &month};
    for (int c : {Year, Month}) {
        internalUnits[c] = records[c]->InternalUnits;
        internalIncome[c] = records[c]->InternalIncome;
        rentalUnits[c] = records[c]->RentalUnits;
        rentalIncome[c] = records[c]->RentalIncome;
        idleUnits[c] = records[c]->NonProductiveUnits;
    }
    if (m_period.isRange()) {
        const Pair internal = rangeTotals(subsidiaryCode(id, u".I"_s), u"D"_s);
        const Pair rental = rangeTotals(subsidiaryCode(id, u".R"_s), u"D"_s);
        internalUnits[Cumulative] = internal.quantity;
        internalIncome[Cumulative] = internal.amount;
        rentalUnits[Cumulative] = rental.quantity;
        rentalIncome[Cumulative] = rental.amount;
    } else if (m_period.kind == Period::Kind::AsOfPeriod) {
        // Months after the selected one come off the cumulative figures and,
        // within its fiscal year, off the year's.
        data::KeyCursor later = m_company.file<EQPriorM>().scan(u"KeyEquipmentYearPeriod",
                                                                data::ScanOptions::equal({id}));
        for (EQPriorM m; later.next(m);) {
            if (!m_period.later(m.FiscalYear, m.Period))
                continue;
            for (int c : {Cumulative, Year}) {
                if (c == Year && m.FiscalYear != m_period.fiscalYear)
                    continue;
                internalUnits[c] -= m.InternalUnits;
                internalIncome[c] -= m.InternalIncome;
                rentalUnits[c] -= m.RentalUnits;
                rentalIncome[c] -= m.RentalIncome;
                idleUnits[c] -= m.NonProductiveUnits;
            }
        }
    }

    Decimal totalCosts[3];
    for (const EQCost &cost : categories(id)) {
        const QString category = Text::clip(cost.CostCategory);
        Row row{category,
                categoryDescription(category).value_or(u"Code Not In Dictionary"_s),
                Text::clip(cost.UnitName),
                {}};
        Pair figures[3];
        figures[Cumulative] = {cost.CumulativeUnitUsed, cost.CumulativeAmount};
        EQPriorC categoryYear;
        categoryYear.EquipmentID = id;
        categoryYear.Category = category;
        categoryYear.FiscalYear = qint16(m_period.fiscalYear);
        categoryYear = fetched(m_company, u"KeyEquipmentCategoryYear"_s, categoryYear);
        figures[Year] = {categoryYear.Units, categoryYear.Amount};
        EQPriorCM categoryMonth;
        categoryMonth.EquipmentID = id;
        categoryMonth.Category = category;
        categoryMonth.FiscalYear = qint16(m_period.fiscalYear);
        categoryMonth.Period = quint8(m_period.period);
        categoryMonth = fetched(m_company, u"KeyEquipmentCategoryYearPeriod"_s, categoryMonth);
        figures[Month] = {categoryMonth.Units, categoryMonth.Amount};
        if (m_period.isRange()) {
            figures[Cumulative] = rangeTotals(subsidiaryCode(id, category), u"C"_s);
        } else if (m_period.kind == Period::Kind::AsOfPeriod) {
            data::KeyCursor later = m_company.file<EQPriorCM>().scan(
                u"KeyEquipmentCategoryYearPeriod", data::ScanOptions::equal({id, category}));
            for (EQPriorCM m; later.next(m);) {
                if (!m_period.later(m.FiscalYear, m.Period))
                    continue;
                figures[Cumulative].quantity -= m.Units;
                figures[Cumulative].amount -= m.Amount;
                if (m.FiscalYear == m_period.fiscalYear) {
                    figures[Year].quantity -= m.Units;
                    figures[Year].amount -= m.Amount;
                }
            }
        }
        for (int c = 0; c < 3; ++c) {
            row.quantity(c) = figures[c].quantity;
            row.amount(c) = figures[c].amount;
            row.perUnit(c) = quotient(byUse ? internalUnits[c] + rentalUnits[c] : figures[c].amount,
                                      figures[c].quantity);
            totalCosts[c] += figures[c].amount;
        }
        result.categories.append(row);
    }
    if (result.categories.isEmpty())
        return result;

    Row costs{{}, u"Total Costs"_s, {}, {}};
    Row internal{{}, u"Internal Income"_s, {}, {}};
    Row rental{{}, u"Rental Income"_s, {}, {}};
    Row idle{{}, u"Non Productive"_s, {}, {}};
    Row income{{}, u"Total Income"_s, {}, {}};
    Row profit{{}, u"Net Profit"_s, {}, {}};
    Row perHour{{}, u"Cost per hour"_s, {}, {}};
    for (int c = 0; c < 3; ++c) {
        const Decimal units = internalUnits[c] + rentalUnits[c] + idleUnits[c];
        const Decimal totalIncome = internalIncome[c] + rentalIncome[c];
        const Decimal netProfit = totalIncome - totalCosts[c];
        costs.amount(c) = totalCosts[c];
        internal.quantity(c) = internalUnits[c];
        internal.amount(c) = internalIncome[c];
        internal.perUnit(c) = quotient(internalIncome[c], internalUnits[c]);
        rental.quantity(c) = rentalUnits[c];
        rental.amount(c) = rentalIncome[c];
        rental.perUnit(c) = quotient(rentalIncome[c], rentalUnits[c]);
        idle.quantity(c) = idleUnits[c];
        income.amount(c) = totalIncome;
        income.perUnit(c) = quotient(totalIncome, units);
        profit.amount(c) = netProfit;
        profit.perUnit(c) = quotient(netProfit, units);
        perHour.perUnit(c) = quotient(totalIncome - netProfit, units);
    }
    result.totals = {costs, internal, rental, idle, income, profit, perHour};
    return result;
}

SummaryLine Calculator::summary(const EQHeader &header) const
{
    const QString id = Text::clip(header.EquipmentID);
    SummaryLine line{id,
                     Text::clip(header.Description),
                     Text::clip(header.VIN),
                     Text::clip(header.VehicleLicense),
                     header.InternalBillingRate,
                     header.RentalBillingRate,
                     {}};
    for (const EQCost &cost : categories(id)) {
        const QString category = Text::clip(cost.CostCategory);
        if (m_period.isRange()) {
            line.costs[0] += rangeTotals(subsidiaryCode(id, category), u"C"_s).amount;
            continue;
        }
        EQPriorC year;
        year.EquipmentID = id;
        year.Category = category;
        year.FiscalYear = qint16(m_period.fiscalYear);
        year = fetched(m_company, u"KeyEquipmentCategoryYear"_s, year);
        EQPriorCM month;
        month.EquipmentID = id;
        month.Category = category;
        month.FiscalYear = qint16(m_period.fiscalYear);
        month.Period = quint8(m_period.period);
        month = fetched(m_company, u"KeyEquipmentCategoryYearPeriod"_s, month);
        Decimal cumulative = cost.CumulativeAmount;
        Decimal yearAmount = year.Amount;
        if (m_period.kind == Period::Kind::AsOfPeriod) {
            data::KeyCursor later = m_company.file<EQPriorCM>().scan(
                u"KeyEquipmentCategoryYearPeriod", data::ScanOptions::equal({id, category}));
            for (EQPriorCM m; later.next(m);) {
                if (!m_period.later(m.FiscalYear, m.Period))
                    continue;
                cumulative -= m.Amount;
                if (m.FiscalYear == m_period.fiscalYear)
                    yearAmount -= m.Amount;
            }
        }
        line.costs[0] += month.Amount;
        line.costs[1] += yearAmount;
        line.costs[2] += cumulative;
    }
    return line;
}

} // namespace Analysis

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

report::PageSetup orientedPage(const EQLimits &definition, bool landscapeByDefault)
{
    report::PageSetup setup;
    const QString orientation = Text::clip(definition.Orientation);
    setup.landscape = orientation.isEmpty() ? landscapeByDefault : orientation == u"L";
    return setup;
}

int percentOf(qint64 read, qint64 total)
{
    return total > 0 ? int(std::min<qint64>(100, read * 100 / total)) : 100;
}

} // namespace

EquipmentAnalysisReport::EquipmentAnalysisReport(data::Company &company, EQLimits definition,
                                                 DayNumber today,
                                                 QList<Analysis::EquipmentFigures> *collected)
    : m_company(company)
    , m_selection(company, std::move(definition), today)
    , m_period(Analysis::selectedPeriod(company, m_selection, today))
    , m_calculator(company, m_selection, m_period)
    , m_collected(collected)
    , m_limits(parameterLines(company, m_selection, false))
{}

QString EquipmentAnalysisReport::title() const
{
    return u"Equipment Analysis"_s;
}

QString EquipmentAnalysisReport::pdfFileName() const
{
    return u"Equipment Analysis Report.pdf"_s;
}

report::PageSetup EquipmentAnalysisReport::pageSetup() const
{
    // Nine figures side by side need the width of a landscape page.
    return orientedPage(m_selection.definition(), true);
}

qint64 EquipmentAnalysisReport::primaryRecordCount()
{
    return m_company.file<EQHeader>().count();
}

QStringList EquipmentAnalysisReport::exportParameters() const
{
    return closingParameters(m_period, m_selection, false);
}

bool EquipmentAnalysisReport::open(ReportRun &run)
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

report::Band EquipmentAnalysisReport::block(const EquipmentFigures &figures) const
{
    const QString perUnit = perUnitHeading(m_selection.definition());
    const report::ColumnTable columns = blockColumns(perUnit, m_period);
    const int shown = m_period.isRange() ? 1 : 3;
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
        const QString name = m_period.isRange()
                                 ? u"____"_s + m_period.headings[Analysis::Cumulative] + u"____"_s
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
        if (m_read >= m_equipment.size())
            return false;
        EQHeader header;
        header.EquipmentID = m_equipment.at(int(m_read)).id;
        ++m_read;
        if (!m_company.file<EQHeader>().fetch(u"KeyEquipmentID", header))
            continue;
        const EquipmentFigures figures = m_calculator.equipment(header);
        if (figures.categories.isEmpty() && !m_calculator.listsWithoutCategories())
            continue;
        if (m_collected)
            m_collected->append(figures);
        if (!run.engine()->print(block(figures)))
            return false;
    }
    return m_read < m_equipment.size();
}

int EquipmentAnalysisReport::percentRead() const
{
    return percentOf(m_read, m_equipment.size());
}

CostSummaryReport::CostSummaryReport(data::Company &company, EQLimits definition, DayNumber today,
                                     QList<Analysis::SummaryLine> *collected)
    : m_company(company)
    , m_selection(company, std::move(definition), today)
    , m_period(Analysis::selectedPeriod(company, m_selection, today))
    , m_calculator(company, m_selection, m_period)
    , m_collected(collected)
    , m_limits(parameterLines(company, m_selection, true))
{}

QString CostSummaryReport::title() const
{
    return u"Equipment Analysis"_s;
}

QString CostSummaryReport::pdfFileName() const
{
    return u"Equipment Analysis Report.pdf"_s;
}

report::PageSetup CostSummaryReport::pageSetup() const
{
    return orientedPage(m_selection.definition(), true);
}

qint64 CostSummaryReport::primaryRecordCount()
{
    return m_company.file<EQHeader>().count();
}

QStringList CostSummaryReport::exportParameters() const
{
    return closingParameters(m_period, m_selection, true);
}

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
    if (!m_period.refusal.isEmpty()) {
        run.passFailed(m_period.refusal);
        return false;
    }
    m_equipment = m_selection.equipment();
    m_read = 0;
    m_calculator.prepareRange(m_equipment.size());
    for (Decimal &total : m_totals)
        total = Decimal();
    return !m_equipment.isEmpty();
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
    for (int i = 0; i < records && m_read < m_equipment.size(); ++i) {
        EQHeader header;
        header.EquipmentID = m_equipment.at(int(m_read)).id;
        ++m_read;
        if (!m_company.file<EQHeader>().fetch(u"KeyEquipmentID", header))
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
    if (m_read < m_equipment.size())
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

int CostSummaryReport::percentRead() const
{
    return percentOf(m_read, m_equipment.size());
}

} // namespace qaveq
