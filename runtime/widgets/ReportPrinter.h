#pragma once

class QWidget;

namespace qaveq {

namespace report {
struct PrintJob;
}

// The print dialog of the system's print service.
namespace ReportPrinter {

// Asks which print queue takes the job and how many copies; false when the
// user cancelled. Printing itself goes through report::printPages, so that
// the job is checked as from the command line.
bool choosePrinter(report::PrintJob &job, QWidget *parent);

} // namespace ReportPrinter

} // namespace qaveq
