#pragma once

namespace qaveq {

// The module's report output flags, kept from one report to the next.
struct OutputState
{
    bool pdfRequested = false; // the user asked for a PDF in the preview
    bool viewPdf = false;      // open the PDF once it is written
};

} // namespace qaveq
