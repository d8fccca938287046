#include "ReportRun.h"

#include "ReportBands.h"

#include "core/Clock.h"
#include "core/Prompter.h"
#include "core/StopRequest.h"
#include "core/Text.h"

#include "data/Company.h"
#include "data/suite/SystemFiles.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace qaveq {

ReportRun::ReportRun(ReportPass &pass, Services services)
    : m_pass(pass)
    , m_services(std::move(services))
{}

ReportRun::~ReportRun() = default;

bool ReportRun::start()
{
    data::Session &session = m_services.session;
    m_copies = 1;
    m_zoom = OutputRules::previewZoom(session.previewZoom);
    m_preview = session.printPreview;
    m_state = State::NothingToOutput;
    m_toldWhy = m_nothingToOutput = m_failed = false;
    m_started = m_services.clock.now();
    if (!m_pages.isValid()) {
        tell(m_pass.title(), u"The report's pages cannot be kept: %1"_s.arg(m_pages.error()));
        m_over = true;
        return false;
    }
    if (!m_pass.open(*this)) {
        m_over = true;
        return false;
    }
    return true;
}

bool ReportRun::runSlice(int records)
{
    if (m_over)
        return false;
    if (StopRequest::requested()) {
        // The program is asked to end: stop as a cancel does, with nothing
        // to output, so the run's pages and folder are cleaned up.
        m_state = State::NothingToOutput;
        m_cancelled = true;
        m_over = true;
        return false;
    }
    const bool more = m_pass.next(*this, records > 0 ? records : m_pass.recordsPerSlice());
    if (m_engine && !m_engine->error().isEmpty()) {
        tell(m_pass.title(),
             u"The report stopped: what it printed cannot be stored.|%1"_s.arg(m_engine->error()));
        m_over = true;
        m_cancelled = true;
        return false;
    }
    if (!more) {
        m_state = State::Completed;
        m_over = true;
    }
    return more;
}

bool ReportRun::cancel()
{
    if (m_over)
        return true;
    const DisplayStrings &s = m_services.strings;
    Prompter &prompter = m_services.prompter;
    const QString caption = m_pass.cancelCaption();
    const QString text = m_pass.cancelText();
    const int sure = prompter.ask(Message{caption.isEmpty() ? s.CancelAreYouSureTitle : caption,
                                          text.isEmpty() ? s.CancelAreYouSureText : text,
                                          s.ButtonYesNo, 2, Message::Icon::Question});
    if (sure != 1)
        return false;
    if (m_preview && m_engine && m_engine->pagesStarted() > 0) {
        const int partial = prompter.ask(Message{s.CancelPrvwPartialTitle, s.CancelPrvwPartialText,
                                                 s.ButtonYesNoIgnore, 1, Message::Icon::Question});
        if (partial == 3)
            return false;
        m_state = partial == 1 ? State::Completed : State::NothingToOutput;
    } else {
        m_state = State::NothingToOutput;
    }
    m_cancelled = true;
    m_over = true;
    return true;
}

void ReportRun::startOutput()
{
    data::Session &session = m_services.session;
    session.pdfFileName = OutputRules::pdfFileName(session.pdfPath, m_pass.pdfFileName());
    session.emailMe = false;
    session.exportMe = false;
    m_services.output.pdfRequested = false;
    session.rxQueue = {Text::clip(session.companyName), m_pass.title(), QString()};
    m_exportText.clear();
    m_engine = std::make_unique<report::ReportEngine>(m_pass.pageSetup(), m_pages, m_exportText);
    // Only the preview offers the export: a report printed straight to the
    // printer, or one that offers none, keeps no text.
    m_engine->keepExportLines(m_preview && m_pass.offersExport());
}

report::ReportEngine &ReportRun::beginPrintingOwnPages(report::ReportEngine::PageBand header,
                                                       report::ReportEngine::PageBand footer)
{
    startOutput();
    m_engine->setPageHeader(std::move(header));
    m_engine->setPageFooter(std::move(footer));
    return *m_engine;
}

report::ReportEngine &ReportRun::beginPrinting(report::ReportEngine::PageBand heading,
                                               int headingFromPage)
{
    data::Session &session = m_services.session;
    startOutput();
    const report::PageSetup setup = m_pass.pageSetup();
    ReportBands::Standard standard;
    standard.company = Text::clip(session.companyName);
    standard.title = m_pass.title();
    standard.run = m_started;
    standard.limits = m_pass.limitsLines();
    standard.footerMessage = Text::clip(session.reportFooterMessage);
    standard.titleColor = ReportBands::color(session.reportTitleColor);
    standard.shadingColor = ReportBands::color(session.reportShadingColor);
    standard.footerColor = ReportBands::color(session.reportFooterColor);
    standard.width = setup.printable().width();
    // The standard header is the same on every page: laid out once.
    m_engine->setPageHeader(
        [standard = ReportBands::pageHeader(standard), heading, headingFromPage](int page) {
            report::Band header = standard;
            if (heading && page >= headingFromPage)
                header.append(heading(page));
            return header;
        });
    m_engine->setPageFooter(
        [standard](int page) { return ReportBands::pageFooter(standard, page); });
    return *m_engine;
}

QString ReportRun::progressTitle() const
{
    return m_preview ? m_services.strings.ProgWinTitlePrvw : m_services.strings.ProgWinTitlePrnt;
}

QString ReportRun::percentText() const
{
    return QString::number(std::clamp(m_pass.percentRead(), 0, 100)) +
           m_services.strings.ProgWinPctText;
}

QString ReportRun::recordsText() const
{
    return QString::number(m_pass.recordsRead()) + u' ' + m_services.strings.ProgWinRecText;
}

void ReportRun::tell(const QString &caption, const QString &text)
{
    m_failed = true;
    m_toldWhy = true;
    m_services.prompter.ask(
        Message{caption, text, m_services.strings.ButtonOk, 1, Message::Icon::Exclamation});
}

void ReportRun::passFailed(const QString &reason)
{
    if (!reason.isEmpty())
        tell(m_pass.title(), reason);
    m_toldWhy = true;
    m_failed = true;
}

void ReportRun::nothingToPrint(const QString &title, const QString &text)
{
    m_nothingToOutput = !m_failed;
    if (m_toldWhy)
        return;
    m_services.prompter.ask(
        Message{title, text, m_services.strings.ButtonOk, 1, Message::Icon::Information});
}

void ReportRun::nothingToPreview()
{
    if (m_pass.hasLimits())
        nothingToPrint(u"Nothing to Print..."_s,
                       OutputRules::nothingToPrintText(m_pass.primaryRecordCount()));
    else
        nothingToPrint(m_services.strings.NothingToPrvwTitle, m_services.strings.NothingToPrvwText);
}

void ReportRun::showOnPreview()
{
    if (m_engine && !m_engine->endPage()) {
        tell(m_pass.title(), m_engine->error());
        return;
    }
    if (m_pages.isEmpty()) {
        nothingToPreview();
        return;
    }
    data::Session &session = m_services.session;
    OutputDevices::Preview preview;
    preview.zoomPercent = m_zoom.percent;
    preview.zoomFlags = m_zoom.flags;
    preview.exportRequested = session.exportMe;
    preview.pdfRequested = m_services.output.pdfRequested;
    preview.emailRequested = session.emailMe;
    preview.exportOffered = m_pass.offersExport();
    bool exportUsed = false, pdfUsed = false, emailUsed = false;
    preview.output = [&](OutputDevices::Output output) {
        (output == OutputDevices::Output::Export ? exportUsed
         : output == OutputDevices::Output::Pdf  ? pdfUsed
                                                 : emailUsed) = true;
        outputFromPreview(output);
    };
    const bool print = m_services.devices.preview(m_pages, preview);
    // The run's output flags, all set together now that the preview is over.
    session.exportMe = preview.exportRequested || exportUsed;
    m_services.output.pdfRequested = preview.pdfRequested || pdfUsed || emailUsed;
    session.emailMe = preview.emailRequested || emailUsed;
    if (print)
        m_services.devices.print(m_pages, printJob(), true);
}

void ReportRun::outputFromPreview(OutputDevices::Output output)
{
    data::Session &session = m_services.session;
    OutputState &state = m_services.output;
    switch (output) {
    case OutputDevices::Output::Export:
        exportReport();
        m_exported = true;
        return;
    case OutputDevices::Output::Pdf: {
        // Asked for as at the end of a run: the file, then whether to view it.
        const bool emailMe = std::exchange(session.emailMe, false);
        state.pdfRequested = true;
        askForPdf();
        if (state.pdfRequested) {
            const bool created = createPdf();
            m_pdfWritten = created || m_pdfWritten;
            m_pdfFailed = !created && !m_pdfWritten;
        }
        session.emailMe = emailMe;
        return;
    }
    case OutputDevices::Output::Email:
        // The PDF this run wrote goes out; else one is written without
        // asking, under the name the user's PDF folder gives.
        if (!m_pdfWritten) {
            session.pdfFileName = OutputRules::pdfFileName(session.pdfPath, m_pass.pdfFileName());
            state.pdfRequested = true;
            state.viewPdf = false;
            if (!createPdf()) {
                m_pdfFailed = true;
                return;
            }
            m_pdfWritten = true;
        }
        mailPdf();
        return;
    }
}

void ReportRun::sendToPrinter()
{
    const DisplayStrings &s = m_services.strings;
    if (m_engine && !m_engine->endPage()) {
        tell(m_pass.title(), m_engine->error());
        return;
    }
    if (!m_services.devices.hasDefaultPrinter() &&
        m_services.prompter.ask(Message{s.NoDfltPrtrTitle, s.NoDfltPrtrText, s.ButtonYesNo, 1,
                                        Message::Icon::Exclamation}) != 1)
        return;
    m_services.devices.print(m_pages, printJob(), false);
}

report::PrintJob ReportRun::printJob() const
{
    return report::PrintJob{m_pass.title(), {}, m_copies};
}

void ReportRun::askForPdf()
{
    data::Session &session = m_services.session;
    OutputState &output = m_services.output;
    output.viewPdf = false;
    if (session.emailMe) {
        output.pdfRequested = true;
        return;
    }
    if (!output.pdfRequested)
        return;
    const std::optional<QString> file = m_services.devices.choosePdfFile(
        u"PDF File Name and Location"_s, u"PDF Files|*.pdf|All Files|*.*"_s, session.pdfFileName);
    if (!file) {
        output.pdfRequested = false;
        return;
    }
    session.pdfFileName = *file;
    output.viewPdf = m_services.devices.canOpen() &&
                     m_services.prompter.ask(Message{
                         u"View PDF?"_s, u"Do you wish to view the PDF file when it is created?"_s,
                         u"&Yes|&No"_s, 1, Message::Icon::Question}) == 1;
}

bool ReportRun::createPdf()
{
    if (m_pages.isEmpty() || !m_services.output.pdfRequested)
        return false;
    report::PdfGenerator generator;
    generator.setOutput(Text::clip(m_services.session.pdfFileName));
    generator.setViewWhenDone(m_services.output.viewPdf);
    const report::PdfGenerator::Result result = m_services.devices.generatePdf(generator, m_pages);
    if (result == report::PdfGenerator::Result::Failed) {
        tell(u"PDF File"_s, generator.error());
        return false;
    }
    if (result != report::PdfGenerator::Result::Produced)
        return false;
    // The name written, with the folder and extension the generator gave it.
    m_services.session.pdfFileName = generator.outputFileName();
    if (generator.viewWhenDone())
        m_services.devices.open(generator.outputFileName());
    return true;
}

void ReportRun::mailPdf()
{
    data::Session &session = m_services.session;
    report::MailMessage message;
    message.attachment = Text::clip(session.pdfFileName);
    message.toAddress = Text::clip(session.mmToAddress);
    message.toName = Text::clip(session.mmToName);
    message.subject = Text::clip(session.mmSubject);
    if (message.subject.isEmpty())
        message.subject = m_pass.title();
    if (session.company) {
        UserFile user;
        user.UserID = session.userId;
        if (session.company->file<UserFile>().fetch(u"KeyUserID", user))
            message.body = Text::clip(user.EmailMessage);
    }
    QString error;
    if (!m_services.devices.sendMail(message, &error))
        tell(u"Email Report"_s, error + u"||The PDF is kept as %1."_s.arg(message.attachment));
}

void ReportRun::exportReport()
{
    data::Session &session = m_services.session;
    const QStringList limits = m_pass.exportParameters();
    // The report's text stays as printed, so that it can be exported again.
    QStringList lines = session.rxQueue;
    if (m_exportText.count() > 0) {
        const QStringList printed = m_exportText.lines();
        if (printed.isEmpty()) {
            tell(m_pass.title(), u"The report cannot be exported.|%1"_s.arg(m_exportText.error()));
            return;
        }
        lines.append(printed);
    }
    lines.append(QString());
    lines.append(u"Report Parameters:"_s);
    for (int i = 0; i < limits.size(); ++i) {
        const QString line = Text::clip(limits.at(i).left(i == 0 ? 150 : 100));
        if (!line.isEmpty())
            lines.append(line);
    }
    m_services.devices.exportLines(lines);
}

data::Response ReportRun::finish()
{
    m_over = true;
    const DisplayStrings &s = m_services.strings;
    if (m_preview) {
        if (m_state == State::Completed)
            showOnPreview();
        else if (!m_cancelled)
            nothingToPreview();
    } else if (!m_cancelled) {
        if (m_engine && m_engine->bandsPrinted() > 0)
            sendToPrinter();
        else
            nothingToPrint(s.NothingToPrntTitle, s.NothingToPrntText);
    }

    if (!m_pdfWritten && !m_pdfFailed) {
        askForPdf();
        const bool created = createPdf();
        if (created && m_services.session.emailMe)
            mailPdf();
    }

    m_engine.reset();
    m_pages.clear();

    if (m_services.session.exportMe && !m_exported)
        exportReport();
    m_exportText.clear();
    m_services.session.globalResponse =
        m_state == State::Completed ? data::Response::Completed : data::Response::Cancelled;
    return m_services.session.globalResponse;
}

data::Response ReportRun::run()
{
    if (start()) {
        while (runSlice()) {
        }
    }
    return finish();
}

} // namespace qaveq
