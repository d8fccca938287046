#pragma once

#include "runtime/forms/FormDefinition.h"

#include "core/Decimal.h"

#include <QString>

#include <optional>

namespace qaveq {

struct EQCost;
struct EQHeader;

namespace data {
class Company;
}

// The rules of the equipment record that need no window: what the form and
// the lists work out from an equipment and the files that hang on it.
namespace EquipmentRules {

// The key numeric IDs sort by: "42" is "0000000042"; "A42" stays "A42".
QString sortText(const QString &equipmentId);

// An attachment's kind from its file name's extension (its first two letters):
// PDF, Bitmap, DOC, PPT, TXT, XL, WebPage, else Other.
QString attachmentType(const QString &fileName);
// The picture that stands for an attachment of that type where the file
// itself cannot be shown ("~pdf.gif"); a picture shows itself, so "Bitmap"
// has none.
QString attachmentPicture(const QString &type);

// A cost category's service schedule in words: "Every 250 Hours",
// "Every 6 Months or 500 Miles", "None".
QString scheduleInWords(const EQCost &cost);

// The average units a day of an equipment's posted usage logs: the exact
// signed sum of their units over the days between the first and the last log
// (the whole sum when they are all on one day); nothing without logs.
std::optional<Decimal> unitsPerDay(data::Company &company, const QString &equipmentId);

// The title of the schedule group for a depreciation method: "Straight Line
// Depreciation Schedule"..., the custom method by the user's name for it.
QString scheduleTitle(int method, const QString &customName);

// The cost categories tab for a fiscal year and period: one row per cost
// category of the equipment (cumulative, year-to-date and month-to-date
// quantity and amount), then "Total Costs:", "Internal Income", "Rental
// Income", "Total Income" and "Profit" (red below zero). The rows of
// categories carry their EQCost key.
QList<forms::ChildRow> costCategoryRows(data::Company &company, const EQHeader &equipment,
                                        int fiscalYear, int period);

} // namespace EquipmentRules

} // namespace qaveq
