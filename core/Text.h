#pragma once

#include <QString>
#include <QStringList>

namespace qaveq::Text {

// Removes trailing spaces (fixed-width texts are space padded).
QString clip(const QString &text);

// At most `width` characters (UTF-16 code units, as fields are measured),
// never ending in the first half of a surrogate pair.
QString left(const QString &text, qsizetype width);

// At most `width` characters, trailing spaces removed; cut as left() does.
QString cut(const QString &text, int width);

// Line breaks, tabs and the other C0 and C1 control characters, and DEL:
// never part of a stored text.
bool isControl(QChar c);
bool hasControl(QStringView text);
// Each control character replaced by a space.
QString controlsToSpaces(QString text);

// A message text broken at "|" into its lines.
QStringList messageLines(const QString &text);

// The message text with each "|" turned into a line break.
QString withLineBreaks(const QString &text);

// A long text in lines of at most `width` characters, broken after spaces
// where it can be and inside a word only when the word alone is wider.
QStringList wrap(const QString &text, int width);

} // namespace qaveq::Text
