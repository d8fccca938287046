#include "HostSession.h"

#include "DemoSetup.h"

#include "records/ModuleFiles.h"

#include "data/suite/SystemFiles.h"

#include "core/Clock.h"

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
    , m_station(m_session, clock)
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
    // A company kept without users so far starts with its administrator.
    Station::ensureAdministrator(*m_company);
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
    if (!m_station.signOn(userId, error))
        return false;
    m_session.loadUserSettings();
    return true;
}

bool HostSession::loadModule(QString *error, const QString &modulePath)
{
    m_module = std::make_unique<ModuleLoader>(modulePath);
    if (!m_module->load(error))
        return false;
    m_module->init(&m_errors, m_ini.get());
    // The suite tells the module its remember-typed-values switch at once, so
    // that the values live beside the company's data from the start.
    call(u"TOGGLEEASYAUTOENTRYEQ"_s, data::Request::None);
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
    if (m_company)
        m_station.signOff();
    if (data::Session::current() == &m_session)
        data::Session::setCurrent(nullptr);
}

} // namespace qaveq::host
