#include "testing/ReportTesting.h"

#include "output/MailSettings.h"
#include "output/OutputRules.h"
#include "output/ReportBands.h"

#include "data/suite/SystemFiles.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::ReportRunTest;

TEST(OutputRulesTest, NothingToPrintTextsFollowTheRecordCount)
{
    EXPECT_EQ(OutputRules::nothingToPrintText(0), u"The primary file has no records!"_s);
    EXPECT_EQ(OutputRules::nothingToPrintText(1), u"Your Limits have excluded the one record!"_s);
    EXPECT_EQ(OutputRules::nothingToPrintText(2), u"Your Limits have excluded both records!"_s);
    EXPECT_EQ(OutputRules::nothingToPrintText(7), u"Your Limits have excluded all 7 records!"_s);
}

TEST(OutputRulesTest, PreviewZoom)
{
    int zoom = 2; // stored back as 100, so later reports open at 100 too
    OutputRules::PreviewZoom z = OutputRules::previewZoom(zoom);
    EXPECT_EQ(zoom, 100);
    EXPECT_EQ(z.percent, 100);
    EXPECT_EQ(z.flags, OutputRules::PreviewZoom::Percentage);

    zoom = 0;
    z = OutputRules::previewZoom(zoom);
    EXPECT_EQ(z.percent, 100);
    EXPECT_EQ(z.flags, OutputRules::PreviewZoom::None);

    zoom = 1;
    z = OutputRules::previewZoom(zoom);
    EXPECT_EQ(zoom, 1);
    EXPECT_EQ(z.percent, 100);
    EXPECT_EQ(z.flags, OutputRules::PreviewZoom::Fit);

    zoom = 150;
    z = OutputRules::previewZoom(zoom);
    EXPECT_EQ(z.percent, 150);
    EXPECT_EQ(z.flags, OutputRules::PreviewZoom::Percentage);
}

TEST(OutputRulesTest, PdfNamesGoInTheUsersFolder)
{
    EXPECT_EQ(OutputRules::pdfFileName(u"/home/pat/pdf   "_s, u"Log Proof List.pdf"_s),
              u"/home/pat/pdf/Log Proof List.pdf"_s);
    EXPECT_EQ(OutputRules::pdfFileName(u""_s, u"Log Proof List.pdf"_s), u"Log Proof List.pdf"_s);
}

TEST(DisplayStringsTest, SiteTextsReplaceDefaultsKeyByKey)
{
    QTemporaryDir folder;
    const QString ini = folder.filePath(u"CPCSRPTS.INI"_s);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[DISPLAY STRINGS 2.0]\r\nProgWinTitlePrvw=Building Report\r\n"
               "NothingToPrntText=Nothing, really, to print.\r\n");
    file.close();
    const DisplayStrings strings = DisplayStrings::load(ini);
    EXPECT_EQ(strings.ProgWinTitlePrvw, u"Building Report"_s);
    EXPECT_EQ(strings.NothingToPrntText, u"Nothing, really, to print."_s);
    EXPECT_EQ(strings.ProgWinTitlePrnt, u"Printing Report"_s);
    EXPECT_EQ(DisplayStrings::load(folder.filePath(u"missing.ini"_s)).ButtonYesNoIgnore,
              u"&Yes|&No|&Ignore"_s);
}

namespace {

// A report of `details` lines over a primary file of `records` records.
class CountingPass final : public ReportPass
{
public:
    CountingPass(int records, int details)
        : ReportPass({.title = u"Counting Report"_s, .pdfFileName = u"Counting Report.pdf"_s})
        , m_records(records)
        , m_details(details)
    {}

    qint64 primaryRecordCount() override { return m_records; }
    QStringList limitsLines() const override
    {
        return {u"Equipment: EXC-301 to TRK-101"_s, u"  "_s, u"Active only"_s};
    }
    bool open(ReportRun &run) override
    {
        if (m_details == 0)
            return false;
        run.beginPrinting();
        return true;
    }
    bool next(ReportRun &run, int records) override
    {
        for (int i = 0; i < records && m_printed < m_details; ++i) {
            report::Band band;
            band.height = 1000; // six to a page
            band.text(QRectF(0, 0, 1000, 200), QString::number(++m_printed));
            band.exportLine(u"line %1"_s.arg(m_printed));
            run.engine()->print(band);
        }
        return m_printed < m_details;
    }
    int percentRead() const override { return m_printed * 100 / std::max(1, m_details); }
    qint64 recordsRead() const override { return m_printed; }

private:
    int m_records, m_details, m_printed = 0;
};

} // namespace

TEST_F(ReportRunTest, ACompletedPassIsPreviewedAndItsPagesFreed)
{
    session.previewZoom = 2;
    CountingPass pass(40, 40);
    ReportRun run(pass, services());
    ASSERT_TRUE(run.start());
    int slices = 0;
    while (run.runSlice())
        ++slices;
    EXPECT_EQ(slices, 1); // 25, then the last 15
    EXPECT_EQ(run.finish(), data::Response::Completed);

    EXPECT_EQ(devices.previews, 1);
    EXPECT_EQ(devices.pagesPreviewed, 7);
    EXPECT_EQ(devices.previewedWith.zoomPercent, 100);
    EXPECT_EQ(session.previewZoom, 100);
    EXPECT_TRUE(devices.pdfs.isEmpty());
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_TRUE(QDir(devices.pageFolder).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(session.pdfFileName, u"/home/adm/reports/Counting Report.pdf"_s);
    // The report's text went to a temporary file of the run, not to the
    // shared output, which keeps only the export's heading lines.
    EXPECT_EQ(session.rxQueue,
              (QStringList{u"Demonstration Construction Co."_s, u"Counting Report"_s, QString()}));
}

TEST_F(ReportRunTest, NothingFoundShowsWhyInPreviewAndPrintMode)
{
    CountingPass empty(7, 0);
    ReportRun(empty, services()).run();
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"Nothing to Print..."_s);
    EXPECT_EQ(prompter.shown().first().text, u"Your Limits have excluded all 7 records!"_s);
    EXPECT_EQ(prompter.shown().first().buttons, u"&Ok"_s);

    session.printPreview = false;
    CountingPass none(2, 0);
    ReportRun(none, services()).run();
    EXPECT_EQ(prompter.shown().last().caption, u"NOTE..."_s);
    EXPECT_EQ(prompter.shown().last().text, u"Nothing to Print."_s);
    EXPECT_EQ(devices.previews, 0);
    EXPECT_TRUE(devices.printed.isEmpty());
}

TEST_F(ReportRunTest, CancelAnsweredNoGoesOn)
{
    CountingPass pass(100, 100);
    ReportRun run(pass, services());
    ASSERT_TRUE(run.start());
    prompter.answerNext(2);
    EXPECT_FALSE(run.cancel());
    EXPECT_EQ(prompter.shown().last().text, u"Are you sure you want to CANCEL this Report?"_s);
    EXPECT_EQ(prompter.shown().last().buttons, u"&Yes|&No"_s);
    EXPECT_TRUE(run.runSlice());
}

TEST_F(ReportRunTest, CancelWithPagesInPreviewOffersThePartialReport)
{
    CountingPass pass(100, 100);
    ReportRun run(pass, services());
    ASSERT_TRUE(run.start());
    run.runSlice();
    prompter.answerNext(1); // sure
    prompter.answerNext(3); // ignore: go on
    EXPECT_FALSE(run.cancel());
    EXPECT_EQ(prompter.shown().last().text,
              u"Report Cancellation Requested!||Preview Report generated so far?"_s);
    EXPECT_EQ(prompter.shown().last().buttons, u"&Yes|&No|&Ignore"_s);
    EXPECT_TRUE(run.runSlice());

    prompter.answerNext(1);
    prompter.answerNext(1); // preview what there is
    EXPECT_TRUE(run.cancel());
    devices.pressPdf = true; // a partial preview still allows a PDF
    devices.pdfChoice = u"/tmp/partial.pdf"_s;
    prompter.answerNext(2); // do not view it
    run.finish();
    EXPECT_EQ(devices.previews, 1);
    EXPECT_EQ(devices.pagesPreviewed, 9); // 50 lines
    EXPECT_EQ(devices.pdfs, QStringList{u"/tmp/partial.pdf"_s});
    EXPECT_TRUE(devices.opened.isEmpty());
}

TEST_F(ReportRunTest, CancelWithoutPreviewEndsWithNothing)
{
    CountingPass partial(100, 100);
    ReportRun run(partial, services());
    ASSERT_TRUE(run.start());
    run.runSlice();
    prompter.answerNext(1);
    prompter.answerNext(2); // no partial preview
    EXPECT_TRUE(run.cancel());
    EXPECT_EQ(run.finish(), data::Response::Cancelled);
    EXPECT_EQ(devices.previews, 0);
    EXPECT_EQ(prompter.shown().size(), 2); // no "nothing to print" after a cancel

    session.printPreview = false;
    CountingPass printing(100, 100);
    ReportRun printRun(printing, services());
    ASSERT_TRUE(printRun.start());
    printRun.runSlice();
    prompter.answerNext(1);
    EXPECT_TRUE(printRun.cancel()); // print mode: no partial question
    printRun.finish();
    EXPECT_EQ(prompter.shown().size(), 3);
    EXPECT_TRUE(devices.printed.isEmpty());
}

TEST_F(ReportRunTest, PrintModeSendsThePagesOnceWithTheCopyCount)
{
    session.printPreview = false;
    CountingPass pass(3, 3);
    ReportRun run(pass, services());
    ASSERT_TRUE(run.start());
    run.setCopies(2);
    while (run.runSlice()) {
    }
    run.finish();
    EXPECT_EQ(devices.printed, QList<int>{2});
    EXPECT_EQ(devices.printTitles, QStringList{u"Counting Report"_s}) << "the job's name";
    EXPECT_EQ(devices.previews, 0);
    EXPECT_EQ(session.rxQueue.size(), 3) << "printed straight, it can never be exported: only "
                                            "the heading lines are kept, not the report's text";

    devices.defaultPrinter = false;
    prompter.answerNext(2); // do not go on without a printer
    CountingPass again(3, 3);
    ReportRun(again, services()).run();
    EXPECT_EQ(prompter.shown().last().caption, u"WARNING!"_s);
    EXPECT_EQ(devices.printed.size(), 1);
}

TEST_F(ReportRunTest, PrintFromThePreview)
{
    devices.pressPrint = true;
    CountingPass pass(3, 3);
    ReportRun(pass, services()).run();
    EXPECT_EQ(devices.printed, QList<int>{1});
}

TEST_F(ReportRunTest, GeneratePdfAsksForTheFileAndWhetherToView)
{
    devices.pressPdf = true;
    devices.pdfChoice = u"/tmp/chosen.pdf"_s;
    prompter.answerNext(1);
    CountingPass pass(3, 3);
    ReportRun(pass, services()).run();
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"View PDF?"_s);
    EXPECT_EQ(devices.pdfs, QStringList{u"/tmp/chosen.pdf"_s});
    EXPECT_EQ(devices.opened, QStringList{u"/tmp/chosen.pdf"_s});
    EXPECT_TRUE(output.viewPdf);
    EXPECT_TRUE(devices.mails.isEmpty());
}

TEST_F(ReportRunTest, CancellingThePdfDialogMakesNoPdf)
{
    devices.pressPdf = true;
    CountingPass pass(3, 3);
    ReportRun(pass, services()).run();
    EXPECT_TRUE(devices.pdfs.isEmpty());
    EXPECT_FALSE(output.pdfRequested);
}

TEST_F(ReportRunTest, EmailMakesThePdfWithoutAskingAndSendsIt)
{
    UserFile user;
    user.UserID = u"ADM"_s;
    user.EmailMessage = u"Attached is the report you asked for."_s;
    ASSERT_TRUE(company.file<UserFile>().insert(user));
    session.mmToAddress = u"owner@contractor.test "_s;
    session.mmToName = u"Pat Owner"_s;
    session.mmSubject = u"Equipment report"_s;
    devices.pressEmail = true;
    CountingPass pass(3, 3);
    ReportRun(pass, services()).run();
    EXPECT_TRUE(prompter.shown().isEmpty());
    EXPECT_EQ(devices.pdfs, QStringList{u"/home/adm/reports/Counting Report.pdf"_s});
    ASSERT_EQ(devices.mails.size(), 1);
    const report::MailMessage &mail = devices.mails.first();
    EXPECT_EQ(mail.toAddress, u"owner@contractor.test"_s);
    EXPECT_EQ(mail.toName, u"Pat Owner"_s);
    EXPECT_EQ(mail.subject, u"Equipment report"_s);
    EXPECT_EQ(mail.body, u"Attached is the report you asked for."_s);
    EXPECT_EQ(mail.attachment, u"/home/adm/reports/Counting Report.pdf"_s);
}

TEST_F(ReportRunTest, ExportAddsTheReportParameters)
{
    devices.pressExport = true;
    CountingPass pass(2, 2);
    ReportRun(pass, services()).run();
    ASSERT_EQ(devices.exports.size(), 1);
    EXPECT_EQ(devices.exports.first(),
              (QStringList{u"Demonstration Construction Co."_s, u"Counting Report"_s, QString(),
                           u"line 1"_s, u"line 2"_s, QString(), u"Report Parameters:"_s,
                           u"Equipment: EXC-301 to TRK-101"_s, u"Active only"_s}));
}

TEST_F(ReportRunTest, OnePreviewGivesAPdfAnExportAndAMailWithoutClosing)
{
    using Output = OutputDevices::Output;
    devices.useInPreview = {Output::Export, Output::Pdf, Output::Email, Output::Export};
    devices.pdfChoice = u"/tmp/chosen.pdf"_s;
    prompter.answerNext(2); // not viewed
    session.mmToAddress = u"owner@contractor.test"_s;
    CountingPass pass(2, 2);
    ReportRun(pass, services()).run();

    ASSERT_EQ(devices.exports.size(), 2);
    EXPECT_EQ(devices.exports[0], devices.exports[1]) << "the second export is the same text";
    EXPECT_EQ(devices.exports[0].count(u"Report Parameters:"_s), 1);
    // The mail takes the PDF the run already wrote; no second file.
    EXPECT_EQ(devices.pdfs, QStringList{u"/tmp/chosen.pdf"_s});
    ASSERT_EQ(devices.mails.size(), 1);
    EXPECT_EQ(devices.mails.first().attachment, u"/tmp/chosen.pdf"_s);
    EXPECT_EQ(devices.mails.first().subject, u"Counting Report"_s) << "the report's title";
    // Nothing is done a second time when the preview closes; the flags tell
    // what the run gave.
    EXPECT_TRUE(session.exportMe);
    EXPECT_TRUE(session.emailMe);
    EXPECT_TRUE(output.pdfRequested);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().first().caption, u"View PDF?"_s);
}

TEST_F(ReportRunTest, APdfThatFailedInThePreviewIsToldOnceAndNotTriedAgain)
{
    using Output = OutputDevices::Output;
    devices.pdfFails = true;
    devices.pdfChoice = u"/tmp/no such folder/chosen.pdf"_s;
    session.mmToAddress = u"owner@contractor.test"_s;
    for (const QList<Output> &used : {QList<Output>{Output::Pdf}, {Output::Email}}) {
        devices.useInPreview = used;
        devices.pdfs.clear();
        prompter = {};
        prompter.answerNext(2); // not viewed
        CountingPass pass(2, 2);
        ReportRun(pass, services()).run();
        EXPECT_EQ(devices.pdfs.size(), 1) << "one try, not a second at the end of the run";
        int told = 0;
        for (const Message &message : prompter.shown())
            told += message.caption == u"PDF File"_s;
        EXPECT_EQ(told, 1);
        EXPECT_TRUE(devices.mails.isEmpty());
    }
}

TEST(ReportBandsTest, HeaderAndFooterTakeTheReportColours)
{
    ReportBands::Standard standard;
    standard.company = u"Demonstration Construction Co."_s;
    standard.title = u"Fixed Asset Depreciation Schedule"_s;
    standard.run = QDateTime(QDate(2026, 12, 9), QTime(14, 5));
    standard.titleColor = ReportBands::color(0x1F3A5F);
    standard.shadingColor = ReportBands::color(-1);
    standard.footerColor = ReportBands::color(0x404040);
    standard.limits = {u"Equipment: all"_s, u"   "_s};
    standard.footerMessage = QString(120, u'x');
    standard.width = 7200;

    QStringList texts;
    bool shaded = false;
    const report::Band header = ReportBands::pageHeader(standard);
    for (const report::Element &element : header.elements) {
        if (const auto *text = std::get_if<report::TextElement>(&element)) {
            texts.append(text->text);
            if (text->text == standard.title) {
                EXPECT_EQ(text->color, QColor(0x1F, 0x3A, 0x5F));
            }
        }
        shaded = shaded || std::holds_alternative<report::BoxElement>(element);
    }
    EXPECT_EQ(texts, (QStringList{u"12/09/26"_s, u"2:05PM"_s, standard.company, standard.title}));
    EXPECT_FALSE(shaded); // -1: no shading

    QStringList footer;
    for (const report::Element &element : ReportBands::pageFooter(standard, 3).elements)
        if (const auto *text = std::get_if<report::TextElement>(&element)) {
            footer.append(text->text);
            EXPECT_EQ(text->color, QColor(0x40, 0x40, 0x40));
        }
    EXPECT_EQ(footer, (QStringList{u"Equipment: all"_s, QString(100, u'x'), u"Page: 3"_s}));
}

TEST(MailSettingsTest, KeptForTheUserAloneAndReadBack)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"DEMO/ADM.ini"_s);
    report::SmtpSettings settings;
    settings.server = u"smtp.contractor.test"_s;
    settings.port = 465;
    settings.security = report::SmtpSettings::Security::Tls;
    settings.user = u"office"_s;
    settings.password = u"s3cret, with a comma"_s;
    settings.fromAddress = u"office@contractor.test"_s;
    settings.fromName = u"Equipment Office"_s;
    ASSERT_TRUE(MailSettings::save(file, settings));
    EXPECT_EQ(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    const report::SmtpSettings read = MailSettings::load(file);
    EXPECT_EQ(read.server, settings.server);
    EXPECT_EQ(read.port, 465);
    EXPECT_EQ(read.security, report::SmtpSettings::Security::Tls);
    EXPECT_EQ(read.password, settings.password);
    EXPECT_EQ(read.fromName, settings.fromName);
    EXPECT_TRUE(MailSettings::load(folder.filePath(u"none.ini"_s)).server.isEmpty());
}
