#pragma once

#include <QString>

#include <optional>

namespace qaveq::report {

class PageList;

// What a report asks of the system's print service.
struct PrintJob
{
    QString title; // the job's name in the queue: the report's title
    QString queue; // empty: the user's default queue
    int copies = 1;
};

// What the print service answered when it took a job.
struct PrintReceipt
{
    QString queue;
    int jobId = 0;
    // Said when the job was taken but will not print yet (a stopped queue).
    QString warning;

    // The job as the print service names it, e.g. "Office-12".
    QString jobName() const { return queue + u'-' + QString::number(jobId); }
};

// The system's print service: the queues and the jobs handed to them.
class PrintService
{
public:
    virtual ~PrintService() = default;

    // The user's default queue; empty when there is none.
    virtual QString defaultQueue() = 0;
    // Hands a PDF file to the queue; nothing, with the service's reason in
    // `error`, when the job was not accepted.
    virtual std::optional<PrintReceipt> submit(const QString &pdfFile, const PrintJob &job,
                                               QString *error) = 0;
};

// CUPS through libcups, at the server the user's CUPS settings name.
class CupsPrintService final : public PrintService
{
public:
    QString defaultQueue() override;
    std::optional<PrintReceipt> submit(const QString &pdfFile, const PrintJob &job,
                                       QString *error) override;
};

// Writes the pages as a PDF in a private temporary folder and hands it to
// the service; the file is gone once the service has it.
std::optional<PrintReceipt> printPages(PrintService &service, const PageList &pages,
                                       const PrintJob &job, QString *error);

} // namespace qaveq::report
