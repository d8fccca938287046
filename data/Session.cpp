#include "Session.h"

#include "Company.h"
#include "IniManager.h"
#include "KeyCursor.h"
#include "suite/SystemFiles.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qaveq::data {

namespace {

Session *currentSession = nullptr;

} // namespace

namespace {

// A colour setting as 0xRRGGBB; -1 for "none"; `fallback` when unset or not a colour.
int colorSetting(const IniManager &settings, const QString &key, int fallback)
{
    const QString text = settings.fetch(u"Reports"_s, key).toString().trimmed();
    if (text.isEmpty())
        return fallback;
    if (text.compare(u"none"_s, Qt::CaseInsensitive) == 0 || text == u"-1"_s)
        return -1;
    bool ok = false;
    const int value = QStringView(text).mid(text.startsWith(u'#') ? 1 : 0).toInt(&ok, 16);
    return ok && text.size() <= 7 && value >= 0 ? value : fallback;
}

} // namespace

void Session::loadReportSettings(const IniManager &suiteSettings, const QString &defaultPdfPath)
{
    pdfPath = suiteSettings.fetch(u"PDF"_s, u"Folder"_s, defaultPdfPath).toString();
    reportTitleColor = colorSetting(suiteSettings, u"TitleColor"_s, reportTitleColor);
    reportShadingColor = colorSetting(suiteSettings, u"ShadingColor"_s, reportShadingColor);
    reportFooterColor = colorSetting(suiteSettings, u"FooterColor"_s, reportFooterColor);
    reportFooterMessage =
        suiteSettings.fetch(u"Reports"_s, u"FooterMessage"_s, reportFooterMessage).toString();
}

Session *Session::current()
{
    return currentSession;
}

void Session::setCurrent(Session *session)
{
    currentSession = session;
}

QString Session::suiteIniFolder() const
{
    if (!iniFolder.isEmpty())
        return iniFolder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/qaveq"_s;
}

QString Session::userSettingsFile() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           u"/qaveq/"_s + companyId.trimmed();
    return QDir(folder).filePath(userId.trimmed() + u".ini"_s);
}

void Session::loadCompanySettings()
{
    if (!company)
        return;
    Systems settings;
    KeyCursor first = company->file<Systems>().scan(u"KeyRecordID");
    if (!first.next(settings))
        return;
    if (settings.CostCodeLength > 0)
        costCodeLength = settings.CostCodeLength;
    jobIdLength = settings.JobIDLength;
    logUserActivity = settings.LogUserActivity;
}

void Session::loadUserSettings()
{
    const IniManager settings(userSettingsFile());
    const QString folder = settings.fetch(u"PDF"_s, u"Folder"_s).toString().trimmed();
    if (!folder.isEmpty())
        pdfPath = folder;
    // The zoom the user last chose in a preview; GLO:PreviewZoom's values.
    bool ok = false;
    const int zoom = settings.fetch(u"Preview"_s, u"Zoom"_s).toInt(&ok);
    if (ok && zoom >= 0 && zoom <= 255)
        previewZoom = zoom;
}

} // namespace qaveq::data
