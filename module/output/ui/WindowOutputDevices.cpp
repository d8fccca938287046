#include "WindowOutputDevices.h"

#include "output/MailSettings.h"
#include "output/OutputRules.h"

#include "suite/Procedures.h"

#include "runtime/report/PageList.h"
#include "runtime/widgets/MailDialogs.h"
#include "runtime/widgets/PdfStatusWindow.h"
#include "runtime/widgets/PreviewWindow.h"
#include "runtime/widgets/QtFileChooser.h"
#include "runtime/widgets/ReportPrinter.h"

#include "core/Prompter.h"

#include "data/IniManager.h"
#include "data/Session.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <thread>
#include <utility>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// "PDF Files|*.pdf|All Files|*.*" as a file dialog takes it.
QString dialogFilter(const QString &masks)
{
    const QStringList parts = masks.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        if (patterns == u"*.*"_s)
            patterns = u"*"_s;
        filters.append(u"%1 (%2)"_s.arg(parts.at(i), patterns));
    }
    return filters.join(u";;"_s);
}

} // namespace

WindowOutputDevices::WindowOutputDevices(data::Session &session, Prompter &prompter, QString title,
                                         QWidget *parent)
    : m_session(session)
    , m_prompter(prompter)
    , m_title(std::move(title))
    , m_parent(parent)
{}

bool WindowOutputDevices::preview(const report::PageList &pages, Preview &preview)
{
    PreviewWindow window(pages, m_title, m_parent);
    window.setExportOffered(preview.exportOffered);
    if (preview.output) {
        window.setOutputHandler([&](PreviewWindow::Output output) {
            // The output's dialogs stand over the preview while it is open.
            QWidget *const parent = std::exchange(m_parent, &window);
            switch (output) {
            case PreviewWindow::Output::Export:
                preview.output(OutputDevices::Output::Export);
                break;
            case PreviewWindow::Output::Pdf:
                preview.output(OutputDevices::Output::Pdf);
                break;
            case PreviewWindow::Output::Email:
                if (mailServerReady() && askRecipient())
                    preview.output(OutputDevices::Output::Email);
                break;
            }
            m_parent = parent;
        });
    }
    if (preview.zoomFlags == OutputRules::PreviewZoom::Fit)
        window.setZoom(PreviewWindow::Zoom::PageWidth);
    else
        window.setZoom(PreviewWindow::Zoom::Percent, preview.zoomPercent);
    window.exec();
    keepZoom(preview, window.zoomMode() == PreviewWindow::Zoom::Percent ? window.zoomPercent() : 1);
    if (!preview.output) {
        preview.exportRequested = preview.exportRequested || window.exportRequested();
        preview.pdfRequested = preview.pdfRequested || window.pdfRequested();
        preview.emailRequested = preview.emailRequested ||
                                 (window.emailRequested() && mailServerReady() && askRecipient());
    }
    return window.printRequested();
}

void WindowOutputDevices::keepZoom(const Preview &opened, int chosen)
{
    // The zoom chosen in the preview is the user's from now on: fitted (1)
    // or a percentage, as GLO:PreviewZoom holds it.
    const int before = opened.zoomFlags == OutputRules::PreviewZoom::Fit ? 1 : opened.zoomPercent;
    if (chosen == before || chosen < 1 || chosen > 255)
        return;
    m_session.previewZoom = chosen;
    const QString file = m_session.userSettingsFile();
    if (!data::IniManager(file).update(u"Preview"_s, u"Zoom"_s, chosen))
        m_prompter.ask(Message::alert(u"Preview"_s,
                                      u"The zoom cannot be kept for the next preview: %1 cannot be "
                                      "written."_s.arg(file)));
}

bool WindowOutputDevices::mailServerReady()
{
    // Asked before the PDF is written, so that a mail given up leaves no file.
    const QString file = m_session.userSettingsFile();
    if (!MailSettings::load(file).server.isEmpty())
        return true;
    if (m_prompter.ask(Message{u"Email Report"_s,
                               u"No mail server is set up for you yet.|Enter your mail server's "
                               "settings, and the report is sent with them."_s,
                               u"&OK|&Cancel"_s, 1, Message::Icon::Information}) != 1)
        return false;
    MailServerDialog dialog(MailSettings::load(file), m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!MailSettings::save(file, dialog.settings())) {
        m_prompter.ask(Message::alert(u"Email Report"_s, u"%1 cannot be written."_s.arg(file)));
        return false;
    }
    return true;
}

bool WindowOutputDevices::askRecipient()
{
    RecipientDialog dialog(m_session.mmToAddress, m_session.mmToName,
                           m_session.mmSubject.trimmed().isEmpty() ? m_title : m_session.mmSubject,
                           m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_session.mmToAddress = dialog.address();
    m_session.mmToName = dialog.name();
    m_session.mmSubject = dialog.subject();
    return true;
}

bool WindowOutputDevices::print(const report::PageList &pages, const report::PrintJob &job,
                                bool choosePrinter)
{
    report::PrintJob chosen = job;
    if (choosePrinter && !ReportPrinter::choosePrinter(chosen, m_parent))
        return false;
    report::CupsPrintService service;
    QString error;
    const std::optional<report::PrintReceipt> receipt =
        report::printPages(service, pages, chosen, &error);
    if (!receipt) {
        m_prompter.ask(Message::alert(u"Print"_s, u"The report was not printed.|%1"_s.arg(error)));
        return false;
    }
    QString text = u"%1 went to the print queue %2 as job %3."_s.arg(chosen.title, receipt->queue,
                                                                     receipt->jobName());
    if (!receipt->warning.isEmpty())
        text += u"||"_s + receipt->warning;
    m_prompter.ask(Message{u"Print"_s, text, u"&OK"_s, 1,
                           receipt->warning.isEmpty() ? Message::Icon::Information
                                                      : Message::Icon::Exclamation});
    return true;
}

bool WindowOutputDevices::hasDefaultPrinter()
{
    return !report::CupsPrintService().defaultQueue().isEmpty();
}

std::optional<QString> WindowOutputDevices::choosePdfFile(const QString &caption,
                                                          const QString &filter,
                                                          const QString &fileName)
{
    const QString chosen = QtFileChooser(m_parent).choose(FileChooser::Purpose::Save, caption,
                                                          fileName.trimmed(), dialogFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

report::PdfGenerator::Result WindowOutputDevices::generatePdf(report::PdfGenerator &generator,
                                                              const report::PageList &pages)
{
    return runPdfGeneration(generator, pages, m_prompter, m_parent);
}

void WindowOutputDevices::open(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool WindowOutputDevices::sendMail(const report::MailMessage &message, QString *error)
{
    const QString file = m_session.userSettingsFile();
    report::SmtpSettings settings = MailSettings::load(file);
    if (settings.server.isEmpty()) {
        MailServerDialog dialog(settings, m_parent);
        if (dialog.exec() != QDialog::Accepted) {
            *error = u"The report was not emailed: no mail server is set up."_s;
            return false;
        }
        settings = dialog.settings();
        MailSettings::save(file, settings);
    }

    // The send runs beside the window, which stays responsive meanwhile.
    report::SmtpMailer mailer(settings);
    std::atomic<bool> done{false};
    bool sent = false;
    std::thread sender([&] {
        sent = mailer.send(message);
        done = true;
    });
    QProgressDialog progress(u"Sending %1 to %2..."_s.arg(m_title, message.toAddress), QString(), 0,
                             0, m_parent);
    progress.setWindowTitle(u"Email Report"_s);
    progress.setMinimumDuration(300);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(50);
    loop.exec();
    sender.join();
    if (!sent)
        *error = mailer.error();
    return sent;
}

bool WindowOutputDevices::exportLines(const QStringList &lines)
{
    return suite::REPORTEXPORT(lines, m_title);
}

} // namespace qaveq
