#include "EquipmentCommands.h"

#include "CompanyAccess.h"

#include "equipment/CategoryApplier.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"

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

    data::Session session(company.get());
    if (!signOn(context, session))
        return Failure;

    ConsolePrompter failures(context.err);
    data::ErrorManager errors(u"qaveq"_s, &failures);
    ConsolePrompter prompter(context.out, context.err);
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
    // Refused, held by another station or a failed write: the prompters have
    // said why, and nothing was written.
    return applier.applyToAll().ran ? Success : Failure;
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
