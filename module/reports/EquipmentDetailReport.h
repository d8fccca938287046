#pragma once

#include "DetailListingWalk.h"

#include "output/ReportPass.h"

#include "runtime/report/ReportColumns.h"

namespace qaveq {

// The detail listing printed: per equipment its heading, its transactions
// (in detail), section subtotals and equipment totals.
class EquipmentDetailReport final : public ReportPass, private DetailListing::Sink
{
public:
    EquipmentDetailReport(data::Company &company, const EQLimits &definition, DayNumber today);

    QStringList limitsLines() const override { return m_limits; }
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override { return m_walk.percent(); }
    qint64 recordsRead() const override { return m_walk.transactionsRead(); }

private:
    bool beginPrinting();
    bool heading(const EQHeader &equipment) override;
    bool line(const DetailListing::Section &section, const DetailListing::Line &line) override;
    bool sectionTotal(const DetailListing::Section &section, const Decimal &total) override;
    bool equipmentTotals(const EQHeader &equipment, const Decimal &income, const Decimal &cost,
                         const Decimal &net) override;

    data::Company &m_company;
    EQLimits m_definition;
    DetailListing::Walk m_walk;
    report::ColumnTable m_columns;
    QStringList m_limits;
    ReportRun *m_run = nullptr;
};

} // namespace qaveq
