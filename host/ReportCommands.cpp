#include "ReportCommands.h"

#include "CompanyAccess.h"
#include "DefinitionCommands.h"

#include "HostSession.h"

#include "assets/FixedAssetReports.h"
#include "output/ReportRun.h"
#include "records/EQHeader.h"
#include "writer/WriterProcedure.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/report/PageList.h"
#include "runtime/widgets/GraphChart.h"
#include "runtime/widgets/QtPrompter.h"
#include "runtime/widgets/ReportPrinter.h"

#include "core/Clock.h"
#include "core/OutputFile.h"
#include "core/StopRequest.h"

#include "data/Company.h"
#include "data/IniManager.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// The output of a report run from the command line: no preview or printer;
// the PDF and the text copy go to the files the options name.
class HeadlessDevices final : public OutputDevices
{
public:
    HeadlessDevices(std::optional<QString> pdf, std::optional<QString> exportFile, QTextStream &err)
        : m_pdf(std::move(pdf))
        , m_export(std::move(exportFile))
        , m_err(err)
    {}

    int pagesProduced = 0;
    bool failed = false;
    QString pdfWritten;
    // Print the pages on the default printer as well.
    bool printRequested = false;
    bool printed = false;

    bool preview(const report::PageList &pages, Preview &preview) override
    {
        pagesProduced = pages.count();
        preview.pdfRequested = true;
        preview.exportRequested = m_export.has_value();
        return printRequested;
    }
    bool print(const report::PageList &pages, int copies, bool) override
    {
        QString error;
        printed = ReportPrinter::print(pages, copies, false, nullptr, &error);
        if (!printed)
            m_err << "qaveq: nothing was printed: " << error << "\n";
        return printed;
    }
    bool hasDefaultPrinter() override { return false; }
    std::optional<QString> choosePdfFile(const QString &, const QString &,
                                         const QString &fileName) override
    {
        return m_pdf.value_or(fileName);
    }
    report::PdfGenerator::Result generatePdf(report::PdfGenerator &generator,
                                             const report::PageList &pages) override
    {
        const report::PdfGenerator::Result result = generator.generate(pages);
        if (result == report::PdfGenerator::Result::Produced)
            pdfWritten = generator.outputFileName();
        else
            failed = true;
        return result;
    }
    bool canOpen() const override { return false; }
    void open(const QString &) override {}
    bool sendMail(const report::MailMessage &, QString *error) override
    {
        *error = u"Reports are not e-mailed from the command line."_s;
        return false;
    }
    bool exportLines(const QStringList &lines) override
    {
        const QString error = OutputFile::write(*m_export, (lines.join(u'\n') + u'\n').toUtf8());
        if (error.isEmpty())
            return true;
        m_err << "qaveq: " << error << "\n";
        failed = true;
        return false;
    }

private:
    std::optional<QString> m_pdf;
    std::optional<QString> m_export;
    QTextStream &m_err;
};

// The exit status of a report run from the command line, with the PDF's name
// and page count when it was written.
int outcome(CommandContext &context, const HeadlessDevices &devices)
{
    if (devices.pagesProduced == 0 || devices.failed || devices.pdfWritten.isEmpty()) {
        // A stop that came once the PDF was whole changed nothing.
        if (StopRequest::requested()) {
            context.err << "qaveq: the report was stopped; nothing was written.\n";
            return 128 + StopRequest::signalNumber();
        }
        return Failure;
    }
    context.out << devices.pdfWritten << " (" << devices.pagesProduced
                << (devices.pagesProduced == 1 ? " page)\n" : " pages)\n");
    return Success;
}

// The globals of a report run from the command line: the company's report
// colours and footer, the PDF in the current folder, the preview's way.
void headlessSession(data::Company &company, data::Session &session)
{
    session.loadReportSettings(data::IniManager(QDir(company.folder()).filePath(u"suite.ini"_s)),
                               QDir::currentPath());
    session.pdfPath = QDir::currentPath();
    session.printPreview = true;
}

int runFixedAssets(CommandContext &context, ArgumentReader &reader)
{
    const bool graphs = reader.flag(u"graphs"_s);
    const std::optional<QString> pdf = reader.option(u"pdf"_s);
    const std::optional<QString> exportFile = reader.option(u"export"_s);
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!reader.missingValue().isEmpty())
        problem = u"--%1 needs a file name"_s.arg(reader.missingValue());
    if (!problem.isEmpty() || rest.size() != 2)
        return usage(context, u"report"_s,
                     problem.isEmpty() ? u"name one equipment ID"_s : problem);
    // A text copy that cannot be written is said before any page is made.
    if (exportFile) {
        if (const QString refused = OutputFile::refusal(*exportFile); !refused.isEmpty()) {
            context.err << "qaveq: " << refused << "\n";
            return Failure;
        }
    }
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();
    // SIGTERM or SIGINT end the run as a cancel would: its page images go.
    StopRequest::install();

    const std::optional<EQHeader> equipment = findEquipment(context, *company, rest.at(1));
    if (!equipment)
        return Failure;

    data::Session &session = signedOn->session();
    headlessSession(*company, session);
    OutputState output;
    HeadlessDevices devices(pdf, exportFile, context.err);
    ConsolePrompter prompter(context.err);
    SystemClock clock;
    const ReportRun::Services services{
        session, output,
        devices, prompter,
        clock,   DisplayStrings::load(QDir(company->folder()).filePath(u"CPCSRPTS.INI"_s))};

    std::unique_ptr<ReportPass> report;
    if (graphs)
        report = std::make_unique<FixedAssetGraphsReport>(*company, *equipment, &GraphChart::svg);
    else
        report = std::make_unique<FixedAssetScheduleReport>(*company, *equipment);
    ReportRun(*report, services).run();

    return outcome(context, devices);
}

} // namespace

int runHeadless(CommandContext &context, data::Session &session, Prompter &prompter,
                ReportPass &pass, const std::optional<QString> &pdf,
                const std::optional<QString> &exportFile, bool print)
{
    for (const std::optional<QString> &file : {pdf, exportFile}) {
        if (!file)
            continue;
        if (const QString refused = OutputFile::refusal(*file); !refused.isEmpty()) {
            context.err << "qaveq: " << refused << "\n";
            return Failure;
        }
    }
    data::Company &company = *session.company;
    StopRequest::install();
    const bool preview = session.printPreview;
    headlessSession(company, session);
    session.printPreview = preview;
    OutputState output;
    HeadlessDevices devices(pdf, exportFile, context.err);
    devices.printRequested = print;
    SystemClock clock;
    const ReportRun::Services services{
        session,  output, devices,
        prompter, clock,  DisplayStrings::load(QDir(company.folder()).filePath(u"CPCSRPTS.INI"_s))};
    ReportRun(pass, services).run();
    const int status = outcome(context, devices);
    return status == Success && print && !devices.printed ? int(Failure) : status;
}

namespace {

// A designed report from the command line: the report's saved printer
// settings stand for the printer dialog, the common output writes the PDF
// (and prints it when asked).
class HeadlessWriterDevices final : public WriterDevices
{
public:
    explicit HeadlessWriterDevices(ReportRun::Services services)
        : m_services(std::move(services))
    {}

    bool printDialog(writer::PrinterSettings &) override { return true; }
    void run(ReportPass &pass) override { ReportRun(pass, m_services).run(); }
    void design(const WriterReportType &, writer::ReportDocument, const QString &) override {}

private:
    ReportRun::Services m_services;
};

const WriterReportType *reportType(CommandContext &context, const QString &name)
{
    const WriterReportType *type = writerReportType(name);
    if (!type) {
        QStringList names;
        for (const WriterReportType &known : writerReportTypes())
            names.append(known.procedure);
        context.err << "qaveq: no report type \"" << name
                    << "\"; the types: " << names.join(u", "_s) << "\n";
    }
    return type;
}

int printCatalogue(CommandContext &context, ArgumentReader &reader)
{
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!problem.isEmpty() || rest.size() != 2)
        return usage(context, u"report"_s, problem.isEmpty() ? u"name one report type"_s : problem);
    const WriterReportType *type = reportType(context, rest.at(1));
    if (!type)
        return Failure;
    context.out << type->catalogueText() << "\n";
    return Success;
}

// Runs a report file, or the starter of a type, over the company.
int runDesigned(CommandContext &context, ArgumentReader &reader, bool starter)
{
    const std::optional<QString> pdf = reader.option(u"pdf"_s);
    const bool print = reader.flag(u"print"_s);
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!reader.missingValue().isEmpty())
        problem = u"--%1 needs a file name"_s.arg(reader.missingValue());
    if (!problem.isEmpty() || rest.size() != 2)
        return usage(context, u"report"_s,
                     problem.isEmpty()
                         ? (starter ? u"name one report type"_s : u"name one report file"_s)
                         : problem);
    if (pdf) {
        if (const QString refused = OutputFile::refusal(*pdf); !refused.isEmpty()) {
            context.err << "qaveq: " << refused << "\n";
            return Failure;
        }
    }
    const WriterReportType *type = nullptr;
    QString file = rest.at(1);
    if (starter) {
        type = reportType(context, rest.at(1));
        if (!type)
            return Failure;
        file = type->starterFile();
    } else {
        // The report's own type chooses the procedure that runs it.
        QString error;
        const std::optional<writer::ReportDocument> document =
            writer::ReportDocument::load(file, &error);
        if (!document) {
            context.err << "qaveq: " << error.replace(u'|', u' ') << "\n";
            return Failure;
        }
        type = reportType(context, document->type);
        if (!type)
            return Failure;
    }
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();
    StopRequest::install();
    data::Session &session = signedOn->session();
    headlessSession(*company, session);
    session.reportWriter.fileName = file;
    session.reportWriter.useSavedDevMode = true;
    OutputState output;
    HeadlessDevices devices(pdf, std::nullopt, context.err);
    devices.printRequested = print;
    ConsolePrompter prompter(context.err);
    SystemClock clock;
    const ReportRun::Services services{
        session, output,
        devices, prompter,
        clock,   DisplayStrings::load(QDir(company->folder()).filePath(u"CPCSRPTS.INI"_s))};
    HeadlessWriterDevices writerDevices(services);
    WriterProcedure(*type, session, prompter, writerDevices,
                    WriterStrings::load(QDir(company->folder()).filePath(u"ReportWriter.ini"_s)))
        .run();
    const int status = outcome(context, devices);
    return status == Success && print && !devices.printed ? int(Failure) : status;
}

// Opens the designer as the windows do: the user signs on, the module's
// procedure of the type opens it on the file, or on a new report.
int designReport(CommandContext &context, ArgumentReader &reader)
{
    QString problem;
    const QStringList rest = reader.positionals(&problem);
    if (!problem.isEmpty() || rest.size() < 2 || rest.size() > 3)
        return usage(context, u"report"_s,
                     problem.isEmpty() ? u"name a report type and, if you like, a file"_s
                                       : problem);
    const WriterReportType *type = reportType(context, rest.at(1));
    if (!type)
        return Failure;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return Failure;
    QtPrompter prompter;
    SystemClock clock;
    HostSession host(context.global.companyFolder, prompter, clock);
    QString error;
    if (!host.openCompany(&error) ||
        !host.signOn(context.global.userGiven ? context.global.userId : u"ADM"_s, &error) ||
        !host.loadModule(&error)) {
        context.err << "qaveq: " << error.replace(u'|', u' ') << "\n";
        return Failure;
    }
    data::Session::ReportWriter &settings = host.session().reportWriter;
    settings.searchPath.clear();
    settings.fileName = rest.value(2);
    if (!settings.fileName.isEmpty())
        settings.fileName = QFileInfo(settings.fileName).absoluteFilePath();
    settings.editAction = 1;
    host.call(type->procedure.toUpper());
    return Success;
}

int runReport(CommandContext &context)
{
    const QString name = context.arguments.value(0);
    if (name.isEmpty() || name.startsWith(u'-'))
        return usage(context, u"report"_s, u"name a report: fixed-assets"_s);
    ArgumentReader reader(context.arguments);
    if (name == u"fixed-assets"_s)
        return runFixedAssets(context, reader);
    if (name == u"definitions"_s)
        return runDefinitionList(context, reader);
    if (name == u"copy"_s)
        return runDefinitionCopy(context, reader);
    if (name == u"run"_s)
        return runDefinitionReport(context, reader);
    if (name == u"catalogue"_s)
        return printCatalogue(context, reader);
    if (name == u"file"_s || name == u"starter"_s)
        return runDesigned(context, reader, name == u"starter"_s);
    if (name == u"design"_s)
        return designReport(context, reader);
    return usage(context, u"report"_s,
                 u"no report \"%1\"; the reports: fixed-assets, definitions, copy, run, "
                 "catalogue, file, starter, design"_s.arg(name));
}

} // namespace

QList<Command> reportCommands()
{
    Command report{
        u"report"_s, u"print a report to a PDF file (and its text copy)"_s,
        u"Usage: qaveq --company DIR report fixed-assets EQUIPID [--graphs] [--pdf FILE]\n"
        "                                   [--export FILE]\n\n"
        "Runs the fixed-asset depreciation schedule report of the equipment EQUIPID\n"
        "from its stored schedule (see \"qaveq depreciation\") and writes it as a PDF.\n"
        "Prints the PDF's name and page count; the exit status is 0 when pages were\n"
        "produced and written.\n\n"
        "  --graphs       the depreciation graphs report instead of the schedule\n"
        "  --pdf FILE     the PDF to write; by default the report's own name\n"
        "                 (\"Fixed Asset Depreciation Schedule.pdf\", \"Fixed Asset\n"
        "                 Depreciation Graphs.pdf\") in the current folder\n"
        "  --export FILE  also write the report's text copy, tab-separated lines\n"
        "                 ready for a spreadsheet\n\n"
        "       qaveq --company DIR report definitions [--family FAMILY]\n"
        "       qaveq --company DIR [--user ID] report copy N\n"
        "       qaveq --company DIR [--user ID] report run N [--pdf FILE] [--export FILE]\n"
        "                                   [--print] [--batch B ...]\n\n"
        "\"definitions\" lists the saved report definitions (number, family, title,\n"
        "owner, locked); FAMILY is analysis, detail, listing, category or proof.\n"
        "\"copy\" duplicates definition N with its list entries, owned by the user,\n"
        "and prints the copy's number. \"run\" prints definition N through its\n"
        "family's report (--batch names the tagged batches of a proof listing;\n"
        "--print prints without preview). Definitions are written with\n"
        "\"qaveq load EQLimits\".\n\n"
        "User-designed reports (TYPE is a report-writer procedure, e.g. PrintUsageLogFM):\n"
        "  qaveq report catalogue TYPE           print the catalogue of files and fields\n"
        "  qaveq report file FILE [--pdf OUT] [--print]\n"
        "                                        run a report file; its type chooses the\n"
        "                                        procedure\n"
        "  qaveq report starter TYPE [--pdf OUT] run the report shipped for TYPE\n"
        "  qaveq report design TYPE [FILE]       open the designer on FILE, or on a new\n"
        "                                        report\n"_s,
        runReport};
    report.paints = true;
    return {report};
}

} // namespace qaveq::host
