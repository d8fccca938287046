#include "BenchSupport.h"

#include "data/Database.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace qaveq::bench {

namespace {

long statusKilobytes(const QByteArray &field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The fastest of a benchmark's repetitions.
double minimum(const std::vector<double> &repetitions)
{
    return repetitions.empty() ? 0.0 : *std::min_element(repetitions.begin(), repetitions.end());
}

} // namespace

sqlite3 *openSqlite(const QString &file)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    const std::string settings =
        "PRAGMA cache_size=-" + std::to_string(data::Database::SqliteCacheKilobytes) +
        "; PRAGMA mmap_size=" + std::to_string(data::Database::SqliteMapBytes);
    sqlite3_exec(db, settings.c_str(), nullptr, nullptr, nullptr);
    return db;
}

MemoryGrowth::MemoryGrowth()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    m_peak = statusKilobytes("VmHWM:");
    m_mapped = statusKilobytes("RssFile:");
}

long MemoryGrowth::mapped() const
{
    return statusKilobytes("RssFile:") - m_mapped;
}

long MemoryGrowth::peak() const
{
    return statusKilobytes("VmHWM:") - m_peak - std::max(0L, mapped());
}

void inMilliseconds(benchmark::internal::Benchmark *timing)
{
    timing->ComputeStatistics("min", minimum)->Unit(benchmark::kMillisecond);
}

void inMicroseconds(benchmark::internal::Benchmark *timing)
{
    timing->ComputeStatistics("min", minimum)->Unit(benchmark::kMicrosecond);
}

void runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

} // namespace qaveq::bench
