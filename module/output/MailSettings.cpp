#include "MailSettings.h"

#include "data/IniManager.h"
#include "data/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qaveq::MailSettings {

namespace {

const QString Section = u"E-Mail"_s;

QString securityName(report::SmtpSettings::Security security)
{
    switch (security) {
    case report::SmtpSettings::Security::None:
        return u"none"_s;
    case report::SmtpSettings::Security::Tls:
        return u"tls"_s;
    case report::SmtpSettings::Security::StartTls:
        break;
    }
    return u"starttls"_s;
}

} // namespace

report::SmtpSettings load(const QString &file)
{
    report::SmtpSettings settings;
    if (!QFileInfo::exists(file))
        return settings;
    const data::IniManager ini(file);
    const auto value = [&ini](const QString &key) { return ini.fetch(Section, key).toString(); };
    settings.server = value(u"Server"_s);
    settings.port = ini.fetch(Section, u"Port"_s, settings.port).toInt();
    const QString security = value(u"Security"_s).toLower();
    settings.security = security == u"none"_s  ? report::SmtpSettings::Security::None
                        : security == u"tls"_s ? report::SmtpSettings::Security::Tls
                                               : report::SmtpSettings::Security::StartTls;
    settings.user = value(u"User"_s);
    settings.password = value(u"Password"_s);
    settings.fromAddress = value(u"FromAddress"_s);
    settings.fromName = value(u"FromName"_s);
    return settings;
}

bool save(const QString &file, const report::SmtpSettings &settings)
{
    QDir().mkpath(QFileInfo(file).path());
    data::IniManager ini(file);
    const std::pair<QString, QString> values[] = {
        {u"Server"_s, settings.server.trimmed()},
        {u"Port"_s, QString::number(settings.port)},
        {u"Security"_s, securityName(settings.security)},
        {u"User"_s, settings.user},
        {u"Password"_s, settings.password},
        {u"FromAddress"_s, settings.fromAddress.trimmed()},
        {u"FromName"_s, settings.fromName.trimmed()}};
    for (const auto &[key, value] : values)
        if (!ini.update(Section, key, value))
            return false;
    return QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace qaveq::MailSettings
