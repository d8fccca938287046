#pragma once

#include <QString>
#include <QStringList>

namespace qaveq {

class ReportSelection;

namespace data {
class Company;
}

// The parameter ("limits") lines a report prints under its heading and puts
// first in its export: what the definition selected, in the user's words.
namespace LimitsLines {

// The openings of a code selection's line: one code, a range, a list.
struct CodeTexts
{
    QString one;   // "Equipment ID: "
    QString range; // "Equipment ID from "
    QString list;  // "Equipment:"
};
extern const CodeTexts Equipment;
extern const CodeTexts Categories;
extern const CodeTexts Jobs;

// A line longer than 99 characters is cut at its last comma from position 90
// on and ends with "..."; without such a comma it is cut short of 99.
QString cut(const QString &line);

// The line of a code selection (0 All, 1 Range, 2 List); empty for All.
QString codeLine(const CodeTexts &texts, int selection, const QString &from, const QString &to,
                 const QStringList &members);

QString title(const QString &reportTitle);
QString inactive(bool included);
// Empty unless classes are limited.
QString classes(bool limited, const QString &from, const QString &to);
// "Date: " one date, "Dates from ... to ..." (mm/dd/yy), or "As Of " and the
// period's date (mm/dd/yyyy); empty when dates are not limited.
QString dates(data::Company &company, const ReportSelection &selection);
// One line per user-defined filter, with the field's prompt.
QStringList userDefined(data::Company &company, const ReportSelection &selection);

// The lines every equipment report shares, in their printed order: title,
// equipment, cost categories (when asked), inactive, classes, dates (when
// asked), user-defined filters. Empty lines are left out.
struct Parts
{
    bool categories = true;
    bool dates = true;
};
QStringList standard(data::Company &company, const ReportSelection &selection, Parts parts);

} // namespace LimitsLines

} // namespace qaveq
