#include "logs/UsageLogBatches.h"
#include "records/EQBatch.h"
#include "records/EQCost.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"
#include "records/EQLogB.h"
#include "records/ModuleFiles.h"
#include "records/PriorPeriods.h"

#include "suite/UsageLogPosting.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/GeneralLedgerFiles.h"
#include "data/suite/SystemFiles.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"
#include "core/Text.h"
#include "core/testing/QtPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <barrier>
#include <thread>

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

constexpr int Cancel = 1;
constexpr int Proceed = 2;

class UsageLogBatchesTest : public ::testing::TestWithParam<std::string>
{
protected:
    qaveq::testing::TestDatabase database{GetParam()};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 6, 15), QTime(9, 0))};
    UsageLogBatches batches{session, prompter, clock};
    QTemporaryDir control;

    void SetUp() override
    {
        session.userId = u"EQM"_s;
        session.companyId = company.id();
        session.controlPath = control.path();
        session.logUserActivity = 2;
        data::Session::setCurrent(&session);
        user(u"EQM"_s, u"Erin"_s, u"Quinn"_s);
        user(u"ADM"_s, u"Ada"_s, u"Moss"_s);
    }
    void TearDown() override { data::Session::setCurrent(nullptr); }

    void user(const QString &id, const QString &first, const QString &last)
    {
        UserFile record;
        record.UserID = id;
        record.FirstName = first;
        record.LastName = last;
        ASSERT_TRUE(company.file<UserFile>().insert(record).isOk());
    }

    void signOn(const QString &id, const QString &activity = {})
    {
        NetUser record;
        record.UserID = id;
        record.CompanyID = company.id();
        record.Activity = activity;
        ASSERT_TRUE(company.file<NetUser>().insert(record).isOk());
    }

    quint16 batch(const QString &owner = u"EQM"_s, quint8 secure = 0, const QString &inUseBy = {})
    {
        EQBatch record;
        record.UserID = owner;
        record.Description = u"Week "_s + owner;
        record.Secure = secure;
        record.InUseBy = inUseBy;
        EXPECT_TRUE(batches.addBatch(record));
        return record.BatchID;
    }

    EQBatch stored(quint16 id)
    {
        EQBatch record;
        record.BatchID = id;
        EXPECT_TRUE(company.file<EQBatch>().fetch(u"KeyBatchID", record).isOk());
        return record;
    }

    qint32 log(quint16 batchId, const QString &equipment, QDate date, int units, int amount,
               const QString &chargeType = u"I"_s, const QString &detail = u"Job"_s)
    {
        EQLogB record;
        record.BatchID = quint16(batchId);
        record.EquipmentID = equipment;
        record.Date = SuiteDate::fromQDate(date);
        record.Units = Decimal(units);
        record.AdjustedAmount = Decimal(amount);
        record.GrossAmount = Decimal(amount);
        record.ChargeType = chargeType;
        record.DetailType = detail;
        record.GLAccount = detail == u"Job" ? u"5000"_s : QString();
        record.JobID = detail == u"Job" ? u"J-1"_s : QString();
        record.EquipmentIDCharged = detail == u"Job" ? QString() : u"TRK-2"_s;
        record.Category = detail == u"Job" ? QString() : u"FUEL"_s;
        EXPECT_TRUE(company.file<EQLogB>().insert(record).isOk());
        return record.LogID;
    }

    void equipment(const QString &id)
    {
        EQHeader record;
        record.EquipmentID = id;
        record.Description = id;
        record.UsageUnit = u"Hrs"_s;
        record.InternalIncomeControl = u"4100"_s;
        record.RentalIncomeControl = u"4200"_s;
        ASSERT_TRUE(company.file<EQHeader>().insert(record).isOk());
        EQCost cost;
        cost.RecordID = id.leftJustified(10) + u"FUEL"_s;
        cost.EquipmentID = id;
        cost.CostCategory = u"FUEL"_s;
        cost.ControlDebit = u"6100"_s;
        ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    }

    void fiscalYear(int year)
    {
        for (int month = 1; month <= 12; ++month) {
            GLFiscal period;
            period.FiscalPeriod = (year - 2000) * 12 + month;
            period.FiscalYear = qint16(year);
            period.Period = quint8(month);
            period.StartDate = SuiteDate::fromYmd(year, month, 1);
            period.EndDate = SuiteDate::fromQDate(QDate(year, month, 1).addMonths(1).addDays(-1));
            period.PeriodDate = period.EndDate;
            ASSERT_TRUE(company.file<GLFiscal>().insert(period).isOk());
        }
    }

    qint64 countOf(data::Table &table) { return table.count(); }
};

TEST_P(UsageLogBatchesTest, NewBatchesTakeTheNextNumberAndPlaceEvenAfterGaps)
{
    const quint16 first = batch();
    const quint16 second = batch();
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(stored(second).SortID, stored(first).SortID + 1);
    // A batch moved to the end of the manual order keeps the next one after it.
    EQBatch moved = stored(first);
    moved.SortID = 40;
    ASSERT_TRUE(company.file<EQBatch>().update(moved).isOk());
    EXPECT_EQ(stored(batch()).SortID, 41);
}

TEST_P(UsageLogBatchesTest, AFlagLeftByAUserNoLongerSignedOnIsTakenWithoutAsking)
{
    const quint16 id = batch(u"ADM"_s, 0, u"ADM"_s);
    EXPECT_TRUE(batches.tag(id));
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(stored(id).InUseBy, u"EQM");
    EXPECT_TRUE(batches.isTagged(id));

    // Tagging again untags and frees the batch.
    EXPECT_TRUE(batches.tag(id));
    EXPECT_FALSE(batches.isTagged(id));
    EXPECT_EQ(stored(id).InUseBy, u"");
}

TEST_P(UsageLogBatchesTest, AFlagOfASignedOnUserIsTakenOnlyOnProceed)
{
    signOn(u"ADM"_s);
    const quint16 id = batch(u"ADM"_s, 0, u"ADM"_s);
    prompter.answerNext(Cancel);
    EXPECT_FALSE(batches.tag(id));
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Batch In Use");
    EXPECT_TRUE(prompter.shown()[0].text.startsWith(
        u"This usage log batch is flagged as being in use |by user ADM.  If you suspect"));
    EXPECT_EQ(stored(id).InUseBy, u"ADM");
    EXPECT_FALSE(batches.isTagged(id));

    prompter.answerNext(Proceed);
    EXPECT_TRUE(batches.tag(id));
    EXPECT_EQ(stored(id).InUseBy, u"EQM");
}

TEST_P(UsageLogBatchesTest, TagAllWithOneForeignInUseBatchChangesNothing)
{
    const quint16 free = batch();
    const quint16 taken = batch(u"ADM"_s, 0, u"ADM"_s);
    EXPECT_FALSE(batches.tagAll());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Cannot Tag All");
    EXPECT_EQ(stored(free).InUseBy, u"");
    EXPECT_EQ(stored(taken).InUseBy, u"ADM");
    EXPECT_TRUE(batches.tags().isEmpty());
}

TEST_P(UsageLogBatchesTest, TagAllLeavesAnotherUsersSecureBatchesFreeAndUntagged)
{
    const quint16 mine = batch();
    const quint16 open = batch(u"ADM"_s, 0);
    const quint16 secure = batch(u"ADM"_s, 1);
    ASSERT_TRUE(batches.tagAll());
    EXPECT_EQ(batches.tags(), (QList<quint16>{mine, open}));
    EXPECT_EQ(stored(open).InUseBy, u"EQM");
    EXPECT_EQ(stored(secure).InUseBy, u"");

    batches.reverseTags();
    EXPECT_EQ(batches.tags(), QList<quint16>{secure});
    batches.untagAll();
    // Reversing does not touch flags; Untag All frees only the tagged batches.
    EXPECT_EQ(stored(mine).InUseBy, u"EQM");
    EXPECT_TRUE(batches.tags().isEmpty());
}

TEST_P(UsageLogBatchesTest, ASecureBatchOfAnotherUserIsSeenButNotTaggedDeletedOrOpened)
{
    const quint16 modifiable = batch(u"ADM"_s, 1);
    const quint16 hidden = batch(u"ADM"_s, 2);
    EXPECT_FALSE(batches.tag(hidden));
    EXPECT_EQ(prompter.shown().last().caption, u"Unable to Tag Batch");
    EXPECT_EQ(prompter.shown().last().text, u"This batch can only be tagged by user ADM.");
    EXPECT_FALSE(batches.deleteBatch(hidden));
    EXPECT_EQ(prompter.shown().last().text, u"This batch can only be deleted by user ADM.");
    EXPECT_FALSE(batches.holdForEntry(hidden, true));
    EXPECT_EQ(stored(hidden).InUseBy, u"");

    const UsageLogBatches::Pane viewOnly = batches.paneFor(stored(modifiable));
    EXPECT_TRUE(viewOnly.logsShown);
    EXPECT_FALSE(viewOnly.enabled);
    EXPECT_EQ(viewOnly.title,
              u"Usage Logs included in Highlighted Batch can only be modified by user ADM");
    const UsageLogBatches::Pane none = batches.paneFor(stored(hidden));
    EXPECT_FALSE(none.logsShown);
    EXPECT_FALSE(none.enabled);

    // The owner sees his own secure batch as any other.
    session.userId = u"ADM"_s;
    EXPECT_TRUE(batches.paneFor(stored(hidden)).enabled);
    EXPECT_TRUE(batches.tag(hidden));
}

TEST_P(UsageLogBatchesTest, ReadOnlyUsersAreRefusedEveryChangeButMayHoldForChange)
{
    session.usageLogsReadOnly = true;
    const quint16 id = batch();
    const QString refusal = u"User EQM has read only privileges|in the Equipment Costing module."_s;
    EXPECT_FALSE(batches.holdForEntry(id, true));
    EXPECT_FALSE(batches.deleteBatch(id));
    EXPECT_FALSE(batches.deleteLog(1));
    EXPECT_FALSE(batches.postTagged(id));
    ASSERT_EQ(prompter.shown().size(), 4);
    for (const Message &message : prompter.shown()) {
        EXPECT_EQ(message.caption, u"Insufficient Access");
        EXPECT_EQ(message.text, refusal);
    }
    EXPECT_TRUE(batches.holdForEntry(id, false));
    EXPECT_EQ(stored(id).InUseBy, u"EQM");
    batches.releaseHeld();
    EXPECT_EQ(stored(id).InUseBy, u"");
}

TEST_P(UsageLogBatchesTest, AddingALogNeedsAHighlightedBatch)
{
    EXPECT_FALSE(batches.holdForEntry(0, true));
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown()[0].caption, u"Missing Invoice Batch");
}

TEST_P(UsageLogBatchesTest, DeletingWithLogsKeepsTheEmptyBatchAndBatchRemovesBoth)
{
    equipment(u"TRK-1"_s);
    const quint16 kept = batch();
    const quint16 gone = batch();
    log(kept, u"TRK-1"_s, QDate(2025, 6, 2), 3, 30);
    log(gone, u"TRK-1"_s, QDate(2025, 6, 3), 4, 40);
    log(gone, u"TRK-1"_s, QDate(2025, 6, 4), 5, 50);

    prompter.answerNext(1); // &Logs
    ASSERT_TRUE(batches.deleteBatch(kept));
    EXPECT_EQ(prompter.shown().last().caption, u"Confirm Log Batch Delete");
    EXPECT_EQ(stored(kept).BatchID, kept);
    prompter.answerNext(2); // &Batch
    ASSERT_TRUE(batches.deleteBatch(gone));
    EQBatch missing;
    missing.BatchID = gone;
    EXPECT_FALSE(company.file<EQBatch>().fetch(u"KeyBatchID", missing).isOk());
    EXPECT_EQ(countOf(company.file<EQLogB>()), 0);

    QStringList texts;
    data::KeyCursor cursor = company.file<UserLog>().scan(u"KeyRecordID");
    for (UserLog entry; cursor.next(entry);) {
        EXPECT_EQ(entry.Area, u"EQ Usage Logs");
        texts.append(entry.Text);
    }
    EXPECT_EQ(texts, (QStringList{
                         u"Added log entry batch (1) Week EQM"_s,
                         u"Added log entry batch (2) Week EQM"_s,
                         u"Deleted a log entry for equipment TRK-1, 3.00 Hrs on 6/02/25"_s,
                         u"Deleted a log entry for equipment TRK-1, 4.00 Hrs on 6/03/25"_s,
                         u"Deleted a log entry for equipment TRK-1, 5.00 Hrs on 6/04/25"_s,
                         u"Deleted log entry batch (2) Week EQM"_s,
                     }));

    prompter.answerNext(3); // &Cancel
    EXPECT_FALSE(batches.deleteBatch(kept));
    EXPECT_EQ(stored(kept).BatchID, kept);
}

TEST_P(UsageLogBatchesTest, DeletingABatchAnotherSignedOnUserHoldsAsksFirst)
{
    signOn(u"ADM"_s);
    const quint16 held = batch(u"EQM"_s, 0, u"ADM"_s);
    prompter.answerNext(Cancel);
    EXPECT_FALSE(batches.deleteBatch(held));
    EXPECT_EQ(prompter.shown().last().caption, u"Batch In Use");
    EXPECT_EQ(stored(held).InUseBy, u"ADM");

    prompter.answerNext(Proceed);
    prompter.answerNext(1); // &Logs
    ASSERT_TRUE(batches.deleteBatch(held));
    EXPECT_EQ(stored(held).InUseBy, u"") << "taken over, the batch is free again";
}

TEST_P(UsageLogBatchesTest, RepeatingBatchesMoveByDaysOrByCalendarMonths)
{
    EQBatch daily;
    daily.Frequency = Decimal(7);
    EXPECT_EQ(UsageLogBatches::redated(daily, SuiteDate::fromYmd(2025, 12, 29)),
              SuiteDate::fromYmd(2026, 1, 5));
    EQBatch monthly;
    monthly.FrequencyType = 1;
    monthly.Frequency2 = 1;
    // The 31st into a 30-day month rolls into the next month.
    EXPECT_EQ(UsageLogBatches::redated(monthly, SuiteDate::fromYmd(2025, 3, 31)),
              SuiteDate::fromYmd(2025, 5, 1));
    monthly.Frequency2 = 3;
    EXPECT_EQ(UsageLogBatches::redated(monthly, SuiteDate::fromYmd(2025, 11, 15)),
              SuiteDate::fromYmd(2026, 2, 15));
}

TEST_P(UsageLogBatchesTest, PostingMovesEveryTotalByTheSumOfThePostedLogs)
{
    fiscalYear(2025);
    equipment(u"TRK-1"_s);
    equipment(u"TRK-2"_s);
    signOn(u"EQM"_s);
    const quint16 plain = batch();
    EQBatch repeating;
    repeating.UserID = u"EQM"_s;
    repeating.Repeating = 1;
    repeating.FrequencyType = 1;
    repeating.Frequency2 = 1;
    ASSERT_TRUE(batches.addBatch(repeating));
    log(plain, u"TRK-1"_s, QDate(2025, 5, 10), 4, 400);
    log(plain, u"TRK-1"_s, QDate(2025, 6, 2), 2, 250, u"R"_s);
    log(plain, u"TRK-1"_s, QDate(2025, 6, 3), 3, 90, u"I"_s, u"Equipment"_s);
    const qint32 stays = log(repeating.BatchID, u"TRK-1"_s, QDate(2025, 3, 31), 1, 60);

    ASSERT_TRUE(batches.tag(plain));
    ASSERT_TRUE(batches.tag(repeating.BatchID));
    ASSERT_TRUE(batches.postTagged(plain)) << prompter.texts().join(u'\n').toStdString();

    EQHeader truck;
    truck.EquipmentID = u"TRK-1"_s;
    ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", truck).isOk());
    EXPECT_EQ(truck.CumulativeInternalUnits, Decimal(8));
    EXPECT_EQ(truck.CumulativeInternalIncome, Decimal(550));
    EXPECT_EQ(truck.YearRentalIncome, Decimal(250));
    EXPECT_EQ(truck.MonthUnits, Decimal(10));

    EQCost fuel;
    fuel.RecordID = u"TRK-2     FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", fuel).isOk());
    EXPECT_EQ(fuel.CumulativeAmount, Decimal(90));
    EXPECT_EQ(fuel.CumulativeUnitUsed, Decimal(3));

    EQPriorM june;
    june.EquipmentID = u"TRK-1"_s;
    june.FiscalYear = 2025;
    june.Period = 6;
    ASSERT_TRUE(company.file<EQPriorM>().fetch(u"KeyEquipmentYearPeriod", june).isOk());
    EXPECT_EQ(june.InternalIncome, Decimal(90));
    EXPECT_EQ(june.RentalIncome, Decimal(250));
    EQPrior year;
    year.EquipmentID = u"TRK-1"_s;
    year.FiscalYear = 2025;
    ASSERT_TRUE(company.file<EQPrior>().fetch(u"KeyEquipmentYear", year).isOk());
    EXPECT_EQ(year.InternalIncome, Decimal(550));
    EQPriorCM fuelJune;
    fuelJune.EquipmentID = u"TRK-2"_s;
    fuelJune.Category = u"FUEL"_s;
    fuelJune.FiscalYear = 2025;
    fuelJune.Period = 6;
    ASSERT_TRUE(
        company.file<EQPriorCM>().fetch(u"KeyEquipmentCategoryYearPeriod", fuelJune).isOk());
    EXPECT_EQ(fuelJune.Amount, Decimal(90));

    // One balanced set: income by ".I" and ".R", costs by equipment and category.
    Decimal debits, credits, internal;
    QList<qint32> journals;
    data::KeyCursor lines = company.file<GLTrans>().scan(u"KeyRecordID");
    for (GLTrans line; lines.next(line);) {
        (line.CreditDebit == u"D" ? debits : credits) += line.Amount;
        if (line.SubsidiaryCode == u"TRK-1     .I")
            internal += line.Amount;
        journals.append(line.JournalNo);
        if (line.SubsidiaryCode == u"TRK-2     FUEL") {
            EXPECT_EQ(line.Account, u"6100");
        }
    }
    EXPECT_EQ(debits, Decimal(800));
    EXPECT_EQ(credits, Decimal(800));
    EXPECT_EQ(internal, Decimal(550));
    EXPECT_EQ(journals.count(journals.first()), journals.size());

    EXPECT_EQ(countOf(company.file<EQLog>()), 4);
    QStringList types;
    data::KeyCursor posted = company.file<EQLog>().scan(u"KeyRecordID");
    for (EQLog entry; posted.next(entry);) {
        types.append(entry.Type);
        EXPECT_EQ(entry.JournalNumber, journals.first());
        EXPECT_EQ(entry.Posted, 1);
    }
    EXPECT_EQ(types, (QStringList{u"I"_s, u"R"_s, u"I"_s, u"I"_s}));
    EQLogB left;
    left.LogID = stays;
    ASSERT_TRUE(company.file<EQLogB>().fetch(u"KeyLogID", left).isOk());
    EXPECT_EQ(left.Date, SuiteDate::fromYmd(2025, 5, 1));
    EXPECT_EQ(countOf(company.file<EQLogB>()), 1);
    // The suite's posting run stamps the day it ran.
    EXPECT_EQ(stored(plain).DateLastPosting, SuiteDate::fromQDate(QDate::currentDate()));
    EXPECT_EQ(stored(plain).InUseBy, u"");
    EXPECT_TRUE(batches.tags().isEmpty());

    NetUser me;
    me.UserID = u"EQM"_s;
    me.CompanyID = company.id();
    ASSERT_TRUE(company.file<NetUser>().fetch(u"KeyUserCompany", me).isOk());
    EXPECT_EQ(me.Activity, u"");
    QFile notify(QDir(control.path()).filePath(u"NetNotify.ini"_s));
    ASSERT_TRUE(notify.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(notify.readAll()).contains(u"Posting Alert=0"));
}

// The whole range of batch numbers holds logs: the last batch is listed,
// moved into and posted like the first.
TEST_P(UsageLogBatchesTest, ALogOfTheLastBatchNumberIsPosted)
{
    fiscalYear(2025);
    equipment(u"TRK-1"_s);
    EQBatch last;
    last.BatchID = 65535;
    last.UserID = u"EQM"_s;
    // Stored as it stands: adding a batch would number it after the highest.
    ASSERT_TRUE(company.file<EQBatch>().insert(last).isOk());
    log(65535, u"TRK-1"_s, QDate(2025, 6, 3), 2, 70, u"I"_s, u"Maintenance"_s);
    data::KeyCursor listed =
        company.file<EQLogB>().scan(u"KeyBatchID", data::ScanOptions::equal({qint64(65535)}));
    EQLogB kept;
    ASSERT_TRUE(listed.next(kept));
    EXPECT_EQ(kept.BatchID, 65535);
    ASSERT_TRUE(batches.tag(65535)) << prompter.texts().join(u'\n').toStdString();
    ASSERT_EQ(countOf(company.file<NetUser>()), 0) << "the user's station has no record";
    ASSERT_TRUE(batches.postTagged(65535)) << prompter.texts().join(u'\n').toStdString();
    // The run claimed posting with a record of its own and took it away again:
    // no record is left that no station would ever take for gone.
    EXPECT_EQ(countOf(company.file<NetUser>()), 0);
    EXPECT_EQ(countOf(company.file<EQLogB>()), 0);
    EXPECT_EQ(countOf(company.file<EQLog>()), 1);
    EQCost fuel;
    fuel.RecordID = u"TRK-1     FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", fuel).isOk());
    EXPECT_EQ(fuel.CumulativeAmount, Decimal(70));
}

TEST_P(UsageLogBatchesTest, ABatchThatIsNotThereIsNamedInPlainWords)
{
    EXPECT_FALSE(batches.tag(999));
    ASSERT_FALSE(prompter.shown().isEmpty());
    EXPECT_EQ(prompter.shown().last().text, u"There is no batch 999.");
}

TEST_P(UsageLogBatchesTest, AMaintenanceLogChargesTheCategoryOfItsOwnEquipment)
{
    fiscalYear(2025);
    equipment(u"TRK-1"_s);
    equipment(u"TRK-2"_s);
    const quint16 id = batch();
    // As the entry form and the import leave it: no equipment charged...
    EQLogB blank;
    blank.LogID = log(id, u"TRK-1"_s, QDate(2025, 6, 3), 1, 40, u"I"_s, u"Maintenance"_s);
    ASSERT_TRUE(company.file<EQLogB>().fetch(u"KeyLogID", blank).isOk());
    blank.EquipmentIDCharged.clear();
    ASSERT_TRUE(company.file<EQLogB>().update(blank).isOk());
    // ...or one left over from an earlier detail type.
    log(id, u"TRK-1"_s, QDate(2025, 6, 4), 2, 70, u"I"_s, u"Maintenance"_s);
    ASSERT_TRUE(batches.tag(id));
    ASSERT_TRUE(batches.postTagged(id)) << prompter.texts().join(u'\n').toStdString();

    EQCost own;
    own.RecordID = u"TRK-1     FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", own).isOk());
    EXPECT_EQ(own.CumulativeAmount, Decimal(110));
    EXPECT_EQ(own.CumulativeUnitUsed, Decimal(3));
    EQCost other;
    other.RecordID = u"TRK-2     FUEL"_s;
    ASSERT_TRUE(company.file<EQCost>().fetch(u"KeyRecordID", other).isOk());
    EXPECT_TRUE(other.CumulativeAmount.isZero());
    EQPriorCM june;
    june.EquipmentID = u"TRK-1"_s;
    june.Category = u"FUEL"_s;
    june.FiscalYear = 2025;
    june.Period = 6;
    ASSERT_TRUE(company.file<EQPriorCM>().fetch(u"KeyEquipmentCategoryYearPeriod", june).isOk());
    EXPECT_EQ(june.Amount, Decimal(110));
    Decimal charged;
    data::KeyCursor lines = company.file<GLTrans>().scan(u"KeyRecordID");
    for (GLTrans line; lines.next(line);)
        if (line.CreditDebit == u"D") {
            EXPECT_EQ(line.SubsidiaryCode, u"TRK-1     FUEL");
            EXPECT_EQ(line.EquipmentID, u"TRK-1");
            charged += line.Amount;
        }
    EXPECT_EQ(charged, Decimal(110));
}

TEST_P(UsageLogBatchesTest, AFailureAtAnyLogPostsNothing)
{
    fiscalYear(2025);
    equipment(u"TRK-1"_s);
    const quint16 id = batch();
    log(id, u"TRK-1"_s, QDate(2025, 6, 2), 2, 200);
    log(id, u"TRK-1"_s, QDate(2031, 1, 2), 2, 200); // no fiscal period holds it
    const suite::PostingOutcome refused = suite::postUsageLogs(session, {id}, clock);
    EXPECT_FALSE(refused.posted);
    EXPECT_TRUE(refused.error.contains(u"holds the date 1/02/2031"_s))
        << "the whole year, so that a mistyped century shows: " << refused.error.toStdString();
    ASSERT_TRUE(batches.tag(id));
    EXPECT_FALSE(batches.postTagged(id));

    EQHeader truck;
    truck.EquipmentID = u"TRK-1"_s;
    ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", truck).isOk());
    EXPECT_TRUE(truck.CumulativeInternalIncome.isZero());
    EXPECT_EQ(countOf(company.file<EQLog>()), 0);
    EXPECT_EQ(countOf(company.file<GLTrans>()), 0);
    EXPECT_EQ(countOf(company.file<EQPrior>()), 0);
    EXPECT_EQ(countOf(company.file<EQLogB>()), 2);
    EXPECT_EQ(stored(id).DateLastPosting, 0);
    // The batch stays tagged, to be posted once the date is mended.
    EXPECT_TRUE(batches.isTagged(id));
}

TEST_P(UsageLogBatchesTest, ARunTooLongToNumberItsLedgerLinesPostsNothing)
{
    // The numbering does not depend on the database: one is enough.
    if (GetParam() != u"SQLite"_s.toStdString())
        GTEST_SKIP();
    fiscalYear(2025);
    equipment(u"TRK-1"_s);
    const quint16 id = batch();
    // Each log posts two ledger lines, numbered in a 16-bit field.
    constexpr int Logs = 16'384;
    {
        data::Transaction many(company.database(), {u"EQLogB"_s}, std::chrono::seconds(5));
        ASSERT_TRUE(many.isActive());
        for (int i = 0; i < Logs; ++i)
            log(id, u"TRK-1"_s, QDate(2025, 6, 2), 1, 10);
        ASSERT_TRUE(many.commit().isOk());
    }
    ASSERT_TRUE(batches.tag(id));
    EXPECT_FALSE(batches.postTagged(id));
    EXPECT_EQ(countOf(company.file<EQLog>()), 0);
    EXPECT_EQ(countOf(company.file<GLTrans>()), 0);
    EXPECT_EQ(countOf(company.file<EQLogB>()), Logs);
}

TEST_P(UsageLogBatchesTest, ABackupTheUserAsksForComesFirstAndWithoutItNothingIsPosted)
{
    fiscalYear(2025);
    equipment(u"TRK-1"_s);
    UserFile me;
    me.UserID = u"EQM"_s;
    ASSERT_TRUE(company.file<UserFile>().fetch(u"KeyUserID", me).isOk());
    me.PrePostBackup = 1;
    ASSERT_TRUE(company.file<UserFile>().update(me).isOk());
    const quint16 id = batch();
    log(id, u"TRK-1"_s, QDate(2025, 6, 2), 2, 200);
    const bool posted = batches.postTagged(id).has_value();
    if (company.database().canCopyToFile()) {
        EXPECT_TRUE(posted);
        const QDir beside = QFileInfo(company.database().settings().sqliteFile).dir();
        EXPECT_EQ(QDir(beside.filePath(u"backups"_s)).entryList(QDir::Files).size(), 1);
    } else {
        // The server's data is backed up there; the run says so and stops.
        EXPECT_FALSE(posted);
        EXPECT_EQ(countOf(company.file<EQLog>()), 0);
    }
}

TEST_P(UsageLogBatchesTest, PostingWaitsForAnotherUsersActivityAndNeedsTheRight)
{
    signOn(u"ADM"_s, u"printing the analysis report"_s);
    const quint16 id = batch();
    EXPECT_FALSE(batches.postTagged(id));
    EXPECT_EQ(prompter.shown().last().caption, u"Please Wait ...");
    EXPECT_EQ(prompter.shown().last().text,
              u"Right now Ada M. is printing the analysis report.|You may post when they are "
              u"finished.");
    // Nothing tagged: the highlighted batch was tagged for the run.
    EXPECT_TRUE(batches.isTagged(id));

    UserFile me;
    me.UserID = u"EQM"_s;
    ASSERT_TRUE(company.file<UserFile>().fetch(u"KeyUserID", me).isOk());
    me.PostUsageLogs = 0;
    ASSERT_TRUE(company.file<UserFile>().update(me).isOk());
    EXPECT_FALSE(batches.postTagged(id));
    EXPECT_EQ(prompter.shown().last().caption, u"Access Denied");
}

TEST_P(UsageLogBatchesTest, OfTwoStationsTaggingTheSameBatchExactlyOneWins)
{
    signOn(u"EQM"_s);
    signOn(u"ADM"_s);
    const quint16 id = batch();
    constexpr int Rounds = 100;
    std::array<std::array<bool, 2>, Rounds> won{};
    std::barrier sync(2);
    const auto station = [&](int index, const QString &userId) {
        data::Company own(database.settings(), companyCatalog());
        data::Session mine(&own);
        mine.userId = userId;
        mine.companyId = own.id();
        ScriptedPrompter answers;
        UsageLogBatches desk(mine, answers, clock);
        for (int round = 0; round < Rounds; ++round) {
            answers.answerNext(Cancel);
            sync.arrive_and_wait();
            won[round][index] = desk.tag(id);
            sync.arrive_and_wait();
            if (won[round][index])
                desk.untagAll();
            sync.arrive_and_wait();
        }
    };
    std::thread first(station, 0, u"EQM"_s);
    std::thread second(station, 1, u"ADM"_s);
    first.join();
    second.join();
    int rounds = 0;
    for (const auto &round : won)
        rounds += round[0] != round[1] ? 1 : 0;
    EXPECT_EQ(rounds, Rounds);
    EXPECT_EQ(stored(id).InUseBy, u"");
}

TEST(UsageLogBatchesText, ShowTagsCyclesAndCountsReadAsWords)
{
    using S = UsageLogBatches::ShowTags;
    S shown = S::All;
    QStringList captions;
    for (int press = 0; press < 4; ++press) {
        captions.append(UsageLogBatches::caption(shown));
        shown = UsageLogBatches::next(shown);
    }
    EXPECT_EQ(captions, (QStringList{u"Show All"_s, u"Showing Tagged"_s, u"Showing UnTagged"_s,
                                     u"Show All"_s}));
    EXPECT_EQ(UsageLogBatches::recordCount(1), u"1 Record");
    EXPECT_EQ(UsageLogBatches::recordCount(0), u"0 Records");
}

INSTANTIATE_TEST_SUITE_P(Backends, UsageLogBatchesTest,
                         ::testing::ValuesIn(qaveq::testing::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
