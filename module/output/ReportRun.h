#pragma once

#include "DisplayStrings.h"
#include "OutputDevices.h"
#include "OutputRules.h"
#include "OutputState.h"
#include "ReportPass.h"

#include "runtime/report/ExportSpool.h"
#include "runtime/report/PageList.h"
#include "runtime/report/ReportEngine.h"

#include "data/Session.h"

#include <QDateTime>

#include <memory>

namespace qaveq {

class Clock;
class Prompter;

// One run of a report from start to the end of its output: the pass cut into
// slices of records, cancelling, then preview or printer, PDF, mail and
// export. A window drives the slices from a timer so that it stays
// responsive; the command line runs them straight through.
class ReportRun
{
public:
    struct Services
    {
        data::Session &session;
        OutputState &output;
        OutputDevices &devices;
        Prompter &prompter;
        const Clock &clock;
        DisplayStrings strings;
    };

    ReportRun(ReportPass &pass, Services services);
    ~ReportRun();

    // Starts the report; false when it has nothing to print and is over.
    bool start();
    // Handles the next slice of records (0: as many as the pass reads in
    // one); false once the pass is over.
    bool runSlice(int records = 0);
    // The user pressed Cancel or Esc: asks, and ends the pass when the user
    // means it. True when the pass is over.
    bool cancel();
    // The end of the pass and the output sequence; returns the response for
    // the caller.
    data::Response finish();
    // The whole run without a window: start, every slice, finish.
    data::Response run();

    // For the report: called when the pass reaches what it prints. Sets up
    // the page list, the export header, the PDF name and the page header
    // and footer; `heading` adds a report's own heading below the standard one
    // (e.g. column headings), from the page it is given on.
    report::ReportEngine &beginPrinting(report::ReportEngine::PageBand heading = {},
                                        int headingFromPage = 1);
    // For a report that prints its own page header and footer (a designed
    // report): the same set-up without the standard ones.
    report::ReportEngine &beginPrintingOwnPages(report::ReportEngine::PageBand header,
                                                report::ReportEngine::PageBand footer);
    report::ReportEngine *engine() const { return m_engine.get(); }

    // What the progress window shows.
    QString progressTitle() const;
    QString percentText() const;
    QString recordsText() const;
    int percent() const { return m_pass.percentRead(); }
    // When the run started, by the run's clock: the time reports print.
    QDateTime started() const { return m_started; }
    const DisplayStrings &strings() const { return m_services.strings; }

    // The copies printing makes.
    void setCopies(int copies) { m_copies = std::max(1, copies); }

    // For a pass that ends before printing and has said why (or gives the
    // reason to say): the run says nothing more, and ends with nothing to
    // output or as failed.
    void passFoundNothing() { m_toldWhy = true; }
    void passFailed(const QString &reason = {});
    // How the run ended: with nothing to output (and said so), or failed
    // (and said why). Neither: the report was output as asked.
    bool nothingToOutput() const { return m_nothingToOutput; }
    bool failed() const { return m_failed; }

private:
    // Completed: the pass ran to its end, or the user chose to see what it
    // made so far; NothingToOutput: nothing to show or print.
    enum class State { Completed = 1, NothingToOutput = 2 };

    void startOutput();
    void nothingToPreview();
    void showOnPreview();
    void sendToPrinter();
    // The job the print queue is handed: named after the report.
    report::PrintJob printJob() const;
    void nothingToPrint(const QString &title, const QString &text);
    void askForPdf();
    bool createPdf();
    void mailPdf();
    void exportReport();
    // An output asked for in the preview, done while it stays open.
    void outputFromPreview(OutputDevices::Output output);
    void tell(const QString &caption, const QString &text);

    ReportPass &m_pass;
    Services m_services;
    report::PageList m_pages;
    // The report's text as printed, for "Export This Report"; the shared
    // output keeps only its heading lines.
    report::ExportSpool m_exportText;
    std::unique_ptr<report::ReportEngine> m_engine;
    OutputRules::PreviewZoom m_zoom;
    QDateTime m_started;
    bool m_preview = true;
    bool m_over = false;
    bool m_cancelled = false; // the user ended the pass
    bool m_toldWhy = false;   // the pass said why it ended without output
    bool m_nothingToOutput = false;
    bool m_failed = false;
    State m_state = State::NothingToOutput;
    int m_copies = 1;
    // Outputs already done from the preview, not repeated at the end.
    bool m_exported = false;
    bool m_pdfWritten = false;
    // A PDF the preview asked for and could not write: the user has been
    // told why, and the end of the run does not try the same file again.
    bool m_pdfFailed = false;
};

} // namespace qaveq
