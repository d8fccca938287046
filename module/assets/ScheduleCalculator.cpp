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
    const Decimal &straightLineValue() const { return m_straightLine; }

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

ScheduleCalculator::Result
ScheduleCalculator::run(const EQHeader &equipment,
                        const std::function<void(const GLDepr &)> *preview)
{
    Result result;
    const QString equipmentId = Text::clip(equipment.EquipmentID);
    if (equipment.PurchaseDate == 0) {
        // Without a purchase date there is no first month to start from.
        m_prompter.ask(Message{u"Calculate Schedule"_s,
                               u"Equipment %1 has no purchase date.|Enter the purchase date, then "
                               "calculate the schedule again."_s.arg(equipmentId),
                               u"&OK"_s, 1, Message::Icon::Exclamation});
        return result;
    }

    data::Table &file = m_company.file<GLDepr>();
    data::Transaction transaction(m_company.database(), {GLDepr::fileSchema().table}, m_timeout);
    result.usedTransaction = transaction.isActive();
    if (preview && !transaction.isActive())
        return result;
    result.calculated = true;

    const auto failed = [&](const data::FileError &error, const QString &action) {
        ++result.failures;
        m_prompter.ask(Message{u"Calculate Schedule"_s, error.text() + action, u"&OK"_s, 1,
                               Message::Icon::Exclamation});
    };

    MonthlyRun months(equipment);
    const int purchaseMonth = SuiteDate::month(equipment.PurchaseDate);
    const int purchaseYear = SuiteDate::year(equipment.PurchaseDate);
    for (int p = 1; p <= months.months(); ++p) {
        const DayNumber first = SuiteDate::make(purchaseMonth + p, 1, purchaseYear);
        const DayNumber last = SuiteDate::make(purchaseMonth + p + 1, 0, purchaseYear);

        // A row stored for this month, whatever day its date holds.
        GLDepr row;
        data::ScanOptions month;
        month.from = {equipmentId, qint64(first)};
        month.to = {equipmentId, qint64(last)};
        month.pageSize = 1;
        data::KeyCursor existing = file.scan(u"KeyEquipmentID", month);
        if (existing.next(row)) {
            months.compute(p, row);
            if (data::FileStatus status = file.update(row); status)
                ++result.rowsUpdated;
            else
                failed(status.error(), u" Saving GLDepr"_s);
        } else {
            row = GLDepr();
            if (data::FileStatus status = file.prime(row); !status)
                failed(status.error(), u" Autoincrementing GLDepr"_s);
            row.EquipmentID = equipmentId;
            row.Date = first;
            months.compute(p, row);
            if (data::FileStatus status = file.insert(row); status)
                ++result.rowsInserted;
            else
                failed(status.error(), u" Inserting GLDepr"_s);
        }
        if (months.straightLineValue() == equipment.SalvageValue)
            break;
    }

    if (equipment.SaleDate != 0) {
        data::ScanOptions afterSale;
        afterSale.from = {equipmentId, qint64(equipment.SaleDate) + 1};
        afterSale.to = {equipmentId};
        data::KeyCursor rows = file.scan(u"KeyEquipmentID", afterSale);
        GLDepr row;
        while (rows.next(row)) {
            if (data::FileStatus status = file.remove(row); status)
                ++result.rowsDeleted;
            else
                failed(status.error(), u" Deleting GLDepr"_s);
        }
    }

    if (preview) {
        for (const GLDepr &row : scheduleRows(m_company, equipmentId))
            (*preview)(row);
        transaction.rollback();
    } else if (transaction.isActive()) {
        if (data::FileStatus status = transaction.commit(); !status)
            failed(status.error(), u" Saving GLDepr"_s);
    }
    return result;
}

} // namespace qaveq
