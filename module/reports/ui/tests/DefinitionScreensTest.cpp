#include "reports/ui/DefinitionScreens.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "reports/DefinitionForms.h"
#include "reports/ReportSelection.h"

#include "testing/ModuleFormTest.h"

#include "data/suite/SystemFiles.h"

#include "core/Text.h"
#include "core/testing/QtPrinters.h"

#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::FormDriver;

namespace {

class DefinitionScreensTest : public qaveq::testing::ModuleFormTest
{
protected:
    QStringList printed;
    ReportDefinitions::Caller print = [this](const QString &procedure) {
        printed.append(procedure + u' ' + session.reportFilter);
    };

    DefinitionScreensTest()
    {
        for (const QString &id : {u"ADM"_s, u"EQM"_s}) {
            UserFile user;
            user.UserID = id;
            EXPECT_TRUE(company.file<UserFile>().insert(user).isOk());
        }
        EQHeader truck;
        truck.EquipmentID = u"TRK-101"_s;
        truck.Description = u"Dump Truck"_s;
        EXPECT_TRUE(company.file<EQHeader>().insert(truck).isOk());
    }

    quint32 add(const QString &report, const QString &title, const QString &owner = u"ADM"_s,
                quint8 locked = 0)
    {
        EQLimits definition;
        definition.Report = report;
        definition.ReportTitle = title;
        definition.UserID = owner;
        definition.Locked = locked;
        definition.ReportType = u"A"_s;
        definition.SelectedEquipment = 2;
        EXPECT_TRUE(company.file<EQLimits>().insert(definition).isOk());
        LimList entry;
        entry.FileName = u"EQLimits"_s;
        entry.LimitID = static_cast<qint32>(definition.LimitID);
        entry.Kind = ListKind::Equipment;
        entry.Value = u"TRK-101"_s;
        EXPECT_TRUE(company.file<LimList>().insert(entry).isOk());
        return definition.LimitID;
    }

    std::unique_ptr<FormDriver> open(ReportFamily family, data::Request request, quint32 id = 0)
    {
        session.buffer<EQLimits>() = EQLimits{};
        session.buffer<EQLimits>().LimitID = id;
        return openForm(DefinitionForms::definition(family, print), request);
    }

    EQLimits stored(quint32 id)
    {
        EQLimits definition;
        definition.LimitID = id;
        EXPECT_TRUE(company.file<EQLimits>().fetch(u"KeyLimitID", definition).isOk());
        return definition;
    }

    qint64 entries(quint32 id)
    {
        return company.file<LimList>()
            .scan(u"KeyLimit", data::ScanOptions::equal({u"EQLimits"_s, qint64(id)}))
            .count();
    }

    static QPushButton *button(FormDriver &form, const QString &text)
    {
        for (QPushButton *b : form.view->findChildren<QPushButton *>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
};

TEST_F(DefinitionScreensTest, AnAnalysisDefinitionTypedInIsCheckedAndSavedWithEnter)
{
    auto form = open(ReportFamily::Analysis, data::Request::Insert);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->model.caption(), u"Adding an Equipment Analysis Report  (New)");
    form->click(u"EQLM:ReportTitle");
    form->type(u"Trucks this year"_s);
    form->key(Qt::Key_Tab);
    EXPECT_FALSE(form->view->editor(u"EQLM:EquipmentFrom")->isEnabled()) << "All: no range";
    form->model.choose(u"EQLM:SelectedEquipment", qint64(1));
    FormDriver::settle();
    ASSERT_TRUE(form->view->editor(u"EQLM:EquipmentFrom")->isEnabled());
    EXPECT_FALSE(button(*form, u"Edit List"_s)->isEnabled());

    // An equipment not on file opens the equipment list; cancelling it keeps
    // the cursor in the entry.
    form->click(u"EQLM:EquipmentFrom");
    form->type(u"NOPE"_s);
    form->key(Qt::Key_Tab);
    EXPECT_EQ(picker.asked(), QStringList{u"BROWSEEQHEADER:NOPE"_s});
    EXPECT_EQ(form->focused(), u"EQLM:EquipmentFrom");
    picker.answerNext(u"TRK-101"_s);
    form->type(u"TRK"_s);
    form->key(Qt::Key_Tab);
    EXPECT_EQ(form->entry(u"EQLM:EquipmentFrom")->text(), u"TRK-101");
    EXPECT_EQ(form->model.text(u"LOC:EquipmentFromText"), u"Dump Truck");

    // The cost categories only for the usage / cost analysis.
    EXPECT_TRUE(form->view->editor(u"EQLM:SelectedCategory")->isEnabled());
    form->model.choose(u"EQLM:ReportType", u"S"_s);
    FormDriver::settle();
    EXPECT_FALSE(form->view->editor(u"EQLM:SelectedCategory")->isEnabled());
    // Listing schedules that cannot be worked out is the maintenance
    // schedule's own option.
    EXPECT_TRUE(form->view->editor(u"EQLM:PrintTransactionDetail")->isHidden());
    form->model.choose(u"EQLM:ReportType", u"M"_s);
    FormDriver::settle();
    EXPECT_FALSE(form->view->editor(u"EQLM:PrintTransactionDetail")->isHidden());
    form->model.choose(u"EQLM:ReportType", u"S"_s);
    FormDriver::settle();

    form->click(u"EQLM:ReportTitle");
    form->key(Qt::Key_Return);
    ASSERT_FALSE(form->view->isVisible());
    const EQLimits saved = stored(1);
    EXPECT_EQ(Text::clip(saved.ReportTitle), u"Trucks this year");
    EXPECT_EQ(saved.Report, u"Analysis");
    EXPECT_EQ(saved.UserID, u"ADM");
    EXPECT_EQ(saved.EquipmentFrom, u"TRK-101");
    EXPECT_EQ(saved.QuantityAnalysis, u"D");
    EXPECT_EQ(saved.Orientation, u"P");
    EXPECT_EQ(saved.ModifyDate, SuiteDate::fromYmd(2026, 3, 15));
}

TEST_F(DefinitionScreensTest, AnotherUsersLockedDefinitionCannotBeChanged)
{
    const quint32 locked = add(u"Detail"_s, u"EQM's own"_s, u"EQM"_s, 1);
    auto form = open(ReportFamily::Detail, data::Request::Change, locked);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->model.caption(), u"Changing an Equipment Detail Report  (EQM's own)");
    for (const QString &field : {u"EQLM:ReportTitle"_s, u"EQLM:Locked"_s,
                                 u"EQLM:SelectedEquipment"_s, u"EQLM:JournalFrom"_s})
        EXPECT_FALSE(form->view->editor(field)->isEnabled()) << field.toStdString();
    EXPECT_FALSE(button(*form, u"Load Defaults"_s)->isEnabled());

    session.userId = u"EQM"_s;
    auto owner = open(ReportFamily::Detail, data::Request::Change, locked);
    EXPECT_TRUE(owner->view->editor(u"EQLM:ReportTitle")->isEnabled());
}

TEST_F(DefinitionScreensTest, LoadDefaultsDropsTheListsOfADetailDefinitionButNotOfAnAnalysis)
{
    const quint32 detail = add(u"Detail"_s, u"Detail one"_s);
    auto form = open(ReportFamily::Detail, data::Request::Change, detail);
    prompter.answerNext(1);
    button(*form, u"Load Defaults"_s)->click();
    FormDriver::settle();
    EXPECT_EQ(prompter.shown().last().caption, u"Confirm Loading Default Limits");
    EXPECT_EQ(entries(detail), 0);
    EXPECT_EQ(form->model.value(u"SelectedEquipment"), data::FieldValue(qint64(0)));
    EXPECT_EQ(form->model.code(u"ReportTitle"), u"Detail one");
    EXPECT_EQ(form->model.value(u"LOC:IncludeRental"), data::FieldValue(qint64(1)));
    form->model.choose(u"SelectedFP", qint64(1));
    picker.answerNext(u"23"_s);
    EXPECT_FALSE(form->model.lookUp(u"FPFrom")) << "the fiscal periods' list";
    EXPECT_TRUE(picker.asked().last().startsWith(u"BROWSEGLFISCAL:"_s));
    EXPECT_EQ(form->model.text(u"FPFrom").trimmed(), u"23");

    const quint32 analysis = add(u"Analysis"_s, u"Analysis one"_s);
    auto other = open(ReportFamily::Analysis, data::Request::Change, analysis);
    prompter.answerNext(2); // No: nothing changes
    button(*other, u"Load Defaults"_s)->click();
    EXPECT_EQ(other->model.value(u"SelectedEquipment"), data::FieldValue(qint64(2)));
    prompter.answerNext(1);
    button(*other, u"Load Defaults"_s)->click();
    EXPECT_EQ(other->model.value(u"SelectedEquipment"), data::FieldValue(qint64(0)));
    EXPECT_EQ(entries(analysis), 1) << "an analysis definition keeps its lists";
}

TEST_F(DefinitionScreensTest, SaveAndPrintWritesFirstSaveAndViewRefusesTheMaintenanceSchedule)
{
    auto form = open(ReportFamily::Analysis, data::Request::Insert);
    form->click(u"EQLM:ReportTitle");
    form->type(u"Printed at once"_s);
    session.printPreview = false;
    button(*form, u"Save and &Print"_s)->click();
    FormDriver::settle();
    EXPECT_EQ(printed, QStringList{u"PRINTEQANALYSISSERVER 1"_s});
    EXPECT_EQ(Text::clip(stored(1).ReportTitle), u"Printed at once");
    EXPECT_TRUE(session.printPreview);
    EXPECT_TRUE(form->view->isVisible()) << "the form stays open";

    form->model.choose(u"EQLM:ReportType", u"M"_s);
    button(*form, u"Save and &View"_s)->click();
    FormDriver::settle();
    EXPECT_EQ(prompter.shown().last().caption, u"View Not Available");
    EXPECT_EQ(printed.size(), 1);
    EXPECT_EQ(stored(1).ReportType, u"A") << "refused before anything was written";
    form->model.choose(u"EQLM:ReportType", u"S"_s);
    button(*form, u"Save and &View"_s)->click();
    EXPECT_EQ(session.reportViewMode, 2);
    EXPECT_EQ(printed.size(), 2);
    EXPECT_EQ(company.file<EQLimits>().count(), 1) << "changed, not added again";
}

TEST_F(DefinitionScreensTest, EditListStoresANewDefinitionFirstSoItsEntriesHaveItsNumber)
{
    auto form = open(ReportFamily::Listing, data::Request::Insert);
    form->click(u"EQLM:ReportTitle");
    form->type(u"Listed trucks"_s);
    form->model.choose(u"EQLM:SelectedEquipment", qint64(2));
    FormDriver::settle();
    QPushButton *edit = button(*form, u"Edit List"_s);
    ASSERT_TRUE(edit->isEnabled());
    edit->click();
    FormDriver::settle();
    EXPECT_EQ(picker.asked(), QStringList{u"UPDATELIMLIST Equipment:1"_s});
    EXPECT_EQ(Text::clip(stored(1).ReportTitle), u"Listed trucks");
    edit->click();
    FormDriver::settle();
    EXPECT_EQ(company.file<EQLimits>().count(), 1) << "stored once, then changed";
}

TEST_F(DefinitionScreensTest, TheReadOnlyUserMayLookButNotAdd)
{
    session.userId = u"VEW"_s;
    session.equipmentReadOnly = true;
    EXPECT_FALSE(open(ReportFamily::Category, data::Request::Insert)->isOpen());
    EXPECT_EQ(prompter.shown().last().caption, u"Insufficient Access");
    const quint32 category = add(u"Category List"_s, u"Categories"_s);
    EXPECT_TRUE(open(ReportFamily::Category, data::Request::View, category)->isOpen());
}

TEST_F(DefinitionScreensTest, TheListShowsOneFamilyAndOpenedFromAFavouriteOnlyThatDefinition)
{
    add(u"Analysis"_s, u"Zeta"_s);
    const quint32 alpha = add(u"Analysis"_s, u"Alpha"_s);
    add(u"Detail"_s, u"Other family"_s);
    DefinitionScreens::ListState state;
    ListWindow window(
        DefinitionScreens::list(ReportFamily::Analysis, session, prompter, clock, state, {}),
        session, prompter, {});
    state.window = &window;
    window.model().reload();
    ASSERT_EQ(window.model().rowCount(), 2);
    EXPECT_EQ(window.model().data(window.model().index(0, 0)).toString().trimmed(), u"Alpha");
    QStringList buttons;
    for (const QPushButton *b : window.findChildren<QPushButton *>())
        buttons.append(b->text());
    for (const QString &wanted :
         {u"&Add"_s, u"&Change"_s, u"&Delete"_s, u"Add to Favorite Reports"_s,
          u"Duplicate Highlighted Report"_s, u"&Print"_s, u"&View"_s})
        EXPECT_TRUE(buttons.contains(wanted)) << wanted.toStdString();
    EXPECT_EQ(buttons.count(u"&View"_s), 1) << "View prints on screen; no form view button";

    DefinitionScreens::ListState favourite{.favourite = alpha};
    ListWindow one(
        DefinitionScreens::list(ReportFamily::Analysis, session, prompter, clock, favourite, {}),
        session, prompter, {});
    one.model().reload();
    EXPECT_EQ(one.model().rowCount(), 1);
    QStringList shown;
    for (const QPushButton *b : one.findChildren<QPushButton *>())
        shown.append(b->text());
    EXPECT_FALSE(shown.contains(u"&Add"_s));
    EXPECT_FALSE(shown.contains(u"&Delete"_s));
    EXPECT_FALSE(shown.contains(u"Add to Favorite Reports"_s));
    EXPECT_TRUE(shown.contains(u"&Print"_s));
}

} // namespace
