#include "testing/ReportTesting.h"

#include "logs/LogProofReport.h"
#include "records/EQBatch.h"

#include "core/testing/QtPrinters.h"

using namespace Qt::StringLiterals;
using namespace qaveq;

namespace {

Decimal number(const char16_t *text)
{
    return Decimal::parse(QStringView(text)).value();
}

class LogProofReportTest : public qaveq::testing::ReportRunTest
{
protected:
    void SetUp() override
    {
        ReportRunTest::SetUp();
        for (const auto &[id, description] :
             {std::pair{u"EXC-1"_s, u"Excavator"_s}, std::pair{u"TRK-1"_s, u"Dump truck"_s}}) {
            EQHeader e;
            e.EquipmentID = id;
            e.Description = description;
            e.InternalBillingRate = number(u"50");
            e.RentalBillingRate = number(u"80");
            ASSERT_TRUE(company.file<EQHeader>().insert(e).isOk());
        }
        for (quint16 id : {1, 2}) {
            EQBatch batch;
            batch.BatchID = id;
            batch.Description = u"Week %1"_s.arg(id);
            batch.SortID = id;
            ASSERT_TRUE(company.file<EQBatch>().insert(batch).isOk());
        }
    }

    void addLog(quint16 batch, const QString &equipment, int day, const char16_t *units,
                const char16_t *net)
    {
        EQLogB log;
        log.BatchID = quint16(batch);
        log.EquipmentID = equipment;
        log.Date = SuiteDate::fromYmd(2026, 11, day);
        log.Units = number(units);
        log.EndMeter = number(u"500");
        log.ChargeType = u"I"_s;
        log.GrossAmount = number(net);
        log.AdjustedAmount = number(net);
        ASSERT_TRUE(company.file<EQLogB>().insert(log).isOk());
    }

    EQLimits definition() const
    {
        EQLimits d;
        d.LimitID = 4;
        d.Report = u"Log Proof Listing"_s;
        d.ReportTitle = u"Proof"_s;
        return d;
    }

    // The export lines after the heading lines.
    QStringList bodyOf(const EQLimits &d, QList<quint16> batches)
    {
        LogProofReport report(company, d, std::move(batches));
        devices.pressExport = true;
        ReportRun(report, services()).run();
        QStringList lines = devices.exports.value(0).mid(4);
        const qsizetype parameters = lines.indexOf(QString());
        return parameters < 0 ? lines : lines.mid(0, parameters);
    }

    static QString totals(const QString &label, const QString &units, const QString &net)
    {
        return u"\t\t"_s + label + u'\t' + units + u'\t' + net;
    }
};

} // namespace

TEST(LogProofFiguresTest, ReadingsRateAndTexts)
{
    EQHeader equipment;
    equipment.InternalBillingRate = number(u"50");
    equipment.RentalBillingRate = number(u"80");
    EQLogB log;
    log.EndMeter = number(u"120");
    log.Units = number(u"20");
    log.GrossAmount = number(u"1000");
    log.AdjustedAmount = number(u"950");
    log.EmployeeID = 1234567;
    log.JobID = u"J-100"_s;
    log.CostCode = u"01-200"_s;
    log.ChangeOrder = u"CO-7"_s;
    const struct
    {
        QString chargeType;
        Decimal rate;
    } rows[] = {{u"I"_s, number(u"50")}, {u"R"_s, number(u"80")}, {u" "_s, number(u"65")}};
    for (const auto &row : rows) {
        log.ChargeType = row.chargeType;
        const LogProofReport::Figures f =
            LogProofReport::figures(log, equipment, u"Featherstonehaugh"_s, number(u"65"));
        EXPECT_EQ(f.start, number(u"100"));
        EXPECT_EQ(f.end, number(u"120"));
        EXPECT_EQ(f.total, number(u"20"));
        EXPECT_EQ(f.rate, row.rate);
        EXPECT_EQ(f.adjustment, number(u"-50"));
        EXPECT_EQ(f.employee, u"1234567 Featherstoneha"_s); // 22 characters
        EXPECT_EQ(f.job, u"Job: J-100 01-200 CO-7"_s);
    }
    log.JobID.clear();
    EXPECT_TRUE(LogProofReport::figures(log, equipment, {}, {}).job.isEmpty());
}

TEST_F(LogProofReportTest, NoBatchTaggedPrintsAnEmptyBatchFooter)
{
    addLog(1, u"EXC-1"_s, 2, u"8", u"400");
    EXPECT_EQ(bodyOf(definition(), {}), QStringList{totals({}, u"0.00"_s, u"0.00"_s)});
}

TEST_F(LogProofReportTest, TwoBatchesWithTheSameEquipmentKeepTheirOwnTotals)
{
    addLog(2, u"EXC-1"_s, 5, u"3", u"150");
    addLog(1, u"TRK-1"_s, 3, u"2", u"100");
    addLog(1, u"EXC-1"_s, 4, u"4", u"200");
    addLog(1, u"EXC-1"_s, 2, u"8", u"400");
    const QStringList body = bodyOf(definition(), {2, 1});
    QStringList shape;
    for (const QString &line : body)
        shape.append(line.section(u'\t', 0, 1));
    // By batch, then equipment, then date, whatever the tag order.
    EXPECT_EQ(shape,
              (QStringList{u"Batch 1 - Week 1"_s, u"EXC-1\t11/02/26"_s, u"EXC-1\t11/04/26"_s,
                           u"\t"_s, u"TRK-1\t11/03/26"_s, u"\t"_s, u"\t"_s, u"Batch 2 - Week 2"_s,
                           u"EXC-1\t11/05/26"_s, u"\t"_s, u"\t"_s, u"\t"_s}));
    EXPECT_EQ(body.at(3), totals(u"Equipment Totals:"_s, u"12.00"_s, u"600.00"_s));
    EXPECT_EQ(body.at(5), totals(u"Equipment Totals:"_s, u"2.00"_s, u"100.00"_s));
    EXPECT_EQ(body.at(6), totals(u"Batch 1 Totals:"_s, u"14.00"_s, u"700.00"_s));
    EXPECT_EQ(body.at(9), totals(u"Equipment Totals:"_s, u"3.00"_s, u"150.00"_s));
    EXPECT_EQ(body.at(10), totals(u"Batch 2 Totals:"_s, u"3.00"_s, u"150.00"_s));
    EXPECT_EQ(body.at(11), totals(u"Grand Totals:"_s, u"17.00"_s, u"850.00"_s));
}

TEST_F(LogProofReportTest, RangesLeaveLogsOutOfEveryTotal)
{
    addLog(1, u"EXC-1"_s, 2, u"8", u"400");
    addLog(1, u"EXC-1"_s, 9, u"1", u"50");
    addLog(1, u"TRK-1"_s, 3, u"2", u"100");
    EQLimits d = definition();
    d.SelectedDates = 1;
    d.DateFrom = SuiteDate::fromYmd(2026, 11, 1);
    d.DateTo = SuiteDate::fromYmd(2026, 11, 5);
    d.SelectedEquipment = 1;
    d.EquipmentFrom = d.EquipmentTo = u"EXC-1"_s;
    const QStringList body = bodyOf(d, {1});
    ASSERT_EQ(body.size(), 4);
    EXPECT_EQ(body.at(2), totals(u"Equipment Totals:"_s, u"8.00"_s, u"400.00"_s));
    EXPECT_EQ(body.at(3), totals(u"Batch 1 Totals:"_s, u"8.00"_s, u"400.00"_s));
}

TEST_F(LogProofReportTest, DetailExportCarriesEveryLabelledValue)
{
    addLog(1, u"EXC-1"_s, 2, u"20", u"1000");
    const QStringList body = bodyOf(definition(), {1});
    ASSERT_GE(body.size(), 2);
    EXPECT_EQ(body.at(1), u"EXC-1\t11/02/26\t20.00\t1,000.00\t\t\tExcavator\t\t1,000.00\t0.00\t\t\t"
                          u"50.00\t480.00\t500.00"_s);
    EXPECT_EQ(devices.pdfs.size(), 0);
}
