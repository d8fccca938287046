#include "LoopbackSmtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace qaveq::testing {

LoopbackSmtpServer::LoopbackSmtpServer(bool refuseRecipients)
    : m_refuse(refuseRecipients)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(m_listener, 1);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

LoopbackSmtpServer::~LoopbackSmtpServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

QByteArray LoopbackSmtpServer::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void LoopbackSmtpServer::serve()
{
    while (!m_stop) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client >= 0) {
            converse(client);
            ::close(client);
        }
    }
}

void LoopbackSmtpServer::converse(int client)
{
    auto say = [client](const std::string &line) {
        const std::string text = line + "\r\n";
        ::send(client, text.data(), text.size(), MSG_NOSIGNAL);
    };
    say("220 loopback ESMTP");
    std::string pending;
    bool inData = false;
    char buffer[4096];
    while (!m_stop) {
        pollfd waiting{client, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        {
            std::lock_guard lock(m_mutex);
            m_received.append(buffer, n);
        }
        pending.append(buffer, size_t(n));
        if (inData) {
            if (pending.find("\r\n.\r\n") == std::string::npos)
                continue;
            inData = false;
            pending.clear();
            say("250 queued");
            continue;
        }
        std::string::size_type end;
        while ((end = pending.find("\r\n")) != std::string::npos) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 2);
            const std::string verb = command.substr(0, 4);
            if (verb == "EHLO" || verb == "HELO")
                say("250 loopback");
            else if (verb == "MAIL")
                say("250 sender ok");
            else if (verb == "RCPT")
                say(m_refuse ? "550 5.1.1 " + command.substr(command.find('<')) +
                                   ": Recipient address rejected: User unknown"
                             : "250 recipient ok");
            else if (verb == "DATA") {
                say("354 go ahead");
                inData = true;
                break;
            } else if (verb == "QUIT") {
                say("221 bye");
                return;
            } else
                say("250 ok");
        }
    }
}

} // namespace qaveq::testing
