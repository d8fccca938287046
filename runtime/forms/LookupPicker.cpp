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
        if (std::holds_alternative<qint64>(session.buffer(file).value(field)))
            scope.prime(file, field, current.toLongLong());
        else
            scope.prime(file, field, current);
        procedure();
        if (!scope.completed())
            return std::nullopt;
        const data::FieldValue chosen = session.buffer(file).value(field);
        if (const auto *number = std::get_if<qint64>(&chosen))
            return QString::number(*number);
        return Text::clip(std::get<QString>(chosen));
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
