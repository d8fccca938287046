#pragma once

#include <QByteArray>
#include <QString>

namespace qaveq {

// Files written for the user (PDFs, report text copies, lists sent to a
// file). Each is written to a temporary file beside its target and renamed
// into place once complete, so a failed or stopped write (a full disk) leaves
// nothing behind and never an empty or half file.
namespace OutputFile {

// Why `path` cannot take such a file; empty when it can. A FIFO, device or
// folder is refused, as a written file would replace it; so is a symbolic
// link, so that a link planted in a shared folder never redirects a write.
QString refusal(const QString &path);

// Writes `bytes` to `path` whole or not at all; the reason when it could not.
QString write(const QString &path, const QByteArray &bytes);

} // namespace OutputFile

} // namespace qaveq
