#include "equipment/CostCategoryForms.h"
#include "equipment/Search.h"
#include "equipment/ui/EquipmentCostScreens.h"
#include "equipment/ui/SearchWindow.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/ModuleFiles.h"

#include "testing/ModuleFormTest.h"

#include "runtime/widgets/KeyedListModel.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QComboBox>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::FormDriver;

namespace {

class CostCategoryFormTest : public qaveq::testing::ModuleFormTest
{
protected:
    CostCategoryFormTest()
    {
        Systems systems;
        systems.EquipmentExpenseAccount = u"6110"_s;
        EXPECT_TRUE(company.file<Systems>().insert(systems).isOk());
        for (const QString &number : {u"6100"_s, u"6110"_s, u"6300"_s}) {
            GLMaster account;
            account.Account = number;
            EXPECT_TRUE(company.file<GLMaster>().insert(account).isOk());
        }
    }

    std::unique_ptr<FormDriver> open(forms::FormDefinition definition, data::Request request)
    {
        return openForm(std::move(definition), request);
    }

    std::optional<EQCode> category(const QString &id)
    {
        EQCode stored;
        stored.CategoryID = id;
        if (!company.file<EQCode>().fetch(u"KeyCategoryID", stored))
            return std::nullopt;
        return stored;
    }

    // Which of meter unit, meter interval, time unit, time interval are shown.
    static QString shown(FormDriver &form, const QString &prefix)
    {
        QString text;
        for (const QString &field : {u"MeterName"_s, u"Meter"_s, u"IntervalName"_s, u"Interval"_s})
            text += form.view->editor(QString(prefix + u':' + field))->isVisible() ? u'1' : u'0';
        return text;
    }
};

TEST_F(CostCategoryFormTest, TheScheduleTypeShowsItsFieldsAndAnUnknownLetterOpensAsNone)
{
    auto form = open(CostCategoryForms::category(), data::Request::Insert);
    EXPECT_EQ(shown(*form, u"EQD"_s), u"0000");
    auto *type = qobject_cast<QComboBox *>(form->view->editor(u"ScheduleType"));
    for (const auto &[choice, fields] :
         {std::pair{1, u"1100"_s}, {2, u"0011"_s}, {3, u"1111"_s}, {0, u"0000"_s}}) {
        type->setCurrentIndex(choice);
        EXPECT_EQ(shown(*form, u"EQD"_s), fields) << choice;
    }

    EQCode odd;
    odd.CategoryID = u"ODD"_s;
    odd.ScheduleType = u"Q"_s;
    ASSERT_TRUE(company.file<EQCode>().insert(odd).isOk());
    session.buffer<EQCode>() = odd;
    auto opened = open(CostCategoryForms::category(), data::Request::Change);
    EXPECT_EQ(qobject_cast<QComboBox *>(opened->view->editor(u"ScheduleType"))->currentText(),
              u"None");
    EXPECT_EQ(shown(*opened, u"EQD"_s), u"0000");
}

TEST_F(CostCategoryFormTest, AnUnknownAccountIsNeverStored)
{
    auto form = open(CostCategoryForms::category(), data::Request::Insert);
    form->click(u"CategoryID");
    form->type(u"FUEL"_s);
    form->key(Qt::Key_Tab);
    form->click(u"DefaultExpenseControl");
    EXPECT_EQ(form->entry(u"DefaultExpenseControl")->text(), u"6110")
        << "the company's default when entered empty";
    form->type(u"9999"_s);
    form->key(Qt::Key_Return);
    EXPECT_EQ(picker.asked(), QStringList{u"BROWSEGLMASTER:9999"_s}) << "the list opens";
    EXPECT_FALSE(category(u"FUEL"_s)) << "and a cancelled list stores nothing";
    EXPECT_EQ(form->focused(), u"EQD:DefaultExpenseControl");

    picker.answerNext(u"6100"_s);
    form->key(Qt::Key_Return);
    ASSERT_TRUE(category(u"FUEL"_s)) << prompter.texts().join(u'|').toStdString();
    EXPECT_EQ(category(u"FUEL"_s)->DefaultExpenseControl, u"6100") << "the choice as typed";
}

TEST_F(CostCategoryFormTest, BlankUnitsStayBlankAndUsedCategoriesStay)
{
    auto form = open(CostCategoryForms::category(), data::Request::Insert);
    form->click(u"CategoryID");
    form->type(u"GREASE"_s);
    qobject_cast<QComboBox *>(form->view->editor(u"ScheduleType"))->setCurrentIndex(3);
    form->click(u"Meter");
    form->type(u"250"_s);
    form->key(Qt::Key_Return);
    ASSERT_TRUE(category(u"GREASE"_s)) << prompter.texts().join(u'|').toStdString();
    EXPECT_EQ(category(u"GREASE"_s)->ScheduleType, u"B");
    EXPECT_EQ(category(u"GREASE"_s)->Meter, 250);
    EXPECT_EQ(category(u"GREASE"_s)->MeterName, u"") << "no unit chosen, none stored";
    EXPECT_EQ(category(u"GREASE"_s)->IntervalName, u"");

    EQCost use;
    use.RecordID = u"T-1       GREASE"_s;
    use.EquipmentID = u"T-1"_s;
    use.CostCategory = u"GREASE"_s;
    ASSERT_TRUE(company.file<EQCost>().insert(use).isOk());
    session.buffer<EQCode>() = *category(u"GREASE"_s);
    auto remove = open(CostCategoryForms::category(), data::Request::Delete);
    EXPECT_FALSE(remove->view->ok());
    EXPECT_TRUE(prompter.texts().last().startsWith(
        u"Cost category GREASE is used by 1 equipment cost categories."_s));
    EXPECT_TRUE(category(u"GREASE"_s));
    EXPECT_TRUE(warnings.isEmpty()) << "refused before the delete confirmation";
}

TEST_F(CostCategoryFormTest, AReadOnlyUserGetsNoFormToTypeInto)
{
    session.equipmentReadOnly = true;
    session.userId = u"VEW"_s;
    session.equipField = u"TRK-101"_s;
    EXPECT_FALSE(open(CostCategoryForms::category(), data::Request::Insert)->isOpen());
    EXPECT_FALSE(open(CostCategoryForms::equipmentCost(), data::Request::Insert)->isOpen());
    ASSERT_EQ(prompter.shown().size(), 2);
    EXPECT_EQ(prompter.shown().first().caption, u"Insufficient Access");
    EXPECT_EQ(prompter.shown().first().text,
              u"User VEW has read only privileges|in the Equipment Costing module.");
}

class EquipmentCostFormTest : public CostCategoryFormTest
{
protected:
    EquipmentCostFormTest()
    {
        EQHeader truck;
        truck.EquipmentID = u"TRK-101"_s;
        truck.Description = u"Dump Truck"_s;
        EXPECT_TRUE(company.file<EQHeader>().insert(truck).isOk());
        for (const auto &[id, unit, schedule] :
             {std::tuple{u"FUEL"_s, u"Gal"_s, u"N"_s}, {u"OIL"_s, u"Qts"_s, u"M"_s}}) {
            EQCode category;
            category.CategoryID = id;
            category.Description = id + u" costs"_s;
            category.DefaultUnit = unit;
            category.DefaultExpenseControl = u"6100"_s;
            category.DefaultContraExpenseControl = u"6300"_s;
            category.ScheduleType = schedule;
            category.MeterName = u"Hours"_s;
            category.Meter = 250;
            EXPECT_TRUE(company.file<EQCode>().insert(category).isOk());
        }
        session.equipField = u"TRK-101"_s;
    }

    std::optional<EQCost> cost(const QString &category)
    {
        EQCost stored;
        stored.RecordID = u"TRK-101   "_s + category;
        if (!company.file<EQCost>().fetch(u"KeyRecordID", stored))
            return std::nullopt;
        return stored;
    }
};

TEST_F(EquipmentCostFormTest, AcceptingACategoryCopiesItsDefaultsAndSavingKeysTheRecord)
{
    auto form = open(CostCategoryForms::equipmentCost(), data::Request::Insert);
    form->click(u"CostCategory");
    form->type(u"NOPE"_s);
    form->key(Qt::Key_Tab);
    EXPECT_EQ(picker.asked(), QStringList{u"BROWSEEQCODE:NOPE"_s});
    EXPECT_EQ(form->focused(), u"EQC:CostCategory") << "a cancelled list keeps the cursor";

    form->type(u"OIL"_s);
    form->key(Qt::Key_Tab);
    EXPECT_EQ(form->entry(u"UnitName")->text(), u"Qts");
    EXPECT_EQ(form->entry(u"ControlDebit")->text(), u"6100");
    EXPECT_EQ(form->entry(u"Meter")->text(), u"250");

    form->type(u"Ltr"_s);
    picker.answerNext(u"FUEL"_s);
    form->view->findChildren<QToolButton *>().first()->click();
    FormDriver::settle();
    EXPECT_EQ(form->entry(u"CostCategory")->text(), u"FUEL");
    EXPECT_EQ(form->entry(u"UnitName")->text(), u"Gal") << "a category picked from the list counts";
    form->key(Qt::Key_Return);

    ASSERT_TRUE(cost(u"FUEL"_s)) << prompter.texts().join(u'|').toStdString();
    EXPECT_EQ(cost(u"FUEL"_s)->EquipmentID, u"TRK-101");
    EXPECT_EQ(cost(u"FUEL"_s)->ControlCredit, u"6300") << "the contra account comes along";
    EXPECT_EQ(cost(u"FUEL"_s)->MeterName, u"Hours");

    KeyedListModel model(company.file<EQCost>(), EquipmentCostScreens::list(session).columns);
    model.setKey(u"KeyEquipmentID"_s);
    model.setRange({u"TRK-101"_s}, {u"TRK-101"_s});
    model.reload();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), u"Dump Truck");
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), u"FUEL costs");
}

TEST_F(EquipmentCostFormTest, ChangingOtherFieldsKeepsTheCustomisedRecord)
{
    EQCost custom;
    custom.RecordID = u"TRK-101   OIL"_s;
    custom.EquipmentID = u"TRK-101"_s;
    custom.CostCategory = u"OIL"_s;
    custom.UnitName = u"Ltr"_s;
    custom.ControlDebit = u"6110"_s;
    custom.ControlCredit = u"6110"_s;
    custom.ScheduleType = u"E"_s;
    custom.IntervalName = u"Days"_s;
    custom.Interval = 90;
    ASSERT_TRUE(company.file<EQCost>().insert(custom).isOk());
    session.buffer<EQCost>() = custom;

    auto form = open(CostCategoryForms::equipmentCost(), data::Request::Change);
    EXPECT_EQ(form->view->windowTitle(), u"Changing an Equipment Cost Category");
    form->click(u"CostCategory");
    form->key(Qt::Key_Tab);
    form->key(Qt::Key_Tab);
    form->click(u"LastServiceMeter");
    form->type(u"1200"_s);
    form->key(Qt::Key_Return);
    const EQCost stored = *cost(u"OIL"_s);
    EXPECT_EQ(stored.LastServiceMeter, 1200);
    EXPECT_EQ(stored.UnitName, u"Ltr") << "passing the unchanged category copies nothing";
    EXPECT_EQ(stored.ControlCredit, u"6110");
    EXPECT_EQ(stored.ScheduleType, u"E");
    EXPECT_EQ(stored.Interval, 90);
}

TEST_F(EquipmentCostFormTest, NoCostCategoryWithoutItsEquipment)
{
    session.equipField.clear();
    EXPECT_FALSE(open(CostCategoryForms::equipmentCost(), data::Request::Insert)->isOpen());
    EXPECT_EQ(prompter.texts(),
              QStringList{u"Choose the equipment whose cost categories you are adding to."_s});
    EXPECT_EQ(company.file<EQCost>().count(), 0);
}

TEST_F(EquipmentCostFormTest, SearchFindsTextAnywhereInAnyCase)
{
    EQHeader cab;
    cab.EquipmentID = u"LDR-2"_s;
    cab.Description = u"Loader with Cab"_s;
    ASSERT_TRUE(company.file<EQHeader>().insert(cab).isOk());
    const QList<Search::Candidate> equipment = Search::candidates(company, Search::Mode::Equipment);
    ASSERT_EQ(equipment.size(), 2);
    EXPECT_EQ(Search::matching(equipment, u"ab "_s),
              (QList<Search::Candidate>{{u"LDR-2"_s, u"Loader with Cab"_s}}));
    EXPECT_EQ(Search::matching(equipment, u"trk"_s).size(), 1) << "the identifier counts too";
    EXPECT_EQ(Search::matching(equipment, {}).size(), 2);

    for (const QString &category : {u"OIL"_s, u"GONE"_s, QString()}) {
        EQCost cost;
        cost.RecordID = u"TRK-101   "_s + (category.isEmpty() ? u"-"_s : category);
        cost.EquipmentID = u"TRK-101"_s;
        cost.CostCategory = category;
        ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    }
    EXPECT_EQ(Search::candidates(company, Search::Mode::EQCode, u"TRK-101"_s),
              (QList<Search::Candidate>{{u"GONE"_s, u"Code Not In Dictionary"_s},
                                        {u"OIL"_s, u"OIL costs"_s}}));
    EXPECT_EQ(Search::caption(Search::Mode::EQCode), u"Search the Equipment Cost File");

    SearchWindow window(Search::Mode::Code, Search::candidates(company, Search::Mode::Code));
    EXPECT_EQ(window.windowTitle(), u"Search the Cost Category File");
    EXPECT_EQ(window.shownRows(), 2);
    window.go(u"oil"_s);
    EXPECT_EQ(window.shownRows(), 1);
    EXPECT_EQ(window.highlighted(), u"OIL");
    window.go(u"nothing like it"_s);
    EXPECT_FALSE(window.highlighted().has_value());
}

} // namespace
