#pragma once

#include <QList>
#include <QStringView>

namespace qaveq::data {

class FileSchema;

// The files a company holds: the suite's files declared here and the
// equipment module's own, added by the module.
class Catalog
{
public:
    // The suite's files that the equipment module reads and writes.
    static Catalog suite();

    void add(const FileSchema &schema);
    const FileSchema *find(QStringView name) const; // by file name, any letter case
    const QList<const FileSchema *> &files() const { return m_files; }

private:
    QList<const FileSchema *> m_files;
};

} // namespace qaveq::data
