#pragma once

#include "data/suite/JobCostFiles.h"

#include "core/Prompter.h"

#include <QString>

#include <functional>
#include <optional>

namespace qaveq {

struct Systems;

namespace data {
class Company;
}

// What the equipment form and the usage-log form both do with a job and a
// job cost code typed into them: the shorthands, the lookups in the job-cost
// files and the states that refuse or question a charge. The forms word
// their own messages; the rules are the same.
namespace ChargeCodes {

// The cost-type letter a shorthand digit stands for: 1 labour (L), 2 material
// (M), 3 subcontract (S), "." equipment (E), 6 general (G), 9 burden (B).
std::optional<QChar> costTypeFor(QChar shorthand);

// The equipment form's charge cost code: shorter than the suite's cost-code
// length it is filled with "0" on the right; one character longer, its last
// character becomes the cost-type letter it stands for.
QString fillCostCode(const QString &typed, int costCodeLength);
// The usage log's cost code: exactly the cost-code length, the equipment type
// "E" is appended; one character longer, the last becomes its type letter.
QString expandCostCode(const QString &typed, int costCodeLength);
// A job ID shorter than the suite's job-ID length, filled with "0" on the right.
QString fillJobId(const QString &typed, int jobIdLength);

// What a typed job means: the job with that ID; else the only job whose ID
// begins with the text or, failing that, whose name holds it; with several,
// the one the user chooses from them (`choose`; nothing when cancelled);
// with none, the text zero filled to the job-ID length, so that the job
// list opens on it.
std::optional<QString> resolveJob(data::Company &company, const QString &typed, int jobIdLength,
                                  const std::function<std::optional<QString>()> &choose);

// A control account of the company's settings that `account` is: the name
// of what it controls and the ledger that keeps it ("Accounts Payable",
// "Accounts Payable Ledger"); nothing for any other account.
struct ControlAccount
{
    QString name;
    QString ledger;
};
std::optional<ControlAccount> controlAccount(const Systems &settings, const QString &account);

// Fills the key of the job cost code a form looks for: the job, and the
// cost-type letter that follows the base code in the code typed.
void fillCostCodeKey(JCCost &wanted, const QString &jobId, int costCodeLength);

enum class State { NotFound, Closed, Inactive, Open };

struct Job
{
    State state = State::NotFound; // never Closed and Inactive at once: closed wins
    JCHeader record;
};
Job job(data::Company &company, const QString &jobId);

struct CostCode
{
    State state = State::NotFound; // Open or Inactive when found
    JCCost record;
};
// `code` is the base code followed by its cost-type letter, as a log holds it;
// a base code alone finds the job's base entry (no cost type).
CostCode costCode(data::Company &company, const QString &jobId, const QString &code,
                  int costCodeLength);

// The job's or cost code's important note as the forms show it: under
// "Important Job Note" / "Important Cost Code Note" with the bell; nothing
// when there is no note.
std::optional<Message> noteOf(const JCHeader &job);
std::optional<Message> noteOf(const JCCost &code);

} // namespace ChargeCodes

} // namespace qaveq
