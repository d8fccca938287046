#include "HostSession.h"
#include "LoggingLevel.h"
#include "window/AttentionPage.h"
#include "window/MainWindow.h"

#include "assets/ScheduleRows.h"
#include "frame/ProcedureTable.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "records/GLDepr.h"
#include "records/ModuleFiles.h"

#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"

#include "runtime/ScriptedPrompter.h"
#include "runtime/widgets/PreviewWindow.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <csignal>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class HostWindowTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(8, 0))};
    host::HostSession session{folder.filePath(u"company"_s), prompter, clock};

    int netUsers() { return static_cast<int>(session.company().file<NetUser>().count()); }
};

TEST_F(HostWindowTest, FirstStartSignOnMenusAndExit)
{
    QString error;
    ASSERT_TRUE(session.openCompany(&error)) << error.toStdString();
    EXPECT_TRUE(session.createdDemonstration());

    EXPECT_FALSE(session.signOn(u"ZZZ"_s, &error));
    EXPECT_EQ(
        error,
        u"User \"ZZZ\" is not set up in company DEMO.|Sign on with one of the company's user IDs.");
    EXPECT_EQ(netUsers(), 0);
    ASSERT_TRUE(session.signOn(u"eqm"_s, &error)) << error.toStdString();
    EXPECT_EQ(session.session().userId, u"EQM");
    EXPECT_EQ(netUsers(), 1);

    ASSERT_TRUE(session.loadModule(&error, QString::fromUtf8(QAVEQ_MODULE_FILE)))
        << error.toStdString();
    QStringList exported;
    for (const auto &procedure : session.module().exports()) {
        exported.append(procedure.name);
        EXPECT_EQ(procedure.entry == nullptr, procedure.name.startsWith(u"QAVEQ:"_s))
            << procedure.name.toStdString();
    }
    QStringList table;
    for (const ProcedureInfo &info : procedureTable())
        table.append(info.name);
    EXPECT_EQ(exported, table);

    {
        host::MainWindow window(session);
        window.show();
        EXPECT_TRUE(window.windowTitle().contains(u"DEMO"_s));
        EXPECT_TRUE(window.windowTitle().contains(u"EQM"_s));
        int entries = 0;
        for (QAction *menu : window.menuBar()->actions()) {
            for (QAction *action : menu->menu()->actions()) {
                const QString procedure = host::MainWindow::procedureOf(action);
                if (procedure.isEmpty())
                    continue;
                ++entries;
                EXPECT_FALSE(action->text().contains(u"still to come"_s))
                    << action->text().toStdString();
                // Every screen opens; close it again.
                const qsizetype before = prompter.shown().size();
                QTimer closer;
                QObject::connect(&closer, &QTimer::timeout, [] {
                    if (auto *screen = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                        screen->done(QDialog::Rejected);
                });
                closer.start(20);
                action->trigger();
                closer.stop();
                EXPECT_EQ(prompter.shown().size(), before) << procedure.toStdString();
            }
        }
        EXPECT_GE(entries, 25);

        // Every menu's letters are its own: no two entries share an accelerator.
        for (QAction *menu : window.menuBar()->actions()) {
            QStringList letters;
            for (QAction *action : menu->menu()->actions()) {
                const qsizetype amp = action->text().indexOf(u'&');
                if (action->isSeparator())
                    continue;
                ASSERT_GE(amp, 0) << action->text().toStdString();
                const QString letter = action->text().mid(amp + 1, 1).toUpper();
                EXPECT_FALSE(letters.contains(letter)) << action->text().toStdString();
                letters.append(letter);
            }
        }
        QStringList titles;
        for (QAction *menu : window.menuBar()->actions())
            titles.append(menu->text().mid(menu->text().indexOf(u'&') + 1, 1).toUpper());
        EXPECT_EQ(titles.size(), QSet<QString>(titles.begin(), titles.end()).size());
    }

    // The server procedures run the report that the code of the definition
    // handed over in the report filter names, into the preview; a report
    // type without a report runs nothing.
    const auto shownAfter = [this](const QString &procedure, EQLimits definition) {
        EXPECT_TRUE(session.company().file<EQLimits>().insert(definition).isOk());
        session.session().reportFilter = QString::number(definition.LimitID);
        const qsizetype before = prompter.shown().size();
        session.call(procedure);
        return prompter.shown().size() == before ? QString() : prompter.shown().last().text;
    };
    QStringList previews;
    QTimer previewCloser;
    QObject::connect(&previewCloser, &QTimer::timeout, [&previews] {
        if (auto *preview = qobject_cast<PreviewWindow *>(QApplication::activeModalWidget())) {
            previews.append(preview->windowTitle());
            preview->done(QDialog::Rejected);
        }
    });
    previewCloser.start(20);
    EQLimits definition;
    definition.ReportType = u"Q"_s;
    EXPECT_EQ(shownAfter(u"PRINTEQANALYSISSERVER"_s, definition), QString());
    EXPECT_EQ(previews, QStringList());
    EQLimits codes;
    codes.Report = u"Category List"_s;
    codes.DetailSummary = u"D"_s;
    codes.ReportFormat = u"C"_s;
    EXPECT_EQ(shownAfter(u"PRINTEQCATEGORYLISTSERVER"_s, codes), QString());
    previewCloser.stop();
    EXPECT_EQ(previews, QStringList{u"Equipment Cost Code Listing - Print Preview"_s});

    session.close();
    EXPECT_FALSE(session.moduleLoaded());
    EXPECT_EQ(netUsers(), 0);
}

TEST_F(HostWindowTest, TheDemonstrationHasSchedulesPostedUpToTwoMonthsAgo)
{
    QString error;
    ASSERT_TRUE(session.openCompany(&error)) << error.toStdString();
    data::Company &company = session.company();
    const DayNumber postedThrough = SuiteDate::fromYmd(2026, 9, 30);
    data::KeyCursor fleet = company.file<EQHeader>().scan(u"KeyEquipmentID");
    EQHeader equipment;
    int active = 0;
    while (fleet.next(equipment)) {
        if (equipment.Active == 0)
            continue;
        ++active;
        for (const GLDepr &row : scheduleRows(company, equipment.EquipmentID))
            EXPECT_EQ(row.GLTransID != 0, row.Date <= postedThrough)
                << equipment.EquipmentID.toStdString() << " "
                << SuiteDate::toQDate(row.Date).toString(u"yyyy-MM"_s).toStdString();
    }
    EXPECT_GT(active, 20);
    Decimal debits, credits;
    data::KeyCursor ledger = company.file<GLTrans>().scan(u"KeyRecordID");
    GLTrans line;
    while (ledger.next(line))
        (line.CreditDebit == u"C" ? credits : debits) += line.Amount;
    EXPECT_EQ(debits, credits);
}

TEST_F(HostWindowTest, OnlyTheAdministratorChangesTheLoggingLevel)
{
    QString error;
    ASSERT_TRUE(session.openCompany(&error)) << error.toStdString();
    ASSERT_TRUE(session.signOn(u"EQM"_s, &error)) << error.toStdString();
    prompter.answerNext(3); // Level 2
    EXPECT_EQ(host::LoggingLevel::choose(session.session(), prompter), std::nullopt);
    EXPECT_TRUE(prompter.shown().last().text.startsWith(u"Only the administrator (ADM)"_s));
    EXPECT_EQ(host::LoggingLevel::stored(session.company()), 0);
    session.close();

    host::HostSession administrator{folder.filePath(u"company"_s), prompter, clock};
    ASSERT_TRUE(administrator.openCompany(&error));
    ASSERT_TRUE(administrator.signOn(u"ADM"_s, &error)) << error.toStdString();
    prompter.answerNext(3);
    EXPECT_EQ(host::LoggingLevel::choose(administrator.session(), prompter), 2);
    EXPECT_EQ(host::LoggingLevel::stored(administrator.company()), 2);
    EXPECT_EQ(administrator.session().logUserActivity, 2) << "in force at once";
}

// The windows program as its user starts it, offscreen, with a home of its own.
void startWindows(QProcess &program, const QString &home, const QString &company,
                  const QString &user)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"QAVEQ_MODULE"_s, QString::fromUtf8(QAVEQ_MODULE_FILE));
    environment.insert(u"HOME"_s, home);
    program.setProcessEnvironment(environment);
    program.start(QString::fromUtf8(QAVEQ_PROGRAM), {u"--company"_s, company, u"--user"_s, user});
}

// The windows program as its user starts it, ended by the system: it ends
// well (status 0), signed off, whatever the libraries' order of unloading.
TEST(WindowsProgram, EndsCleanlyOnSigtermAndSignsOff)
{
    QTemporaryDir folder;
    const QString company = folder.filePath(u"company"_s);
    QProcess program;
    startWindows(program, folder.path(), company, u"EQM"_s);
    ASSERT_TRUE(program.waitForStarted());

    const auto signedOn = [&company] {
        if (!data::Company::exists(company))
            return qint64(-1);
        data::Company station(company, companyCatalog());
        NetUser record;
        record.UserID = u"EQM"_s;
        record.CompanyID = station.id();
        return station.file<NetUser>().fetch(u"KeyUserCompany", record) ? record.ProcessID
                                                                        : qint64(-1);
    };
    // The first start creates the demonstration company, then signs on.
    QElapsedTimer waited;
    waited.start();
    while (signedOn() != program.processId() && waited.elapsed() < 120000 &&
           program.state() == QProcess::Running)
        QThread::msleep(200);
    ASSERT_EQ(signedOn(), program.processId()) << program.readAllStandardError().toStdString();

    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "not ended by a signal (SIGSEGV)";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(signedOn(), -1) << "its network-user record is gone";
}

// Ended while its first message is open (an unknown user), before its main
// loop runs: it ends at once, not spinning on the signal it did not hear.
TEST(WindowsProgram, EndsOnSigtermWhileTheSignOnMessageIsOpen)
{
    QTemporaryDir folder;
    const QString company = folder.filePath(u"company"_s);
    {
        QProcess init;
        init.start(QString::fromUtf8(QAVEQ_PROGRAM), {u"--company"_s, company, u"init"_s});
        ASSERT_TRUE(init.waitForFinished(60000));
        ASSERT_EQ(init.exitCode(), 0) << init.readAllStandardError().toStdString();
    }
    QProcess program;
    startWindows(program, folder.path(), company, u"ZZZ"_s);
    ASSERT_TRUE(program.waitForStarted());
    QThread::msleep(3000);
    ASSERT_EQ(program.state(), QProcess::Running) << "waiting on its message";
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000)) << "one SIGTERM ends it";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}

TEST_F(HostWindowTest, TheFirstScreenListsWhatNeedsAttentionGroupedAndCounted)
{
    QString error;
    ASSERT_TRUE(session.openCompany(&error)) << error.toStdString();
    ASSERT_TRUE(session.signOn(u"VEW"_s, &error)) << error.toStdString();
    {
        host::MainWindow window(session);
        auto *page = qobject_cast<host::AttentionPage *>(window.centralWidget());
        ASSERT_TRUE(page);
        auto *notice = page->findChild<QLabel *>(u"readOnlyNotice"_s);
        ASSERT_TRUE(notice) << "a read-only user is told so";
        EXPECT_TRUE(notice->text().contains(u"read-only"_s));

        // Each group's heading counts its lines; every line is a thing to deal with.
        QTreeWidget *tree = page->tree();
        ASSERT_GT(tree->topLevelItemCount(), 0);
        QStringList headings;
        for (int g = 0; g < tree->topLevelItemCount(); ++g) {
            const QTreeWidgetItem *group = tree->topLevelItem(g);
            headings.append(group->text(0));
            EXPECT_TRUE(group->text(0).endsWith(u" (%1)"_s.arg(group->childCount())))
                << group->text(0).toStdString();
            for (int l = 0; l < group->childCount(); ++l)
                EXPECT_TRUE(host::AttentionPage::itemOf(group->child(l)));
        }
        EXPECT_TRUE(headings.join(u'|').contains(u"Depreciation not posted ("_s))
            << headings.join(u'|').toStdString();
        EXPECT_FALSE(host::AttentionPage::itemOf(tree->topLevelItem(0)))
            << "a heading stands for no thing";
    }
    host::HostSession manager{folder.filePath(u"company"_s), prompter, clock};
    ASSERT_TRUE(manager.openCompany(&error));
    ASSERT_TRUE(manager.signOn(u"EQM"_s, &error));
    host::MainWindow window(manager);
    auto *page = qobject_cast<host::AttentionPage *>(window.centralWidget());
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->findChild<QLabel *>(u"readOnlyNotice"_s));
}

TEST(ModuleLoader, RefusesAFileThatIsNotTheModule)
{
    QTemporaryDir folder;
    host::ModuleLoader missing(folder.filePath(u"libqaveq.so"_s));
    QString error;
    EXPECT_FALSE(missing.load(&error));
    EXPECT_TRUE(error.startsWith(u"The equipment module cannot be loaded: "_s))
        << error.toStdString();
    EXPECT_FALSE(missing.call(u"BROWSEEQLOG"_s));

    // A real library without the module's entry operations.
    host::ModuleLoader other(QString::fromUtf8(QAVEQ_OTHER_LIBRARY));
    EXPECT_FALSE(other.load(&error));
    EXPECT_TRUE(error.endsWith(u"is not the equipment module: its entry operations are missing."_s))
        << error.toStdString();
}

} // namespace
