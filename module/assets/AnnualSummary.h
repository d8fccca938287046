#pragma once

#include "core/Decimal.h"

#include <QList>

#include <vector>

namespace qaveq {

struct EQHeader;
struct GLDepr;

// One year of the schedule: each method's book value at the start of the year
// and its charge for the year.
struct AnnualSummaryEntry
{
    int year = 0; // of the asset's life: 1, 2, ..., twelve schedule months each
    Decimal slBegin, slCharge;
    Decimal syBegin, syCharge;
    Decimal ddbBegin, ddbCharge;
};

// The schedule year by year, from the equipment's rows in date order: an entry
// for every twelve rows and one for a last part year, then a closing entry at
// the salvage value with no charge.
QList<AnnualSummaryEntry> annualSummary(const EQHeader &equipment, const std::vector<GLDepr> &rows);

} // namespace qaveq
