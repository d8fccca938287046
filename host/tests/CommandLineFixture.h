#pragma once

#include "CommandRun.h"

#include "records/ModuleFiles.h"

#include "data/Company.h"
#include "data/Transaction.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <array>

#include <gtest/gtest.h>

namespace qaveq::testing {

// A company folder of its own for each test, and the command line run on it:
// in this process, or as the built program (two stations side by side).
class CommandLineTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;

    // What a run writes to the current folder (a PDF the options do not
    // name) goes with the test's own folder, never into the tree the tests
    // are run from.
    void SetUp() override
    {
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
    }
    void TearDown() override { QDir::setCurrent(m_previousFolder); }

    QString company() const
    {
        using namespace Qt::StringLiterals;
        return folder.path() + u"/co"_s;
    }

    void start(QProcess &run, const QStringList &arguments)
    {
        using namespace Qt::StringLiterals;
        run.start(QStringLiteral(QAVEQ_PROGRAM),
                  QStringList{u"--company"_s, company()} + arguments);
    }

    // Two stations at once: the built program run twice side by side.
    std::array<Outcome, 2> together(const QStringList &arguments)
    {
        std::array<QProcess, 2> runs;
        for (QProcess &run : runs)
            start(run, arguments);
        return {finished(runs[0]), finished(runs[1])};
    }

    // The program run while another station holds `file` past the run's
    // wait (as a long load does).
    Outcome besideHeld(const QString &file, const QStringList &arguments)
    {
        data::Company station(company(), companyCatalog());
        data::Transaction held(station.database(), {file}, std::chrono::seconds(1));
        EXPECT_TRUE(held.isActive());
        QProcess run;
        start(run, arguments);
        return finished(run);
    }

    // A run that lost the race failed and said why; one that won succeeded.
    static void expectWonOrToldWhy(const Outcome &run, const QString &file)
    {
        using namespace Qt::StringLiterals;
        if (run.status == 0)
            return;
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(u"Another station is using "_s + file))
            << run.err.toStdString();
    }

    Outcome qaveq(const QStringList &arguments, QString input = {})
    {
        return runIn(company(), arguments, std::move(input));
    }

private:
    QString m_previousFolder;
};

} // namespace qaveq::testing
