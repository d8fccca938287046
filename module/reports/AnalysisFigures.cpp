#include "AnalysisFigures.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/PriorPeriods.h"

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
    // Each code's lines in all, and those marked credit and debit: which of
    // them count against the code depends on the code, income or cost.
    const auto marked = [](const QString &field, const QString &mark) {
        return data::KeyCursor::Sum{
            field, data::Filter{u"GLT:CreditDebit"_s, data::Filter::Op::Equal, mark}};
    };
    QList<data::KeyCursor::Sum> sums;
    for (const QString &field : {u"GLT:SubsidiaryQuantity"_s, u"GLT:Amount"_s})
        sums << data::KeyCursor::Sum{field} << marked(field, u"C"_s) << marked(field, u"D"_s);
    const auto subtotals = ledger.subtotals({u"GLT:SubsidiaryCode"_s}, sums);
    // A ledger the database cannot add up is read code by code instead,
    // where its error shows as any read's does.
    if (!subtotals)
        return;
    m_rangeTotals.emplace();
    for (const data::KeyCursor::Subtotal &line : *subtotals) {
        const std::vector<Decimal> &s = line.sums;
        (*m_rangeTotals)[std::get<QString>(line.group[0])] = {Pair{s[0], s[3]}, Pair{s[1], s[4]},
                                                              Pair{s[2], s[5]}};
    }
}

Calculator::Pair Calculator::rangeTotals(const QString &subsidiaryCode,
                                         const QString &negative) const
{
    Pair total;
    if (m_rangeTotals) {
        const MarkTotals lines = m_rangeTotals->value(subsidiaryCode);
        const Pair &against = negative == u"C" ? lines.credits : lines.debits;
        total.quantity = lines.all.quantity - against.quantity - against.quantity;
        total.amount = lines.all.amount - against.amount - against.amount;
        return total;
    }
    data::ScanOptions options;
    options.from = {subsidiaryCode, qint64(m_period.range.from)};
    options.to = {subsidiaryCode, qint64(m_period.range.to)};
    options.fields = {u"GLT:CreditDebit"_s, u"GLT:Amount"_s, u"GLT:SubsidiaryQuantity"_s};
    data::KeyCursor cursor = m_company.file<GLTrans>().scan(u"KeySubsidiaryCode", options);
    for (GLTrans entry; cursor.next(entry);) {
        const bool subtracted = Text::clip(entry.CreditDebit) == negative;
        total.amount += subtracted ? -entry.Amount : entry.Amount;
        total.quantity += subtracted ? -entry.SubsidiaryQuantity : entry.SubsidiaryQuantity;
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

Calculator::CategoryPeriods Calculator::categoryPeriods(const QString &id) const
{
    CategoryPeriods periods;
    data::ScanOptions ofYear = data::ScanOptions::equal({id});
    ofYear.filters = {{u"EQPC:FiscalYear"_s, data::Filter::Op::Equal, qint64(m_period.fiscalYear)}};
    data::KeyCursor years = m_company.file<EQPriorC>().scan(u"KeyEquipmentCategoryYear", ofYear);
    for (EQPriorC year; years.next(year);)
        periods.year.insert(year.Category, {year.Units, year.Amount});
    data::ScanOptions ofMonth = data::ScanOptions::equal({id});
    ofMonth.filters = {
        {u"EQPCM:FiscalYear"_s, data::Filter::Op::Equal, qint64(m_period.fiscalYear)},
        {u"EQPCM:Period"_s, data::Filter::Op::Equal, qint64(m_period.period)}};
    data::KeyCursor months =
        m_company.file<EQPriorCM>().scan(u"KeyEquipmentCategoryYearPeriod", ofMonth);
    for (EQPriorCM month; months.next(month);)
        periods.month.insert(month.Category, {month.Units, month.Amount});
    return periods;
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
    const CategoryPeriods periods = categoryPeriods(id);
    for (const EQCost &cost : categories(id)) {
        const QString category = Text::clip(cost.CostCategory);
        Row row{category,
                categoryDescription(category).value_or(u"Code Not In Dictionary"_s),
                Text::clip(cost.UnitName),
                {}};
        Pair figures[3];
        figures[Cumulative] = {cost.CumulativeUnitUsed, cost.CumulativeAmount};
        figures[Year] = periods.year.value(category);
        figures[Month] = periods.month.value(category);
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
    const QList<EQCost> costs = categories(id);
    const CategoryPeriods periods =
        m_period.isRange() || costs.isEmpty() ? CategoryPeriods{} : categoryPeriods(id);
    for (const EQCost &cost : costs) {
        const QString category = Text::clip(cost.CostCategory);
        if (m_period.isRange()) {
            line.costs[0] += rangeTotals(subsidiaryCode(id, category), u"C"_s).amount;
            continue;
        }
        Decimal cumulative = cost.CumulativeAmount;
        Decimal yearAmount = periods.year.value(category).amount;
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
        line.costs[0] += periods.month.value(category).amount;
        line.costs[1] += yearAmount;
        line.costs[2] += cumulative;
    }
    return line;
}

} // namespace Analysis

} // namespace qaveq
