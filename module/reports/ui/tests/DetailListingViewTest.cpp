#include "reports/ui/ReportScreens.h"

#include "records/EQHeader.h"

#include "testing/ModuleFormTest.h"

#include "data/suite/GeneralLedgerFiles.h"

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

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

// The detail listing's tab of the report view window, used as a user does:
// highlight an equipment, see its transactions, open one.
class DetailListingViewTest : public qaveq::testing::ModuleFormTest
{
protected:
    QStringList called;
    int prints = 0;
    QList<qint32> transactions;

    DetailListingViewTest()
    {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
             u"/Korvalis/EQ Detail Listing"_s)
            .removeRecursively();
        for (const char16_t *amount : {u"100", u"250"}) {
            GLTrans t;
            t.JournalID = u"A/P"_s;
            t.JournalNo = 77;
            t.Amount = Decimal::parse(QStringView(amount)).value();
            EXPECT_TRUE(company.file<GLTrans>().insert(t).isOk());
            transactions.append(t.RecordID);
        }
    }

    // What the walk collected: the truck with two transactions, the
    // excavator with none.
    QList<DetailListing::ViewedEquipment> collected() const
    {
        DetailListing::ViewedEquipment truck{u"TRK-1"_s, u"Dump truck"_s, u"VIN1"_s, u"L-1"_s, {}};
        for (int i = 0; i < 2; ++i) {
            DetailListing::Line line;
            line.recordId = transactions.at(i);
            line.sectionCode = u"FUEL"_s;
            line.journalId = u"A/P 77-%1"_s.arg(i + 1);
            line.amount = Decimal(i == 0 ? 100 : 250);
            truck.lines.append(line);
        }
        return {truck, {u"EXC-1"_s, u"Excavator"_s, {}, {}, {}}};
    }

    // Runs `use` on the window once it is open, then closes it.
    void whileOpen(const std::function<void(QDialog &)> &use)
    {
        QTimer::singleShot(0, [&use] {
            auto *window = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            use(*window);
            window->accept();
        });
        const auto call = [this](const QString &procedure) {
            called.append(procedure + u' ' +
                          QString::number(session.buffer<GLTrans>().Amount.unitsAt(0)));
        };
        AnalysisScreens::viewWindow(
            session, 3,
            ReportScreens::detailTab(collected(), session, prompter, call, [this] { ++prints; }));
    }

    static void highlight(QDialog &window, const QString &id)
    {
        auto *list = window.findChild<QTableView *>(u"EquipmentList"_s);
        QAbstractItemModel &rows = *list->model();
        for (int row = 0; row < rows.rowCount(); ++row)
            if (rows.index(row, 0).data().toString() == id)
                list->setCurrentIndex(rows.index(row, 0));
    }

    static QTableWidget *transactionsShown(QDialog &window)
    {
        return window.findChild<QTableWidget *>(u"TransactionList"_s);
    }

    static void press(QDialog &window, const QString &text)
    {
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->text() == text)
                button->click();
    }
};

} // namespace

TEST_F(DetailListingViewTest, TheHighlightedEquipmentShowsItsTransactions)
{
    whileOpen([this](QDialog &window) {
        auto *tabs = window.findChild<QTabWidget *>();
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), u"Detail Listing");
        bool counted = false;
        for (const QLabel *label : window.findChildren<QLabel *>())
            counted = counted || label->text() == u"2 Records";
        EXPECT_TRUE(counted);

        // Sorted by ID: the excavator first, without transactions.
        ASSERT_NE(transactionsShown(window), nullptr);
        EXPECT_EQ(transactionsShown(window)->rowCount(), 0);
        highlight(window, u"TRK-1"_s);
        QTableWidget *lines = transactionsShown(window);
        ASSERT_EQ(lines->rowCount(), 2);
        EXPECT_EQ(lines->item(1, 4)->text(), u"A/P 77-2"_s);
        EXPECT_EQ(lines->item(1, 8)->text(), u"250.00"_s);
        EXPECT_EQ(window.findChildren<QTableWidget *>(u"TransactionList"_s).size(), 1)
            << "one panel, for the highlighted equipment only";

        press(window, u"&Print"_s);
        EXPECT_EQ(prints, 1);
    });
}

TEST_F(DetailListingViewTest, TheViewersGetTheHighlightedTransaction)
{
    whileOpen([this](QDialog &window) {
        highlight(window, u"TRK-1"_s);
        transactionsShown(window)->selectRow(1);
        press(window, u"View &Transaction"_s);
        press(window, u"View &Journal"_s);
        EXPECT_EQ(called, (QStringList{u"OVVIEWTRANSACTION 250"_s, u"OVBROWSEGLJOURNAL 250"_s}));

        // A transaction removed since the listing was made is said, not shown.
        GLTrans gone;
        gone.RecordID = transactions.at(0);
        ASSERT_TRUE(company.file<GLTrans>().fetch(u"KeyRecordID", gone).isOk());
        ASSERT_TRUE(company.file<GLTrans>().remove(gone).isOk());
        transactionsShown(window)->selectRow(0);
        press(window, u"View &Transaction"_s);
        EXPECT_EQ(called.size(), 2);
        ASSERT_EQ(prompter.shown().size(), 1);
        EXPECT_EQ(prompter.shown().first().text, u"The transaction is no longer on file.");

        // An equipment without transactions has nothing to open.
        highlight(window, u"EXC-1"_s);
        press(window, u"View &Journal"_s);
        EXPECT_EQ(called.size(), 2);
    });
    EXPECT_EQ(session.reportViewMode, 0);
}
