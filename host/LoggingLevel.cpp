#include "LoggingLevel.h"

#include "Station.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"

#include <chrono>

using namespace Qt::StringLiterals;

namespace qaveq::host::LoggingLevel {

namespace {

const QString Caption = u"User Activity Logging"_s;

} // namespace

int stored(data::Company &company)
{
    Systems settings;
    data::KeyCursor first = company.file<Systems>().scan(u"KeyRecordID");
    return first.next(settings) ? settings.LogUserActivity : 0;
}

bool change(data::Session &session, Prompter &prompter, int level)
{
    const auto stop = [&prompter](const QString &text) {
        prompter.ask(Message::alert(Caption, text));
        return false;
    };
    if (session.userId.compare(Station::Administrator, Qt::CaseInsensitive) != 0)
        return stop(u"Only the administrator (%1) changes the company's logging level."_s.arg(
            Station::Administrator));
    if (level < 0 || level > Highest)
        return stop(u"The logging level is 0, 1 or 2."_s);

    data::Company &company = *session.company;
    data::Table &file = company.file<Systems>();
    data::Transaction transaction(company.database(), {u"Systems"_s}, std::chrono::seconds(5));
    if (!transaction.isActive())
        return stop(transaction.notBegunText());
    Systems settings;
    data::KeyCursor first = file.scan(u"KeyRecordID");
    const bool present = first.next(settings);
    settings.LogUserActivity = quint8(level);
    data::FileStatus status = present ? file.update(settings) : file.insert(settings);
    if (status)
        status = transaction.commit();
    if (!status)
        return stop(status.error().text() + u" Saving Systems"_s);
    session.logUserActivity = level;
    return true;
}

std::optional<int> choose(data::Session &session, Prompter &prompter)
{
    const int current = stored(*session.company);
    const int answer = prompter.ask(Message{
        Caption,
        u"The company logs user activity at level %1.|At level 2 every add, change and delete of "
        "equipment, cost categories, batches and usage logs is written to the user log."_s.arg(
            current),
        u"Level &0|Level &1|Level &2|&Cancel"_s, current + 1, Message::Icon::Question});
    if (answer < 1 || answer > Highest + 1 || !change(session, prompter, answer - 1))
        return std::nullopt;
    return answer - 1;
}

} // namespace qaveq::host::LoggingLevel
