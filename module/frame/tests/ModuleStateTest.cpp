#include "frame/ModuleState.h"
#include "frame/NetworkTrace.h"

#include "data/FileManagers.h"
#include "data/SuiteModule.h"

#include "runtime/AutoEntry.h"
#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class ModuleStateTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QStringList journal;
    QStringList trace;
    data::FileManagers files;
    data::SuiteModule qavdata{u"QAVDATA"_s, &journal};
    data::SuiteModule qavmisc{u"QAVMISC"_s, &journal};
    data::SuiteModule qavgl{u"QAVGL"_s, &journal};
    data::SuiteModule qavjc{u"QAVJC"_s, &journal};
    data::SuiteModule qavpr{u"QAVPR"_s, &journal};
    ScriptedPrompter prompter;

    ModuleState::Environment environment(QStringList arguments = {})
    {
        ModuleState::Environment env;
        env.arguments = std::move(arguments);
        env.currentDirectory = folder.path();
        env.trace = [this](const QString &line) { trace.append(line); };
        env.files = &files;
        env.modules = {&qavdata, &qavmisc, &qavgl, &qavjc, &qavpr};
        env.ownPrompter = &prompter;
        return env;
    }
};

TEST_F(ModuleStateTest, LoadMakesTheModulesOwnManagersActive)
{
    ModuleState state(environment());
    EXPECT_EQ(state.errorManager().name(), u"QAVEQ");
    EXPECT_EQ(state.errorManager().prompter(), &prompter);
    EXPECT_EQ(state.iniManager().path(), folder.path() + u"/qaveq.INI"_s);
    EXPECT_EQ(state.autoEntry().dataFile, folder.path() + u"/EasyAutoEntry.tps"_s);
    EXPECT_TRUE(state.fuzzyMatcher().ignoreCase);
    EXPECT_FALSE(state.fuzzyMatcher().wholeWordsOnly);
    EXPECT_EQ(state.spellSettings().language, u"en_US");
    EXPECT_TRUE(state.spellSettings().settingsFile.endsWith(u"/sol.ini"_s));
    EXPECT_TRUE(journal.isEmpty()) << "nothing is initialised before INIT";
}

TEST_F(ModuleStateTest, TheAutoEntrySwitchFollowsTheSuiteIntoTheDataFolder)
{
    ModuleState state(environment());
    state.toggleAutoEntry(false, u"/srv/companies/acme"_s);
    EXPECT_FALSE(state.autoEntry().enabled);
    EXPECT_EQ(state.autoEntry().dataFile, u"/srv/companies/acme/EasyAutoEntry.tps");
    state.toggleAutoEntry(true, u"/srv/companies/acme/"_s);
    EXPECT_TRUE(state.autoEntry().enabled);
    EXPECT_EQ(state.autoEntry().dataFile, u"/srv/companies/acme/EasyAutoEntry.tps")
        << "one separator, however the folder is written";
    EXPECT_EQ(AutoEntry::current(), nullptr) << "a file that cannot be opened remembers nothing";

    // Switched on over a company's folder, the forms remember typed values in
    // its file, and every store of the file offers them, newest first.
    state.toggleAutoEntry(true, folder.path());
    ASSERT_TRUE(AutoEntry::current());
    AutoEntry::current()->remember(u"EQHeader/EQH:Make"_s, u"Granite Works"_s);
    AutoEntry::current()->remember(u"EQHeader/EQH:Make"_s, u"Titan Heavy  "_s);
    AutoEntry::current()->remember(u"EQHeader/EQH:Make"_s, u"Granite Works"_s);
    AutoEntry::current()->remember(u"EQHeader/EQH:Make"_s, u"   "_s);
    AutoEntry::current()->remember(u"EQHeader/EQH:Model"_s, u"GW950"_s);
    const AutoEntry station(folder.filePath(u"EasyAutoEntry.tps"_s));
    EXPECT_EQ(station.offers(u"EQHeader/EQH:Make"_s),
              (QStringList{u"Granite Works"_s, u"Titan Heavy"_s}));
    for (int i = 0; i < AutoEntry::Kept + 5; ++i)
        AutoEntry::current()->remember(u"EQHeader/EQH:Location"_s, QString::number(i));
    const QStringList kept = station.offers(u"EQHeader/EQH:Location"_s);
    EXPECT_EQ(kept.size(), AutoEntry::Kept);
    EXPECT_EQ(kept.first(), QString::number(AutoEntry::Kept + 4));
    state.toggleAutoEntry(false, folder.path());
    EXPECT_EQ(AutoEntry::current(), nullptr);

    // KILL lets go of the store while its database still exists; unloading
    // (or the program's exit) then has nothing of it left to destroy.
    state.toggleAutoEntry(true, folder.path());
    ASSERT_TRUE(AutoEntry::current());
    state.kill();
    EXPECT_EQ(AutoEntry::current(), nullptr);
}

TEST_F(ModuleStateTest, InitWithoutManagersKeepsTheOwnAndStillInitialisesTheSuite)
{
    ModuleState state(environment());
    state.init(nullptr, nullptr);
    EXPECT_EQ(state.errorManager().name(), u"QAVEQ");
    EXPECT_EQ(journal, (QStringList{u"QAVDATA:INIT"_s, u"QAVMISC:INIT"_s, u"QAVGL:INIT"_s,
                                    u"QAVJC:INIT"_s, u"QAVPR:INIT"_s}));
    EXPECT_EQ(qavgl.errorManager(), nullptr) << "the modules get the arguments as received";
    EXPECT_EQ(files.errorManager(u"EQHeader"_s), &state.errorManager());
}

TEST_F(ModuleStateTest, InitHandsTheHostsManagersOnOnceAndKillOnce)
{
    ModuleState state(environment());
    data::ErrorManager host(u"host"_s);
    data::IniManager hostIni(folder.filePath(u"host.ini"_s));
    state.init(&host, &hostIni);
    EXPECT_EQ(&state.errorManager(), &host);
    EXPECT_EQ(&state.iniManager(), &hostIni);
    EXPECT_EQ(qavpr.errorManager(), &host);
    EXPECT_EQ(qavpr.iniManager(), &hostIni);

    data::ErrorManager other(u"other"_s);
    state.init(&other, nullptr);
    EXPECT_EQ(&state.errorManager(), &host);
    EXPECT_EQ(journal.size(), 5);

    state.kill();
    state.kill();
    EXPECT_EQ(journal.mid(5), (QStringList{u"QAVDATA:KILL"_s, u"QAVMISC:KILL"_s, u"QAVGL:KILL"_s,
                                           u"QAVJC:KILL"_s, u"QAVPR:KILL"_s}));
}

TEST_F(ModuleStateTest, EveryFileIsHandedOverInOrder)
{
    ModuleState state(environment());
    data::ErrorManager host(u"host"_s);
    state.init(&host, nullptr);
    ASSERT_EQ(ModuleState::files().size(), 121);
    EXPECT_EQ(files.files(), ModuleState::files());
    EXPECT_EQ(files.files().first(), u"GLMaster");
    EXPECT_EQ(files.files().last(), u"EQLogAlias");
    for (const QString &file : files.files())
        EXPECT_EQ(files.errorManager(file), &host) << file.toStdString();
    EXPECT_EQ(files.errorManager(u"PRTimeOff"_s), &host)
        << "files not declared here are kept by name";
}

TEST_F(ModuleStateTest, TraceLinesFollowTheNetworkSwitches)
{
    {
        ModuleState state(environment({u"qaveq"_s, u"/netall"_s}));
        EXPECT_EQ(trace.size(), 4);
        EXPECT_EQ(trace.first(), u"[Nettalk Template] NetTalk Template version 12.63");
        EXPECT_EQ(trace.last(), u"[Nettalk Template] ABC Template Chain");
    }
    EXPECT_EQ(trace.size(), 7);
    EXPECT_EQ(trace.last(), u"[Nettalk Template] Closing Down NetTalk (Object) version 12.63");

    using NetworkTrace::Phase;
    EXPECT_TRUE(NetworkTrace::lines({u"/netnolog"_s, u"/netall"_s}, Phase::Load).isEmpty());
    EXPECT_TRUE(NetworkTrace::lines({u"--netall"_s, u"--netnolog"_s}, Phase::Unload).isEmpty());
    EXPECT_TRUE(NetworkTrace::lines({u"/netfoo"_s}, Phase::Load).isEmpty());
    for (const QString &on :
         {u"/nettalklog"_s, u"/NETTALKLOGERRORS"_s, u"/neterrors"_s, u"--netall"_s})
        EXPECT_EQ(NetworkTrace::lines({on}, Phase::Load).size(), 4) << on.toStdString();
}

} // namespace
