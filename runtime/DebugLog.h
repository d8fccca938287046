#pragma once

#include <QString>

namespace qaveq {

// The program's debug log: the file "qaveq.log" in the user's state folder
// ($XDG_STATE_HOME/qaveq, else ~/.local/state/qaveq), and stderr as well when
// the command line says --debug.
class DebugLog
{
public:
    DebugLog(QString filePath, bool toStderr);

    static DebugLog &program();
    static QString programFilePath();

    void write(const QString &line);
    const QString &filePath() const { return m_filePath; }

private:
    QString m_filePath;
    bool m_toStderr;
};

} // namespace qaveq
