#include "Station.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "runtime/DebugLog.h"

#include "core/Clock.h"
#include "core/Text.h"

#include <cerrno>
#include <chrono>
#include <signal.h>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// Signing on waits only briefly for another station's write (SQLite holds the
// whole company while one runs): the command itself then waits for the files
// it needs, and says so if it cannot have them.
constexpr std::chrono::milliseconds RecordWait{1000};

} // namespace

Station::Station(data::Session &session, const Clock &clock)
    : m_session(session)
    , m_clock(clock)
{}

Station::~Station()
{
    signOff();
}

QString Station::thisHost()
{
    return NetUser::thisHost();
}

bool Station::isRunning(const QString &host, qint64 processId)
{
    if (processId <= 0 || host.isEmpty() || host != thisHost())
        return true;
    // Signal 0 only asks whether the process exists; EPERM means it does,
    // under another account.
    return ::kill(pid_t(processId), 0) == 0 || errno == EPERM;
}

int Station::removeGoneStations(data::Company &company)
{
    data::Table &netUsers = company.file<NetUser>();
    data::Transaction transaction(company.database(), {u"NetUser"_s}, RecordWait);
    if (!transaction.isActive())
        return 0;
    QList<NetUser> gone;
    data::KeyCursor cursor = netUsers.scan(u"KeyCompany", data::ScanOptions::equal({company.id()}));
    for (NetUser record; cursor.next(record);)
        if (!isRunning(Text::clip(record.Host), record.ProcessID))
            gone.append(record);
    for (NetUser &record : gone)
        if (const data::FileStatus status = netUsers.remove(record); !status) {
            DebugLog::program().write(status.error().text() + u" Deleting NetUser"_s);
            return 0;
        }
    if (!gone.isEmpty() && !transaction.commit())
        return 0;
    for (const NetUser &record : std::as_const(gone))
        DebugLog::program().write(u"Removed the network-user record of %1, whose station "
                                  "(process %2) is gone"_s.arg(Text::clip(record.UserID))
                                      .arg(record.ProcessID));
    return int(gone.size());
}

bool Station::ensureAdministrator(data::Company &company)
{
    data::Table &users = company.file<UserFile>();
    if (company.database().isReadOnly() || users.count() > 0)
        return false;
    UserFile administrator;
    administrator.UserID = Administrator.toString();
    administrator.FirstName = u"System"_s;
    administrator.LastName = u"Administrator"_s;
    return users.insert(administrator).isOk();
}

bool Station::signOn(const QString &userId, QString *error)
{
    data::Company &company = *m_session.company;
    const QString id = userId.trimmed().toUpper();
    UserFile user;
    user.UserID = id;
    if (id.isEmpty() || id.size() > 3 || !company.file<UserFile>().fetch(u"KeyUserID", user)) {
        *error =
            u"User \"%1\" is not set up in company %2.|Sign on with one of the company's user IDs."_s
                .arg(id, company.id());
        return false;
    }
    m_session.userId = id;
    m_session.companyId = company.id();
    m_session.companyName = company.name();
    m_session.dataPath = company.folder();
    m_session.controlPath = company.folder();
    m_session.loadCompanySettings();
    m_session.equipmentReadOnly = user.EquipmentReadOnly != 0;
    m_session.usageLogsReadOnly = user.UsageLogsReadOnly != 0;
    if (company.database().isReadOnly()) {
        // Everyone only looks at a company open read-only, and no sign-on
        // record can be kept.
        m_session.equipmentReadOnly = m_session.usageLogsReadOnly = true;
        return true;
    }

    removeGoneStations(company);
    data::Table &netUsers = company.file<NetUser>();
    data::Transaction transaction(company.database(), {u"NetUser"_s}, RecordWait);
    if (!transaction.isActive()) {
        DebugLog::program().write(u"Signed on without a network-user record: "_s +
                                  transaction.notBegunText());
        return true;
    }
    NetUser record;
    record.UserID = id;
    record.CompanyID = company.id();
    const bool present = netUsers.fetch(u"KeyUserCompany", record).isOk();
    // The same user's other running station keeps its record: the user is
    // signed on while either runs, and that station removes it when it ends.
    if (present && isRunning(Text::clip(record.Host), record.ProcessID))
        return true;
    const QDateTime now = m_clock.now();
    record.Activity.clear();
    record.Posting = 0;
    record.SignOnDate = SuiteDate::fromQDate(now.date());
    record.SignOnTime = SuiteTime::fromQTime(now.time());
    record.nameThisStation();
    data::FileStatus status = present ? netUsers.update(record) : netUsers.insert(record);
    if (status)
        status = transaction.commit();
    if (!status) {
        *error = status.error().text() + u" Saving NetUser"_s;
        return false;
    }
    m_recordWritten = true;
    return true;
}

void Station::signOff()
{
    if (!m_recordWritten)
        return;
    m_recordWritten = false;
    data::Company &company = *m_session.company;
    NetUser record;
    record.UserID = m_session.userId;
    record.CompanyID = company.id();
    data::Table &netUsers = company.file<NetUser>();
    // Only this station's own record: another station of the user may have
    // signed on since this one's record was taken for gone.
    if (!netUsers.fetch(u"KeyUserCompany", record) || !record.isThisStation())
        return;
    if (const data::FileStatus status = netUsers.remove(record); !status)
        DebugLog::program().write(status.error().text() + u" Deleting NetUser"_s);
}

} // namespace qaveq::host
