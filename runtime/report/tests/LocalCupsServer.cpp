#include "LocalCupsServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qaveq::testing {

namespace {

const QString CupsPdfPpd = u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_s;

QString findProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name, {u"/usr/sbin"_s, u"/usr/bin"_s, u"/sbin"_s});
}

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

// A port free on 127.0.0.1 now (0: none), or whether `port` takes connections.
int loopbackPort(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    int result = 0;
    if (port == 0) {
        socklen_t length = sizeof address;
        if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            result = ntohs(address.sin_port);
    } else if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        result = port;
    }
    ::close(fd);
    return result;
}

} // namespace

LocalCupsServer::LocalCupsServer()
{
    const QString cupsd = findProgram(u"cupsd"_s);
    if (cupsd.isEmpty() || findProgram(u"lpadmin"_s).isEmpty()) {
        m_unavailable = u"cupsd and lpadmin are not installed (Debian package cups)"_s;
        return;
    }
    if (!QFileInfo::exists(CupsPdfPpd) || !QFileInfo::exists(u"/usr/lib/cups/backend/cups-pdf"_s)) {
        m_unavailable = u"cups-pdf is not installed (Debian package printer-driver-cups-pdf)"_s;
        return;
    }
    // The filters run as another user and must reach the spool.
    QFile::setPermissions(m_folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
    const int port = loopbackPort(0);
    if (port == 0) {
        m_unavailable = u"no free port on 127.0.0.1"_s;
        return;
    }
    m_address = u"127.0.0.1:%1"_s.arg(port);
    const QString root = m_folder.path();
    for (const QString &sub : {u"spool"_s, u"tmp"_s, u"cache"_s, u"state"_s})
        QDir(root).mkpath(sub);
    const bool written =
        writeFile(root + u"/cupsd.conf"_s,
                  u"Listen %1\nLogLevel warn\nDefaultAuthType None\nWebInterface No\n"
                  "Browsing Off\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                  "</Policy>\n"_s.arg(m_address)) &&
        writeFile(root + u"/cups-files.conf"_s,
                  u"ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                  "StateDir %1/state\nErrorLog %1/error_log\nAccessLog %1/access_log\n"
                  "PageLog %1/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                  "Sandboxing Relaxed\nSystemGroup root\n"_s.arg(root));
    if (!written) {
        m_unavailable = u"the server's settings cannot be written in "_s + root;
        return;
    }
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(
        cupsd, {u"-f"_s, u"-c"_s, root + u"/cupsd.conf"_s, u"-s"_s, root + u"/cups-files.conf"_s});
    if (!m_cupsd.waitForStarted(5000)) {
        m_unavailable = u"cupsd does not start: "_s + m_cupsd.errorString();
        return;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (loopbackPort(port) == port)
            break;
        if (m_cupsd.state() != QProcess::Running) {
            m_unavailable = u"cupsd ended: "_s + QString::fromLocal8Bit(m_cupsd.readAll());
            return;
        }
        QThread::msleep(100);
    }
    if (deadline.hasExpired()) {
        m_unavailable = u"cupsd does not answer on "_s + m_address;
        return;
    }
    // The print service of this process and of the tools it starts.
    qputenv("CUPS_SERVER", m_address.toUtf8());
    cupsSetServer(m_address.toUtf8().constData());
    // Not a user with a home, so that cups-pdf files the PDFs as anonymous.
    cupsSetUser("qaveq-test");
}

LocalCupsServer::~LocalCupsServer()
{
    if (m_cupsd.state() == QProcess::Running) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(5000))
            m_cupsd.kill();
    }
    cupsSetServer(nullptr);
    cupsSetUser(nullptr);
    qunsetenv("CUPS_SERVER");
}

bool LocalCupsServer::addQueue(const QString &name, bool isDefault)
{
    if (!tool(u"lpadmin"_s,
              {u"-p"_s, name, u"-E"_s, u"-v"_s, u"cups-pdf:/"_s, u"-P"_s, CupsPdfPpd}))
        return false;
    return !isDefault || tool(u"lpadmin"_s, {u"-d"_s, name});
}

bool LocalCupsServer::tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(findProgram(program), QStringList{u"-h"_s, m_address} + arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QStringList LocalCupsServer::jobTitles(const QString &queue) const
{
    cups_job_t *jobs = nullptr;
    const QByteArray name = queue.toUtf8();
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 0, CUPS_WHICHJOBS_ALL);
    QStringList titles;
    for (int i = 0; i < count; ++i)
        titles.append(QString::fromUtf8(jobs[i].title));
    cupsFreeJobs(count, jobs);
    return titles;
}

} // namespace qaveq::testing
