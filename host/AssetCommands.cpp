#include "AssetCommands.h"

#include "CompanyAccess.h"

#include "assets/AnnualSummary.h"
#include "assets/ScheduleCalculator.h"
#include "assets/ScheduleRows.h"
#include "records/EQHeader.h"

#include "data/Company.h"
#include "data/RecordText.h"

#include "runtime/ConsolePrompter.h"

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

void printRows(QTextStream &out, const std::vector<GLDepr> &rows)
{
    const data::FileSchema &schema = GLDepr::fileSchema();
    const QStringList columns{u"Date"_s,     u"SLAmount"_s,     u"SLValue"_s,       u"SYAmount"_s,
                              u"SYValue"_s,  u"DDBAmount"_s,    u"DDBValue"_s,      u"UD1Amount"_s,
                              u"UD1Value"_s, u"ActualAmount"_s, u"FPPostedLabel"_s, u"GLTransID"_s};
    out << columns.join(u',') << "\n";
    for (const GLDepr &row : rows) {
        QStringList values;
        for (const QString &column : columns) {
            const data::FieldDef &field = *schema.field(column);
            values.append(
                data::RecordText::csvQuote(data::RecordText::fieldText(field, field.get(row))));
        }
        out << values.join(u',') << "\n";
    }
}

void printSummary(QTextStream &out, const QList<AnnualSummaryEntry> &entries)
{
    out << "Year,SLBegin,SLCharge,SYBegin,SYCharge,DDBBegin,DDBCharge\n";
    for (const AnnualSummaryEntry &e : entries)
        out << e.year << ',' << e.slBegin.toString(2) << ',' << e.slCharge.toString(2) << ','
            << e.syBegin.toString(2) << ',' << e.syCharge.toString(2) << ','
            << e.ddbBegin.toString(2) << ',' << e.ddbCharge.toString(2) << "\n";
}

int runDepreciation(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const bool summary = reader.flag(u"summary"_s);
    const bool dryRun = reader.flag(u"dry-run"_s);
    QString problem;
    const QStringList ids = reader.positionals(&problem);
    if (!problem.isEmpty() || ids.size() != 1)
        return usage(context, u"depreciation"_s,
                     problem.isEmpty() ? u"name one equipment ID"_s : problem);
    const std::unique_ptr<CommandSession> signedOn =
        CommandSession::open(context, dryRun ? Access::Reads : Access::ChangesEquipment);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();

    const std::optional<EQHeader> found = findEquipment(context, *company, ids.first());
    if (!found)
        return Failure;
    const EQHeader &equipment = *found;

    ConsolePrompter prompter(context.err);
    ScheduleCalculator calculator(*company, prompter);
    std::vector<GLDepr> rows;
    ScheduleCalculator::Result result;
    if (dryRun) {
        result = calculator.preview(equipment, [&rows](const GLDepr &row) { rows.push_back(row); });
    } else {
        result = calculator.calculate(equipment);
        rows = scheduleRows(*company, equipment.EquipmentID);
    }
    // The prompter has said why: refused, held by another station, or a
    // write that failed and took the whole run back.
    if (!result.done)
        return Failure;

    if (summary)
        printSummary(context.out, annualSummary(equipment, rows));
    else
        printRows(context.out, rows);
    return Success;
}

} // namespace

QList<Command> assetCommands()
{
    return {
        {u"depreciation"_s, u"calculate and store an equipment's depreciation schedule"_s,
         u"Usage: qaveq --company DIR depreciation EQUIPID [--summary] [--dry-run]\n\n"
         "Calculates the monthly depreciation schedule of the equipment EQUIPID from\n"
         "its purchase date and value, salvage value and number of months, by\n"
         "straight line, sum of years' digits and double-rate declining balance, and\n"
         "stores it (one row a month, starting the month after the purchase). Rows\n"
         "already posted keep their actual amount, posting period and transaction.\n"
         "Then prints the stored rows as CSV: Date,SLAmount,SLValue,SYAmount,SYValue,\n"
         "DDBAmount,DDBValue,UD1Amount,UD1Value,ActualAmount,FPPostedLabel,GLTransID\n\n"
         "  --summary  print the annual summary instead: Year,SLBegin,SLCharge,SYBegin,\n"
         "             SYCharge,DDBBegin,DDBCharge (a closing year at the salvage value)\n"
         "  --dry-run  print what the schedule would be, without storing it\n"_s,
         runDepreciation},
    };
}

} // namespace qaveq::host
