#pragma once

#include "WriterCatalogues.h"

#include "output/ReportPass.h"

#include "runtime/writer/ReportDocument.h"
#include "runtime/writer/ReportProcessor.h"

#include "data/Session.h"

#include <memory>

namespace qaveq {

class Prompter;

// The report writer's messages, from the language table a site can
// translate: "ReportWriter.ini" in the company folder, with these English
// texts when a key is not there.
struct WriterStrings
{
    QString typeCaption =
        QStringLiteral("Different report type"); // [ReportManager] ReportTypeCaption
    QString typeWarning1 = QStringLiteral(" File contain report of type "); // ReportTypeWarning1
    QString typeWarning2 = QStringLiteral(". Required report type: ");      // ReportTypeWarning2
    QString newReportName = QStringLiteral("New report");                   // NewReportName
    QString noRecordsCaption = QStringLiteral("Report");            // [NoRecordsFound] Caption
    QString noRecordsMessage = QStringLiteral("No records found!"); // [NoRecordsFound] Message

    static WriterStrings load(const QString &iniPath);
};

// What a report-writer procedure needs from the windows or the command line.
class WriterDevices
{
public:
    virtual ~WriterDevices() = default;
    // Asks for the printer and its settings (PRINTDIALOG); false when cancelled.
    virtual bool printDialog(writer::PrinterSettings &settings) = 0;
    // Runs a report pass through the common output: progress, preview,
    // print, PDF and mail.
    virtual void run(ReportPass &pass) = 0;
    // Opens the designer on a report (EDITPAGE) until the user closes it.
    virtual void design(const WriterReportType &type, writer::ReportDocument document,
                        const QString &path) = 0;
};

// A designed report's run over the company's data: the report writer's
// processing as a report pass of the common output.
class WriterReportPass final : public ReportPass
{
public:
    WriterReportPass(const WriterReportType &type, const writer::ReportDocument &document,
                     data::Session &session, Prompter &prompter, WriterStrings strings);
    ~WriterReportPass() override;

    bool hasLimits() const override { return false; }
    bool offersExport() const override { return false; }
    qint64 primaryRecordCount() override;
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override;

private:
    void tell(const QString &caption, const QString &text);

    const WriterReportType &m_type;
    const writer::ReportDocument &m_document;
    writer::Catalogue m_catalogue;
    Prompter &m_prompter;
    WriterStrings m_strings;
    std::unique_ptr<writer::ReportProcessor> m_processor;
};

// One run of a report-writer procedure (PrintUsageLogFM and its four
// siblings): reads the report writer's settings, then runs the named
// report file over the data or opens the designer on it.
class WriterProcedure
{
public:
    WriterProcedure(const WriterReportType &type, data::Session &session, Prompter &prompter,
                    WriterDevices &devices, WriterStrings strings);

    data::Response run();

    // The report file a procedure reads: the search path, a separator when
    // it has none at its end, and the file name; the name alone when either
    // is blank.
    static QString reportFileName(const QString &searchPath, const QString &fileName);

private:
    data::Response runReport(const QString &path);
    void design(const QString &path);
    // The report in a file, checked for this procedure's type and catalogue;
    // says what is wrong and gives nothing when it cannot be used.
    std::optional<writer::ReportDocument> load(const QString &path);
    void tell(const QString &caption, const QString &text);

    const WriterReportType &m_type;
    data::Session &m_session;
    Prompter &m_prompter;
    WriterDevices &m_devices;
    WriterStrings m_strings;
};

} // namespace qaveq
