#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

namespace qaveq::data {

// A settings file in the plain INI syntax: sections of key=value lines.
class IniManager
{
public:
    explicit IniManager(const QString &path);

    QString path() const { return m_path; }
    QVariant fetch(const QString &section, const QString &key, const QVariant &fallback = {}) const;
    void update(const QString &section, const QString &key, const QVariant &value);

private:
    QString m_path;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace qaveq::data
