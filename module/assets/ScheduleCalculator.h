#pragma once

#include "core/Decimal.h"

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
// of each method takes exactly what is left above it.
//
// The run is one transaction on GLDepr when that can be begun within the
// time-out; otherwise it goes on without one. A failed write shows its error
// through the prompter and the run goes on with the next month.
class ScheduleCalculator
{
public:
    struct Result
    {
        bool calculated = false; // false: refused (no purchase date), nothing written
        bool usedTransaction = false;
        int rowsUpdated = 0;
        int rowsInserted = 0;
        int rowsDeleted = 0;
        int failures = 0;
    };

    static constexpr std::chrono::milliseconds DefaultTimeout{5000};

    ScheduleCalculator(data::Company &company, Prompter &prompter);

    void setTransactionTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Calculates and stores the schedule of `equipment` (the equipment record
    // itself is not saved).
    Result calculate(const EQHeader &equipment);
    // The same run inside a transaction that is then rolled back: `eachRow` sees
    // the equipment's rows as the run would leave them. Without the transaction
    // nothing is run and the result says not calculated.
    Result preview(const EQHeader &equipment, const std::function<void(const GLDepr &)> &eachRow);

private:
    Result run(const EQHeader &equipment, const std::function<void(const GLDepr &)> *preview);

    data::Company &m_company;
    Prompter &m_prompter;
    std::chrono::milliseconds m_timeout = DefaultTimeout;
};

} // namespace qaveq
