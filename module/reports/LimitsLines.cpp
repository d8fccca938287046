#include "LimitsLines.h"

#include "ReportSelection.h"
#include "records/UserDef.h"

#include "data/Company.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Picture.h"
#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq::LimitsLines {

const CodeTexts Equipment{u"Equipment ID: "_s, u"Equipment ID from "_s, u"Equipment:"_s};
const CodeTexts Categories{u"Cost Category: "_s, u"Cost Category from "_s, u"Cost Categories:"_s};
const CodeTexts Jobs{u"Job - "_s, u"Jobs from "_s, u"Jobs:"_s};

QString cut(const QString &line)
{
    constexpr qsizetype Longest = 99;
    if (line.size() <= Longest)
        return line;
    // The comma stays, then "...": at most 99 characters.
    const qsizetype lastComma = line.left(Longest - 3).lastIndexOf(u',');
    if (lastComma >= 89)
        return line.left(lastComma + 1) + u"..."_s;
    return line.left(Longest - 3) + u"..."_s;
}

QString codeLine(const CodeTexts &texts, int selection, const QString &from, const QString &to,
                 const QStringList &members)
{
    const QString first = Text::clip(from);
    const QString last = Text::clip(to);
    if (selection == EQLimits::Range) {
        if (first == last)
            return texts.one + first;
        return texts.range + first + u" to "_s + (last.isEmpty() ? u"the last"_s : last);
    }
    if (selection == EQLimits::List) {
        if (members.size() == 1)
            return texts.one + members.first();
        return cut(texts.list + u' ' + members.join(u", "_s));
    }
    return {};
}

QString title(const QString &reportTitle)
{
    return u"Report Title: "_s + Text::clip(reportTitle);
}

QString inactive(bool included)
{
    return included ? u"Inactive Equipment Included"_s : u"Inactive Equipment Excluded"_s;
}

QString classes(bool limited, const QString &from, const QString &to)
{
    if (!limited)
        return {};
    const QString first = Text::clip(from);
    const QString last = Text::clip(to);
    if (first == last)
        return u"Class: "_s + first;
    return u"Class from "_s + first + u" to "_s + (last.isEmpty() ? u"the last"_s : last);
}

QString dates(data::Company &company, const ReportSelection &selection)
{
    if (const std::optional<DateRange> range = selection.dateRange()) {
        const Picture shortDate = Picture::parse(u"@d01");
        if (range->from == range->to)
            return u"Date: "_s + shortDate.format(qint64(range->from));
        return u"Dates from "_s + shortDate.format(qint64(range->from)) + u" to "_s +
               shortDate.format(qint64(range->to));
    }
    if (const std::optional<int> period = selection.asOfPeriod()) {
        GLFiscal fiscal;
        fiscal.FiscalPeriod = *period;
        const bool found = bool(company.file<GLFiscal>().fetch(u"KeyFiscalPeriodUp", fiscal));
        return u"As Of "_s + (found ? Picture::parse(u"@d02").format(qint64(fiscal.PeriodDate))
                                    : u"period %1"_s.arg(*period));
    }
    return {};
}

QStringList userDefined(data::Company &company, const ReportSelection &selection)
{
    UserDef prompts;
    prompts.FileName = u"EQHeader"_s;
    const bool found = bool(company.file<UserDef>().fetch(u"KeyFile", prompts));
    const QString *texts[] = {&prompts.U1,  &prompts.U2,  &prompts.U3,  &prompts.U4,  &prompts.U5,
                              &prompts.U6,  &prompts.U7,  &prompts.U8,  &prompts.U9,  &prompts.U10,
                              &prompts.U11, &prompts.U12, &prompts.U13, &prompts.U14, &prompts.U15};
    QStringList lines;
    for (const auto &[field, value] : selection.userDefinedFilters()) {
        QString prompt = field == 0 ? u"Any Field"_s : Text::clip(*texts[field - 1]);
        if (prompt.isEmpty() || (!found && field != 0))
            prompt = u"User Defined %1"_s.arg(field);
        lines.append(cut(u"Equipment User Defined: "_s + prompt + u" = "_s + value));
    }
    return lines;
}

QStringList standard(data::Company &company, const ReportSelection &selection, Parts parts)
{
    const EQLimits &d = selection.definition();
    QStringList lines{title(d.ReportTitle),
                      codeLine(Equipment, d.SelectedEquipment, d.EquipmentFrom, d.EquipmentTo,
                               selection.members(ListKind::Equipment))};
    if (parts.categories)
        lines.append(codeLine(Categories, d.SelectedCategory, d.CategoryFrom, d.CategoryTo,
                              selection.members(ListKind::Category)));
    lines.append(inactive(d.IncludeInactive == 1));
    lines.append(classes(d.SelectedClass == 1, d.ClassFrom, d.ClassTo));
    if (parts.dates)
        lines.append(dates(company, selection));
    lines.append(userDefined(company, selection));
    lines.removeAll(QString());
    return lines;
}

} // namespace qaveq::LimitsLines
