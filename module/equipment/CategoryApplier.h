#pragma once

#include "core/ProcessOutcome.h"

#include <QString>

#include <chrono>

namespace qaveq {

class Clock;
class Prompter;

namespace data {
class ErrorManager;
class Session;
} // namespace data

// "Apply to All": gives every piece of equipment, active or not, every cost
// category it lacks, with the category's defaults, and corrects the two
// accounts of the categories it has where they differ from the category's.
// Nothing else of an existing equipment cost category changes.
class CategoryApplier
{
public:
    // Not done: refused (read only), not confirmed, EQCost held by another
    // station (busy), or a write failed; then nothing was written, and the
    // prompter has said why.
    struct Result : ProcessOutcome
    {
        int equipmentReceiving = 0; // pieces of equipment given at least one new category
        int added = 0;
        int corrected = 0;
    };

    static constexpr std::chrono::milliseconds DefaultTimeout{5000};

    // The run is one transaction on EQCost, waited for up to the time-out and
    // never done without. A failed write goes to `errors` (its numbered
    // warnings) and takes the whole run back: no "Process Complete" then.
    // Each category added or corrected gets its user-activity entry once the
    // run is committed, as the category's own form writes it.
    CategoryApplier(data::Session &session, Prompter &prompter, data::ErrorManager &errors,
                    const Clock &clock);

    void setTransactionTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // The whole action: read-only refusal, confirmation, the run, the report.
    Result applyToAll();
    // What the run would add and correct, without asking or writing.
    Result plan();

    // The "Process Complete" text for that many pieces of equipment.
    static QString reportText(int equipmentReceiving);

private:
    Result run(bool write);

    data::Session &m_session;
    Prompter &m_prompter;
    data::ErrorManager &m_errors;
    const Clock &m_clock;
    std::chrono::milliseconds m_timeout = DefaultTimeout;
};

} // namespace qaveq
