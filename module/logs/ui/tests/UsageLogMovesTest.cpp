#include "UsageLogWindowFixture.h"

#include "logs/ui/UsageLogWindow.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "runtime/ScriptedPrompter.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class UsageLogMovesTest : public qaveq::testing::UsageLogWindowFixture
{
protected:

    UsageLogMovesTest()
    {
        for (const QString &id : {u"EQM"_s, u"ADM"_s}) {
            UserFile user;
            user.UserID = id;
            EXPECT_TRUE(company.file<UserFile>().insert(user).isOk());
        }
    }

    std::unique_ptr<UsageLogWindow> open()
    {
        auto window =
            std::make_unique<UsageLogWindow>(session, prompter, clock, [](const QString &) {});
        window->show();
        return window;
    }

    QList<qint32> logsOf(quint16 batchId)
    {
        QList<qint32> ids;
        data::KeyCursor cursor =
            company.file<EQLogB>().scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
        for (EQLogB record; cursor.next(record);)
            ids.append(record.LogID);
        return ids;
    }

    static QAction *action(QMenu &menu, const QString &text)
    {
        for (QAction *action : menu.actions())
            if (action->text() == text)
                return action;
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        return nullptr;
    }

    // Drags the log list's drag over the batch list's row and drops it
    // there; returns the action the batch list offered while over the row.
    static Qt::DropAction dragOnto(UsageLogWindow &window, int row,
                                   Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTableView &logs = window.logView();
        std::unique_ptr<QMimeData> data(logs.model()->mimeData({logs.currentIndex()}));
        QWidget *target = window.batchView().viewport();
        const QPoint at =
            window.batchView().visualRect(window.batchView().model()->index(row, 3)).center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, offered, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(at, offered, data.get(), Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &drop);
        return move.dropAction();
    }
};

TEST_F(UsageLogMovesTest, DraggingTickedLogsOntoABatchMovesThemAndCtrlCopies)
{
    const quint16 source = batch(u"EQM"_s, 0, u"Field logs"_s, 3);
    const quint16 target = batch(u"EQM"_s, 0, u"Shop"_s);
    const QList<qint32> logs = logsOf(source);
    std::unique_ptr<UsageLogWindow> window = open();
    ASSERT_EQ(window->highlighted(), source);

    // Tick the first and the third log through the menu.
    window->logView().setCurrentIndex(window->logView().model()->index(0, 0));
    action(window->logMenu(), u"Select"_s)->trigger();
    window->logView().setCurrentIndex(window->logView().model()->index(2, 0));
    action(window->logMenu(), u"Select"_s)->trigger();
    EXPECT_TRUE(action(window->logMenu(), u"Deselect"_s)) << "the ticked row offers Deselect";
    EXPECT_EQ(window->logView().model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(window->logView().model()->index(1, 0).data(Qt::CheckStateRole).toInt(),
              Qt::Unchecked);

    EXPECT_EQ(dragOnto(*window, 1, Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(logsOf(source), logs);
    EXPECT_EQ(logsOf(target).size(), 2);
    EXPECT_EQ(window->highlighted(), source) << "the user does not follow pasted logs";
    EXPECT_TRUE(window->selection().isEmpty());

    // With nothing ticked the highlighted log goes alone; without Ctrl it moves.
    window->logView().setCurrentIndex(window->logView().model()->index(1, 0));
    EXPECT_EQ(dragOnto(*window, 1), Qt::MoveAction);
    EXPECT_EQ(logsOf(source), (QList<qint32>{logs[0], logs[2]}));
    EXPECT_EQ(logsOf(target).size(), 3);
    EXPECT_EQ(window->logCountText(), u"2 Records");

    // Dropped on its own batch, nothing happens.
    dragOnto(*window, 0);
    EXPECT_EQ(logsOf(source).size(), 2);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(UsageLogMovesTest, AnotherUsersSecureBatchRefusesADropEvenWithCtrl)
{
    const quint16 source = batch(u"EQM"_s, 0, u"Field logs"_s, 1);
    const quint16 secure = batch(u"ADM"_s, 1, u"Private"_s);
    std::unique_ptr<UsageLogWindow> window = open();
    EXPECT_EQ(dragOnto(*window, 1, Qt::ControlModifier), Qt::CopyAction);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Secure Batch");
    EXPECT_TRUE(logsOf(secure).isEmpty());
    EXPECT_EQ(logsOf(source).size(), 1);
    EXPECT_EQ(window->transfer().mode(), LogTransfer::Mode::None);
}

TEST_F(UsageLogMovesTest, CopyThenPasteFromTheBatchMenuFollowsWhenAskedAndUntagsAll)
{
    UserFile user;
    user.UserID = u"EQM"_s;
    ASSERT_TRUE(company.file<UserFile>().fetch(u"KeyUserID", user).isOk());
    user.PasteSelection = 1;
    ASSERT_TRUE(company.file<UserFile>().update(user).isOk());
    const quint16 source = batch(u"EQM"_s, 0, u"Field logs"_s, 2);
    const quint16 target = batch(u"EQM"_s, 0, u"Shop"_s);
    std::unique_ptr<UsageLogWindow> window = open();
    EXPECT_FALSE(window->button(u"Paste"_s).isEnabled()) << "nothing copied yet";
    window->button(u"&Tag"_s).click();
    ASSERT_EQ(window->batches().tags(), QList<quint16>{source});

    action(window->logMenu(), u"Select All"_s)->trigger();
    window->button(u"Copy"_s).click();
    EXPECT_TRUE(window->button(u"Paste"_s).isEnabled());
    window->highlight(target);
    EXPECT_TRUE(window->selection().isEmpty()) << "another batch empties the selection";
    QAction *paste = action(window->batchMenu(), u"Paste"_s);
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
    EXPECT_EQ(logsOf(target).size(), 2);
    EXPECT_EQ(logsOf(source).size(), 2);
    EXPECT_EQ(window->highlighted(), target);
    EXPECT_TRUE(window->batches().tags().isEmpty());
    EXPECT_FALSE(window->button(u"Paste"_s).isEnabled());
}

TEST_F(UsageLogMovesTest, TheFilterShowsOnlyTickedLogsAndInvertSwapsThem)
{
    batch(u"EQM"_s, 0, u"Field logs"_s, 3);
    std::unique_ptr<UsageLogWindow> window = open();
    QTableView &logs = window->logView();
    logs.setCurrentIndex(logs.model()->index(1, 0));
    action(window->logMenu(), u"Select"_s)->trigger();
    action(window->logMenu(), u"Filter On"_s)->trigger();
    EXPECT_TRUE(logs.isRowHidden(0));
    EXPECT_FALSE(logs.isRowHidden(1));
    action(window->logMenu(), u"Invert"_s)->trigger();
    EXPECT_FALSE(logs.isRowHidden(0));
    EXPECT_TRUE(logs.isRowHidden(1));
    action(window->logMenu(), u"Filter Off"_s)->trigger();
    EXPECT_FALSE(logs.isRowHidden(1));
    action(window->logMenu(), u"Deselect All"_s)->trigger();
    EXPECT_TRUE(window->selection().isEmpty());
    EXPECT_EQ(action(window->logMenu(), u"Copy Selected"_s)->toolTip(), u"Drag+Ctrl+Drop");
    EXPECT_EQ(action(window->logMenu(), u"Move Selected"_s)->toolTip(), u"Drag+Drop");
}

TEST_F(UsageLogMovesTest, TheMoveButtonsReorderAndKeepTheMovedBatchHighlighted)
{
    const quint16 first = batch(u"EQM"_s, 0, u"One"_s);
    batch(u"EQM"_s, 0, u"Two"_s);
    const quint16 third = batch(u"EQM"_s, 0, u"Three"_s);
    std::unique_ptr<UsageLogWindow> window = open();
    auto &model = *static_cast<QStandardItemModel *>(window->batchView().model());
    const auto descriptions = [&model] {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.append(model.item(row, 3)->text());
        return texts;
    };
    window->highlight(third);
    window->button(u"Top"_s).click();
    EXPECT_EQ(descriptions(), (QStringList{u"Three"_s, u"One"_s, u"Two"_s}));
    EXPECT_EQ(window->highlighted(), third);
    window->highlight(first);
    window->button(u"Down"_s).click();
    EXPECT_EQ(descriptions(), (QStringList{u"Three"_s, u"Two"_s, u"One"_s}));
    EXPECT_EQ(window->highlighted(), first);
    EXPECT_EQ(window->button(u"Bottom"_s).toolTip(), u"Move batch to the bottom");
    EXPECT_TRUE(prompter.shown().isEmpty());
}

} // namespace
