#pragma once

#include <QString>

namespace qaveq {

// Where a column-header sorter keeps its sort between runs: in an INI file
// (the location is the file, the key its section) or, when the location names
// a registry root ("HKEY_CURRENT_USER"...), in the user's registry-like store
// under that root and key. An empty location or key keeps nothing.
class SortMemory
{
public:
    SortMemory(QString location, QString key)
        : m_location(std::move(location))
        , m_key(std::move(key))
    {}

    bool isEnabled() const { return !m_location.isEmpty() && !m_key.isEmpty(); }
    static bool isRegistryRoot(const QString &location);

    // The saved sort of list control `control` ("-3,1"), or empty.
    QString load(int control) const;
    void save(int control, const QString &sort) const;

private:
    QString m_location;
    QString m_key;
};

} // namespace qaveq
