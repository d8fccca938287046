#include "reports/ui/DetailListingView.h"
#include "records/EQHeader.h"

#include "testing/ModuleFormTest.h"

#include "runtime/ScriptedPicker.h"

#include "data/suite/GeneralLedgerFiles.h"

#include "core/testing/QtPrinters.h"

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class DetailListingViewTest : public qaveq::testing::ModuleFormTest
{
protected:
    QStringList called;
    int prints = 0;
    QList<qint32> transactions;

    DetailListingViewTest()
    {
        for (const auto &[id, description] :
             {std::pair{u"TRK-1"_s, u"Dump truck"_s}, std::pair{u"EXC-1"_s, u"Excavator"_s}}) {
            EQHeader e;
            e.EquipmentID = id;
            e.Description = description;
            EXPECT_TRUE(company.file<EQHeader>().insert(e).isOk());
        }
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

    std::unique_ptr<DetailListingView> view()
    {
        return std::make_unique<DetailListingView>(
            collected(), session, prompter,
            [this](const QString &procedure) {
                QString record;
                if (procedure == u"OVVIEWEQHEADER")
                    record = session.buffer<EQHeader>().Description;
                else
                    record = QString::number(session.buffer<GLTrans>().Amount.unitsAt(0));
                called.append(procedure + u' ' + record);
            },
            [this] { ++prints; });
    }

    static void highlight(QTableWidget *table, const QString &first)
    {
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->text() == first)
                table->selectRow(row);
    }
};

} // namespace

TEST_F(DetailListingViewTest, TheHighlightedEquipmentShowsItsTransactions)
{
    const auto window = view();
    EXPECT_EQ(window->countText(), u"2 Records"_s);
    // Sorted by ID: the excavator first, without transactions.
    EXPECT_EQ(window->equipmentList()->item(0, 0)->text(), u"EXC-1"_s);
    EXPECT_EQ(window->transactionList()->rowCount(), 0);
    highlight(window->equipmentList(), u"TRK-1"_s);
    ASSERT_EQ(window->transactionList()->rowCount(), 2);
    EXPECT_EQ(window->transactionList()->item(1, 4)->text(), u"A/P 77-2"_s);
    EXPECT_EQ(window->transactionList()->item(1, 8)->text(), u"250.00"_s);
}

TEST_F(DetailListingViewTest, ViewersGetTheHighlightedRecords)
{
    const auto window = view();
    highlight(window->equipmentList(), u"TRK-1"_s);
    window->transactionList()->selectRow(1);
    window->viewTransaction();
    window->viewJournal();
    window->viewEquipment();
    EXPECT_EQ(called, (QStringList{u"OVVIEWTRANSACTION 250"_s, u"OVBROWSEGLJOURNAL 250"_s,
                                   u"OVVIEWEQHEADER Dump truck"_s}));

    // A transaction removed since the listing was made is said, not shown.
    GLTrans gone;
    gone.RecordID = transactions.at(0);
    ASSERT_TRUE(company.file<GLTrans>().fetch(u"KeyRecordID", gone).isOk());
    ASSERT_TRUE(company.file<GLTrans>().remove(gone).isOk());
    window->transactionList()->selectRow(0);
    window->viewTransaction();
    EXPECT_EQ(called.size(), 3);
    EXPECT_EQ(prompter.shown().size(), 1);
}

TEST_F(DetailListingViewTest, SendToWritesEveryTransaction)
{
    QTemporaryDir folder;
    ScriptedFileChooser chooser;
    const QString path = folder.filePath(u"detail.txt"_s);
    chooser.answerNext(path);
    const auto window = view();
    window->setFileChooser(&chooser);
    window->sendTo();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines.at(0).startsWith(u"ID\tEquipment Description\tCode"_s))
        << lines.at(0).toStdString();
    EXPECT_TRUE(lines.at(2).startsWith(u"TRK-1\tDump truck\tFUEL"_s)) << lines.at(2).toStdString();
    EXPECT_TRUE(lines.at(2).endsWith(u"\t250.00"_s)) << lines.at(2).toStdString();
}
