#include "LookupPicker.h"

#include "data/RequestScope.h"

#include "core/Text.h"

namespace qaveq::forms {

LookupPicker::Lookup LookupPicker::list(data::Session &session, const data::FileSchema &file,
                                        QString field, std::function<void()> procedure)
{
    return [&session, &file, field = std::move(field),
            procedure = std::move(procedure)](const QString &current) -> std::optional<QString> {
        data::RequestScope scope(session, data::Request::Select);
        scope.prime(file, field, current);
        procedure();
        if (!scope.completed())
            return std::nullopt;
        return Text::clip(std::get<QString>(session.buffer(file).value(field)));
    };
}

std::optional<QString> LookupPicker::pick(const QString &lookup, const QString &current)
{
    const auto found = m_lookups.constFind(lookup);
    if (found == m_lookups.cend())
        return std::nullopt;
    return (*found)(current);
}

} // namespace qaveq::forms
