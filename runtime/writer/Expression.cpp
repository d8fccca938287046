#include "Expression.h"

#include "Catalogue.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace qaveq::writer {

const QStringList &Expression::variables()
{
    static const QStringList names{u"Page"_s,        u"Date"_s,       u"Time"_s,
                                   u"CompanyName"_s, u"ReportName"_s, u"UserName"_s};
    return names;
}

std::optional<Expression> Expression::parse(const QString &text, QString *error)
{
    Expression expression;
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if ((c == u'{' || c == u'}') && i + 1 < text.size() && text.at(i + 1) == c) {
            literal += c;
            ++i;
            continue;
        }
        if (c == u'}') {
            *error = u"A \"}\" stands without its \"{\"; write \"}}\" for a brace."_s;
            return std::nullopt;
        }
        if (c != u'{') {
            literal += c;
            continue;
        }
        const qsizetype end = text.indexOf(u'}', i + 1);
        if (end < 0) {
            *error = u"A \"{\" is not closed."_s;
            return std::nullopt;
        }
        const QString name = text.mid(i + 1, end - i - 1).trimmed();
        if (name.isEmpty()) {
            *error = u"\"{}\" names nothing."_s;
            return std::nullopt;
        }
        if (!literal.isEmpty())
            expression.parts.append({std::exchange(literal, QString()), false});
        expression.parts.append({name, true});
        i = end;
    }
    if (!literal.isEmpty())
        expression.parts.append({literal, false});
    return expression;
}

QString Expression::unknownName(const Catalogue &catalogue) const
{
    for (const Part &part : parts) {
        if (!part.name)
            continue;
        if (!variables().contains(part.text, Qt::CaseInsensitive) && !catalogue.field(part.text))
            return part.text;
    }
    return {};
}

} // namespace qaveq::writer
