#include "CompanyAccess.h"

#include "common/ReadOnlyAccess.h"
#include "records/EQBatch.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ConsolePrompter.h"

#include "core/Text.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace qaveq::host {

std::optional<EQHeader> findEquipment(const CommandContext &context, data::Company &company,
                                      const QString &id)
{
    EQHeader equipment;
    equipment.EquipmentID = id;
    if (company.file<EQHeader>().fetch(u"KeyEquipmentID", equipment))
        return equipment;
    context.err << "qaveq: there is no equipment \"" << id << "\"\n";
    return std::nullopt;
}

CommandSession::CommandSession(std::unique_ptr<data::Company> company)
    : m_company(std::move(company))
    , m_session(m_company.get())
    , m_station(m_session, m_clock)
    , m_previous(data::Session::current())
{}

CommandSession::~CommandSession()
{
    m_station.signOff();
    if (data::Session::current() == &m_session)
        data::Session::setCurrent(m_previous);
}

std::unique_ptr<CommandSession> CommandSession::open(const CommandContext &context, Access access)
{
    const QString folder = context.global.companyFolder;
    if (!data::Company::exists(folder)) {
        context.err << "qaveq: there is no company in " << folder << "\n"
                    << "Create one with: qaveq --company " << folder << " init [--demo]\n";
        return nullptr;
    }
    std::unique_ptr<CommandSession> opened;
    try {
        opened.reset(new CommandSession(std::make_unique<data::Company>(folder, companyCatalog())));
    } catch (const data::DataError &e) {
        context.err << "qaveq: " << e.what() << "\n";
        return nullptr;
    }
    QString error;
    if (!opened->m_station.signOn(context.global.userId, &error)) {
        context.err << "qaveq: " << Text::withLineBreaks(error) << "\n";
        return nullptr;
    }
    data::Session &session = opened->m_session;
    ConsolePrompter refusal(context.err);
    if ((access == Access::ReadsWholeFiles || access == Access::WritesWholeFiles) &&
        session.userId.compare(Station::Administrator, Qt::CaseInsensitive) != 0) {
        context.err << "qaveq: only the administrator (" << Station::Administrator
                    << ") reads or writes whole files; the windows and the other commands keep "
                       "each user's rights.\n";
        return nullptr;
    }
    if (((access == Access::ChangesEquipment || access == Access::WritesWholeFiles) &&
         refuseReadOnly(session, refusal)) ||
        (access == Access::ChangesUsageLogs && refuseUsageLogsReadOnly(session, refusal))) {
        context.err << "Nothing was changed.\n";
        return nullptr;
    }
    data::Session::setCurrent(&session);
    return opened;
}

bool batchUsable(const CommandContext &context, const data::Session &session, quint16 batchId,
                 UsageLogBatches::Use use)
{
    EQBatch batch;
    batch.BatchID = batchId;
    if (!session.company->file<EQBatch>().fetch(u"KeyBatchID", batch)) {
        context.err << "qaveq: there is no usage-log batch " << batchId << ".\n";
        return false;
    }
    if (const QString refusal = UsageLogBatches::secureRefusal(session, batch, use);
        !refusal.isEmpty()) {
        context.err << "qaveq: batch " << batchId << ": " << refusal << ".\n";
        return false;
    }
    return true;
}

std::optional<quint16> batchNumber(const QString &text)
{
    bool ok = false;
    const uint number = text.toUInt(&ok);
    if (!ok || number == 0 || number > std::numeric_limits<quint16>::max())
        return std::nullopt;
    return quint16(number);
}

int usage(const CommandContext &context, const QString &command, const QString &problem)
{
    context.err << "qaveq " << command << ": " << problem << "\n"
                << "Try \"qaveq " << command << " --help\".\n";
    return UsageError;
}

} // namespace qaveq::host
