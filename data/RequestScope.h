#pragma once

#include "Session.h"

namespace qaveq::data {

// Calls another procedure through the suite's globals: sets the request (and
// clears the response) for the call, and puts both back as they were when
// the scope ends, so that a lookup opened from a form leaves the form's own
// request untouched.
class RequestScope
{
public:
    RequestScope(Session &session, Request request)
        : m_session(session)
        , m_request(session.globalRequest)
        , m_response(session.globalResponse)
    {
        session.globalRequest = request;
        session.globalResponse = Response::None;
    }
    ~RequestScope()
    {
        m_session.globalRequest = m_request;
        m_session.globalResponse = m_response;
    }
    RequestScope(const RequestScope &) = delete;
    RequestScope &operator=(const RequestScope &) = delete;

    // The value the called list starts at, in the key field of its file's buffer.
    void prime(const FileSchema &file, QStringView field, const FieldValue &value)
    {
        m_session.buffer(file).setValue(field, value);
    }
    bool completed() const { return m_session.globalResponse == Response::Completed; }

private:
    Session &m_session;
    Request m_request;
    Response m_response;
};

} // namespace qaveq::data
