#include "AttentionCommands.h"

#include "CompanyAccess.h"

#include "attention/AttentionList.h"

#include "data/Company.h"
#include "data/Session.h"

#include "runtime/ConsolePrompter.h"

#include "core/Clock.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

QJsonObject jsonOf(const AttentionItem &item)
{
    QJsonObject object{{u"kind"_s, AttentionItem::name(item.kind)},
                       {u"subject"_s, item.subject},
                       {u"text"_s, item.text}};
    if (item.date != 0)
        object.insert(u"date"_s, SuiteDate::toQDate(item.date).toString(Qt::ISODate));
    return object;
}

int runAttention(CommandContext &context)
{
    ArgumentReader reader(context.arguments);
    const bool json = reader.flag(u"json"_s);
    QString problem;
    if (!reader.positionals(&problem).isEmpty() || !problem.isEmpty())
        return usage(context, u"attention"_s,
                     problem.isEmpty() ? u"takes no arguments but --json"_s : problem);
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Session &session = signedOn->session();

    ConsolePrompter prompter(context.err);
    const SystemClock clock;
    const QList<AttentionItem> items = AttentionList(session, prompter, clock).items();
    for (const AttentionItem &item : items) {
        if (json)
            context.out << QJsonDocument(jsonOf(item)).toJson(QJsonDocument::Compact) << "\n";
        else
            context.out << AttentionItem::name(item.kind).leftJustified(22) << "  "
                        << item.subject.leftJustified(10) << "  " << item.text << "\n";
    }
    context.out.flush();
    if (context.out.status() != QTextStream::Ok) {
        context.err << "qaveq: the list could not be written in full.\n";
        return Failure;
    }
    return Success;
}

} // namespace

QList<Command> attentionCommands()
{
    return {
        {u"attention"_s, u"what needs attention today, as the first screen lists it"_s,
         u"Usage: qaveq --company DIR [--user ID] attention [--json]\n\n"
         "Lists services overdue or due within a week (by date and by meter),\n"
         "usage-log batches not posted with their age and amount, batches held by a\n"
         "station, equipment whose depreciation schedule is missing or older than a\n"
         "change of its purchase date or value, salvage value, life or method,\n"
         "equipment without cost categories, and ended months of depreciation not\n"
         "posted. One line a thing: its kind, its subject (an equipment ID or a batch\n"
         "number) and what it is. With --json, one JSON object a line with \"kind\",\n"
         "\"subject\", \"text\" and, where there is one, \"date\" (YYYY-MM-DD).\n"
         "The status is 0 whether or not anything is listed.\n"_s,
         runAttention},
    };
}

} // namespace qaveq::host
