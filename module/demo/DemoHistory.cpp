#include "DemoHistory.h"
#include "DemoBilling.h"
#include "DemoPlan.h"
#include "DemoRun.h"

#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "suite/JournalPosting.h"
#include "suite/PeriodClose.h"
#include "suite/UsageLogPosting.h"

#include "core/Clock.h"
#include "core/Text.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq::demo {

namespace {

bool servicesOthers(const QString &id)
{
    return std::find_if(std::begin(ServiceTrucks), std::end(ServiceTrucks),
                        [&](const char16_t *truck) { return id == QStringView(truck); }) !=
           std::end(ServiceTrucks);
}

QString monthText(const QDate &month)
{
    return month.toString(u"MM/yyyy"_s);
}

// A log charged to an equipment cost category takes the category's
// account, and its description when it has no comment, as the entry form
// fills them in.
void chargeCategory(DemoRun &run, EQLogB &log, const QString &category)
{
    const EQCode &code = run.categories.at(category);
    log.Category = category;
    log.GLAccount = code.DefaultExpenseControl;
    if (log.Comments.isEmpty())
        log.Comments = Text::left(code.Description, 20);
}

// A log charged to a job: equipment cost on one of its open cost codes.
void chargeJob(DemoRun &run, EQLogB &log)
{
    log.DetailType = u"Job"_s;
    log.JobID = QString::fromUtf16(Jobs[run.between(0, 4)].id);
    log.CostCode = QString::fromUtf16(CostCodes[run.between(0, 5)].code) + u"E"_s;
    log.GLAccount = u"5000"_s;
}

// The month's usage logs of one piece of equipment, as its operators
// enter them: mostly hours (or miles) on jobs, now and then a rental to
// others, a few hours of maintenance charged to the equipment's own cost
// category and, from the service trucks, field lubrication charged to the
// equipment they serve.
void enterLogs(DemoRun &run, const EquipmentPlan &e, const QString &id, const QDate &month,
               quint16 batchId)
{
    const bool miles = e.kind == Kind::Pickup;
    const bool servicing = servicesOthers(id);
    const Decimal rate = miles ? DemoRun::cents(65) : Decimal(e.internalRate);
    const Decimal rentalRate = (rate * Decimal::fromUnits(130, 2)).stored(15, 2);
    const int logs = run.between(4, 8);
    for (int i = 0; i < logs; ++i) {
        EQLogB log;
        log.BatchID = batchId;
        log.EquipmentID = id;
        log.Date = DemoRun::day(month.addDays(run.between(0, month.daysInMonth() - 1)));
        log.EmployeeID = Employees[run.between(0, 7)].id;
        log.Location = u"YARD"_s;
        log.ChargeType = u"I"_s;
        Decimal units =
            miles ? Decimal(run.between(60, 520)) : DemoRun::cents(run.between(8, 90) * 50);
        if (servicing && run.chance(35)) {
            const EquipmentPlan *served = nullptr;
            while (!served || !served->active || served == &e)
                served = &Fleet[run.between(0, std::size(Fleet) - 1)];
            log.DetailType = u"Equipment"_s;
            log.EquipmentIDCharged = QString::fromUtf16(served->id);
            chargeCategory(run, log, u"OIL"_s);
            log.Comments = Text::left(QString::fromUtf16(served->description), 20);
            units = DemoRun::cents(run.between(2, 16) * 25);
        } else if (run.chance(12)) {
            log.ChargeType = u"R"_s;
            log.DetailType = u"G/L Account"_s;
            log.GLAccount = u"1100"_s;
            log.Comments = u"Rental to others"_s;
        } else if (!miles && run.chance(4)) {
            log.DetailType = u"Maintenance"_s;
            const QStringList own = categoriesOf(e.kind);
            chargeCategory(run, log, own.contains(u"PM"_s) ? u"PM"_s : u"REPAIRS"_s);
            units = DemoRun::cents(run.between(2, 16) * 25);
        } else {
            chargeJob(run, log);
        }
        log.Units = units;
        log.StartMeter = run.meters[id];
        log.EndMeter = log.StartMeter + units;
        run.meters[id] = log.EndMeter;
        log.GrossAmount = (units * (log.ChargeType == u"R" ? rentalRate : rate)).stored(11, 2);
        log.AdjustedAmount = log.GrossAmount;
        run.put(log);
    }
}

[[noreturn]] void refused(const QString &doing, const QDate &month, const QString &error)
{
    throw data::DataError((doing + monthText(month) + u": "_s + error).toStdString());
}

// The usage-log posting run as started on the last day of the month. The
// batch it empties is deleted, as the bookkeeper does, so that the usage-log
// window shows only the batches still at work.
void postLogs(DemoRun &run, data::Session &session, EQBatch &batch, const QDate &month)
{
    const FixedClock clock(QDateTime(month.addMonths(1).addDays(-1), QTime(17, 0)));
    const suite::PostingOutcome outcome = suite::postUsageLogs(session, {batch.BatchID}, clock);
    if (!outcome.posted)
        refused(u"posting the usage logs of "_s, month, outcome.error);
    run.summary.postedLogs += outcome.logs;
    DemoRun::check(run.company.file<EQBatch>().remove(batch), u"EQBatch"_s);
}

void month(DemoRun &run, data::Session &session, const QDate &month, int &invoiceNo)
{
    if (month != run.firstMonth) {
        const int previous = run.periods[run.periodOf(month.addMonths(-1))].number;
        const suite::PeriodCloseOutcome closed = suite::closePeriod(session, previous);
        if (!closed.closed)
            refused(u"closing the period before "_s, month, closed.error);
    }
    EQBatch batch;
    batch.UserID = u"EQM"_s;
    batch.Description = u"Field Logs "_s + monthText(month);
    DemoRun::check(UsageLogBatches::insertBatch(run.company, batch), u"EQBatch"_s);
    QList<suite::JournalEntry> bills;
    for (const EquipmentPlan &e : Fleet) {
        if (!e.active)
            continue;
        const QString id = QString::fromUtf16(e.id);
        enterLogs(run, e, id, month, batch.BatchID);
        for (const QString &category : categoriesOf(e.kind))
            billCategory(run, e, category, month, ++invoiceNo, bills);
    }
    const suite::JournalOutcome posted = suite::postJournalEntries(session, bills);
    if (!posted.posted)
        refused(u"posting the bills of "_s, month, posted.error);
    postLogs(run, session, batch, month);
}

// The meters and average use of the equipment, and the last services of
// its cost categories that keep a schedule.
void settle(DemoRun &run)
{
    for (const EquipmentPlan &e : Fleet) {
        EQHeader key;
        key.EquipmentID = QString::fromUtf16(e.id);
        EQHeader eq = run.fetched(key, u"KeyEquipmentID");
        eq.CurrentMeter = run.meters[eq.EquipmentID].rounded(0);
        // Working days of the 18 months, about 21 a month.
        eq.UnitsPerDay = (eq.CumulativeUnits / Decimal(18 * 21)).stored(15, 2);
        run.save(eq);
        for (const QString &category : categoriesOf(e.kind)) {
            EQCost cost;
            cost.RecordID = DemoRun::costRecordId(eq.EquipmentID, category);
            cost = run.fetched(cost, u"KeyRecordID");
            if (cost.ScheduleType == u"N")
                continue;
            cost.LastServiceDate = DemoRun::day(run.lastMonth.addMonths(-run.between(0, 5)));
            cost.LastServiceMeter = static_cast<qint32>(run.meters[eq.EquipmentID].unitsAt(0)) -
                                    run.between(0, cost.Meter > 0 ? cost.Meter : 100);
            run.save(cost);
        }
    }
}

} // namespace

void writeHistory(DemoRun &run)
{
    for (const EquipmentPlan &e : Fleet)
        run.meters[QString::fromUtf16(e.id)] = Decimal(e.kind == Kind::Pickup ? 18000 : 2400);
    data::Session session(&run.company);
    int invoiceNo = 5000;
    for (QDate at = run.firstMonth; at <= run.lastMonth; at = at.addMonths(1))
        month(run, session, at, invoiceNo);
    run.summary.transactions = static_cast<int>(run.company.file<GLTrans>().count());
    settle(run);
}

void writeOpenBatches(DemoRun &run)
{
    const QDate thisMonth(run.today.year(), run.today.month(), 1);
    for (const OpenBatchPlan &b : OpenBatches) {
        EQBatch batch;
        batch.UserID = QString::fromUtf16(b.user);
        batch.Description = QString::fromUtf16(b.description);
        batch.Secure = b.secure;
        batch.Repeating = b.repeating;
        batch.FrequencyType =
            qToUnderlying(b.repeating ? BatchFrequency::Months : BatchFrequency::Days);
        batch.Frequency2 = b.repeating;
        DemoRun::check(UsageLogBatches::insertBatch(run.company, batch), u"EQBatch"_s);
        for (int i = 0; i < b.logs; ++i) {
            const EquipmentPlan &e = Fleet[run.between(0, 6)];
            EQLogB log;
            log.BatchID = batch.BatchID;
            log.EquipmentID = QString::fromUtf16(e.id);
            log.Date =
                DemoRun::day(thisMonth.addDays(run.between(0, std::max(0, run.today.day() - 1))));
            log.Units = DemoRun::cents(run.between(8, 80) * 50);
            log.StartMeter = run.meters[log.EquipmentID];
            log.EndMeter = log.StartMeter + log.Units;
            run.meters[log.EquipmentID] = log.EndMeter;
            log.ChargeType = u"I"_s;
            log.GrossAmount = (log.Units * Decimal(e.internalRate)).stored(11, 2);
            log.AdjustedAmount = log.GrossAmount;
            chargeJob(run, log);
            log.EmployeeID = Employees[run.between(0, 7)].id;
            log.Location = u"YARD"_s;
            run.put(log);
        }
    }
}

} // namespace qaveq::demo
