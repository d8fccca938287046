#include "ModuleState.h"

#include "NetworkTrace.h"

#include "data/FileManagers.h"
#include "data/SuiteModule.h"

#include "runtime/AutoEntry.h"

#include "core/Prompter.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

QString withSeparator(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

ModuleState::ModuleState(Environment environment)
    : m_environment(std::move(environment))
    , m_ownErrors(u"QAVEQ"_s, m_environment.ownPrompter)
    , m_ownIni(withSeparator(m_environment.currentDirectory) + u"qaveq.INI"_s)
{
    m_activeIni = &m_ownIni;
    if (!m_activeErrors)
        m_activeErrors = &m_ownErrors;
    m_fuzzy = FuzzyMatcher{true, false};
    m_spell.programPath = QDir(m_environment.currentDirectory).absolutePath();
    m_spell.settingsFile = withSeparator(m_spell.programPath) + u"sol.ini"_s;
    m_spell.language = u"en_US"_s;
    if (m_environment.trace)
        for (const QString &line :
             NetworkTrace::lines(m_environment.arguments, NetworkTrace::Phase::Load))
            m_environment.trace(line);
    m_autoEntry.dataFile = withSeparator(m_environment.currentDirectory) + u"EasyAutoEntry.tps"_s;
    m_autoEntry.openMode = 1;
}

void ModuleState::toggleAutoEntry(bool suiteSwitch, const QString &dataPath)
{
    m_autoEntry.enabled = suiteSwitch;
    m_autoEntry.dataFile = withSeparator(dataPath) + u"EasyAutoEntry.tps"_s;
    std::unique_ptr<AutoEntry> store =
        suiteSwitch ? std::make_unique<AutoEntry>(m_autoEntry.dataFile) : nullptr;
    if (store && !store->isOpen()) {
        if (Prompter *prompter = m_activeErrors->prompter())
            prompter->ask(
                Message::alert(u"Remember Typed Values"_s,
                               u"Typed values cannot be remembered: "_s + store->error()));
        store.reset();
    }
    AutoEntry::setCurrent(std::move(store));
}

ModuleState::~ModuleState()
{
    // Nothing here may reach another library's objects: at the program's exit
    // they may be gone already. What the module holds of them went at KILL.
    if (m_environment.trace)
        for (const QString &line :
             NetworkTrace::lines(m_environment.arguments, NetworkTrace::Phase::Unload))
            m_environment.trace(line);
}

void ModuleState::init(data::ErrorManager *errors, data::IniManager *ini)
{
    if (m_initialized)
        return;
    m_initialized = true;
    if (errors)
        m_activeErrors = errors;
    if (ini)
        m_activeIni = ini;
    if (m_environment.files)
        for (const QString &file : files())
            m_environment.files->handOver(file, m_activeErrors);
    for (data::SuiteModule *module : std::as_const(m_environment.modules))
        module->init(errors, ini);
}

void ModuleState::kill()
{
    if (m_killed)
        return;
    m_killed = true;
    // Torn down here, in order, while the host's managers and the databases
    // still exist: the typed-values store holds a database of its own.
    AutoEntry::setCurrent(nullptr);
    m_logEntries = LogEntryMemory();
    for (data::SuiteModule *module : std::as_const(m_environment.modules))
        module->kill();
    m_activeErrors = &m_ownErrors;
    m_activeIni = &m_ownIni;
}

const QStringList &ModuleState::files()
{
    static const QStringList names =
        u"GLMaster Images LimList PRDDep JCPiece PRTimX NetUser JCExcept "
        "APDetPmt ARRetRec Control POMaster APInvPmt PRTrans ARShipTo APLien "
        "GLLoan GLTrans GLFiscal EQLogB ARRcpt EQLimits ARInvRec APVendor "
        "APInv APDetail GLAmort GLCGroup GLCGMem JCHeader Import JCCost "
        "GLSubAct JCCOH GLRecTrn JCCOD Contact GLStmt GLDepMem PREmp PREmpD "
        "PREmpS PREmpL GLGrpMem Export INAsmbly ARCust JCBillHd ARInv GLRec "
        "INVendor ARDetail JCBillDet JCActCo Phone GLBal Systems ORPDet "
        "ORPHead EQHeader ORQPDet EQCost ORQPHead DropList EQCode JCBillCode "
        "PORec MemLimit PODetSer JCWage EQLog PODetail UserFile GLDepr "
        "JCPhase JCLimits INMaster PREmpF INPrice GLGroup Expire UserDef "
        "UserLog Notes PRPriorL PRDetail PRUnTran PRHCkDet PRTimHd PRTimDet "
        "PRTimHdJ PRTDed PRTFrng PREmpHst PREmpDep PRCert PRPrior PRPriorS "
        "PRPriorD JCActPre JCAct JCActLnk JCManager EQBatch PRPriorF APHist "
        "EQPrior EQPriorM EQPriorC EQPriorCM EmailLog ARCCard LBFmt PREmpTrm "
        "JCCertH PRTimeOff PREmpTO PRToTran PRPriorTO EQHeaderAlias "
        "EQLogAlias"_s.split(u' ');
    return names;
}

} // namespace qaveq
