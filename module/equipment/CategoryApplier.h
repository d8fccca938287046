#pragma once

#include <QString>

#include <chrono>

namespace qaveq {

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
    struct Result
    {
        bool ran = false; // false: refused (read only) or not confirmed
        bool usedTransaction = false;
        int equipmentReceiving = 0; // pieces of equipment given at least one new category
        int added = 0;
        int corrected = 0;
        int failures = 0;
    };

    static constexpr std::chrono::milliseconds DefaultTimeout{5000};

    // Failed writes go to `errors` (its numbered warnings) and the run goes on.
    CategoryApplier(data::Session &session, Prompter &prompter, data::ErrorManager &errors);

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
    std::chrono::milliseconds m_timeout = DefaultTimeout;
};

} // namespace qaveq
