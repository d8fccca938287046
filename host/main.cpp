#include "CommandLine.h"
#include "window/WindowedRun.h"

#include "runtime/DebugLog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QtMessageHandler shownMessages = nullptr;

// Warnings of Qt and of the program (an action stopped in the windows, a
// plugin that failed to load) are kept in the debug log as well, so that a
// user can send them after the terminal is gone.
void keepMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        qaveq::DebugLog(qaveq::DebugLog::programFilePath(), false).write(message);
    shownMessages(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    shownMessages = qInstallMessageHandler(keepMessage);
    // Every value given on the command line is text that may be stored:
    // bytes that are not UTF-8 are refused, never turned into U+FFFD.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString argument = utf8(QByteArrayView(argv[i]));
        arguments.append(argument);
        if (utf8.hasError()) {
            std::fprintf(stderr, "qaveq: argument %d is not UTF-8 text\n", i);
            return qaveq::host::UsageError;
        }
    }
    const qaveq::host::ParsedCommandLine parsed = qaveq::host::parseCommandLine(arguments);
    if (!parsed.help && !parsed.version && parsed.error.isEmpty() && parsed.command < 0)
        return qaveq::host::runWindows(argc, argv, parsed.global);

    // Commands that draw pages need fonts and the graph library, which want a
    // GUI application; without a display it draws off screen.
    std::unique_ptr<QCoreApplication> app;
    if (qaveq::host::commandPaints(arguments)) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(u"qaveq"_s);
    int status = 0;
    {
        QTextStream in(stdin);
        QTextStream out(stdout);
        QTextStream err(stderr);
        status = qaveq::host::runCommandLine(QCoreApplication::arguments(), in, out, err);
    }
    // The last of the output may sit in the C library's buffer, and a file
    // system may report a failed write only when the file is closed.
    if (std::fflush(stdout) != 0 || std::fclose(stdout) != 0) {
        if (status != 0)
            return status; // the reason was given already
        std::fprintf(stderr, "qaveq: the standard output could not be written: %s\n",
                     std::strerror(errno));
        return qaveq::host::Failure;
    }
    return status;
}
