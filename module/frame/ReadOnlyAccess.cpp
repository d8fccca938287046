#include "ReadOnlyAccess.h"

#include "data/Session.h"

#include "core/Prompter.h"

using namespace Qt::StringLiterals;

namespace qaveq {

bool refuseReadOnly(const data::Session &session, Prompter &prompter)
{
    if (!session.equipmentReadOnly)
        return false;
    prompter.ask(Message{u"Insufficient Access"_s,
                         u"User "_s + session.userId +
                             u" has read only privileges|in the Equipment Costing module."_s,
                         u"&OK"_s, 1, Message::Icon::Exclamation});
    return true;
}

} // namespace qaveq
