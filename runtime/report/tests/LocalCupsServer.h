#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace qaveq::testing {

// A CUPS server of one test's own on 127.0.0.1, with cups-pdf queues; this
// process's print requests and the CUPS tools it starts go to it.
class LocalCupsServer
{
public:
    LocalCupsServer();
    ~LocalCupsServer();

    // Empty when the server runs; else why it could not start.
    QString unavailable() const { return m_unavailable; }
    QString address() const { return m_address; }

    // Adds a cups-pdf queue, the server's default one when `isDefault`.
    bool addQueue(const QString &name, bool isDefault);
    // Runs a CUPS tool (cupsreject, cupsdisable ...) against this server.
    bool tool(const QString &program, const QStringList &arguments);
    // The titles of the jobs the queue was given.
    QStringList jobTitles(const QString &queue) const;

private:
    QTemporaryDir m_folder;
    QProcess m_cupsd;
    QString m_address;
    QString m_unavailable;
};

} // namespace qaveq::testing
