#include "equipment/ui/CostCategoryScreens.h"
#include "equipment/ui/EquipmentCostScreens.h"
#include "equipment/ui/SearchWindow.h"
#include "records/EQHeader.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/testing/QtPrinters.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

class CostCategoryFormTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    QStringList looked;
    std::optional<QString> lookupAnswer;
    QList<int> warnings;

    CostCategoryFormTest()
    {
        session.userId = u"ADM"_s;
        Systems systems;
        systems.EquipmentExpenseAccount = u"6110"_s;
        EXPECT_TRUE(company.file<Systems>().insert(systems).isOk());
        GLMaster account;
        account.Account = u"6100"_s;
        EXPECT_TRUE(company.file<GLMaster>().insert(account).isOk());
    }

    std::unique_ptr<RecordForm> open(data::Request request)
    {
        session.globalRequest = request;
        return std::make_unique<RecordForm>(CostCategoryScreens::form([this](const QString &typed) {
                                                looked.append(typed);
                                                return lookupAnswer;
                                            }),
                                            session, prompter,
                                            [this](int n, const QString &, const QString &) {
                                                warnings.append(n);
                                                return 1;
                                            });
    }

    QString shown(RecordForm &form)
    {
        QString text;
        for (const QString &field : {u"MeterName"_s, u"Meter"_s, u"IntervalName"_s, u"Interval"_s})
            text += form.isShown(field) ? u'1' : u'0';
        return text;
    }
};

TEST_F(CostCategoryFormTest, TheScheduleTypeShowsItsFields)
{
    auto form = open(data::Request::Insert);
    form->show();
    EXPECT_EQ(shown(*form), u"0000");
    const std::pair<int, const char16_t *> types[] = {
        {1, u"1100"}, {2, u"0011"}, {3, u"1111"}, {0, u"0000"}};
    for (const auto &[choice, fields] : types) {
        form->setChoice(u"ScheduleType"_s, choice);
        EXPECT_EQ(shown(*form), QString::fromUtf16(fields)) << choice;
    }

    EQCode stored;
    stored.CategoryID = u"ODD"_s;
    stored.ScheduleType = u"Q"_s;
    session.buffer<EQCode>() = stored;
    auto odd = open(data::Request::Change);
    odd->show();
    EXPECT_EQ(odd->choice(u"ScheduleType"_s), 0) << "an unknown stored letter opens as None";
    EXPECT_EQ(shown(*odd), u"0000");
}

TEST_F(CostCategoryFormTest, TheExpenseAccountDefaultsAndIsChecked)
{
    auto form = open(data::Request::Insert);
    const RecordForm::Definition definition =
        CostCategoryScreens::form([](const QString &) { return std::nullopt; });
    definition.entered(*form, u"DefaultExpenseControl"_s);
    EXPECT_EQ(form->text(u"DefaultExpenseControl"_s), u"6110")
        << "the company's default when entered empty";

    form->setText(u"DefaultExpenseControl"_s, u"6100"_s);
    EXPECT_TRUE(CostCategoryScreens::form({}).left(*form, u"DefaultExpenseControl"_s))
        << "a known account";

    const auto leave = [&] {
        return CostCategoryScreens::form([this](const QString &typed) {
                   looked.append(typed);
                   return lookupAnswer;
               })
            .left(*form, u"DefaultExpenseControl"_s);
    };
    form->setText(u"DefaultExpenseControl"_s, u"9999"_s);
    EXPECT_FALSE(leave()) << "a cancelled lookup keeps the cursor in the field";
    lookupAnswer = u"6100"_s;
    EXPECT_TRUE(leave());
    EXPECT_EQ(form->text(u"DefaultExpenseControl"_s), u"6100");
    EXPECT_EQ(looked, (QStringList{u"9999"_s, u"9999"_s}));
}

TEST_F(CostCategoryFormTest, ReadOnlyUsersCannotSaveAndUsedCategoriesStay)
{
    session.equipmentReadOnly = true;
    auto form = open(data::Request::Insert);
    form->setText(u"CategoryID"_s, u"FUEL"_s);
    EXPECT_FALSE(form->save());
    EXPECT_EQ(prompter.shown().last().caption, u"Insufficient Access");
    session.equipmentReadOnly = false;
    ASSERT_TRUE(form->save());

    EQCost use;
    use.RecordID = u"T-1       FUEL"_s;
    use.EquipmentID = u"T-1"_s;
    use.CostCategory = u"FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().insert(use).isOk());
    auto remove = open(data::Request::Delete);
    EXPECT_FALSE(remove->save());
    EXPECT_EQ(prompter.shown().last().caption, u"Cannot Delete");
    EXPECT_TRUE(prompter.shown().last().text.startsWith(
        u"Cost category FUEL is used by 1 equipment cost categories."_s));
    EXPECT_EQ(company.file<EQCode>().count(), 1);
    EXPECT_TRUE(warnings.isEmpty()) << "refused before the delete confirmation";

    ASSERT_TRUE(company.file<EQCost>().remove(use).isOk());
    auto again = open(data::Request::Delete);
    EXPECT_TRUE(again->save());
    EXPECT_EQ(company.file<EQCode>().count(), 0);
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

    std::unique_ptr<RecordForm> openCost(data::Request request)
    {
        session.globalRequest = request;
        return std::make_unique<RecordForm>(
            EquipmentCostScreens::form(
                [this](const QString &typed) {
                    looked.append(typed);
                    return lookupAnswer;
                },
                [](const QString &) { return std::optional<QString>(); }),
            session, prompter, [](int, const QString &, const QString &) { return 1; });
    }
};

TEST_F(EquipmentCostFormTest, AcceptingACategoryCopiesItsDefaultsAndSavingKeysTheRecord)
{
    auto form = openCost(data::Request::Insert);
    const RecordForm::Definition definition = EquipmentCostScreens::form(
        [this](const QString &typed) {
            looked.append(typed);
            return lookupAnswer;
        },
        {});
    form->setText(u"CostCategory"_s, u"NOPE"_s);
    EXPECT_FALSE(definition.left(*form, u"CostCategory"_s))
        << "a cancelled category lookup keeps the cursor";
    EXPECT_EQ(looked, QStringList{u"NOPE"_s});

    form->setText(u"CostCategory"_s, u"OIL"_s);
    ASSERT_TRUE(definition.left(*form, u"CostCategory"_s));
    EXPECT_EQ(form->text(u"UnitName"_s), u"Qts");
    EXPECT_EQ(form->text(u"ControlDebit"_s), u"6100");
    EXPECT_EQ(form->choice(u"ScheduleType"_s), 1);
    EXPECT_EQ(form->text(u"Meter"_s), u"250");

    // Another category overwrites unit, accounts and schedule.
    form->setText(u"UnitName"_s, u"Ltr"_s);
    form->setText(u"CostCategory"_s, u"FUEL"_s);
    ASSERT_TRUE(definition.left(*form, u"CostCategory"_s));
    EXPECT_EQ(form->text(u"UnitName"_s), u"Gal");
    EXPECT_EQ(form->choice(u"ScheduleType"_s), 0);

    ASSERT_TRUE(form->save()) << prompter.texts().join(u'\n').toStdString();
    EQCost stored;
    stored.RecordID = u"TRK-101   FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", stored).isOk());
    EXPECT_EQ(stored.EquipmentID, u"TRK-101");
    EXPECT_EQ(stored.ControlCredit, u"6300") << "the contra account comes with the category";

    KeyedListModel model(company.file<EQCost>(), EquipmentCostScreens::list(session).columns);
    model.setKey(u"KeyEquipmentID"_s);
    model.setRange({u"TRK-101"_s}, {u"TRK-101"_s});
    model.reload();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), u"Dump Truck");
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), u"FUEL costs");
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
