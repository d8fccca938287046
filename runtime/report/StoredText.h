#pragma once

#include <QString>

namespace qaveq::report::StoredText {

// Text as a report run keeps it in its private files, the page store and the
// export copy, which only the same run reads back: its length, then a byte a
// character when every character is Latin-1 (as nearly all report text is),
// the length negated to say so, or else UTF-16 as it is held.

// The longest text the length holds: 2^31 - 1 characters.
constexpr qsizetype MaxLength = 0x7fffffff;

// The most a text takes.
constexpr qsizetype maxBytes(QStringView text)
{
    return qsizetype(sizeof(qint32)) + text.size() * qsizetype(sizeof(char16_t));
}

// Writes `text`, at most MaxLength characters, at `at`, which has room for
// maxBytes(text); returns where it ends.
char *write(char *at, QStringView text);

// Reads the text at `next`, moving `next` past it; false, with `next` where
// it was, when the bytes up to `end` do not hold a whole text.
bool read(const char *&next, const char *end, QString &text);

} // namespace qaveq::report::StoredText
