#pragma once

#include "output/OutputState.h"

class QWidget;

namespace qaveq {

namespace data {
class Session;
}
class ReportPass;

// Runs a report in the windows: the progress window over the pass, then the
// output (preview or printer, PDF, mail, export).
void runReportWindow(ReportPass &pass, data::Session &session, OutputState &output,
                     QWidget *parent = nullptr);

} // namespace qaveq
