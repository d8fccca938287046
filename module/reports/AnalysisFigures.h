#pragma once

#include "ReportSelection.h"

#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "core/Decimal.h"

#include <QHash>

#include <array>
#include <optional>

namespace qaveq {

// The figures of the analysis and cost summary reports: what each piece of
// equipment cost and earned, cumulative, in the year and in the month (fiscal
// period) of the selected period, or over a date range.
namespace Analysis {

enum Column { Cumulative = 0, Year = 1, Month = 2 };

// The period a run reports on, chosen before any equipment is read.
struct Period
{
    // Today's fiscal period, a range of dates, or "As of" a chosen period.
    enum class Kind { Current, DateRange, AsOfPeriod };
    Kind kind = Kind::Current;
    int fiscalYear = 0;  // of the selected period
    int period = 0;      // within its fiscal year, 1 to 12
    DateRange range;     // a date range only
    QString headings[3]; // over the cumulative, year and month columns
    // Why the report cannot run for this period (an "As of" period that is
    // not in the fiscal calendar); empty when it can.
    QString refusal;
    bool isRange() const { return kind == Kind::DateRange; }
    // Whether (year, period) comes after the selected period.
    bool later(int year, int periodOfYear) const
    {
        return year > fiscalYear || (year == fiscalYear && periodOfYear > period);
    }
};

// The selected period of a definition: today's fiscal period, the period of
// an "As of", or the range's dates; `today` names the headings of "All".
Period selectedPeriod(data::Company &company, const ReportSelection &selection, DayNumber today);

// One printed row: a figure per column, none where the row leaves it blank.
using Figure = std::optional<Decimal>;
struct Row
{
    QString code;
    QString description;
    QString unit;
    // Quantity, amount and per-unit figure of each column in turn.
    std::array<Figure, 9> figures;
    Figure &quantity(int column) { return figures[3 * column]; }
    Figure &amount(int column) { return figures[3 * column + 1]; }
    Figure &perUnit(int column) { return figures[3 * column + 2]; }
    const Figure &quantity(int column) const { return figures[3 * column]; }
    const Figure &amount(int column) const { return figures[3 * column + 1]; }
    const Figure &perUnit(int column) const { return figures[3 * column + 2]; }
};

// The block of one piece of equipment: its cost-category rows, then (when
// there is at least one) the rows "Total Costs" to "Cost per hour".
struct EquipmentFigures
{
    QString id;
    QString description;
    QList<Row> categories;
    QList<Row> totals;
};

// What an equipment without any cost category shows instead of its rows.
inline const QString NoCostCategories = QStringLiteral("No cost categories");

// a / b to the cent; 0 when b is 0.
Decimal quotient(const Decimal &a, const Decimal &b);

// The cost summary's line of one piece of equipment.
struct SummaryLine
{
    QString id, description, vin, license;
    Decimal internalRate, rentalRate;
    Decimal costs[3]; // month, year, cumulative
};

// Works out the figures of single pieces of equipment for one definition.
class Calculator
{
public:
    Calculator(data::Company &company, const ReportSelection &selection, Period period);

    const Period &period() const { return m_period; }
    EquipmentFigures equipment(const EQHeader &equipment) const;
    SummaryLine summary(const EQHeader &equipment) const;
    // Whether an equipment without category rows is listed, with the line
    // NoCostCategories: only when the definition takes every category, since
    // a limited run leaves out whatever falls outside its limits.
    bool listsWithoutCategories() const;
    // Readies the range's totals for a run over `selected` pieces of
    // equipment: for a good share of the file, the ledger's lines of the
    // range are added up by the database in one pass, which costs far less
    // than a read of the lines of each subsidiary code; for a few, each code
    // is read on its own.
    void prepareRange(qsizetype selected);

private:
    struct Pair
    {
        Decimal quantity, amount;
    };
    // A subsidiary code's lines of the range added up: all of them, and
    // those marked credit ("C") and debit ("D").
    struct MarkTotals
    {
        Pair all, credits, debits;
    };
    // The GLTrans entries of a subsidiary code within the range: quantity and
    // amount, each signed -1 for entries of `negative` ("D" or "C").
    Pair rangeTotals(const QString &subsidiaryCode, const QString &negative) const;
    // Units and amount of each of an equipment's categories (by the category
    // as stored) in the selected fiscal year and in its period: one read of
    // each file per equipment rather than a fetch per category.
    struct CategoryPeriods
    {
        QHash<QString, Pair> year, month;
    };
    CategoryPeriods categoryPeriods(const QString &id) const;
    // Categories of the equipment the report prints, in key order.
    QList<EQCost> categories(const QString &id) const;
    // A category's description from the dictionary, read once per calculator;
    // nothing for a code the dictionary lacks.
    std::optional<QString> categoryDescription(const QString &category) const;

    data::Company &m_company;
    const ReportSelection &m_selection;
    Period m_period;
    mutable QHash<QString, std::optional<QString>> m_descriptions;
    std::optional<QHash<QString, MarkTotals>> m_rangeTotals; // by subsidiary code
};

} // namespace Analysis

} // namespace qaveq
