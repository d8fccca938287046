#pragma once

#include <QList>
#include <QString>

#include <chrono>

namespace qaveq {

class Clock;

namespace data {
class Session;
}

namespace suite {

struct PostingOutcome
{
    bool posted = false;
    int logs = 0;       // logs written to the posted file
    qint32 journal = 0; // the G/L journal number of the run
    QString error;      // why nothing was posted
};

// The suite's posting run for usage logs: every log of the given batches
// becomes a posted log; the equipment's income, units and meter, the charged
// equipment's cost category, the prior-period totals of the log's fiscal
// period and the general ledger move by its units and net charge. Logs of a
// repeating batch stay in it to be re-dated; the others leave it. All of it is
// one transaction: a failure at any log leaves every file as it was.
PostingOutcome postUsageLogs(data::Session &session, const QList<quint16> &batches,
                             const Clock &clock,
                             std::chrono::milliseconds wait = std::chrono::seconds(5));

} // namespace suite

} // namespace qaveq
