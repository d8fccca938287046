#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace qaveq::ImportText {

// Whether the bytes from the device's current position to its end are valid
// UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF). Reads in
// chunks: the whole file is never held.
bool isUtf8(QIODevice &device);

// Windows-1252 text as Unicode; its five unassigned bytes become the C1
// control characters of the same value.
QString fromWindows1252(QByteArrayView bytes);

// The lines of an import file, one at a time, each at most MaxCharacters long.
// A longer line is passed over without being kept, and said to be too long.
// A UTF-8 byte-order mark before the first line is no part of it; a line may
// end in "\r\n".
class LineReader
{
public:
    static constexpr int MaxCharacters = 1024;
    enum class State { Line, TooLong, End, Failed };

    LineReader(QIODevice &device, bool windows1252);
    State next(QString &line);

private:
    bool skipToLineEnd();

    QIODevice &m_device;
    bool m_windows1252;
    bool m_first = true;
    QByteArray m_buffer;
};

} // namespace qaveq::ImportText
