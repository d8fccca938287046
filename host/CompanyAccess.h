#pragma once

#include "CommandLine.h"

#include "records/EQHeader.h"

#include <memory>
#include <optional>

namespace qaveq::data {
class Company;
class Session;
} // namespace qaveq::data

namespace qaveq::host {

// Opens the company named on the command line; says why and returns null
// when it cannot.
std::unique_ptr<data::Company> openCompany(const CommandContext &context);

// The equipment `id` of the company; says so and returns nothing when there is none.
std::optional<EQHeader> findEquipment(const CommandContext &context, data::Company &company,
                                      const QString &id);

// Signs the command line's user on to `session`'s company: says why and
// returns false when the company has users and this is none of them. A
// company without users yet (a new one being loaded) has no one to refuse.
bool signOn(const CommandContext &context, data::Session &session);

// A usage-log batch number as typed (1 to 65535); nothing when it is none.
std::optional<quint16> batchNumber(const QString &text);

// Says what is wrong with a command's arguments; returns UsageError.
int usage(const CommandContext &context, const QString &command, const QString &problem);

} // namespace qaveq::host
