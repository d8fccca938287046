#pragma once

#include "output/ReportPass.h"
#include "records/EQLimits.h"

#include <QList>

namespace qaveq {

namespace data {
class Company;
}

// How the category listing fills its columns: column by column, a page of
// 63 rows at a time, the last page's rows as even as the columns allow.
namespace CategoryColumns {

constexpr int RowsPerPage = 63;

// The entries (0-based positions in the sorted list) of each row of each
// page; a row lists its entries left to right and leaves out the columns it
// has none for. Three columns: a full page holds 189, and on the last page
// a remainder of one leaves the second and third columns one entry shorter
// than the first. Two columns: a full page holds 126.
using Row = QList<int>;
using Page = QList<Row>;
QList<Page> pages(int entries, int columns);

} // namespace CategoryColumns

// One cost category of the listing: what it prints of the EQCode record.
struct CategoryEntry
{
    QString id;
    QString description;
    QString unit;
    QString expense;
    QString contra;
};

// The cost category listing of a saved definition: codes and descriptions in
// three columns (summary), or every code's unit and default accounts in two
// (complete).
class CategoryListingReport final : public ReportPass
{
public:
    enum class Layout { Summary, Complete };

    CategoryListingReport(data::Company &company, EQLimits definition, Layout layout);

    QStringList limitsLines() const override;
    bool open(ReportRun &run) override;
    bool next(ReportRun &run, int records) override;
    int percentRead() const override;
    qint64 recordsRead() const override { return m_printed; }

    // The selected categories in their printed order: a range with a blank
    // To runs to ten "Z"s, a list keeps the listed ones; by ID, or by
    // upper-cased description when the definition sorts by description.
    QList<CategoryEntry> selected() const;

private:
    bool printPage(ReportRun &run, const CategoryColumns::Page &page, int base);

    data::Company &m_company;
    EQLimits m_definition;
    Layout m_layout;
    QList<CategoryEntry> m_entries;
    QList<CategoryColumns::Page> m_pages;
    int m_nextPage = 0;
    qint64 m_printed = 0;
    qreal m_rowHeight = 0;
};

} // namespace qaveq
