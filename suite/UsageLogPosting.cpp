#include "UsageLogPosting.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"
#include "data/suite/GeneralLedgerFiles.h"

#include "core/Clock.h"
#include "core/Picture.h"
#include "core/Text.h"

#include <exception>
#include <limits>
#include <map>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

namespace {

using RecordPtr = std::unique_ptr<data::Record>;

// The posting run belongs to the suite: it reaches the equipment module's
// files through the company's catalogue, by field name.
QString text(const data::Record &record, QStringView field)
{
    return Text::clip(std::get<QString>(record.value(field)));
}

Decimal amount(const data::Record &record, QStringView field)
{
    return std::get<Decimal>(record.value(field));
}

qint64 number(const data::Record &record, QStringView field)
{
    return std::get<qint64>(record.value(field));
}

void add(data::Record &record, QStringView field, const Decimal &by)
{
    record.setValue(field, amount(record, field) + by);
}

// Thrown inside the run to leave it; the transaction then rolls back.
struct Refusal
{
    QString text;
};

void check(data::FileStatus status, const QString &doing)
{
    if (!status)
        throw Refusal{status.error().text() + u' ' + doing};
}

class Run
{
public:
    Run(data::Company &company, const Clock &clock)
        : m_company(company)
        , m_clock(clock)
    {
        data::KeyCursor cursor = company.file<GLFiscal>().scan(u"KeyFiscalPeriodUp");
        GLFiscal period;
        while (cursor.next(period))
            m_periods.push_back(period);
    }

    void postBatch(quint16 batchId)
    {
        data::Table &batches = m_company.file(u"EQBatch");
        RecordPtr batch = batches.schema().create();
        batch->setValue(u"BatchID", qint64(batchId));
        if (!batches.fetch(u"KeyBatchID", *batch))
            throw Refusal{u"Batch %1 no longer exists."_s.arg(batchId)};
        const bool repeating = number(*batch, u"Repeating") == 1;

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
    void finish()
    {
        for (const auto &[which, record] : m_moved)
            if (record)
                check(m_company.file(which.first).update(*record), u"Saving "_s + which.first);
    }

    int posted() const { return m_posted; }
    qint32 journal() const { return m_journal; }

private:
    const GLFiscal &periodOf(const data::Record &log) const
    {
        const DayNumber date = DayNumber(number(log, u"Date"));
        for (const GLFiscal &period : m_periods)
            if (period.StartDate <= date && date <= period.EndDate)
                return period;
        throw Refusal{u"No fiscal period holds the date %1 of usage log %2."_s.arg(
            Picture::parse(u"@d2").format(qint64(date)), QString::number(number(log, u"LogID")))};
    }

    // A record the run moves (an equipment, a cost category, a prior-period
    // total), read (or, when `create`, inserted) the first time a log moves
    // it and written back once by finish(), however many logs move it.
    data::Record *moved(const QString &file, QStringView key,
                        const QList<std::pair<QString, data::FieldValue>> &fields, bool create)
    {
        QList<data::FieldValue> values;
        for (const auto &[field, value] : fields)
            values.append(value);
        RecordPtr &held = m_moved[{file, values}];
        if (held)
            return held.get();
        data::Table &table = m_company.file(file);
        RecordPtr record = table.schema().create();
        for (const auto &[field, value] : fields)
            record->setValue(field, value);
        if (!table.fetch(key, *record)) {
            if (!create)
                return nullptr;
            check(table.insert(*record), u"Inserting "_s + file);
        }
        held = std::move(record);
        return held.get();
    }

    // The year and period totals of one equipment in the prior-period files.
    void addPrior(const QString &equipment, const GLFiscal &period, const QString &kind,
                  const Decimal &units, const Decimal &income)
    {
        const qint64 year = period.FiscalYear;
        data::Record *yearly =
            moved(u"EQPrior"_s, u"KeyEquipmentYear",
                  {{u"EquipmentID"_s, equipment}, {u"FiscalYear"_s, year}}, true);
        data::Record *monthly = moved(u"EQPriorM"_s, u"KeyEquipmentYearPeriod",
                                      {{u"EquipmentID"_s, equipment},
                                       {u"FiscalYear"_s, year},
                                       {u"Period"_s, qint64(period.Period)}},
                                      true);
        for (data::Record *record : {yearly, monthly}) {
            add(*record, kind + u"Units"_s, units);
            add(*record, kind + u"Income"_s, income);
        }
    }

    void addPriorCategory(const QString &equipment, const QString &category, const GLFiscal &period,
                          const Decimal &units, const Decimal &cost)
    {
        const qint64 year = period.FiscalYear;
        data::Record *yearly = moved(
            u"EQPriorC"_s, u"KeyEquipmentCategoryYear",
            {{u"EquipmentID"_s, equipment}, {u"Category"_s, category}, {u"FiscalYear"_s, year}},
            true);
        data::Record *monthly = moved(u"EQPriorCM"_s, u"KeyEquipmentCategoryYearPeriod",
                                      {{u"EquipmentID"_s, equipment},
                                       {u"Category"_s, category},
                                       {u"FiscalYear"_s, year},
                                       {u"Period"_s, qint64(period.Period)}},
                                      true);
        for (data::Record *record : {yearly, monthly}) {
            add(*record, u"Units", units);
            add(*record, u"Amount", cost);
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
        const QString logId = QString::number(number(log, u"LogID"));
        const GLFiscal &period = periodOf(log);
        const QString equipmentId = text(log, u"EquipmentID");
        data::Record *equipment =
            moved(u"EQHeader"_s, u"KeyEquipmentID", {{u"EquipmentID"_s, equipmentId}}, false);
        if (!equipment)
            throw Refusal{u"Usage log %1 is for equipment %2, which is not on file."_s.arg(
                logId, equipmentId)};
        const bool rental = text(log, u"ChargeType").toUpper() == u"R";
        const QString kind = rental ? u"Rental"_s : u"Internal"_s;
        const Decimal units = amount(log, u"Units");
        const Decimal charge = amount(log, u"AdjustedAmount");

        for (const QString &span : {u"Cumulative"_s, u"Year"_s, u"Month"_s}) {
            add(*equipment, span + kind + u"Units"_s, units);
            add(*equipment, span + kind + u"Income"_s, charge);
            add(*equipment, span + u"Units"_s, units);
        }
        equipment->setValue(u"LastPostingFiscalPeriod", qint64(period.FiscalPeriod));
        // The equipment's meter follows its highest posted reading, never
        // back, so that the next log starts where this one ended. The meter
        // keeps whole units, rounded as every stored figure is.
        const Decimal reading = amount(log, u"EndMeter").rounded(0);
        if (reading > amount(*equipment, u"CurrentMeter"))
            equipment->setValue(u"CurrentMeter", reading);
        const QString incomeAccount = text(*equipment, kind + u"IncomeControl"_s);
        addPrior(equipmentId, period, kind, units, charge);

        const QString detail = text(log, u"DetailType");
        const bool toCategory = detail == u"Equipment" || detail == u"Maintenance";
        QString costAccount = text(log, u"GLAccount");
        QString costCode;
        QString charged = equipmentId;
        if (toCategory) {
            // A maintenance log is work on the equipment itself: its entry form
            // and the import check the category on the log's own equipment and
            // leave the equipment charged blank.
            if (detail == u"Equipment")
                charged = text(log, u"EquipmentIDCharged");
            const QString category = text(log, u"Category");
            data::Record *cost =
                moved(u"EQCost"_s, u"KeyRecordID",
                      {{u"RecordID"_s, charged.leftJustified(10) + category}}, false);
            if (!cost)
                throw Refusal{u"Usage log %1 charges cost category %2 of equipment %3, which "
                              u"that equipment does not have."_s.arg(logId, category, charged)};
            for (const auto &[unitsField, amountField] :
                 {std::pair{u"CumulativeUnitUsed"_s, u"CumulativeAmount"_s},
                  std::pair{u"YearUnitsUsed"_s, u"YearAmount"_s},
                  std::pair{u"MonthUnitsUsed"_s, u"MonthAmount"_s}}) {
                add(*cost, unitsField, units);
                add(*cost, amountField, charge);
            }
            if (costAccount.isEmpty())
                costAccount = text(*cost, u"ControlDebit");
            addPriorCategory(charged, category, period, units, charge);
            costCode = charged.leftJustified(10) + category;
        }
        if (incomeAccount.isEmpty())
            throw Refusal{u"Equipment %1 has no %2 income account.|Set it on the equipment "
                          u"before posting."_s.arg(equipmentId, kind.toLower())};
        if (costAccount.isEmpty())
            throw Refusal{u"Usage log %1 names no G/L account to charge."_s.arg(logId)};

        const QString description = u"Usage "_s + equipmentId + u" log "_s + logId;
        GLTrans income;
        income.FiscalPeriod = period.FiscalPeriod;
        income.TransDate = DayNumber(number(log, u"Date"));
        income.Account = incomeAccount;
        income.CreditDebit = u"C"_s;
        income.Amount = charge;
        income.SubsidiaryCode = equipmentId.leftJustified(10) + (rental ? u".R"_s : u".I"_s);
        income.EquipmentID = equipmentId;
        income.SubsidiaryQuantity = units;
        income.JobID = text(log, u"JobID");
        income.CostCode = text(log, u"CostCode");
        income.EmployeeID = qint32(number(log, u"EmployeeID"));
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
        if (text(*posted, u"Type").isEmpty())
            posted->setValue(u"Type", text(log, u"ChargeType").left(1));
        posted->setValue(u"Posted", qint64(1));
        posted->setValue(u"JournalNumber", qint64(m_journal));
        check(m_company.file(u"EQLog").insert(*posted), u"Inserting EQLog"_s);
        ++m_posted;
    }

    data::Company &m_company;
    const Clock &m_clock;
    std::vector<GLFiscal> m_periods;
    std::map<std::pair<QString, QList<data::FieldValue>>, RecordPtr> m_moved;
    qint32 m_journal = 0;
    qint16 m_line = 0;
    int m_posted = 0;
};

} // namespace

PostingOutcome postUsageLogs(data::Session &session, const QList<quint16> &batches,
                             const Clock &clock, std::chrono::milliseconds wait)
{
    PostingOutcome outcome;
    if (!session.company) {
        outcome.error = u"No company is open."_s;
        return outcome;
    }
    data::Company &company = *session.company;
    data::Transaction transaction(company.database(),
                                  {u"EQBatch"_s, u"EQLogB"_s, u"EQLog"_s, u"EQHeader"_s,
                                   u"EQCost"_s, u"EQPrior"_s, u"EQPriorM"_s, u"EQPriorC"_s,
                                   u"EQPriorCM"_s, u"GLTrans"_s},
                                  wait);
    if (!transaction.isActive()) {
        outcome.error = transaction.error().text();
        return outcome;
    }
    try {
        Run run(company, clock);
        for (quint16 batch : batches)
            run.postBatch(batch);
        run.finish();
        check(transaction.commit(), u"Posting"_s);
        outcome.posted = true;
        outcome.logs = run.posted();
        outcome.journal = run.journal();
    } catch (const Refusal &refusal) {
        outcome.error = refusal.text;
    } catch (const std::exception &failure) {
        // A figure out of range or a file the catalogue lacks ends the run, not the program.
        outcome.error = QString::fromUtf8(failure.what());
    }
    return outcome;
}

} // namespace qaveq::suite
