#include "ImportText.h"

#include <QIODevice>

#include <algorithm>
#include <array>

namespace qaveq::ImportText {

namespace {

constexpr qint64 Chunk = 64 * 1024;
constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

// The length of the valid UTF-8 sequence at `at`; 0 when it is invalid, -1
// when the bytes end before it does.
int sequenceAt(const uchar *bytes, qsizetype size, qsizetype at)
{
    const uchar lead = bytes[at];
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t point = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, point = lead & 0x1F, lowest = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, point = lead & 0x0F, lowest = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, point = lead & 0x07, lowest = 0x10000;
    else
        return 0;
    for (int i = 1; i < length; ++i) {
        if (at + i >= size)
            return -1;
        const uchar next = bytes[at + i];
        if ((next & 0xC0) != 0x80)
            return 0;
        point = (point << 6) | (next & 0x3F);
    }
    if (point < lowest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

bool isUtf8(QIODevice &device)
{
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = device.read(Chunk);
        bytes += chunk;
        const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
        qsizetype at = 0;
        while (at < bytes.size()) {
            const int length = sequenceAt(data, bytes.size(), at);
            if (length == 0)
                return false;
            if (length < 0)
                break;
            at += length;
        }
        // An unfinished sequence waits for the next chunk; at the end it is an error.
        bytes.remove(0, at);
        if (chunk.isEmpty())
            return bytes.isEmpty();
    }
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<uchar>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

LineReader::LineReader(QIODevice &device, bool windows1252)
    : m_device(device)
    , m_windows1252(windows1252)
    // Room for the longest line in bytes, its "\r\n" and the terminating NUL.
    , m_buffer(qsizetype(MaxCharacters) * (windows1252 ? 1 : 4) + 3, Qt::Uninitialized)
{}

bool LineReader::skipToLineEnd()
{
    while (!m_device.atEnd()) {
        const qint64 read = m_device.readLine(m_buffer.data(), m_buffer.size());
        if (read < 0)
            return false;
        if (read > 0 && m_buffer.at(read - 1) == '\n')
            break;
    }
    return true;
}

LineReader::State LineReader::next(QString &line)
{
    if (m_device.atEnd())
        return State::End;
    const qint64 read = m_device.readLine(m_buffer.data(), m_buffer.size());
    if (read < 0)
        return State::Failed;
    QByteArrayView bytes(m_buffer.constData(), read);
    if (bytes.endsWith('\n')) {
        bytes.chop(1);
    } else if (read == m_buffer.size() - 1 && !m_device.atEnd()) {
        m_first = false;
        return skipToLineEnd() ? State::TooLong : State::Failed;
    }
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    if (m_first && bytes.startsWith(ByteOrderMark))
        bytes = bytes.sliced(ByteOrderMark.size());
    m_first = false;
    line = m_windows1252 ? fromWindows1252(bytes) : QString::fromUtf8(bytes);
    if (line.size() > MaxCharacters) {
        const auto halves =
            std::count_if(line.begin(), line.end(), [](QChar c) { return c.isLowSurrogate(); });
        if (line.size() - halves > MaxCharacters)
            return State::TooLong;
    }
    return State::Line;
}

} // namespace qaveq::ImportText
