#include "testing/ReportTesting.h"

#include "records/EQCode.h"
#include "records/EQCost.h"
#include "records/Notes.h"
#include "reports/EquipmentDetailReport.h"

#include "data/suite/AccountsFiles.h"
#include "data/suite/PayrollFiles.h"

#include "core/testing/QtPrinters.h"

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

Decimal money(const char16_t *text)
{
    return Decimal::parse(QStringView(text)).value();
}

class EquipmentDetailReportTest : public qaveq::testing::ReportRunTest
{
protected:
    void SetUp() override
    {
        ReportRunTest::SetUp();
        addEquipment(u"TRK-1"_s, u"Dump truck"_s);
        addEquipment(u"TRK-2"_s, u"Pickup"_s);
        addCategory(u"TRK-1"_s, u"FUEL"_s, u"Fuel and oil"_s);
        addCategory(u"TRK-1"_s, u"TIRES"_s, {}); // not in the dictionary
    }

    void addEquipment(const QString &id, const QString &description)
    {
        EQHeader e;
        e.EquipmentID = id;
        e.Description = description;
        e.BillingUnit = u"HR"_s;
        ASSERT_TRUE(company.file<EQHeader>().insert(e).isOk());
    }

    void addCategory(const QString &equipment, const QString &category, const QString &described)
    {
        if (!described.isEmpty()) {
            EQCode code;
            code.CategoryID = category;
            code.Description = described;
            ASSERT_TRUE(company.file<EQCode>().insert(code).isOk());
        }
        EQCost cost;
        cost.RecordID = equipment.leftJustified(10) + category;
        cost.EquipmentID = equipment;
        cost.CostCategory = category;
        cost.UnitName = u"GAL"_s;
        ASSERT_TRUE(company.file<EQCost>().insert(cost).isOk());
    }

    GLTrans &add(const QString &equipment, const QString &code, const char *creditDebit,
                 const char16_t *amount, int period = 3, const QString &journal = u"G/J"_s)
    {
        GLTrans t;
        t.JournalID = journal;
        t.JournalNo = 40 + int(m_added.size());
        t.LineNo = 2;
        t.FiscalPeriod = period;
        t.TransDate = SuiteDate::fromYmd(2026, 3, 10 + int(m_added.size()));
        t.CreditDebit = QString::fromLatin1(creditDebit);
        t.Amount = money(amount);
        t.SubsidiaryQuantity = money(u"2");
        t.SubsidiaryCode = equipment.leftJustified(10) + code;
        t.EquipmentID = equipment;
        t.Description = u"Line %1"_s.arg(m_added.size() + 1);
        EXPECT_TRUE(company.file<GLTrans>().insert(t).isOk());
        m_added.append(t);
        return m_added.last();
    }

    EQLimits definition() const
    {
        EQLimits d;
        d.LimitID = 1;
        d.Report = u"Detail"_s;
        d.ReportTitle = u"Trucks"_s;
        d.SelectedRef = 1;       // internal income
        d.RefFrom = money(u"1"); // rental income
        d.ColorCoding = 1;       // cost categories
        d.PrintTransactionDetail = 1;
        d.IncludeInactive = 1;
        return d;
    }

    QStringList exportOf(const EQLimits &d)
    {
        EquipmentDetailReport report(company, d, SuiteDate::fromYmd(2026, 12, 9));
        devices.pressExport = true;
        ReportRun(report, services()).run();
        return devices.exports.value(0);
    }

    QList<GLTrans> m_added;
};

QString totalLine(const QString &code, const QString &amount)
{
    return QString(7, u'\t') + code + u" Total:\t"_s + amount;
}

QStringList equipmentTotals(const QString &income, const QString &cost, const QString &net)
{
    return {QString(7, u'\t') + u"Total Income:\t"_s + income,
            QString(6, u'\t') + u"Equipment Totals\t(less) Total Costs:\t"_s + cost,
            QString(7, u'\t') + u"Net:\t"_s + net};
}

} // namespace

TEST(DetailListingTextsTest, SectionLineByTheSectionsIncluded)
{
    const struct
    {
        bool categories, internal, rental;
        QString line;
    } rows[] = {
        {true, false, false, u"Includes Cost Categories Only"_s},
        {false, true, false, u"Includes Internal Income (.I) Only"_s},
        {false, false, true, u"Includes Rental Income (.R) Only"_s},
        {true, true, false, u"Includes Cost Categories and Internal Income (.I)"_s},
        {true, false, true, u"Includes Cost Categories and Rental Income (.R)"_s},
        {true, true, true,
         u"Includes Cost Categories, Internal Income (.I) and Rental Income (.R)"_s},
    };
    for (const auto &row : rows) {
        EQLimits d;
        d.ColorCoding = row.categories ? 1 : 0;
        d.SelectedRef = row.internal ? 1 : 0;
        d.RefFrom = row.rental ? Decimal(1) : Decimal();
        EXPECT_EQ(DetailListing::sectionsLine(d), row.line);
    }
}

TEST(DetailListingTextsTest, JournalIdWithoutLeadingZerosOrTrailingBlanks)
{
    GLTrans t;
    t.JournalID = u"P/R"_s;
    t.JournalNo = 1234;
    t.LineNo = 7;
    EXPECT_EQ(DetailListing::journalIdText(t), u"P/R 1234-7"_s);
    t.JournalID = u"GJ "_s;
    t.JournalNo = 1234567;
    t.LineNo = 1234;
    EXPECT_EQ(DetailListing::journalIdText(t), u"GJ 1234567-1234"_s);
    t.JournalNo = 0; // numbers as they stand, whatever their sign
    t.LineNo = -3;
    EXPECT_EQ(DetailListing::journalIdText(t), u"GJ 0--3"_s);
    t.JournalNo = std::numeric_limits<qint32>::min();
    t.LineNo = 12;
    EXPECT_EQ(DetailListing::journalIdText(t), u"GJ -2147483648-12"_s.left(15));
}

TEST_F(EquipmentDetailReportTest, DescriptionsByJournal)
{
    APVendor vendor;
    vendor.VendorID = u"V100"_s;
    vendor.Name = u"Northern Fuel Supply Company"_s;
    ASSERT_TRUE(company.file<APVendor>().insert(vendor).isOk());
    APInvoice unnumbered, numbered;
    ASSERT_TRUE(company.file<APInvoice>().insert(unnumbered).isOk());
    numbered.InvoiceNumber = u"A-77"_s;
    ASSERT_TRUE(company.file<APInvoice>().insert(numbered).isOk());
    ARCustomer customer;
    customer.CustomerID = u"C9"_s;
    customer.Name = u"City of Elm"_s;
    ASSERT_TRUE(company.file<ARCustomer>().insert(customer).isOk());
    ARBilling billing;
    billing.BillingNumber = u"B-5"_s;
    ASSERT_TRUE(company.file<ARBilling>().insert(billing).isOk());
    PREmp employee;
    employee.EmployeeID = 12;
    employee.FirstName = u"Maria"_s;
    employee.LastName = u"Lopez"_s;
    ASSERT_TRUE(company.file<PREmp>().insert(employee).isOk());

    const struct
    {
        QString journal, vendor, customer;
        qint32 invoice, billing, employee;
        QString description, expected;
    } rows[] = {
        {u"A/P"_s,
         u"V100"_s,
         {},
         unnumbered.InvoiceID,
         0,
         0,
         u"Diesel"_s,
         u"(V100) Northern Fuel (Unnumbered Invoice) - Diesel"_s},
        {u"A/P"_s,
         u"V100"_s,
         {},
         numbered.InvoiceID,
         0,
         0,
         {},
         u"(V100) Northern Fuel (Inv#A-77)"_s},
        // A vendor or invoice not on file leaves its part out.
        {u"A/P"_s, u"GONE"_s, {}, 999, 0, 0, u"Diesel"_s, u"Diesel"_s},
        // Lines of one invoice come together; a line of another reads it afresh.
        {u"A/P"_s, {}, {}, numbered.InvoiceID, 0, 0, {}, u"(Inv#A-77)"_s},
        {u"A/P"_s, {}, {}, unnumbered.InvoiceID, 0, 0, {}, u"(Unnumbered Invoice)"_s},
        {u"A/R"_s,
         {},
         u"C9"_s,
         0,
         billing.BillingID,
         0,
         u"Rental"_s,
         u"(C9) City of Elm (Bill#B-5) - Rental"_s},
        {u"S/J"_s, {}, u"C9"_s, 0, 0, 0, {}, u"(C9) City of Elm"_s},
        {u"P/R"_s, {}, {}, 0, 0, 12, u"Operator"_s, u"(12) Lopez M - Operator"_s},
        {u"G/J"_s, u"V100"_s, {}, 0, 0, 12, u"Accrual"_s, u"Accrual"_s},
    };
    DetailListing::DescriptionBuilder builder(company);
    for (const auto &row : rows) {
        GLTrans t;
        t.JournalID = row.journal;
        t.VendorID = row.vendor;
        t.CustomerID = row.customer;
        t.APInvoiceID = row.invoice;
        t.ARInvoiceID = row.billing;
        t.EmployeeID = row.employee;
        t.Description = row.description;
        EXPECT_EQ(builder.describe(t), row.expected) << row.journal.toStdString();
    }
}

TEST_F(EquipmentDetailReportTest, SectionsSignsSubtotalsAndTotals)
{
    add(u"TRK-1"_s, u".I"_s, "C", u"300");
    add(u"TRK-1"_s, u".I"_s, "D", u"20"); // an income debit lowers the income
    add(u"TRK-1"_s, u"FUEL"_s, "D", u"100");
    add(u"TRK-1"_s, u"FUEL"_s, "C", u"25"); // a cost credit prints negative
    const QStringList lines = exportOf(definition());
    const QStringList expected =
        QStringList{u"Demonstration Construction Co."_s, u"Equipment Detail Listing"_s, QString(),
                    u"Code\tDescription\tDate\tFPeriod\tJournal ID\tTransaction "
                    "Description\tQuantity\tUnit\tTransaction Amount"_s,
                    u"TRK-1\tDump truck"_s} +
        QStringList{
            u".I\tInternal (Charged) Income\t3/10/26\t3\tG/J 40-2\tLine 1\t2.0000\tHR\t300.00"_s,
            u".I\tInternal (Charged) Income\t3/11/26\t3\tG/J 41-2\tLine 2\t-2.0000\tHR\t-20.00"_s,
            totalLine(u".I"_s, u"280.00"_s),
            totalLine(u".R"_s, u"0.00"_s),
            u"FUEL\tFuel and oil\t3/12/26\t3\tG/J 42-2\tLine 3\t2.0000\tGAL\t100.00"_s,
            u"FUEL\tFuel and oil\t3/13/26\t3\tG/J 43-2\tLine 4\t-2.0000\tGAL\t-25.00"_s,
            totalLine(u"FUEL"_s, u"75.00"_s),
            totalLine(u"TIRES"_s, u"0.00"_s)} +
        equipmentTotals(u"280.00"_s, u"75.00"_s, u"205.00"_s) + QStringList{u"TRK-2\tPickup"_s} +
        QStringList{totalLine(u".I"_s, u"0.00"_s), totalLine(u".R"_s, u"0.00"_s)} +
        equipmentTotals(u"0.00"_s, u"0.00"_s, u"0.00"_s);
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(lines.mid(0, expected.size()), expected);
    EXPECT_TRUE(lines.contains(u"Includes Cost Categories, Internal Income (.I) and Rental Income "
                               "(.R)"_s));
}

TEST_F(EquipmentDetailReportTest, SkippingEquipmentWithoutDetailPrintsNothingOfIt)
{
    add(u"TRK-1"_s, u"FUEL"_s, "D", u"100", 3);
    add(u"TRK-2"_s, u".I"_s, "C", u"50", 8); // outside the periods
    EQLimits d = definition();
    d.SkipEquipment = 1;
    d.PrintTransactionDetail = 0;
    d.SelectedFP = 1;
    d.FPFrom = Decimal(1);
    d.FPTo = Decimal(5);
    const QStringList lines = exportOf(d);
    const QStringList body = lines.mid(4, 5);
    const QStringList expected =
        QStringList{u"TRK-1\tDump truck"_s, totalLine(u"FUEL"_s, u"100.00"_s)} +
        equipmentTotals(u"0.00"_s, u"100.00"_s, u"-100.00"_s);
    EXPECT_EQ(body, expected);
    for (const QString &line : lines)
        EXPECT_FALSE(line.startsWith(u"TRK-2"_s)) << line.toStdString();
}

TEST_F(EquipmentDetailReportTest, LimitsOfJournalsDatesPeriodsAndJobs)
{
    add(u"TRK-1"_s, u"FUEL"_s, "D", u"1", 1, u"A/P"_s);
    add(u"TRK-1"_s, u"FUEL"_s, "D", u"2", 9999, u"G/J"_s).JobID = u"J-1"_s;
    ASSERT_TRUE(company.file<GLTrans>().update(m_added.last()).isOk());
    add(u"TRK-1"_s, u"FUEL"_s, "D", u"4", 0, u"A/P"_s);
    const auto total = [this](const EQLimits &d) {
        const QStringList lines = exportOf(d);
        devices.exports.clear();
        for (const QString &line : lines)
            if (line.startsWith(totalLine(u"FUEL"_s, {})))
                return line.mid(totalLine(u"FUEL"_s, {}).size());
        return QString();
    };
    EQLimits d = definition();
    d.SelectedEquipment = 1;
    d.EquipmentFrom = d.EquipmentTo = u"TRK-1"_s;
    EXPECT_EQ(total(d), u"7.00"_s);
    // Periods 0 to 0 reach every period from 1 through 9999; period 0 is
    // none of them.
    d.SelectedFP = 1;
    EXPECT_EQ(total(d), u"3.00"_s);
    d.SelectedFP = 0;
    d.SelectedJournals = 1;
    d.JournalType = u"A/P"_s;
    d.JournalFrom = 0;
    d.JournalTo = 41;
    EXPECT_EQ(total(d), u"1.00"_s);
    d.SelectedJournals = 0;
    d.SelectedJobs = 1;
    d.JobFrom = d.JobTo = u"J-1"_s;
    EXPECT_EQ(total(d), u"2.00"_s);
    d.SelectedJobs = 0;
    d.SelectedDates = 1;
    d.DateFrom = SuiteDate::fromYmd(2026, 3, 11);
    d.DateTo = SuiteDate::fromYmd(2026, 3, 12);
    EXPECT_EQ(total(d), u"6.00"_s);
}

TEST_F(EquipmentDetailReportTest, NotesAndJobLinesAndTheView)
{
    GLTrans &t = add(u"TRK-1"_s, u"FUEL"_s, "D", u"10");
    t.JobID = u"J-9"_s;
    t.CostCode = u"100-200"_s;
    ASSERT_TRUE(company.file<GLTrans>().update(t).isOk());
    Notes note;
    note.EntityType = u"GLTrans"_s;
    note.EntityID = QString::number(t.RecordID);
    note.Note = u"Fuel for the bridge job"_s;
    ASSERT_TRUE(company.file<Notes>().insert(note).isOk());

    EQLimits d = definition();
    d.ReportFormat = u"1"_s;
    DetailListing::Walk walk(company, d, SuiteDate::fromYmd(2026, 12, 9));
    DetailListing::Collector collector;
    ASSERT_TRUE(walk.start());
    while (walk.next(collector, 1)) {
    }
    ASSERT_EQ(collector.equipment.size(), 2);
    ASSERT_EQ(collector.equipment.first().lines.size(), 1);
    const DetailListing::Line &line = collector.equipment.first().lines.first();
    EXPECT_EQ(line.note, u"Fuel for the bridge job"_s);
    EXPECT_EQ(line.jobLine, u"J-9 - 100-200"_s);
    EXPECT_EQ(line.recordId, t.RecordID);
    EXPECT_EQ(walk.transactionsRead(), 1);
}

TEST_F(EquipmentDetailReportTest, NothingSelectedIsNothingToPrint)
{
    EQLimits d = definition();
    d.SelectedEquipment = 1;
    d.EquipmentFrom = d.EquipmentTo = u"NONE"_s;
    EquipmentDetailReport report(company, d, SuiteDate::fromYmd(2026, 12, 9));
    ReportRun(report, services()).run();
    EXPECT_EQ(devices.previews, 0);
    ASSERT_FALSE(prompter.shown().isEmpty());
}

TEST_F(EquipmentDetailReportTest, CancelReportAsksAndOnlyYesStopsTheListing)
{
    for (int i = 0; i < 250; ++i)
        add(u"TRK-1"_s, u"FUEL"_s, "D", u"1");
    session.printPreview = false;
    const EQLimits d = definition();
    // Cancel pressed after the first tick, answered in turn by `answers`.
    const auto cancelledAfterOneTick = [&](const QList<int> &answers) {
        EquipmentDetailReport report(company, d, SuiteDate::fromYmd(2026, 12, 9));
        ReportRun run(report, services());
        EXPECT_TRUE(run.start());
        EXPECT_TRUE(run.runSlice());
        EXPECT_EQ(report.recordsRead(), 100) << "a hundred transactions a tick";
        const qsizetype asked = prompter.shown().size();
        for (int answer : answers)
            prompter.answerNext(answer);
        const bool over = run.cancel();
        while (!over && run.runSlice()) {
        }
        const data::Response response = run.finish();
        EXPECT_GT(prompter.shown().size(), asked);
        const Message &question = prompter.shown().at(asked);
        EXPECT_EQ(question.caption, u"CANCEL REPORT");
        EXPECT_EQ(question.text, u"Are you sure you want to CANCEL this Report?NOTE...");
        EXPECT_EQ(question.buttons, u"&Yes|&No");
        return std::pair{response, report.recordsRead()};
    };

    const auto [goneOn, readAll] = cancelledAfterOneTick({2});
    EXPECT_EQ(goneOn, data::Response::Completed);
    EXPECT_EQ(readAll, 250);
    EXPECT_EQ(devices.printed, QList<int>{1});

    const auto [stopped, readPart] = cancelledAfterOneTick({1});
    EXPECT_EQ(stopped, data::Response::Cancelled);
    EXPECT_EQ(readPart, 100);
    EXPECT_EQ(devices.printed, QList<int>{1}) << "nothing printed of the cancelled run";

    // Previewed, what the listing made so far is shown only when the user
    // asks for it; refused, nothing is shown and no PDF is made of it.
    session.printPreview = true;
    const auto [refused, readBefore] = cancelledAfterOneTick({1, 2});
    EXPECT_EQ(refused, data::Response::Cancelled);
    EXPECT_EQ(readBefore, 100);
    EXPECT_EQ(devices.previews, 0);
    EXPECT_TRUE(devices.pdfs.isEmpty());
}
