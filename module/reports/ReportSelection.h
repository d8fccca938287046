#pragma once

#include "records/EQLimits.h"

#include "core/SuiteDate.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qaveq {

class Clock;

namespace data {
class Company;
}

// The kinds of list entry a definition keeps in LimList (at most 10 characters).
namespace ListKind {
inline const QString Equipment = QStringLiteral("Equipment");
inline const QString Category = QStringLiteral("Category");
inline const QString Job = QStringLiteral("Job");
// A user-defined filter: "n=value" tests user-defined field n (1 to 15),
// a plain value passes when any of the fifteen holds it.
inline const QString UserDefined = QStringLiteral("UD");
} // namespace ListKind

// One piece of equipment a report walks: its ID and upper-cased description.
struct SelectedEquipment
{
    QString id;
    QString description;
};

struct DateRange
{
    DayNumber from = 0;
    DayNumber to = 0;
};

// What a saved definition selects, read once for a report run: the equipment
// in the order the report prints it, and the tests of cost categories, jobs
// and dates. Every report of the module walks what this hands it.
class ReportSelection
{
public:
    // Reads the definition's list entries; `today` dates a floating range.
    ReportSelection(data::Company &company, EQLimits definition, DayNumber today);

    const EQLimits &definition() const { return m_definition; }

    // Equipment by range (a blank To is no bound) or list, inactive only when
    // included, within the class range (a blank To is no bound), passing the
    // user-defined filters; by ID, or by upper-cased description when the
    // definition sorts by description.
    QList<SelectedEquipment> equipment() const;
    bool equipmentPasses(const QString &id) const;
    bool categoryPasses(const QString &category) const;
    bool jobPasses(const QString &job) const;

    // The dates of a Range selection: the fixed dates, or for an analysis
    // definition with a floating range, today plus or minus the days.
    std::optional<DateRange> dateRange() const;
    static DateRange floatingRange(const EQLimits &definition, DayNumber today);
    // The fiscal period of an "As of" selection; none otherwise.
    std::optional<int> asOfPeriod() const;

    // The members of a "List" selection, in the order they were added.
    QStringList members(const QString &kind) const;
    // The user-defined filters as (field number, value); 0: any field.
    QList<std::pair<int, QString>> userDefinedFilters() const;

private:
    bool passes(quint8 selection, const QString &from, const QString &to, const QString &kind,
                const QString &code) const;
    bool passesUserDefined(const struct EQHeader &equipment) const;

    data::Company &m_company;
    EQLimits m_definition;
    DayNumber m_today;
    QList<std::pair<QString, QString>> m_entries; // kind, value
};

} // namespace qaveq
