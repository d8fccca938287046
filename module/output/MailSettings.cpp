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
    settings.security = securityNamed(value(u"Security"_s).trimmed().toLower())
                            .value_or(report::SmtpSettings::Security::StartTls);
    settings.user = value(u"User"_s);
    settings.password = value(u"Password"_s);
    settings.fromAddress = value(u"FromAddress"_s);
    settings.fromName = value(u"FromName"_s);
    return settings;
}

bool save(const QString &file, const report::SmtpSettings &settings)
{
    // The file is the user's alone before the password goes in: its updates
    // keep the permissions it has.
    const QString folder = QFileInfo(file).path();
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        QFile created(file);
        if (!created.open(QIODevice::Append))
            return false;
    }
    if (!QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner))
        return false;
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
    const QFileDevice::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return !(QFileInfo(file).permissions() & others);
}

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

std::optional<report::SmtpSettings::Security> securityNamed(const QString &name)
{
    for (const auto security :
         {report::SmtpSettings::Security::None, report::SmtpSettings::Security::Tls,
          report::SmtpSettings::Security::StartTls})
        if (name == securityName(security))
            return security;
    return std::nullopt;
}

} // namespace qaveq::MailSettings
