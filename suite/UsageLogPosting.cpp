#include "UsageLogPosting.h"
#include "PostingRecords.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include <limits>
#include <map>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

namespace {

using RecordPtr = std::unique_ptr<data::Record>;

class Run
{
public:
    Run(data::Company &company, const Clock &clock)
        : m_company(company)
        , m_clock(clock)
        , m_periods(company)
        , m_moved(company)
    {}

    void postBatch(quint16 batchId)
    {
        data::Table &batches = m_company.file(u"EQBatch");
        RecordPtr batch = batches.schema().create();
        batch->setValue(u"BatchID", qint64(batchId));
        if (!batches.fetch(u"KeyBatchID", *batch))
            throw Refusal{u"Batch %1 no longer exists."_s.arg(batchId)};
        const bool repeating = numberOf(*batch, u"Repeating") == 1;

        data::Table &logs = m_company.file(u"EQLogB");
        std::vector<RecordPtr> held;
        data::KeyCursor cursor =
            logs.scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batchId)}));
        for (RecordPtr log = logs.schema().create(); cursor.next(*log);
             log = logs.schema().create())
            held.push_back(std::move(log));
        if (cursor.error())
            throw Refusal{cursor.error()->text() + u" Reading EQLogB"_s};
        for (RecordPtr &log : held) {
            postLog(*log);
            if (!repeating)
                check(logs.remove(*log), u"Deleting EQLogB"_s);
        }
        batch->setValue(u"DateLastPosting", qint64(SuiteDate::fromQDate(m_clock.today())));
        check(batches.update(*batch), u"Saving EQBatch"_s);
    }

    // Writes back what the run's logs moved.
    void finish() { m_moved.writeBack(); }

    int posted() const { return m_posted; }
    qint32 journal() const { return m_journal; }

private:
    const GLFiscal &periodOf(const data::Record &log) const
    {
        const DayNumber date = DayNumber(numberOf(log, u"Date"));
        if (const GLFiscal *period = m_periods.holding(date))
            return *period;
        throw Refusal{u"No fiscal period holds the date %1 of usage log %2."_s.arg(
            Picture::parse(u"@d2").format(qint64(date)), QString::number(numberOf(log, u"LogID")))};
    }

    // The year and period totals of one equipment in the prior-period files.
    void addPrior(const QString &equipment, const GLFiscal &period, const QString &kind,
                  const Decimal &units, const Decimal &income)
    {
        const qint64 year = period.FiscalYear;
        data::Record *yearly =
            m_moved.record(u"EQPrior"_s, u"KeyEquipmentYear",
                           {{u"EquipmentID"_s, equipment}, {u"FiscalYear"_s, year}}, true);
        data::Record *monthly = m_moved.record(u"EQPriorM"_s, u"KeyEquipmentYearPeriod",
                                               {{u"EquipmentID"_s, equipment},
                                                {u"FiscalYear"_s, year},
                                                {u"Period"_s, qint64(period.Period)}},
                                               true);
        for (data::Record *record : {yearly, monthly}) {
            addTo(*record, kind + u"Units"_s, units);
            addTo(*record, kind + u"Income"_s, income);
        }
    }

    void ledger(GLTrans &line)
    {
        line.JournalID = u"EQ"_s;
        line.JournalNo = m_journal;
        // A journal's lines are numbered in a 16-bit field: a run that would
        // need more is refused whole rather than numbered over again.
        if (m_line == std::numeric_limits<qint16>::max())
            throw Refusal{u"One posting run takes at most %1 general ledger lines.|Post the "
                          "tagged batches in smaller groups, moving part of a large batch's "
                          "logs to another batch first."_s.arg(m_line)};
        line.LineNo = ++m_line;
        check(m_company.file<GLTrans>().insert(line), u"Inserting GLTrans"_s);
        if (m_journal == 0) {
            // The run's journal number is its first line's transaction number.
            m_journal = line.RecordID;
            line.JournalNo = m_journal;
            check(m_company.file<GLTrans>().update(line), u"Saving GLTrans"_s);
        }
    }

    void postLog(const data::Record &log)
    {
        const QString logId = QString::number(numberOf(log, u"LogID"));
        const GLFiscal &period = periodOf(log);
        const QString equipmentId = textOf(log, u"EquipmentID");
        data::Record *equipment = m_moved.record(u"EQHeader"_s, u"KeyEquipmentID",
                                                 {{u"EquipmentID"_s, equipmentId}}, false);
        if (!equipment)
            throw Refusal{u"Usage log %1 is for equipment %2, which is not on file."_s.arg(
                logId, equipmentId)};
        const bool rental = textOf(log, u"ChargeType").toUpper() == u"R";
        const QString kind = rental ? u"Rental"_s : u"Internal"_s;
        const Decimal units = amountOf(log, u"Units");
        const Decimal charge = amountOf(log, u"AdjustedAmount");

        for (const QString &span : {u"Cumulative"_s, u"Year"_s, u"Month"_s}) {
            addTo(*equipment, span + kind + u"Units"_s, units);
            addTo(*equipment, span + kind + u"Income"_s, charge);
            addTo(*equipment, span + u"Units"_s, units);
        }
        equipment->setValue(u"LastPostingFiscalPeriod", qint64(period.FiscalPeriod));
        // The equipment's meter follows its highest posted reading, never
        // back, so that the next log starts where this one ended. The meter
        // keeps whole units, rounded as every stored figure is.
        const Decimal reading = amountOf(log, u"EndMeter").rounded(0);
        if (reading > amountOf(*equipment, u"CurrentMeter"))
            equipment->setValue(u"CurrentMeter", reading);
        const QString incomeAccount = textOf(*equipment, kind + u"IncomeControl"_s);
        addPrior(equipmentId, period, kind, units, charge);

        const QString detail = textOf(log, u"DetailType");
        const bool toCategory = detail == u"Equipment" || detail == u"Maintenance";
        QString costAccount = textOf(log, u"GLAccount");
        QString costCode;
        QString charged = equipmentId;
        if (toCategory) {
            // A maintenance log is work on the equipment itself: its entry form
            // and the import check the category on the log's own equipment and
            // leave the equipment charged blank.
            if (detail == u"Equipment")
                charged = textOf(log, u"EquipmentIDCharged");
            const QString category = textOf(log, u"Category");
            const data::Record *cost =
                m_moved.chargeCategory(charged, category, period, units, charge);
            if (!cost)
                throw Refusal{u"Usage log %1 charges cost category %2 of equipment %3, which "
                              u"that equipment does not have."_s.arg(logId, category, charged)};
            if (costAccount.isEmpty())
                costAccount = textOf(*cost, u"ControlDebit");
            costCode = costRecordId(charged, category);
        }
        if (incomeAccount.isEmpty())
            throw Refusal{u"Equipment %1 has no %2 income account.|Set it on the equipment "
                          u"before posting."_s.arg(equipmentId, kind.toLower())};
        if (costAccount.isEmpty())
            throw Refusal{u"Usage log %1 names no G/L account to charge."_s.arg(logId)};

        const QString description = u"Usage "_s + equipmentId + u" log "_s + logId;
        GLTrans income;
        income.FiscalPeriod = period.FiscalPeriod;
        income.TransDate = DayNumber(numberOf(log, u"Date"));
        income.Account = incomeAccount;
        income.CreditDebit = u"C"_s;
        income.Amount = charge;
        income.SubsidiaryCode = equipmentId.leftJustified(10) + (rental ? u".R"_s : u".I"_s);
        income.EquipmentID = equipmentId;
        income.SubsidiaryQuantity = units;
        income.JobID = textOf(log, u"JobID");
        income.CostCode = textOf(log, u"CostCode");
        income.EmployeeID = qint32(numberOf(log, u"EmployeeID"));
        income.Description = description;
        GLTrans cost = income;
        cost.Account = costAccount;
        cost.CreditDebit = u"D"_s;
        cost.SubsidiaryCode = costCode;
        cost.EquipmentID = charged;
        ledger(income);
        ledger(cost);

        RecordPtr posted = m_company.file(u"EQLog").schema().create();
        for (const data::FieldDef &field : posted->schema().fields) {
            if (field.name == u"RecordID" || !log.schema().field(field.name))
                continue;
            data::FieldValue value = log.value(field.name);
            if (const QString *string = std::get_if<QString>(&value))
                value = Text::cut(*string, field.width);
            posted->setValue(field.name, value);
        }
        // The posted log's type is the rate it was charged at.
        if (textOf(*posted, u"Type").isEmpty())
            posted->setValue(u"Type", textOf(log, u"ChargeType").left(1));
        posted->setValue(u"Posted", qint64(1));
        posted->setValue(u"JournalNumber", qint64(m_journal));
        check(m_company.file(u"EQLog").insert(*posted), u"Inserting EQLog"_s);
        ++m_posted;
    }

    data::Company &m_company;
    const Clock &m_clock;
    FiscalCalendar m_periods;
    MovedRecords m_moved;
    qint32 m_journal = 0;
    qint16 m_line = 0;
    int m_posted = 0;
};

} // namespace

PostingOutcome postUsageLogs(data::Session &session, const QList<quint16> &batches,
                             const Clock &clock, std::chrono::milliseconds wait)
{
    PostingOutcome outcome;
    outcome.error =
        runInTransaction(session, u"Posting"_s,
                         {u"EQBatch"_s, u"EQLogB"_s, u"EQLog"_s, u"EQHeader"_s, u"EQCost"_s,
                          u"EQPrior"_s, u"EQPriorM"_s, u"EQPriorC"_s, u"EQPriorCM"_s, u"GLTrans"_s},
                         wait, [&](data::Company &company) {
                             Run run(company, clock);
                             for (quint16 batch : batches)
                                 run.postBatch(batch);
                             run.finish();
                             outcome.logs = run.posted();
                             outcome.journal = run.journal();
                         });
    outcome.posted = outcome.error.isEmpty();
    if (!outcome.posted)
        outcome = PostingOutcome{false, 0, 0, outcome.error};
    return outcome;
}

} // namespace qaveq::suite
