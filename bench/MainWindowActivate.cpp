// What one activation of the main window costs: FormActivate, the whole
// refresh pipeline (heights, unit figures, percentages, totals, names, LEDs).
//
// Fake24Hidden: 24 answering fixed drives on the fake platform, the window
//   not on screen: the pipeline's own work (queries of the fake platform
//   cost next to nothing, so this is the window's share).
// Fake24Shown: the same with the window on the offscreen screen, including
//   the paint of everything the activation changed (figures unchanged from
//   the last activation, so little is repainted: the common case).
// Fake24ShownChanging: every drive's free space changes between two
//   activations, so every figure, gauge and LED is rewritten and repainted.
// RealMountsShown: this machine's real mounts through the Linux platform
//   (drive map, statvfs on a helper thread, volume identity, display names),
//   the window on screen; the counter "rows" says how many rows it shows.
//
// Run: build/bench/bench_MainWindowActivate (QT_QPA_PLATFORM defaults to
// offscreen here).
#include <QApplication>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

#include "app/LinuxDesktopPlatform.h"
#include "app/STSMain.h"
#include "platform/FakePlatform.h"
#include "platform/LinuxPlatform.h"
#include "toolkit/Fonts.h"

namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void Fake24(benchmark::State& state, bool shown, bool changing = false)
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.Folder = dir.path() + QLatin1Char('/');
    for (char l = 'C'; l <= 'Z'; ++l)
        fake.AddDrive(l, DRIVE_FIXED, std::int64_t(l - 'B') * 10737418240LL, std::int64_t(l - 'B') * 3221225472LL);
    ScopedPlatform scope(fake);
    TForm1 form;
    if (shown) {
        form.show();
        Settle();
    }
    bool flip = false;
    for (auto _ : state) {
        if (changing) {
            state.PauseTiming();
            flip = !flip;
            for (char l = 'C'; l <= 'Z'; ++l)
                fake.Drive(l)->Free = fake.Drive(l)->Total / (flip ? 20 : 2); // 95 % and 50 % used
            if (!flip) // back to lime, as Reload leaves them, so the LEDs change every time
                for (DriveSlot& s : form.Slots)
                    s.Led->setTrueColor(clLime);
            state.ResumeTiming();
        }
        form.FormActivate(&form);
        if (shown)
            Settle();
    }
    state.counters["rows"] = 24;
}

void Fake24Hidden(benchmark::State& state) { Fake24(state, false); }
void Fake24Shown(benchmark::State& state) { Fake24(state, true); }
BENCHMARK(Fake24Hidden)->Unit(benchmark::kMillisecond);
void Fake24ShownChanging(benchmark::State& state) { Fake24(state, true, true); }
BENCHMARK(Fake24Shown)->Unit(benchmark::kMillisecond);
BENCHMARK(Fake24ShownChanging)->Unit(benchmark::kMillisecond);

// The real platform with a program folder of its own: the window's
// settings and position files go there, not beside the benchmark.
class RealPlatformInFolder : public LinuxDesktopPlatform {
public:
    using LinuxDesktopPlatform::LinuxDesktopPlatform;
    QString ProgramFolder() override { return folder; }
    QString folder;
};

void RealMountsShown(benchmark::State& state)
{
    LinuxPlatform::Options o;
    o.Map.Drives = std::string(); // this machine's mounts, whatever the environment says
    RealPlatformInFolder real(o);
    QTemporaryDir dir;
    real.folder = dir.path() + QLatin1Char('/');
    ScopedPlatform scope(real);
    TForm1 form;
    form.show();
    Settle();
    int rows = 0;
    for (const DriveSlot& s : form.Slots)
        rows += s.RowVisible();
    for (auto _ : state) {
        form.FormActivate(&form);
        Settle();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(RealMountsShown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    LoadDesignFonts();
    QApplication::setFont(DefaultFormFont());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
