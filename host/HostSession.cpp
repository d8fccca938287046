#include "HostSession.h"

#include "DemoSetup.h"

#include "records/ModuleFiles.h"

#include "data/suite/SystemFiles.h"

#include "runtime/DebugLog.h"

#include "core/Clock.h"
#include "core/Text.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qaveq::host {

HostSession::HostSession(QString companyFolder, Prompter &prompter, const Clock &clock)
    : m_folder(std::move(companyFolder))
    , m_prompter(prompter)
    , m_clock(clock)
    , m_errors(u"host"_s, &prompter)
{}

HostSession::~HostSession()
{
    close();
}

bool HostSession::openCompany(QString *error)
{
    try {
        const bool existed = data::Company::exists(m_folder);
        m_company = std::make_unique<data::Company>(m_folder, companyCatalog());
        if (!existed) {
            QSettings(data::Company::settingsFile(m_company->folder()), QSettings::IniFormat)
                .setValue(u"Database/Driver"_s, u"SQLite"_s);
            m_company->setIdentity(u"DEMO"_s, u"Demonstration Construction Co."_s);
            createDemonstration(*m_company, m_clock);
            m_createdDemonstration = true;
        }
    } catch (const data::DataError &e) {
        *error = QString::fromStdString(e.what());
        m_company.reset();
        return false;
    }
    m_session.company = m_company.get();
    m_session.companyId = m_company->id();
    m_session.companyName = m_company->name();
    m_session.dataPath = m_company->folder();
    m_session.controlPath = m_company->folder();
    m_session.loadCompanySettings();
    m_ini = std::make_unique<data::IniManager>(QDir(m_company->folder()).filePath(u"suite.ini"_s));
    // Reports' PDF files go to the folder the user chose, or the documents
    // folder when there is one, else the home folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    m_session.loadReportSettings(*m_ini, QDir(documents).exists() ? documents : QDir::homePath());
    data::Database &database = m_company->database();
    m_errors.setCurrentErrorSource([&database] { return database.lastError(); });
    data::Session::setCurrent(&m_session);
    return true;
}

bool HostSession::signOn(const QString &userId, QString *error)
{
    const QString id = userId.trimmed().toUpper();
    UserFile user;
    user.UserID = id;
    if (id.isEmpty() || id.size() > 3 || !m_company->file<UserFile>().fetch(u"KeyUserID", user)) {
        *error =
            u"User \"%1\" is not set up in company %2.|Sign on with one of the company's user IDs."_s
                .arg(id, m_company->id());
        return false;
    }
    m_session.userId = id;
    m_session.equipmentReadOnly = user.EquipmentReadOnly != 0;
    m_session.usageLogsReadOnly = user.UsageLogsReadOnly != 0;
    m_session.loadUserSettings();
    if (m_company->database().isReadOnly()) {
        // Everyone only looks at a company open read-only, and no sign-on
        // record can be kept.
        m_session.equipmentReadOnly = m_session.usageLogsReadOnly = true;
        return true;
    }

    data::Table &netUsers = m_company->file<NetUser>();
    NetUser record;
    record.UserID = id;
    record.CompanyID = m_company->id();
    const bool present = netUsers.fetch(u"KeyUserCompany", record).isOk();
    const QDateTime now = m_clock.now();
    record.Activity.clear();
    record.Posting = 0;
    record.SignOnDate = SuiteDate::fromQDate(now.date());
    record.SignOnTime = SuiteTime::fromQTime(now.time());
    const data::FileStatus status = present ? netUsers.update(record) : netUsers.insert(record);
    if (!status) {
        *error = status.error().text() + u" Saving NetUser"_s;
        return false;
    }
    m_signedOn = true;
    return true;
}

bool HostSession::loadModule(QString *error, const QString &modulePath)
{
    m_module = std::make_unique<ModuleLoader>(modulePath);
    if (!m_module->load(error))
        return false;
    m_module->init(&m_errors, m_ini.get());
    return true;
}

bool HostSession::call(const QString &procedure, data::Request request)
{
    m_session.globalRequest = request;
    m_session.globalResponse = data::Response::None;
    return m_module && m_module->call(procedure);
}

void HostSession::close()
{
    if (m_module) {
        m_module->kill();
        m_module->unload();
        m_module.reset();
    }
    if (m_signedOn && m_company) {
        NetUser record;
        record.UserID = m_session.userId;
        record.CompanyID = m_company->id();
        data::Table &netUsers = m_company->file<NetUser>();
        if (netUsers.fetch(u"KeyUserCompany", record)) {
            if (const data::FileStatus status = netUsers.remove(record); !status)
                DebugLog::program().write(status.error().text() + u" Deleting NetUser"_s);
        }
        m_signedOn = false;
    }
    if (data::Session::current() == &m_session)
        data::Session::setCurrent(nullptr);
}

} // namespace qaveq::host
