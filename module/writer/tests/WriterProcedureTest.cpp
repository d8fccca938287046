#include "writer/WriterProcedure.h"
#include "testing/ReportTesting.h"

#include "demo/DemoCompany.h"
#include "records/EQCode.h"
#include "records/EQHeader.h"
#include "records/EQLog.h"

#include "output/ReportRun.h"

#include "runtime/writer/ReportDocument.h"

#include "core/OutputFile.h"
#include "core/Picture.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace qaveq;
using qaveq::testing::ReportRunTest;

namespace {

// The usage-log catalogue as the report writer has always been given it.
const QString UsageLogCatalogue =
    uR"(@ProcessedFiles|1|0|PrintUsageLogFM||'EQLog'|2|-1|EQLog||Equipment ID|5|2|EQL:EquipmentID|@s10|Type|5|2|EQL:Type|@s1|Date|5|2|EQL:Date|@d17|Start Meter|5|2|EQL:StartMeter|@n-21.2|End Meter|5|2|EQL:EndMeter|@n-21.2|Units|5|2|EQL:Units|@n-21.2|Charge Type|5|2|EQL:ChargeType|@s1|Gross Amount|5|2|EQL:GrossAmount|@n-21.2|Adjusted Amount|5|2|EQL:AdjustedAmount|@n-21.2|Detail Type|5|2|EQL:DetailType|@s11|GLA ccount|5|2|EQL:GLAccount|@s12|Job ID|5|2|EQL:JobID|@s10|Cost Code|5|2|EQL:CostCode|@s14|Category|5|2|EQL:Category|@s10|Comments|5|2|EQL:Comments|@s20|Employee ID|5|2|EQL:EmployeeID|@n13|Location|5|2|EQL:Location|@s5|Posted|5|2|EQL:Posted|@n3|Journal No|5|2|EQL:JournalNumber|@n7|Equipment IDC harged|5|2|EQL:EquipmentIDCharged|@s10|'EQHeader'|3|-2|EQHeader||Equipment ID|5|3|EQH:EquipmentID|@s10|Description|5|3|EQH:Description|@s40|Class Code|5|3|EQH:ClassCode|@s30|@Others|1|0| ||@Data|2|-1| ||Company Name|5|2|CompanyName|@s50|)"_s;

TEST(WriterCataloguesTest, TextsOfTheFiveTypes)
{
    EXPECT_EQ(writerReportType(u"PrintUsageLogFM")->catalogueText(), UsageLogCatalogue);
    EXPECT_EQ(writerReportType(u"PrintEQCategoryFM")->catalogueText(),
              u"@ProcessedFiles|1|0|PrintEQCategoryFM||'EQCode'|2|-1|EQCode||Category ID|5|2|"
              "EQD:CategoryID|@s10|Description|5|2|EQD:Description|@s30|Default Expense "
              "Control|5|2|EQD:DefaultExpenseControl|@s12|Default Contra Expense Control|5|2|"
              "EQD:DefaultContraExpenseControl|@s12|Default Unit|5|2|EQD:DefaultUnit|@s5|@Others|"
              "1|0| ||@Data|2|-1| ||Company Name|5|2|CompanyName|@s50|"_s);

    // The label rule and its exceptions, and the files' levels and parents.
    const writer::Catalogue detail = writerReportType(u"PrintEquipmentDetailFM")->catalogue();
    ASSERT_EQ(detail.files().size(), 3);
    EXPECT_EQ(detail.files().at(1).name, u"EQCost");
    EXPECT_EQ(detail.files().at(1).level, 4);
    EXPECT_EQ(detail.files().at(2).parent, -3);
    EXPECT_EQ(detail.files().at(0).fields.size(), 53);
    EXPECT_EQ(detail.files().at(2).fields.size(), 46);
    EXPECT_EQ(detail.field(u"EQH:CumulativeNonProductiveUnits")->label,
              u"Cumulative Non Productive Units");
    EXPECT_EQ(detail.field(u"EQH:UD10")->label, u"User Defined Field 10");
    EXPECT_EQ(detail.field(u"EQH:VIN")->label, u"VIN");
    EXPECT_EQ(detail.field(u"GLT:APInvoiceID")->label, u"Invoice Number");
    EXPECT_EQ(detail.field(u"GLT:ARInvoiceID")->picture, u"@n_6");
    EXPECT_EQ(detail.field(u"GLT:PRTransIID")->label, u"PRT rans IID");
    EXPECT_EQ(detail.field(u"GLT:VendorID")->label, u"Vendor ID Number");
    EXPECT_EQ(detail.field(u"GLT:PostingTime")->picture, u"@t7");
    EXPECT_EQ(detail.dataItems().value(0).name, u"CompanyName");

    const writer::Catalogue analysis = writerReportType(u"PrintEQAnalysisFM")->catalogue();
    EXPECT_EQ(analysis.file(u"EQCode")->level, 3);
    EXPECT_EQ(analysis.file(u"EQCode")->parent, -3);
    EXPECT_EQ(analysis.fileOf(u"EQH:PurchaseValue"), nullptr); // not in the analysis
    EXPECT_EQ(writerReportType(u"PrintEquipmentListFM")->catalogue().files().at(0).fields.size(),
              52);
}

TEST(WriterCataloguesTest, TheDesignerSpeaksOfEveryTypeAndFileInWords)
{
    for (const WriterReportType &type : writerReportTypes()) {
        const writer::Catalogue catalogue = type.catalogue();
        EXPECT_NE(catalogue.title(type.procedure), type.procedure);
        for (const writer::CatalogueFile &file : catalogue.files())
            EXPECT_NE(catalogue.title(file.name), file.name) << file.name.toStdString();
    }
    const writer::Catalogue listing = writerReportType(u"PrintEquipmentListFM")->catalogue();
    EXPECT_EQ(listing.title(u"PrintEquipmentListFM"_s), u"Equipment Listing");
    EXPECT_EQ(writer::bandCaption({writer::BandKind::Detail, u"EQHeader"_s, {}, 240, {}}, listing),
              u"Detail (Equipment)");
}

// Scripted windows: the printer dialog's answer, the runs and the designs
// asked for.
class ScriptedWriterDevices final : public WriterDevices
{
public:
    explicit ScriptedWriterDevices(ReportRun::Services services)
        : m_services(std::move(services))
    {}

    bool printDialogAnswer = true;
    int printDialogs = 0;
    int runs = 0;
    QList<writer::ReportDocument> designed;
    QStringList designedPaths;

    bool printDialog(writer::PrinterSettings &) override
    {
        ++printDialogs;
        return printDialogAnswer;
    }
    void run(ReportPass &pass) override
    {
        ++runs;
        ReportRun(pass, m_services).run();
    }
    void design(const WriterReportType &, writer::ReportDocument document,
                const QString &path) override
    {
        designed.append(std::move(document));
        designedPaths.append(path);
    }

private:
    ReportRun::Services m_services;
};

class WriterProcedureTest : public ReportRunTest
{
protected:
    QTemporaryDir folder;
    std::optional<ScriptedWriterDevices> writerDevices;

    void SetUp() override
    {
        ReportRunTest::SetUp();
        writerDevices.emplace(services());
    }

    data::Response run(const QString &procedure)
    {
        return WriterProcedure(*writerReportType(procedure), session, prompter, *writerDevices,
                               WriterStrings())
            .run();
    }

    QString saved(writer::ReportDocument document, const QString &name)
    {
        const QString path = folder.filePath(name);
        QString error;
        EXPECT_TRUE(document.save(path, &error)) << error.toStdString();
        return path;
    }

    writer::ReportDocument starter(const QString &procedure)
    {
        QString error;
        std::optional<writer::ReportDocument> document =
            writer::ReportDocument::load(writerReportType(procedure)->starterFile(), &error);
        EXPECT_TRUE(document.has_value()) << error.toStdString();
        return document.value_or(writer::ReportDocument());
    }
};

TEST_F(WriterProcedureTest, AReportOfAnotherTypeIsRefusedNamingBothTypes)
{
    session.reportWriter.searchPath = folder.path(); // no "/" at its end
    session.reportWriter.fileName = u"categories.qvr"_s;
    saved(starter(u"PrintEQCategoryFM"_s), u"categories.qvr"_s);
    EXPECT_EQ(run(u"PrintUsageLogFM"_s), data::Response::Cancelled);
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_EQ(prompter.shown().at(0).caption, u"Different report type");
    EXPECT_EQ(prompter.shown().at(0).text,
              folder.filePath(u"categories.qvr"_s) +
                  u" File contain report of type \"PrintEQCategoryFM\". Required report type: "
                  "\"PrintUsageLogFM\"!"_s);
    EXPECT_EQ(writerDevices->runs, 0);
}

TEST_F(WriterProcedureTest, ABlankNameInDesignModeOpensANewReportOfTheType)
{
    session.reportWriter.editAction = 1;
    session.reportWriter.searchPath = folder.path();
    EXPECT_EQ(run(u"PrintEquipmentListFM"_s), data::Response::Completed);
    EXPECT_EQ(session.reportWriter.editAction, 0);
    EXPECT_EQ(session.reportWriter.libLanguage, u"English");
    ASSERT_EQ(writerDevices->designed.size(), 1);
    EXPECT_EQ(writerDevices->designed.at(0).name, u"New report");
    EXPECT_EQ(writerDevices->designed.at(0).type, u"PrintEquipmentListFM");
    EXPECT_TRUE(writerDevices->designed.at(0)
                    .check(writerReportType(u"PrintEquipmentListFM")->catalogue())
                    .isEmpty());
    EXPECT_FALSE(session.reportWriter.designerOpen);

    // A second request while a designer is open is ignored.
    session.reportWriter.designerOpen = true;
    session.reportWriter.editAction = 1;
    run(u"PrintEquipmentListFM"_s);
    EXPECT_EQ(writerDevices->designed.size(), 1);
    EXPECT_TRUE(prompter.shown().isEmpty());
}

TEST_F(WriterProcedureTest, SavedPrinterSettingsStandForThePrinterDialog)
{
    writer::ReportDocument document = starter(u"PrintEQCategoryFM"_s);
    document.printer.askBeforeRun = true;
    session.reportWriter.fileName = saved(document, u"asks.qvr"_s);
    EQCode category;
    category.CategoryID = u"FUEL"_s;
    category.Description = u"Fuel"_s;
    ASSERT_TRUE(company.file<EQCode>().insert(category));

    session.reportWriter.useSavedDevMode = true;
    EXPECT_EQ(run(u"PrintEQCategoryFM"_s), data::Response::Completed);
    EXPECT_EQ(writerDevices->printDialogs, 0);
    EXPECT_EQ(devices.pagesPreviewed, 1);

    // Without them the dialog asks; cancelled, nothing runs.
    session.reportWriter.useSavedDevMode = false;
    writerDevices->printDialogAnswer = false;
    EXPECT_EQ(run(u"PrintEQCategoryFM"_s), data::Response::Cancelled);
    EXPECT_EQ(writerDevices->printDialogs, 1);
    EXPECT_EQ(writerDevices->runs, 1);
}

TEST_F(WriterProcedureTest, NoRecordsIsSaidOnce)
{
    session.reportWriter.fileName = writerReportType(u"PrintUsageLogFM")->starterFile();
    EXPECT_EQ(run(u"PrintUsageLogFM"_s), data::Response::Cancelled);
    ASSERT_EQ(prompter.shown().size(), 1) << "no \"Nothing to Preview.\" after it";
    EXPECT_EQ(prompter.shown().at(0).caption, u"Report");
    EXPECT_EQ(prompter.shown().at(0).text, u"Usage Log History||No records found!");
    EXPECT_EQ(devices.pagesPreviewed, 0);
}

TEST_F(WriterProcedureTest, DamagedFilesGiveAMessageAndNoRun)
{
    const QString path = folder.filePath(u"bad.qvr"_s);
    const QList<QByteArray> contents{
        "not a report",
        R"({"format":"qaveq-report","version":7,"type":"PrintUsageLogFM"})",
        R"({"format":"qaveq-report","version":1,"type":"PrintUsageLogFM","bands":[{"kind":"detail","file":"EQLog","objects":[{"type":"field","field":"EQL:Units; DROP TABLE EQLog"}]}]})",
        R"({"format":"qaveq-report","version":1,"type":"PrintUsageLogFM","bands":[{"kind":"detail","file":"EQLog","objects":[{"type":"field","field":"EQL:Nothing"}]}]})",
        R"({"format":"qaveq-report","version":1,"type":"PrintUsageLogFM","bands":[{"kind":"detail","file":"GLTrans"}]})",
        R"({"format":"qaveq-report","version":1,"type":"PrintUsageLogFM","bands":[{"kind":"detail","height":1e300}]})",
    };
    session.reportWriter.fileName = path;
    for (const QByteArray &content : contents) {
        ASSERT_TRUE(OutputFile::write(path, content).isEmpty());
        const qsizetype before = prompter.shown().size();
        EXPECT_EQ(run(u"PrintUsageLogFM"_s), data::Response::Cancelled) << content.constData();
        ASSERT_EQ(prompter.shown().size(), before + 1) << content.constData();
        EXPECT_TRUE(prompter.shown().last().text.contains(path)) << content.constData();
    }
    EXPECT_TRUE(prompter.shown().last().text.contains(u"height"_s));
    EXPECT_EQ(writerDevices->runs, 0);
}

TEST(WriterFileNameTest, SearchPathAndName)
{
    EXPECT_EQ(WriterProcedure::reportFileName(u"/srv/reports"_s, u"a.qvr"_s),
              u"/srv/reports/a.qvr");
    EXPECT_EQ(WriterProcedure::reportFileName(u"/srv/reports/"_s, u"a.qvr "_s),
              u"/srv/reports/a.qvr");
    EXPECT_EQ(WriterProcedure::reportFileName(u""_s, u"a.qvr"_s), u"a.qvr");
    EXPECT_EQ(WriterProcedure::reportFileName(u"/srv"_s, u""_s), u"");
    // Never cut short, however long.
    const QString longFolder = u"/srv/"_s + QString(200, u'r');
    EXPECT_EQ(WriterProcedure::reportFileName(longFolder, u"a.qvr"_s), longFolder + u"/a.qvr"_s);
}

// The starter usage-log report over the demonstration company: each
// equipment's footer carries the count and sums of its own posted logs.
TEST_F(WriterProcedureTest, GroupTotalsAgreeWithTheRecords)
{
    DemoCompany(company, clock).build();
    struct Sums
    {
        qint64 count = 0;
        Decimal units, gross, adjusted;
    };
    std::map<QString, Sums> expected;
    data::KeyCursor logs = company.file<EQLog>().scan(u"KeyEquipmentID");
    EQLog log;
    Sums all;
    while (logs.next(log)) {
        for (Sums *sums : {&expected[log.EquipmentID], &all}) {
            ++sums->count;
            sums->units += log.Units;
            sums->gross += log.GrossAmount;
            sums->adjusted += log.AdjustedAmount;
        }
    }
    ASSERT_GT(expected.size(), 5u);

    session.reportWriter.fileName = writerReportType(u"PrintUsageLogFM")->starterFile();
    EXPECT_EQ(run(u"PrintUsageLogFM"_s), data::Response::Completed);
    EXPECT_GT(devices.pagesPreviewed, 10);

    // The same report's bands as text, one line a band.
    const WriterReportType &type = *writerReportType(u"PrintUsageLogFM");
    const writer::Catalogue catalogue = type.catalogue();
    const writer::ReportDocument document = starter(u"PrintUsageLogFM"_s);
    report::PageList pages;
    report::ExportSpool spool;
    writer::ReportProcessor processor(document, catalogue, type.plan,
                                      {company, u"Demo"_s, u"ADM"_s, {}, true});
    report::ReportEngine engine(document.page, pages, spool);
    ASSERT_TRUE(processor.open());
    while (processor.next(engine, 25)) {
    }
    EXPECT_TRUE(processor.error().isEmpty());
    const QStringList lines = spool.lines();

    const Picture money = Picture::parse(u"@n-21.2");
    QStringList footers;
    for (const QString &line : lines)
        if (line.contains(u"totals for the equipment"_s))
            footers.append(line);
    QStringList wanted;
    for (const auto &[id, sums] : expected)
        wanted.append(QStringList{Picture::parse(u"@n-12").format(sums.count),
                                  u"logs; totals for the equipment"_s, money.format(sums.units),
                                  money.format(sums.gross), money.format(sums.adjusted)}
                          .join(u'\t'));
    EXPECT_EQ(footers, wanted);
    // Each group's header shows its own equipment's record, read again
    // whenever the equipment changes.
    QStringList headers;
    QStringList wantedHeaders;
    for (const QString &line : lines)
        if (const QStringList cells = line.split(u'\t');
            cells.size() == 3 && expected.count(cells.at(0)))
            headers.append(line);
    for (const auto &[id, sums] : expected) {
        EQHeader equipment;
        equipment.EquipmentID = id;
        ASSERT_TRUE(company.file<EQHeader>().fetch(u"KeyEquipmentID", equipment).isOk());
        wantedHeaders.append(
            QStringList{id, equipment.Description.trimmed(), equipment.ClassCode.trimmed()}.join(
                u'\t'));
    }
    EXPECT_EQ(headers, wantedHeaders);
    // Counts are shown with their thousands grouped.
    const QString reportTotals = QStringList{u"Report totals"_s,
                                             Picture::parse(u"@n-12").format(all.count),
                                             u"logs"_s,
                                             money.format(all.units),
                                             money.format(all.gross),
                                             money.format(all.adjusted)}
                                     .join(u'\t');
    EXPECT_TRUE(lines.contains(reportTotals)) << reportTotals.toStdString();
    // The run through the preview keeps no text copy of its bands.
    EXPECT_EQ(session.rxQueue.size(), 3);
}

} // namespace
