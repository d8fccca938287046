#include "StoredText.h"

#include <cstring>

namespace qaveq::report::StoredText {

char *write(char *at, QStringView text)
{
    Q_ASSERT(text.size() <= MaxLength);
    const auto size = qint32(text.size());
    const char16_t *chars = text.utf16();
    // A byte a character first, in one pass that also finds whether every
    // character fits in one; room is kept for the UTF-16 form regardless.
    char *const start = at + sizeof size;
    char16_t seen = 0;
    for (qint32 i = 0; i < size; ++i) {
        seen |= chars[i];
        start[i] = char(chars[i]);
    }
    if (seen <= 0xff) {
        const qint32 latin1 = -size;
        std::memcpy(at, &latin1, sizeof latin1);
        return start + size;
    }
    std::memcpy(at, &size, sizeof size);
    std::memcpy(start, chars, size_t(size) * sizeof(char16_t));
    return start + size * qsizetype(sizeof(char16_t));
}

bool read(const char *&next, const char *end, QString &text)
{
    qint32 size = 0;
    if (end - next < qsizetype(sizeof size))
        return false;
    std::memcpy(&size, next, sizeof size);
    const char *chars = next + sizeof size;
    if (size < 0) {
        const qsizetype latin1 = -qsizetype(size);
        if (end - chars < latin1)
            return false;
        text = QString::fromLatin1(chars, latin1);
        next = chars + latin1;
        return true;
    }
    const qsizetype bytes = qsizetype(size) * qsizetype(sizeof(char16_t));
    if (end - chars < bytes)
        return false;
    text = QString(reinterpret_cast<const QChar *>(chars), size);
    next = chars + bytes;
    return true;
}

} // namespace qaveq::report::StoredText
