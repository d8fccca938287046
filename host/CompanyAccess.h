#pragma once

#include "CommandLine.h"

#include "records/EQHeader.h"

#include <memory>
#include <optional>

namespace qaveq::data {
class Company;
}

namespace qaveq::host {

// Opens the company named on the command line; says why and returns null
// when it cannot.
std::unique_ptr<data::Company> openCompany(const CommandContext &context);

// The equipment `id` of the company; says so and returns nothing when there is none.
std::optional<EQHeader> findEquipment(const CommandContext &context, data::Company &company,
                                      const QString &id);

// Says what is wrong with a command's arguments; returns UsageError.
int usage(const CommandContext &context, const QString &command, const QString &problem);

} // namespace qaveq::host
