#include "ReadOnlyAccess.h"

#include "data/Session.h"

#include "core/Prompter.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

bool refuse(bool readOnly, const QString &userId, Prompter &prompter)
{
    if (!readOnly)
        return false;
    prompter.ask(Message::alert(
        u"Insufficient Access"_s,
        u"User "_s + userId + u" has read only privileges|in the Equipment Costing module."_s));
    return true;
}

} // namespace

bool refuseReadOnly(const data::Session &session, Prompter &prompter)
{
    return refuse(session.equipmentReadOnly, session.userId, prompter);
}

bool refuseUsageLogsReadOnly(const data::Session &session, Prompter &prompter)
{
    return refuse(session.usageLogsReadOnly, session.userId, prompter);
}

} // namespace qaveq
