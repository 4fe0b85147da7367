// What the drive queries of a refresh cost on this machine's real mounts,
// through the Linux platform (drive map + statvfs on a helper thread).
//
// DiskSizeFreePair: the program's DiskSize + DiskFree of "C:" (two
//   GetDiskFreeSpaceEx calls), the figure a row costs.
// FullPass24Letters: GetDriveType and two GetDiskFreeSpaceEx for each of
//   the 24 letters C..Z, mapped or not: one refresh's drive queries.
// RawStatvfs: statvfs("/") called directly, for comparison: the rest of a
//   pair's cost is the hand-over to the helper thread and the map check.
// MapCheck: one look at the cached map (mount table poll, KESTRIX_DRIVES,
//   optical drives), done by every query.
// MapRebuild: building the map afresh (libmount parse, sysfs reads), done
//   only when the mount table changes.
#include <benchmark/benchmark.h>

#include <sys/statvfs.h>

#include "platform/LinuxPlatform.h"

namespace {

LinuxPlatform::Options DiscoveryOptions()
{
    LinuxPlatform::Options o;
    o.Map.Drives = std::string(); // this machine's mounts, whatever the environment says
    return o;
}

void DiskSizeFreePair(benchmark::State& state)
{
    LinuxPlatform p(DiscoveryOptions());
    const QString root = QStringLiteral("C:\\");
    std::int64_t free = 0, total = 0;
    for (auto _ : state) {
        bool ok = p.GetDiskFreeSpaceEx(root, free, total);
        ok &= p.GetDiskFreeSpaceEx(root, free, total);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(DiskSizeFreePair);

void FullPass24Letters(benchmark::State& state)
{
    LinuxPlatform p(DiscoveryOptions());
    std::vector<QString> roots;
    for (char l = 'C'; l <= 'Z'; ++l)
        roots.push_back(QStringLiteral("%1:\\").arg(QLatin1Char(l)));
    int answering = 0;
    for (auto _ : state) {
        answering = 0;
        for (const QString& root : roots) {
            std::int64_t free = 0, total = 0;
            benchmark::DoNotOptimize(p.GetDriveType(root));
            answering += p.GetDiskFreeSpaceEx(root, free, total);
            p.GetDiskFreeSpaceEx(root, free, total);
        }
    }
    state.counters["answering"] = answering;
}
BENCHMARK(FullPass24Letters);

void RawStatvfs(benchmark::State& state)
{
    struct statvfs st;
    for (auto _ : state)
        benchmark::DoNotOptimize(::statvfs("/", &st));
}
BENCHMARK(RawStatvfs);

void MapCheck(benchmark::State& state)
{
    DriveMap::Options o;
    o.Drives = std::string();
    DriveMap map(o);
    for (auto _ : state)
        benchmark::DoNotOptimize(map.Current());
}
BENCHMARK(MapCheck);

void MapRebuild(benchmark::State& state)
{
    DriveMap::Options o;
    o.Drives = std::string();
    for (auto _ : state) {
        DriveMap map(o);
        benchmark::DoNotOptimize(map.Current());
    }
}
BENCHMARK(MapRebuild);

} // namespace

BENCHMARK_MAIN();
