#pragma once

#include "demo/DemoCompany.h"

namespace qaveq {
class Clock;
namespace data {
class Company;
}
} // namespace qaveq

namespace qaveq::host {

// Fills an empty company with the demonstration data, then posts its active
// equipment's depreciation through the general ledger's depreciation-batch
// procedure month by month, as the office would have done, leaving the last
// two closed months unposted. Throws data::DataError.
DemoCompany::Summary createDemonstration(data::Company &company, const Clock &clock);

} // namespace qaveq::host
