#pragma once

#include "CommandLine.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <gtest/gtest.h>

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

// What the program, run as a process of its own, gave once it ended; status
// -1 when it did not end normally.
inline Outcome finished(QProcess &run)
{
    Outcome outcome;
    EXPECT_TRUE(run.waitForFinished(120000));
    outcome.status = run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
    outcome.out = QString::fromUtf8(run.readAllStandardOutput());
    outcome.err = QString::fromUtf8(run.readAllStandardError());
    return outcome;
}

} // namespace qaveq::testing
