#include "ReportPrinter.h"

#include "runtime/report/PageList.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

namespace qaveq::ReportPrinter {

bool hasDefaultPrinter()
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool print(const report::PageList &pages, int copies, bool choosePrinter, QWidget *parent,
           QString *error)
{
    if (pages.isEmpty()) {
        *error = u"The report has no pages."_s;
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setCopyCount(std::max(1, copies));
    const std::optional<report::PageImage> first = pages.page(0);
    if (first)
        printer.setPageSize(QPageSize(first->size / report::UnitsPerPoint, QPageSize::Point));
    if (choosePrinter) {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
        if (dialog.exec() != QDialog::Accepted) {
            *error = u"Printing was cancelled."_s;
            return false;
        }
    } else if (printer.printerName().isEmpty()) {
        *error = u"No printer is set up."_s;
        return false;
    }
    return printOn(printer, pages, error);
}

bool printOn(QPrinter &printer, const report::PageList &pages, QString *error)
{
    // The copies asked for are printed by repeating the pages.
    const QList<int> order = pages.printOrder(printer.copyCount());
    printer.setCopyCount(1);
    printer.setFullPage(true);

    QPainter painter;
    for (int i = 0; i < order.size(); ++i) {
        const std::optional<report::PageImage> page = pages.page(order.at(i));
        if (!page) {
            *error = u"Page %1 of the report cannot be read."_s.arg(order.at(i) + 1);
            return false;
        }
        printer.setPageSize(QPageSize(page->size / report::UnitsPerPoint, QPageSize::Point));
        if (i == 0) {
            if (!painter.begin(&printer)) {
                *error = u"The printer %1 cannot be opened."_s.arg(printer.printerName());
                return false;
            }
        } else if (!printer.newPage()) {
            *error = u"The printer %1 stopped taking pages."_s.arg(printer.printerName());
            return false;
        }
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        painter.save();
        painter.scale(paper.width() / page->size.width(), paper.height() / page->size.height());
        page->paint(painter);
        painter.restore();
    }
    painter.end();
    return true;
}

} // namespace qaveq::ReportPrinter
