#pragma once

#include "CommandLine.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace qaveq::testing {

// What one run of the command line gave.
struct Outcome
{
    int status = 0;
    QString out;
    QString err;
};

// The command line run in this process on the company in `company`, with
// `input` as its standard input.
inline Outcome runIn(const QString &company, const QStringList &arguments, QString input = {})
{
    Outcome run;
    QTextStream in(&input);
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = host::runCommandLine(
        QStringList{QStringLiteral("qaveq"), QStringLiteral("--company"), company} + arguments, in,
        out, err);
    out.flush();
    err.flush();
    return run;
}

} // namespace qaveq::testing
