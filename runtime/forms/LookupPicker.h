#pragma once

#include "core/Picker.h"

#include <QMap>

#include <functional>

namespace qaveq {

namespace data {
class FileSchema;
class Session;
} // namespace data

namespace forms {

// The picker of the windows: each list a form may open, by its procedure's
// name, called through the suite's globals.
class LookupPicker final : public Picker
{
public:
    using Lookup = std::function<std::optional<QString>(const QString &current)>;

    // A list procedure called to select: the current value goes into `field`
    // of the file's buffer first; the chosen record's `field` comes back.
    static Lookup list(data::Session &session, const data::FileSchema &file, QString field,
                       std::function<void()> procedure);

    void add(const QString &name, Lookup lookup) { m_lookups.insert(name, std::move(lookup)); }
    // A list nobody registered opens nothing: the user is left where he was.
    std::optional<QString> pick(const QString &lookup, const QString &current) override;

private:
    QMap<QString, Lookup> m_lookups;
};

} // namespace forms

} // namespace qaveq
