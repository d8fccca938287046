#include "EquipmentCommands.h"

#include "CompanyAccess.h"

#include "equipment/CategoryApplier.h"
#include "equipment/EquipmentAccess.h"
#include "equipment/EquipmentDeleter.h"
#include "equipment/EquipmentFilter.h"

#include "core/Clock.h"
#include "core/Text.h"

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
    const std::unique_ptr<CommandSession> signedOn =
        CommandSession::open(context, yes ? Access::ChangesEquipment : Access::Reads);
    if (!signedOn)
        return Failure;
    data::Session &session = signedOn->session();

    ConsolePrompter failures(context.err);
    data::ErrorManager errors(u"qaveq"_s, &failures);
    ConsolePrompter prompter(context.out, context.err);
    prompter.answerWith(u"Yes"_s);
    const SystemClock clock;
    CategoryApplier applier(session, prompter, errors, clock);
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
    return applier.applyToAll().done ? Success : Failure;
}

int runList(CommandContext &context, ArgumentReader &reader)
{
    // The list's two check boxes: active equipment, and with --inactive the
    // inactive too; --sold keeps only equipment with a sale date.
    EquipmentFilter filter;
    filter.showInactive = reader.flag(u"inactive"_s);
    const bool sold = reader.flag(u"sold"_s);
    QString problem;
    if (!reader.positionals(&problem).isEmpty() || !problem.isEmpty())
        return usage(context, u"equipment"_s,
                     problem.isEmpty() ? u"list takes no arguments"_s : problem);
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();
    data::ScanOptions options;
    options.filters = filter.filters();
    if (sold)
        options.filters.append({u"EQH:SaleDate"_s, data::Filter::Op::Greater, qint64(0)});
    data::KeyCursor cursor = company->file<EQHeader>().scan(u"KeyEquipmentID", options);
    EQHeader piece;
    context.out << "Equipment ID\tDescription\tPhysical Description\tClass Code\tActive\n";
    while (cursor.next(piece))
        context.out << Text::clip(piece.EquipmentID) << '\t' << Text::clip(piece.Description)
                    << '\t' << Text::clip(piece.PhysicalDescription) << '\t'
                    << Text::clip(piece.ClassCode) << '\t' << (piece.Active ? "Yes" : "No") << '\n';
    if (cursor.error()) {
        context.err << "qaveq: " << cursor.error()->text() << " Reading EQHeader\n";
        return Failure;
    }
    return Success;
}

int runDelete(CommandContext &context, ArgumentReader &reader)
{
    const bool yes = reader.flag(u"yes"_s);
    QString problem;
    const QStringList ids = reader.positionals(&problem);
    if (ids.size() != 1 || !problem.isEmpty())
        return usage(context, u"equipment"_s,
                     problem.isEmpty() ? u"delete takes one equipment ID"_s : problem);
    const std::unique_ptr<CommandSession> signedOn =
        CommandSession::open(context, yes ? Access::ChangesEquipment : Access::Reads);
    if (!signedOn)
        return Failure;
    data::Session &session = signedOn->session();
    const std::optional<EQHeader> piece = findEquipment(context, signedOn->company(), ids.first());
    if (!piece)
        return Failure;

    ConsolePrompter prompter(context.out, context.err);
    prompter.answerWith(u"Yes"_s);
    if (EquipmentAccess(session, prompter).refuses(EquipmentAccess::Action::Delete))
        return Failure;
    const SystemClock clock;
    EquipmentDeleter deleter(session, prompter, clock);
    if (!yes) {
        if (deleter.hasLogs(piece->EquipmentID)) {
            context.err << "qaveq: equipment " << Text::clip(piece->EquipmentID)
                        << " has usage logs and cannot be deleted\n";
            return Failure;
        }
        context.out << "Would delete equipment " << Text::clip(piece->EquipmentID) << " ("
                    << Text::clip(piece->Description)
                    << ") with its notes, attachments, photograph, depreciation rows and cost "
                       "categories.\nRun again with --yes to delete.\n";
        return Success;
    }
    return deleter.remove(piece->EquipmentID, false, {}) == EquipmentDeleter::Outcome::Deleted
               ? Success
               : Failure;
}

int runEquipment(CommandContext &context)
{
    const QString action = context.arguments.value(0);
    ArgumentReader actionReader(context.arguments.mid(1));
    if (action == u"list")
        return runList(context, actionReader);
    if (action == u"delete")
        return runDelete(context, actionReader);
    return usage(context, u"equipment"_s, u"say list or delete"_s);
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
        {u"equipment"_s, u"list equipment, or delete one with everything that hangs on it"_s,
         u"Usage: qaveq --company DIR equipment list [--inactive] [--sold]\n"
         "       qaveq --company DIR [--user ID] equipment delete ID [--yes]\n\n"
         "list writes the active equipment, one per line, tab-separated: ID,\n"
         "description, physical description, class code and whether it is active;\n"
         "--inactive lists the inactive equipment too, --sold only equipment with a\n"
         "sale date.\n\n"
         "delete takes out the equipment with its notes, attachments (and their\n"
         "stored files), photograph, depreciation rows and cost categories, all at\n"
         "once or not at all. Equipment that posted or batch usage logs name cannot\n"
         "be deleted, nor may a read-only user or one without the right to change\n"
         "equipment delete it. Without --yes it only says what it would delete.\n"_s,
         runEquipment},
    };
}

} // namespace qaveq::host
