#pragma once

#include "core/SuiteDate.h"

#include <QList>
#include <QString>

namespace qaveq {

class Clock;
class Prompter;
struct EQHeader;

namespace data {
class Session;
}

// One thing an equipment manager should deal with today.
struct AttentionItem
{
    // In the order the first screen shows them.
    enum class Kind {
        ServiceOverdue,
        ServiceDue,
        BatchUnposted,
        BatchHeld,
        ScheduleMissing,
        ScheduleStale,
        NoCategories,
        DepreciationUnposted,
    };

    Kind kind = Kind::ServiceOverdue;
    QString subject;    // the equipment ID, or the batch number
    QString text;       // one line, without the subject
    DayNumber date = 0; // when it fell due, was made or taken; 0 when there is none

    // "service-overdue": the name scripts read.
    static QString name(Kind kind);
    // "Services overdue": the heading of the kind's group.
    static QString heading(Kind kind);
    static constexpr int KindCount = int(Kind::DepreciationUnposted) + 1;
};

// What needs attention in a company as seen by the signed-on user: services
// overdue or due within a week (by date and by meter, worked out as the
// maintenance schedule works them out), unposted usage-log batches with their
// age and amount, batches another station holds, depreciation schedules never
// calculated or calculated before the equipment's depreciation values changed,
// equipment without cost categories, and months of depreciation that have
// ended unposted. Only active equipment that is not sold counts. It reads and
// never writes.
class AttentionList
{
public:
    static constexpr int DueWithinDays = 7;

    AttentionList(data::Session &session, Prompter &prompter, const Clock &clock);

    // Everything, grouped by kind in the order of `Kind`, then by date and subject.
    QList<AttentionItem> items();

private:
    void services(EQHeader &equipment, QList<AttentionItem> &found);
    void schedule(const EQHeader &equipment, QList<AttentionItem> &found);
    void categories(const EQHeader &equipment, QList<AttentionItem> &found);
    void batches(QList<AttentionItem> &found);
    QString holderText(const QString &holder);

    data::Session &m_session;
    Prompter &m_prompter;
    const Clock &m_clock;
    DayNumber m_today = 0;
};

} // namespace qaveq
