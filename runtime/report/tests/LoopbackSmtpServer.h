#pragma once

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>

namespace qaveq::testing {

// A small SMTP server on 127.0.0.1 for one test: it takes messages and keeps
// what it was sent, or refuses recipients when told to.
class LoopbackSmtpServer
{
public:
    explicit LoopbackSmtpServer(bool refuseRecipients = false);
    ~LoopbackSmtpServer();

    int port() const { return m_port; }
    // The whole conversation as the client sent it.
    QByteArray received() const;

private:
    void serve();
    void converse(int client);

    int m_listener = -1;
    int m_port = 0;
    bool m_refuse;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QByteArray m_received;
    std::thread m_thread;
};

} // namespace qaveq::testing
