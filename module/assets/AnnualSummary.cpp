#include "AnnualSummary.h"

#include "records/EQHeader.h"
#include "records/GLDepr.h"

namespace qaveq {

QList<AnnualSummaryEntry> annualSummary(const EQHeader &equipment, const std::vector<GLDepr> &rows)
{
    QList<AnnualSummaryEntry> entries;
    AnnualSummaryEntry year;
    year.slBegin = year.syBegin = year.ddbBegin = equipment.PurchaseValue;
    int monthsInYear = 0;
    for (const GLDepr &row : rows) {
        year.slCharge += row.SLAmount;
        year.syCharge += row.SYAmount;
        year.ddbCharge += row.DDBAmount;
        if (++monthsInYear < 12)
            continue;
        monthsInYear = 0;
        ++year.year;
        entries.append(year);
        year.slBegin -= year.slCharge;
        year.syBegin -= year.syCharge;
        year.ddbBegin -= year.ddbCharge;
        year.slCharge = year.syCharge = year.ddbCharge = Decimal();
    }
    // A last part year is a year of the schedule too: leaving it out would
    // hide its charges and make the years not add up to the schedule.
    if (monthsInYear > 0) {
        ++year.year;
        entries.append(year);
    }
    AnnualSummaryEntry closing;
    closing.year = year.year + 1;
    closing.slBegin = closing.syBegin = closing.ddbBegin = equipment.SalvageValue;
    entries.append(closing);
    return entries;
}

} // namespace qaveq
