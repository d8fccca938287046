#include "EquipmentAccess.h"

#include "common/ReadOnlyAccess.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include "core/Prompter.h"

using namespace Qt::StringLiterals;

namespace qaveq {

EquipmentAccess::EquipmentAccess(data::Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
    data::Table &users = session.company->file<UserFile>();
    UserFile user;
    user.UserID = session.userId;
    if (const data::FileStatus status = users.fetch(u"KeyUserID", user); status) {
        m_mayChange = user.EquipmentNoChanges == 0;
    } else if (status.error().code == data::FileErrorCode::RecordNotFound && users.count() == 0) {
        m_mayChange = true;
    } else {
        m_prompter.ask(Message::alert(u"Equipment File Maintenance"_s,
                                      status.error().text() + u" Getting User Record"_s));
    }
}

bool EquipmentAccess::refuses(Action action) const
{
    if (action != Action::Change && refuseReadOnly(m_session, m_prompter))
        return true;
    if (action == Action::DepreciationBatch)
        return false;
    return refusesChange();
}

bool EquipmentAccess::refusesChange() const
{
    if (m_mayChange)
        return false;
    m_prompter.ask(
        Message{u"Access Denied"_s,
                u"Your user access level is insufficient to make changes to Equipment."_s, u"&OK"_s,
                1, m_session.audibleBeeps ? Message::Icon::Bell : Message::Icon::Stop});
    return true;
}

} // namespace qaveq
