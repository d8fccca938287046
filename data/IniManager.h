#pragma once

#include <QString>
#include <QVariant>

namespace qaveq::data {

// A settings file in the plain INI syntax of the suite: "[Section]" lines and
// "key=value" lines, ";" comments at the start of a line. A value is the whole
// text after the first "=" (commas, semicolons and all), trimmed, without one
// pair of surrounding quotes; sections and keys match whatever their case,
// as the suite's sites write them by hand.
class IniManager
{
public:
    explicit IniManager(const QString &path);

    QString path() const { return m_path; }
    // The value as text, or `fallback` when the file, section or key is missing.
    QVariant fetch(const QString &section, const QString &key, const QVariant &fallback = {}) const;
    bool contains(const QString &section, const QString &key) const;
    // Writes the value in its place (or at the end of its section), keeping
    // every other line as it was; false when the file cannot be written.
    bool update(const QString &section, const QString &key, const QVariant &value);

private:
    QString m_path;
};

} // namespace qaveq::data
