// The loadable module: its global state from load to unload, its two entry
// operations and its 37 procedures, each a C symbol and a row of the table.
#include "ModuleExports.h"

#include "ModuleState.h"
#include "ProcedureTable.h"
#include "assets/ui/FixedAssetScreens.h"
#include "equipment/ui/CostCategoryScreens.h"
#include "equipment/ui/EquipmentCostScreens.h"
#include "equipment/ui/EquipmentFormScreen.h"
#include "equipment/ui/EquipmentLookups.h"
#include "equipment/ui/EquipmentScreens.h"
#include "logs/ui/UsageLogWindow.h"
#include "records/EQLimits.h"
#include "reports/ReportDefinitions.h"
#include "reports/ReportDispatch.h"
#include "reports/ui/AnalysisScreens.h"
#include "reports/ui/DefinitionScreens.h"
#include "reports/ui/ListingScreens.h"
#include "reports/ui/ReportScreens.h"
#include "transfer/ui/ImportWindow.h"
#include "writer/ui/WriterScreens.h"

#include "suite/SiblingModules.h"

#include "data/FileManagers.h"
#include "data/Session.h"
#include "data/SuiteModule.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/DebugLog.h"
#include "runtime/StandardWarnings.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

using namespace qaveq;

namespace {

// Constructed when the library is loaded, destroyed when it is unloaded.
struct LoadedModule
{
    QTextStream err{stderr};
    ConsolePrompter prompter{err};
    ModuleState state{environment()};

    ModuleState::Environment environment()
    {
        ModuleState::Environment env;
        if (QCoreApplication::instance())
            env.arguments = QCoreApplication::arguments();
        env.currentDirectory = QDir::currentPath();
        env.trace = [](const QString &line) { DebugLog::program().write(line); };
        env.files = &data::FileManagers::shared();
        env.modules = {&data::SuiteModule::dataModule(), &suite::qavmisc(), &suite::qavgl(),
                       &suite::qavjc(), &suite::qavpr()};
        env.ownPrompter = &prompter;
        return env;
    }
};

LoadedModule module;

// The definition whose number the caller handed over in the report filter.
EQLimits currentDefinition()
{
    data::Session *session = data::Session::current();
    if (!session || !session->company)
        return {};
    return ReportDefinitions::handedOver(*session).value_or(EQLimits());
}

const std::map<QString, void (*)()> &entries();
void runProcedure(const QString &name);

// The usage-log window calls the log entry form by its name; the suite does not.
void updateEqLogB()
{
    UsageLogScreens::updateLog(module.state.errorManager(), module.state.logEntries(),
                               &runProcedure);
}

void runReport(const QString &name);

// The usage-log window opens the proof listing's definitions by name; the
// suite does not.
void browseEqProofLimits()
{
    DefinitionScreens::browse(ReportFamily::Proof, module.state.errorManager(), &runReport);
}

// A report reached through a definition's dispatch: one the module does not
// have is a procedure not defined (warning 6), as the suite says of any missing one.
void runReport(const QString &name)
{
    // A definition whose type has no report runs nothing.
    if (name.isEmpty())
        return;
    if (entries().count(name) == 0) {
        StandardWarnings(module.state.errorManager())
            .show(StandardWarning::ProcedureNotDefined, name);
        return;
    }
    runProcedure(name);
}

} // namespace

extern "C" {

Q_DECL_EXPORT void QAVEQ_INIT(data::ErrorManager *errors, data::IniManager *ini)
{
    module.state.init(errors, ini);
    // The lists each feature offers the module's forms.
    ScreenRunner::setLookups({&EquipmentLookups::add, &DefinitionScreens::addLookups});
}

Q_DECL_EXPORT void QAVEQ_KILL()
{
    module.state.kill();
}

// The equipment lists call the equipment form by its name.
Q_DECL_EXPORT void BROWSEEQHEADER()
{
    EquipmentScreens::browse(module.state.errorManager(), &runProcedure);
}

Q_DECL_EXPORT void BROWSEEQHEADERALIAS()
{
    EquipmentScreens::browseAlias(module.state.errorManager(), &runProcedure);
}

Q_DECL_EXPORT void TOGGLEEASYAUTOENTRYEQ()
{
    if (const data::Session *session = data::Session::current())
        module.state.toggleAutoEntry(session->easyAutoEntry, session->dataPath);
}

Q_DECL_EXPORT void BROWSEEQCODE()
{
    CostCategoryScreens::browse(module.state.errorManager());
}

Q_DECL_EXPORT void UPDATEEQCODE()
{
    CostCategoryScreens::update(module.state.errorManager());
}

Q_DECL_EXPORT void BROWSEEQLOG()
{
    UsageLogScreens::browse(module.state.errorManager(), &runProcedure);
}

Q_DECL_EXPORT void UPDATEEQBATCH()
{
    UsageLogScreens::update(module.state.errorManager());
}

Q_DECL_EXPORT void BROWSEEQCOST()
{
    EquipmentCostScreens::browse(module.state.errorManager());
}

Q_DECL_EXPORT void UPDATEEQCOST()
{
    EquipmentCostScreens::update(module.state.errorManager());
}

Q_DECL_EXPORT void UPDATEEQHEADER()
{
    EquipmentFormScreen::update(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQLOGBPROOF()
{
    ReportScreens::printLogProof(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQDETAIL()
{
    ReportScreens::printDetail(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTFIXEDASSETS()
{
    FixedAssetScreens::printSchedule(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTFIXEDASSETGRAPHS()
{
    FixedAssetScreens::printGraphs(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void FIXEDASSETGRAPH()
{
    FixedAssetScreens::graphWindow(module.state.errorManager());
}

Q_DECL_EXPORT void IMPORTEQLOG()
{
    TransferScreens::importLogs(module.state.errorManager());
}

Q_DECL_EXPORT void EXPORTEQLOG()
{
    TransferScreens::exportLogs(module.state.errorManager());
}

// The five report-writer procedures run or design the report file the
// report writer's settings name.
Q_DECL_EXPORT void PRINTUSAGELOGFM()
{
    WriterScreens::run(u"PrintUsageLogFM"_s, module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQCATEGORYFM()
{
    WriterScreens::run(u"PrintEQCategoryFM"_s, module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQUIPMENTDETAILFM()
{
    WriterScreens::run(u"PrintEquipmentDetailFM"_s, module.state.errorManager(),
                       module.state.output());
}

Q_DECL_EXPORT void PRINTEQUIPMENTLISTFM()
{
    WriterScreens::run(u"PrintEquipmentListFM"_s, module.state.errorManager(),
                       module.state.output());
}

Q_DECL_EXPORT void PRINTEQANALYSISFM()
{
    WriterScreens::run(u"PrintEQAnalysisFM"_s, module.state.errorManager(), module.state.output());
}

// The company's designed reports, to run, design, copy or delete.
Q_DECL_EXPORT void LISTEQREPORTS()
{
    WriterScreens::list(module.state.errorManager(), module.state.output());
}

// The reports of the analysis definitions.
Q_DECL_EXPORT void PRINTEQANALYSIS()
{
    AnalysisScreens::printAnalysis(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQANALYSIS1()
{
    AnalysisScreens::printSummary(module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQMAINTENANCE()
{
    AnalysisScreens::printMaintenance(module.state.errorManager(), module.state.output());
}

// The three server procedures run the report that the code of the definition
// handed over in the report filter names, or nothing.
Q_DECL_EXPORT void PRINTEQCATEGORYLISTSERVER()
{
    runReport(ReportDispatch::categoryList(currentDefinition()));
}

Q_DECL_EXPORT void PRINTEQANALYSISSERVER()
{
    runReport(ReportDispatch::analysis(currentDefinition()));
}

Q_DECL_EXPORT void PRINTEQLISTINGSERVER()
{
    runReport(ReportDispatch::listing(currentDefinition()));
}

// The listing reports print the definition handed over in the report filter.
Q_DECL_EXPORT void PRINTEQLISTING()
{
    ListingScreens::print(u"PRINTEQLISTING"_s, currentDefinition(), module.state.errorManager(),
                          module.state.output());
}

Q_DECL_EXPORT void PRINTEQLISTING1()
{
    ListingScreens::print(u"PRINTEQLISTING1"_s, currentDefinition(), module.state.errorManager(),
                          module.state.output());
}

Q_DECL_EXPORT void PRINTEQCATEGORYLIST()
{
    ListingScreens::print(u"PRINTEQCATEGORYLIST"_s, currentDefinition(),
                          module.state.errorManager(), module.state.output());
}

Q_DECL_EXPORT void PRINTEQCATEGORYLIST1()
{
    ListingScreens::print(u"PRINTEQCATEGORYLIST1"_s, currentDefinition(),
                          module.state.errorManager(), module.state.output());
}

// The lists of saved report definitions print through the dispatch.
Q_DECL_EXPORT void BROWSEEQANALYSISLIMITS()
{
    DefinitionScreens::browse(ReportFamily::Analysis, module.state.errorManager(), &runReport);
}

Q_DECL_EXPORT void BROWSEEQDETAILLIMITS()
{
    DefinitionScreens::browse(ReportFamily::Detail, module.state.errorManager(), &runReport);
}

Q_DECL_EXPORT void BROWSEEQLISTINGLIMITS()
{
    DefinitionScreens::browse(ReportFamily::Listing, module.state.errorManager(), &runReport);
}

Q_DECL_EXPORT void BROWSEEQCATEGORYLISTLIMITS()
{
    DefinitionScreens::browse(ReportFamily::Category, module.state.errorManager(), &runReport);
}

Q_DECL_EXPORT const QaveqExport *qaveq_exports(int *count);
}

namespace {

const std::map<QString, void (*)()> &entries()
{
    static const std::map<QString, void (*)()> map{
        {u"UPDATEEQHEADER"_s, &UPDATEEQHEADER},
        {u"BROWSEEQHEADER"_s, &BROWSEEQHEADER},
        {u"BROWSEEQHEADERALIAS"_s, &BROWSEEQHEADERALIAS},
        {u"TOGGLEEASYAUTOENTRYEQ"_s, &TOGGLEEASYAUTOENTRYEQ},
        {u"BROWSEEQCODE"_s, &BROWSEEQCODE},
        {u"UPDATEEQCODE"_s, &UPDATEEQCODE},
        {u"BROWSEEQCOST"_s, &BROWSEEQCOST},
        {u"UPDATEEQCOST"_s, &UPDATEEQCOST},
        {u"PRINTFIXEDASSETS"_s, &PRINTFIXEDASSETS},
        {u"PRINTFIXEDASSETGRAPHS"_s, &PRINTFIXEDASSETGRAPHS},
        {u"FIXEDASSETGRAPH"_s, &FIXEDASSETGRAPH},
        {u"UPDATEEQBATCH"_s, &UPDATEEQBATCH},
        {u"BROWSEEQLOG"_s, &BROWSEEQLOG},
        {u"UPDATEEQLOGB"_s, &updateEqLogB},
        {u"PRINTEQLOGBPROOF"_s, &PRINTEQLOGBPROOF},
        {u"BrowseEQProofLimits"_s, &browseEqProofLimits},
        {u"IMPORTEQLOG"_s, &IMPORTEQLOG},
        {u"EXPORTEQLOG"_s, &EXPORTEQLOG},
        {u"PRINTEQANALYSIS"_s, &PRINTEQANALYSIS},
        {u"PRINTEQANALYSIS1"_s, &PRINTEQANALYSIS1},
        {u"BROWSEEQANALYSISLIMITS"_s, &BROWSEEQANALYSISLIMITS},
        {u"PRINTEQDETAIL"_s, &PRINTEQDETAIL},
        {u"BROWSEEQDETAILLIMITS"_s, &BROWSEEQDETAILLIMITS},
        {u"PRINTEQLISTING"_s, &PRINTEQLISTING},
        {u"PRINTEQLISTING1"_s, &PRINTEQLISTING1},
        {u"BROWSEEQLISTINGLIMITS"_s, &BROWSEEQLISTINGLIMITS},
        {u"PRINTEQCATEGORYLIST"_s, &PRINTEQCATEGORYLIST},
        {u"PRINTEQCATEGORYLIST1"_s, &PRINTEQCATEGORYLIST1},
        {u"BROWSEEQCATEGORYLISTLIMITS"_s, &BROWSEEQCATEGORYLISTLIMITS},
        {u"PRINTEQMAINTENANCE"_s, &PRINTEQMAINTENANCE},
        {u"LISTEQREPORTS"_s, &LISTEQREPORTS},
        {u"PRINTUSAGELOGFM"_s, &PRINTUSAGELOGFM},
        {u"PRINTEQCATEGORYFM"_s, &PRINTEQCATEGORYFM},
        {u"PRINTEQUIPMENTDETAILFM"_s, &PRINTEQUIPMENTDETAILFM},
        {u"PRINTEQUIPMENTLISTFM"_s, &PRINTEQUIPMENTLISTFM},
        {u"PRINTEQANALYSISFM"_s, &PRINTEQANALYSISFM},
        {u"PRINTEQCATEGORYLISTSERVER"_s, &PRINTEQCATEGORYLISTSERVER},
        {u"PRINTEQANALYSISSERVER"_s, &PRINTEQANALYSISSERVER},
        {u"PRINTEQLISTINGSERVER"_s, &PRINTEQLISTINGSERVER},
    };
    return map;
}

void runProcedure(const QString &name)
{
    if (const auto found = entries().find(name); found != entries().end())
        found->second();
}

} // namespace

const QaveqExport *qaveq_exports(int *count)
{
    // The C strings live as long as the module.
    static std::vector<QByteArray> texts;
    static std::vector<QaveqExport> table = [] {
        std::vector<QaveqExport> rows;
        const QList<ProcedureInfo> &procedures = procedureTable();
        texts.reserve(static_cast<std::size_t>(procedures.size()) * 3);
        for (const ProcedureInfo &info : procedures) {
            texts.push_back(info.name.toLatin1());
            const char *name = texts.back().constData();
            texts.push_back(info.what.toUtf8());
            const char *what = texts.back().constData();
            texts.push_back(symbolOf(info.name).toLatin1());
            const char *symbol = texts.back().constData();
            const auto entry = entries().find(info.name);
            rows.push_back(QaveqExport{name, what, symbol,
                                       entry == entries().end() ? nullptr : entry->second, 1});
        }
        return rows;
    }();
    *count = static_cast<int>(table.size());
    return table.data();
}
