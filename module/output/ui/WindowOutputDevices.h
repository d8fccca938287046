#pragma once

#include "output/OutputDevices.h"

#include <QString>

class QWidget;

namespace qaveq {

namespace data {
class Session;
}
class Prompter;

// The report output of the windows: the preview window, the print dialog,
// the PDF file dialog and status window, the desktop's PDF viewer, mail
// through the user's mail server and the suite's report export.
class WindowOutputDevices final : public OutputDevices
{
public:
    WindowOutputDevices(data::Session &session, Prompter &prompter, QString title, QWidget *parent);

    bool preview(const report::PageList &pages, Preview &preview) override;
    bool print(const report::PageList &pages, const report::PrintJob &job,
               bool choosePrinter) override;
    bool hasDefaultPrinter() override;
    std::optional<QString> choosePdfFile(const QString &caption, const QString &filter,
                                         const QString &fileName) override;
    report::PdfGenerator::Result generatePdf(report::PdfGenerator &generator,
                                             const report::PageList &pages) override;
    void open(const QString &path) override;
    bool sendMail(const report::MailMessage &message, QString *error) override;
    bool exportLines(const QStringList &lines) override;

private:
    // Asks whom the report goes to; false when the user cancels.
    bool askRecipient();
    // Whether the user has a mail server, set up now when they agree to.
    bool mailServerReady();
    // Keeps the zoom the user chose in the preview (1: fitted, else a
    // percentage) as the user's setting when it differs from the one opened.
    void keepZoom(const Preview &opened, int chosen);

    data::Session &m_session;
    Prompter &m_prompter;
    QString m_title;
    QWidget *m_parent;
};

} // namespace qaveq
