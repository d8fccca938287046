#include "DebugLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace qaveq {

namespace {

QString stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + u"/.local/state"_s;
    return base + u"/qaveq"_s;
}

} // namespace

DebugLog::DebugLog(QString filePath, bool toStderr)
    : m_filePath(std::move(filePath))
    , m_toStderr(toStderr)
{}

DebugLog &DebugLog::program()
{
    const QStringList arguments =
        QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
    static DebugLog log(programFilePath(), arguments.contains(u"--debug"_s));
    return log;
}

QString DebugLog::programFilePath()
{
    return stateFolder() + u"/qaveq.log"_s;
}

void DebugLog::write(const QString &line)
{
    if (m_toStderr)
        std::fprintf(stderr, "%s\n", qPrintable(line));
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QFile file(m_filePath);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << QDateTime::currentDateTime().toString(Qt::ISODate) << ' ' << line << '\n';
}

} // namespace qaveq
