#include "equipment/ui/EquipmentScreens.h"
#include "equipment/ui/EquipmentLookups.h"

#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"
#include "records/Notes.h"

#include "runtime/ScriptedPrompter.h"
#include "runtime/widgets/HeaderSorter.h"
#include "runtime/widgets/KeyedListModel.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/suite/SystemFiles.h"

#include "core/testing/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class EquipmentScreensTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    data::Company company{folder.filePath(u"company"_s), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    QStringList formCalls;

    EquipmentScreensTest()
    {
        session.userId = u"ADM"_s;
        session.iniFolder = folder.filePath(u"ini"_s);
        data::Session::setCurrent(&session);
        UserFile user;
        user.UserID = u"ADM"_s;
        EXPECT_TRUE(company.file<UserFile>().insert(user).isOk());
        for (const auto &[id, active] :
             {std::pair{u"EXC-301"_s, 1}, std::pair{u"OLD-9"_s, 0}, std::pair{u"TRK-101"_s, 1}}) {
            EQHeader piece;
            piece.EquipmentID = id;
            piece.Description = id;
            piece.Active = static_cast<quint8>(active);
            piece.Attachments = id == u"EXC-301" ? 1 : 0;
            EXPECT_TRUE(company.file<EQHeader>().insert(piece).isOk());
            Notes note;
            note.EntityID = id;
            note.EntityType = u"EQHeader"_s;
            EXPECT_TRUE(company.file<Notes>().insert(note).isOk());
        }
    }
    ~EquipmentScreensTest() override { data::Session::setCurrent(nullptr); }

    // The equipment form in delete mode, answered with `answer`.
    ListWindow::ProcedureCaller form(data::Response answer)
    {
        return [this, answer](const QString &procedure) {
            formCalls.append(procedure);
            if (session.globalRequest == data::Request::Delete &&
                answer == data::Response::Completed) {
                EQHeader doomed = session.buffer<EQHeader>();
                ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", doomed).isOk());
                ASSERT_TRUE(company.file<EQHeader>().remove(doomed).isOk());
            }
            session.globalResponse = answer;
        };
    }

    static QStringList ids(ListWindow &window)
    {
        QStringList listed;
        for (int row = 0; row < window.model().rowCount(); ++row)
            listed.append(window.model().data(window.model().index(row, 1)).toString().trimmed());
        return listed;
    }
};

TEST_F(EquipmentScreensTest, TheCheckBoxesFilterAtOnceAndThePaperClipMarksAttachments)
{
    EquipmentScreens::ListState state{EquipmentFilter{true, false},
                                      std::make_unique<EquipmentAccess>(session, prompter)};
    ListWindow window(EquipmentScreens::list(session, prompter, state), session, prompter);
    state.window = &window;
    EXPECT_EQ(ids(window), (QStringList{u"EXC-301"_s, u"TRK-101"_s}));
    EXPECT_EQ(window.countText(), u"2 Records");
    window.selectRow(1);
    QTest::keyClicks(window.findChild<QLineEdit *>(), u"exc"_s);
    EXPECT_EQ(window.view().currentIndex().row(), 0) << "the locator finds EXC-301 in any case";
    EXPECT_FALSE(window.model()
                     .data(window.model().index(0, 0), Qt::DecorationRole)
                     .value<QIcon>()
                     .isNull());
    EXPECT_TRUE(window.model()
                    .data(window.model().index(1, 0), Qt::DecorationRole)
                    .value<QIcon>()
                    .isNull());

    const QList<QCheckBox *> boxes = window.findChildren<QCheckBox *>();
    ASSERT_EQ(boxes.size(), 2);
    boxes[1]->setChecked(true);
    EXPECT_EQ(ids(window).size(), 3);
    boxes[0]->setChecked(false);
    EXPECT_EQ(ids(window), QStringList{u"OLD-9"_s});
    EXPECT_EQ(window.countText(), u"1 Record");
    boxes[1]->setChecked(false);
    EXPECT_TRUE(ids(window).isEmpty());
    EXPECT_EQ(state.filter.stored(), u"00");
}

TEST_F(EquipmentScreensTest, TheHeadingsSortTheWholeListAndTheOrderIsKeptPerUser)
{
    // More pieces than one page, descriptions tied and differing in case.
    for (int i = 0; i < 150; ++i) {
        EQHeader piece;
        piece.EquipmentID = u"P-%1"_s.arg(i, 3, 10, QChar(u'0'));
        piece.Description = (i % 2 ? u"loader "_s : u"Loader "_s) + QString::number(i % 7);
        piece.ClassCode = u"C"_s + QString::number(i % 3);
        piece.Active = 1;
        ASSERT_TRUE(company.file<EQHeader>().insert(piece).isOk());
    }
    const auto open = [this](EquipmentScreens::ListState &state) {
        return std::make_unique<ListWindow>(EquipmentScreens::list(session, prompter, state),
                                            session, prompter);
    };
    const auto click = [](ListWindow &window, int column, Qt::KeyboardModifiers keys = {}) {
        QHeaderView *header = window.view().horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, keys,
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    const auto headings = [](ListWindow &window) {
        QStringList texts;
        for (int c = 0; c < window.model().columnCount(); ++c)
            texts.append(window.model().headerData(c, Qt::Horizontal).toString());
        return texts.mid(1, 4);
    };
    const auto all = [](ListWindow &window) {
        while (window.model().canFetchMore({}))
            window.model().fetchMore({});
        QList<std::pair<QString, QString>> rows;
        for (int row = 0; row < window.model().rowCount(); ++row)
            rows.append({window.model().text(window.model().record(row), 2).trimmed(),
                         window.model().text(window.model().record(row), 1).trimmed()});
        return rows;
    };

    EquipmentScreens::ListState state{EquipmentFilter{true, false},
                                      std::make_unique<EquipmentAccess>(session, prompter)};
    std::unique_ptr<ListWindow> window = open(state);
    state.window = window.get();
    click(*window, 0);
    EXPECT_TRUE(window->sorter().sorter().sortList().isEmpty()) << "the paper clip orders nothing";

    window->find(u"TRK-101"_s); // stays highlighted through the sorts
    click(*window, 2);
    click(*window, 2);
    EXPECT_EQ(headings(*window), (QStringList{u"Equipment ID"_s, u"Description[-]"_s,
                                              u"Physical Description"_s, u"Class Code"_s}));
    QList<std::pair<QString, QString>> rows = all(*window);
    ASSERT_EQ(rows.size(), 152);
    EXPECT_TRUE(std::is_sorted(rows.cbegin(), rows.cend(), [](const auto &a, const auto &b) {
        const int order = a.first.compare(b.first, Qt::CaseInsensitive);
        return order != 0 ? order > 0 : a.second < b.second;
    })) << "descending without case, ties in key order, across every page";
    EXPECT_EQ(window->model().record(window->view().currentIndex().row()).value(u"EquipmentID"),
              data::FieldValue(u"TRK-101"_s));

    QTest::keyClicks(window->findChild<QLineEdit *>(), u"LOADER 3"_s);
    EXPECT_EQ(window->model()
                  .text(window->model().record(window->view().currentIndex().row()), 2)
                  .trimmed()
                  .toUpper(),
              u"LOADER 3")
        << "the locator finds in the sorted heading";

    click(*window, 4, Qt::ControlModifier);
    EXPECT_EQ(headings(*window), (QStringList{u"Equipment ID"_s, u"Description[-1]"_s,
                                              u"Physical Description"_s, u"Class Code[+2]"_s}));
    window->reject();

    // The same user opens the list again in the same order; the order is
    // reset with Shift, back to the key.
    EquipmentScreens::ListState again{EquipmentFilter{true, false},
                                      std::make_unique<EquipmentAccess>(session, prompter)};
    window = open(again);
    EXPECT_EQ(headings(*window)[1], u"Description[-1]");
    EXPECT_EQ(all(*window).first().first.toUpper(), u"TRK-101");
    click(*window, 3, Qt::ShiftModifier);
    EXPECT_EQ(headings(*window), (QStringList{u"Equipment ID"_s, u"Description"_s,
                                              u"Physical Description"_s, u"Class Code"_s}));
    EXPECT_EQ(all(*window).first().second, u"EXC-301");

    session.userId = u"EQM"_s;
    window = open(again);
    EXPECT_EQ(headings(*window)[1], u"Description") << "another user's lists keep their own order";
    session.userId = u"ADM"_s;
}

TEST_F(EquipmentScreensTest, DeleteGoesThroughTheFormAndTakesTheNotesOnlyWithTheRecord)
{
    EquipmentScreens::ListState state{EquipmentFilter{},
                                      std::make_unique<EquipmentAccess>(session, prompter)};
    {
        ListWindow window(EquipmentScreens::list(session, prompter, state), session, prompter,
                          form(data::Response::Cancelled));
        state.window = &window;
        window.selectRow(2);
        prompter.answerNext(1); // Confirm Delete: Yes
        window.callForm(data::Request::Delete);
        EXPECT_EQ(formCalls, QStringList{u"UPDATEEQHEADER"_s});
        EXPECT_EQ(company.file<Notes>().count(), 3) << "a cancelled form keeps the notes";
    }
    ListWindow window(EquipmentScreens::list(session, prompter, state), session, prompter,
                      form(data::Response::Completed));
    state.window = &window;
    window.selectRow(2);
    prompter.answerNext(1);
    window.callForm(data::Request::Delete);
    EXPECT_EQ(ids(window), (QStringList{u"EXC-301"_s, u"OLD-9"_s}));
    EXPECT_EQ(company.file<Notes>().count(), 2);

    EQLogB log;
    log.LogID = 1;
    log.EquipmentID = u"EXC-301"_s;
    ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    window.selectRow(0);
    window.callForm(data::Request::Delete);
    EXPECT_EQ(prompter.shown().last().caption, u"Cannot Delete Equipment");
    EXPECT_EQ(formCalls.size(), 2) << "the form is not called for equipment with logs";
}

TEST_F(EquipmentScreensTest, TheReadOnlyUserAndTheUserWithoutTheRightAreRefusedBeforeTheForm)
{
    session.equipmentReadOnly = true;
    EquipmentScreens::ListState state{EquipmentFilter{},
                                      std::make_unique<EquipmentAccess>(session, prompter)};
    ListWindow window(EquipmentScreens::list(session, prompter, state), session, prompter,
                      form(data::Response::Completed));
    state.window = &window;
    window.selectRow(0);
    window.callForm(data::Request::Insert);
    window.callForm(data::Request::Delete);
    EXPECT_TRUE(formCalls.isEmpty());
    EXPECT_EQ(prompter.shown().size(), 2);
    window.callForm(data::Request::Change);
    EXPECT_EQ(formCalls.size(), 1) << "the form shows the record without changes";

    UserFile user;
    user.UserID = u"EQM"_s;
    user.EquipmentNoChanges = 1;
    ASSERT_TRUE(company.file<UserFile>().insert(user).isOk());
    session.userId = u"EQM"_s;
    session.equipmentReadOnly = false;
    EquipmentScreens::ListState alias{EquipmentFilter{},
                                      std::make_unique<EquipmentAccess>(session, prompter)};
    ListWindow aliasWindow(EquipmentScreens::aliasList(session, prompter, alias), session, prompter,
                           form(data::Response::Completed));
    alias.window = &aliasWindow;
    aliasWindow.selectRow(0);
    aliasWindow.callForm(data::Request::Change);
    EXPECT_EQ(prompter.shown().last().caption, u"Access Denied");
    EXPECT_EQ(formCalls.size(), 1);
}

TEST_F(EquipmentScreensTest, BothListsDeleteByTheSameRulesWithDependents)
{
    EQLogB log;
    log.LogID = 1;
    log.EquipmentID = u"EXC-301"_s;
    ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    EQCost posted;
    posted.RecordID = u"TRK-101   FUEL"_s;
    posted.EquipmentID = u"TRK-101"_s;
    posted.CostCategory = u"FUEL"_s;
    posted.CumulativeAmount = Decimal(120);
    ASSERT_TRUE(company.file<EQCost>().insert(posted).isOk());

    for (const bool alias : {false, true}) {
        SCOPED_TRACE(alias ? "Equipment Lookup" : "Equipment List");
        EquipmentScreens::ListState state{EquipmentFilter{true, true},
                                          std::make_unique<EquipmentAccess>(session, prompter)};
        ListWindow window(alias ? EquipmentScreens::aliasList(session, prompter, state)
                                : EquipmentScreens::list(session, prompter, state),
                          session, prompter, form(data::Response::Completed));
        state.window = &window;
        formCalls.clear();
        for (const int row : {0, 2}) {
            window.selectRow(row);
            const qsizetype shown = prompter.shown().size();
            window.callForm(data::Request::Delete);
            ASSERT_EQ(prompter.shown().size(), shown + 1);
            EXPECT_EQ(prompter.shown().last().caption, u"Cannot Delete Equipment");
        }
        EXPECT_TRUE(prompter.shown().last().text.contains(u"posted costs"_s));
        EXPECT_TRUE(formCalls.isEmpty()) << "the form is not called for what must stay";
        EXPECT_EQ(ids(window), (QStringList{u"EXC-301"_s, u"OLD-9"_s, u"TRK-101"_s}));
    }
    EXPECT_EQ(company.file<EQCost>().count(), 1);
    EXPECT_EQ(company.file<Notes>().count(), 3);
}

// The equipment list a form opens as a lookup (the usage log's equipment)
// adds and changes equipment through the form's caller, as the list of the
// menu does; the equipment feature registers that list once.
TEST_F(EquipmentScreensTest, TheEquipmentLookupAddsThroughTheCallerOfTheFormThatOpenedIt)
{
    data::ErrorManager errors(u"EQUIPMENT"_s, &prompter);
    ScreenRunner::setLookups({&EquipmentLookups::add});
    const auto forget = qScopeGuard([] { ScreenRunner::setLookups({}); });
    QStringList called;
    forms::LookupPicker picker =
        ScreenRunner::picker(session, errors, [this, &called](const QString &procedure) {
            called.append(procedure + u':' + QString::number(int(session.globalRequest)));
            session.globalResponse = data::Response::Cancelled;
        });
    bool listOpened = false;
    QTimer::singleShot(0, [&listOpened] {
        auto *list = qobject_cast<ListWindow *>(QApplication::activeModalWidget());
        listOpened = list != nullptr;
        if (!list)
            return;
        list->callForm(data::Request::Insert);
        list->reject();
    });

    EXPECT_EQ(picker.pick(u"BROWSEEQHEADER"_s, u"TRK-101"_s), std::nullopt);
    EXPECT_TRUE(listOpened);
    EXPECT_EQ(called,
              QStringList{u"UPDATEEQHEADER:"_s + QString::number(int(data::Request::Insert))});
}

} // namespace
