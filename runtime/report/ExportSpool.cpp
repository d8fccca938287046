#include "ExportSpool.h"

#include "StoredText.h"

#include "core/OutputFile.h"

#include <QDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qaveq::report {

namespace {

// Lines are written to the file in pieces of about this size, and read back
// in pieces of it.
constexpr qsizetype Piece = 256 * 1024;

} // namespace

bool ExportSpool::open()
{
    // QTemporaryFile makes the file readable by its owner only.
    auto file = std::make_unique<QTemporaryFile>(QDir::temp().filePath(u"qaveq-export-XXXXXX"_s));
    if (!file->open()) {
        m_error = file->errorString();
        return false;
    }
    m_file = std::move(file);
    return true;
}

bool ExportSpool::append(const QStringList &lines)
{
    if (lines.isEmpty())
        return true;
    const auto tooLong = [](const QString &line) { return line.size() > StoredText::MaxLength; };
    if (std::any_of(lines.begin(), lines.end(), tooLong)) {
        m_error = u"A line of the report is too long to keep for its export."_s;
        return false;
    }
    if (!m_file && !open())
        return false;
    // Each line with its length, so that a line holding a line break reads
    // back as the one line it was.
    for (const QString &line : lines) {
        const qsizetype at = m_pending.size();
        m_pending.resize(at + StoredText::maxBytes(line));
        m_pending.resize(StoredText::write(m_pending.data() + at, line) - m_pending.constData());
    }
    m_count += lines.size();
    return m_pending.size() < Piece || writePending();
}

bool ExportSpool::writePending()
{
    // Flushed at once: a full disk is seen at the piece that did not fit.
    if (m_file->write(m_pending) != m_pending.size() || !m_file->flush()) {
        m_error = u"%1: %2"_s.arg(m_file->fileName(), OutputFile::writeFailure(*m_file));
        return false;
    }
    m_pending.resize(0);
    return true;
}

QStringList ExportSpool::lines()
{
    if (!m_file)
        return {};
    if (!writePending())
        return {};
    if (!m_file->seek(0)) {
        m_error = m_file->errorString();
        return {};
    }
    QStringList read;
    read.reserve(m_count);
    QByteArray piece;
    qsizetype used = 0;
    while (read.size() < m_count) {
        const char *next = piece.constData() + used;
        QString line;
        if (StoredText::read(next, piece.constEnd(), line)) {
            read.append(std::move(line));
            used = next - piece.constData();
            continue;
        }
        // What is left of the piece begins a line: it goes on in the next.
        const QByteArray more = m_file->read(Piece);
        if (more.isEmpty()) {
            m_error =
                u"The report's text copy cannot be read back from %1."_s.arg(m_file->fileName());
            return {};
        }
        piece = piece.sliced(used) + more;
        used = 0;
    }
    m_file->seek(m_file->size());
    return read;
}

void ExportSpool::clear()
{
    m_file.reset();
    m_pending.clear();
    m_count = 0;
    m_error.clear();
}

} // namespace qaveq::report
