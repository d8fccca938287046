#include "UsageLogWindowFixture.h"

#include "logs/ui/UsageLogWindow.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"

#include "runtime/ScriptedPrompter.h"
#include "runtime/widgets/HeaderSorter.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/Clock.h"
#include "core/testing/QtPrinters.h"

#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class UsageLogWindowTest : public qaveq::testing::UsageLogWindowFixture
{
protected:
    QStringList called;
    // What a called procedure sees of the session while it runs.
    std::function<void(const QString &)> during;

    UsageLogWindowTest()
    {
        EQHeader truck;
        truck.EquipmentID = u"TRK-1"_s;
        truck.Description = u"Dump Truck"_s;
        EXPECT_TRUE(company.file<EQHeader>().insert(truck).isOk());
    }

    std::unique_ptr<UsageLogWindow> open()
    {
        auto window =
            std::make_unique<UsageLogWindow>(session, prompter, clock, [this](const QString &name) {
                called.append(name);
                if (during)
                    during(name);
            });
        window->show();
        return window;
    }

    static QStandardItemModel &batchModel(UsageLogWindow &window)
    {
        return *static_cast<QStandardItemModel *>(window.batchView().model());
    }

    EQBatch stored(quint16 id)
    {
        EQBatch record;
        record.BatchID = id;
        EXPECT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", record).isOk());
        return record;
    }
};

TEST_F(UsageLogWindowTest, TheBatchListShowsTagsBoldBatchesAndTheLogsOfTheHighlightedOne)
{
    const quint16 full = batch(u"EQM"_s, 0, u"Field logs"_s, 2);
    batch(u"EQM"_s, 0, u"Empty"_s);
    std::unique_ptr<UsageLogWindow> window = open();
    EXPECT_EQ(window->windowTitle(), u"Equipment Usage Log Entry");
    EXPECT_EQ(window->batchCountText(), u"2 Records");
    QStandardItemModel &model = batchModel(*window);
    EXPECT_TRUE(model.item(0, 3)->font().bold());
    EXPECT_FALSE(model.item(1, 3)->font().bold());
    EXPECT_EQ(window->highlighted(), full);
    EXPECT_EQ(window->logCountText(), u"2 Records");
    EXPECT_EQ(window->totalText(), u"300.00");
    EXPECT_EQ(window->logView().model()->index(1, 2).data().toString(), u"Dump Truck");

    // The space bar tags the highlighted batch and flags it in use.
    window->batchView().setFocus();
    QTest::keyClick(&window->batchView(), Qt::Key_Space);
    EXPECT_EQ(model.item(0, 0)->data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(stored(full).InUseBy, u"EQM");

    // Showing tagged batches leaves the tagged one; the cycle comes back round.
    window->button(u"Show All"_s).click();
    EXPECT_EQ(window->batchCountText(), u"1 Record");
    window->button(u"Showing Tagged"_s).click();
    window->button(u"Showing UnTagged"_s).click();
    EXPECT_EQ(window->batchCountText(), u"2 Records");

    // Sorting by description puts "Empty" first; manual order comes back.
    window->sorter().press(3, Qt::NoModifier);
    EXPECT_EQ(model.item(0, 3)->text(), u"Empty");
    window->button(u"Reset to Manual Sort"_s).click();
    EXPECT_EQ(model.item(0, 3)->text(), u"Field logs");

    // Closing the window gives the tagged batch free.
    window->button(u"Close"_s).click();
    EXPECT_EQ(stored(full).InUseBy, u"");
}

TEST_F(UsageLogWindowTest, TheBatchHeadingsSortAndTheSortIsKeptPerUser)
{
    batch(u"EQM"_s, 0, u"beta"_s);
    batch(u"EQM"_s, 0, u"Alpha"_s);
    batch(u"EQM"_s, 0, u"alpha"_s);
    batch(u"EQM"_s, 0, u"Gamma"_s);
    std::unique_ptr<UsageLogWindow> window = open();
    QStandardItemModel &model = batchModel(*window);
    QHeaderView *header = window->batchView().horizontalHeader();
    const auto click = [header](int column, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, keys,
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    const auto column = [&model](int c) {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.append(model.item(row, c)->text());
        return texts;
    };
    const auto headings = [&model] {
        QStringList texts;
        for (int c = 0; c < model.columnCount(); ++c)
            texts.append(model.headerData(c, Qt::Horizontal).toString());
        return texts;
    };

    click(3);
    EXPECT_EQ(column(3), (QStringList{u"Alpha"_s, u"alpha"_s, u"beta"_s, u"Gamma"_s}))
        << "without regard to case, equal ones in their manual order";
    EXPECT_EQ(headings().at(3), u"Description[+]");
    click(3);
    EXPECT_EQ(column(3).first(), u"Gamma") << "a second click sorts descending";
    EXPECT_EQ(headings().at(3), u"Description[-]");

    // Ctrl adds a column: description descending, then batch descending.
    click(1, Qt::ControlModifier);
    click(1, Qt::ControlModifier);
    EXPECT_EQ(headings().mid(1), (QStringList{u"Batch[-2]"_s, QString(), u"Description[-1]"_s}));
    EXPECT_EQ(column(3).mid(2), (QStringList{u"alpha"_s, u"Alpha"_s}));

    // Kept for this user and list: the next window opens sorted.
    window.reset();
    window = open();
    EXPECT_EQ(batchModel(*window).item(0, 3)->text(), u"Gamma");
    // Shift goes back to the manual order and the designed headings.
    header = window->batchView().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(header->sectionViewportPosition(3) + 5, 5));
    EXPECT_EQ(batchModel(*window).item(0, 3)->text(), u"beta");
    EXPECT_EQ(batchModel(*window).headerData(3, Qt::Horizontal).toString(), u"Description");

    // Another user keeps a sort of his own.
    window->sorter().press(3, Qt::NoModifier);
    window.reset();
    session.userId = u"ADM"_s;
    window = open();
    EXPECT_EQ(batchModel(*window).item(0, 3)->text(), u"beta") << "ADM has not sorted";
}

TEST_F(UsageLogWindowTest, AnotherUsersSecureBatchIsSeenButItsLogsAreHidden)
{
    batch(u"ADM"_s, 2, u"Private"_s, 1);
    const quint16 modifiable = batch(u"ADM"_s, 1, u"Shop"_s, 1);
    std::unique_ptr<UsageLogWindow> window = open();
    EXPECT_EQ(window->logPane().title(),
              u"Usage Logs included in Highlighted Batch can only be viewed by user ADM");
    EXPECT_FALSE(window->logView().isVisible());
    EXPECT_FALSE(window->logPane().isEnabled());
    EXPECT_EQ(window->totalText(), u"");

    window->button(u"&Tag"_s).click();
    EXPECT_EQ(prompter.shown().last().caption, u"Unable to Tag Batch");

    window->highlight(modifiable);
    EXPECT_EQ(window->logPane().title(),
              u"Usage Logs included in Highlighted Batch can only be modified by user ADM");
    EXPECT_TRUE(window->logView().isVisible());
    EXPECT_FALSE(window->logPane().isEnabled());
}

TEST_F(UsageLogWindowTest, AddingALogHoldsTheBatchWhileTheEntryFormRuns)
{
    const quint16 id = batch(u"EQM"_s, 0, u"Field logs"_s);
    std::unique_ptr<UsageLogWindow> window = open();
    QStringList seen;
    during = [&](const QString &) {
        seen << stored(id).InUseBy << QString::number(int(session.globalRequest))
             << QString::number(session.buffer<EQBatch>().BatchID);
    };
    window->button(u"&Add"_s).click();
    EXPECT_EQ(called, QStringList{u"UPDATEEQLOGB"_s});
    EXPECT_EQ(seen, (QStringList{u"EQM"_s, u"1"_s, QString::number(id)}))
        << "held by this user, an insert, over the highlighted batch";
    EXPECT_EQ(stored(id).InUseBy, u"") << "given free when the form returns";
    called.clear();
    during = {};

    window->button(u"&New Batch"_s).click();
    EXPECT_EQ(called, QStringList{u"UPDATEEQBATCH"_s});
    EXPECT_EQ(session.globalRequest, data::Request::None);
}

TEST_F(UsageLogWindowTest, TheProofListTagsTheHighlightedBatchWhenNoneIsTagged)
{
    const quint16 id = batch(u"EQM"_s, 0, u"Field logs"_s, 2);
    std::unique_ptr<UsageLogWindow> window = open();
    window->button(u"Proof List Tagged Batches"_s).click();
    EXPECT_EQ(called, QStringList{u"BrowseEQProofLimits"_s});
    EXPECT_EQ(stored(id).InUseBy, u"EQM") << "tagged, and so held, for the listing";
}

TEST_F(UsageLogWindowTest, AReadOnlyUserSeesALogWithoutHoldingTheBatch)
{
    const quint16 id = batch(u"ADM"_s, 0, u"Field logs"_s, 1);
    session.userId = u"VEW"_s;
    session.usageLogsReadOnly = true;
    std::unique_ptr<UsageLogWindow> window = open();
    QStringList seen;
    during = [&](const QString &) {
        seen << stored(id).InUseBy << QString::number(int(session.globalRequest))
             << QString::number(session.buffer<EQLogB>().LogID);
    };
    window->button(u"&Change"_s).click();
    EXPECT_EQ(seen, (QStringList{QString(), u"6"_s, u"1"_s})) << "viewed, the batch left free";
    called.clear();
    window->button(u"&Add"_s).click();
    EXPECT_TRUE(called.isEmpty());
    EXPECT_EQ(prompter.shown().last().caption, u"Insufficient Access");
}

} // namespace

TEST_F(UsageLogWindowTest, PostingAsksFirstAndSaysWhenTheBatchesAreEmpty)
{
    UserFile user;
    user.UserID = u"EQM"_s;
    ASSERT_TRUE(company.file<UserFile>().insert(user).isOk());
    const QTemporaryDir control; // where posting leaves its alert for the other stations
    session.controlPath = control.path();
    const quint16 first = batch(u"EQM"_s, 0, u"Monday"_s);
    const quint16 second = batch(u"EQM"_s, 0, u"Tuesday"_s);
    const auto window = open();
    window->highlight(first);
    window->button(u"&Tag"_s).click();
    window->highlight(second);
    window->button(u"&Tag"_s).click();

    prompter.answerNext(2); // No
    window->button(u"&Post Tagged Batches"_s).click();
    EXPECT_EQ(prompter.shown().last().caption, u"Post Tagged Batches");
    EXPECT_EQ(prompter.shown().last().text, u"Post 2 tagged batches?");
    EXPECT_EQ(stored(first).InUseBy, u"EQM") << "not posted, still tagged";

    prompter.answerNext(1); // Yes
    window->button(u"&Post Tagged Batches"_s).click();
    EXPECT_EQ(prompter.shown().last().caption, u"Nothing to Post");
    EXPECT_EQ(prompter.shown().last().text,
              u"Batches %1, %2 are empty.|Nothing was posted."_s.arg(first).arg(second));
    EXPECT_EQ(stored(second).DateLastPosting, 0);
}

TEST_F(UsageLogWindowTest, ImportAndExportAreHandedTheHighlightedBatch)
{
    batch(u"EQM"_s, 0, u"First"_s);
    const quint16 second = batch(u"EQM"_s, 0, u"Second"_s);
    const auto window = open();
    window->highlight(second);
    QList<quint16> handed;
    during = [&](const QString &) { handed.append(session.buffer<EQBatch>().BatchID); };
    window->button(u"Import"_s).click();
    window->button(u"Export"_s).click();
    EXPECT_EQ(called, (QStringList{u"IMPORTEQLOG"_s, u"EXPORTEQLOG"_s}));
    EXPECT_EQ(handed, (QList<quint16>{second, second}));
}

TEST_F(UsageLogWindowTest, ImportAndNewBatchEndWithTheirResultInTheWindow)
{
    const quint16 week = batch(u"EQM"_s, 0, u"Week 12"_s, 2);
    const auto window = open();
    window->highlight(week);
    during = [this](const QString &procedure) {
        if (procedure == u"IMPORTEQLOG")
            session.resultLine = u"Imported 2 usage logs into batch 1, 300.00."_s;
        if (procedure == u"UPDATEEQBATCH")
            session.resultLine = u"Added batch 2, Week 13."_s;
    };
    window->button(u"Import"_s).click();
    EXPECT_EQ(window->resultText(), u"Imported 2 usage logs into batch 1, 300.00.");
    EXPECT_TRUE(session.resultLine.isEmpty()) << "said once, in the window that ran it";
    window->button(u"Export"_s).click();
    EXPECT_EQ(window->resultText(), u"Imported 2 usage logs into batch 1, 300.00.")
        << "a task that says nothing leaves the last result standing";
    window->button(u"&New Batch"_s).click();
    EXPECT_EQ(window->resultText(), u"Added batch 2, Week 13.");
}
