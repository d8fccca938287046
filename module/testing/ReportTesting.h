#pragma once

#include "output/ReportRun.h"
#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/testing/TestDatabase.h"

#include "runtime/ScriptedPrompter.h"

#include "core/Clock.h"

#include <gtest/gtest.h>

namespace qaveq::testing {

using namespace Qt::StringLiterals;

// Stands in for the preview, printer, PDF, mail and export: does what the
// test says the user pressed and records what the report asked for.
class RecordingDevices final : public OutputDevices
{
public:
    // What the user does in the preview.
    bool pressExport = false, pressPdf = false, pressEmail = false, pressPrint = false;
    // Outputs used while the preview stays open, in order.
    QList<Output> useInPreview;
    std::optional<QString> pdfChoice;
    bool defaultPrinter = true;
    bool pdfFails = false; // every PDF fails, as a folder that cannot be written does

    int previews = 0;
    int pagesPreviewed = 0;
    Preview previewedWith;
    QList<int> printed;      // copies per print
    QStringList printTitles; // the job names handed to the print queue
    QStringList pdfs;        // output names generated
    QList<report::MailMessage> mails;
    QList<QStringList> exports;
    QStringList opened;
    QString pageFolder;
    QList<report::TextElement> firstPageTexts; // in the order they were laid out

    bool preview(const report::PageList &pages, Preview &preview) override
    {
        ++previews;
        pagesPreviewed = pages.count();
        pageFolder = pages.folder();
        firstPageTexts.clear();
        if (const std::optional<report::PageImage> first = pages.page(0))
            for (const report::Element &element : first->elements)
                if (const auto *text = std::get_if<report::TextElement>(&element))
                    firstPageTexts.append(*text);
        previewedWith = preview;
        for (const Output output : useInPreview)
            preview.output(output);
        preview.exportRequested = pressExport;
        preview.pdfRequested = pressPdf;
        preview.emailRequested = pressEmail;
        return pressPrint;
    }
    bool print(const report::PageList &, const report::PrintJob &job, bool) override
    {
        printed.append(job.copies);
        printTitles.append(job.title);
        return true;
    }
    bool hasDefaultPrinter() override { return defaultPrinter; }
    std::optional<QString> choosePdfFile(const QString &, const QString &, const QString &) override
    {
        return pdfChoice;
    }
    report::PdfGenerator::Result generatePdf(report::PdfGenerator &generator,
                                             const report::PageList &pages) override
    {
        pdfs.append(generator.outputFileName());
        if (pdfFails)
            return report::PdfGenerator::Result::Failed;
        return pages.isEmpty() ? report::PdfGenerator::Result::NothingToDo
                               : report::PdfGenerator::Result::Produced;
    }
    void open(const QString &path) override { opened.append(path); }
    bool sendMail(const report::MailMessage &message, QString *) override
    {
        mails.append(message);
        return true;
    }
    bool exportLines(const QStringList &lines) override
    {
        exports.append(lines);
        return true;
    }
};

// A company, a session and everything a report run needs, with the devices
// recording what the run asked of them.
class ReportRunTest : public ::testing::Test
{
protected:
    TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    OutputState output;
    RecordingDevices devices;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(9, 30))};

    void SetUp() override
    {
        session.userId = u"ADM"_s;
        session.companyName = u"Demonstration Construction Co.   "_s;
        session.pdfPath = u"/home/adm/reports"_s;
    }

    ReportRun::Services services()
    {
        return ReportRun::Services{session, output, devices, prompter, clock, {}};
    }
};

} // namespace qaveq::testing
