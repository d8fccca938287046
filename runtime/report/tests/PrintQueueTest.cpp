#include "LocalCupsServer.h"

#include "runtime/report/PageList.h"
#include "runtime/report/PrintQueue.h"

#include <QFile>

#include <cups/cups.h>

#include <gtest/gtest.h>

using namespace qaveq::report;
using namespace Qt::StringLiterals;

namespace {

void addPages(PageList &pages, int count)
{
    for (int i = 1; i <= count; ++i) {
        PageImage page{QSizeF(6120, 7920), {}};
        page.elements.push_back(
            TextElement{QRectF(360, 360, 3000, 200), u"Page %1"_s.arg(i), TextStyle{}});
        QString error;
        ASSERT_TRUE(pages.append(page.toBytes(), &error)) << error.toStdString();
    }
}

// A print service that keeps what it was handed and answers as told.
class RecordingService final : public PrintService
{
public:
    QString refusal; // the service's reason when it refuses the job
    QByteArray handed;
    PrintJob job;
    QString file;

    QString defaultQueue() override { return u"Office"_s; }
    std::optional<PrintReceipt> submit(const QString &pdfFile, const PrintJob &asked,
                                       QString *error) override
    {
        QFile pdf(pdfFile);
        if (pdf.open(QIODevice::ReadOnly))
            handed = pdf.readAll();
        job = asked;
        file = pdfFile;
        if (!refusal.isEmpty()) {
            *error = refusal;
            return std::nullopt;
        }
        return PrintReceipt{asked.queue.isEmpty() ? defaultQueue() : asked.queue, 7, {}};
    }
};

} // namespace

TEST(PrintQueueTest, ThePagesGoToTheServiceAsOnePdfNamedAfterTheReport)
{
    PageList pages;
    addPages(pages, 3);
    RecordingService service;
    QString error;
    const std::optional<PrintReceipt> receipt =
        printPages(service, pages, {u"Equipment Detail Listing"_s, {}, 2}, &error);
    ASSERT_TRUE(receipt) << error.toStdString();
    EXPECT_EQ(receipt->jobName(), u"Office-7"_s);
    EXPECT_EQ(service.job.title, u"Equipment Detail Listing"_s);
    EXPECT_EQ(service.job.copies, 2);
    EXPECT_TRUE(service.handed.startsWith("%PDF-1.4"));
    EXPECT_EQ(service.handed.count("/MediaBox"), 3);
    EXPECT_FALSE(QFile::exists(service.file)) << "the file handed over is not left behind";

    service.refusal = u"Destination \"Office\" is not accepting jobs."_s;
    EXPECT_FALSE(printPages(service, pages, {u"Listing"_s, {}, 1}, &error));
    EXPECT_EQ(error, service.refusal);

    EXPECT_FALSE(printPages(service, PageList(), {u"Listing"_s, {}, 1}, &error));
}

// Against a CUPS server of the test's own with cups-pdf queues: what the
// service says is what happened.
class CupsPrintServiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!cups.unavailable().isEmpty())
            GTEST_SKIP() << "no CUPS server for the test: " << cups.unavailable().toStdString();
        addPages(pages, 2);
    }

    qaveq::testing::LocalCupsServer cups;
    PageList pages;
    CupsPrintService service;
    QString error;
};

TEST_F(CupsPrintServiceTest, TheDefaultQueueOrTheNamedOneTakesTheJobUnderTheReportTitle)
{
    EXPECT_TRUE(service.defaultQueue().isEmpty()) << "no queue yet, so no default";
    EXPECT_FALSE(printPages(service, pages, {u"Listing"_s, {}, 1}, &error));
    EXPECT_TRUE(error.contains(u"No default print queue"_s)) << error.toStdString();

    ASSERT_TRUE(cups.addQueue(u"Yard"_s, true));
    ASSERT_TRUE(cups.addQueue(u"Office"_s, false));
    EXPECT_EQ(service.defaultQueue(), u"Yard"_s);

    std::optional<PrintReceipt> receipt =
        printPages(service, pages, {u"Equipment Detail Listing"_s, {}, 1}, &error);
    ASSERT_TRUE(receipt) << error.toStdString();
    EXPECT_EQ(receipt->queue, u"Yard"_s);
    EXPECT_GT(receipt->jobId, 0);
    EXPECT_TRUE(receipt->warning.isEmpty());

    receipt = printPages(service, pages, {u"Maintenance Schedule"_s, u"Office"_s, 3}, &error);
    ASSERT_TRUE(receipt) << error.toStdString();
    EXPECT_EQ(receipt->queue, u"Office"_s);
    EXPECT_EQ(cups.jobTitles(u"Yard"_s), QStringList{u"Equipment Detail Listing"_s});
    EXPECT_EQ(cups.jobTitles(u"Office"_s), QStringList{u"Maintenance Schedule"_s});
}

TEST_F(CupsPrintServiceTest, ARefusingMissingOrStoppedQueueIsSaid)
{
    ASSERT_TRUE(cups.addQueue(u"Yard"_s, true));

    EXPECT_FALSE(printPages(service, pages, {u"Listing"_s, u"Nowhere"_s, 1}, &error));
    EXPECT_EQ(error, u"There is no print queue \"Nowhere\"."_s);

    ASSERT_TRUE(cups.tool(u"cupsreject"_s, {u"-r"_s, u"toner change"_s, u"Yard"_s}));
    EXPECT_FALSE(printPages(service, pages, {u"Listing"_s, {}, 1}, &error));
    EXPECT_TRUE(error.startsWith(u"The print queue \"Yard\" did not accept the job: "_s))
        << error.toStdString();
    EXPECT_TRUE(error.contains(u"not accepting jobs"_s)) << error.toStdString();
    EXPECT_TRUE(cups.jobTitles(u"Yard"_s).isEmpty());

    // A stopped queue takes the job and holds it: accepted, with a warning.
    ASSERT_TRUE(cups.tool(u"cupsaccept"_s, {u"Yard"_s}));
    ASSERT_TRUE(cups.tool(u"cupsdisable"_s, {u"-r"_s, u"paper jam"_s, u"Yard"_s}));
    const std::optional<PrintReceipt> receipt =
        printPages(service, pages, {u"Listing"_s, {}, 1}, &error);
    ASSERT_TRUE(receipt) << error.toStdString();
    EXPECT_TRUE(receipt->warning.contains(u"\"Yard\" is stopped;"_s))
        << receipt->warning.toStdString();
}

TEST(CupsPrintServiceUnreachableTest, AServiceThatCannotBeReachedIsAnErrorNotAPrint)
{
    // Nothing listens on port 1 of the loopback address.
    cupsSetServer("127.0.0.1:1");
    PageList pages;
    addPages(pages, 1);
    CupsPrintService service;
    QString error;
    EXPECT_TRUE(service.defaultQueue().isEmpty());
    EXPECT_FALSE(printPages(service, pages, {u"Listing"_s, u"Office"_s, 1}, &error));
    EXPECT_EQ(error, u"The print service at 127.0.0.1:1 cannot be reached."_s);
    cupsSetServer(nullptr);
}
