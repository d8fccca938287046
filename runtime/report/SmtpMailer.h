#pragma once

#include <QString>

namespace qaveq::report {

// How the user's mail goes out, from the user's settings.
struct SmtpSettings
{
    enum class Security { None, StartTls, Tls };

    QString server;
    int port = 587;
    Security security = Security::StartTls;
    QString user;
    QString password; // never written to a log or a message
    QString fromAddress;
    QString fromName;
};

struct MailMessage
{
    QString toAddress;
    QString toName;
    QString subject;
    QString body;
    QString attachment; // a file sent along, e.g. a report's PDF
};

// Sends one message with its attachment over SMTP.
class SmtpMailer
{
public:
    explicit SmtpMailer(SmtpSettings settings)
        : m_settings(std::move(settings))
    {}

    // False with the reason in error() when the message did not go out.
    bool send(const MailMessage &message);
    QString error() const { return m_error; }

    // The server's address as libcurl takes it.
    QString url() const;

private:
    SmtpSettings m_settings;
    QString m_error;
};

} // namespace qaveq::report
