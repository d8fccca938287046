#include "IniManager.h"

namespace qaveq::data {

IniManager::IniManager(const QString &path)
    : m_path(path)
    , m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{}

QVariant IniManager::fetch(const QString &section, const QString &key,
                           const QVariant &fallback) const
{
    return m_settings->value(section + u'/' + key, fallback);
}

void IniManager::update(const QString &section, const QString &key, const QVariant &value)
{
    m_settings->setValue(section + u'/' + key, value);
    m_settings->sync();
}

} // namespace qaveq::data
