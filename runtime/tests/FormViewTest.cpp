#include "runtime/TextCase.h"
#include "runtime/testing/FormDriver.h"
#include "runtime/widgets/QtPrompter.h"

#include "suite/Lookups.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "core/testing/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::FormDriver;

namespace {

// The G/L account form of the suite, driven by keys as a user drives it.
class FormViewTest : public ::testing::Test
{
protected:
    qaveq::testing::TestDatabase database{"SQLite"};
    data::Company company{database.settings(), data::Catalog::suite()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    ScriptedPicker picker;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(9, 30))};
    QList<int> warnings;

    FormViewTest() { session.userId = u"ADM"_s; }

    std::unique_ptr<FormDriver> open(data::Request request, const QString &account = {})
    {
        session.globalRequest = request;
        if (!account.isEmpty()) {
            GLMaster stored;
            stored.Account = account;
            EXPECT_TRUE(company.file<GLMaster>().fetch(u"KeyAccount", stored).isOk());
            session.buffer<GLMaster>() = stored;
        }
        return std::make_unique<FormDriver>(suite::accountForm(), session, prompter, picker, clock,
                                            warnings);
    }

    void addAccount(const QString &number, const QString &description)
    {
        GLMaster account;
        account.Account = number;
        account.Description = description;
        account.AccountType = u"E"_s;
        ASSERT_TRUE(company.file<GLMaster>().insert(account).isOk());
    }

    std::optional<GLMaster> stored(const QString &number)
    {
        GLMaster account;
        account.Account = number;
        if (!company.file<GLMaster>().fetch(u"KeyAccount", account))
            return std::nullopt;
        return account;
    }
};

TEST_F(FormViewTest, EnterChecksEveryEntryBeforeAnythingIsStored)
{
    auto form = open(data::Request::Insert);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->view->windowTitle(), u"Adding a G/L Account");
    form->click(u"Account");
    form->type(u"6100"_s);
    form->key(Qt::Key_Return);
    EXPECT_FALSE(stored(u"6100"_s)) << "the description is required";
    EXPECT_EQ(prompter.texts(), QStringList{u"Description is a required entry."_s});
    EXPECT_EQ(form->focused(), u"GLM:Description") << "the cursor waits on what failed";

    form->type(u"Fuel Expense"_s);
    form->key(Qt::Key_Tab);
    auto *type = qobject_cast<QComboBox *>(form->view->editor(u"AccountType"));
    type->setCurrentIndex(4);
    form->click(u"Description");
    form->key(Qt::Key_Return);
    ASSERT_TRUE(stored(u"6100"_s));
    EXPECT_EQ(stored(u"6100"_s)->Description, u"Fuel Expense");
    EXPECT_EQ(stored(u"6100"_s)->AccountType, u"E");
    EXPECT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_FALSE(form->view->isVisible());
}

// What the editors of the window carry themselves: the case an entry keeps
// its text in while the user types, choices read again after a button of the
// form, and an entry that reads as a prompt until it may be changed.
TEST_F(FormViewTest, EntriesKeepTheirCaseListsReadTheirChoicesAgainAndPromptsReadFlat)
{
    QStringList listed{u"A"_s};
    QStringList caseRequests;
    using forms::ControlKind;
    forms::FormDefinition definition{.file = u"GLMaster"_s, .insertCaption = u"Adding"_s};
    definition.values = {{.name = u"LOC:Choice"_s, .width = 5},
                         {.name = u"LOC:Prompt"_s, .width = 20},
                         {.name = u"LOC:Editing"_s, .type = data::FieldType::Integer}};
    definition.caseStore = [&caseRequests](const QString &request) {
        caseRequests.append(request);
        return TextCase::code(TextCase::Mode::AllCaps);
    };
    const auto choices = [&listed](const forms::FormModel &) {
        QList<forms::Choice> read;
        for (const QString &text : std::as_const(listed))
            read.append({text, text});
        return read;
    };
    const auto editing = [](const forms::FormModel &form) {
        return std::get<qint64>(form.value(u"LOC:Editing")) != 0;
    };
    definition.pages = {
        {.groups = {{.rows = forms::column({
                         {.prompt = u"Description"_s,
                          .field = u"GLM:Description"_s,
                          .picture = u"@s30"_s,
                          .textCase = true},
                         {.kind = ControlKind::DropList,
                          .prompt = u"Choice"_s,
                          .field = u"LOC:Choice"_s,
                          .choicesOf = choices},
                         {.kind = ControlKind::Button,
                          .prompt = u"Add B"_s,
                          .onChange = [&listed](forms::FormModel &) { listed.append(u"B"_s); }},
                         {.field = u"LOC:Prompt"_s,
                          .picture = u"@s20"_s,
                          .promptStyle = true,
                          .enabledWhen = editing},
                         {.kind = ControlKind::CheckBox,
                          .prompt = u"Edit Prompts"_s,
                          .field = u"LOC:Editing"_s},
                     })}}}};
    session.globalRequest = data::Request::Insert;
    FormDriver form(definition, session, prompter, picker, clock, warnings);
    ASSERT_TRUE(form.isOpen());

    form.click(u"GLM:Description");
    form.type(u"fuel oil"_s);
    EXPECT_EQ(form.entry(u"GLM:Description")->text(), u"FUEL OIL");
    ASSERT_FALSE(caseRequests.isEmpty());
    EXPECT_EQ(caseRequests.first(), TextCase::queryRequest(u"GLM:Description"_s));

    auto *box = qobject_cast<QComboBox *>(form.view->editor(u"LOC:Choice"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->count(), 1);
    QPushButton *add = nullptr;
    for (QPushButton *button : form.view->findChildren<QPushButton *>())
        if (button->text() == u"Add B")
            add = button;
    ASSERT_TRUE(add);
    add->click();
    EXPECT_EQ(box->count(), 2) << "the button changed the list the form chooses from";
    EXPECT_EQ(form.model.code(u"GLM:Description"), u"FUEL OIL") << "handed over by the button";
    box->setCurrentIndex(1);
    EXPECT_EQ(form.model.code(u"LOC:Choice"), u"B");

    QLineEdit *prompt = form.entry(u"LOC:Prompt");
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(prompt->isReadOnly());
    EXPECT_FALSE(prompt->hasFrame());
    EXPECT_EQ(prompt->focusPolicy(), Qt::NoFocus);
    qobject_cast<QCheckBox *>(form.view->editor(u"LOC:Editing"))->setChecked(true);
    EXPECT_FALSE(prompt->isReadOnly());
    EXPECT_TRUE(prompt->hasFrame());
    EXPECT_EQ(prompt->focusPolicy(), Qt::StrongFocus);
}

TEST_F(FormViewTest, TheTextBeingTypedIsSavedByEnterWithoutLeavingTheEntry)
{
    addAccount(u"6100"_s, u"Fuel"_s);
    auto form = open(data::Request::Change, u"6100"_s);
    EXPECT_EQ(form->entry(u"Description")->text(), u"Fuel");
    form->click(u"Description");
    form->type(u"Fuel and Oil"_s);
    form->key(Qt::Key_Return);
    EXPECT_EQ(stored(u"6100"_s)->Description, u"Fuel and Oil");
}

TEST_F(FormViewTest, AnAccountInUseIsNeitherDeletedNorRenumbered)
{
    addAccount(u"6100"_s, u"Fuel"_s);
    Systems systems;
    systems.EquipmentExpenseAccount = u"6100"_s;
    ASSERT_TRUE(company.file<Systems>().insert(systems).isOk());
    GLTrans line;
    line.Account = u"6100"_s;
    ASSERT_TRUE(company.file<GLTrans>().insert(line).isOk());

    auto renumber = open(data::Request::Change, u"6100"_s);
    renumber->click(u"Account");
    renumber->type(u"6105"_s);
    renumber->key(Qt::Key_Return);
    EXPECT_TRUE(stored(u"6100"_s));
    EXPECT_FALSE(stored(u"6105"_s));
    ASSERT_EQ(prompter.texts().size(), 1);
    EXPECT_EQ(prompter.texts().first(),
              u"Account 6100 is used by G/L transactions, the company settings.|It cannot be "
              "renumbered while they name it."_s);

    auto described = open(data::Request::Change, u"6100"_s);
    described->click(u"Description");
    described->type(u"Fuel and Oil"_s);
    described->key(Qt::Key_Return);
    EXPECT_EQ(stored(u"6100"_s)->Description, u"Fuel and Oil") << "its description may change";

    auto remove = open(data::Request::Delete, u"6100"_s);
    EXPECT_FALSE(remove->view->ok());
    EXPECT_TRUE(stored(u"6100"_s));
    EXPECT_TRUE(prompter.texts().last().contains(u"cannot be deleted"_s));

    addAccount(u"6200"_s, u"Unused"_s);
    auto unused = open(data::Request::Delete, u"6200"_s);
    EXPECT_TRUE(unused->view->ok());
    EXPECT_FALSE(stored(u"6200"_s));
    EXPECT_EQ(warnings, QList<int>{32}) << "after the confirmation";
}

TEST_F(FormViewTest, AReadOnlyUserIsRefusedBeforeTheFormOpens)
{
    addAccount(u"6100"_s, u"Fuel"_s);
    session.equipmentReadOnly = true;
    session.userId = u"VEW"_s;
    for (data::Request request :
         {data::Request::Insert, data::Request::Change, data::Request::Delete})
        EXPECT_FALSE(open(request, u"6100"_s)->isOpen());
    EXPECT_EQ(prompter.texts().size(), 3);
    EXPECT_EQ(prompter.texts().first(),
              u"User VEW has read only privileges|in the General Ledger module.");

    auto view = open(data::Request::View, u"6100"_s);
    ASSERT_TRUE(view->isOpen()) << "looking is allowed";
    EXPECT_EQ(view->view->windowTitle(), u"View Record");
    EXPECT_TRUE(view->entry(u"Description")->isReadOnly());
}

TEST_F(FormViewTest, CancelAsksBeforeTypedChangesAreDropped)
{
    addAccount(u"6100"_s, u"Fuel"_s);
    auto form = open(data::Request::Change, u"6100"_s);
    form->click(u"Description");
    form->type(u"Diesel"_s);
    form->key(Qt::Key_Escape);
    EXPECT_EQ(warnings, QList<int>{33}) << "\"Do you want to save the changes to this record?\"";
    EXPECT_EQ(stored(u"6100"_s)->Description, u"Diesel") << "answered Yes";
}

// A job with its cost codes: tabs, a radio group, a display value and a list
// of the job's own cost codes, as the bigger forms are built.
TEST_F(FormViewTest, PagesGroupsRadiosDisplaysAndChildLists)
{
    JCHeader job;
    job.JobID = u"2401"_s;
    job.Name = u"Main Street"_s;
    ASSERT_TRUE(company.file<JCHeader>().insert(job).isOk());
    for (const auto &[jobId, code] : {std::pair{u"2401"_s, u"030100E"_s},
                                      {u"2401"_s, u"030200E"_s},
                                      {u"2402"_s, u"030100E"_s}}) {
        JCCost cost;
        cost.JobID = jobId;
        cost.CostCode = code;
        cost.CostType = u"E"_s;
        ASSERT_TRUE(company.file<JCCost>().insert(cost).isOk());
    }
    session.buffer<JCHeader>() = job;
    using forms::Control;
    using forms::ControlKind;
    const forms::FormDefinition definition{
        .file = u"JCHeader"_s,
        .changeCaption = u"Changing a Job"_s,
        .pages =
            {{.title = u"General"_s,
              .helpTopic = u"html/Jobs.htm"_s,
              .groups =
                  {{.title = u"Job"_s,
                    .rows = {{{{.prompt = u"Job"_s, .field = u"JCH:JobID"_s, .picture = u"@s10"_s},
                               {.kind = ControlKind::Display,
                                .prompt = u"Codes"_s,
                                .field = u"LOC:Codes"_s,
                                .picture = u"@n_4"_s}}},
                             {{{.kind = ControlKind::RadioGroup,
                                .prompt = u"Status"_s,
                                .field = u"JCH:Active"_s,
                                .choices = {{u"Active"_s, u"1"_s}, {u"Inactive"_s, u"0"_s}}}}}}}}},
             {.title = u"Cost Codes"_s,
              .helpTopic = u"html/Cost_Codes.htm"_s,
              .groups = {{.rows = {{{{.kind = ControlKind::ChildList,
                                      .field = u"LOC:CostCodes"_s,
                                      .child = {.file = u"JCCost"_s,
                                                .key = u"KeyJobCodeType"_s,
                                                .rangeFields = {u"JCH:JobID"_s},
                                                .columns = {{u"Code"_s, u"JCC:CostCode"_s,
                                                             u"@s14"_s, 100}},
                                                .form = u"UPDATEJCCOST"_s}}}}}}}}},
        .values = {{.name = u"LOC:Codes"_s, .type = data::FieldType::Integer},
                   {.name = u"LOC:CostCodes"_s, .type = data::FieldType::Integer}},
        .opened = [](forms::FormModel &form) { form.setValue(u"LOC:Codes", qint64(2)); },
    };
    session.globalRequest = data::Request::Change;
    forms::FormModel model(definition, {session, prompter, picker, clock,
                                        [](int, const QString &, const QString &) { return 1; }});
    QStringList called;
    FormView view(model, {.caller = [&](const QString &procedure) {
                      called.append(procedure);
                      EXPECT_EQ(session.globalRequest, data::Request::Insert);
                      EXPECT_EQ(session.buffer<JCCost>().JobID, u"2401")
                          << "a new row belongs to the record";
                  }});
    view.show();

    auto *tabs = view.findChild<QTabWidget *>();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(1), u"Cost Codes");
    EXPECT_EQ(qobject_cast<QLabel *>(view.editor(u"LOC:Codes"))->text(), u"2");

    const QList<QRadioButton *> radios = view.editor(u"Active")->findChildren<QRadioButton *>();
    ASSERT_EQ(radios.size(), 2);
    EXPECT_TRUE(radios[0]->isChecked());
    radios[1]->click();
    EXPECT_EQ(model.value(u"Active"), data::FieldValue(qint64(0)));

    auto *codes = qobject_cast<QTableView *>(view.editor(u"LOC:CostCodes"));
    ASSERT_TRUE(codes);
    EXPECT_EQ(codes->model()->rowCount(), 2) << "only this job's codes";
    tabs->setCurrentIndex(1);
    for (QPushButton *button : tabs->widget(1)->findChildren<QPushButton *>())
        if (button->text() == u"&Add")
            button->click();
    EXPECT_EQ(called, QStringList{u"UPDATEJCCOST"_s});
    EXPECT_EQ(session.globalRequest, data::Request::Change) << "the form's own request is back";

    EXPECT_TRUE(view.ok());
    JCHeader stored;
    stored.JobID = u"2401"_s;
    ASSERT_TRUE(company.file<JCHeader>().fetch(u"KeyJobID", stored).isOk());
    EXPECT_EQ(stored.Active, 0);
}

} // namespace

namespace {

TEST_F(FormViewTest, AViewOverARefusedFormShowsNothingAndDoesNotFail)
{
    session.equipmentReadOnly = true;
    session.globalRequest = data::Request::Insert;
    forms::FormModel model(suite::accountForm(),
                           {session, prompter, picker, clock,
                            [](int, const QString &, const QString &) { return 1; }});
    ASSERT_FALSE(model.isOpen());
    FormView view(model);
    view.run();
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(session.globalResponse, data::Response::Cancelled);
}

} // namespace

TEST(QtPrompterTest, AMessageStandsOverTheOpenDialogRatherThanRaisingTheWindowBehindIt)
{
    QWidget main;
    main.show();
    QDialog preview(&main);
    preview.setModal(true);
    preview.show();
    QtPrompter prompter(&main);
    QWidget *over = nullptr;
    QTimer::singleShot(0, [&over] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            over = box->parentWidget();
            box->done(0);
        }
    });
    prompter.ask(Message{u"Export This Report"_s, u"Export written to /tmp/report.txt"_s, u"&OK"_s,
                         1, Message::Icon::Information});
    EXPECT_EQ(over, &preview);
}
