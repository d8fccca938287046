#pragma once

#include "PageImage.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace qaveq::report {

// The pages of one report run, each a page image file in a folder of the
// run's own that only the user can read. The folder and every page in it
// go when the list does, whatever way the report ended.
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

    // Stores the page as the next one; false with the reason when it cannot.
    bool append(const PageImage &page, QString *error);
    int count() const { return int(m_files.size()); }
    bool isEmpty() const { return m_files.isEmpty(); }
    QString fileName(int index) const { return m_files.at(index); }
    std::optional<PageImage> page(int index) const { return PageImage::load(m_files.at(index)); }

    // The pages in the order a printer gets them for `copies` copies: the
    // whole list once per copy, so that every copy comes out collated.
    QList<int> printOrder(int copies) const;

    // Frees the pages now, before the list itself goes.
    void clear();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QStringList m_files;
};

} // namespace qaveq::report
