#pragma once

#include <QString>
#include <QtGlobal>

#include <benchmark/benchmark.h>

struct sqlite3;

// What every benchmark shares: its own SQLite connections opened as the
// company's are, and the process's memory.
namespace qaveq::bench {

// A connection of the benchmark's own to `file`, with the page cache and
// memory map of the company's connections, so that both sides of a pair are
// measured with the same settings.
sqlite3 *openSqlite(const QString &file);

// A timing in milliseconds (a whole run) or microseconds (a single step, such
// as a list's first page) that reports "_min" beside the mean and median:
// the mean shows a cold or disturbed repetition, the minimum what the code
// costs when nothing else runs.
void inMilliseconds(benchmark::internal::Benchmark *timing);
void inMicroseconds(benchmark::internal::Benchmark *timing);

// Runs the benchmarks the command line names, as Google Benchmark's own
// main does, once the caller has made its application object.
void runBenchmarks(int argc, char **argv);

// The same under an application object of the kind the benchmarks need,
// without a screen.
template <class Application> int runWith(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    runBenchmarks(argc, argv);
    return 0;
}

// The growth of the process's memory over one run, from its construction:
// the peak is reset then, so that the growth is not hidden under the peak of
// building the data or of an earlier run. The pages of the database that
// SQLite maps (read in place, shared with the system's file cache, dropped
// by it at will) are told apart from the rest.
class MemoryGrowth
{
public:
    MemoryGrowth();
    // Kilobytes of file pages mapped since (RssFile).
    long mapped() const;
    // Kilobytes the resident peak (VmHWM) grew by, less mapped().
    long peak() const;

private:
    long m_peak = 0;
    long m_mapped = 0;
};

} // namespace qaveq::bench
