#include "CommandLine.h"
#include "window/WindowedRun.h"

#include "runtime/DebugLog.h"

#include <QApplication>
#include <QCoreApplication>

#include <memory>

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
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
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
    QCoreApplication::setApplicationName(QStringLiteral("qaveq"));
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return qaveq::host::runCommandLine(QCoreApplication::arguments(), in, out, err);
}
