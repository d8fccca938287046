#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace qaveq {

// A file written for the user (a PDF, a report's text copy, a list sent to a
// file). It is written to a temporary file beside its target and takes the
// target's name only once every byte is on the disk, so a failed or stopped
// write (a full disk) leaves nothing behind, never an empty or cut file.
//
//   OutputFile file(path);
//   if (QString refused = OutputFile::refusal(path); ...) ...
//   file.open(QIODevice::WriteOnly); ... writes ...
//   if (QString error = file.finish(); !error.isEmpty()) ...
class OutputFile final : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;
    using QSaveFile::write;

    // Why `path` cannot take such a file; empty when it can. A FIFO, device
    // or folder is refused, as a written file would replace it; so is a
    // symbolic link, so that a link planted in a shared folder never
    // redirects a write.
    static QString refusal(const QString &path);
    // Why a write to `file` failed: its error, or, for a write cut short
    // without one (as on a full disk), that only part could be written.
    static QString writeFailure(const QFileDevice &file);
    // Writes `bytes` to `path` whole or not at all; the reason when it could not.
    static QString write(const QString &path, const QByteArray &bytes);

    // Renames the file into place when every byte was written; otherwise
    // discards it and returns the reason.
    QString finish();

protected:
    // A write to a full disk can be cut short without an error: noted here,
    // as the writers (the PDF engine) do not look.
    qint64 writeData(const char *data, qint64 length) override;

private:
    bool m_cut = false;
};

} // namespace qaveq
