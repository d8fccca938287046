#include "assets/ui/FixedAssetScreens.h"
#include "records/EQHeader.h"

#include <QChartView>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using namespace qaveq;

TEST(DepreciationGraphWindowTest, CaptionTabsAndClose)
{
    EQHeader equipment;
    equipment.EquipmentID = u"TRK-101"_s;
    equipment.Description = u"Dump Truck, Tandem Axle"_s;
    equipment.PurchaseValue = Decimal::parse(u"168000"_s).value();
    equipment.SalvageValue = Decimal::parse(u"35000"_s).value();
    std::unique_ptr<QWidget> window(createDepreciationGraphWindow(equipment, nullptr));
    EXPECT_EQ(
        window->windowTitle(),
        u"Comparisons of Depreciation and Book Value for (TRK-101) Dump Truck, Tandem Axle"_s);
    auto *tabs = window->findChild<QTabWidget *>();
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), u"Annual Depreciation"_s);
    EXPECT_EQ(tabs->tabText(1), u"Book Value"_s);
    auto *book = qobject_cast<QChartView *>(tabs->widget(1));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->chart()->title(), u"Asset Book Value"_s);
    const QList<QAbstractButton *> buttons = window->findChild<QDialogButtonBox *>()->buttons();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.first()->text(), u"&Close"_s);
    window->show();
    buttons.first()->click();
    EXPECT_FALSE(window->isVisible());
}
