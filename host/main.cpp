#include "CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qaveq"));
    QCoreApplication::setOrganizationName(QStringLiteral("qaveq"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return qaveq::host::runCommandLine(QCoreApplication::arguments(), out, err);
}
