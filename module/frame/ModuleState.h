#pragma once

#include "data/ErrorManager.h"
#include "data/IniManager.h"
#include "logs/LogEntryMemory.h"
#include "output/OutputState.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace qaveq {

class Prompter;

namespace data {
class FileManagers;
class SuiteModule;
} // namespace data

// Remembers typed values per field; its data file sits in the folder the
// program was started in.
struct AutoEntrySettings
{
    QString dataFile;
    int openMode = 1;
    bool enabled = true;
};

// The text matching of list searches.
struct FuzzyMatcher
{
    bool ignoreCase = true;
    bool wholeWordsOnly = false;
};

struct SpellSettings
{
    QString programPath;
    QString settingsFile; // ".../sol.ini"
    QString language;     // "en_US"
};

// The module's global objects from load to unload, and its two entry
// operations. Every screen and file operation of the module reports through
// the active error manager and keeps its settings through the active INI
// manager: the module's own until the host hands over its own in INIT.
class ModuleState
{
public:
    struct Environment
    {
        QStringList arguments;                      // the program's command line
        QString currentDirectory;                   // the folder the program was started in
        std::function<void(const QString &)> trace; // the program's debug log
        data::FileManagers *files = nullptr;
        QList<data::SuiteModule *> modules; // the data module, then the sibling modules
        Prompter *ownPrompter = nullptr;    // how the module's own error manager shows messages
    };

    // Load: the global objects in their order, the own managers active.
    explicit ModuleState(Environment environment);
    // Unload: the closing trace lines.
    ~ModuleState();
    ModuleState(const ModuleState &) = delete;
    ModuleState &operator=(const ModuleState &) = delete;

    // QAVEQ:INIT. Only the first call counts.
    void init(data::ErrorManager *errors, data::IniManager *ini);
    // QAVEQ:KILL. Only the first call counts.
    void kill();

    data::ErrorManager &errorManager() const { return *m_activeErrors; }
    data::IniManager &iniManager() const { return *m_activeIni; }
    const AutoEntrySettings &autoEntry() const { return m_autoEntry; }
    // TOGGLEEASYAUTOENTRYEQ: the auto-entry object follows the suite's switch,
    // with its data file in the company's data folder `dataPath`.
    void toggleAutoEntry(bool suiteSwitch, const QString &dataPath);
    const FuzzyMatcher &fuzzyMatcher() const { return m_fuzzy; }
    const SpellSettings &spellSettings() const { return m_spell; }
    // The report output flags kept from one report to the next.
    OutputState &output() { return m_output; }
    // What the usage-log entry form keeps from one log to the next.
    LogEntryMemory &logEntries() { return m_logEntries; }

    // The files whose managers report through the active error manager, in the
    // order they are handed over.
    static const QStringList &files();

private:
    Environment m_environment;
    AutoEntrySettings m_autoEntry;
    FuzzyMatcher m_fuzzy;
    data::ErrorManager m_ownErrors;
    data::IniManager m_ownIni;
    SpellSettings m_spell;
    OutputState m_output;
    LogEntryMemory m_logEntries;
    data::ErrorManager *m_activeErrors = nullptr;
    data::IniManager *m_activeIni = nullptr;
    bool m_initialized = false;
    bool m_killed = false;
};

} // namespace qaveq
