#include "PageBreaker.h"

#include <cmath>

namespace qaveq::report {

PageBreaker::Placement PageBreaker::place(qreal bandHeight)
{
    Placement placement;
    const bool fits = m_used >= 0 && m_used + bandHeight <= m_body;
    if (fits) {
        placement.top = m_used;
        m_used += bandHeight;
        return placement;
    }
    placement.newPage = true;
    if (bandHeight <= m_body || m_body <= 0) {
        m_used = bandHeight;
        return placement;
    }
    placement.pages = int(std::ceil(bandHeight / m_body));
    m_used = bandHeight - (placement.pages - 1) * m_body;
    return placement;
}

} // namespace qaveq::report
