#include "UserActivity.h"

#include "Company.h"
#include "Session.h"
#include "suite/SystemFiles.h"

#include "core/Clock.h"
#include "core/SuiteDate.h"
#include "core/Text.h"

namespace qaveq::data {

void logUserActivity(Session &session, const Clock &clock, const QString &area, const QString &text)
{
    if (session.logUserActivity != 2 || !session.company)
        return;
    const QDateTime now = clock.now();
    UserLog entry;
    entry.UserID = session.userId;
    entry.Date = SuiteDate::fromQDate(now.date());
    entry.Time = SuiteTime::fromQTime(now.time());
    // The log keeps what fits; a long description must not lose the entry.
    entry.Area = Text::left(area, UserLog::fileSchema().field(u"Area")->width);
    entry.Text = Text::left(text, UserLog::fileSchema().field(u"Text")->width);
    static_cast<void>(session.company->file<UserLog>().insert(entry));
}

} // namespace qaveq::data
