#include "logs/LogEntryForm.h"
#include "logs/LogEntryMemory.h"
#include "records/EQBatch.h"
#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLogB.h"

#include "testing/ModuleFormTest.h"

#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/JobCostFiles.h"
#include "data/suite/PayrollFiles.h"
#include "data/suite/SystemFiles.h"

#include "core/testing/QtPrinters.h"

#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::FormDriver;

namespace {

class LogEntryFormTest : public qaveq::testing::ModuleFormTest
{
protected:
    LogEntryMemory memory;

    LogEntryFormTest()
    {
        session.costCodeLength = 6;
        data::Session::setCurrent(&session);
        Systems settings;
        settings.ChangeOrders = 1;
        settings.CurrentEarningsAccount = u"3900"_s;
        settings.APControlAccount = u"2000"_s;
        settings.EquipmentCostsAccount = u"5000"_s;
        put(settings);
        put(equipment(u"LDR-1"_s, u"Wheel Loader"_s, 1));
        put(equipment(u"TRK-2"_s, u"Dump Truck"_s, 1));
        put(equipment(u"OLD-9"_s, u"Retired Grader"_s, 0));
        PREmp operatorOf;
        operatorOf.EmployeeID = 101;
        operatorOf.FirstName = u"Dale"_s;
        operatorOf.LastName = u"Ortiz"_s;
        put(operatorOf);
        for (const auto &[id, name, active] :
             {std::tuple{u"2401", u"Riverside Bridge Rehabilitation", 1},
              std::tuple{u"2402", u"Oak Street Road Work", 1},
              std::tuple{u"2403", u"County Road Overlay", 1},
              std::tuple{u"2301", u"Airport Apron Expansion", 0}}) {
            JCHeader job;
            job.JobID = QString::fromUtf16(id);
            job.Name = QString::fromUtf16(name);
            job.Active = quint8(active);
            put(job);
        }
        for (const auto &[code, type, inactive] :
             {std::tuple{u"020300", u"", 0}, std::tuple{u"020300E", u"E", 0},
              std::tuple{u"020300S", u"S", 0}, std::tuple{u"020300M", u"M", 0},
              std::tuple{u"020300G", u"G", 1}}) {
            JCCost cost;
            cost.JobID = u"2401"_s;
            cost.CostCode = QString::fromUtf16(code);
            cost.CostType = QString::fromUtf16(type);
            cost.Description = u"Grading"_s;
            cost.GLAccount = u"5000"_s;
            cost.Inactive = quint8(inactive);
            put(cost);
        }
        JCCOH header;
        header.JobID = u"2401"_s;
        header.ChangeOrder = u"CO-002"_s;
        header.Description = u"Extended Detour Grading"_s;
        put(header);
        JCCOD detail;
        detail.JobID = u"2401"_s;
        detail.ChangeOrder = u"CO-002"_s;
        detail.CostCode = u"020300E"_s;
        put(detail);
        for (const auto &[account, description] :
             {std::pair{u"6110", u"Repairs Expense"}, std::pair{u"2000", u"Accounts Payable"},
              std::pair{u"3900", u"Current Earnings"}, std::pair{u"5000", u"Job Costs"}}) {
            GLMaster ledger;
            ledger.Account = QString::fromUtf16(account);
            ledger.Description = QString::fromUtf16(description);
            put(ledger);
        }
        EQCode category;
        category.CategoryID = u"PM"_s;
        category.Description = u"Preventive Maintenance"_s;
        put(category);
        for (const auto &[owner, account] :
             {std::pair{u"LDR-1", u"6160"}, std::pair{u"TRK-2", u"6170"}}) {
            EQCost cost;
            cost.EquipmentID = QString::fromUtf16(owner);
            cost.CostCategory = u"PM"_s;
            cost.RecordID = cost.EquipmentID.leftJustified(10) + u"PM"_s;
            cost.ControlDebit = QString::fromUtf16(account);
            put(cost);
        }
        EQBatch batch;
        batch.UserID = u"ADM"_s;
        batch.Description = u"Field logs"_s;
        batch.SortID = 1;
        put(batch);
        session.buffer<EQBatch>() = batch;
    }
    ~LogEntryFormTest() override { data::Session::setCurrent(nullptr); }

    template <class R> void put(R &record) { ASSERT_TRUE(company.file<R>().insert(record).isOk()); }
    template <class R> void put(R &&record) { put(record); }

    static EQHeader equipment(const QString &id, const QString &description, quint8 active)
    {
        EQHeader piece;
        piece.EquipmentID = id;
        piece.Description = description;
        piece.UsageUnit = u"HRS"_s;
        piece.BillingUnit = u"DAY"_s;
        piece.InternalBillingRate = Decimal(45);
        piece.RentalBillingRate = Decimal(300);
        piece.CurrentMeter = Decimal(100);
        piece.OperatorEmployeeID = 101;
        piece.Active = active;
        return piece;
    }

    std::unique_ptr<FormDriver> open(data::Request request, qint32 logId = 0)
    {
        session.buffer<EQLogB>() = EQLogB();
        session.buffer<EQLogB>().LogID = logId;
        return openForm(LogEntryForm::definition(session, memory), request);
    }

    // A log stored in the batch as another day left it.
    qint32 storedLog(const Decimal &units, const Decimal &end, const Decimal &gross,
                     const Decimal &net)
    {
        EQLogB log;
        log.BatchID = 1;
        log.EquipmentID = u"LDR-1"_s;
        log.Date = SuiteDate::fromYmd(2026, 1, 5);
        log.Units = units;
        log.EndMeter = end;
        log.ChargeType = u"I"_s;
        log.GrossAmount = gross;
        log.AdjustedAmount = net;
        log.DetailType = u"Job"_s;
        log.JobID = u"2401"_s;
        log.CostCode = u"020300E"_s;
        put(log);
        return log.LogID;
    }

    EQLogB stored(qint32 logId)
    {
        EQLogB log;
        log.LogID = logId;
        EXPECT_TRUE(company.file<EQLogB>().fetch(u"KeyLogID", log).isOk());
        return log;
    }

    QStringList activities()
    {
        QStringList texts;
        data::KeyCursor cursor = company.file<UserLog>().scan(u"KeyRecordID");
        for (UserLog entry; cursor.next(entry);)
            texts << entry.Text;
        return texts;
    }

    static QString shown(FormDriver &form, const QString &field) { return form.model.text(field); }

    void typeInto(FormDriver &form, const QString &field, const QString &text)
    {
        form.click(field);
        form.type(text);
        form.key(Qt::Key_Tab);
    }
};

TEST_F(LogEntryFormTest, ANewLogTypedWithKeysIsPricedAndChargedToAJobFoundByName)
{
    session.logUserActivity = 2;
    auto form = open(data::Request::Insert);
    ASSERT_TRUE(form->isOpen());
    EXPECT_EQ(form->view->windowTitle().section(u" — "_s, 0, 0), u"Adding a Usage Log");
    EXPECT_EQ(form->model.code(u"ChargeType"), u"I");
    EXPECT_EQ(form->model.code(u"DetailType"), u"Job");
    EXPECT_EQ(form->model.value(u"Date"),
              data::FieldValue(qint64(SuiteDate::fromYmd(2026, 3, 15))));

    form->click(u"EQLB:EquipmentID");
    form->type(u"LDR-1"_s);
    form->key(Qt::Key_Tab);
    EXPECT_EQ(form->focused(), u"EQLB:EndMeter") << "the meter readings follow the equipment";
    EXPECT_EQ(shown(*form, u"LOC:EquipmentDescription"_s), u"Wheel Loader");
    EXPECT_EQ(shown(*form, u"EQLB:StartMeter"_s), u"100.00") << "from the current meter";
    EXPECT_EQ(shown(*form, u"LOC:Rate"_s), u"45.00");
    EXPECT_EQ(shown(*form, u"LOC:EmployeeName"_s), u"Dale Ortiz") << "the operator";
    form->type(u"108.5"_s);
    form->key(Qt::Key_Tab);
    EXPECT_EQ(shown(*form, u"EQLB:Units"_s), u"8.50");
    EXPECT_EQ(shown(*form, u"EQLB:GrossAmount"_s), u"382.50");
    EXPECT_EQ(shown(*form, u"EQLB:AdjustedAmount"_s), u"382.50");

    typeInto(*form, u"LOC:Adjustment"_s, u"-2.5"_s);
    EXPECT_EQ(shown(*form, u"EQLB:AdjustedAmount"_s), u"380.00");
    typeInto(*form, u"EQLB:JobID"_s, u"bridge"_s);
    EXPECT_EQ(form->model.code(u"JobID"), u"2401") << "one job by name, taken without a choice";
    EXPECT_FALSE(picker.asked().join(u',').contains(u"SELECTJOBBYNAME"));
    EXPECT_EQ(form->focused(), u"EQLB:CostCode");
    EXPECT_EQ(form->model.code(u"Comments"), u"Riverside Bridge Reh");
    EXPECT_EQ(form->model.code(u"Location"), u"2401");
    form->type(u"020300"_s);
    form->key(Qt::Key_Return);
    ASSERT_EQ(session.globalResponse, data::Response::Completed)
        << prompter.texts().join(u'|').toStdString();

    const EQLogB log = stored(1);
    EXPECT_EQ(log.BatchID, 1);
    EXPECT_EQ(log.EquipmentID, u"LDR-1");
    EXPECT_EQ(log.StartMeter, Decimal::fromUnits(10000, 2));
    EXPECT_EQ(log.EndMeter, Decimal::fromUnits(10850, 2));
    EXPECT_EQ(log.Units, Decimal::fromUnits(850, 2));
    EXPECT_EQ(log.GrossAmount, Decimal::fromUnits(38250, 2));
    EXPECT_EQ(log.AdjustedAmount, Decimal(380));
    EXPECT_EQ(log.CostCode, u"020300E");
    EXPECT_EQ(log.GLAccount, u"5000") << "from the base cost code";
    EXPECT_EQ(log.EmployeeID, 101);
    EXPECT_EQ(activities(),
              QStringList{u"Added a log entry for equipment LDR-1, 8.50 HRS on 3/15/26"_s});
    EXPECT_EQ(memory.lastEquipment(), u"LDR-1");
    EXPECT_EQ(memory.startMeter(u"LDR-1"_s, Decimal(100)), Decimal::fromUnits(10850, 2));
}

TEST_F(LogEntryFormTest, UnitsGiveTheEndAndAnEndGivesTheUnitsOnlyWhileEditing)
{
    auto form = open(data::Request::Insert);
    typeInto(*form, u"EQLB:EquipmentID"_s, u"LDR-1"_s);
    typeInto(*form, u"EQLB:Units"_s, u"8"_s);
    EXPECT_EQ(shown(*form, u"EQLB:EndMeter"_s), u"108.00");
    EXPECT_EQ(shown(*form, u"EQLB:GrossAmount"_s), u"360.00");
    typeInto(*form, u"EQLB:EndMeter"_s, u"110"_s);
    EXPECT_EQ(shown(*form, u"EQLB:Units"_s), u"10.00");
    EXPECT_EQ(shown(*form, u"EQLB:GrossAmount"_s), u"450.00");
    typeInto(*form, u"EQLB:StartMeter"_s, u"104"_s);
    EXPECT_EQ(shown(*form, u"EQLB:Units"_s), u"6.00");
    EXPECT_EQ(shown(*form, u"EQLB:GrossAmount"_s), u"270.00") << "the charge follows the units";
    typeInto(*form, u"EQLB:AdjustedAmount"_s, u"300"_s);
    EXPECT_EQ(shown(*form, u"LOC:Adjustment"_s), u"30.00");

    for (QRadioButton *radio : form->view->findChildren<QRadioButton *>())
        if (radio->text() == u"&Rental")
            radio->click();
    ASSERT_EQ(form->model.code(u"ChargeType"), u"R");
    EXPECT_EQ(shown(*form, u"LOC:Rate"_s), u"300.00");
    EXPECT_EQ(shown(*form, u"EQLB:GrossAmount"_s), u"1800.00");
    EXPECT_EQ(shown(*form, u"EQLB:AdjustedAmount"_s), u"1830.00");

    typeInto(*form, u"EQLB:Units"_s, u"999999999"_s);
    EXPECT_EQ(prompter.shown().last().text,
              u"These readings give more units or a larger charge than a usage log can hold.")
        << "a charge past 11 digits is refused, not stored or thrown";
}

TEST_F(LogEntryFormTest, ChangingAnOldLogPricesItAtTodaysRateAndLogsOnlyRealChanges)
{
    session.logUserActivity = 2;
    const qint32 id = storedLog(Decimal(8), Decimal(508), Decimal(320), Decimal(330));
    {
        auto form = open(data::Request::Change, id);
        ASSERT_TRUE(form->isOpen());
        EXPECT_EQ(form->view->windowTitle().section(u" — "_s, 0, 0), u"Changing a Usage Log");
        EXPECT_EQ(shown(*form, u"LOC:Adjustment"_s), u"10.00");
        EXPECT_EQ(shown(*form, u"EQLB:GrossAmount"_s), u"360.00") << "8 HRS at today's 45.00";
        EXPECT_EQ(shown(*form, u"EQLB:AdjustedAmount"_s), u"370.00");
        EXPECT_EQ(shown(*form, u"EQLB:StartMeter"_s), u"500.00") << "end - units";
        EXPECT_EQ(shown(*form, u"LOC:Description1"_s), u"Riverside Bridge Rehabilitatio");
        form->click(u"EQLB:CostCode");
        form->key(Qt::Key_Return);
        ASSERT_EQ(session.globalResponse, data::Response::Completed);
    }
    EXPECT_EQ(stored(id).GrossAmount, Decimal(360));
    EXPECT_TRUE(activities().isEmpty()) << "pressing OK on an unchanged log is no change";

    auto form = open(data::Request::Change, id);
    typeInto(*form, u"EQLB:Units"_s, u"9"_s);
    EXPECT_EQ(shown(*form, u"EQLB:EndMeter"_s), u"509.00");
    form->key(Qt::Key_Return);
    EXPECT_EQ(stored(id).AdjustedAmount, Decimal(415));
    EXPECT_EQ(activities(),
              QStringList{u"Changed a log entry for equipment LDR-1, 9.00 HRS on 1/05/26"_s});
}

TEST_F(LogEntryFormTest, OKChecksWhatTheDetailTypeNeedsButRecomputesNothing)
{
    const qint32 id = storedLog(Decimal(8), Decimal(0), Decimal(360), Decimal(360));
    EQLogB log = stored(id);
    log.CostCode.clear();
    ASSERT_TRUE(company.file<EQLogB>().update(log).isOk());

    auto form = open(data::Request::Change, id);
    form->click(u"EQLB:Comments");
    form->key(Qt::Key_Return);
    EXPECT_EQ(prompter.shown().last().text, u"Cost Code is a required entry.");
    EXPECT_EQ(form->focused(), u"EQLB:CostCode");
    form->type(u"0203003"_s);
    form->key(Qt::Key_Return);
    ASSERT_EQ(session.globalResponse, data::Response::Completed);
    EXPECT_EQ(stored(id).CostCode, u"020300S");
    EXPECT_EQ(stored(id).EndMeter, Decimal(0)) << "no end meter made up on OK";
    EXPECT_EQ(stored(id).Units, Decimal(8));

    auto maintenance = open(data::Request::Insert);
    typeInto(*maintenance, u"EQLB:EquipmentID"_s, u"LDR-1"_s);
    auto *detail = qobject_cast<QComboBox *>(maintenance->view->editor(u"EQLB:DetailType"));
    detail->setFocus();
    QTest::keyClick(detail, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(maintenance->model.code(u"DetailType"), u"Maintenance");
    EXPECT_FALSE(maintenance->view->editor(u"EQLB:JobID")->isVisible());
    maintenance->key(Qt::Key_Return);
    EXPECT_EQ(prompter.shown().last().text, u"Cost Category is a required entry.");
    EXPECT_EQ(maintenance->focused(), u"EQLB:Category");
    maintenance->type(u"PM"_s);
    maintenance->key(Qt::Key_Return);
    ASSERT_EQ(session.globalResponse, data::Response::Completed);
    const EQLogB saved = stored(id + 1);
    EXPECT_EQ(saved.GLAccount, u"6160");
    EXPECT_EQ(saved.Comments, u"Preventive Maintenan");
    EXPECT_EQ(saved.EquipmentIDCharged, u"LDR-1") << "the equipment maintained is charged";
}

struct Shorthand
{
    const char16_t *typed;
    const char16_t *stored; // empty: refused
    const char16_t *message;
};

class CostCodeShorthandTest : public LogEntryFormTest,
                              public ::testing::WithParamInterface<Shorthand>
{
};

TEST_P(CostCodeShorthandTest, TypedCostCodesBecomeTheJobsCodeWithItsType)
{
    const Shorthand &row = GetParam();
    auto form = open(data::Request::Insert);
    typeInto(*form, u"EQLB:JobID"_s, u"2401"_s);
    form->model.edit(u"EQLB:CostCode", QString::fromUtf16(row.typed));
    EXPECT_EQ(form->model.code(u"CostCode"), QString::fromUtf16(row.stored));
    const QString message = QString::fromUtf16(row.message);
    if (message.isEmpty())
        EXPECT_TRUE(prompter.shown().isEmpty()) << prompter.texts().join(u'|').toStdString();
    else
        EXPECT_EQ(prompter.texts().join(u'|'), message);
}

INSTANTIATE_TEST_SUITE_P(Shorthands, CostCodeShorthandTest,
                         ::testing::Values(Shorthand{u"020300", u"020300E", u""},
                                           Shorthand{u"0203003", u"020300S", u""},
                                           Shorthand{u"0203002", u"020300M", u""},
                                           Shorthand{u"020300.", u"020300E", u""},
                                           Shorthand{u"0203006", u"",
                                                     u"Cost Code 020300G - Grading|has been marked "
                                                     u"inactive."}));

TEST_F(LogEntryFormTest, ControlAccountsAreWarnedAboutAndCurrentEarningsRefused)
{
    auto form = open(data::Request::Insert);
    auto *detail = qobject_cast<QComboBox *>(form->view->editor(u"EQLB:DetailType"));
    detail->setFocus();
    QTest::keyClick(detail, Qt::Key_6, Qt::KeypadModifier);
    ASSERT_EQ(form->model.code(u"DetailType"), u"G/L Account");
    typeInto(*form, u"EQLB:GLAccount"_s, u"2000"_s);
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().last().caption, u"Control Account Entered");
    EXPECT_EQ(prompter.shown().last().text,
              u"You have entered an account number which|is currently set up as a Control "
              u"Account|for Accounts Payable.||If you post directly to this account, by-|passing "
              u"the Accounts Payable Ledger, |you run the risk of losing the balance |between "
              u"the General Ledger and the |Accounts Payable Ledger!");
    EXPECT_EQ(form->model.code(u"GLAccount"), u"2000") << "the account stays";
    EXPECT_EQ(form->model.code(u"Comments"), u"Accounts Payable");
    EXPECT_EQ(shown(*form, u"LOC:Description1"_s), u"Accounts Payable");

    typeInto(*form, u"EQLB:GLAccount"_s, u"3900"_s);
    EXPECT_EQ(prompter.shown().last().caption, u"Current Earnings Account Entered");
    EXPECT_EQ(form->model.code(u"GLAccount"), u"");
    EXPECT_EQ(form->focused(), u"EQLB:GLAccount");
}

TEST_F(LogEntryFormTest, TheStartMeterNeverFallsBelowTheHighestEndReadingEntered)
{
    storedLog(Decimal(8), Decimal(640), Decimal(360), Decimal(360));
    storedLog(Decimal(8), Decimal(612), Decimal(360), Decimal(360));
    memory.rebuild(company);
    auto form = open(data::Request::Insert);
    typeInto(*form, u"EQLB:EquipmentID"_s, u"LDR-1"_s);
    EXPECT_EQ(shown(*form, u"EQLB:StartMeter"_s), u"640.00") << "the highest of the file";
    form.reset();

    memory.remember(u"LDR-1"_s, Decimal(600), {});
    memory.remember(u"TRK-2"_s, Decimal(77), {});
    auto next = open(data::Request::Insert);
    EXPECT_EQ(next->model.code(u"EquipmentID"), u"TRK-2") << "the last equipment";
    EXPECT_EQ(shown(*next, u"EQLB:StartMeter"_s), u"100.00") << "its meter is higher than 77";
    typeInto(*next, u"EQLB:EquipmentID"_s, u"LDR-1"_s);
    EXPECT_EQ(shown(*next, u"EQLB:StartMeter"_s), u"612.00")
        << "its first entry took 600, the other still holds 612";
}

TEST_F(LogEntryFormTest, ABatchThatRemembersTheJobStartsTheNextLogOnIt)
{
    memory.remember(u"LDR-1"_s, Decimal(120), u"2401"_s);
    EXPECT_EQ(open(data::Request::Insert)->model.code(u"JobID"), u"") << "not asked for";
    session.buffer<EQBatch>().RememberLastJob = 1;
    auto form = open(data::Request::Insert);
    EXPECT_EQ(form->model.code(u"JobID"), u"2401");
    EXPECT_EQ(shown(*form, u"LOC:Description1"_s), u"Riverside Bridge Rehabilitatio");
    EXPECT_EQ(shown(*form, u"EQLB:StartMeter"_s), u"120.00");
}

TEST_F(LogEntryFormTest, InactiveEquipmentAndJobsAreQuestionedAndNoBlanksThem)
{
    auto form = open(data::Request::Insert);
    prompter.answerNext(2);
    typeInto(*form, u"EQLB:EquipmentID"_s, u"OLD-9"_s);
    EXPECT_EQ(prompter.shown().last().caption, u"Assign to Inactive Equipment?");
    EXPECT_EQ(form->model.code(u"EquipmentID"), u"");
    EXPECT_EQ(form->focused(), u"EQLB:EquipmentID");

    typeInto(*form, u"EQLB:JobID"_s, u"2301"_s);
    EXPECT_EQ(prompter.shown().last().text,
              u"Job 2301 has been marked inactive. Are you sure|you want to select this job?");
    EXPECT_EQ(prompter.shown().last().defaultButton, 2);
    EXPECT_EQ(form->model.code(u"JobID"), u"") << "No is the default";

    picker.answerNext(u"2403"_s);
    typeInto(*form, u"EQLB:JobID"_s, u"road"_s);
    EXPECT_EQ(picker.asked().last(), u"SELECTJOBBYNAME:road") << "two jobs by name";
    EXPECT_EQ(form->model.code(u"JobID"), u"2403");
}

TEST_F(LogEntryFormTest, AChangeOrderIsFoundByItsCostCodeOrLookedUp)
{
    auto form = open(data::Request::Insert);
    typeInto(*form, u"EQLB:ChangeOrder"_s, u"CO-002"_s);
    EXPECT_EQ(prompter.shown().last().caption, u"No Job Selected");

    typeInto(*form, u"EQLB:JobID"_s, u"2401"_s);
    typeInto(*form, u"EQLB:CostCode"_s, u"0203003"_s);
    typeInto(*form, u"EQLB:ChangeOrder"_s, u"CO-002"_s);
    EXPECT_EQ(prompter.shown().last().text, u"No change orders were found for cost code 020300S.");
    EXPECT_EQ(form->model.code(u"ChangeOrder"), u"");

    typeInto(*form, u"EQLB:CostCode"_s, u"020300"_s);
    typeInto(*form, u"EQLB:ChangeOrder"_s, u"CO-002"_s);
    EXPECT_EQ(form->model.code(u"ChangeOrder"), u"CO-002");
    EXPECT_EQ(shown(*form, u"LOC:ChangeOrderDescription"_s), u"Extended Detour Grading");

    // The lookup answers the detail and its cost code beside the change order.
    typeInto(*form, u"EQLB:CostCode"_s, u"0203003"_s);
    EXPECT_EQ(form->model.code(u"ChangeOrder"), u"") << "a new cost code drops the change order";
    JCCOD detail;
    detail.RecordID = 1;
    ASSERT_TRUE(company.file<JCCOD>().fetch(u"KeyRecordID", detail).isOk());
    session.test = QString::number(detail.RecordID);
    session.reportFilter = u"020300E"_s;
    picker.answerNext(u"CO-002"_s);
    form->click(u"EQLB:ChangeOrder");
    form->key(Qt::Key_F2);
    EXPECT_EQ(picker.asked().last(), u"LOOKUPCHANGEORDER:");
    EXPECT_EQ(form->model.code(u"ChangeOrder"), u"CO-002");
    EXPECT_EQ(form->model.code(u"CostCode"), u"020300E");
    EXPECT_EQ(session.jobField, u"2401");
}

TEST_F(LogEntryFormTest, AReadOnlyUserLooksButSavesNothing)
{
    const qint32 id = storedLog(Decimal(8), Decimal(508), Decimal(320), Decimal(320));
    session.userId = u"VEW"_s;
    session.usageLogsReadOnly = true;
    EXPECT_FALSE(open(data::Request::Insert)->isOpen());
    EXPECT_EQ(prompter.shown().last().caption, u"Insufficient Access");

    auto viewed = open(data::Request::View, id);
    ASSERT_TRUE(viewed->isOpen());
    EXPECT_EQ(viewed->view->windowTitle().section(u" — "_s, 0, 0), u"View Record");
    EXPECT_TRUE(viewed->entry(u"EQLB:Units")->isReadOnly());
    EXPECT_EQ(shown(*viewed, u"EQLB:GrossAmount"_s), u"320.00") << "shown as stored";
    viewed.reset();

    auto changed = open(data::Request::Change, id);
    typeInto(*changed, u"EQLB:Units"_s, u"9"_s);
    changed->key(Qt::Key_Return);
    EXPECT_EQ(prompter.shown().last().text,
              u"User VEW has read only privileges|in the Equipment Costing module.");
    EXPECT_EQ(stored(id).Units, Decimal(8));
}

} // namespace
