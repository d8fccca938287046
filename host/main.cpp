#include "CommandLine.h"
#include "window/WindowedRun.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const qaveq::host::ParsedCommandLine parsed = qaveq::host::parseCommandLine(arguments);
    if (!parsed.help && parsed.error.isEmpty() && parsed.command < 0)
        return qaveq::host::runWindows(argc, argv, parsed.global);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qaveq"));
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return qaveq::host::runCommandLine(QCoreApplication::arguments(), in, out, err);
}
