#include "PeriodClose.h"
#include "PostingRecords.h"

#include "data/Company.h"

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace qaveq::suite {

namespace {

// The running totals a close starts again, by file: month to date, year to date.
struct Totals
{
    const char16_t *file;
    const char16_t *key;
    std::initializer_list<const char16_t *> month;
    std::initializer_list<const char16_t *> year;
};

const Totals ClosedTotals[] = {
    {u"EQHeader",
     u"KeyEquipmentID",
     {u"MonthInternalUnits", u"MonthInternalIncome", u"MonthRentalUnits", u"MonthRentalIncome",
      u"MonthUnits", u"MonthNonProductiveUnits"},
     {u"YearInternalUnits", u"YearInternalIncome", u"YearRentalUnits", u"YearRentalIncome",
      u"YearUnits", u"YearNonProductiveUnits"}},
    {u"EQCost",
     u"KeyRecordID",
     {u"MonthUnitsUsed", u"MonthAmount"},
     {u"YearUnitsUsed", u"YearAmount"}},
};

// Sets the fields to zero; true when one of them was not.
bool cleared(data::Record &record, std::initializer_list<const char16_t *> fields)
{
    bool changed = false;
    for (const char16_t *field : fields) {
        const QStringView name(field);
        changed = changed || !amountOf(record, name).isZero();
        record.setValue(name, Decimal());
    }
    return changed;
}

void startAgain(data::Company &company, const Totals &totals, bool newYear)
{
    data::Table &table = company.file(QStringView(totals.file));
    data::KeyCursor cursor = table.scan(QStringView(totals.key));
    for (const auto record = table.schema().create(); cursor.next(*record);) {
        bool moved = cleared(*record, totals.month);
        if (newYear)
            moved = cleared(*record, totals.year) || moved;
        if (moved)
            check(table.update(*record), u"Saving "_s + QString::fromUtf16(totals.file));
    }
    if (cursor.error())
        throw Refusal{cursor.error()->text() + u" Reading "_s + QString::fromUtf16(totals.file)};
}

} // namespace

PeriodCloseOutcome closePeriod(data::Session &session, qint32 fiscalPeriod,
                               std::chrono::milliseconds wait)
{
    PeriodCloseOutcome outcome;
    outcome.error = runInTransaction(
        session, u"Closing the period"_s, {u"GLFiscal"_s, u"EQHeader"_s, u"EQCost"_s}, wait,
        [&](data::Company &company) {
            const FiscalCalendar calendar(company);
            const GLFiscal *period = calendar.numbered(fiscalPeriod);
            if (!period)
                throw Refusal{u"There is no fiscal period %1."_s.arg(fiscalPeriod)};
            const GLFiscal *next = calendar.after(*period);
            if (!next)
                throw Refusal{u"Fiscal period %1 is the last one on file.|Add the periods of "
                              u"the next fiscal year before closing it."_s.arg(period->Label)};
            outcome.newYear = next->FiscalYear != period->FiscalYear;
            for (const Totals &totals : ClosedTotals)
                startAgain(company, totals, outcome.newYear);
            if (period->Closed == 0) {
                GLFiscal closed = *period;
                closed.Closed = 1;
                check(company.file<GLFiscal>().update(closed), u"Saving GLFiscal"_s);
            }
        });
    outcome.closed = outcome.error.isEmpty();
    if (!outcome.closed)
        outcome.newYear = false;
    return outcome;
}

} // namespace qaveq::suite
