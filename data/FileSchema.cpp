#include "FileSchema.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace qaveq::data {

QStringView FileSchema::withoutPrefix(QStringView name) const
{
    const qsizetype colon = name.indexOf(u':');
    if (colon < 0)
        return name;
    if (name.left(colon).compare(prefix, Qt::CaseInsensitive) != 0)
        return {};
    return name.mid(colon + 1);
}

int FileSchema::fieldIndex(QStringView name) const
{
    const QStringView bare = withoutPrefix(name);
    if (bare.isEmpty())
        return -1;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const FieldDef *FileSchema::field(QStringView name) const
{
    const int index = fieldIndex(name);
    return index < 0 ? nullptr : &fields[index];
}

const KeyDef &FileSchema::key(QStringView name) const
{
    const QStringView bare = withoutPrefix(name);
    for (const KeyDef &k : keys)
        if (k.name.compare(bare, Qt::CaseInsensitive) == 0)
            return k;
    throw std::invalid_argument(u"no key %1 in %2"_s.arg(name, this->name).toStdString());
}

const KeyDef *FileSchema::firstUniqueKey() const
{
    for (const KeyDef &k : keys)
        if (k.unique)
            return &k;
    return nullptr;
}

} // namespace qaveq::data
