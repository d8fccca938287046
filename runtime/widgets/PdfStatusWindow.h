#pragma once

#include "runtime/report/PdfGenerator.h"

class QWidget;

namespace qaveq {

class Prompter;

// Runs a PDF generation under the "Generating PDF" status window: one page
// per timer event, so the window stays responsive, and Cancel asks before it
// stops the generation.
report::PdfGenerator::Result runPdfGeneration(report::PdfGenerator &generator,
                                              const report::PageList &pages, Prompter &prompter,
                                              QWidget *parent = nullptr, int pagesPerFile = 0);

} // namespace qaveq
