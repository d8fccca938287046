#include "ReportFactory.h"

#include "AnalysisReports.h"
#include "CategoryListing.h"
#include "EquipmentDetailReport.h"
#include "MaintenanceSchedule.h"
#include "logs/LogProofReport.h"

#include "data/Session.h"

using namespace Qt::StringLiterals;

namespace qaveq {

std::unique_ptr<ReportPass> makeReport(const QString &procedure, const ReportRequest &request)
{
    data::Company &company = *request.session.company;
    const EQLimits &definition = request.definition;
    const QString name = procedure.toUpper();
    if (name == u"PRINTEQLISTING") {
        // The summary has a procedure of its own; this one prints the others.
        EquipmentListingReport::Format format = EquipmentListingReport::formatOf(definition);
        if (format == EquipmentListingReport::Format::Summary)
            format = EquipmentListingReport::Format::Master;
        return std::make_unique<EquipmentListingReport>(company, definition, format,
                                                        request.pictures);
    }
    if (name == u"PRINTEQLISTING1")
        return std::make_unique<EquipmentListingReport>(
            company, definition, EquipmentListingReport::Format::Summary, request.pictures);
    if (name == u"PRINTEQCATEGORYLIST")
        return std::make_unique<CategoryListingReport>(company, definition,
                                                       CategoryListingReport::Layout::Summary);
    if (name == u"PRINTEQCATEGORYLIST1")
        return std::make_unique<CategoryListingReport>(company, definition,
                                                       CategoryListingReport::Layout::Complete);
    if (name == u"PRINTEQANALYSIS")
        return std::make_unique<EquipmentAnalysisReport>(company, definition, request.today);
    if (name == u"PRINTEQANALYSIS1")
        return std::make_unique<CostSummaryReport>(company, definition, request.today);
    if (name == u"PRINTEQMAINTENANCE")
        return std::make_unique<MaintenanceScheduleReport>(request.session, request.prompter,
                                                           definition, request.today);
    if (name == u"PRINTEQDETAIL")
        return std::make_unique<EquipmentDetailReport>(company, definition, request.today);
    if (name == u"PRINTEQLOGBPROOF")
        return std::make_unique<LogProofReport>(company, definition, request.batches);
    return nullptr;
}

} // namespace qaveq
