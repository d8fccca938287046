#pragma once

#include "AnnualSummary.h"

#include "output/ReportPass.h"
#include "records/EQHeader.h"
#include "records/GLDepr.h"

#include "runtime/report/Band.h"
#include "runtime/report/Graph.h"

#include "data/KeyCursor.h"

#include <functional>
#include <optional>

namespace qaveq {

namespace data {
class Company;
}

namespace FixedAssets {

// The method printed after "Depreciation Method:".
QString methodLabel(int method, const QString &customDescription);

// Said where the schedule would be when the equipment has no rows yet.
QString noScheduleText(const EQHeader &equipment);

// The two graphs of an equipment's annual summary: the charges of each year
// and the book value at the start of each year.
report::Graph annualDepreciationGraph(const QList<AnnualSummaryEntry> &summary);
report::Graph bookValueGraph(const EQHeader &equipment, const QList<AnnualSummaryEntry> &summary);

// Draws a graph as SVG of the given size in page units; the screens' chart
// library does it.
using GraphRenderer = std::function<QByteArray(const report::Graph &, const QSizeF &)>;

} // namespace FixedAssets

// The printed schedule of one equipment: its block of figures, then one line
// per month of its stored depreciation rows, every method side by side.
class FixedAssetScheduleReport final : public ReportPass
{
public:
    FixedAssetScheduleReport(data::Company &company, EQHeader equipment);

    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_read; }

    // The column headings and one month's line, as printed and exported.
    report::Band headings() const;
    report::Band detail(const GLDepr &row) const;

private:
    data::Company &m_company;
    EQHeader m_equipment;
    std::optional<data::KeyCursor> m_rows;
    qint64 m_total = 0;
    qint64 m_read = 0;
};

// The graphs of one equipment's schedule on a page.
class FixedAssetGraphsReport final : public ReportPass
{
public:
    FixedAssetGraphsReport(data::Company &company, EQHeader equipment,
                           FixedAssets::GraphRenderer renderer);

    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override { return m_done ? 100 : 0; }
    qint64 recordsRead() const override { return m_done ? 1 : 0; }

private:
    data::Company &m_company;
    EQHeader m_equipment;
    FixedAssets::GraphRenderer m_renderer;
    bool m_done = false;
};

} // namespace qaveq
