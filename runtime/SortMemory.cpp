#include "SortMemory.h"

#include "ColumnSorter.h"

#include <QSettings>
#include <QStandardPaths>

#include <memory>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

std::unique_ptr<QSettings> storeFor(const QString &location)
{
    if (SortMemory::isRegistryRoot(location))
        return std::make_unique<QSettings>(
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                u"/registry.ini"_s,
            QSettings::IniFormat);
    return std::make_unique<QSettings>(location, QSettings::IniFormat);
}

QString groupFor(const QString &location, const QString &key)
{
    return SortMemory::isRegistryRoot(location)
               ? location.toUpper() + u'/' + QString(key).replace(u'\\', u'/')
               : key;
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
    const auto store = storeFor(m_location);
    store->beginGroup(groupFor(m_location, m_key));
    return store->value(ColumnSorter::storeName(control)).toString();
}

void SortMemory::save(int control, const QString &sort) const
{
    if (!isEnabled())
        return;
    const auto store = storeFor(m_location);
    store->beginGroup(groupFor(m_location, m_key));
    store->setValue(ColumnSorter::storeName(control), sort);
}

} // namespace qaveq
