#pragma once

#include "core/Decimal.h"
#include "core/ProcessOutcome.h"

#include <chrono>
#include <functional>

namespace qaveq {

class Prompter;
struct EQHeader;
struct GLDepr;

namespace data {
class Company;
}

// Builds an equipment's month-by-month depreciation schedule into GLDepr: one
// row per month after the purchase month, each with the straight-line, sum of
// years' digits and double-rate declining balance figures side by side.
//
// Amounts are 15.2 decimals. Quotients (the monthly straight-line amount, the
// sum-of-years' fraction, the remaining-months amount) are carried exactly to
// 18 places and become amounts by the store rule (round half away from zero)
// at the moment they are assigned to an amount; book values are always exact
// 15.2 sums of stored amounts. The declining balance is multiplied in double
// precision, as its rate is a double.
//
// No amount takes a book value below the salvage value, and the last month
// of each method takes exactly what is left above it. The run stops early only
// once all three methods stand at the salvage value. Afterwards the equipment
// has exactly the months of its life: unposted rows beyond them are removed,
// posted ones are kept and named in a message.
//
// The run is one transaction on GLDepr. It waits up to the time-out for
// another station to finish with the file and, without the transaction,
// writes nothing and says so. The first failed write (a full disk, a lost
// server) shows its error, rolls everything back and ends the run: a schedule
// is stored whole or not at all.
class ScheduleCalculator
{
public:
    // Not done: refused (no purchase date, salvage above cost, amounts too
    // large), GLDepr held by another station (busy), or a write failed;
    // nothing was written, and the prompter has said why.
    struct Result : ProcessOutcome
    {
        int rowsUpdated = 0;
        int rowsInserted = 0;
        int rowsDeleted = 0;
        int postedKept = 0; // posted rows beyond the life, left in place
    };

    static constexpr std::chrono::milliseconds DefaultTimeout{5000};

    ScheduleCalculator(data::Company &company, Prompter &prompter);

    void setTransactionTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // What a schedule is calculated from, as every row stores it: the purchase
    // date, purchase and salvage values, months of life and method. A schedule
    // whose rows hold another basis is out of date.
    static QString basis(const EQHeader &equipment);

    // Calculates and stores the schedule of `equipment` (the equipment record
    // itself is not saved).
    Result calculate(const EQHeader &equipment);
    // The same run inside a transaction that is then rolled back: `eachRow` sees
    // the equipment's rows as the run would leave them.
    Result preview(const EQHeader &equipment, const std::function<void(const GLDepr &)> &eachRow);

private:
    bool refuse(const EQHeader &equipment);
    void tell(const QString &text);
    Result run(const EQHeader &equipment, const std::function<void(const GLDepr &)> *preview);

    data::Company &m_company;
    Prompter &m_prompter;
    std::chrono::milliseconds m_timeout = DefaultTimeout;
};

} // namespace qaveq
