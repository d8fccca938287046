#include "MailDialogs.h"

#include "DialogFrame.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

RecipientDialog::RecipientDialog(const QString &address, const QString &name,
                                 const QString &subject, QWidget *parent)
    : QDialog(parent)
    , m_address(new QLineEdit(address, this))
    , m_name(new QLineEdit(name, this))
    , m_subject(new QLineEdit(subject, this))
{
    setWindowTitle(u"Email Report"_s);
    useDialogFrame(this);
    auto *form = new QFormLayout(this);
    m_address->setMinimumWidth(320);
    form->addRow(u"&To address:"_s, m_address);
    form->addRow(u"To &name:"_s, m_name);
    form->addRow(u"&Subject:"_s, m_subject);
    QDialogButtonBox *buttons = okCancel(this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"&Send"_s);
    form->addRow(buttons);
    const auto check = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_address->text().trimmed().isEmpty());
    };
    connect(m_address, &QLineEdit::textChanged, this, check);
    check();
}

QString RecipientDialog::address() const
{
    return m_address->text().trimmed();
}

QString RecipientDialog::name() const
{
    return m_name->text().trimmed();
}

QString RecipientDialog::subject() const
{
    return m_subject->text().trimmed();
}

MailServerDialog::MailServerDialog(const report::SmtpSettings &settings, QWidget *parent,
                                   std::optional<QString> message)
    : QDialog(parent)
    , m_server(new QLineEdit(settings.server, this))
    , m_port(new QSpinBox(this))
    , m_security(new QComboBox(this))
    , m_user(new QLineEdit(settings.user, this))
    , m_password(new QLineEdit(settings.password, this))
    , m_fromAddress(new QLineEdit(settings.fromAddress, this))
    , m_fromName(new QLineEdit(settings.fromName, this))
{
    setWindowTitle(u"Email Settings"_s);
    useDialogFrame(this);
    m_port->setRange(1, 65535);
    m_port->setValue(settings.port);
    m_security->addItems({u"None"_s, u"STARTTLS"_s, u"TLS"_s});
    m_security->setCurrentIndex(int(settings.security));
    m_password->setEchoMode(QLineEdit::Password);
    m_server->setMinimumWidth(280);
    auto *form = new QFormLayout(this);
    form->addRow(u"Mail &server:"_s, m_server);
    form->addRow(u"&Port:"_s, m_port);
    form->addRow(u"Se&curity:"_s, m_security);
    form->addRow(u"&User name:"_s, m_user);
    form->addRow(u"Pass&word:"_s, m_password);
    form->addRow(u"&From address:"_s, m_fromAddress);
    form->addRow(u"From &name:"_s, m_fromName);
    if (message) {
        m_message = new QPlainTextEdit(*message, this);
        m_message->setToolTip(u"The text of every report you email (up to 500 characters)"_s);
        m_message->setMaximumHeight(90);
        m_message->setTabChangesFocus(true);
        form->addRow(u"&Message:"_s, m_message);
    }
    form->addRow(okCancel(this));
}

QString MailServerDialog::message() const
{
    return m_message ? m_message->toPlainText().left(500) : QString();
}

report::SmtpSettings MailServerDialog::settings() const
{
    report::SmtpSettings settings;
    settings.server = m_server->text().trimmed();
    settings.port = m_port->value();
    settings.security = report::SmtpSettings::Security(m_security->currentIndex());
    settings.user = m_user->text().trimmed();
    settings.password = m_password->text();
    settings.fromAddress = m_fromAddress->text().trimmed();
    settings.fromName = m_fromName->text().trimmed();
    return settings;
}

} // namespace qaveq
