#include "LogProofReport.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"
#include "records/EQBatch.h"

#include "data/Company.h"
#include "data/suite/PayrollFiles.h"

#include "core/Picture.h"
#include "core/Text.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

QString amount(const Decimal &value)
{
    return Picture::parse(u"@n-19.2").format(value);
}

QString exported(const Decimal &value)
{
    return amount(value).trimmed();
}

// The listing's column groups across a landscape page, in decipoints.
struct Column
{
    qreal left, width;
};
constexpr Column Miscellaneous{0, 1500};
constexpr Column Transaction{1500, 1500};
constexpr Column JobAndAccount{3000, 1700};
// The description ends where the meter readings' labels begin.
constexpr Column Description{4700, 780};
constexpr Column Meter{5800, 700};
constexpr Column Charge{6500, 700};
constexpr qreal Row = 150;

report::Band columnHeadings()
{
    const report::TextStyle bold = ReportBands::font(8, true);
    report::Band band;
    band.height = Row + 60;
    const struct
    {
        Column column;
        QString text;
        int alignment;
    } headings[] = {
        {Miscellaneous, u"Miscellaneous Information"_s, Qt::AlignLeft},
        {Transaction, u"Transaction Information"_s, Qt::AlignLeft},
        {JobAndAccount, u"Job and Account"_s, Qt::AlignLeft},
        {Description, u"Equipment Description"_s, Qt::AlignLeft},
        {Meter, u"Meter Readings"_s, Qt::AlignRight},
        {Charge, u"Amount of Charge"_s, Qt::AlignRight},
    };
    for (const auto &heading : headings)
        band.text(QRectF(heading.column.left, 10, heading.column.width, Row), heading.text, bold,
                  heading.alignment | Qt::AlignVCenter);
    band.line(QPointF(0, Row + 30), QPointF(Charge.left + Charge.width, Row + 30), 5);
    return band;
}

} // namespace

LogProofReport::LogProofReport(data::Company &company, const EQLimits &definition,
                               QList<quint16> batches)
    : ReportPass({.title = u"Proof Listing of Equipment Usage Log"_s,
                  .pdfFileName = u"Log Proof List.pdf"_s,
                  .page = ReportIdentity::paper(true),
                  .primaryFile = &company.file<EQLogB>()})
    , m_company(company)
    , m_definition(definition)
    , m_batches(std::move(batches))
{}

LogProofReport::Figures LogProofReport::figures(const EQLogB &log, const EQHeader &equipment,
                                                const QString &employeeLastName,
                                                const Decimal &previousRate)
{
    Figures f;
    f.end = log.EndMeter;
    f.total = log.Units;
    f.start = log.EndMeter - log.Units;
    if (log.ChargeType == u"I")
        f.rate = equipment.InternalBillingRate;
    else if (log.ChargeType == u"R")
        f.rate = equipment.RentalBillingRate;
    else
        f.rate = previousRate;
    f.adjustment = log.AdjustedAmount - log.GrossAmount;
    f.employee = Text::cut(
        log.EmployeeID != 0 ? QString::number(log.EmployeeID) + u' ' + employeeLastName : QString(),
        22);
    if (const QString job = Text::clip(log.JobID); !job.isEmpty())
        f.job = Text::cut(u"Job: "_s + job + u' ' + Text::clip(log.CostCode) + u' ' +
                              Text::clip(log.ChangeOrder),
                          25);
    return f;
}

void LogProofReport::collect()
{
    const bool equipmentRange = m_definition.SelectedEquipment == 1;
    const bool dateRange = m_definition.SelectedDates == 1;
    const QString from = Text::clip(m_definition.EquipmentFrom);
    const QString to = Text::clip(m_definition.EquipmentTo);
    for (const quint16 batch : std::as_const(m_batches)) {
        data::KeyCursor logs =
            m_company.file<EQLogB>().scan(u"KeyBatchID", data::ScanOptions::equal({qint64(batch)}));
        for (EQLogB log; logs.next(log);) {
            const QString id = Text::clip(log.EquipmentID);
            if (equipmentRange && (id < from || id > to))
                continue;
            if (dateRange && (log.Date < m_definition.DateFrom || log.Date > m_definition.DateTo))
                continue;
            m_entries.append({batch, log});
        }
    }
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry &a, const Entry &b) {
        const QString ida = Text::clip(a.log.EquipmentID);
        const QString idb = Text::clip(b.log.EquipmentID);
        if (a.batch != b.batch)
            return a.batch < b.batch;
        if (ida != idb)
            return ida < idb;
        return a.log.Date < b.log.Date;
    });
}

bool LogProofReport::open(ReportRun &run)
{
    collect();
    m_run = &run;
    m_next = 0;
    report::ReportEngine &engine = run.beginPrinting([](int) { return columnHeadings(); });
    report::Band exportHeading;
    exportHeading.exportLine(
        u"Equipment ID\tDate\tTotal\tNet Charge\tEmployee\tJob\tDescription\tGL Account\tGross "
        "Charge\tAdjustment\tLocation\tComments\tRate\tStart\tEnd"_s);
    return engine.print(exportHeading);
}

report::Band LogProofReport::totalsBand(const QString &label, const Decimal &units,
                                        const Decimal &net, bool emphasised) const
{
    const report::TextStyle bold = ReportBands::font(emphasised ? 9 : 8, true);
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    report::Band band;
    band.height = Row + 100;
    band.line(QPointF(Meter.left, 20), QPointF(Charge.left + Charge.width, 20), 3)
        .text(QRectF(Description.left - 1500, 40, Description.width + 1500, Row + 20), label, bold,
              right)
        .text(QRectF(Meter.left, 40, Meter.width, Row + 20), amount(units), bold, right)
        .text(QRectF(Charge.left, 40, Charge.width, Row + 20), amount(net), bold, right)
        .exportLine(u"\t\t"_s + label + u'\t' + exported(units) + u'\t' + exported(net));
    return band;
}

bool LogProofReport::printEquipmentFooter()
{
    m_equipmentOpen = false;
    return m_run->engine()->print(
        totalsBand(u"Equipment Totals:"_s, m_equipmentUnits, m_equipmentNet, false));
}

bool LogProofReport::printBatchFooter()
{
    return m_run->engine()->print(totalsBand(m_batchLabel, m_batchUnits, m_batchNet, true));
}

bool LogProofReport::printDetail(const EQLogB &log)
{
    if (Text::clip(m_equipment.EquipmentID) != Text::clip(log.EquipmentID)) {
        m_equipment = EQHeader();
        m_equipment.EquipmentID = log.EquipmentID;
        if (!m_company.file<EQHeader>().fetch(u"KeyEquipmentID", m_equipment))
            m_equipment.Description.clear();
    }
    QString lastName;
    if (log.EmployeeID != 0) {
        PREmp employee;
        employee.EmployeeID = log.EmployeeID;
        if (m_company.file<PREmp>().fetch(u"KeyEmployeeID", employee))
            lastName = Text::clip(employee.LastName);
    }
    const Figures f = figures(log, m_equipment, lastName, m_rate);
    m_rate = f.rate;
    m_equipmentUnits += log.Units;
    m_batchUnits += log.Units;
    m_grandUnits += log.Units;
    m_equipmentNet += log.AdjustedAmount;
    m_batchNet += log.AdjustedAmount;
    m_grandNet += log.AdjustedAmount;

    const report::TextStyle plain = ReportBands::font(8);
    const report::TextStyle bold = ReportBands::font(8, true);
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    report::Band band;
    // A labelled value: the label, then its value right beside it.
    const auto labelled = [&](const Column &column, int row, const QString &label,
                              const QString &value, int alignment) {
        const qreal top = 30 + row * Row;
        const qreal labelWidth = 700;
        band.text(QRectF(column.left, top, labelWidth, Row), label, plain, left)
            .text(QRectF(column.left + labelWidth, top, column.width - labelWidth - 40, Row), value,
                  plain, alignment);
    };
    const qreal top = 30;
    band.text(QRectF(Miscellaneous.left, top, 700, Row), Text::clip(log.EquipmentID), bold, left)
        .text(QRectF(Miscellaneous.left + 700, top, 760, Row),
              Picture::parse(u"@d1").format(qint64(log.Date)), plain, left);
    labelled(Miscellaneous, 1, u"Employee:"_s, f.employee, left);
    labelled(Miscellaneous, 2, u"Location:"_s, Text::clip(log.Location), left);
    labelled(Miscellaneous, 3, u"Comments:"_s, Text::clip(log.Comments), left);
    labelled(Transaction, 0, u"Gross Charge:"_s, amount(log.GrossAmount), right);
    labelled(Transaction, 1, u"Adjustment:"_s, amount(f.adjustment), right);
    labelled(Transaction, 2, u"Net Charge:"_s, amount(log.AdjustedAmount), right);
    labelled(Transaction, 3, u"Rate:"_s, amount(f.rate), right);
    band.text(QRectF(JobAndAccount.left, top, JobAndAccount.width, Row), f.job, plain, left);
    labelled(JobAndAccount, 1, u"GL Account:"_s, Text::clip(log.GLAccount), left);
    band.text(QRectF(Description.left, top, Description.width, 2 * Row),
              Text::clip(m_equipment.Description), plain,
              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    // The readings: start, end and total.
    const struct
    {
        QString label;
        Decimal value;
    } readings[] = {{u"Start:"_s, f.start}, {u"End:"_s, f.end}, {u"Total:"_s, f.total}};
    for (int i = 0; i < 3; ++i)
        band.text(QRectF(Meter.left - 300, top + i * Row, 300, Row), readings[i].label, plain, left)
            .text(QRectF(Meter.left, top + i * Row, Meter.width, Row), amount(readings[i].value),
                  plain, right);
    band.text(QRectF(Charge.left, top, Charge.width, Row), amount(log.AdjustedAmount), bold, right);
    band.height = top + 4 * Row + 50;
    band.line(QPointF(0, band.height - 20), QPointF(Charge.left + Charge.width, band.height - 20),
              1, QColor(190, 190, 190));
    band.exportLine(
        QStringList{Text::clip(log.EquipmentID), Picture::parse(u"@d1").format(qint64(log.Date)),
                    exported(f.total), exported(log.AdjustedAmount), f.employee, f.job,
                    Text::clip(m_equipment.Description), Text::clip(log.GLAccount),
                    exported(log.GrossAmount), exported(f.adjustment), Text::clip(log.Location),
                    Text::clip(log.Comments), exported(f.rate), exported(f.start), exported(f.end)}
            .join(u'\t'));
    if (m_batchHeading) {
        report::Band withHeading = *std::exchange(m_batchHeading, std::nullopt);
        withHeading.append(band);
        return m_run->engine()->print(withHeading);
    }
    return m_run->engine()->print(band);
}

bool LogProofReport::next(ReportRun &, int records)
{
    report::ReportEngine &engine = *m_run->engine();
    for (int i = 0; i < records && m_next < m_entries.size(); ++i) {
        const Entry &entry = m_entries.at(m_next);
        const QString id = Text::clip(entry.log.EquipmentID);
        if (m_next == 0 || entry.batch != m_batch) {
            if (m_next != 0 && (!printEquipmentFooter() || !printBatchFooter()))
                return false;
            EQBatch batch;
            batch.BatchID = entry.batch;
            if (!m_company.file<EQBatch>().fetch(u"KeyBatchID", batch))
                batch.Description.clear();
            const QString text = u"Batch "_s + QString::number(entry.batch) + u" - "_s +
                                 Text::clip(batch.Description);
            report::Band header;
            header.height = 260;
            header.text(QRectF(0, 60, 7200, 180), Text::cut(text, 80), ReportBands::font(10, true))
                .exportLine(text);
            // Printed with the batch's first log, so that a heading never
            // stands alone at the foot of a page.
            m_batchHeading = header;
            m_batch = entry.batch;
            m_equipmentId = id;
            m_equipmentUnits = m_equipmentNet = m_batchUnits = m_batchNet = Decimal();
            m_batchLabel = u"Batch "_s + QString::number(entry.batch) + u" Totals:"_s;
        } else if (id != m_equipmentId) {
            if (m_equipmentOpen && !printEquipmentFooter())
                return false;
            m_equipmentId = id;
            m_equipmentUnits = m_equipmentNet = Decimal();
        }
        m_equipmentOpen = true;
        if (!printDetail(entry.log))
            return false;
        ++m_next;
    }
    if (m_next < m_entries.size())
        return true;
    // The end: the last equipment's and batch's footers, and the grand
    // totals of several batches. Without any log only an empty batch footer
    // prints.
    if (m_equipmentOpen && !printEquipmentFooter())
        return false;
    if (!printBatchFooter())
        return false;
    if (m_batches.size() > 1 && !m_entries.isEmpty())
        engine.print(totalsBand(u"Grand Totals:"_s, m_grandUnits, m_grandNet, true));
    return false;
}

int LogProofReport::percentRead() const
{
    return m_entries.isEmpty() ? 100 : int(m_next * 100 / m_entries.size());
}

} // namespace qaveq
