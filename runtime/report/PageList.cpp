#include "PageList.h"

#include "core/OutputFile.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq::report {

PageList::PageList()
    // QTemporaryDir makes the folder readable by its owner only (0700).
    : m_folder(std::make_unique<QTemporaryDir>(QDir::temp().filePath(u"qaveq-report-XXXXXX"_s)))
{}

QString PageList::storeFile() const
{
    return QDir(m_folder->path()).filePath(u"pages.qpg"_s);
}

bool PageList::append(const QByteArray &page, QString *error)
{
    if (!isValid()) {
        *error = m_folder->errorString();
        return false;
    }
    if (!m_store) {
        auto store = std::make_unique<QFile>(storeFile());
        // Unbuffered: each page is on its way to the disk when stored, and
        // a full disk is seen at the page that did not fit.
        if (!store->open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered)) {
            *error = store->errorString();
            return false;
        }
        store->setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        m_store = std::move(store);
    }
    const qint64 start = m_ends.isEmpty() ? 0 : m_ends.last();
    // Reading a page back moves the file's position: only then is it moved
    // back to the end, sparing a system call a page.
    if ((m_store->pos() != start && !m_store->seek(start)) || m_store->write(page) != page.size()) {
        *error = u"%1: %2"_s.arg(storeFile(), OutputFile::writeFailure(*m_store));
        // A page cut short is not a page: the next one goes where it began.
        m_store->resize(start);
        return false;
    }
    m_ends.append(start + page.size());
    return true;
}

std::optional<PageImage> PageList::page(int index) const
{
    if (!m_store || index < 0 || index >= m_ends.size())
        return std::nullopt;
    const qint64 start = index == 0 ? 0 : m_ends.at(index - 1);
    const qint64 length = m_ends.at(index) - start;
    if (!m_store->seek(start))
        return std::nullopt;
    const QByteArray bytes = m_store->read(length);
    if (bytes.size() != length)
        return std::nullopt;
    return PageImage::fromBytes(bytes);
}

QList<int> PageList::printOrder(int copies) const
{
    QList<int> order;
    for (int copy = 0; copy < std::max(1, copies); ++copy)
        for (int page = 0; page < m_ends.size(); ++page)
            order.append(page);
    return order;
}

void PageList::clear()
{
    m_store.reset();
    QFile::remove(storeFile());
    m_ends.clear();
}

} // namespace qaveq::report
