#include "OutputFile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

// A short write carries no error of its own.
QString cutShort()
{
    return u"only part of it could be written (the disk may be full)"_s;
}

} // namespace

QString OutputFile::refusal(const QString &path)
{
    const QFileInfo target(path);
    if (target.isSymLink())
        return u"%1 is a link; choose the file itself"_s.arg(path);
    if (target.exists() && !target.isFile())
        return u"%1 is not a plain file"_s.arg(path);
    // The system's folders of devices and processes hold no user's files.
    const QString folder = QFileInfo(target.absolutePath()).canonicalFilePath();
    for (const QString &system : {u"/dev"_s, u"/proc"_s, u"/sys"_s})
        if (folder == system || folder.startsWith(system + u'/'))
            return u"%1 is in the system folder %2; choose a file elsewhere"_s.arg(path, system);
    return {};
}

QString OutputFile::write(const QString &path, const QByteArray &bytes)
{
    if (QString refused = refusal(path); !refused.isEmpty())
        return refused;
    OutputFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return u"%1 cannot be written: %2"_s.arg(path, file.errorString());
    file.write(bytes);
    return file.finish();
}

QString OutputFile::writeFailure(const QFileDevice &file)
{
    return file.error() != QFileDevice::NoError ? file.errorString() : cutShort();
}

qint64 OutputFile::writeData(const char *data, qint64 length)
{
    const qint64 written = QSaveFile::writeData(data, length);
    if (written != length)
        m_cut = true;
    return written;
}

QString OutputFile::finish()
{
    // Flushed here, where a failure is seen: committing ignores one.
    const bool flushed = flush();
    if (flushed && !m_cut && error() == QFileDevice::NoError && commit())
        return {};
    const QString reason = u"%1 cannot be written: %2"_s.arg(
        fileName(), flushed && !m_cut ? errorString() : cutShort());
    cancelWriting();
    return reason;
}

} // namespace qaveq
