#include "ReportEngine.h"

#include "ExportSpool.h"
#include "PageList.h"

using namespace Qt::StringLiterals;

namespace qaveq::report {

ReportEngine::ReportEngine(const PageSetup &setup, PageList &pages, ExportSpool &exportLines)
    : m_pageSize(setup.pageSize())
    , m_printable(setup.printable())
    , m_pages(pages)
    , m_exportLines(exportLines)
{}

qreal ReportEngine::bodyHeight() const
{
    // Every page keeps room for the tallest header: a report may add its own
    // heading to the standard one from its second page on.
    const qreal header = m_header ? std::max(m_header(1).height, m_header(2).height) : 0;
    const qreal footer = m_footer ? m_footer(1).height : 0;
    return m_printable.height() - header - footer;
}

bool ReportEngine::print(const Band &band)
{
    if (!m_error.isEmpty())
        return false;
    if (!m_breaker)
        m_breaker.emplace(bodyHeight());
    const PageBreaker::Placement placement = m_breaker->place(band.height);
    if (placement.newPage) {
        if (!closePage())
            return false;
        startPage();
    }
    // The export lines are kept first: placing the band takes it whole.
    if (m_keepExport && !m_exportLines.append(band.exportLines)) {
        m_error = m_exportLines.error();
        return false;
    }
    if (placement.pages == 1) {
        place(band, m_bodyTop + placement.top);
    } else {
        // A band taller than a page runs on: each page shows its own slice.
        const qreal body = bodyHeight();
        for (int slice = 0; slice < placement.pages; ++slice) {
            if (slice > 0) {
                if (!closePage())
                    return false;
                startPage();
            }
            Band part;
            for (const Element &element : band.elements) {
                const qreal y = top(element);
                if (y >= slice * body && (y < (slice + 1) * body || slice + 1 == placement.pages))
                    part.elements.push_back(element);
            }
            place(part, m_bodyTop - slice * body);
        }
    }
    ++m_bandsPrinted;
    return true;
}

void ReportEngine::startPage()
{
    ++m_pageNumber;
    m_page.emplace(m_pageSize);
    m_bodyTop = m_printable.top();
    if (m_header) {
        const Band header = m_header(m_pageNumber);
        place(header, m_bodyTop);
        m_bodyTop += header.height;
    }
}

bool ReportEngine::endPage()
{
    if (m_breaker)
        m_breaker->breakPage();
    return closePage();
}

bool ReportEngine::closePage()
{
    if (!m_page)
        return true;
    if (m_footer) {
        const Band footer = m_footer(m_pageNumber);
        place(footer, m_printable.bottom() - footer.height);
    }
    const std::optional<QByteArray> page = m_page->finish();
    m_page.reset();
    if (!page) {
        m_error = u"Page %1 holds a text or picture too large to keep."_s.arg(m_pageNumber);
        return false;
    }
    QString error;
    if (!m_pages.append(*page, &error)) {
        m_error = error;
        return false;
    }
    return true;
}

void ReportEngine::place(const Band &band, qreal y)
{
    const QPointF offset(m_printable.left(), y);
    for (const Element &element : band.elements)
        m_page->add(element, offset);
}

} // namespace qaveq::report
