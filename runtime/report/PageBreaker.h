#pragma once

#include <QtGlobal>

namespace qaveq::report {

// Decides where each band of a report goes: the page layout without any
// drawing, so that its rules can be checked on their own.
//
// A band goes below the previous one when it fits in what is left of the
// page's body (the space between page header and footer); otherwise it starts
// a new page. A band is never split, except one taller than a whole body,
// which starts on a fresh page and runs on over as many pages as it needs.
class PageBreaker
{
public:
    explicit PageBreaker(qreal bodyHeight)
        : m_body(bodyHeight)
    {}

    struct Placement
    {
        bool newPage = false; // the band starts a new page
        qreal top = 0;        // offset of the band's top in the body of its first page
        int pages = 1;        // pages the band covers
    };

    Placement place(qreal bandHeight);
    // The next band starts a new page.
    void breakPage() { m_used = -1; }
    qreal used() const { return m_used; }

private:
    qreal m_body;
    qreal m_used = -1; // body used on the current page; -1 before the first page
};

} // namespace qaveq::report
