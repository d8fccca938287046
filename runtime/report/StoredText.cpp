#include "StoredText.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace qaveq::report::StoredText {

char *write(char *at, QStringView text)
{
    if (text.size() > std::numeric_limits<qint32>::max())
        throw std::length_error("a report text of 2^31 characters or more");
    const auto size = qint32(text.size());
    const char16_t *chars = text.utf16();
    if (std::any_of(chars, chars + size, [](char16_t c) { return c > 0xff; })) {
        std::memcpy(at, &size, sizeof size);
        at += sizeof size;
        std::memcpy(at, chars, size_t(size) * sizeof(char16_t));
        return at + size * qsizetype(sizeof(char16_t));
    }
    const qint32 latin1 = -size;
    std::memcpy(at, &latin1, sizeof latin1);
    at += sizeof latin1;
    return std::transform(chars, chars + size, at, [](char16_t c) { return char(c); });
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
