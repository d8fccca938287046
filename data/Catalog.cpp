#include "Catalog.h"

#include "FileSchema.h"
#include "suite/SuiteFiles.h"

namespace qaveq::data {

Catalog Catalog::suite()
{
    Catalog catalog;
    for (const FileSchema *schema : suiteFiles())
        catalog.add(*schema);
    return catalog;
}

void Catalog::add(const FileSchema &schema)
{
    if (!find(schema.name))
        m_files.append(&schema);
}

const FileSchema *Catalog::find(QStringView name) const
{
    for (const FileSchema *schema : m_files)
        if (schema->name.compare(name, Qt::CaseInsensitive) == 0)
            return schema;
    return nullptr;
}

} // namespace qaveq::data
