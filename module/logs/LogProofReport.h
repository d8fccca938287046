#pragma once

#include "output/ReportPass.h"
#include "records/EQHeader.h"
#include "records/EQLimits.h"
#include "records/EQLogB.h"

#include "runtime/report/Band.h"

#include "core/Decimal.h"

#include <QList>

#include <optional>

namespace qaveq {

namespace data {
class Company;
}

// The proof listing of the unposted logs of the tagged batches, within the
// definition's equipment and date ranges: grouped by batch and equipment,
// by date within each, with equipment, batch and grand totals.
class LogProofReport final : public ReportPass
{
public:
    LogProofReport(data::Company &company, const EQLimits &definition, QList<quint16> batches);

    // One log as the listing shows it.
    struct Figures
    {
        Decimal start, end, total; // meter readings
        Decimal rate;
        Decimal adjustment; // adjusted less gross
        QString employee;   // 22: number and last name
        QString job;        // 25: "Job: " job, cost code, change order
    };
    // `previousRate` stands for a charge type with no rate of its own.
    static Figures figures(const EQLogB &log, const EQHeader &equipment,
                           const QString &employeeLastName, const Decimal &previousRate);

    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_next; }

private:
    struct Entry
    {
        quint16 batch = 0;
        EQLogB log;
    };

    void collect();
    bool printEquipmentFooter();
    bool printBatchFooter();
    bool printDetail(const EQLogB &log);
    report::Band totalsBand(const QString &label, const Decimal &units, const Decimal &net,
                            bool emphasised) const;

    data::Company &m_company;
    EQLimits m_definition;
    QList<quint16> m_batches;
    QList<Entry> m_entries;
    qsizetype m_next = 0;
    ReportRun *m_run = nullptr;

    quint16 m_batch = 0;
    std::optional<report::Band> m_batchHeading; // until the batch's first log prints
    QString m_equipmentId;
    bool m_equipmentOpen = false;
    QString m_batchLabel;
    EQHeader m_equipment;
    Decimal m_rate;
    Decimal m_equipmentUnits, m_equipmentNet, m_batchUnits, m_batchNet, m_grandUnits, m_grandNet;
};

} // namespace qaveq
