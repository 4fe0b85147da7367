// Saving the settings as the settings store does at exit: about 150 keys,
// each written at once as one read-modify-replace of the ini file (temporary
// file, fsync, rename). BM_SaveAllSettings reports the time of one whole
// save; BM_WriteOneKey the time of one key into a file of 150 keys. Reading
// one key of that file (BM_ReadOneKey) is what every load does 150 times.
// BM_SaveAllSettingsBatched is the same save as one batched write (one
// replace and one fsync), which is how the settings store saves.
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "platform/IniFiles.h"

namespace {

constexpr int kKeys = 150;

QString Key(int i)
{
    return QStringLiteral("Item%1").arg(i);
}

void BM_SaveAllSettings(benchmark::State& state)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("INIVAL.INI"));
    for (auto _ : state)
        for (int i = 0; i < kKeys; ++i)
            ini.WriteBool("Form1", Key(i), i % 2 == 0);
}
BENCHMARK(BM_SaveAllSettings)->Unit(benchmark::kMillisecond);

void BM_SaveAllSettingsBatched(benchmark::State& state)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("INIVAL.INI"));
    for (auto _ : state) {
        QList<TIniEntry> entries;
        for (int i = 0; i < kKeys; ++i)
            entries.append({QStringLiteral("Form1"), Key(i), i % 2 == 0 ? QStringLiteral("1") : QStringLiteral("0")});
        ini.WriteStrings(entries);
    }
}
BENCHMARK(BM_SaveAllSettingsBatched)->Unit(benchmark::kMillisecond);

void BM_WriteOneKey(benchmark::State& state)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("INIVAL.INI"));
    for (int i = 0; i < kKeys; ++i)
        ini.WriteBool("Form1", Key(i), false);
    int n = 0;
    for (auto _ : state) {
        ini.WriteBool("Form1", Key(n % kKeys), n % 2 == 0);
        ++n;
    }
}
BENCHMARK(BM_WriteOneKey)->Unit(benchmark::kMicrosecond);

void BM_ReadOneKey(benchmark::State& state)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath("INIVAL.INI"));
    for (int i = 0; i < kKeys; ++i)
        ini.WriteBool("Form1", Key(i), false);
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.ReadBool("Form1", Key(n++ % kKeys), true));
}
BENCHMARK(BM_ReadOneKey)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
