#include "MaintenanceSchedule.h"

#include "LimitsLines.h"

#include "equipment/EquipmentRules.h"
#include "output/ReportBands.h"
#include "output/ReportRun.h"
#include "records/EQCode.h"

#include "runtime/report/ReportColumns.h"

#include "core/Picture.h"
#include "core/Prompter.h"
#include "core/SuiteDate.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace qaveq {

namespace Maintenance {

namespace {

QString every(qint32 count, const QString &unit)
{
    return u"Every "_s + QString::number(count) + u' ' + Text::clip(unit);
}

// The last service plus the interval; none without a last service. Months
// are calendar months, to the same day of the month, or the month's last day
// when it has no such day (31 January and one month: 28 or 29 February).
DayNumber dateDue(const EQCost &cost)
{
    if (cost.LastServiceDate == 0)
        return 0;
    if (Text::clip(cost.IntervalName) == u"Months")
        return SuiteDate::fromQDate(
            SuiteDate::toQDate(cost.LastServiceDate).addMonths(cost.Interval));
    return cost.LastServiceDate + cost.Interval;
}

} // namespace

QString scheduleText(const EQCost &cost)
{
    const QString type = Text::clip(cost.ScheduleType);
    if (type == u"M")
        return every(cost.Meter, cost.MeterName);
    if (type == u"E")
        return every(cost.Interval, cost.IntervalName);
    if (type == u"B")
        return every(cost.Interval, cost.IntervalName) + u" or "_s + QString::number(cost.Meter) +
               u' ' + Text::clip(cost.MeterName);
    return {};
}

Scheduler::Scheduler(data::Session &session, Prompter &prompter, DayNumber today)
    : m_session(session)
    , m_prompter(prompter)
    , m_today(today)
{}

bool Scheduler::ensureUnitsPerDay(EQHeader &equipment)
{
    if (!equipment.UnitsPerDay.isZero())
        return !equipment.UnitsPerDay.isNegative();
    data::Company &company = *m_session.company;
    // The same exact sum of the logs' units the equipment form's Recalculate
    // makes: half hours add up.
    const std::optional<Decimal> derived =
        EquipmentRules::unitsPerDay(company, equipment.EquipmentID);
    if (!derived || derived->isZero() || derived->isNegative())
        return false;
    equipment.UnitsPerDay = *derived;
    // A user who may only view equipment keeps the figure for this run.
    if (m_session.equipmentReadOnly || !m_keepsUnitsPerDay)
        return true;
    QString failure;
    data::Transaction transaction(company.database(), {u"EQHeader"_s}, 5s);
    if (!transaction.isActive()) {
        failure = transaction.notBegunText();
    } else {
        EQHeader stored;
        stored.EquipmentID = equipment.EquipmentID;
        data::FileStatus status = company.file<EQHeader>().fetch(u"KeyEquipmentID", stored);
        if (status) {
            stored.UnitsPerDay = *derived;
            status = company.file<EQHeader>().update(stored);
        }
        if (status)
            status = transaction.commit();
        if (!status)
            failure = status.error().text();
    }
    if (!failure.isEmpty())
        m_prompter.ask(
            Message::alert(u"Equipment Maintenance Schedule"_s, failure + u" Saving EQHeader"_s));
    return true;
}

std::optional<Line> Scheduler::line(EQHeader &equipment, const EQCost &cost, bool listErrors)
{
    const QString type = Text::clip(cost.ScheduleType);
    if (type != u"M" && type != u"E" && type != u"B")
        return std::nullopt;
    Line line;
    line.category = Text::clip(cost.CostCategory);
    line.schedule = scheduleText(cost);
    line.lastServiceDate = cost.LastServiceDate;
    line.lastServiceMeter = cost.LastServiceMeter;
    line.currentMeter = equipment.CurrentMeter.unitsAt(0);

    const bool byMeter = type != u"E";
    const bool byDate = type != u"M";
    if ((byMeter && (cost.Meter == 0 || Text::clip(cost.MeterName).isEmpty())) ||
        (byDate && (cost.Interval == 0 || Text::clip(cost.IntervalName).isEmpty()))) {
        line.error = ImproperSetup;
        return line;
    }
    if (byMeter) {
        if (!ensureUnitsPerDay(equipment)) {
            if (!listErrors)
                return std::nullopt;
            line.error = NoUnitsPerDay;
            return line;
        }
        line.nextServiceMeter = qint64(cost.LastServiceMeter) + cost.Meter;
        // Whole days, the fraction of a day dropped (towards zero): units per
        // day are held to the cent.
        const qint64 perDay = equipment.UnitsPerDay.unitsAt(2);
        line.nextServiceDate =
            m_today + DayNumber((line.nextServiceMeter - line.currentMeter) * 100 / perDay);
    }
    if (byDate) {
        // Of the meter's and the calendar's due dates the earlier; without a
        // last service date only the meter's.
        const DayNumber due = dateDue(cost);
        line.nextServiceDate = byMeter && due != 0 ? std::min(line.nextServiceDate, due)
                               : byMeter           ? line.nextServiceDate
                                                   : due;
    }
    return line;
}

} // namespace Maintenance

namespace {

const report::ColumnTable &scheduleColumns()
{
    static const report::ColumnTable table = [] {
        const int right = Qt::AlignRight;
        const QList<report::ReportColumn> columns{
            {.heading = {QString(), u"Type"_s}, .picture = u"@s10"_s},
            {.heading = {QString(), u"Description"_s}, .picture = u"@s30"_s},
            {.heading = {QString(), u"Schedule Type"_s}, .picture = u"@s36"_s},
            {.heading = {QString(), u"Date"_s}, .picture = u"@d1b"_s, .alignment = right},
            {.heading = {QString(), u"Meter Reading"_s}, .picture = u"@n10b"_s, .alignment = right},
            {.heading = {QString(), u"Date"_s}, .picture = u"@d1b"_s, .alignment = right},
            {.heading = {QString(), u"Meter Reading"_s}, .picture = u"@n10b"_s, .alignment = right},
            {.heading = {QString(), u"Current Meter"_s}, .picture = u"@n10b"_s, .alignment = right},
        };
        const QList<report::ColumnSpan> spans{{.first = 3, .count = 2, .text = u"Last Service"_s},
                                              {.first = 5, .count = 2, .text = u"Next Service"_s}};
        return report::ColumnTable(columns, ReportBands::font(8), spans);
    }();
    return table;
}

QString exported(const char16_t *picture, qint64 value)
{
    return Picture::parse(QStringView(picture)).format(value).trimmed();
}

} // namespace

MaintenanceScheduleReport::MaintenanceScheduleReport(data::Session &session, Prompter &prompter,
                                                     EQLimits definition, DayNumber today)
    : ReportPass({.title = u"Equipment Maintenance Schedule"_s,
                  .pdfFileName = u"Equipment Maintenance Schedule.pdf"_s,
                  .page = ReportIdentity::paper(Text::clip(definition.Orientation) == u"L"),
                  .primaryFile = &session.company->file<EQHeader>()})
    , m_session(session)
    , m_selection(*session.company, std::move(definition), today)
    , m_scheduler(session, prompter, today)
{
    m_limits = {u"Equipment Costing > Reports > Analysis Reports"_s};
    m_limits.append(LimitsLines::standard(*session.company, m_selection, {}));
}

bool MaintenanceScheduleReport::open(ReportRun &)
{
    m_equipment = m_selection.equipment();
    m_read = 0;
    return !m_equipment.isEmpty();
}

QList<Maintenance::Line> MaintenanceScheduleReport::lines(EQHeader &equipment)
{
    const EQLimits &definition = m_selection.definition();
    QList<Maintenance::Line> listed;
    // Limited classes leave out equipment without one.
    if (definition.SelectedClass == 1 && Text::clip(equipment.ClassCode).isEmpty())
        return listed;
    data::Company &company = *m_session.company;
    const bool listErrors = definition.PrintTransactionDetail != 0;
    const std::optional<DateRange> dates = m_selection.dateRange();
    data::KeyCursor cursor = company.file<EQCost>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({Text::clip(equipment.EquipmentID)}));
    for (EQCost cost; cursor.next(cost);) {
        const QString category = Text::clip(cost.CostCategory);
        if (category == u".I" || category == u".R" || category == u".N" ||
            !m_selection.categoryPasses(category))
            continue;
        std::optional<Maintenance::Line> line = m_scheduler.line(equipment, cost, listErrors);
        if (!line || (!line->error.isEmpty() && !listErrors))
            continue;
        if (line->error.isEmpty() && dates &&
            (line->nextServiceDate < dates->from || line->nextServiceDate > dates->to))
            continue;
        EQCode code;
        code.CategoryID = category;
        line->description = company.file<EQCode>().fetch(u"KeyCategoryID", code)
                                ? Text::clip(code.Description)
                                : u"Code Not In Dictionary"_s;
        listed.append(*line);
    }
    return listed;
}

report::Band MaintenanceScheduleReport::header(const EQHeader &equipment) const
{
    report::Band band;
    band.height = 60;
    band.text(QRectF(0, 60, 1200, 220), Text::clip(equipment.EquipmentID),
              ReportBands::font(10, true))
        .text(QRectF(1200, 60, 5000, 220), Text::clip(equipment.Description),
              ReportBands::font(10, true));
    band.height += 240;
    band.line(QPointF(0, band.height), QPointF(scheduleColumns().totalWidth(), band.height), 8);
    band.height += 40;
    band.append(scheduleColumns().headings());
    band.exportLines = {
        Text::clip(equipment.EquipmentID) + u"  "_s + Text::clip(equipment.Description),
        u"\t\t\t___ Last Service ___\t\t___ Next Service ___"_s,
        u"Type\tDescription\tSchedule Type\tDate\tMeter Reading\tDate\tMeter Reading\tCurrent Meter"_s};
    return band;
}

report::Band MaintenanceScheduleReport::detail(const Maintenance::Line &line) const
{
    const report::ColumnTable &columns = scheduleColumns();
    if (!line.error.isEmpty()) {
        const report::TextStyle font = ReportBands::font(8);
        const int middle = Qt::AlignLeft | Qt::AlignVCenter;
        report::Band band;
        band.height = columns.lineHeight();
        band.text(QRectF(columns.left(0), 0, columns.width(0), band.height), line.category, font,
                  middle)
            .text(QRectF(columns.left(1), 0, columns.width(1), band.height), line.description, font,
                  middle)
            .text(QRectF(columns.left(2), 0, columns.totalWidth() - columns.left(2), band.height),
                  line.error, font, middle, QColor(0x80, 0, 0));
        band.exportLines = {line.category + u'\t' + line.description + u'\t' + line.error};
        return band;
    }
    report::Band band =
        columns.detail({line.category, line.description, line.schedule,
                        qint64(line.lastServiceDate), line.lastServiceMeter,
                        qint64(line.nextServiceDate), line.nextServiceMeter, line.currentMeter});
    band.exportLines = {QStringList{
        line.category, line.description, line.schedule, exported(u"@d1b", line.lastServiceDate),
        exported(u"@n15", line.lastServiceMeter), exported(u"@d1b", line.nextServiceDate),
        exported(u"@n15", line.nextServiceMeter), exported(u"@n15", line.currentMeter)}
                            .join(u'\t')};
    return band;
}

bool MaintenanceScheduleReport::next(ReportRun &run, int records)
{
    if (!run.engine())
        run.beginPrinting();
    data::Company &company = *m_session.company;
    for (int i = 0; i < records && m_read < m_equipment.size(); ++i) {
        EQHeader equipment;
        equipment.EquipmentID = m_equipment.at(int(m_read)).id;
        ++m_read;
        if (!company.file<EQHeader>().fetch(u"KeyEquipmentID", equipment))
            continue;
        const QList<Maintenance::Line> listed = lines(equipment);
        if (listed.isEmpty())
            continue;
        report::Band band = header(equipment);
        for (const Maintenance::Line &line : listed)
            band.append(detail(line));
        report::Band spacer;
        spacer.height = 160;
        band.append(spacer);
        if (!run.engine()->print(band))
            return false;
    }
    return m_read < m_equipment.size();
}

int MaintenanceScheduleReport::percentRead() const
{
    return m_equipment.isEmpty() ? 100
                                 : int(std::min<qint64>(100, m_read * 100 / m_equipment.size()));
}

} // namespace qaveq
