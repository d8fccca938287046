#pragma once

#include "runtime/report/SmtpMailer.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace qaveq {

// Whom an e-mailed report goes to: address, name and subject.
class RecipientDialog : public QDialog
{
    Q_OBJECT

public:
    RecipientDialog(const QString &address, const QString &name, const QString &subject,
                    QWidget *parent = nullptr);
    QString address() const;
    QString name() const;
    QString subject() const;

private:
    QLineEdit *m_address;
    QLineEdit *m_name;
    QLineEdit *m_subject;
};

// The user's mail server settings, and the message their reports are sent
// with when one is given.
class MailServerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MailServerDialog(const report::SmtpSettings &settings, QWidget *parent = nullptr,
                              std::optional<QString> message = std::nullopt);
    report::SmtpSettings settings() const;
    QString message() const;

private:
    QLineEdit *m_server;
    QSpinBox *m_port;
    QComboBox *m_security;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_fromAddress;
    QLineEdit *m_fromName;
    QPlainTextEdit *m_message = nullptr;
};

} // namespace qaveq
