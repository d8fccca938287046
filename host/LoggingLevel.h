#pragma once

#include <optional>

namespace qaveq {
class Prompter;
}

namespace qaveq::data {
class Company;
class Session;
} // namespace qaveq::data

namespace qaveq::host {

// The company's logging level (GLO:LogUserActivity): at 2 every add, change
// and delete writes a user-log entry. A company-wide setting, kept in the
// company's settings record, that only the company's administrator changes.
namespace LoggingLevel {

constexpr int Highest = 2;

// The stored level; 0 for a company without a settings record.
int stored(data::Company &company);

// Stores `level` (0 to Highest) for the company and makes it the session's.
// Refused, and said why through the prompter, for any user but the
// administrator and when it cannot be written; returns whether it was stored.
bool change(data::Session &session, Prompter &prompter, int level);

// The window's way: the current level and a button for each, then change().
// Nothing when cancelled or refused.
std::optional<int> choose(data::Session &session, Prompter &prompter);

} // namespace LoggingLevel

} // namespace qaveq::host
