#include "ListingReports.h"

#include "CategoryListing.h"

using namespace Qt::StringLiterals;

namespace qaveq {

std::unique_ptr<ReportPass> listingReport(const QString &procedure, data::Company &company,
                                          const EQLimits &definition, ListingPictures pictures)
{
    const QString name = procedure.toUpper();
    if (name == u"PRINTEQLISTING"_s) {
        // The summary has a procedure of its own; this one prints the others.
        EquipmentListingReport::Format format = EquipmentListingReport::formatOf(definition);
        if (format == EquipmentListingReport::Format::Summary)
            format = EquipmentListingReport::Format::Master;
        return std::make_unique<EquipmentListingReport>(company, definition, format,
                                                        std::move(pictures));
    }
    if (name == u"PRINTEQLISTING1"_s)
        return std::make_unique<EquipmentListingReport>(
            company, definition, EquipmentListingReport::Format::Summary, std::move(pictures));
    if (name == u"PRINTEQCATEGORYLIST"_s)
        return std::make_unique<CategoryListingReport>(company, definition,
                                                       CategoryListingReport::Layout::Summary);
    if (name == u"PRINTEQCATEGORYLIST1"_s)
        return std::make_unique<CategoryListingReport>(company, definition,
                                                       CategoryListingReport::Layout::Complete);
    return nullptr;
}

} // namespace qaveq
