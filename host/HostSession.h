#pragma once

#include "ModuleLoader.h"
#include "Station.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/IniManager.h"
#include "data/Session.h"

#include <memory>

namespace qaveq {
class Clock;
class Prompter;
} // namespace qaveq

namespace qaveq::host {

// One run of the host program: the company it opened, the user signed on,
// the suite's globals, the host's error and INI managers, and the loaded
// module. Closing it kills and unloads the module and signs the user off.
class HostSession
{
public:
    HostSession(QString companyFolder, Prompter &prompter, const Clock &clock);
    ~HostSession();
    HostSession(const HostSession &) = delete;
    HostSession &operator=(const HostSession &) = delete;

    // Opens the company; when the folder holds none yet, creates the
    // demonstration company there, so a new user sees data at once.
    bool openCompany(QString *error);
    bool createdDemonstration() const { return m_createdDemonstration; }

    // Signs the user on as a station of the company (see Station).
    bool signOn(const QString &userId, QString *error);

    // Loads the module and initialises it with the host's managers.
    bool loadModule(QString *error, const QString &modulePath = ModuleLoader::defaultPath());
    bool moduleLoaded() const { return m_module && m_module->isLoaded(); }
    // The loaded module; only while moduleLoaded().
    const ModuleLoader &module() const { return *m_module; }
    bool call(const QString &procedure, data::Request request = data::Request::None);

    // Kills and unloads the module, removes the NetUser record.
    void close();

    data::Company &company() { return *m_company; }
    data::Session &session() { return m_session; }
    data::ErrorManager &errorManager() { return m_errors; }
    Prompter &prompter() { return m_prompter; }
    const Clock &clock() const { return m_clock; }

private:
    QString m_folder;
    Prompter &m_prompter;
    const Clock &m_clock;
    std::unique_ptr<data::Company> m_company;
    data::Session m_session;
    data::ErrorManager m_errors;
    std::unique_ptr<data::IniManager> m_ini;
    std::unique_ptr<ModuleLoader> m_module;
    Station m_station;
    bool m_createdDemonstration = false;
};

} // namespace qaveq::host
