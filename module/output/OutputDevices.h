#pragma once

#include "runtime/report/PdfGenerator.h"
#include "runtime/report/PrintQueue.h"
#include "runtime/report/SmtpMailer.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace qaveq {

namespace report {
class PageList;
}

// Where a finished report goes: the preview, the printer, the PDF file
// dialog and generator, the mail and the export. Windows show their dialogs;
// the command line answers from its options; tests record what was asked.
class OutputDevices
{
public:
    virtual ~OutputDevices() = default;

    enum class Output { Export, Pdf, Email };

    // What the preview is opened with and what the user asked for in it.
    struct Preview
    {
        int zoomPercent = 100;
        int zoomFlags = 0; // OutputRules::PreviewZoom::Flag
        bool exportRequested = false;
        bool pdfRequested = false;
        bool emailRequested = false;
        bool exportOffered = true; // the preview has its export button
        // Does one output at once while the preview stays open, so that one
        // run gives a PDF, an export and a mail alike. A preview that does
        // not call it closes with the requests above instead.
        std::function<void(Output)> output = {};
    };
    // Shows the pages; true when the user asked to print them.
    virtual bool preview(const report::PageList &pages, Preview &preview) = 0;
    // Hands the pages to a print queue as `job`; `choosePrinter` asks which
    // queue. False, after saying why, when the queue did not accept the job.
    virtual bool print(const report::PageList &pages, const report::PrintJob &job,
                       bool choosePrinter) = 0;
    // Whether a default print queue is set up for printing without asking.
    virtual bool hasDefaultPrinter() = 0;

    virtual std::optional<QString> choosePdfFile(const QString &caption, const QString &filter,
                                                 const QString &fileName) = 0;
    // Runs a prepared generation, with its status window where there is one.
    virtual report::PdfGenerator::Result generatePdf(report::PdfGenerator &generator,
                                                     const report::PageList &pages) = 0;
    // Whether there is a desktop to open files on, and opens one with the
    // desktop's application for it.
    virtual bool canOpen() const { return true; }
    virtual void open(const QString &path) = 0;
    // False with the reason when the mail did not go out.
    virtual bool sendMail(const report::MailMessage &message, QString *error) = 0;
    // Writes the report's text copy where the user chooses.
    virtual bool exportLines(const QStringList &lines) = 0;
};

} // namespace qaveq
