#include "CommandLine.h"
#include "window/WindowedRun.h"

#include <QApplication>
#include <QCoreApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const qaveq::host::ParsedCommandLine parsed = qaveq::host::parseCommandLine(arguments);
    if (!parsed.help && parsed.error.isEmpty() && parsed.command < 0)
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
