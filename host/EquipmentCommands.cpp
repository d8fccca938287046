#include "EquipmentCommands.h"

#include "CompanyAccess.h"

#include "equipment/CategoryApplier.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ConsolePrompter.h"

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

int runApplyCategories(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const bool yes = reader.flag(u"yes"_s);
    QString problem;
    if (!reader.positionals(&problem).isEmpty() || !problem.isEmpty())
        return usage(context, u"apply-categories"_s,
                     problem.isEmpty() ? u"takes no arguments"_s : problem);
    std::unique_ptr<data::Company> company = openCompany(context);
    if (!company)
        return Failure;

    UserFile user;
    user.UserID = context.global.userId.toUpper();
    if (!company->file<UserFile>().fetch(u"KeyUserID", user)) {
        context.err << "qaveq: there is no user \"" << user.UserID << "\" in this company.\n";
        return Failure;
    }
    data::Session session(company.get());
    session.userId = user.UserID;
    session.equipmentReadOnly = user.EquipmentReadOnly != 0;

    ConsolePrompter failures(context.err);
    data::ErrorManager errors(u"qaveq"_s, &failures);
    ConsolePrompter prompter(context.out);
    prompter.answerWith(u"Yes"_s);
    CategoryApplier applier(session, prompter, errors);
    if (!yes) {
        const CategoryApplier::Result plan = applier.plan();
        context.out << "Apply to All would add " << plan.added << " cost categories to "
                    << plan.equipmentReceiving
                    << " pieces of equipment and correct the accounts of " << plan.corrected
                    << " equipment cost categories.\nRun again with --yes to apply.\n";
        return Success;
    }
    const CategoryApplier::Result result = applier.applyToAll();
    if (!result.ran)
        return Failure;
    if (!result.usedTransaction)
        context.err << "note: EQCost was in use by another station; the work was done without a "
                       "transaction.\n";
    return result.failures > 0 ? Failure : Success;
}

} // namespace

QList<Command> equipmentCommands()
{
    return {
        {u"apply-categories"_s, u"give every piece of equipment every cost category"_s,
         u"Usage: qaveq --company DIR [--user ID] apply-categories [--yes]\n\n"
         "The cost categories' \"Apply to All\": every piece of equipment, active or\n"
         "not, receives each cost category it lacks, with the category's unit,\n"
         "accounts and service schedule; categories it has keep everything but their\n"
         "two accounts, which are set to the category's where they differ.\n\n"
         "Without --yes it only says what it would add and correct. A user who may\n"
         "only view equipment is refused.\n"_s,
         runApplyCategories},
    };
}

} // namespace qaveq::host
