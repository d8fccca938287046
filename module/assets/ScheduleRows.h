#pragma once

#include "records/GLDepr.h"

#include <vector>

namespace qaveq {

namespace data {
class Company;
}

// The stored schedule rows of one piece of equipment, in date order.
std::vector<GLDepr> scheduleRows(data::Company &company, const QString &equipmentId);

} // namespace qaveq
