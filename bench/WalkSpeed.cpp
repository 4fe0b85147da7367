// The drive walk behind the details panel, against a floor walker.
//
//   bench_WalkSpeed floor FOLDER   the floor: openat + readdir + fstatat
//                                  (AT_SYMLINK_NOFOLLOW) on one device,
//                                  nothing kept, no allocation per entry
//   bench_WalkSpeed duf1 FOLDER    the main window's whole Duf1 (busy
//                                  indication, event loop, status texts,
//                                  results) on the real platform with the
//                                  folder as drive T:, the window on the
//                                  offscreen screen; also the longest gap
//                                  between two event-loop passes, measured
//                                  by a 1 ms timer that records its lateness
//                                  (gap_ms), and the most processor time the
//                                  GUI thread spent between two of its ticks
//                                  (gap_cpu_ms: the gap less the time other
//                                  work on a busy machine took)
//   bench_WalkSpeed tree FOLDER    TDirectoryList::Scan alone, and the kept
//                                  tree's cost: resident memory after the
//                                  walk less before, and the peak, per entry
//
// WALK_PUMP_MS and WALK_STATUS_MS set other pacings for duf1.
//
// Each prints one line "<mode> seconds=... entries=..." (times of the walk
// alone, without start-up). bench/walk-compare.sh runs them interleaved
// with du and ncdu and prints the ratios.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/STSMain.h"
#include "platform/LinuxPlatform.h"
#include "toolkit/Fonts.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Processor time of the process (user and system), seconds: less disturbed
// than the wall clock by other work on a shared machine.
double Cpu()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// --- the floor ----------------------------------------------------------------

struct FloorCount {
    long long entries = 0;
    long long bytes = 0;
};

void FloorWalk(int fd, dev_t device, FloorCount& c)
{
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        ++c.entries;
        if (S_ISDIR(st.st_mode)) {
            if (st.st_dev != device)
                continue;
            const int sub = ::openat(::dirfd(dir), e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0)
                FloorWalk(sub, device, c);
        } else {
            c.bytes += st.st_size;
        }
    }
    ::closedir(dir);
}

int Floor(const char* folder)
{
    const auto t = Clock::now();
    const double cpu = Cpu();
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return 1;
    FloorCount c;
    FloorWalk(fd, st.st_dev, c);
    const double seconds = Since(t);
    std::printf("floor seconds=%.4f cpu=%.4f entries=%lld bytes=%lld\n", seconds, Cpu() - cpu, c.entries, c.bytes);
    return 0;
}

// --- the program's walk ---------------------------------------------------------

// Resident memory in bytes ("VmRSS") or its peak ("VmHWM").
long long Memory(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(std::strlen(key))).trimmed().split(' ').first().toLongLong() * 1024;
    return 0;
}

// The real platform with drive T: on the folder and a program folder of its
// own for the window's settings.
class Platform : public LinuxPlatform {
public:
    explicit Platform(const char* folder) : LinuxPlatform(Map(folder)) {}
    QString ProgramFolder() override { return dir.path() + QLatin1Char('/'); }
    QTemporaryDir dir;

private:
    static Options Map(const char* folder)
    {
        Options o;
        o.Map.Drives = std::string("T=") + folder;
        return o;
    }
};

// The longest lateness of a 1 ms timer: how long the event loop was away.
class GapMeter : public QObject {
public:
    GapMeter()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const double now = clock_.nsecsElapsed() / 1e6;
            if (now - last_ - 1.0 > worst_) {
                worst_ = now - last_ - 1.0;
                worstAt_ = last_;
            }
            last_ = now;
            const double cpu = ThreadCpuMs();
            worstCpu_ = std::max(worstCpu_, cpu - lastCpu_);
            lastCpu_ = cpu;
        });
    }
    void Start()
    {
        clock_.start();
        last_ = 0;
        worst_ = 0;
        lastCpu_ = ThreadCpuMs();
        worstCpu_ = 0;
        timer_.start();
    }
    double Stop()
    {
        timer_.stop();
        return worst_;
    }
    // When the longest gap began, milliseconds after Start.
    double WorstAt() const { return worstAt_; }
    // The most processor time the GUI thread spent between two passes: the
    // gap without the time other work on the machine took the processor.
    double WorstCpu() const { return worstCpu_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0;
    double worst_ = 0;
    double worstAt_ = 0;
    double lastCpu_ = 0;
    double worstCpu_ = 0;

    static double ThreadCpuMs()
    {
        timespec t{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    }
};

int Duf1(const char* folder)
{
    Platform platform(folder);
    ScopedPlatform scope(platform);
    TForm1 form;
    form.show();
    // Shown, mapped and painted, its opening animation over, as it is when
    // a user clicks a letter.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    form.DInfo->setDrive(QStringLiteral("T"));
    // For experiments: other pacings than the program's.
    if (const char* v = std::getenv("WALK_PUMP_MS"))
        form.ScanPacing.PumpMs = std::atoi(v);
    if (const char* v = std::getenv("WALK_STATUS_MS"))
        form.ScanPacing.StatusMs = std::atoi(v);
    GapMeter gaps;
    gaps.Start();
    const auto t = Clock::now();
    const double cpu = Cpu();
    const bool complete = form.Duf1();
    const double seconds = Since(t);
    const double cpuSeconds = Cpu() - cpu;
    const double gap = gaps.Stop();
    std::printf("duf1 seconds=%.4f cpu=%.4f entries=%lld bytes=%lld folders=%s files=%s gap_ms=%.1f gap_at_ms=%.0f gap_cpu_ms=%.1f complete=%d\n", seconds,
                cpuSeconds, static_cast<long long>(form.DirList->EntryCount() - 2 * form.DirList->FolderCount()),
                static_cast<long long>(form.DirList->TotalSize()), qPrintable(form.LFolders->Caption()),
                qPrintable(form.LFiles->Caption()), gap, gaps.WorstAt(), gaps.WorstCpu(), int(complete));
    return complete ? 0 : 1;
}

int Tree(const char* folder)
{
    Platform platform(folder);
    ScopedPlatform scope(platform);
    TDirectoryList list;
    const long long before = Memory("VmRSS:");
    bool stop = false;
    list.Reset(QStringLiteral("T:\\"));
    const auto t = Clock::now();
    const double cpu = Cpu();
    list.Scan(stop, nullptr, 1);
    const double seconds = Since(t);
    const double cpuSeconds = Cpu() - cpu;
    const long long after = Memory("VmRSS:");
    const long long peak = Memory("VmHWM:");
    // Entries kept: files and folders (no "." or "..").
    const long long entries = list.EntryCount() - 2 * list.FolderCount();
    long long names = 0;
    std::vector<TDirectoryFolder> todo{list};
    while (!todo.empty()) {
        const TDirectoryFolder f = todo.back();
        todo.pop_back();
        for (int i = f.Parent() ? 1 : 0; i < f.Count(); ++i) {
            names += static_cast<long long>(f.Name(i).size());
            if (auto sub = f.Objects(i).SubList())
                todo.push_back(*sub);
        }
    }
    std::printf("tree seconds=%.4f cpu=%.4f entries=%lld rss_bytes_per_entry=%.1f peak_bytes_per_entry=%.1f "
                "name_bytes_per_entry=%.1f kept_bytes_per_entry=%.1f\n",
                seconds, cpuSeconds, entries, double(after - before) / entries, double(peak - before) / entries,
                double(names) / entries, double(list.KeptBytes()) / entries);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s floor|duf1|tree FOLDER\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "floor")
        return Floor(argv[2]);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    LoadDesignFonts();
    QApplication::setFont(DefaultFormFont());
    if (mode == "duf1")
        return Duf1(argv[2]);
    if (mode == "tree")
        return Tree(argv[2]);
    return 2;
}
