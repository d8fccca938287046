#include "equipment/EquipmentForm.h"
#include "equipment/Attachments.h"
#include "equipment/ui/EquipmentFormScreen.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/GLDepr.h"
#include "records/ModuleFiles.h"
#include "records/Notes.h"
#include "testing/ReportTesting.h"

#include "testing/ModuleFormTest.h"

#include "runtime/AutoEntry.h"
#include "runtime/widgets/FormChildList.h"
#include "runtime/widgets/Icons.h"

#include "data/Company.h"
#include "data/ErrorManager.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::FormDriver;

namespace {

class EquipmentFormTest : public qaveq::testing::ModuleFormTest
{
protected:
    QStringList called;
    QList<std::pair<bool, bool>> printed;
    QList<QStringList> notesPrinted; // each notes report's text, as exported
    std::function<void()> onCall;    // what the procedure called does

    EquipmentFormTest()
    {
        session.costCodeLength = 6;
        data::Session::setCurrent(&session);
        EQHeader loader;
        loader.EquipmentID = u"LDR-1"_s;
        loader.Description = u"Wheel Loader"_s;
        loader.PurchaseDate = SuiteDate::fromYmd(2025, 12, 10);
        loader.PurchaseValue = Decimal(1300);
        loader.SalvageValue = Decimal(100);
        loader.DepreciationYears = 12;
        EXPECT_TRUE(company.file<EQHeader>().insert(loader).isOk());
    }
    ~EquipmentFormTest() override { data::Session::setCurrent(nullptr); }

    std::unique_ptr<FormDriver> open(data::Request request, const QString &id = {})
    {
        session.buffer<EQHeader>() = EQHeader();
        session.buffer<EQHeader>().EquipmentID = id;
        EquipmentForm::Actions actions{
            .print =
                [this](bool schedule, bool graphs) {
                    printed.append({schedule, graphs});
                },
            .printNotes =
                [this](ReportPass &notes) {
                    OutputState output;
                    qaveq::testing::RecordingDevices devices;
                    devices.pressExport = true;
                    ReportRun(notes, {session, output, devices, prompter, clock, {}}).run();
                    notesPrinted.append(devices.exports.value(0));
                },
        };
        FormExtras extras{.caller = [this](const QString &procedure) {
            called.append(procedure);
            if (onCall)
                onCall();
        }};
        return openForm(EquipmentForm::definition(session, actions), request, std::move(extras));
    }

    std::optional<EQHeader> stored(const QString &id)
    {
        EQHeader equipment;
        equipment.EquipmentID = id;
        if (!company.file<EQHeader>().fetch(u"KeyEquipmentID", equipment))
            return std::nullopt;
        return equipment;
    }

    static QPushButton *button(FormDriver &form, const QString &text)
    {
        for (QPushButton *each : form.view->findChildren<QPushButton *>())
            if (each->text() == text && each->isVisible())
                return each;
        return nullptr;
    }

    static FormChildList *list(FormDriver &form, QStringView field)
    {
        return qobject_cast<FormChildList *>(form.view->editor(field)->parentWidget());
    }
};

TEST_F(EquipmentFormTest, ANewEquipmentIsCheckedDescriptionFirstThenStored)
{
    session.logUserActivity = 2;
    auto form = open(data::Request::Insert);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->view->windowTitle(), u"Adding an Equipment Record  (New)");
    EXPECT_EQ(form->view->findChild<QTabWidget *>()->count(), 7);
    form->click(u"EquipmentID");
    form->key(Qt::Key_Return);
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().last().caption, u"Required Field");
    EXPECT_EQ(prompter.shown().last().text, u"Description is Required") << "description first";
    EXPECT_EQ(form->focused(), u"EQH:Description");
    form->type(u"Dozer"_s);
    form->key(Qt::Key_Return);
    EXPECT_EQ(prompter.shown().last().text, u"Equipment ID is Required");
    EXPECT_EQ(form->focused(), u"EQH:EquipmentID");
    form->type(u"42"_s);
    form->key(Qt::Key_Return);
    ASSERT_TRUE(stored(u"42"_s));
    EXPECT_EQ(stored(u"42"_s)->EquipmentSortID, u"0000000042");
    EXPECT_EQ(stored(u"42"_s)->Attachments, 0);

    UserLog entry;
    data::KeyCursor cursor = company.file<UserLog>().scan(u"KeyRecordID");
    ASSERT_TRUE(cursor.next(entry));
    EXPECT_EQ(entry.Text, u"Added equipment (42) Dozer");
    EXPECT_EQ(entry.Area, u"EQ Equipment Setup");
}

TEST_F(EquipmentFormTest, TypedValuesAreRememberedOnOkAndOfferedAgain)
{
    QTemporaryDir data;
    AutoEntry::setCurrent(std::make_unique<AutoEntry>(data.filePath(u"EasyAutoEntry.tps"_s)));
    const auto off = qScopeGuard([] { AutoEntry::setCurrent(nullptr); });
    {
        auto form = open(data::Request::Insert);
        form->click(u"Description");
        form->type(u"Dozer"_s);
        form->click(u"EquipmentID");
        form->type(u"DZR-9"_s);
        form->click(u"Make");
        form->type(u"Granite Works"_s);
        form->key(Qt::Key_Return);
        ASSERT_TRUE(stored(u"DZR-9"_s));
    }
    auto form = open(data::Request::Insert);
    form->click(u"Make");
    form->type(u"gr"_s);
    QCompleter *offered = static_cast<QLineEdit *>(form->view->editor(u"EQH:Make"))->completer();
    ASSERT_TRUE(offered);
    EXPECT_EQ(offered->completionCount(), 1);
    EXPECT_EQ(offered->currentCompletion(), u"Granite Works");
    EXPECT_FALSE(
        static_cast<QLineEdit *>(form->view->editor(u"EQH:OperatorEmployeeID"))->completer())
        << "a code with its own lookup offers no typed values";

    AutoEntry::setCurrent(nullptr);
    form->type(u"a"_s);
    EXPECT_EQ(offered->completionCount(), 0) << "switched off, nothing is offered";
}

TEST_F(EquipmentFormTest, AReadOnlyUserMayLookButChangesNothing)
{
    session.equipmentReadOnly = true;
    session.userId = u"VEW"_s;
    EXPECT_FALSE(open(data::Request::Insert)->isOpen());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().last().caption, u"Insufficient Access");
    auto form = open(data::Request::Change, u"LDR-1"_s);
    ASSERT_TRUE(form->isOpen()) << "a read-only user opens the record to look at it";
    EXPECT_EQ(form->model.request(), data::Request::View) << "in view mode, said by its title";
    EXPECT_EQ(form->view->windowTitle(), u"Viewing an Equipment Record  (Wheel Loader)");
    EXPECT_EQ(prompter.shown().size(), 1) << "opening it to look is no refusal";
    EXPECT_FALSE(form->model.isEditable());
    EXPECT_EQ(form->model.askCancel(), forms::FormModel::CancelAnswer::Close)
        << "Cancel asks nothing: nothing could be changed";
    form->key(Qt::Key_Return);
    EXPECT_EQ(stored(u"LDR-1"_s)->Description, u"Wheel Loader");

    const int before = static_cast<int>(prompter.shown().size());
    list(*form, u"LOC:ScheduleByMonth")->call(data::Request::Insert);
    EXPECT_EQ(prompter.shown().size(), before + 1) << "Add in a tab is refused too";
    EXPECT_TRUE(called.isEmpty());
}

TEST_F(EquipmentFormTest, TheChargeDestinationShowsExactlyItsFields)
{
    auto form = open(data::Request::Change, u"LDR-1"_s);
    form->view->findChild<QTabWidget *>()->setCurrentIndex(1);
    auto *destination = qobject_cast<QComboBox *>(form->view->editor(u"DestinationType"));
    const auto shown = [&] {
        QString fields;
        for (const QString &field : {u"DestinationAccount"_s, u"DestinationCategory"_s,
                                     u"DestinationJob"_s, u"DestinationCostCode"_s})
            fields += form->view->editor(field)->isVisible() ? u'1' : u'0';
        return fields;
    };
    EXPECT_EQ(shown(), u"0000") << "a blank destination is none";
    for (const auto &[index, fields] :
         {std::pair{1, u"1000"_s}, {2, u"0100"_s}, {3, u"0011"_s}, {0, u"0000"_s}}) {
        destination->setCurrentIndex(index);
        EXPECT_EQ(shown(), fields) << destination->currentText().toStdString();
    }
}

TEST_F(EquipmentFormTest, ChargeJobsAndCostCodesFollowTheJobRules)
{
    for (const auto &[id, name, active, closed] :
         {std::tuple{u"2401"_s, u"Main Street"_s, true, false},
          {u"2402"_s, u"Oak Bridge"_s, false, false},
          {u"2403"_s, u"Old Yard"_s, true, true}}) {
        JCHeader job;
        job.JobID = id;
        job.Name = name;
        job.Active = active;
        job.Closed = closed;
        job.ImportantNote = id == u"2402" ? u"Lane closures only"_s : QString();
        ASSERT_TRUE(company.file<JCHeader>().insert(job).isOk());
    }
    for (const auto &[code, type, inactive] :
         {std::tuple{u"030100L"_s, u"L"_s, false}, {u"030100G"_s, u"G"_s, true}}) {
        JCCost cost;
        cost.JobID = u"2401"_s;
        cost.CostCode = code;
        cost.CostType = type;
        cost.Inactive = inactive;
        ASSERT_TRUE(company.file<JCCost>().insert(cost).isOk());
    }
    auto form = open(data::Request::Change, u"LDR-1"_s);
    form->view->findChild<QTabWidget *>()->setCurrentIndex(1);
    qobject_cast<QComboBox *>(form->view->editor(u"DestinationType"))->setCurrentIndex(3);

    EXPECT_TRUE(form->model.edit(u"DestinationJob", u"2403"_s)) << "a closed job is refused";
    EXPECT_EQ(prompter.shown().last().caption, u"Job is Closed");
    prompter.answerNext(2);
    EXPECT_TRUE(form->model.edit(u"DestinationJob", u"Oak"_s))
        << "found by its name, inactive, and No keeps the cursor";
    EXPECT_EQ(prompter.shown().last().caption, u"Confirm Charge to Inactive Job");
    prompter.answerNext(1);
    EXPECT_FALSE(form->model.edit(u"DestinationJob", u"2402"_s));
    EXPECT_EQ(prompter.shown().last().caption, u"Important Job Note");
    EXPECT_EQ(prompter.shown().last().icon, Message::Icon::Bell);

    ASSERT_FALSE(form->model.edit(u"DestinationJob", u"2401"_s));
    EXPECT_FALSE(form->model.edit(u"DestinationCostCode", u"0301001"_s)) << "labour";
    EXPECT_EQ(form->model.code(u"DestinationCostCode"), u"030100L") << "1 is labour";
    EXPECT_TRUE(form->model.edit(u"DestinationCostCode", u"0301006"_s));
    EXPECT_EQ(prompter.shown().last().caption, u"Cannot Select Inactive Cost Code");
    EXPECT_TRUE(form->model.edit(u"DestinationCostCode", u"0301002"_s));
    EXPECT_EQ(picker.asked().last(), u"BROWSEJCCOST:030100M") << "a missing code opens the list";
    EXPECT_EQ(session.jobField, u"2401") << "of the job's cost codes";
}

TEST_F(EquipmentFormTest, TheScheduleIsCalculatedOnceAndPrintedFromTheSavedRecord)
{
    auto form = open(data::Request::Change, u"LDR-1"_s);
    form->view->findChild<QTabWidget *>()->setCurrentIndex(1);
    button(*form, u"C&alculate Schedule"_s)->click();
    button(*form, u"C&alculate Schedule"_s)->click();
    EXPECT_EQ(company.file<GLDepr>().count(), 12) << "a second run updates the same months";
    EXPECT_EQ(list(*form, u"LOC:ScheduleByMonth")->rowCount(), 12);
    EXPECT_EQ(list(*form, u"LOC:ScheduleByYear")->rowCount(), 2);
    const auto firstAmount = [&] {
        return list(*form, u"LOC:ScheduleByMonth")->view()->model()->index(0, 1).data().toString();
    };
    EXPECT_EQ(firstAmount(), u"100.00") << "straight line: 1,200.00 over 12 months";
    form->model.choose(u"DepreciationMethod", qint64(3));
    EXPECT_EQ(firstAmount(), u"216.67") << "the declining balance's own figures: 1,300.00 / 6";

    form->click(u"Description");
    form->type(u"Loader 950"_s);
    prompter.answerNext(3);
    button(*form, u"Print"_s)->click();
    EXPECT_EQ(printed, (QList<std::pair<bool, bool>>{{true, true}})) << "Both";
    EXPECT_EQ(stored(u"LDR-1"_s)->Description, u"Loader 950") << "saved before printing";
    prompter.answerNext(4);
    button(*form, u"Print"_s)->click();
    EXPECT_EQ(printed.size(), 1) << "Cancel prints nothing";

    form->view->findChild<QTabWidget *>()->setCurrentIndex(0);
    ASSERT_TRUE(button(*form, u"Recalculate"_s));
    button(*form, u"Recalculate"_s)->click();
    EXPECT_EQ(prompter.shown().last().caption, u"Unable to Recalculate Average");
}

TEST_F(EquipmentFormTest, TaggedNotesArePrintedOldestFirst)
{
    for (const auto &[day, heading] :
         {std::pair{12, u"Tyres"_s}, std::pair{3, u"Hydraulics"_s}, std::pair{20, u"Bucket"_s}}) {
        Notes note;
        note.EntityID = u"LDR-1"_s;
        note.EntityType = u"EQHeader"_s;
        note.Date = SuiteDate::fromYmd(2026, 2, day);
        note.Heading = heading;
        note.Note = heading + u" checked and greased; the operator reported nothing further "
                              u"worth a visit from the fitter this month."_s;
        ASSERT_TRUE(company.file<Notes>().insert(note).isOk());
    }
    auto form = open(data::Request::Change, u"LDR-1"_s);
    form->view->findChild<QTabWidget *>()->setCurrentIndex(5);
    FormChildList *notes = list(*form, u"LOC:Notes");
    ASSERT_EQ(notes->rowCount(), 3);

    button(*form, u"Print"_s)->click();
    EXPECT_TRUE(notesPrinted.isEmpty());
    EXPECT_EQ(prompter.shown().last().caption, u"Print Notes") << "nothing tagged yet";

    notes->view()->selectRow(0);
    button(*form, u"&Tag"_s)->click();
    button(*form, u"Print"_s)->click();
    ASSERT_EQ(notesPrinted.size(), 1);
    const QStringList one = notesPrinted.last().filter(u"checked and greased"_s);
    ASSERT_EQ(one.size(), 1);
    EXPECT_TRUE(one.first().startsWith(u"2/12/26\tTyres\t"_s)) << one.first().toStdString();
    EXPECT_TRUE(notesPrinted.last().contains(u"Notes for Equipment (LDR-1) Wheel Loader"_s));

    button(*form, u"Tag &all"_s)->click();
    button(*form, u"Print"_s)->click();
    const QStringList all = notesPrinted.last().filter(u"checked and greased"_s);
    ASSERT_EQ(all.size(), 3);
    EXPECT_TRUE(all[0].contains(u"Hydraulics"_s));
    EXPECT_TRUE(all[1].contains(u"Tyres"_s));
    EXPECT_TRUE(all[2].contains(u"Bucket"_s));

    notes->view()->selectRow(0);
    button(*form, u"&Tag"_s)->click(); // untags it
    button(*form, u"Print"_s)->click();
    EXPECT_EQ(notesPrinted.last().filter(u"checked and greased"_s).size(), 2);

    notes->call(data::Request::Insert);
    EXPECT_EQ(called.last(), u"UPDATENOTES") << "a new note is written in the notes form";
    EXPECT_EQ(session.buffer<Notes>().EntityID, u"LDR-1");
    EXPECT_EQ(session.buffer<Notes>().EntityType, u"EQHeader");
}

TEST_F(EquipmentFormTest, EveryTabOpensWithTheWindowsPartsAndTheAttachmentsShowTheirKind)
{
    QTemporaryDir files;
    const QString manual = files.filePath(u"manual.pdf"_s);
    QFile pdf(manual);
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4");
    pdf.close();
    ASSERT_EQ(
        Attachments::attach(session, prompter, clock, u"LDR-1"_s, u"Wheel Loader"_s, {manual}), 1);

    data::ErrorManager errors(u"EQUIPMENT"_s, &prompter);
    session.globalRequest = data::Request::Change;
    session.buffer<EQHeader>() = *stored(u"LDR-1"_s);
    FormDriver form(EquipmentForm::definition(session, {}), session, prompter, picker, clock,
                    warnings, EquipmentFormScreen::extras(errors));
    auto *tabs = form.view->findChild<QTabWidget *>();
    for (int tab = 0; tab < tabs->count(); ++tab)
        tabs->setCurrentIndex(tab);
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_TRUE(prompter.shown().isEmpty());

    QTableView *attachments = nullptr;
    for (QTableView *view : tabs->widget(6)->findChildren<QTableView *>())
        attachments = view->model()->rowCount() == 1 ? view : attachments;
    ASSERT_TRUE(attachments);
    EXPECT_FALSE(attachments->model()
                     ->data(attachments->model()->index(0, 0), Qt::DecorationRole)
                     .value<QIcon>()
                     .isNull())
        << "the kind's picture in the first column";
    int pictures = 0;
    for (QLabel *label : tabs->widget(6)->findChildren<QLabel *>())
        pictures += label->pixmap().isNull() ? 0 : 1;
    EXPECT_EQ(pictures, 1) << "the preview shows the PDF's picture";
}

TEST_F(EquipmentFormTest, NoTwoControlsInSightShareAnAccessKeyAndThePhotographTabIsNeverBlank)
{
    data::ErrorManager errors(u"EQUIPMENT"_s, &prompter);
    session.globalRequest = data::Request::Change;
    session.buffer<EQHeader>() = *stored(u"LDR-1"_s);
    FormDriver form(EquipmentForm::definition(session, {}), session, prompter, picker, clock,
                    warnings, EquipmentFormScreen::extras(errors));
    const auto key = [](const QString &text) {
        const qsizetype at = text.indexOf(u'&');
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
    };
    auto *tabs = form.view->findChild<QTabWidget *>();
    QStringList shared;
    for (int tab = 0; tab < tabs->count(); ++tab)
        shared.append(tabs->tabText(tab));
    for (const QAbstractButton *button : form.view->findChild<QDialogButtonBox *>()->buttons())
        shared.append(button->text());
    for (int tab = 0; tab < tabs->count(); ++tab) {
        QStringList inSight = shared;
        for (const QAbstractButton *button : tabs->widget(tab)->findChildren<QAbstractButton *>())
            inSight.append(button->text());
        QMap<QChar, QString> owners;
        for (const QString &text : std::as_const(inSight)) {
            const QChar letter = key(text);
            if (letter.isNull())
                continue;
            EXPECT_FALSE(owners.contains(letter))
                << tabs->tabText(tab).toStdString() << ": " << text.toStdString() << " and "
                << owners.value(letter).toStdString();
            owners.insert(letter, text);
        }
        if (tab == 2) {
            EXPECT_EQ(owners.value(u'C'), u"&Cost Categories") << "Alt+C is the tab's";
        }
    }

    int pictures = 0;
    for (QLabel *label : tabs->widget(4)->findChildren<QLabel *>())
        pictures += label->pixmap().isNull() ? 0 : 1;
    EXPECT_EQ(pictures, 1) << "a record without a photograph shows the \"no photo\" picture";
}

TEST_F(EquipmentFormTest, ACategoryWithPostedCostsStays)
{
    EQCost cost;
    cost.RecordID = u"LDR-1     FUEL"_s;
    cost.EquipmentID = u"LDR-1"_s;
    cost.CostCategory = u"FUEL"_s;
    cost.CumulativeAmount = Decimal(5);
    ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    auto form = open(data::Request::Change, u"LDR-1"_s);
    FormChildList *categories = list(*form, u"LOC:CostCategories");
    ASSERT_EQ(categories->rowCount(), 6) << "one category, then the five totals rows";
    categories->view()->selectRow(0);
    categories->call(data::Request::Delete);
    EXPECT_EQ(prompter.shown().last().caption, u"Cannot Delete");
    EXPECT_TRUE(called.isEmpty());
    categories->call(data::Request::Change);
    EXPECT_EQ(called, QStringList{u"UPDATEEQCOST"_s});
}

TEST_F(EquipmentFormTest, ACategoryAddedOnOneTabShowsOnTheServiceScheduleAtOnce)
{
    auto form = open(data::Request::Change, u"LDR-1"_s);
    FormChildList *categories = list(*form, u"LOC:CostCategories");
    FormChildList *schedule = list(*form, u"LOC:ServiceSchedule");
    const int before = schedule->rowCount();
    // The category form the list calls stores a new category with a schedule.
    onCall = [this] {
        EQCost cost;
        cost.RecordID = u"LDR-1     OIL"_s;
        cost.EquipmentID = u"LDR-1"_s;
        cost.CostCategory = u"OIL"_s;
        cost.ScheduleType = u"M"_s;
        cost.Meter = 250;
        cost.MeterName = u"Hours"_s;
        ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
        session.globalResponse = data::Response::Completed;
    };
    categories->call(data::Request::Insert);
    EXPECT_EQ(called, QStringList{u"UPDATEEQCOST"_s});
    EXPECT_EQ(form->model.recordsRevision(u"EQCost"_s), 1);
    EXPECT_EQ(schedule->rowCount(), before + 1) << "the other tab's list read the file again";
}

TEST_F(EquipmentFormTest, AFormWithWordsToTypeOffersTheSpellingCheck)
{
    EXPECT_TRUE(button(*open(data::Request::Change, u"LDR-1"_s), u"Spe&lling"_s));
    session.equipmentReadOnly = true;
    EXPECT_FALSE(button(*open(data::Request::Change, u"LDR-1"_s), u"Spe&lling"_s))
        << "nothing to correct in view mode";
}

TEST_F(EquipmentFormTest, TheWizardWalksThroughThePagesAndIsRemembered)
{
    const auto wizardBox = [](FormDriver &form) {
        for (QCheckBox *box : form.view->findChildren<QCheckBox *>())
            if (box->text() == u"Wizard")
                return box;
        return static_cast<QCheckBox *>(nullptr);
    };
    auto form = open(data::Request::Change, u"LDR-1"_s);
    EXPECT_FALSE(form->view->isWizard());
    QPushButton *ok = button(*form, u"&OK"_s);
    ASSERT_TRUE(ok);
    wizardBox(*form)->click();
    EXPECT_TRUE(form->view->isWizard());
    EXPECT_EQ(ok->text(), u"&Finish");
    EXPECT_TRUE(ok->isEnabled()) << "every required entry is made";
    EXPECT_FALSE(button(*form, u"< &Back"_s)->isEnabled());
    for (int page = 0; page < 6; ++page)
        button(*form, u"&Next >>"_s)->click();
    EXPECT_EQ(form->view->currentPage(), 6);
    EXPECT_FALSE(button(*form, u"&Next >>"_s)->isEnabled());

    form->model.setValue(u"Description", QString());
    ok->click();
    EXPECT_EQ(form->view->currentPage(), 0) << "back to the page of the missing description";
    EXPECT_FALSE(ok->isEnabled()) << "a required entry is missing";
    form.reset();

    // A new record walks through the pages; a stored one opens on its tabs.
    auto added = open(data::Request::Insert);
    EXPECT_TRUE(added->view->isWizard()) << "remembered for this user";
    QPushButton *finish = button(*added, u"&Finish"_s);
    ASSERT_TRUE(finish);
    EXPECT_FALSE(finish->isEnabled()) << "no ID and no description yet";
    added->model.setValue(u"EquipmentID", u"EXC-9"_s);
    added->model.setValue(u"Description", u"Excavator"_s);
    EXPECT_TRUE(finish->isEnabled()) << "Finish before the last page once they are made";
    added.reset();
    EXPECT_FALSE(open(data::Request::Change, u"LDR-1"_s)->view->isWizard());

    session.userId = u"VEW"_s;
    EXPECT_FALSE(open(data::Request::Insert)->view->isWizard()) << "another user's choice";
    session.userId = u"ADM"_s;
    auto again = open(data::Request::Insert);
    ASSERT_TRUE(again->view->isWizard());
    wizardBox(*again)->click();
    EXPECT_EQ(button(*again, u"&OK"_s)->text(), u"&OK");
    again.reset();
    EXPECT_FALSE(open(data::Request::Insert)->view->isWizard());
}

TEST_F(EquipmentFormTest, FromTheLedgerTheEquipmentIsAFixedAsset)
{
    session.equipField = u"GL"_s;
    auto form = open(data::Request::Change, u"LDR-1"_s);
    EXPECT_EQ(form->view->windowTitle(), u"Changing a Fixed Asset Record  (Wheel Loader)");
    EXPECT_TRUE(session.equipField.isEmpty());
    EXPECT_EQ(form->view->windowIcon().pixmap(16).toImage(),
              Icons::icon(u"~gl.ico").pixmap(16).toImage());

    auto again = open(data::Request::Change, u"LDR-1"_s);
    EXPECT_EQ(again->view->windowTitle(), u"Changing an Equipment Record  (Wheel Loader)")
        << "the ledger's word was used once";
    EXPECT_NE(again->view->windowIcon().pixmap(16).toImage(),
              Icons::icon(u"~gl.ico").pixmap(16).toImage());
}

} // namespace
