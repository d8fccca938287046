#pragma once

#include <QString>
#include <QStringList>

namespace qaveq::Text {

// Removes trailing spaces (fixed-width texts are space padded).
QString clip(const QString &text);

// At most `width` characters, trailing spaces removed.
QString cut(const QString &text, int width);

// A message text broken at "|" into its lines.
QStringList messageLines(const QString &text);

// The message text with each "|" turned into a line break.
QString withLineBreaks(const QString &text);

// A long text in lines of at most `width` characters, broken after spaces
// where it can be and inside a word only when the word alone is wider.
QStringList wrap(const QString &text, int width);

} // namespace qaveq::Text
