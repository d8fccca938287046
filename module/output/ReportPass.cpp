#include "ReportPass.h"

#include "data/Table.h"

namespace qaveq {

report::PageSetup ReportIdentity::paper(bool landscape)
{
    report::PageSetup setup;
    setup.landscape = landscape;
    return setup;
}

ReportPass::ReportPass(ReportIdentity identity)
    : m_identity(std::move(identity))
{}

qint64 ReportPass::primaryRecordCount()
{
    return m_identity.primaryFile ? m_identity.primaryFile->count() : 0;
}

} // namespace qaveq
