#pragma once

#include "ReportSelection.h"

#include "output/ReportPass.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"

#include "runtime/report/Band.h"

#include <optional>

namespace qaveq {

class Prompter;

namespace data {
class Session;
}

namespace Maintenance {

inline const QString ImproperSetup =
    QStringLiteral("This cost category schedule is invalid because of improper setup.");
inline const QString NoUnitsPerDay =
    QStringLiteral("This schedule cannot be calculated because there is no value in the 'Units "
                   "per Day' field for this piece of equipment.");

// One cost category's line of the schedule: when it was last serviced and
// when it is due, or why that cannot be worked out.
struct Line
{
    QString category;
    QString description; // of the category; "Code Not In Dictionary" when missing
    QString schedule;    // "Every 250 Hours"
    DayNumber lastServiceDate = 0;
    qint64 lastServiceMeter = 0;
    DayNumber nextServiceDate = 0;
    qint64 nextServiceMeter = 0;
    qint64 currentMeter = 0;
    QString error; // empty, or why the line has no due values
};

// "Every 2 Months", "Every 500 Miles", "Every 2 Months or 500 Miles"; empty
// for a category without a schedule.
QString scheduleText(const EQCost &cost);

// Works out the due values of the categories of one piece of equipment. An
// equipment without units per day gets them from its posted usage logs and
// keeps them: the only write the schedule makes.
class Scheduler
{
public:
    Scheduler(data::Session &session, Prompter &prompter, DayNumber today);

    // The category's line; none when it has no schedule, or when it is due by
    // the meter and the equipment's units per day cannot be worked out and
    // `listErrors` is off.
    std::optional<Line> line(EQHeader &equipment, const EQCost &cost, bool listErrors);

    // Off: units per day worked out from the logs serve this run only, for a
    // reader that must not write.
    void setKeepsUnitsPerDay(bool keep) { m_keepsUnitsPerDay = keep; }

private:
    // Derives and saves the units per day when they are zero; false when
    // there are no logs to derive them from.
    bool ensureUnitsPerDay(EQHeader &equipment);

    data::Session &m_session;
    Prompter &m_prompter;
    DayNumber m_today;
    bool m_keepsUnitsPerDay = true;
};

} // namespace Maintenance

// The maintenance schedule: for each piece of equipment, every cost category
// with a service schedule, its last service and when the next is due.
class MaintenanceScheduleReport final : public ReportPass
{
public:
    MaintenanceScheduleReport(data::Session &session, Prompter &prompter, EQLimits definition,
                              DayNumber today);

    QStringList limitsLines() const override { return m_limits; }
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_read; }

    // The lines one piece of equipment lists, in category order.
    QList<Maintenance::Line> lines(EQHeader &equipment);

    report::Band header(const EQHeader &equipment) const;
    report::Band detail(const Maintenance::Line &line) const;

private:
    data::Session &m_session;
    ReportSelection m_selection;
    Maintenance::Scheduler m_scheduler;
    QStringList m_limits;
    QList<SelectedEquipment> m_equipment;
    qint64 m_read = 0;
};

} // namespace qaveq
