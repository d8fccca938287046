#include "ScheduleCalculator.h"

#include "ScheduleRows.h"
#include "records/EQHeader.h"
#include "records/GLDepr.h"

#include "data/Company.h"
#include "data/Transaction.h"

#include "core/Prompter.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

constexpr int AmountDigits = 15;
constexpr int AmountPlaces = 2;

// The store rule for every amount of the schedule.
Decimal amount(const Decimal &value)
{
    return value.stored(AmountDigits, AmountPlaces);
}

// An amount that would take `book` below `salvage` takes only what is left.
Decimal withinSalvage(const Decimal &charge, const Decimal &book, const Decimal &salvage)
{
    return book - charge < salvage ? book - salvage : charge;
}

// The working values of one run.
class MonthlyRun
{
public:
    explicit MonthlyRun(const EQHeader &equipment)
        : m_salvage(equipment.SalvageValue)
        , m_depreciable(equipment.PurchaseValue - equipment.SalvageValue)
        , m_months(equipment.DepreciationYears)
        , m_straightLine(equipment.PurchaseValue)
        , m_sumOfYears(equipment.PurchaseValue)
        , m_declining(equipment.PurchaseValue)
    {
        if (m_months == 0)
            return;
        m_monthlyStraightLine = amount(m_depreciable / Decimal(m_months));
        m_sumOfDigits = Decimal(qint64(m_months) * (m_months + 1) / 2);
        m_decliningRate = (Decimal(1) / Decimal(m_months) * Decimal(2)).toDouble();
    }

    int months() const { return m_months; }
    // All three methods have reached the salvage value: later months would
    // all be zero.
    bool atSalvage() const
    {
        return m_straightLine == m_salvage && m_sumOfYears == m_salvage && m_declining == m_salvage;
    }

    // Month p (1-based) into the row; the row's other fields stay as they are.
    void compute(int p, GLDepr &row)
    {
        const bool last = p == m_months;

        Decimal charge = last ? m_straightLine - m_salvage : m_monthlyStraightLine;
        charge = withinSalvage(charge, m_straightLine, m_salvage);
        m_straightLine -= charge;
        row.SLAmount = charge;
        row.SLValue = m_straightLine;

        const Decimal fraction = Decimal(m_months - p + 1) / m_sumOfDigits;
        charge = last ? m_sumOfYears - m_salvage : amount(fraction * m_depreciable);
        charge = withinSalvage(charge, m_sumOfYears, m_salvage);
        m_sumOfYears -= charge;
        row.SYAmount = charge;
        row.SYValue = m_sumOfYears;

        if (last) {
            charge = m_declining - m_salvage;
        } else if (m_switched) {
            charge = m_decliningStraightLine;
        } else {
            m_decliningStraightLine = amount((m_declining - m_salvage) / Decimal(m_months - p + 1));
            charge = Decimal::fromDouble(m_declining.toDouble() * m_decliningRate, AmountPlaces);
            if (charge < m_decliningStraightLine) {
                charge = m_decliningStraightLine;
                m_switched = true;
            }
        }
        charge = withinSalvage(charge, m_declining, m_salvage);
        m_declining -= charge;
        row.DDBAmount = charge;
        row.DDBValue = m_declining;
    }

private:
    Decimal m_salvage;
    Decimal m_depreciable;
    int m_months;
    Decimal m_straightLine; // book values of the three methods
    Decimal m_sumOfYears;
    Decimal m_declining;
    Decimal m_monthlyStraightLine;
    Decimal m_sumOfDigits;
    double m_decliningRate = 0;
    Decimal m_decliningStraightLine;
    bool m_switched = false;
};

} // namespace

ScheduleCalculator::ScheduleCalculator(data::Company &company, Prompter &prompter)
    : m_company(company)
    , m_prompter(prompter)
{}

QString ScheduleCalculator::basis(const EQHeader &equipment)
{
    // At most 7 + 17 + 17 + 5 + 3 characters and four separators: within the
    // stored 60 for any value the fields hold.
    return u"%1;%2;%3;%4;%5"_s.arg(equipment.PurchaseDate)
        .arg(equipment.PurchaseValue.toString(2), equipment.SalvageValue.toString(2))
        .arg(equipment.DepreciationYears)
        .arg(equipment.DepreciationMethod);
}

ScheduleCalculator::Result ScheduleCalculator::calculate(const EQHeader &equipment)
{
    return run(equipment, nullptr);
}

ScheduleCalculator::Result
ScheduleCalculator::preview(const EQHeader &equipment,
                            const std::function<void(const GLDepr &)> &eachRow)
{
    return run(equipment, &eachRow);
}

void ScheduleCalculator::tell(const QString &text)
{
    m_prompter.ask(Message::alert(u"Calculate Schedule"_s, text));
}

bool ScheduleCalculator::refuse(const EQHeader &equipment)
{
    const QString equipmentId = Text::clip(equipment.EquipmentID);
    if (equipment.PurchaseDate == 0) {
        // Without a purchase date there is no first month to start from.
        tell(u"Equipment %1 has no purchase date.|Enter the purchase date, then calculate the "
             "schedule again."_s.arg(equipmentId));
        return true;
    }
    if (equipment.SalvageValue > equipment.PurchaseValue) {
        // Every method would charge negative amounts and never reach salvage.
        tell(u"Equipment %1 has a salvage value above its purchase value.|Correct the values, "
             "then calculate the schedule again."_s.arg(equipmentId));
        return true;
    }
    return false;
}

ScheduleCalculator::Result
ScheduleCalculator::run(const EQHeader &equipment,
                        const std::function<void(const GLDepr &)> *preview)
{
    Result result;
    if (refuse(equipment))
        return result;
    const QString equipmentId = Text::clip(equipment.EquipmentID);

    data::Table &file = m_company.file<GLDepr>();
    data::Transaction transaction(m_company.database(), {GLDepr::fileSchema().table}, m_timeout);
    if (!transaction.isActive()) {
        result.busy = true;
        tell(transaction.notBegunText());
        return result;
    }
    // Every failure ends the run; the transaction's destructor rolls back
    // what was written before it.
    const auto failed = [&](const data::FileError &error, const QString &action) {
        tell(error.text() + action + u"|The schedule was not changed."_s);
        return Result{};
    };

    const QString basisText = basis(equipment);
    const int purchaseMonth = SuiteDate::month(equipment.PurchaseDate);
    const int purchaseYear = SuiteDate::year(equipment.PurchaseDate);
    // The last day of the schedule: the purchase month's last day until a
    // month is written.
    DayNumber end = SuiteDate::make(purchaseMonth + 1, 0, purchaseYear);
    try {
        MonthlyRun months(equipment);
        for (int p = 1; p <= months.months(); ++p) {
            const DayNumber first = SuiteDate::make(purchaseMonth + p, 1, purchaseYear);
            end = SuiteDate::make(purchaseMonth + p + 1, 0, purchaseYear);

            // A row stored for this month, whatever day its date holds.
            GLDepr row;
            data::ScanOptions month;
            month.from = {equipmentId, qint64(first)};
            month.to = {equipmentId, qint64(end)};
            month.pageSize = 1;
            data::KeyCursor existing = file.scan(u"KeyEquipmentID", month);
            if (existing.next(row)) {
                months.compute(p, row);
                row.Basis = basisText;
                if (data::FileStatus status = file.update(row); !status)
                    return failed(status.error(), u" Saving GLDepr"_s);
                ++result.rowsUpdated;
            } else if (existing.error()) {
                return failed(*existing.error(), u" Saving GLDepr"_s);
            } else {
                row = GLDepr();
                if (data::FileStatus status = file.prime(row); !status)
                    return failed(status.error(), u" Autoincrementing GLDepr"_s);
                row.EquipmentID = equipmentId;
                row.Date = first;
                row.Basis = basisText;
                months.compute(p, row);
                if (data::FileStatus status = file.insert(row); !status)
                    return failed(status.error(), u" Inserting GLDepr"_s);
                ++result.rowsInserted;
            }
            if (months.atSalvage())
                break;
        }
    } catch (const DecimalOverflow &) {
        tell(u"The amounts of equipment %1 are too large to depreciate.|Check the purchase and "
             "salvage values; the schedule was not changed."_s.arg(equipmentId));
        return {};
    }

    // Rows after the sale go whatever they hold; rows outside the months of
    // the life (before its first month, after its last) go unless the
    // general ledger has posted them.
    const DayNumber start = SuiteDate::make(purchaseMonth + 1, 1, purchaseYear);
    const DayNumber lastKept = equipment.SaleDate != 0 ? std::min(end, equipment.SaleDate) : end;
    data::ScanOptions before;
    before.from = {equipmentId};
    before.to = {equipmentId, qint64(start) - 1};
    data::ScanOptions beyond;
    beyond.from = {equipmentId, qint64(lastKept) + 1};
    beyond.to = {equipmentId};
    QStringList postedKept;
    for (const data::ScanOptions &outside : {before, beyond}) {
        data::KeyCursor rows = file.scan(u"KeyEquipmentID", outside);
        GLDepr row;
        while (rows.next(row)) {
            const bool sold = equipment.SaleDate != 0 && row.Date > equipment.SaleDate;
            if (!sold && row.GLTransID != 0) {
                postedKept.append(SuiteDate::toQDate(row.Date).toString(u"MM/yyyy"_s));
                continue;
            }
            if (data::FileStatus status = file.remove(row); !status)
                return failed(status.error(), u" Deleting GLDepr"_s);
            ++result.rowsDeleted;
        }
        if (rows.error())
            return failed(*rows.error(), u" Deleting GLDepr"_s);
    }

    if (preview) {
        for (const GLDepr &stored : scheduleRows(m_company, equipmentId))
            (*preview)(stored);
        transaction.rollback();
    } else if (data::FileStatus status = transaction.commit(); !status) {
        return failed(status.error(), u" Saving GLDepr"_s);
    }
    result.done = true;
    result.postedKept = int(postedKept.size());
    if (!postedKept.isEmpty())
        tell(u"Equipment %1 has rows outside its %2 months that are posted to the general "
             "ledger: %3.|They were kept; reverse their postings to remove them."_s.arg(equipmentId)
                 .arg(equipment.DepreciationYears)
                 .arg(postedKept.join(u", "_s)));
    return result;
}

} // namespace qaveq
