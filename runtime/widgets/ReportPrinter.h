#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace qaveq {

namespace report {
class PageList;
}

// Sends a report's pages to a printer through the system's print service.
namespace ReportPrinter {

// Prints `copies` collated copies: the printer is handed one copy and the
// page list is repeated, so every driver prints the same. With
// `choosePrinter` the print dialog asks which printer (and how many copies);
// otherwise the default printer takes it. False with the reason when
// nothing was printed (the dialog cancelled, no printer).
bool print(const report::PageList &pages, int copies, bool choosePrinter, QWidget *parent,
           QString *error);

// Prints the pages on a printer already set up (a chosen printer, or a
// file): its copy count is printed by repeating the page list, each page at
// its own size.
bool printOn(QPrinter &printer, const report::PageList &pages, QString *error);

bool hasDefaultPrinter();

} // namespace ReportPrinter

} // namespace qaveq
