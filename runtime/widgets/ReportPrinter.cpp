#include "ReportPrinter.h"

#include "runtime/report/PrintQueue.h"

#include <QPrintDialog>
#include <QPrinter>

namespace qaveq::ReportPrinter {

bool choosePrinter(report::PrintJob &job, QWidget *parent)
{
    QPrinter printer;
    if (!job.queue.isEmpty())
        printer.setPrinterName(job.queue);
    printer.setCopyCount(std::max(1, job.copies));
    printer.setDocName(job.title);
    QPrintDialog dialog(&printer, parent);
    // The job goes to a print queue; a PDF file has its own button.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (dialog.exec() != QDialog::Accepted || printer.printerName().isEmpty())
        return false;
    job.queue = printer.printerName();
    job.copies = std::max(1, printer.copyCount());
    return true;
}

} // namespace qaveq::ReportPrinter
