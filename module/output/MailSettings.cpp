#include "MailSettings.h"

#include "data/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

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

QString userSettingsFile(const data::Session &session)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           u"/qaveq/"_s + session.companyId.trimmed();
    return QDir(folder).filePath(session.userId.trimmed() + u".ini"_s);
}

report::SmtpSettings load(const QString &file)
{
    report::SmtpSettings settings;
    if (!QFileInfo::exists(file))
        return settings;
    QSettings ini(file, QSettings::IniFormat);
    ini.beginGroup(Section);
    settings.server = ini.value(u"Server"_s).toString();
    settings.port = ini.value(u"Port"_s, settings.port).toInt();
    const QString security = ini.value(u"Security"_s).toString().toLower();
    settings.security = security == u"none"_s  ? report::SmtpSettings::Security::None
                        : security == u"tls"_s ? report::SmtpSettings::Security::Tls
                                               : report::SmtpSettings::Security::StartTls;
    settings.user = ini.value(u"User"_s).toString();
    settings.password = ini.value(u"Password"_s).toString();
    settings.fromAddress = ini.value(u"FromAddress"_s).toString();
    settings.fromName = ini.value(u"FromName"_s).toString();
    return settings;
}

bool save(const QString &file, const report::SmtpSettings &settings)
{
    QDir().mkpath(QFileInfo(file).path());
    {
        QSettings ini(file, QSettings::IniFormat);
        ini.beginGroup(Section);
        ini.setValue(u"Server"_s, settings.server.trimmed());
        ini.setValue(u"Port"_s, settings.port);
        ini.setValue(u"Security"_s, securityName(settings.security));
        ini.setValue(u"User"_s, settings.user);
        ini.setValue(u"Password"_s, settings.password);
        ini.setValue(u"FromAddress"_s, settings.fromAddress.trimmed());
        ini.setValue(u"FromName"_s, settings.fromName.trimmed());
        ini.endGroup();
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return false;
    }
    return QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace qaveq::MailSettings
