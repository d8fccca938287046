#pragma once

#include "AnalysisFigures.h"
#include "ReportSelection.h"

#include "output/ReportPass.h"

#include "runtime/report/Band.h"

namespace qaveq {

// The usage / cost analysis: a block per piece of equipment with a row per
// cost category and its income, non-productive time, totals, net profit and
// cost per hour, side by side for the three columns of the period.
class EquipmentAnalysisReport final : public ReportPass
{
public:
    // `collected` receives every equipment's block as printed, for the view.
    EquipmentAnalysisReport(data::Company &company, EQLimits definition, DayNumber today,
                            QList<Analysis::EquipmentFigures> *collected = nullptr);

    QStringList exportParameters() const override;
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_read; }

    // The printed block of one piece of equipment, with its export lines.
    report::Band block(const Analysis::EquipmentFigures &figures) const;

private:
    data::Company &m_company;
    ReportSelection m_selection;
    Analysis::Period m_period;
    Analysis::Calculator m_calculator;
    QList<Analysis::EquipmentFigures> *m_collected;
    QStringList m_limits; // printed under the heading of the first page
    QList<SelectedEquipment> m_equipment;
    qint64 m_read = 0;
};

// The cost summary: a line per piece of equipment with its rates and its
// month, year and cumulative cost, and the totals.
class CostSummaryReport final : public ReportPass
{
public:
    CostSummaryReport(data::Company &company, EQLimits definition, DayNumber today,
                      QList<Analysis::SummaryLine> *collected = nullptr);

    QStringList limitsLines() const override { return m_limits; }
    QStringList exportParameters() const override;
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_read; }

private:
    data::Company &m_company;
    ReportSelection m_selection;
    Analysis::Period m_period;
    Analysis::Calculator m_calculator;
    QList<Analysis::SummaryLine> *m_collected;
    QStringList m_limits;
    QList<SelectedEquipment> m_equipment;
    Decimal m_totals[3];
    qint64 m_read = 0;
};

} // namespace qaveq
