#include "DepreciationMethod.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::DepreciationMethod {

std::optional<QString> scheduleTitle(int method, const QString &customName)
{
    switch (method) {
    case StraightLine:
        return u"Straight Line Depreciation Schedule"_s;
    case SumOfYearsDigits:
        return u"Sum of Years' Digits Depreciation Schedule"_s;
    case DecliningBalance:
        return u"Double Rate Declining Balance Depreciation Schedule"_s;
    case Custom:
        return Text::clip(customName) + u" Depreciation Schedule"_s;
    }
    return std::nullopt;
}

QStringList choiceLabels(const QString &customName)
{
    return {u"Straight Line"_s, u"Sum of Years' Digits"_s, u"Double-Rate Declining Balance"_s,
            Text::clip(customName)};
}

Columns monthlyColumns(int method)
{
    switch (method) {
    case StraightLine:
        return Columns::StraightLine;
    case SumOfYearsDigits:
        return Columns::SumOfYearsDigits;
    case DecliningBalance:
        return Columns::DecliningBalance;
    case Custom:
        return Columns::Custom;
    }
    return Columns::Other;
}

std::optional<Columns> annualColumns(int method)
{
    if (method >= StraightLine && method <= DecliningBalance)
        return monthlyColumns(method);
    return std::nullopt;
}

} // namespace qaveq::DepreciationMethod
