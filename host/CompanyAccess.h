#pragma once

#include "CommandLine.h"

#include "Station.h"

#include "logs/UsageLogBatches.h"
#include "records/EQHeader.h"

#include "data/Session.h"

#include "core/Clock.h"

#include <memory>
#include <optional>

namespace qaveq::data {
class Company;
} // namespace qaveq::data

namespace qaveq::host {

// What a command is about to do in the company: a user who may only view
// equipment, or only usage logs, is refused before anything is written.
// Whole files read or written beneath the windows' rules (dump, load) are
// the administrator's alone; writing them also needs the right to change.
enum class Access { Reads, ChangesEquipment, ChangesUsageLogs, ReadsWholeFiles, WritesWholeFiles };

// The one sign-on of every command that works in a company: the company
// opened, the user signed on as a station of it (the user must be in its user
// file; the station's network-user record exists while the command runs) and
// the session current for the module's procedures. Ending it signs off.
class CommandSession
{
public:
    // Null, and said why on stderr, when the company cannot be opened, the
    // user is not one of its users, or `access` is refused to the user.
    static std::unique_ptr<CommandSession> open(const CommandContext &context, Access access);
    ~CommandSession();
    CommandSession(const CommandSession &) = delete;
    CommandSession &operator=(const CommandSession &) = delete;

    data::Company &company() { return *m_company; }
    data::Session &session() { return m_session; }

private:
    explicit CommandSession(std::unique_ptr<data::Company> company);

    std::unique_ptr<data::Company> m_company;
    data::Session m_session;
    SystemClock m_clock;
    Station m_station;
    data::Session *m_previous = nullptr;
};

// The equipment `id` of the company; says so and returns nothing when there is none.
std::optional<EQHeader> findEquipment(const CommandContext &context, data::Company &company,
                                      const QString &id);

// Whether batch `batchId` exists and the signed-on user may use its logs so
// (another user's secure batch); says why not.
bool batchUsable(const CommandContext &context, const data::Session &session, quint16 batchId,
                 UsageLogBatches::Use use);

// A usage-log batch number as typed (1 to 65535); nothing when it is none.
std::optional<quint16> batchNumber(const QString &text);

// Says what is wrong with a command's arguments; returns UsageError.
int usage(const CommandContext &context, const QString &command, const QString &problem);

} // namespace qaveq::host
