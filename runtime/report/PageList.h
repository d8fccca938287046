#pragma once

#include "PageImage.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <memory>

namespace qaveq::report {

// The pages of one report run, each a page image written as it is made to
// one store file in a folder of the run's own that only the user can read:
// a report of thousands of pages costs disk, not memory. The folder and
// every page in it go when the list does, whatever way the report ended.
class PageList
{
public:
    PageList();
    PageList(const PageList &) = delete;
    PageList &operator=(const PageList &) = delete;

    // False when the private folder could not be made; error() says why.
    bool isValid() const { return m_folder->isValid(); }
    QString error() const { return m_folder->errorString(); }
    QString folder() const { return m_folder->path(); }
    // The file the pages are stored in.
    QString storeFile() const;

    // Stores a page (a PageWriter's bytes) as the next one; false with the
    // reason when it cannot.
    bool append(const QByteArray &page, QString *error);
    int count() const { return int(m_ends.size()); }
    bool isEmpty() const { return m_ends.isEmpty(); }
    // The page read back; none when the store cannot give it whole.
    std::optional<PageImage> page(int index) const;

    // The pages in the order a printer gets them for `copies` copies: the
    // whole list once per copy, so that every copy comes out collated.
    QList<int> printOrder(int copies) const;

    // Frees the pages now, before the list itself goes.
    void clear();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QFile> m_store; // opened with the first page
    QList<qint64> m_ends;           // where each page ends in the store
};

} // namespace qaveq::report
