#pragma once

#include "EquipmentListing.h"

#include <memory>

namespace qaveq {

struct EQLimits;

namespace data {
class Company;
}

// The listing report a definition's dispatch chose (PRINTEQLISTING,
// PRINTEQLISTING1, PRINTEQCATEGORYLIST, PRINTEQCATEGORYLIST1); null for any
// other procedure.
std::unique_ptr<ReportPass> listingReport(const QString &procedure, data::Company &company,
                                          const EQLimits &definition, ListingPictures pictures);

} // namespace qaveq
