#include "reports/ui/AnalysisScreens.h"

#include "testing/ModuleFormTest.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class AnalysisViewWindowTest : public qaveq::testing::ModuleFormTest
{
protected:
    AnalysisViewWindowTest()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The list's format is remembered per report between runs.
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
             u"/Korvalis/EQ Analysis Report"_s)
            .removeRecursively();
    }

    AnalysisScreens::ViewTab tab()
    {
        AnalysisScreens::ViewTab tab;
        tab.title = u"Analysis"_s;
        tab.formatFolder = u"EQ Analysis Report"_s;
        tab.sendToName = u"EQ Analysis Listing"_s;
        tab.equipment = {{u"TRK-2"_s, u"tipper"_s, u"V2"_s, u"L2"_s},
                         {u"EXC-1"_s, u"Excavator"_s, u"V1"_s, u"L1"_s},
                         {u"TRK-1"_s, u"Dump truck"_s, u"V3"_s, u"L3"_s}};
        tab.detail = [this](int row, QWidget *parent) {
            shownFor.append(row);
            return new QLabel(u"figures of row %1"_s.arg(row), parent);
        };
        tab.print = [this] { ++prints; };
        return tab;
    }

    // Runs `inspect` on the window once it is open, then closes it.
    void whileOpen(int mode, const std::function<void(QDialog &)> &inspect)
    {
        QTimer::singleShot(0, [&inspect] {
            auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            inspect(*window);
            window->accept();
        });
        AnalysisScreens::viewWindow(session, mode, tab());
    }

    QList<int> shownFor;
    int prints = 0;
};

TEST_F(AnalysisViewWindowTest, ShowsTheReportsTabWithTheHighlightedEquipmentsFigures)
{
    session.reportViewMode = 1;
    whileOpen(1, [this](QDialog &window) {
        EXPECT_EQ(window.windowTitle(), u"Analysis Report Detail");
        auto *tabs = window.findChild<QTabWidget *>();
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->count(), 1) << "only the tab of the run's report";
        EXPECT_EQ(tabs->tabText(0), u"Analysis");

        auto *list = window.findChild<QTableView *>(u"EquipmentList"_s);
        ASSERT_NE(list, nullptr);
        QAbstractItemModel &rows = *list->model();
        EXPECT_EQ(rows.headerData(3, Qt::Horizontal).toString(), u"License");
        // Sorted by ID as it opens; the first row is highlighted and its
        // figures shown beside the list.
        EXPECT_EQ(rows.index(0, 0).data().toString(), u"EXC-1");
        EXPECT_EQ(shownFor, QList<int>{1});
        list->setCurrentIndex(rows.index(2, 0));
        EXPECT_EQ(shownFor.last(), 0) << "TRK-2 is the first equipment handed over";
        bool figures = false;
        for (const QLabel *label : window.findChildren<QLabel *>())
            figures = figures || label->text() == u"figures of row 0";
        EXPECT_TRUE(figures);

        // A heading sorts without regard to case.
        list->sortByColumn(1, Qt::AscendingOrder);
        EXPECT_EQ(rows.index(0, 1).data().toString(), u"Dump truck");
        EXPECT_EQ(rows.index(2, 1).data().toString(), u"tipper");

        bool counted = false;
        for (const QLabel *label : window.findChildren<QLabel *>())
            counted = counted || label->text() == u"3 Records";
        EXPECT_TRUE(counted);

        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->text() == u"&Print")
                button->click();
        EXPECT_EQ(prints, 1);
    });
    EXPECT_EQ(session.reportViewMode, 0) << "the view mode is set back when the window closes";

    // The next run opens in the order the list was left in.
    whileOpen(1, [](QDialog &window) {
        QAbstractItemModel &rows = *window.findChild<QTableView *>(u"EquipmentList"_s)->model();
        EXPECT_EQ(rows.index(0, 1).data().toString(), u"Dump truck");
    });
}

} // namespace
