#include "PageList.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace qaveq::report {

PageList::PageList()
    // QTemporaryDir makes the folder readable by its owner only (0700).
    : m_folder(std::make_unique<QTemporaryDir>(QDir::temp().filePath(u"qaveq-report-XXXXXX"_s)))
{}

bool PageList::append(const PageImage &page, QString *error)
{
    if (!isValid()) {
        *error = m_folder->errorString();
        return false;
    }
    const QString name =
        QDir(m_folder->path())
            .filePath(u"page%1.qpg"_s.arg(m_files.size() + 1, 4, 10, QLatin1Char('0')));
    if (!page.save(name, error))
        return false;
    QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner);
    m_files.append(name);
    return true;
}

QList<int> PageList::printOrder(int copies) const
{
    QList<int> order;
    for (int copy = 0; copy < std::max(1, copies); ++copy)
        for (int page = 0; page < m_files.size(); ++page)
            order.append(page);
    return order;
}

void PageList::clear()
{
    for (const QString &name : std::as_const(m_files))
        QFile::remove(name);
    m_files.clear();
}

} // namespace qaveq::report
