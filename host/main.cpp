#include "CommandLine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qaveq"));
    QCoreApplication::setOrganizationName(QStringLiteral("qaveq"));
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return qaveq::host::runCommandLine(QCoreApplication::arguments(), in, out, err);
}
