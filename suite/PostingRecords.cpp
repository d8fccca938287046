#include "PostingRecords.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/Transaction.h"

#include "core/Text.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

void check(const data::FileStatus &status, const QString &doing)
{
    if (!status)
        throw Refusal{status.error().text() + u' ' + doing};
}

QString textOf(const data::Record &record, QStringView field)
{
    return Text::clip(std::get<QString>(record.value(field)));
}

Decimal amountOf(const data::Record &record, QStringView field)
{
    return std::get<Decimal>(record.value(field));
}

qint64 numberOf(const data::Record &record, QStringView field)
{
    return std::get<qint64>(record.value(field));
}

void addTo(data::Record &record, QStringView field, const Decimal &by)
{
    record.setValue(field, amountOf(record, field) + by);
}

QString costRecordId(const QString &equipment, const QString &category)
{
    return equipment.leftJustified(10) + category;
}

FiscalCalendar::FiscalCalendar(data::Company &company)
{
    data::KeyCursor cursor = company.file<GLFiscal>().scan(u"KeyFiscalPeriodUp");
    for (GLFiscal period; cursor.next(period);)
        m_periods.push_back(period);
    if (cursor.error())
        throw Refusal{cursor.error()->text() + u" Reading GLFiscal"_s};
}

const GLFiscal *FiscalCalendar::holding(DayNumber date) const
{
    for (const GLFiscal &period : m_periods)
        if (period.StartDate <= date && date <= period.EndDate)
            return &period;
    return nullptr;
}

const GLFiscal *FiscalCalendar::numbered(qint32 fiscalPeriod) const
{
    for (const GLFiscal &period : m_periods)
        if (period.FiscalPeriod == fiscalPeriod)
            return &period;
    return nullptr;
}

const GLFiscal *FiscalCalendar::after(const GLFiscal &period) const
{
    for (const GLFiscal &next : m_periods)
        if (next.FiscalPeriod > period.FiscalPeriod)
            return &next;
    return nullptr;
}

MovedRecords::MovedRecords(data::Company &company)
    : m_company(company)
{}

data::Record *MovedRecords::record(const QString &file, QStringView key,
                                   const QList<std::pair<QString, data::FieldValue>> &fields,
                                   bool create)
{
    QList<data::FieldValue> values;
    for (const auto &[field, value] : fields)
        values.append(value);
    std::unique_ptr<data::Record> &held = m_moved[{file, values}];
    if (held)
        return held.get();
    data::Table &table = m_company.file(file);
    std::unique_ptr<data::Record> record = table.schema().create();
    for (const auto &[field, value] : fields)
        record->setValue(field, value);
    if (const data::FileStatus found = table.fetch(key, *record); !found) {
        if (found.error().code != data::FileErrorCode::RecordNotFound)
            check(found, u"Reading "_s + file);
        if (!create)
            return nullptr;
        check(table.insert(*record), u"Inserting "_s + file);
    }
    held = std::move(record);
    return held.get();
}

data::Record *MovedRecords::chargeCategory(const QString &equipment, const QString &category,
                                           const GLFiscal &period, const Decimal &units,
                                           const Decimal &amount)
{
    data::Record *cost = record(u"EQCost"_s, u"KeyRecordID",
                                {{u"RecordID"_s, costRecordId(equipment, category)}}, false);
    if (!cost)
        return nullptr;
    for (const auto &[unitsField, amountField] :
         {std::pair{u"CumulativeUnitUsed"_s, u"CumulativeAmount"_s},
          std::pair{u"YearUnitsUsed"_s, u"YearAmount"_s},
          std::pair{u"MonthUnitsUsed"_s, u"MonthAmount"_s}}) {
        addTo(*cost, unitsField, units);
        addTo(*cost, amountField, amount);
    }
    const qint64 year = period.FiscalYear;
    data::Record *yearly = record(
        u"EQPriorC"_s, u"KeyEquipmentCategoryYear",
        {{u"EquipmentID"_s, equipment}, {u"Category"_s, category}, {u"FiscalYear"_s, year}}, true);
    data::Record *monthly = record(u"EQPriorCM"_s, u"KeyEquipmentCategoryYearPeriod",
                                   {{u"EquipmentID"_s, equipment},
                                    {u"Category"_s, category},
                                    {u"FiscalYear"_s, year},
                                    {u"Period"_s, qint64(period.Period)}},
                                   true);
    for (data::Record *prior : {yearly, monthly}) {
        addTo(*prior, u"Units", units);
        addTo(*prior, u"Amount", amount);
    }
    return cost;
}

void MovedRecords::writeBack()
{
    for (const auto &[which, record] : m_moved)
        if (record)
            check(m_company.file(which.first).update(*record), u"Saving "_s + which.first);
}

QString runInTransaction(data::Session &session, const QString &run, const QStringList &tables,
                         std::chrono::milliseconds wait,
                         const std::function<void(data::Company &)> &work)
{
    if (!session.company)
        return u"No company is open."_s;
    data::Transaction transaction(session.company->database(), tables, wait);
    if (!transaction.isActive())
        return transaction.error().text();
    try {
        work(*session.company);
        check(transaction.commit(), run);
    } catch (const Refusal &refusal) {
        return refusal.text;
    } catch (const std::exception &failure) {
        // A figure out of range or a file the catalogue lacks ends the run, not the program.
        return QString::fromUtf8(failure.what());
    }
    return {};
}

} // namespace qaveq::suite
