#include "output/OutputState.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
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
#include <QTableWidget>
#include <QTimer>

#include "data/ErrorManager.h"

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

// The analysis run in view mode shows the figures the report collects: the
// highlighted equipment's category rows and totals, and for an equipment
// without categories the line the report prints in their place.
TEST_F(AnalysisViewWindowTest, TheAnalysisRunShowsEachEquipmentsRowsOrItsMissingCategories)
{
    for (const auto &[id, description] :
         {std::pair{u"LDR-1"_s, u"Loader"_s}, std::pair{u"TRL-1"_s, u"Trailer"_s}}) {
        EQHeader piece;
        piece.EquipmentID = id;
        piece.Description = description;
        piece.Active = 1;
        ASSERT_TRUE(company.file<EQHeader>().insert(piece).isOk());
    }
    EQCost fuel;
    fuel.RecordID = u"LDR-1     FUEL"_s;
    fuel.PrimaryRecordID = 1;
    fuel.EquipmentID = u"LDR-1"_s;
    fuel.CostCategory = u"FUEL"_s;
    fuel.UnitName = u"Gal"_s;
    fuel.CumulativeUnitUsed = Decimal::fromText(u"40"_s);
    fuel.CumulativeAmount = Decimal::fromText(u"1234.50"_s);
    ASSERT_TRUE(company.file<EQCost>().insert(fuel).isOk());
    EQLimits definition;
    definition.Report = u"Analysis"_s;
    definition.ReportTitle = u"Fleet"_s;
    definition.ReportType = u"A"_s;
    definition.QuantityAnalysis = u"D"_s;
    definition.DetailSummary = u"I"_s;
    ASSERT_TRUE(company.file<EQLimits>().insert(definition).isOk());
    session.reportFilter = QString::number(definition.LimitID);
    session.reportViewMode = 1;
    data::Session::setCurrent(&session);
    data::ErrorManager errors(u"EQUIPMENT"_s, &prompter);
    OutputState output;

    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        auto *list = window->findChild<QTableView *>(u"EquipmentList"_s);
        ASSERT_EQ(list->model()->rowCount(), 2);
        auto *figures = window->findChild<QTableWidget *>();
        ASSERT_NE(figures, nullptr);
        EXPECT_EQ(figures->item(0, 0)->text(), u"FUEL");
        EXPECT_EQ(figures->item(0, 4)->text(), u"1,234.50");
        EXPECT_EQ(figures->item(0, 4)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
        EXPECT_EQ(figures->horizontalHeaderItem(4)->text(), u"Cumulative\nAmount");
        EXPECT_EQ(figures->item(1, 1)->text(), u"Total Costs");
        list->setCurrentIndex(list->model()->index(1, 0));
        for (const QLabel *label : window->findChildren<QLabel *>())
            seen.append(label->text());
        window->accept();
    });
    AnalysisScreens::printAnalysis(errors, output);
    data::Session::setCurrent(nullptr);
    EXPECT_TRUE(seen.contains(u"No cost categories"_s));
    EXPECT_TRUE(seen.contains(u"2 Records"_s));
    EXPECT_EQ(session.reportViewMode, 0);
}

} // namespace
