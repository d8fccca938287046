#include "PrintQueue.h"

#include "PageList.h"
#include "PdfGenerator.h"

#include <QDir>
#include <QTemporaryDir>

#include <cups/cups.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq::report {

namespace {

struct DestDeleter
{
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestDeleter>;

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString()).trimmed();
}

// Why the service cannot be asked at all (no server, no connection), as
// against a queue it does not know; empty when it answers.
QString unreachable()
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    if (http) {
        httpClose(http);
        return {};
    }
    // A local socket is named by its path; a server on the network by its port too.
    QString server = QString::fromUtf8(cupsServer());
    if (!server.startsWith(u'/'))
        server += u':' + QString::number(ippPort());
    return u"The print service at %1 cannot be reached."_s.arg(server);
}

} // namespace

QString CupsPrintService::defaultQueue()
{
    const Dest dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    return dest ? QString::fromUtf8(dest->name) : QString();
}

std::optional<PrintReceipt> CupsPrintService::submit(const QString &pdfFile, const PrintJob &job,
                                                     QString *error)
{
    const QByteArray wanted = job.queue.trimmed().toUtf8();
    const Dest dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT,
                                     wanted.isEmpty() ? nullptr : wanted.constData(), nullptr));
    if (!dest) {
        if (const QString why = unreachable(); !why.isEmpty())
            *error = why;
        else if (wanted.isEmpty())
            *error = u"No default print queue is set up; name one with --printer."_s;
        else
            *error = u"There is no print queue \"%1\"."_s.arg(job.queue.trimmed());
        return std::nullopt;
    }
    const QString queue = QString::fromUtf8(dest->name);

    cups_option_t *options = nullptr;
    int optionCount = 0;
    optionCount = cupsAddOption("copies", QByteArray::number(std::max(1, job.copies)).constData(),
                                optionCount, &options);
    const QByteArray file = QFile::encodeName(pdfFile);
    const QByteArray title = job.title.toUtf8();
    const int jobId = cupsPrintFile2(CUPS_HTTP_DEFAULT, dest->name, file.constData(),
                                     title.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0) {
        *error = u"The print queue \"%1\" did not accept the job: %2"_s.arg(queue, lastCupsError());
        return std::nullopt;
    }

    PrintReceipt receipt{queue, jobId, {}};
    if (const char *state = cupsGetOption("printer-state", dest->num_options, dest->options);
        state && QByteArray(state) == QByteArray::number(int(IPP_PSTATE_STOPPED)))
        receipt.warning = u"The print queue \"%1\" is stopped; the job waits there until the "
                          "queue is started again."_s.arg(queue);
    return receipt;
}

std::optional<PrintReceipt> printPages(PrintService &service, const PageList &pages,
                                       const PrintJob &job, QString *error)
{
    if (pages.isEmpty()) {
        *error = u"The report has no pages."_s;
        return std::nullopt;
    }
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        *error = u"The report cannot be made ready for printing: %1"_s.arg(folder.errorString());
        return std::nullopt;
    }
    PdfGenerator generator;
    generator.setOutput(u"print.pdf"_s, folder.path());
    generator.setDocumentInfo(PdfGenerator::Title, job.title);
    if (generator.generate(pages) != PdfGenerator::Result::Produced) {
        *error = u"The report cannot be made ready for printing: %1"_s.arg(generator.error());
        return std::nullopt;
    }
    return service.submit(generator.outputFileName(), job, error);
}

} // namespace qaveq::report
