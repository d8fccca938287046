#include "SortMemory.h"

#include "ColumnSorter.h"

#include "data/IniManager.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// The registry roots are kept in one INI file of the program's own, a
// section per root and key ("HKEY_CURRENT_USER\Software\Korvalis\Lists").
data::IniManager storeFor(const QString &location)
{
    if (SortMemory::isRegistryRoot(location))
        return data::IniManager(
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
            u"/registry.ini"_s);
    return data::IniManager(location);
}

QString sectionFor(const QString &location, const QString &key)
{
    return SortMemory::isRegistryRoot(location) ? location.toUpper() + u'\\' + key : key;
}

} // namespace

bool SortMemory::isRegistryRoot(const QString &location)
{
    static const QStringList roots{u"HKEY_CLASSES_ROOT"_s,     u"HKEY_CURRENT_USER"_s,
                                   u"HKEY_LOCAL_MACHINE"_s,    u"HKEY_USERS"_s,
                                   u"HKEY_PERFORMANCE_DATA"_s, u"HKEY_CURRENT_CONFIG"_s,
                                   u"HKEY_DYN_DATA"_s};
    return roots.contains(location, Qt::CaseInsensitive);
}

QString SortMemory::load(int control) const
{
    if (!isEnabled())
        return {};
    return storeFor(m_location)
        .fetch(sectionFor(m_location, m_key), ColumnSorter::storeName(control))
        .toString();
}

void SortMemory::save(int control, const QString &sort) const
{
    if (!isEnabled())
        return;
    storeFor(m_location)
        .update(sectionFor(m_location, m_key), ColumnSorter::storeName(control), sort);
}

} // namespace qaveq
