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
// Tmpfs24VsFake/changing: run as root, the benchmark mounts 24 tmpfs file
//   systems in a mount namespace of its own (nothing shows outside it) and
//   maps them to C: .. Z: as KESTRIX_DRIVES would, through the Linux
//   platform; beside it a window on the Fake platform's 24 drives. The two
//   windows are activated in turn, round after round, so that both see the
//   same load; the counters are the medians in milliseconds (wall) and
//   their ratio. 0: nothing changes, the windows not on screen. 1: every
//   drive's free space changes before each round (a file in each tmpfs
//   grows or shrinks, the fake figures alike) and the windows are on
//   screen, painting included.
//
// The shown windows are measured once their opening animation has ended:
// before that they are off the screen and paint nothing.
//
// Run: build/bench/bench_MainWindowActivate (QT_QPA_PLATFORM defaults to
// offscreen here).
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

#include "app/LinuxDesktopPlatform.h"
#include "app/STSMain.h"
#include "platform/FakePlatform.h"
#include "platform/LinuxPlatform.h"
#include "shell/Smooth.h"
#include "toolkit/Fonts.h"

namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Shows the window and waits for its opening animation to end: until then
// the window is off the screen and nothing it changes is painted, so the
// figures would leave out the paint they are meant to include.
void ShowAndSettle(TForm1& form)
{
    form.show();
    QElapsedTimer waited;
    waited.start();
    while (form.Smooth1->Running() && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    Settle();
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
    if (shown)
        ShowAndSettle(form);
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
    ShowAndSettle(form);
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

// The 24 tmpfs mounts, made in main() before any thread starts; empty when
// they could not be made (not root, no namespaces).
std::string gTmpfsRoot;

bool MountTmpfs24()
{
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
        return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    char root[] = "/tmp/kestrix-bench-XXXXXX";
    if (!::mkdtemp(root))
        return false;
    for (char l = 'C'; l <= 'Z'; ++l) {
        const std::string dir = std::string(root) + "/" + char(l - 'A' + 'a');
        if (::mkdir(dir.c_str(), 0700) != 0 || ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=4m") != 0)
            return false;
    }
    gTmpfsRoot = root;
    return true;
}

void UnmountTmpfs24()
{
    if (gTmpfsRoot.empty())
        return;
    for (char l = 'C'; l <= 'Z'; ++l) {
        const std::string dir = gTmpfsRoot + "/" + char(l - 'A' + 'a');
        ::umount2(dir.c_str(), MNT_DETACH);
        ::rmdir(dir.c_str());
    }
    ::rmdir(gTmpfsRoot.c_str());
}

std::string TmpfsDrives()
{
    std::string drives;
    for (char l = 'C'; l <= 'Z'; ++l)
        drives += std::string(drives.empty() ? "" : ";") + l + "=" + gTmpfsRoot + "/" + char(l - 'A' + 'a');
    return drives;
}

// Fills the tmpfs of a letter to the share given (a file of that size).
void FillTmpfs(char letter, double share)
{
    const std::string file = gTmpfsRoot + "/" + char(letter - 'A' + 'a') + "/fill";
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return;
    if (::ftruncate(fd, 0) == 0 && share > 0)
        (void)::posix_fallocate(fd, 0, off_t(share * 4 * 1024 * 1024));
    ::close(fd);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Tmpfs24VsFake(benchmark::State& state)
{
    if (gTmpfsRoot.empty()) {
        state.SkipWithError("needs root and mount namespaces: the 24 tmpfs mounts could not be made");
        return;
    }
    const bool changing = state.range(0) != 0;
    FakePlatform fake;
    QTemporaryDir fakeDir, realDir;
    fake.Folder = fakeDir.path() + QLatin1Char('/');
    for (char l = 'C'; l <= 'Z'; ++l)
        fake.AddDrive(l, DRIVE_RAMDISK, 4 * 1024 * 1024, 2 * 1024 * 1024);
    LinuxPlatform::Options o;
    o.Map.Drives = TmpfsDrives();
    RealPlatformInFolder real(o);
    real.folder = realDir.path() + QLatin1Char('/');

    std::unique_ptr<TForm1> fakeForm, realForm;
    {
        ScopedPlatform scope(fake);
        fakeForm = std::make_unique<TForm1>();
    }
    {
        ScopedPlatform scope(real);
        realForm = std::make_unique<TForm1>();
    }
    // Events handled between the timed calls (showing, painting) may
    // activate either window: they find the real platform.
    ScopedPlatform between(real);
    if (changing) {
        ShowAndSettle(*fakeForm);
        ShowAndSettle(*realForm);
    }
    std::vector<double> fakeMs, realMs;
    bool flip = false;
    auto activate = [&](Platform& platform, TForm1& form) {
        ScopedPlatform scope(platform);
        // Whatever is pending (the other window's repaints) goes first, untimed.
        if (changing)
            Settle();
        const auto t0 = std::chrono::steady_clock::now();
        form.FormActivate(&form);
        if (changing)
            Settle();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    for (auto _ : state) {
        for (int round = 0; round < 200; ++round) {
            if (changing) {
                flip = !flip;
                for (char l = 'C'; l <= 'Z'; ++l) {
                    FillTmpfs(l, flip ? 0.95 : 0.5);
                    fake.Drive(l)->Free = fake.Drive(l)->Total / (flip ? 20 : 2);
                }
                if (!flip)
                    for (TForm1* f : {fakeForm.get(), realForm.get()})
                        for (DriveSlot& s : f->Slots)
                            s.Led->setTrueColor(clLime);
            }
            // Turn about, so that neither always runs first.
            if (round % 2) {
                fakeMs.push_back(activate(fake, *fakeForm));
                realMs.push_back(activate(real, *realForm));
            } else {
                realMs.push_back(activate(real, *realForm));
                fakeMs.push_back(activate(fake, *fakeForm));
            }
        }
    }
    int rows = 0;
    for (const DriveSlot& s : realForm->Slots)
        rows += s.RowVisible();
    state.counters["rows"] = rows;
    state.counters["fake_ms"] = Median(fakeMs);
    state.counters["tmpfs_ms"] = Median(realMs);
    state.counters["ratio"] = Median(realMs) / Median(fakeMs);
    // Closing a window saves its settings through the platform: close both
    // while one is still installed.
    realForm.reset();
    fakeForm.reset();
}
BENCHMARK(Tmpfs24VsFake)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    MountTmpfs24(); // before the first thread: a mount namespace is per process
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    LoadDesignFonts();
    QApplication::setFont(DefaultFormFont());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    UnmountTmpfs24();
    return 0;
}
