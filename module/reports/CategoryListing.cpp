#include "CategoryListing.h"

#include "LimitsLines.h"
#include "ReportSelection.h"
#include "records/EQCode.h"

#include "output/ReportBands.h"
#include "output/ReportRun.h"

#include "runtime/report/ReportColumns.h"

#include "core/Text.h"

#include "data/Company.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace CategoryColumns {

namespace {

Page lastPage(int base, int n, int columns)
{
    Page page;
    const int rows = (n + columns - 1) / columns;
    if (columns == 3) {
        // A remainder of one: the first column is one longer than the others,
        // so the second column starts one row earlier than a full one would.
        const bool remainderOne = n % 3 == 1;
        const int second = remainderOne ? rows - 1 : rows;
        for (int r = 0; r < rows; ++r) {
            Row row{base + r};
            if (!(remainderOne && r == rows - 1)) {
                for (const int entry : {r + rows, r + rows + second})
                    if (entry < n)
                        row.append(base + entry);
            }
            page.append(row);
        }
        return page;
    }
    for (int r = 0; r < rows; ++r) {
        Row row;
        for (int c = 0; c < columns; ++c)
            if (r + c * rows < n)
                row.append(base + r + c * rows);
        page.append(row);
    }
    return page;
}

} // namespace

QList<Page> pages(int entries, int columns)
{
    const int full = RowsPerPage * columns;
    QList<Page> result;
    int base = 0;
    while (entries - base > full) {
        Page page;
        for (int r = 0; r < RowsPerPage; ++r) {
            Row row;
            for (int c = 0; c < columns; ++c)
                row.append(base + r + c * RowsPerPage);
            page.append(row);
        }
        result.append(page);
        base += full;
    }
    if (entries - base > 0)
        result.append(lastPage(base, entries - base, columns));
    return result;
}

} // namespace CategoryColumns

namespace {

// A range's blank To reaches every identifier up to ten "Z"s.
const QString LastIdentifier = u"ZZZZZZZZZZ"_s;

// The type the listing prints in: small enough that 63 rows fit a page.
const report::TextStyle ListingFont = ReportBands::font(6);

// The complete layout's columns; the page and its text copy order them
// differently.
const report::ReportColumn IdColumn{.heading = {u"ID"_s}, .picture = u"@s10"_s};
const report::ReportColumn DescriptionColumn{.heading = {u"Description"_s}, .picture = u"@s25"_s};
const QList<report::ReportColumn> DefaultColumns{{.heading = {u"Unit"_s}, .picture = u"@s5"_s},
                                                 {.heading = {u"Expense"_s}, .picture = u"@s12"_s},
                                                 {.heading = {u"Contra"_s}, .picture = u"@s12"_s}};

// One column set as the page shows it: ID and description (summary), or the
// description first, then ID, unit and the two default accounts (complete).
const report::ColumnTable &columnSet(CategoryListingReport::Layout layout)
{
    static const report::ColumnTable summary(
        {IdColumn, {.heading = {u"Description"_s}, .picture = u"@s30"_s}}, ListingFont);
    static const report::ColumnTable complete(
        QList<report::ReportColumn>{DescriptionColumn, IdColumn} + DefaultColumns, ListingFont);
    return layout == CategoryListingReport::Layout::Summary ? summary : complete;
}

// The text copy always starts with the identifier, in both layouts, so that
// a spreadsheet or an import reads the key from its first column.
const report::ColumnTable &exportSet(CategoryListingReport::Layout layout)
{
    static const report::ColumnTable complete(
        QList<report::ReportColumn>{IdColumn, DescriptionColumn} + DefaultColumns, ListingFont);
    return layout == CategoryListingReport::Layout::Summary ? columnSet(layout) : complete;
}

int columnsOf(CategoryListingReport::Layout layout)
{
    return layout == CategoryListingReport::Layout::Summary ? 3 : 2;
}

QList<report::CellValue> pageCells(const CategoryEntry &entry, CategoryListingReport::Layout layout)
{
    if (layout == CategoryListingReport::Layout::Summary)
        return {entry.id, entry.description};
    return {entry.description, entry.id, entry.unit, entry.expense, entry.contra};
}

QList<report::CellValue> exportCells(const CategoryEntry &entry,
                                     CategoryListingReport::Layout layout)
{
    if (layout == CategoryListingReport::Layout::Summary)
        return {entry.id, entry.description};
    return {entry.id, entry.description, entry.unit, entry.expense, entry.contra};
}

// The band's elements moved right by `dx` into `into`.
void addShifted(report::Band &into, const report::Band &band, qreal dx)
{
    for (report::Element element : band.elements) {
        report::translate(element, QPointF(dx, 0));
        into.elements.push_back(std::move(element));
    }
}

} // namespace

CategoryListingReport::CategoryListingReport(data::Company &company, EQLimits definition,
                                             Layout layout)
    : ReportPass({.title = u"Equipment Cost Code Listing"_s,
                  .pdfFileName = u"Equipment Category Listing.pdf"_s,
                  .primaryFile = &company.file<EQCode>()})
    , m_company(company)
    , m_definition(std::move(definition))
    , m_layout(layout)
{}

QStringList CategoryListingReport::limitsLines() const
{
    const QString title = Text::clip(m_definition.ReportTitle);
    QString categories;
    switch (m_definition.SelectedCategory) {
    case 1: {
        const QString to = Text::clip(m_definition.CategoryTo);
        categories = u"Cost Categories: "_s + Text::clip(m_definition.CategoryFrom) + u" TO "_s +
                     (to.isEmpty() ? LastIdentifier : to);
        break;
    }
    case 2:
        categories = LimitsLines::codeLine(
            LimitsLines::Categories, 2, {}, {},
            ReportSelection(m_company, m_definition, 0).members(ListKind::Category));
        break;
    default:
        categories = u"Cost Categories: All"_s;
    }
    QStringList lines{u"Equipment Costing > Reports > Cost Category Listing "_s + title,
                      LimitsLines::title(title), categories};
    if (m_definition.DetailSummary == u"D")
        lines.append(u"Print all data associated with each code"_s);
    else if (m_definition.DetailSummary == u"S")
        lines.append(u"Print codes and descriptions only"_s);
    if (m_definition.ReportFormat == u"C")
        lines.append(u"Sort by Category ID"_s);
    else if (m_definition.ReportFormat == u"D")
        lines.append(u"Sort by Category Description"_s);
    return lines;
}

QList<CategoryEntry> CategoryListingReport::selected() const
{
    data::ScanOptions options;
    QStringList listed;
    if (m_definition.SelectedCategory == 1) {
        const QString to = Text::clip(m_definition.CategoryTo);
        options.from = {Text::clip(m_definition.CategoryFrom)};
        options.to = {to.isEmpty() ? LastIdentifier : to};
    } else if (m_definition.SelectedCategory == 2) {
        listed = ReportSelection(m_company, m_definition, 0).members(ListKind::Category);
    }
    QList<CategoryEntry> entries;
    data::KeyCursor cursor = m_company.file<EQCode>().scan(u"KeyCategoryID", options);
    for (EQCode code; cursor.next(code);) {
        const QString id = Text::clip(code.CategoryID);
        if (m_definition.SelectedCategory == 2 && !listed.contains(id, Qt::CaseInsensitive))
            continue;
        entries.append({id, Text::clip(code.Description), Text::clip(code.DefaultUnit),
                        Text::clip(code.DefaultExpenseControl),
                        Text::clip(code.DefaultContraExpenseControl)});
    }
    if (m_definition.ReportFormat == u"D")
        std::stable_sort(entries.begin(), entries.end(),
                         [](const CategoryEntry &a, const CategoryEntry &b) {
                             return a.description.toUpper() < b.description.toUpper();
                         });
    return entries;
}

bool CategoryListingReport::open(ReportRun &run)
{
    m_entries = selected();
    m_pages = CategoryColumns::pages(int(m_entries.size()), columnsOf(m_layout));
    m_nextPage = 0;
    m_printed = 0;
    if (m_entries.isEmpty())
        return false;

    const int columns = columnsOf(m_layout);
    const report::ColumnTable &set = columnSet(m_layout);
    report::ReportEngine &engine = run.beginPrinting([this, columns, &set, &run](int) {
        report::Band headings;
        const report::Band one = set.headings();
        const qreal step = run.engine()->width() / columns;
        for (int c = 0; c < columns; ++c)
            addShifted(headings, one, c * step);
        headings.height = one.height;
        return headings;
    });
    // A page holds its 63 rows whatever the footer's limits take.
    m_rowHeight = std::min<qreal>(set.lineHeight(),
                                  std::floor(engine.bodyHeight() / CategoryColumns::RowsPerPage));
    return true;
}

bool CategoryListingReport::printPage(ReportRun &run, const CategoryColumns::Page &page, int base)
{
    report::ReportEngine &engine = *run.engine();
    const report::ColumnTable &set = columnSet(m_layout);
    const qreal step = engine.width() / columnsOf(m_layout);
    int count = 0;
    for (const CategoryColumns::Row &row : page)
        count += int(row.size());
    for (int r = 0; r < page.size(); ++r) {
        report::Band band;
        band.height = m_rowHeight;
        const CategoryColumns::Row &row = page.at(r);
        for (int c = 0; c < row.size(); ++c) {
            report::Band cell = set.detail(pageCells(m_entries.at(row.at(c)), m_layout));
            for (report::Element &element : cell.elements)
                if (auto *text = std::get_if<report::TextElement>(&element))
                    text->rect.setHeight(m_rowHeight);
            addShifted(band, cell, c * step);
        }
        // The text copy keeps the listing's order, one line per category:
        // the page's first row carries the lines of all its entries.
        if (r == 0) {
            const report::ColumnTable &text = exportSet(m_layout);
            if (base == 0)
                band.exportLines.append(text.exportHeadings());
            for (int i = base; i < base + count; ++i)
                band.exportLine(text.exportLine(exportCells(m_entries.at(i), m_layout)));
        }
        if (!engine.print(band))
            return false;
    }
    m_printed += count;
    return engine.endPage();
}

bool CategoryListingReport::next(ReportRun &run, int)
{
    if (m_nextPage >= m_pages.size())
        return false;
    const CategoryColumns::Page &page = m_pages.at(m_nextPage++);
    if (!printPage(run, page, page.first().first()))
        return false;
    return m_nextPage < m_pages.size();
}

int CategoryListingReport::percentRead() const
{
    return m_entries.isEmpty() ? 100 : int(m_printed * 100 / m_entries.size());
}

} // namespace qaveq
