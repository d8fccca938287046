#pragma once

#include "runtime/report/PageSetup.h"

#include <QStringList>

namespace qaveq {

namespace report {
class ReportEngine;
}

class ReportRun;

// What one report does in its pass; the run around it (progress, cancel,
// preview, print, PDF, mail, export) is the same for every report.
class ReportPass
{
public:
    virtual ~ReportPass() = default;

    virtual QString title() const = 0;
    // The report's PDF file name, appended to the user's PDF folder.
    virtual QString pdfFileName() const = 0;
    virtual report::PageSetup pageSetup() const { return {}; }
    // Records of the primary file handled in one slice of the pass.
    virtual int recordsPerSlice() const { return 25; }
    // The question Cancel asks; empty: the display strings' own.
    virtual QString cancelCaption() const { return {}; }
    virtual QString cancelText() const { return {}; }

    // A report without limits of its own ends an empty run with the plain
    // "Nothing to Preview." note instead of the count its limits excluded.
    virtual bool hasLimits() const { return true; }
    // Whether the preview offers the report's text copy for export.
    virtual bool offersExport() const { return true; }

    // Records in the primary file, for the "nothing to print" message.
    virtual qint64 primaryRecordCount() = 0;
    // The report's limits, printed in its footer and exported with it.
    virtual QStringList limitsLines() const { return {}; }
    // The lines under "Report Parameters:" at the end of the export.
    virtual QStringList exportParameters() const { return limitsLines(); }

    // Opens the view and reads the first record; false when there is none.
    virtual bool open(ReportRun &run) = 0;
    // Handles up to `records` records of the primary file; false once the
    // pass is over. A report calls ReportRun::beginPrinting() when it reaches
    // what it prints.
    virtual bool next(ReportRun &run, int records) = 0;
    // How far the pass has read, 0 to 100.
    virtual int percentRead() const = 0;
    virtual qint64 recordsRead() const = 0;
};

} // namespace qaveq
