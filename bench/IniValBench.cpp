// The settings store on a form with as many check marks as the main window
// (136 menu items and 6 actions): BM_StoreSave is the save at exit (one
// batched write), BM_StoreLoad one of the four loads at start-up (one read
// of the file for all keys). BM_StoreLoadDamaged loads from a file of 1 MiB
// of binary garbage, the worst a damaged settings file does to the start.
//
// BM_StoreLoadHuge and BM_StoreSaveHuge load and save with a settings file
// of 50 MB (a million foreign lines, the window's keys after them); their
// floors are BM_ReadHugeFile, one read of that file into memory, and
// BM_CopyHugeFile, one read and one write of it. A load costs a small
// multiple of its floor, never one read per key.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>
#include <unistd.h>

#include "settings/IniVal.h"
#include "toolkit/Action.h"
#include "toolkit/Form.h"
#include "toolkit/MenuItem.h"

namespace {

struct StoreForm {
    StoreForm()
    {
        form.setName("Form1");
        for (int i = 0; i < 142; ++i) {
            QObject* c = i < 136 ? static_cast<QObject*>(new TMenuItem(&form)) : new TAction(&form);
            c->setObjectName(QStringLiteral("Item%1").arg(i));
            c->setProperty("Checked", i % 3 == 0);
            form.RegisterComponent(c);
        }
        store = new TIniVal(&form);
        store->setName("IniVal");
        store->setIniFileName(dir.filePath("IniVal"));
        form.RegisterComponent(store);
    }
    QTemporaryDir dir;
    TForm form;
    TIniVal* store;
};

void BM_StoreSave(benchmark::State& state)
{
    StoreForm f;
    for (auto _ : state)
        f.store->Save();
}
BENCHMARK(BM_StoreSave)->Unit(benchmark::kMillisecond);

void BM_StoreLoad(benchmark::State& state)
{
    StoreForm f;
    f.store->Save();
    for (auto _ : state)
        f.store->Load();
}
BENCHMARK(BM_StoreLoad)->Unit(benchmark::kMillisecond);

void BM_StoreLoadDamaged(benchmark::State& state)
{
    StoreForm f;
    std::mt19937 random(99);
    QByteArray garbage(1 << 20, '\0');
    for (char& c : garbage)
        c = char(random() & 0xFF);
    QFile file(f.store->EffectiveFileName());
    if (!file.open(QIODevice::WriteOnly) || file.write(garbage) != garbage.size()) {
        state.SkipWithError("cannot write the damaged file");
        return;
    }
    file.close();
    for (auto _ : state)
        f.store->Load();
}
BENCHMARK(BM_StoreLoadDamaged)->Unit(benchmark::kMillisecond);

// About 50 MB: foreign sections of foreign keys, then the window's section.
QByteArray HugeSettings()
{
    QByteArray text;
    text.reserve(52 << 20);
    for (int s = 0; text.size() < (50 << 20); ++s) {
        text += "[Foreign" + QByteArray::number(s) + "]\n";
        for (int k = 0; k < 100; ++k)
            text += "SomeForeignKey" + QByteArray::number(k) + "=a foreign value of some length\n";
    }
    text += "[Form1]\nItem0=1\n";
    return text;
}

struct HugeStoreForm : StoreForm {
    HugeStoreForm()
    {
        QFile file(store->EffectiveFileName());
        ok = file.open(QIODevice::WriteOnly) && file.write(HugeSettings()) > 0;
    }
    bool ok = false;
};

void BM_StoreLoadHuge(benchmark::State& state)
{
    HugeStoreForm f;
    if (!f.ok) {
        state.SkipWithError("cannot write the huge file");
        return;
    }
    for (auto _ : state)
        f.store->Load();
}
BENCHMARK(BM_StoreLoadHuge)->Unit(benchmark::kMillisecond);

void BM_ReadHugeFile(benchmark::State& state)
{
    HugeStoreForm f;
    for (auto _ : state) {
        QFile file(f.store->EffectiveFileName());
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
}
BENCHMARK(BM_ReadHugeFile)->Unit(benchmark::kMillisecond);

void BM_StoreSaveHuge(benchmark::State& state)
{
    HugeStoreForm f;
    if (!f.ok) {
        state.SkipWithError("cannot write the huge file");
        return;
    }
    for (auto _ : state)
        f.store->Save();
}
BENCHMARK(BM_StoreSaveHuge)->Unit(benchmark::kMillisecond);

void BM_CopyHugeFile(benchmark::State& state)
{
    HugeStoreForm f;
    const QString copy = f.dir.filePath("copy");
    for (auto _ : state) {
        QFile in(f.store->EffectiveFileName());
        in.open(QIODevice::ReadOnly);
        QFile out(copy);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(in.readAll());
        out.flush();
        ::fsync(out.handle());
    }
}
BENCHMARK(BM_CopyHugeFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
