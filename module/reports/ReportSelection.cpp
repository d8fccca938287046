#include "ReportSelection.h"

#include "records/EQHeader.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"

#include "core/Text.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

constexpr quint8 Range = EQLimits::Range;
constexpr quint8 List = 2;

QString userDefined(const EQHeader &equipment, int field)
{
    const QString *values[] = {&equipment.UD1,  &equipment.UD2,  &equipment.UD3,  &equipment.UD4,
                               &equipment.UD5,  &equipment.UD6,  &equipment.UD7,  &equipment.UD8,
                               &equipment.UD9,  &equipment.UD10, &equipment.UD11, &equipment.UD12,
                               &equipment.UD13, &equipment.UD14, &equipment.UD15};
    return Text::clip(*values[field - 1]);
}

} // namespace

ReportSelection::ReportSelection(data::Company &company, EQLimits definition, DayNumber today)
    : m_company(company)
    , m_definition(std::move(definition))
    , m_today(today)
{
    data::KeyCursor cursor = company.file<LimList>().scan(
        u"KeyLimit", data::ScanOptions::equal({u"EQLimits"_s, qint64(m_definition.LimitID)}));
    for (LimList entry; cursor.next(entry);)
        m_entries.append({Text::clip(entry.Kind), Text::clip(entry.Value)});
}

QStringList ReportSelection::members(const QString &kind) const
{
    QStringList values;
    for (const auto &[entryKind, value] : m_entries)
        if (entryKind.compare(kind, Qt::CaseInsensitive) == 0)
            values.append(value);
    return values;
}

QList<std::pair<int, QString>> ReportSelection::userDefinedFilters() const
{
    QList<std::pair<int, QString>> filters;
    for (const QString &value : members(ListKind::UserDefined)) {
        const qsizetype equals = value.indexOf(u'=');
        bool numbered = false;
        const int field = equals > 0 ? value.left(equals).trimmed().toInt(&numbered) : 0;
        if (numbered && field >= 1 && field <= 15)
            filters.append({field, value.mid(equals + 1).trimmed()});
        else
            filters.append({0, value});
    }
    return filters;
}

bool ReportSelection::passes(quint8 selection, const QString &from, const QString &to,
                             const QString &kind, const QString &code) const
{
    const QString value = Text::clip(code);
    if (selection == Range) {
        const QString upper = Text::clip(to);
        return value >= Text::clip(from) && (upper.isEmpty() || value <= upper);
    }
    if (selection == List)
        return members(kind).contains(value, Qt::CaseInsensitive);
    return true;
}

bool ReportSelection::equipmentPasses(const QString &id) const
{
    return passes(m_definition.SelectedEquipment, m_definition.EquipmentFrom,
                  m_definition.EquipmentTo, ListKind::Equipment, id);
}

bool ReportSelection::categoryPasses(const QString &category) const
{
    return passes(m_definition.SelectedCategory, m_definition.CategoryFrom, m_definition.CategoryTo,
                  ListKind::Category, category);
}

bool ReportSelection::jobPasses(const QString &job) const
{
    return passes(m_definition.SelectedJobs, m_definition.JobFrom, m_definition.JobTo,
                  ListKind::Job, job);
}

bool ReportSelection::passesUserDefined(const EQHeader &equipment) const
{
    // Filters of one field are alternatives; filters of different fields
    // must all hold.
    const QList<std::pair<int, QString>> filters = userDefinedFilters();
    QList<int> fields;
    for (const auto &[field, value] : filters)
        if (!fields.contains(field))
            fields.append(field);
    for (int field : std::as_const(fields)) {
        bool matched = false;
        for (const auto &[filterField, value] : filters) {
            if (filterField != field)
                continue;
            for (int n = field == 0 ? 1 : field; n <= (field == 0 ? 15 : field) && !matched; ++n)
                matched = userDefined(equipment, n).compare(value, Qt::CaseInsensitive) == 0;
        }
        if (!matched)
            return false;
    }
    return true;
}

QList<SelectedEquipment> ReportSelection::equipment() const
{
    data::ScanOptions options;
    if (m_definition.SelectedEquipment == Range) {
        options.from = {Text::clip(m_definition.EquipmentFrom)};
        if (const QString to = Text::clip(m_definition.EquipmentTo); !to.isEmpty())
            options.to = {to};
    }
    if (m_definition.IncludeInactive != 1)
        options.filters.append({u"EQH:Active"_s, data::Filter::Op::Equal, qint64(1)});
    QList<SelectedEquipment> selected;
    data::KeyCursor cursor = m_company.file<EQHeader>().scan(u"KeyEquipmentID", options);
    for (EQHeader piece; cursor.next(piece);) {
        if (m_definition.SelectedEquipment == List && !equipmentPasses(piece.EquipmentID))
            continue;
        if (m_definition.SelectedClass == 1) {
            const QString code = Text::clip(piece.ClassCode);
            const QString to = Text::clip(m_definition.ClassTo);
            if (code < Text::clip(m_definition.ClassFrom) || (!to.isEmpty() && code > to))
                continue;
        }
        if (!passesUserDefined(piece))
            continue;
        selected.append({Text::clip(piece.EquipmentID), Text::clip(piece.Description).toUpper()});
    }
    if (m_definition.DetailSummary == u"D")
        std::stable_sort(selected.begin(), selected.end(),
                         [](const SelectedEquipment &a, const SelectedEquipment &b) {
                             return a.description < b.description;
                         });
    return selected;
}

DateRange ReportSelection::floatingRange(const EQLimits &definition, DayNumber today)
{
    const auto shifted = [today](const QString &direction, const Decimal &days) {
        const int count = static_cast<int>(days.unitsAt(0));
        const QString way = Text::clip(direction);
        if (way.compare(u"Minus"_s, Qt::CaseInsensitive) == 0)
            return today - count;
        if (way.compare(u"Plus"_s, Qt::CaseInsensitive) == 0)
            return today + count;
        return today;
    };
    return {shifted(definition.JournalType, definition.RefFrom),
            shifted(definition.GLAccount, definition.RefTo)};
}

std::optional<DateRange> ReportSelection::dateRange() const
{
    if (m_definition.SelectedDates != Range)
        return std::nullopt;
    const bool analysis = Text::clip(m_definition.Report) == u"Analysis"_s;
    if (analysis && m_definition.SkipEquipment == 1)
        return floatingRange(m_definition, m_today);
    return DateRange{m_definition.DateFrom, m_definition.DateTo};
}

std::optional<int> ReportSelection::asOfPeriod() const
{
    if (m_definition.SelectedDates != EQLimits::AsOfPeriod)
        return std::nullopt;
    return static_cast<int>(m_definition.FPTo.unitsAt(0));
}

} // namespace qaveq
