#include "CompanyAccess.h"

#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

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

std::unique_ptr<data::Company> openCompany(const CommandContext &context)
{
    const QString folder = context.global.companyFolder;
    if (!data::Company::exists(folder)) {
        context.err << "qaveq: there is no company in " << folder << "\n"
                    << "Create one with: qaveq --company " << folder << " init [--demo]\n";
        return nullptr;
    }
    try {
        return std::make_unique<data::Company>(folder, companyCatalog());
    } catch (const data::DataError &e) {
        context.err << "qaveq: " << e.what() << "\n";
        return nullptr;
    }
}

bool signOn(const CommandContext &context, data::Session &session)
{
    data::Table &users = session.company->file<UserFile>();
    UserFile user;
    user.UserID = context.global.userId.toUpper();
    session.userId = user.UserID;
    session.loadCompanySettings();
    if (users.fetch(u"KeyUserID", user)) {
        session.equipmentReadOnly = user.EquipmentReadOnly != 0;
        session.usageLogsReadOnly = user.UsageLogsReadOnly != 0;
        return true;
    }
    if (users.count() == 0)
        return true;
    context.err << "qaveq: there is no user \"" << user.UserID << "\" in this company.\n";
    return false;
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
