#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qaveq::writer {

class Catalogue;

// An expression object's template: text with names in braces, each replaced
// by its value when the band prints: "Page {Page}", "{EQH:EquipmentID} -
// {EQH:Description}". "{{" and "}}" stand for a brace. Nothing in it is run:
// a name is a catalogue field or one of the report's own values.
struct Expression
{
    struct Part
    {
        QString text; // literal text, or the name
        bool name = false;
    };
    QList<Part> parts;

    // The report's own values an expression may name.
    static const QStringList &variables();

    // The parts of a template; the fault in words when a brace is not closed
    // or a name is empty.
    static std::optional<Expression> parse(const QString &text, QString *error);
    // The first name neither a variable nor in the catalogue; empty when all are.
    QString unknownName(const Catalogue &catalogue) const;
};

} // namespace qaveq::writer
