#include "Session.h"

namespace qaveq::data {

namespace {

Session *currentSession = nullptr;

} // namespace

Session *Session::current()
{
    return currentSession;
}

void Session::setCurrent(Session *session)
{
    currentSession = session;
}

} // namespace qaveq::data
