#include "ReportCommands.h"

#include "CompanyAccess.h"
#include "DefinitionCommands.h"

#include "HostSession.h"

#include "assets/FixedAssetReports.h"
#include "output/MailSettings.h"
#include "output/ReportRun.h"
#include "records/EQHeader.h"
#include "writer/WriterProcedure.h"

#include "runtime/ConsolePrompter.h"
#include "runtime/report/PageList.h"
#include "runtime/report/PrintQueue.h"
#include "runtime/widgets/GraphChart.h"
#include "runtime/widgets/QtPrompter.h"

#include "core/Clock.h"
#include "core/OutputFile.h"
#include "core/StopRequest.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/IniManager.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace qaveq::host {

namespace {

// The output of a report run from the command line: no preview; the PDF
// and the text copy go to the files the options name, the print job to the
// print queue and the mail to the user's mail server, each checked.
class HeadlessDevices final : public OutputDevices
{
public:
    HeadlessDevices(HeadlessOutput output, const data::Session &session, CommandContext &context)
        : m_output(std::move(output))
        , m_session(session)
        , m_context(context)
    {}

    int pagesProduced = 0;
    bool failed = false;
    QString pdfWritten;
    bool printed = false;
    bool mailed = false;

    // A PDF is written when asked for, or when nothing else is.
    bool pdfWanted() const
    {
        return m_output.pdf || (!m_output.print && m_output.mailTo.isEmpty());
    }

    bool preview(const report::PageList &pages, Preview &preview) override
    {
        pagesProduced = pages.count();
        if (pdfWanted())
            preview.output(Output::Pdf);
        if (!m_output.mailTo.isEmpty())
            preview.output(Output::Email);
        preview.exportRequested = m_output.exportFile.has_value();
        return m_output.print;
    }
    bool print(const report::PageList &pages, const report::PrintJob &job, bool) override
    {
        report::PrintJob asked = job;
        asked.queue = m_output.printer;
        if (m_output.copies)
            asked.copies = *m_output.copies;
        QString error;
        const std::optional<report::PrintReceipt> receipt =
            report::printPages(m_printService, pages, asked, &error);
        if (!receipt) {
            m_context.err << "qaveq: nothing was printed: " << error << "\n";
            return false;
        }
        printed = true;
        m_context.out << "print job " << receipt->jobName() << " on " << receipt->queue << " ("
                      << pages.count() << (pages.count() == 1 ? " page, " : " pages, ")
                      << asked.copies << (asked.copies == 1 ? " copy)\n" : " copies)\n");
        if (!receipt->warning.isEmpty())
            m_context.err << "qaveq: " << receipt->warning << "\n";
        return true;
    }
    bool hasDefaultPrinter() override
    {
        return !m_output.printer.isEmpty() || !m_printService.defaultQueue().isEmpty();
    }
    std::optional<QString> choosePdfFile(const QString &, const QString &,
                                         const QString &fileName) override
    {
        return m_output.pdf.value_or(fileName);
    }
    report::PdfGenerator::Result generatePdf(report::PdfGenerator &generator,
                                             const report::PageList &pages) override
    {
        const report::PdfGenerator::Result result = generator.generate(pages);
        if (result == report::PdfGenerator::Result::Produced) {
            pdfWritten = generator.outputFileName();
            m_context.out << pdfWritten << " (" << pages.count()
                          << (pages.count() == 1 ? " page)\n" : " pages)\n");
        } else {
            failed = true;
        }
        return result;
    }
    bool canOpen() const override { return false; }
    void open(const QString &) override {}
    bool sendMail(const report::MailMessage &message, QString *error) override
    {
        const report::SmtpSettings settings = MailSettings::load(m_session.userSettingsFile());
        if (settings.server.isEmpty()) {
            *error = u"The report was not emailed: no mail server is set up for you; set one "
                     "with \"qaveq mail-settings\"."_s;
            return false;
        }
        report::SmtpMailer mailer(settings);
        mailed = mailer.send(message);
        if (!mailed) {
            *error = mailer.error();
            return false;
        }
        m_context.out << "mailed to " << message.toAddress << "\n";
        return true;
    }
    bool exportLines(const QStringList &lines) override
    {
        const QString error =
            OutputFile::write(*m_output.exportFile, (lines.join(u'\n') + u'\n').toUtf8());
        if (error.isEmpty())
            return true;
        m_context.err << "qaveq: " << error << "\n";
        failed = true;
        return false;
    }

    // The exit status of the run: each output asked for was done, or the
    // report had nothing to output.
    int outcome(const ReportRun &run) const
    {
        if (StopRequest::requested() && (pagesProduced == 0 || failed)) {
            // A stop that came once the outputs were done changed nothing.
            m_context.err << "qaveq: the report was stopped; nothing was written.\n";
            return 128 + StopRequest::signalNumber();
        }
        if (run.nothingToOutput() && pagesProduced == 0)
            return NothingToPrint;
        const bool done = !run.failed() && !failed && pagesProduced > 0 &&
                          (!pdfWanted() || !pdfWritten.isEmpty()) && (!m_output.print || printed) &&
                          (m_output.mailTo.isEmpty() || mailed);
        return done ? Success : Failure;
    }

private:
    HeadlessOutput m_output;
    const data::Session &m_session;
    CommandContext &m_context;
    report::CupsPrintService m_printService;
};

// The globals of a report run from the command line: the company's report
// colours and footer, the PDF in the current folder, the preview's way.
void headlessSession(data::Company &company, data::Session &session)
{
    session.loadReportSettings(data::IniManager(QDir(company.folder()).filePath(u"suite.ini"_s)),
                               QDir::currentPath());
    session.pdfPath = QDir::currentPath();
    session.printPreview = true;
}

// The mail the options ask for, as the run's mail globals.
void requestMail(data::Session &session, const HeadlessOutput &output)
{
    session.mmToAddress = output.mailTo.join(u", "_s);
    session.mmToName.clear();
    session.mmSubject = output.subject.value_or(QString());
}

// What a report run from the command line needs around it: the run's globals
// set for the command line (the preview's way kept as the caller set it),
// the mail asked for, its devices and its services.
struct HeadlessRun
{
    HeadlessRun(CommandContext &context, data::Session &session, Prompter &prompter,
                const HeadlessOutput &asked)
        : devices(asked, session, context)
        , services{
              session,
              output,
              devices,
              prompter,
              clock,
              DisplayStrings::load(QDir(session.company->folder()).filePath(u"CPCSRPTS.INI"_s))}
    {
        const bool preview = session.printPreview;
        headlessSession(*session.company, session);
        session.printPreview = preview;
        requestMail(session, asked);
    }

    OutputState output;
    HeadlessDevices devices;
    SystemClock clock;
    ReportRun::Services services;
};

int runFixedAssets(CommandContext &context, ArgumentReader &reader)
{
    const bool graphs = reader.flag(u"graphs"_s);
    QString problem;
    const std::optional<HeadlessOutput> asked = readOutputOptions(reader, &problem);
    const QStringList rest = reader.positionals(&problem);
    if (!asked || !problem.isEmpty() || rest.size() != 2)
        return usage(context, u"report"_s,
                     problem.isEmpty() ? u"name one equipment ID"_s : problem);
    // A file that cannot be written is said before any page is made.
    if (!outputFilesWritable(context, *asked))
        return Failure;
    const std::unique_ptr<CommandSession> signedOn = CommandSession::open(context, Access::Reads);
    if (!signedOn)
        return Failure;
    data::Company *company = &signedOn->company();
    // SIGTERM or SIGINT end the run as a cancel would: its page images go.
    StopRequest::install();

    const std::optional<EQHeader> equipment = findEquipment(context, *company, rest.at(1));
    if (!equipment)
        return Failure;

    signedOn->session().printPreview = true;
    ConsolePrompter prompter(context.err);
    HeadlessRun headless(context, signedOn->session(), prompter, *asked);

    std::unique_ptr<ReportPass> report;
    if (graphs)
        report = std::make_unique<FixedAssetGraphsReport>(*company, *equipment, &GraphChart::svg);
    else
        report = std::make_unique<FixedAssetScheduleReport>(*company, *equipment);
    ReportRun run(*report, headless.services);
    run.run();
    return headless.devices.outcome(run);
}

} // namespace

std::optional<HeadlessOutput> readOutputOptions(ArgumentReader &reader, QString *problem)
{
    HeadlessOutput output;
    output.pdf = reader.option(u"pdf"_s);
    output.exportFile = reader.option(u"export"_s);
    output.print = reader.flag(u"print"_s);
    output.printer = reader.option(u"printer"_s).value_or(QString()).trimmed();
    const std::optional<QString> copies = reader.option(u"copies"_s);
    const std::optional<QString> mail = reader.option(u"mail"_s);
    output.subject = reader.option(u"subject"_s);
    if (!reader.missingValue().isEmpty()) {
        *problem = u"%1 needs a value"_s.arg(reader.missingValue());
        return std::nullopt;
    }
    if (copies) {
        bool ok = false;
        output.copies = copies->toInt(&ok);
        if (!ok || *output.copies < 1 || *output.copies > 999) {
            *problem = u"--copies takes a number from 1 to 999, not \"%1\""_s.arg(*copies);
            return std::nullopt;
        }
    }
    if ((!output.printer.isEmpty() || copies) && !output.print) {
        *problem = u"--printer and --copies go with --print"_s;
        return std::nullopt;
    }
    if (mail) {
        for (const QString &address : mail->split(u',')) {
            const QString to = address.trimmed();
            // One plain address each: brackets, quotes or a second @ would
            // put something else into the message's To line.
            static const QRegularExpression plainAddress(
                u"^[^\\s<>\"(),;:@\\\\\\[\\]]+@[^\\s<>\"(),;:@\\\\\\[\\]]+$"_s);
            if (!plainAddress.match(to).hasMatch() || Text::hasControl(to)) {
                *problem = u"--mail takes addresses separated by commas, not \"%1\""_s.arg(*mail);
                return std::nullopt;
            }
            output.mailTo.append(to);
        }
    }
    if (output.pdf && output.exportFile &&
        QFileInfo(*output.pdf).absoluteFilePath() ==
            QFileInfo(*output.exportFile).absoluteFilePath()) {
        *problem = u"--pdf and --export name the same file"_s;
        return std::nullopt;
    }
    if (output.subject && output.mailTo.isEmpty()) {
        *problem = u"--subject goes with --mail"_s;
        return std::nullopt;
    }
    return output;
}

bool outputFilesWritable(CommandContext &context, const HeadlessOutput &output)
{
    for (const std::optional<QString> &file : {output.pdf, output.exportFile}) {
        if (!file)
            continue;
        if (const QString refused = OutputFile::refusal(*file); !refused.isEmpty()) {
            context.err << "qaveq: " << refused << "\n";
            return false;
        }
    }
    return true;
}

int runHeadless(CommandContext &context, data::Session &session, Prompter &prompter,
                ReportPass &pass, const HeadlessOutput &asked)
{
    if (!outputFilesWritable(context, asked))
        return Failure;
    StopRequest::install();
    HeadlessRun headless(context, session, prompter, asked);
    ReportRun run(pass, headless.services);
    run.run();
    return headless.devices.outcome(run);
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
    void run(ReportPass &pass) override
    {
        m_run = std::make_unique<ReportRun>(pass, m_services);
        m_run->run();
    }
    void design(const WriterReportType &, writer::ReportDocument, const QString &) override {}

    // The run made, once the procedure ran one.
    const ReportRun *reportRun() const { return m_run.get(); }

private:
    ReportRun::Services m_services;
    std::unique_ptr<ReportRun> m_run;
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
    QString problem;
    const std::optional<HeadlessOutput> asked = readOutputOptions(reader, &problem);
    const QStringList rest = reader.positionals(&problem);
    if (!asked || !problem.isEmpty() || rest.size() != 2)
        return usage(context, u"report"_s,
                     problem.isEmpty()
                         ? (starter ? u"name one report type"_s : u"name one report file"_s)
                         : problem);
    if (asked->exportFile)
        return usage(context, u"report"_s, u"a designed report has no text copy to export"_s);
    if (!outputFilesWritable(context, *asked))
        return Failure;
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
    session.printPreview = true;
    session.reportWriter.fileName = file;
    session.reportWriter.useSavedDevMode = true;
    ConsolePrompter prompter(context.err);
    HeadlessRun headless(context, session, prompter, *asked);
    HeadlessWriterDevices writerDevices(headless.services);
    WriterProcedure(*type, session, prompter, writerDevices,
                    WriterStrings::load(QDir(company->folder()).filePath(u"ReportWriter.ini"_s)))
        .run();
    if (!writerDevices.reportRun())
        return Failure;
    return headless.devices.outcome(*writerDevices.reportRun());
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
        u"report"_s, u"run a report to a PDF file, a print queue or mail (and its text copy)"_s,
        u"Usage: qaveq --company DIR report fixed-assets EQUIPID [--graphs] [OUTPUT...]\n\n"
        "Runs the fixed-asset depreciation schedule report of the equipment EQUIPID\n"
        "from its stored schedule (see \"qaveq depreciation\") and writes it as a PDF.\n"
        "  --graphs       the depreciation graphs report instead of the schedule\n\n"
        "       qaveq --company DIR report definitions [--family FAMILY]\n"
        "       qaveq --company DIR [--user ID] report copy N\n"
        "       qaveq --company DIR [--user ID] report run N [OUTPUT...] [--batch B ...]\n\n"
        "\"definitions\" lists the saved report definitions (number, family, title,\n"
        "owner, locked); FAMILY is analysis, detail, listing, category or proof.\n"
        "\"copy\" duplicates definition N with its list entries, owned by the user,\n"
        "and prints the copy's number. \"run\" prints definition N through its\n"
        "family's report (--batch names the tagged batches of a proof listing).\n"
        "Definitions are written with \"qaveq load EQLimits\".\n\n"
        "User-designed reports (TYPE is a report-writer procedure, e.g. PrintUsageLogFM):\n"
        "  qaveq report catalogue TYPE           print the catalogue of files and fields\n"
        "  qaveq report file FILE [OUTPUT...]    run a report file; its type chooses the\n"
        "                                        procedure\n"
        "  qaveq report starter TYPE [OUTPUT...] run the report shipped for TYPE\n"
        "  qaveq report design TYPE [FILE]       open the designer on FILE, or on a new\n"
        "                                        report\n\n"
        "OUTPUT of fixed-assets, run, file and starter (without any, the PDF is written):\n"
        "  --pdf FILE     write the PDF to FILE; by default under the report's own name\n"
        "                 (e.g. \"Fixed Asset Depreciation Schedule.pdf\") in the current\n"
        "                 folder\n"
        "  --export FILE  also write the report's text copy, tab-separated lines ready\n"
        "                 for a spreadsheet (not for designed reports)\n"
        "  --print        hand the report to the print service (CUPS), named after the\n"
        "                 report; with --pdf the PDF is written as well\n"
        "  --printer NAME the print queue to use instead of the default one\n"
        "  --copies N     the copies to print (1 to 999)\n"
        "  --mail TO[,TO...]\n"
        "                 mail the report's PDF to these addresses with the user's mail\n"
        "                 settings (see \"qaveq mail-settings\"); the PDF stays written\n"
        "  --subject TEXT the mail's subject; by default the report's title\n\n"
        "Prints each output done: the PDF's name and page count, the print job\n"
        "(QUEUE-JOB on QUEUE), the addresses mailed.\n\n"
        "Exit status:\n"
        "  0  every output asked for was done: the PDF written, the print job\n"
        "     accepted by its queue, the mail accepted by the mail server\n"
        "  1  something asked for was not done; the reason is on stderr\n"
        "  2  the command line is wrong\n"
        "  3  the report has nothing to print; no file was written\n"_s,
        runReport};
    report.paints = true;
    return {report};
}

} // namespace qaveq::host
