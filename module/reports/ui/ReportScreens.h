#pragma once

#include "AnalysisScreens.h"
#include "DetailListingView.h"

#include "output/OutputState.h"

namespace qaveq {

namespace data {
class ErrorManager;
}

// The reports run from a saved definition, whose number the caller put in
// the report filter.
namespace ReportScreens {

// Runs the report the procedure names over the handed-over definition, in
// the report window.
void printReport(const QString &procedure, data::ErrorManager &errors, OutputState &output);

// PRINTEQDETAIL: printed, or with view mode 3 shown on the detail tab of the
// report view window.
void printDetail(data::ErrorManager &errors, OutputState &output);
// The detail tab of the report view window over what the listing's walk
// collected: the equipment it reached, and beside the highlighted one its
// transactions.
AnalysisScreens::ViewTab detailTab(QList<DetailListing::ViewedEquipment> equipment,
                                   data::Session &session, Prompter &prompter,
                                   DetailListingView::ProcedureCaller call,
                                   std::function<void()> print);
// PrintEQLogBProof: the logs of the batches tagged in the usage-log window.
void printLogProof(data::ErrorManager &errors, OutputState &output);

} // namespace ReportScreens

} // namespace qaveq
