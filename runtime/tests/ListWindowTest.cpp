#include "runtime/widgets/ListWindow.h"
#include "runtime/widgets/FileDialogFolder.h"
#include "runtime/widgets/HelpViewer.h"
#include "runtime/widgets/ListExport.h"
#include "runtime/widgets/PickList.h"

#include "suite/Lookups.h"
#include "suite/Services.h"
#include "suite/SiblingModules.h"

#include "data/ErrorManager.h"
#include "data/SuiteModule.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class ListWindowTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), data::Catalog::suite()};
    data::Session session{&company};
    ScriptedPrompter prompter;

    ListWindowTest()
    {
        session.userId = u"ADM"_s;
        data::Session::setCurrent(&session);
        for (int i = 0; i < 250; ++i) {
            GLMaster account;
            account.Account = QString::number(1000 + i);
            account.Description = u"Account "_s + account.Account;
            EXPECT_TRUE(company.file<GLMaster>().insert(account).isOk());
        }
        UserFile user;
        user.UserID = u"ADM"_s;
        EXPECT_TRUE(company.file<UserFile>().insert(user).isOk());
    }
    ~ListWindowTest() override { data::Session::setCurrent(nullptr); }

    static ListWindow::Definition accounts()
    {
        return {u"BROWSEGLMASTER"_s,
                u"General Ledger Accounts"_s,
                u"GLMaster"_s,
                {{u"by Account"_s, u"KeyAccount"_s, u"Account"_s}},
                {{u"Account"_s, u"GLM:Account"_s, u"@s12"_s, 110},
                 {u"Description"_s, u"GLM:Description"_s, u"@s30"_s, 260},
                 {u"Record"_s, u"GLM:RecordID"_s, u"@n_6"_s, 60}},
                {},
                {},
                {}};
    }
};

TEST_F(ListWindowTest, PagesThroughTheFileAsTheViewScrolls)
{
    KeyedListModel model(company.file<GLMaster>(), accounts().columns);
    model.reload();
    EXPECT_EQ(model.rowCount(), KeyedListModel::PageSize);
    EXPECT_TRUE(model.canFetchMore({}));
    {
        // (The tester fetches from inside a reset itself, so it watches the paging only.)
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.fetchMore({});
        model.fetchMore({});
    }
    EXPECT_EQ(model.rowCount(), 250);
    EXPECT_FALSE(model.canFetchMore({}));
    EXPECT_EQ(model.recordCount(), 250);
    EXPECT_EQ(model.data(model.index(249, 0)).toString(), u"1249");

    // Green bar on the first, third, fifth... row; numbers to the right.
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(),
              KeyedListModel::greenBar());
    EXPECT_FALSE(model.data(model.index(1, 1), Qt::BackgroundRole).isValid());
    EXPECT_TRUE(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);

    model.setRange({u"1100"_s}, {u"1149"_s});
    model.setFilters({data::Filter{u"GLM:Description"_s, data::Filter::Op::Contains, u"11"_s}});
    model.reload();
    EXPECT_EQ(model.recordCount(), 50);
    EXPECT_EQ(KeyedListModel::countText(1), u"1 Record");
    EXPECT_EQ(KeyedListModel::countText(50), u"50 Records");
}

TEST_F(ListWindowTest, ALookupOpensOnTheBufferAndReturnsTheChoice)
{
    session.globalRequest = data::Request::Select;
    session.buffer<GLMaster>().Account = u"1200"_s;
    ListWindow window(accounts(), session, prompter);
    EXPECT_EQ(session.globalResponse, data::Response::Cancelled)
        << "closing without a choice cancels";
    const int opened = window.view().currentIndex().row();
    EXPECT_EQ(window.model().data(window.model().index(opened, 0)).toString(), u"1200");
    EXPECT_EQ(window.countText(), u"250 Records");
    window.selectRow(opened + 2);
    window.choose();
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_EQ(session.buffer<GLMaster>().Account, u"1202");
    EXPECT_EQ(session.buffer<GLMaster>().Description, u"Account 1202");

    window.locate(u"1245"_s);
    EXPECT_EQ(window.view().currentIndex().row(), 245)
        << "the list keeps its beginning and moves down";
    EXPECT_EQ(window.model().rowCount(), 250);
    window.locate(u"1030"_s);
    EXPECT_EQ(window.view().currentIndex().row(), 30);
    window.step(u'1');
    EXPECT_EQ(window.view().currentIndex().row(), 31) << "the step locator moves to the next entry";
}

TEST_F(ListWindowTest, ALookupForACodeNotOnFileSaysWhyAndWaitsForTheUsersChoice)
{
    ListWindow::Definition definition = accounts();
    // A second order puts the sort box first on the screen.
    definition.keys.append({u"by Record"_s, u"KeyRecordID"_s, u"RecordID"_s});
    session.globalRequest = data::Request::Select;
    session.buffer<GLMaster>().Account = u"1200X"_s;
    session.lookupReason = u"Account 1200X is not on file."_s;
    ListWindow window(definition, session, prompter);
    EXPECT_TRUE(session.lookupReason.isEmpty()) << "the reason is said once";
    auto *reason = window.findChild<QLabel *>(u"lookupReason"_s);
    ASSERT_TRUE(reason);
    EXPECT_EQ(reason->text(), u"Account 1200X is not on file.");
    window.show();
    QApplication::setActiveWindow(&window);
    auto *locator = window.findChild<QLineEdit *>();
    ASSERT_TRUE(locator);
    EXPECT_EQ(QApplication::focusWidget(), locator) << "typing finds";
    EXPECT_TRUE(window.view().selectionModel()->selectedRows().isEmpty());

    // Enter before the user highlighted anything picks nothing.
    QTest::keyClick(locator, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(session.globalResponse, data::Response::Cancelled);

    // Down highlights the entry in view, where the code would stand.
    QTest::keyClick(locator, Qt::Key_Down);
    const QModelIndexList chosen = window.view().selectionModel()->selectedRows();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(window.model().data(chosen.first()).toString(), u"1201");

    QTest::keyClicks(locator, u"1210"_s);
    QTest::keyClick(locator, Qt::Key_Return);
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_EQ(session.buffer<GLMaster>().Account, u"1210");
}

TEST_F(ListWindowTest, ALookupOfAListWithoutAReasonShowsNone)
{
    session.globalRequest = data::Request::Select;
    session.buffer<GLMaster>().Account = u"1200"_s;
    ListWindow window(accounts(), session, prompter);
    EXPECT_FALSE(window.findChild<QLabel *>(u"lookupReason"_s));
    EXPECT_EQ(window.view().selectionModel()->selectedRows().size(), 1);
}

TEST_F(ListWindowTest, TheCountIsMadeOnlyOnceThePageIsOnScreen)
{
    ListWindow window(accounts(), session, prompter);
    const auto shownCount = [&window] {
        for (const QLabel *label : window.findChildren<QLabel *>())
            if (label->text().endsWith(u"Records"))
                return label->text();
        return QString();
    };
    EXPECT_GT(window.model().rowCount(), 0) << "the first page is read as the window opens";
    EXPECT_EQ(shownCount(), QString()) << "no count is made before the window shows";
    window.show();
    EXPECT_EQ(window.countText(), u"250 Records");
    EXPECT_EQ(shownCount(), u"250 Records");
}

// A count is kept while nothing in the database changes, and made again after
// a change by this station or by another one.
TEST_F(ListWindowTest, TheCountIsKeptUntilTheFileChangesHereOrAtAnotherStation)
{
    KeyedListModel model(company.file<GLMaster>(), accounts().columns);
    model.reload();
    EXPECT_EQ(model.countInBackground().result(), 250);
    const QFuture<qint64> again = model.countInBackground();
    EXPECT_TRUE(again.isFinished()) << "kept, not read again";
    EXPECT_EQ(again.result(), 250);

    data::Company station{database.settings(), data::Catalog::suite()};
    GLMaster account;
    account.Account = u"9000"_s;
    ASSERT_TRUE(station.file<GLMaster>().insert(account).isOk());
    EXPECT_EQ(model.countInBackground().result(), 251);

    GLMaster own;
    own.Account = u"9001"_s;
    ASSERT_TRUE(company.file<GLMaster>().insert(own).isOk());
    EXPECT_EQ(model.countInBackground().result(), 252);

    // Another list of the same file keeps a count of its own.
    KeyedListModel limited(company.file<GLMaster>(), accounts().columns);
    limited.setRange({u"9000"_s}, {u"9999"_s});
    EXPECT_EQ(limited.countInBackground().result(), 2);
    EXPECT_EQ(model.countInBackground().result(), 252);
}

TEST_F(ListWindowTest, TheFormIsCalledWithTheRequestAndTheRecordInTheBuffer)
{
    ListWindow::Definition definition = accounts();
    definition.form = u"UPDATEGLMASTER"_s;
    QList<std::pair<data::Request, QString>> calls;
    ListWindow window(definition, session, prompter, [&](const QString &procedure) {
        EXPECT_EQ(procedure, u"UPDATEGLMASTER");
        calls.append({session.globalRequest, session.buffer<GLMaster>().Account});
        EXPECT_NE(session.buffer<GLMaster>().rowId(), 0)
            << "the form gets the stored row, not a copy of its fields";
        if (session.globalRequest == data::Request::Delete) {
            GLMaster doomed = session.buffer<GLMaster>();
            ASSERT_TRUE(company.file<GLMaster>().fetch(u"KeyAccount", doomed).isOk());
            ASSERT_TRUE(company.file<GLMaster>().remove(doomed).isOk());
            session.globalResponse = data::Response::Completed;
        } else {
            session.globalResponse = data::Response::Cancelled;
        }
    });
    window.selectRow(1);
    window.callForm(data::Request::Change);
    window.callForm(data::Request::Delete);
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0], std::make_pair(data::Request::Change, u"1001"_s));
    EXPECT_EQ(calls[1], std::make_pair(data::Request::Delete, u"1001"_s));
    EXPECT_EQ(window.countText(), u"249 Records") << "a completed form refreshes the list";
    EXPECT_EQ(window.model().data(window.model().index(1, 0)).toString(), u"1002");
}

TEST_F(ListWindowTest, KeysWorkAsOnAnyDesktopList)
{
    ListWindow::Definition definition = accounts();
    definition.form = u"UPDATEGLMASTER"_s;
    definition.helpTopic = u"html/EC_Cost_Categories.htm"_s;
    QWidget *formFocus = nullptr; // where the form's last question leaves the focus
    ListWindow window(definition, session, prompter, [&](const QString &) {
        if (formFocus)
            formFocus->setFocus();
        GLMaster added;
        added.Account = u"1100A"_s;
        added.Description = u"Added"_s;
        ASSERT_TRUE(company.file<GLMaster>().insert(added).isOk());
        session.buffer<GLMaster>() = added;
        session.globalResponse = data::Response::Completed;
    });
    window.show();
    QApplication::setActiveWindow(&window);

    // The locator says which column it finds by.
    auto *locator = window.findChild<QLineEdit *>();
    ASSERT_TRUE(locator);
    formFocus = locator;
    EXPECT_EQ(window.findChildren<QLabel *>().first()->text(), u"&Locate Account:"_s);

    // Tab leaves the list for the buttons instead of walking its cells.
    window.view().setFocus();
    window.selectRow(3);
    QTest::keyClick(&window.view(), Qt::Key_Tab);
    EXPECT_TRUE(qobject_cast<QPushButton *>(QApplication::focusWidget()))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                        : "nothing");

    // Insert adds through the form; the new record is the highlighted row.
    window.view().setFocus();
    QTest::keyClick(&window.view(), Qt::Key_Insert);
    const int row = window.view().currentIndex().row();
    ASSERT_GE(row, 0);
    EXPECT_EQ(window.model().data(window.model().index(row, 0)).toString(), u"1100A");
    EXPECT_TRUE(window.view().hasFocus()) << "the list has the focus again";

    // F1 opens the screen's help topic.
    qputenv("QAVEQ_HELP", QByteArray(QAVEQ_SOURCE_HELP));
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *help = qobject_cast<HelpViewer *>(QApplication::activeModalWidget())) {
            shown = help->current().fileName();
            help->reject();
        }
    });
    closer.start(20);
    QTest::keyClick(&window.view(), Qt::Key_F1);
    closer.stop();
    EXPECT_EQ(shown, u"EC_Cost_Categories.htm");
}

TEST_F(ListWindowTest, ListsThatAreNotSelectingCannotSelect)
{
    session.globalRequest = data::Request::None;
    ListWindow window(accounts(), session, prompter);
    window.selectRow(0);
    window.choose();
    EXPECT_EQ(session.globalResponse, data::Response::Cancelled);
}

TEST_F(ListWindowTest, ColumnWidthsAreKeptPerUserAndProcedure)
{
    {
        ListWindow window(accounts(), session, prompter);
        window.view().setColumnWidth(0, 222);
        window.reject();
    }
    LBFmt saved;
    saved.UserID = u"ADM"_s;
    saved.ProcedureName = u"BROWSEGLMASTER"_s;
    ASSERT_TRUE(company.file<LBFmt>().fetch(u"KeyUserProcedure", saved).isOk());
    EXPECT_TRUE(saved.Format.startsWith(u"222,"_s));
    ListWindow again(accounts(), session, prompter);
    EXPECT_EQ(again.view().columnWidth(0), 222);

    // Reset to the designed widths, which are then kept.
    again.resetLayout();
    EXPECT_EQ(again.view().columnWidth(0), 110);
    again.reject();
    ASSERT_TRUE(company.file<LBFmt>().fetch(u"KeyUserProcedure", saved).isOk());
    EXPECT_TRUE(saved.Format.startsWith(u"110,"_s));
    ListWindow designed(accounts(), session, prompter);
    EXPECT_EQ(designed.view().columnWidth(0), 110);

    // A user who does not keep window layouts leaves no record.
    UserFile user;
    user.UserID = u"ADM"_s;
    ASSERT_TRUE(company.file<UserFile>().fetch(u"KeyUserID", user).isOk());
    user.PreserveWindows = 0;
    ASSERT_TRUE(company.file<UserFile>().update(user).isOk());
    ASSERT_TRUE(company.file<LBFmt>().remove(saved).isOk());
    designed.reject();
    EXPECT_EQ(company.file<LBFmt>().count(), 0);

    // ... nor gets a layout kept before the setting was turned off.
    saved.Format = u"240,260,60"_s;
    ASSERT_TRUE(company.file<LBFmt>().insert(saved).isOk());
    ListWindow unkept(accounts(), session, prompter);
    EXPECT_EQ(unkept.view().columnWidth(0), 110);
}

TEST_F(ListWindowTest, SendToWritesEveryRowOfTheListAsShown)
{
    GLMaster odd;
    odd.Account = u"1200"_s;
    ASSERT_TRUE(company.file<GLMaster>().fetch(u"KeyAccount", odd).isOk());
    odd.Description = u"Rent, \"yard\""_s;
    ASSERT_TRUE(company.file<GLMaster>().update(odd).isOk());

    KeyedListModel model(company.file<GLMaster>(), accounts().columns);
    model.setRange({u"1199"_s}, {u"1201"_s});
    model.reload();
    QTemporaryDir folder;
    const QString csv = folder.filePath(u"accounts.csv"_s);
    ASSERT_EQ(ListExport::write(model, csv, ListExport::Format::Csv), QString());
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromUtf8(file.readAll()),
        u"Account,Description,Record\n1199,Account 1199,200\n1200,\"Rent, \"\"yard\"\"\",201\n"
        "1201,Account 1201,202\n"_s);

    const QString tab = folder.filePath(u"accounts.txt"_s);
    ASSERT_EQ(ListExport::write(model, tab, ListExport::Format::Tab), QString());
    QFile text(tab);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(text.readAll()).startsWith(u"Account\tDescription\tRecord\n1199\t"_s));

    EXPECT_FALSE(
        ListExport::write(model, folder.filePath(u"missing/sub/x.csv"_s), ListExport::Format::Csv)
            .isEmpty());
}

TEST(HelpViewer, OpensTheTopicOrElseTheContents)
{
    qputenv("QAVEQ_HELP", QByteArray(QAVEQ_SOURCE_HELP));
    HelpViewer viewer;
    viewer.open(u"html/Lists_and_Forms.htm#lists"_s);
    EXPECT_TRUE(viewer.current().toLocalFile().endsWith(u"html/Lists_and_Forms.htm"_s));
    EXPECT_EQ(viewer.current().fragment(), u"lists");
    viewer.open(u"html/EC_Equipment.htm#ec_photograph_tab"_s);
    EXPECT_TRUE(viewer.current().toLocalFile().endsWith(u"html/EC_Equipment.htm"_s));
    viewer.open(u"html/EC_Not_There.htm"_s);
    EXPECT_TRUE(viewer.current().toLocalFile().endsWith(u"html/index.htm"_s));
}

TEST_F(ListWindowTest, SuiteHelpers)
{
    EXPECT_EQ(suite::GETCOLUMNNAME(1), u"A");
    EXPECT_EQ(suite::GETCOLUMNNAME(26), u"Z");
    EXPECT_EQ(suite::GETCOLUMNNAME(27), u"AA");
    EXPECT_EQ(suite::GETCOLUMNNAME(53), u"BA");
    EXPECT_EQ(suite::GETCOLUMNNAME(703), u"AAA");

    EXPECT_EQ(suite::GETCASE(u"000EQD:Description"_s), u"DEF");
    EXPECT_EQ(suite::GETCASE(u"CAPEQD:Description"_s), u"CAP");
    EXPECT_EQ(suite::GETCASE(u"000EQD:Description"_s), u"CAP");
    EXPECT_EQ(suite::GETCASE(u"000EQH:Make"_s), u"DEF");

    for (const auto &[id, name] : {std::pair{u"2401"_s, u"Riverside Bridge"_s},
                                   {u"2402"_s, u"Oak Street"_s},
                                   {u"3101"_s, u"Oakwood Plaza"_s}}) {
        JCHeader job;
        job.JobID = id;
        job.Name = name;
        ASSERT_TRUE(company.file<JCHeader>().insert(job).isOk());
    }
    ScriptedPrompter misc;
    data::ErrorManager miscErrors(u"misc"_s, &misc);
    suite::qavmisc().init(&miscErrors, nullptr);
    EXPECT_FALSE(suite::trainingInstalled(u"Cost Categories"_s)) << "so no screen offers it";
    suite::PLAYTRAINING(u"Cost Categories"_s);
    suite::qavmisc().kill();
    ASSERT_EQ(misc.shown().size(), 1);
    EXPECT_TRUE(misc.shown().first().text.startsWith(
        u"The training video \"Cost Categories\" is not installed."_s));

    EXPECT_EQ(suite::FILLJOBSEARCHQ(u"24"_s).size(), 2);
    const QList<JCHeader> byName = suite::FILLJOBSEARCHQ(u"OAK"_s);
    ASSERT_EQ(byName.size(), 2);
    EXPECT_EQ(byName[0].JobID, u"2402");
}

} // namespace

namespace {

TEST_F(ListWindowTest, AListWhoseViewCannotBeOpenedSaysSoAndStillOpens)
{
    QSqlQuery drop(company.database().connection());
    ASSERT_TRUE(drop.exec(u"DROP TABLE GLMaster"_s));
    ListWindow window(accounts(), session, prompter);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"View Open Error");
    EXPECT_TRUE(prompter.shown().first().text.endsWith(
        u"attempting to open the current VIEW. Filter and Range Limits ignored."_s));
    EXPECT_EQ(window.model().rowCount(), 0);
}

TEST_F(ListWindowTest, SendToWritesTheKindOfFileItsNameAsks)
{
    QTemporaryDir folder;
    ScriptedFileChooser chooser;
    ListWindow window(accounts(), session, prompter);
    window.setFileChooser(&chooser);
    window.sendTo();
    EXPECT_EQ(chooser.asked(), QStringList{u"Send To"_s});
    EXPECT_TRUE(prompter.shown().isEmpty()) << "a cancelled choice writes nothing";

    const QString path = folder.filePath(u"accounts.txt"_s);
    chooser.answerNext(path);
    prompter.answerNext(2);
    window.sendTo();
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readLine().contains('\t')) << "tab-separated for a .txt name";
}

TEST(FileDialogFolderTest, DialogsStartWhereTheUserLastChoseAFile)
{
    auto folder = std::make_unique<QTemporaryDir>();
    FileDialogFolder::remember(folder->filePath(u"Schedule.pdf"_s));
    EXPECT_EQ(FileDialogFolder::start(u"/home/adm/Documents/Equipment.csv"_s),
              folder->filePath(u"Equipment.csv"_s));
    EXPECT_EQ(FileDialogFolder::start(QString()), folder->path());
    const QString gone = folder->path();
    folder.reset();
    EXPECT_EQ(FileDialogFolder::start(u"/home/adm/Documents/Equipment.csv"_s),
              u"/home/adm/Documents/Equipment.csv"_s)
        << gone.toStdString() << " is gone: the offered place holds";
    EXPECT_FALSE(ListExport::defaultFolder(u"Korvalis/Equipment List"_s).contains(u"/."_s))
        << "never a hidden folder";
}

} // namespace

TEST(PickListTest, OpensUnderTheFieldAndGivesTheLinePickedOrNothing)
{
    QWidget window;
    auto *field = new QLineEdit(&window);
    window.move(100, 100);
    window.show();
    const QStringList jobs{u"2401 - Main Street Bridge"_s, u"2402 - Mainline Sewer"_s};
    QPoint openedAt;
    // The keys are copied into the queued call: an initializer_list's array
    // ends with the statement that made it, before the call runs.
    const auto press = [&](std::initializer_list<Qt::Key> list) {
        QTimer::singleShot(0, [&openedAt, keys = QList<Qt::Key>(list)] {
            QWidget *popup = QApplication::activePopupWidget();
            ASSERT_TRUE(popup);
            openedAt = popup->pos();
            for (const Qt::Key key : keys)
                QTest::keyClick(popup, key);
        });
    };
    press({Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(pickNextTo(field, u"Select a Job"_s, jobs), 1);
    EXPECT_EQ(openedAt.x(), field->mapToGlobal(QPoint(0, 0)).x()) << "just under the field";
    press({Qt::Key_Escape});
    EXPECT_EQ(pickNextTo(field, u"Select a Job"_s, jobs), std::nullopt);
    EXPECT_EQ(pickNextTo(field, u"Select a Job"_s, {}), std::nullopt) << "nothing to pick from";
}
