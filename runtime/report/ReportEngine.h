#pragma once

#include "Band.h"
#include "PageBreaker.h"
#include "PageSetup.h"

#include <functional>

namespace qaveq::report {

class ExportSpool;
class PageList;

// Lays the bands a report pass prints onto pages and stores each finished
// page in the page list. Every printed band's export lines go to the export
// spool as well. Layout only: the pages are painted when they are shown,
// printed or written to a PDF.
class ReportEngine
{
public:
    // The page header and footer of a page, given its number (from 1).
    using PageBand = std::function<Band(int page)>;

    ReportEngine(const PageSetup &setup, PageList &pages, ExportSpool &exportLines);

    void setPageHeader(PageBand header) { m_header = std::move(header); }
    // Whether printed bands' export lines are kept: not for a report that
    // can never be exported, so a long run does not hold its text in memory.
    void keepExportLines(bool keep) { m_keepExport = keep; }
    bool keepsExportLines() const { return m_keepExport; }
    void setPageFooter(PageBand footer) { m_footer = std::move(footer); }

    // The width bands are laid out in.
    qreal width() const { return m_printable.width(); }
    // The height between the page header and footer, once both are set.
    qreal bodyHeight() const;

    // False when a page or its export lines could not be stored; error()
    // says why and the pass should stop.
    bool print(const Band &band);
    // Ends the current page; the next band starts a new one.
    bool endPage();

    int pagesStarted() const { return m_pageNumber; }
    int bandsPrinted() const { return m_bandsPrinted; }
    QString error() const { return m_error; }

private:
    void startPage();
    bool closePage();
    void place(const Band &band, qreal y);

    // Worked out once: a long report places tens of thousands of bands.
    QSizeF m_pageSize;
    QRectF m_printable;
    PageList &m_pages;
    ExportSpool &m_exportLines;
    bool m_keepExport = true;
    PageBand m_header;
    PageBand m_footer;
    std::optional<PageBreaker> m_breaker;
    std::optional<PageWriter> m_page;
    qreal m_bodyTop = 0;
    int m_pageNumber = 0;
    int m_bandsPrinted = 0;
    QString m_error;
};

} // namespace qaveq::report
