#pragma once

#include "AnalysisFigures.h"
#include "ReportSelection.h"

#include "output/ReportPass.h"

#include "runtime/report/Band.h"

namespace qaveq {

// What the analysis and the cost summary share: the definition's selection of
// equipment, the period its dates choose and the calculator of its figures,
// the limits lines, and the walk over the selected equipment.
class AnalysisPass : public ReportPass
{
public:
    QStringList exportParameters() const override;
    bool open(ReportRun &run) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_read; }

protected:
    // `summary`: the cost summary, which names itself so in the limits.
    AnalysisPass(data::Company &company, EQLimits definition, DayNumber today, bool summary);

    // Whether selected equipment is left to read.
    bool moreToRead() const { return m_read < m_equipment.size(); }
    // Reads the next selected equipment into `header`; false (and on to the
    // next) when it is no longer on file.
    bool readNext(EQHeader &header);

    const ReportSelection &selection() const { return m_selection; }
    const Analysis::Period &period() const { return m_period; }

private:
    // In this order: the calculator works from the selection and the period.
    data::Company &m_company;
    ReportSelection m_selection;
    Analysis::Period m_period;

protected:
    Analysis::Calculator m_calculator;
    QStringList m_limits; // the definition's limits, as printed

private:
    bool m_summary;
    QList<SelectedEquipment> m_equipment;
    qint64 m_read = 0;
};

// The usage / cost analysis: a block per piece of equipment with a row per
// cost category and its income, non-productive time, totals, net profit and
// cost per hour, side by side for the three columns of the period.
class EquipmentAnalysisReport final : public AnalysisPass
{
public:
    // `collected` receives every equipment's block as printed, for the view.
    EquipmentAnalysisReport(data::Company &company, EQLimits definition, DayNumber today,
                            QList<Analysis::EquipmentFigures> *collected = nullptr);

    bool next(ReportRun &run, int records) override;

    // The printed block of one piece of equipment, with its export lines.
    report::Band block(const Analysis::EquipmentFigures &figures) const;

private:
    QList<Analysis::EquipmentFigures> *m_collected;
};

// The cost summary: a line per piece of equipment with its rates and its
// month, year and cumulative cost, and the totals.
class CostSummaryReport final : public AnalysisPass
{
public:
    CostSummaryReport(data::Company &company, EQLimits definition, DayNumber today,
                      QList<Analysis::SummaryLine> *collected = nullptr);

    QStringList limitsLines() const override { return m_limits; }
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;

private:
    QList<Analysis::SummaryLine> *m_collected;
    Decimal m_totals[3];
};

} // namespace qaveq
