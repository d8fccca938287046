#pragma once

#include "runtime/report/PageSetup.h"

#include <QStringList>

namespace qaveq {

namespace data {
class Table;
}

class ReportRun;

// Who a report is, settled when it is made: what its run is called, the
// file its PDF goes to, its paper and the file it reports on.
struct ReportIdentity
{
    QString title{};
    QString pdfFileName{}; // appended to the user's PDF folder
    report::PageSetup page{};
    // Counted for the "nothing to print" message; a report that counts in
    // its own way names none.
    data::Table *primaryFile = nullptr;
    // Records of the primary file handled in one slice of the pass.
    int recordsPerSlice = 25;
    // The question Cancel asks; empty: the display strings' own.
    QString cancelCaption{};
    QString cancelText{};

    // The page turned to landscape, or left upright.
    static report::PageSetup paper(bool landscape);
};

// What one report does in its pass; the run around it (progress, cancel,
// preview, print, PDF, mail, export) is the same for every report.
class ReportPass
{
public:
    explicit ReportPass(ReportIdentity identity);
    virtual ~ReportPass() = default;

    const QString &title() const { return m_identity.title; }
    const QString &pdfFileName() const { return m_identity.pdfFileName; }
    const report::PageSetup &pageSetup() const { return m_identity.page; }
    int recordsPerSlice() const { return m_identity.recordsPerSlice; }
    const QString &cancelCaption() const { return m_identity.cancelCaption; }
    const QString &cancelText() const { return m_identity.cancelText; }

    // A report without limits of its own ends an empty run with the plain
    // "Nothing to Preview." note instead of the count its limits excluded.
    virtual bool hasLimits() const { return true; }
    // Whether the preview offers the report's text copy for export.
    virtual bool offersExport() const { return true; }

    // Records in the primary file, for the "nothing to print" message.
    virtual qint64 primaryRecordCount();
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

private:
    ReportIdentity m_identity;
};

} // namespace qaveq
