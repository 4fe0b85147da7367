// The settings store on a form with as many check marks as the main window
// (136 menu items and 6 actions): BM_StoreSave is the save at exit (one
// batched write), BM_StoreLoad one of the four loads at start-up (one read
// of the file per key). BM_StoreLoadDamaged loads from a file of 1 MiB of
// binary garbage, the worst a damaged settings file does to the start.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>

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
