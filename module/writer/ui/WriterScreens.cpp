#include "WriterScreens.h"

#include "DesignedReportsWindow.h"

#include "common/ui/ScreenRunner.h"
#include "output/ui/ReportWindow.h"
#include "writer/WriterProcedure.h"

#include "runtime/widgets/QtFileChooser.h"
#include "runtime/widgets/QtPrompter.h"
#include "runtime/writer/ui/DesignerWindow.h"

#include "data/ErrorManager.h"
#include "data/Session.h"

#include <QApplication>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

class WindowWriterDevices final : public WriterDevices
{
public:
    WindowWriterDevices(data::Session &session, OutputState &output, Prompter &prompter,
                        WriterStrings strings)
        : m_session(session)
        , m_output(output)
        , m_prompter(prompter)
        , m_strings(std::move(strings))
    {}

    bool printDialog(writer::PrinterSettings &settings) override
    {
        QPrinter printer;
        if (!settings.printerName.isEmpty())
            printer.setPrinterName(settings.printerName);
        printer.setCopyCount(settings.copies);
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        dialog.setWindowTitle(u"Report Destination"_s);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        settings.printerName = printer.printerName();
        settings.copies = std::max(1, printer.copyCount());
        settings.duplex = printer.duplex() != QPrinter::DuplexNone;
        return true;
    }

    void run(ReportPass &pass) override { runReportWindow(pass, m_session, m_output); }

    void design(const WriterReportType &type, writer::ReportDocument document,
                const QString &path) override
    {
        // Designed reports belong in the company's Reports folder.
        QtFileChooser files(QApplication::activeWindow(), QtFileChooser::Start::Offered);
        writer::DesignerWindow::Services services{
            m_prompter, files,
            [this, &type](const writer::ReportDocument &shown) {
                const QString problem = shown.check(type.catalogue());
                if (!problem.isEmpty()) {
                    m_prompter.ask(Message::alert(u"Preview"_s, problem));
                    return;
                }
                WriterReportPass pass(type, shown, m_session, m_prompter, m_strings);
                run(pass);
            },
            QDir(m_session.dataPath).filePath(u"Reports"_s)};
        QDir().mkpath(services.folder);
        writer::DesignerWindow window(type.catalogue(), std::move(document), path, services,
                                      QApplication::activeWindow());
        window.exec();
    }

private:
    data::Session &m_session;
    OutputState &m_output;
    Prompter &m_prompter;
    WriterStrings m_strings;
};

} // namespace

namespace WriterScreens {

void run(const QString &procedure, data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    const WriterReportType *type = writerReportType(procedure);
    if (!session || !type)
        return;
    QtPrompter prompter(QApplication::activeWindow());
    const WriterStrings strings =
        WriterStrings::load(QDir(session->dataPath).filePath(u"ReportWriter.ini"_s));
    WindowWriterDevices devices(*session, output, prompter, strings);
    WriterProcedure(*type, *session, prompter, devices, strings).run();
}

void list(data::ErrorManager &errors, OutputState &output)
{
    data::Session *session = ScreenRunner::session(errors);
    if (!session)
        return;
    QtPrompter prompter(QApplication::activeWindow());
    DesignedReportsWindow window(
        *session, prompter,
        [&errors, &output](const QString &procedure) { run(procedure, errors, output); },
        QApplication::activeWindow());
    prompter.setParent(&window);
    window.exec();
}

} // namespace WriterScreens

} // namespace qaveq
