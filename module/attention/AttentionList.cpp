#include "AttentionList.h"

#include "assets/ScheduleCalculator.h"
#include "assets/ScheduleRows.h"
#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"
#include "reports/MaintenanceSchedule.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

struct KindInfo
{
    const char16_t *name;
    const char16_t *heading;
};

constexpr KindInfo Kinds[AttentionItem::KindCount] = {
    {u"service-overdue", u"Services overdue"},
    {u"service-due", u"Services due within a week"},
    {u"batch-unposted", u"Usage-log batches not posted"},
    {u"batch-held", u"Batches held by a station"},
    {u"schedule-missing", u"Equipment without a depreciation schedule"},
    {u"schedule-stale", u"Depreciation schedules out of date"},
    {u"no-categories", u"Equipment without cost categories"},
    {u"depreciation-unposted", u"Depreciation not posted"},
};

QString date(DayNumber day)
{
    return Picture::parse(u"@d01").format(qint64(day)).trimmed();
}

QString number(qint64 value)
{
    return Picture::parse(u"@n-15").format(value).trimmed();
}

QString amount(const Decimal &value)
{
    return Picture::parse(u"@n-15.2").format(value).trimmed();
}

QString plural(qint64 count, const QString &one, const QString &many)
{
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

// The special categories that carry income and non-productive time: every
// piece of equipment has them, so they count neither as cost categories nor
// as services.
bool special(const QString &category)
{
    return category == u".I" || category == u".R" || category == u".N";
}

// What changed since the schedule was calculated, from the two bases
// ScheduleCalculator::basis wrote; empty when nothing did.
QStringList changes(const QString &stored, const QString &current)
{
    static const QStringList names{u"purchase date"_s, u"purchase value"_s, u"salvage value"_s,
                                   u"life"_s, u"method"_s};
    const QStringList before = stored.split(u';');
    const QStringList now = current.split(u';');
    QStringList changed;
    for (qsizetype i = 0; i < names.size(); ++i)
        if (before.value(i) != now.value(i))
            changed.append(names.at(i));
    return changed;
}

QString listed(const QStringList &parts)
{
    if (parts.size() < 2)
        return parts.join(QString());
    return parts.mid(0, parts.size() - 1).join(u", "_s) + u" and "_s + parts.last();
}

} // namespace

QString AttentionItem::name(Kind kind)
{
    return QString::fromUtf16(Kinds[int(kind)].name);
}

QString AttentionItem::heading(Kind kind)
{
    return QString::fromUtf16(Kinds[int(kind)].heading);
}

AttentionList::AttentionList(data::Session &session, Prompter &prompter, const Clock &clock)
    : m_session(session)
    , m_prompter(prompter)
    , m_clock(clock)
{}

QList<AttentionItem> AttentionList::items()
{
    m_today = SuiteDate::fromQDate(m_clock.today());
    QList<AttentionItem> found;
    data::KeyCursor cursor = m_session.company->file<EQHeader>().scan(u"KeyEquipmentID");
    for (EQHeader equipment; cursor.next(equipment);) {
        if (equipment.Active != 1 || equipment.SaleDate != 0)
            continue;
        services(equipment, found);
        schedule(equipment, found);
        categories(equipment, found);
    }
    batches(found);
    std::stable_sort(found.begin(), found.end(),
                     [](const AttentionItem &a, const AttentionItem &b) {
                         if (a.kind != b.kind)
                             return a.kind < b.kind;
                         // Undated things after dated ones, the oldest first.
                         const DayNumber left = a.date == 0 ? DayNumber(1) << 30 : a.date;
                         const DayNumber right = b.date == 0 ? DayNumber(1) << 30 : b.date;
                         return left < right;
                     });
    return found;
}

void AttentionList::services(EQHeader &equipment, QList<AttentionItem> &found)
{
    data::Company &company = *m_session.company;
    Maintenance::Scheduler scheduler(m_session, m_prompter, m_today);
    scheduler.setKeepsUnitsPerDay(false);
    const QString equipmentId = Text::clip(equipment.EquipmentID);
    data::KeyCursor cursor =
        company.file<EQCost>().scan(u"KeyEquipmentID", data::ScanOptions::equal({equipmentId}));
    for (EQCost cost; cursor.next(cost);) {
        if (special(Text::clip(cost.CostCategory)))
            continue;
        const std::optional<Maintenance::Line> line = scheduler.line(equipment, cost, false);
        if (!line || !line->error.isEmpty())
            continue;
        const QString type = Text::clip(cost.ScheduleType);
        const bool byMeter = type != u"E";
        // "Oil Change (OIL)", or the category alone when it is not in the dictionary.
        EQCode code;
        code.CategoryID = line->category;
        const QString name = company.file<EQCode>().fetch(u"KeyCategoryID", code)
                                 ? Text::clip(code.Description) + u" ("_s + line->category + u')'
                                 : line->category;
        // A schedule by time alone counts from the last service: without one
        // there is no due date to count from, only a service to record.
        if (!byMeter && line->nextServiceDate == 0) {
            found.append({AttentionItem::Kind::ServiceDue, equipmentId,
                          name + u", "_s + line->schedule.toLower() +
                              u": no service recorded yet; enter its last service date"_s});
            continue;
        }
        const bool meterReached = byMeter && line->currentMeter >= line->nextServiceMeter;
        const bool dateReached = line->nextServiceDate < m_today;
        if (!meterReached && !dateReached && line->nextServiceDate > m_today + DueWithinDays)
            continue;

        QString text = name + u", "_s + line->schedule.toLower() + u": due "_s;
        if (byMeter)
            text += u"at "_s + number(line->nextServiceMeter) + u' ' +
                    Text::clip(cost.MeterName).toLower() + u", the meter reads "_s +
                    number(line->currentMeter);
        AttentionItem item;
        item.subject = equipmentId;
        if (meterReached) {
            item.kind = AttentionItem::Kind::ServiceOverdue;
        } else {
            item.kind =
                dateReached ? AttentionItem::Kind::ServiceOverdue : AttentionItem::Kind::ServiceDue;
            item.date = line->nextServiceDate;
            const qint64 days = qint64(line->nextServiceDate) - m_today;
            text += (byMeter ? u"; by "_s : QString()) + date(line->nextServiceDate) +
                    (days < 0    ? u", "_s + plural(-days, u"day"_s, u"days"_s) + u" ago"_s
                     : days == 0 ? u", today"_s
                                 : u", in "_s + plural(days, u"day"_s, u"days"_s));
        }
        item.text = text;
        found.append(item);
    }
}

void AttentionList::schedule(const EQHeader &equipment, QList<AttentionItem> &found)
{
    if (equipment.DepreciationYears == 0 || equipment.PurchaseValue.isNegative() ||
        equipment.PurchaseValue.isZero())
        return;
    const QString equipmentId = Text::clip(equipment.EquipmentID);
    const std::vector<GLDepr> rows = scheduleRows(*m_session.company, equipmentId);
    const QString description = Text::clip(equipment.Description);
    if (rows.empty()) {
        found.append({AttentionItem::Kind::ScheduleMissing, equipmentId,
                      description + u": its depreciation schedule has not been calculated"_s});
        return;
    }
    // The row of the life's first month tells what the schedule was made
    // from; a schedule without it was made for another purchase date.
    const DayNumber first = SuiteDate::make(SuiteDate::month(equipment.PurchaseDate) + 1, 1,
                                            SuiteDate::year(equipment.PurchaseDate));
    const auto start = std::find_if(rows.begin(), rows.end(),
                                    [first](const GLDepr &row) { return row.Date == first; });
    const QString current = ScheduleCalculator::basis(equipment);
    QStringList changed;
    if (start == rows.end())
        changed = {u"purchase date"_s};
    // Rows stored before the basis was kept cannot tell, and are left alone.
    else if (!Text::clip(start->Basis).isEmpty())
        changed = changes(Text::clip(start->Basis), current);
    if (!changed.isEmpty())
        found.append({AttentionItem::Kind::ScheduleStale, equipmentId,
                      description + u": the depreciation schedule was calculated before its "_s +
                          listed(changed) + u" changed"_s});

    // Months that have ended and were not posted to the general ledger.
    const DayNumber thisMonth =
        SuiteDate::make(SuiteDate::month(m_today), 1, SuiteDate::year(m_today));
    QList<DayNumber> unposted;
    for (const GLDepr &row : rows)
        if (row.Date < thisMonth && row.GLTransID == 0)
            unposted.append(row.Date);
    if (unposted.isEmpty())
        return;
    const auto month = [](DayNumber day) { return SuiteDate::toQDate(day).toString(u"MM/yyyy"_s); };
    QString text = description + u": "_s + plural(unposted.size(), u"month"_s, u"months"_s) +
                   u" of depreciation not posted, "_s + month(unposted.first());
    if (unposted.size() > 1)
        text += u" to "_s + month(unposted.last());
    found.append({AttentionItem::Kind::DepreciationUnposted, equipmentId, text, unposted.first()});
}

void AttentionList::categories(const EQHeader &equipment, QList<AttentionItem> &found)
{
    const QString equipmentId = Text::clip(equipment.EquipmentID);
    data::KeyCursor cursor = m_session.company->file<EQCost>().scan(
        u"KeyEquipmentID", data::ScanOptions::equal({equipmentId}));
    for (EQCost cost; cursor.next(cost);)
        if (!special(Text::clip(cost.CostCategory)))
            return;
    found.append({AttentionItem::Kind::NoCategories, equipmentId,
                  Text::clip(equipment.Description) + u": no cost categories"_s});
}

void AttentionList::batches(QList<AttentionItem> &found)
{
    data::Company &company = *m_session.company;
    data::Table &logs = company.file<EQLogB>();
    // The batches the user may read: another user's hidden batches stay hidden.
    const UsageLogBatches access(m_session, m_prompter, m_clock);
    for (const EQBatch &batch : access.open(false)) {
        const QString subject = QString::number(batch.BatchID);
        const QString name = Text::clip(batch.Description).isEmpty()
                                 ? u"Batch "_s + subject
                                 : Text::clip(batch.Description) + u" (batch "_s + subject + u')';
        qint64 count = 0;
        Decimal total;
        DayNumber oldest = 0;
        data::KeyCursor entries =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batch.BatchID)}));
        for (EQLogB log; entries.next(log); ++count) {
            total += log.AdjustedAmount;
            if (log.Date != 0 && (oldest == 0 || log.Date < oldest))
                oldest = log.Date;
        }
        if (count > 0) {
            QString text =
                name + u": "_s + plural(count, u"log"_s, u"logs"_s) + u", "_s + amount(total);
            if (oldest != 0) {
                const qint64 age = qint64(m_today) - oldest;
                text += u", the oldest of "_s + date(oldest);
                if (age > 0)
                    text += u" ("_s + plural(age, u"day"_s, u"days"_s) + u" old)"_s;
            }
            found.append({AttentionItem::Kind::BatchUnposted, subject, text, oldest});
        }
        const QString holder = Text::clip(batch.InUseBy);
        if (holder.isEmpty())
            continue;
        NetUser station;
        station.UserID = holder;
        station.CompanyID = m_session.companyId.isEmpty() ? company.id() : m_session.companyId;
        const bool signedOn = company.file<NetUser>().fetch(u"KeyUserCompany", station).isOk();
        QString text = name + u": held by "_s + holderText(holder);
        if (signedOn)
            text += u", signed on since "_s + date(station.SignOnDate) + u' ' +
                    Picture::parse(u"@t1").format(qint64(station.SignOnTime)).trimmed();
        else
            text += u", who is not signed on: the hold was left by a station that stopped"_s;
        found.append(
            {AttentionItem::Kind::BatchHeld, subject, text, signedOn ? station.SignOnDate : 0});
    }
}

QString AttentionList::holderText(const QString &holder)
{
    UserFile user;
    user.UserID = holder;
    if (!m_session.company->file<UserFile>().fetch(u"KeyUserID", user))
        return holder;
    const QString name = (Text::clip(user.FirstName) + u' ' + Text::clip(user.LastName)).trimmed();
    return name.isEmpty() ? holder : holder + u" ("_s + name + u')';
}

} // namespace qaveq
