#pragma once

#include <QString>

#include <optional>

namespace qaveq::TextCase {

// The case a text entry keeps its text in, stored per field with the codes
// "DEF" (small text: left as typed), "CAP" (Capitalized Text) and "UPR" (ALL CAPS).
enum class Mode { Small, Capitalized, AllCaps };

QString code(Mode mode);
std::optional<Mode> fromCode(const QString &code);
QString menuText(Mode mode); // "small text", "Capitalized Text", "ALL CAPS"

QString apply(const QString &text, Mode mode);

// The requests to the suite's text-case store: "CAPEQD:Description" stores a
// choice, "000EQD:Description" asks for it.
QString storeRequest(Mode mode, const QString &field);
QString queryRequest(const QString &field);

} // namespace qaveq::TextCase
