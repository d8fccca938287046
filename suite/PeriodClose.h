#pragma once

#include <QString>

#include <chrono>

namespace qaveq {

namespace data {
class Session;
}

namespace suite {

struct PeriodCloseOutcome
{
    bool closed = false;
    bool newYear = false; // the next period opens a new fiscal year
    QString error;        // why nothing was closed
};

// The suite's period close of one fiscal period: the period is marked
// closed, and the month-to-date totals of every equipment and every cost
// category start again from zero for the next period; when the next period
// opens a new fiscal year, the year-to-date totals too. The cumulative totals
// and the prior-period files keep everything. One transaction: a failure
// leaves every file as it was.
PeriodCloseOutcome closePeriod(data::Session &session, qint32 fiscalPeriod,
                               std::chrono::milliseconds wait = std::chrono::seconds(5));

} // namespace suite

} // namespace qaveq
