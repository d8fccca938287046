#include "ExportSpool.h"

#include <QDataStream>
#include <QDir>

using namespace Qt::StringLiterals;

namespace qaveq::report {

bool ExportSpool::open()
{
    // QTemporaryFile makes the file readable by its owner only.
    auto file = std::make_unique<QTemporaryFile>(QDir::temp().filePath(u"qaveq-export-XXXXXX"_s));
    if (!file->open()) {
        m_error = file->errorString();
        return false;
    }
    m_file = std::move(file);
    m_stream.setDevice(m_file.get());
    m_stream.setVersion(QDataStream::Qt_6_4);
    // The file is read back by this run on this machine: its own byte order
    // lets text go as it is held, unconverted.
    m_stream.setByteOrder(QDataStream::ByteOrder(QSysInfo::ByteOrder));
    return true;
}

bool ExportSpool::append(const QStringList &lines)
{
    if (lines.isEmpty())
        return true;
    if (!m_file && !open())
        return false;
    // Each line with its length, so that a line holding a line break reads
    // back as the one line it was.
    for (const QString &line : lines)
        m_stream << line;
    if (m_stream.status() != QDataStream::Ok) {
        m_error = m_file->errorString();
        return false;
    }
    m_count += lines.size();
    return true;
}

QStringList ExportSpool::lines()
{
    QStringList read;
    if (!m_file)
        return read;
    if (!m_file->flush() || !m_file->seek(0)) {
        m_error = m_file->errorString();
        return read;
    }
    read.reserve(m_count);
    for (qint64 i = 0; i < m_count; ++i) {
        QString line;
        m_stream >> line;
        if (m_stream.status() != QDataStream::Ok) {
            m_error =
                u"The report's text copy cannot be read back from %1."_s.arg(m_file->fileName());
            return {};
        }
        read.append(line);
    }
    m_file->seek(m_file->size());
    return read;
}

void ExportSpool::clear()
{
    m_stream.setDevice(nullptr);
    m_file.reset();
    m_count = 0;
    m_error.clear();
}

} // namespace qaveq::report
