#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace qaveq::DepreciationMethod {

// EQH:DepreciationMethod
enum Method { StraightLine = 1, SumOfYearsDigits = 2, DecliningBalance = 3, Custom = 4 };

// Which pair of GLDepr columns a list shows as "Amount" and "Value".
enum class Columns { StraightLine, SumOfYearsDigits, DecliningBalance, Custom, Other };

// The schedule group's title for the method; nullopt leaves the title as it is.
std::optional<QString> scheduleTitle(int method, const QString &customName);

// The labels of the four method choices; the fourth is the custom name typed beside it.
QStringList choiceLabels(const QString &customName);

// The monthly list shows the method's own pair; a method outside 1 to 4 shows
// the second custom pair (UD2Amount, UD2Value).
Columns monthlyColumns(int method);

// The annual list follows methods 1 to 3; for any other it keeps the columns
// it showed before (nullopt).
std::optional<Columns> annualColumns(int method);

} // namespace qaveq::DepreciationMethod
