#pragma once

#include <QStringList>
#include <QTemporaryFile>

#include <memory>

namespace qaveq::report {

// The text copy of a report kept for "Export This Report" while its bands
// print: lines go to a private temporary file as they come, a large piece at
// a time, and are read back only when the report is exported, so that the
// copy of a long report costs disk, not memory.
class ExportSpool
{
public:
    // False with the reason in error() when the lines cannot be kept.
    bool append(const QStringList &lines);
    qint64 count() const { return m_count; }
    // Every line kept, in order; empty when the file cannot be read back
    // (error() says why).
    QStringList lines();
    QString error() const { return m_error; }
    // Removes the lines and the file.
    void clear();

private:
    bool open();
    bool writePending();

    std::unique_ptr<QTemporaryFile> m_file; // made with the first line
    QByteArray m_pending;                   // lines not yet written to the file
    qint64 m_count = 0;
    QString m_error;
};

} // namespace qaveq::report
