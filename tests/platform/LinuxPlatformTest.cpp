// The Linux platform's queries: figures from statvfs (put in by the test),
// volume records, display names, folder listings by handle, a statvfs that
// hangs, memory status, and the desktop requests.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <set>
#include <mutex>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

#include "PlatformTestSupport.h"
#include "platform/LinuxPlatform.h"
#include "platform/Meminfo.h"

using namespace platformtest;

namespace {

// statvfs answers declared by the test, by folder.
struct CannedStatvfs {
    std::map<std::string, struct statvfs> Answers;

    TimedStatvfs::Function Function()
    {
        return [this](const char* path, struct statvfs* out) {
            auto it = Answers.find(path);
            if (it == Answers.end()) {
                errno = ENOENT;
                return -1;
            }
            *out = it->second;
            return 0;
        };
    }

    struct statvfs& Add(const std::string& path, unsigned long frsize, fsblkcnt_t blocks, fsblkcnt_t avail)
    {
        struct statvfs s;
        std::memset(&s, 0, sizeof s);
        s.f_bsize = frsize;
        s.f_frsize = frsize;
        s.f_blocks = blocks;
        s.f_bfree = avail;
        s.f_bavail = avail;
        s.f_namemax = 255;
        return Answers[path] = s;
    }
};

// The laptop's drive map (see DriveMapTest) without its sysfs tree: every
// mount classified from its table entry alone.
LinuxPlatform::Options LaptopOptions(const std::string& sysfs, CannedStatvfs* canned)
{
    LinuxPlatform::Options o;
    o.Map.MountInfo = Fixture("laptop.mountinfo");
    o.Map.Sysfs = sysfs;
    o.Map.Drives = std::string();
    if (canned)
        o.Statvfs = canned->Function();
    return o;
}

// A letter that is mapped but answers none of the queries that read the
// volume.
void ExpectNoAnswer(LinuxPlatform& p, const QString& root)
{
    std::int64_t free = 0, total = 0;
    EXPECT_FALSE(p.GetDiskFreeSpaceEx(root, free, total));
    ClusterInfo c;
    EXPECT_FALSE(p.GetDiskFreeSpace(root, c));
    VolumeInformation v;
    EXPECT_FALSE(p.GetVolumeInformation(root, v));
    EXPECT_EQ(p.FindFirst(root), nullptr);
}

LinuxPlatform::Options ExplicitOptions(const std::string& drives)
{
    LinuxPlatform::Options o;
    o.Map.Drives = drives;
    return o;
}

} // namespace

TEST(LinuxPlatformDrives, TypesAndDisplayNamesOfMappedAndUnmappedLetters)
{
    TempDir sys;
    sys.Path();
    WriteFile(sys / "block/sr1/dev", "11:1\n");
    LinuxPlatform p(LaptopOptions(sys.Path(), nullptr));
    // Without sysfs facts: USB and SD mounts read as fixed disks.
    EXPECT_EQ(p.GetDriveType(QStringLiteral("C:\\")), unsigned(DRIVE_FIXED));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("c:\\")), unsigned(DRIVE_FIXED));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("G:\\")), unsigned(DRIVE_CDROM));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("J:\\")), unsigned(DRIVE_REMOTE));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("K:\\")), unsigned(DRIVE_RAMDISK));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("M:\\")), unsigned(DRIVE_CDROM));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("N:\\")), unsigned(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("\\\\host\\share")), unsigned(DRIVE_NO_ROOT_DIR));

    QString name;
    ASSERT_TRUE(p.ShellDisplayName(QStringLiteral("C:\\"), name));
    EXPECT_EQ(name, QStringLiteral("/ (C:)"));
    ASSERT_TRUE(p.ShellDisplayName(QStringLiteral("i:\\"), name));
    EXPECT_EQ(name, QStringLiteral("backup drive (I:)"));
    ASSERT_TRUE(p.ShellDisplayName(QStringLiteral("J:\\"), name));
    EXPECT_EQ(name, QStringLiteral("nas (J:)"));
    ASSERT_TRUE(p.ShellDisplayName(QStringLiteral("M:\\"), name));
    EXPECT_EQ(name, QStringLiteral("CD Drive (M:)"));
    EXPECT_FALSE(p.ShellDisplayName(QStringLiteral("N:\\"), name));

    // The empty DVD drive answers no query.
    ExpectNoAnswer(p, QStringLiteral("M:\\"));
    std::int64_t free = 0, total = 0;
    EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("N:\\"), free, total));
}

TEST(LinuxPlatformDrives, FiguresFromStatvfs)
{
    SysfsTree sys;
    const std::string usb = "pci0000:00/0000:00:14.0/usb2";
    sys.Bus(usb, "usb");
    const std::string disk = sys.Disk(usb + "/2-2/2-2:1.0/host7/target7:0:0/7:0:0:0", "sdc", "8:32", false, 4096);
    sys.Partition(disk, "sdc1", "8:33");
    CannedStatvfs canned;
    // 8 TiB in 1 KiB clusters of a 4 KiB-sector disk: 2^33 clusters, more
    // than 32 bits hold.
    canned.Add("/media/user/backup drive", 1024, fsblkcnt_t(1) << 33, (fsblkcnt_t(1) << 32) + 5);
    // 2 GiB of 4 KiB clusters, no disk behind it (512-byte sectors).
    canned.Add("/mnt/ramdisk", 4096, 524288, 131072);
    // A FUSE filesystem that reports an absurd size.
    canned.Add("/mnt/win", 1u << 20, ~fsblkcnt_t(0), ~fsblkcnt_t(0));
    LinuxPlatform p(LaptopOptions(sys.Root(), &canned));

    std::int64_t free = 0, total = 0;
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("I:\\"), free, total));
    EXPECT_EQ(total, std::int64_t(8796093022208));     // 2^33 * 1024
    EXPECT_EQ(free, std::int64_t(4398046516224));      // (2^32 + 5) * 1024
    ClusterInfo c;
    ASSERT_TRUE(p.GetDiskFreeSpace(QStringLiteral("I:\\"), c));
    // A cluster smaller than the disk's sector counts as one sector.
    EXPECT_EQ(c.BytesPerSector, 1024u);
    EXPECT_EQ(c.SectorsPerCluster, 1u);
    EXPECT_EQ(c.TotalNumberOfClusters, std::uint64_t(8589934592));
    EXPECT_EQ(c.NumberOfFreeClusters, std::uint64_t(4294967301));

    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("K:\\"), free, total));
    EXPECT_EQ(total, std::int64_t(2147483648));
    EXPECT_EQ(free, std::int64_t(536870912));
    ASSERT_TRUE(p.GetDiskFreeSpace(QStringLiteral("K:\\"), c));
    EXPECT_EQ(c.BytesPerSector, 512u);
    EXPECT_EQ(c.SectorsPerCluster, 8u);
    EXPECT_EQ(c.TotalNumberOfClusters, 524288u);
    EXPECT_EQ(c.NumberOfFreeClusters, 131072u);

    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
    EXPECT_EQ(total, INT64_MAX);
    EXPECT_EQ(free, INT64_MAX);

    // Drives the canned statvfs does not know do not answer.
    EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
}

TEST(LinuxPlatformDrives, ClusterOfWholeSectors)
{
    SysfsTree sys;
    const std::string disk = sys.Disk("pci0000:00/0000:00:1f.2/ata3/host2/target2:0:0/2:0:0:0", "sdc", "8:32", false, 4096);
    sys.Partition(disk, "sdc1", "8:33");
    CannedStatvfs canned;
    canned.Add("/media/user/backup drive", 65536, 1000, 10);
    LinuxPlatform p(LaptopOptions(sys.Root(), &canned));
    ClusterInfo c;
    ASSERT_TRUE(p.GetDiskFreeSpace(QStringLiteral("I:\\"), c));
    EXPECT_EQ(c.BytesPerSector, 4096u);
    EXPECT_EQ(c.SectorsPerCluster, 16u);
}

TEST(LinuxPlatformDrives, VolumeRecordWithoutUuidUsesTheFilesystemId)
{
    TempDir sys;
    CannedStatvfs canned;
    struct statvfs& iso = canned.Add("/media/user/UBUNTU_22", 2048, 1000, 0);
    iso.f_fsid = 0x1122334455667788ul;
    iso.f_namemax = 222;
    iso.f_flag = ST_RDONLY;
    struct statvfs& stick = canned.Add("/media/user/USBSTICK", 4096, 1000, 10);
    stick.f_fsid = 0x0000000000000abcul;
    LinuxPlatform p(LaptopOptions(sys.Path(), &canned));

    VolumeInformation v;
    ASSERT_TRUE(p.GetVolumeInformation(QStringLiteral("G:\\"), v));
    EXPECT_EQ(v.VolumeName, QString());
    EXPECT_EQ(v.SerialNumber, 0x55667788u);
    EXPECT_EQ(v.MaximumComponentLength, 222u);
    EXPECT_EQ(v.FileSystemName, QStringLiteral("iso9660"));
    EXPECT_EQ(v.FileSystemFlags, 0x80003u); // case-sensitive, case-preserving, read-only

    ASSERT_TRUE(p.GetVolumeInformation(QStringLiteral("H:\\"), v));
    EXPECT_EQ(v.SerialNumber, 0xABCu);
    EXPECT_EQ(v.FileSystemName, QStringLiteral("vfat"));
    EXPECT_EQ(v.FileSystemFlags, 0x6u); // case-preserving, Unicode
}

TEST(VolumeSerial, FirstEightHexDigitsOfTheUuid)
{
    EXPECT_EQ(VolumeSerial("1234abcd-5678-4def-8123-456789abcdef", 7), 0x1234ABCDu);
    EXPECT_EQ(VolumeSerial("ABCD-1234", 7), 0xABCD1234u);          // FAT
    EXPECT_EQ(VolumeSerial("0012-00AB", 7), 0x001200ABu);          // leading zeros kept
    EXPECT_EQ(VolumeSerial("1C2A3B4C5D6E7F80", 7), 0x5D6E7F80u);   // NTFS: the low half
    EXPECT_EQ(VolumeSerial("", 0xDEADBEEF12345678ul), 0x12345678u); // no UUID: f_fsid
    EXPECT_EQ(VolumeSerial("12ab", 0x99ul), 0x99u);                 // too short
    EXPECT_EQ(VolumeSerial("2023-01-01-12-00-00-00", 1), 0x20230101u); // ISO 9660 date
}

TEST(LinuxPlatformFolders, ListingByHandleWithRawNames)
{
    TempDir dir;
    WriteFile(dir / "small.txt", std::string(1234, 'x'));
    fs::create_directories(dir / "sub/deeper");
    WriteFile(dir / "sub/inner.bin", std::string(10, 'y'));
    fs::create_directory_symlink(dir / "sub", dir / "link");
    const std::string odd = std::string("caf\xe9\nname", 9); // not UTF-8, with a newline
    fs::create_directories(dir / odd);
    WriteFile(dir / (odd + "/f"), "abc");
    {
        // A sparse file of 5 GiB: sizes are 64-bit.
        const int fd = ::open((dir / "big.img").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 5368709120LL), 0);
        ::close(fd);
    }

    LinuxPlatform p(ExplicitOptions("T=" + dir.Path()));
    std::unique_ptr<DirListing> root = p.FindFirst(QStringLiteral("T:\\"));
    ASSERT_NE(root, nullptr);
    std::map<std::string, DirEntry> seen;
    DirEntry e;
    while (root->Next(e))
        seen[e.Name] = e;
    ASSERT_EQ(seen.size(), 7u); // . .. small.txt sub link odd big.img
    EXPECT_TRUE(seen["."].Directory);
    EXPECT_EQ(seen["small.txt"].Size, 1234);
    EXPECT_FALSE(seen["small.txt"].Directory);
    EXPECT_TRUE(seen["sub"].Directory);
    EXPECT_FALSE(seen["sub"].OtherDevice);
    EXPECT_EQ(seen["sub"].Size, 0);
    EXPECT_TRUE(seen["link"].SymLink);
    EXPECT_FALSE(seen["link"].Directory);
    EXPECT_EQ(seen["link"].Size, 0);
    EXPECT_TRUE(seen[odd].Directory);
    EXPECT_EQ(seen["big.img"].Size, std::int64_t(5368709120));

    // Children open by name on the open folder; links and ".." do not.
    std::unique_ptr<DirListing> oddChild = root->OpenChild(odd);
    ASSERT_NE(oddChild, nullptr);
    int files = 0;
    while (oddChild->Next(e))
        files += e.Name == "f" && e.Size == 3;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(root->OpenChild("link"), nullptr);
    EXPECT_EQ(root->OpenChild(".."), nullptr);
    EXPECT_EQ(root->OpenChild("small.txt"), nullptr);
    EXPECT_EQ(root->OpenChild("sub/deeper"), nullptr);
    EXPECT_EQ(root->OpenChild("missing"), nullptr);

    // Paths below the root, with the design's backslashes.
    std::unique_ptr<DirListing> sub = p.FindFirst(QStringLiteral("t:\\sub\\"));
    ASSERT_NE(sub, nullptr);
    std::set<std::string> names;
    while (sub->Next(e))
        names.insert(e.Name);
    EXPECT_EQ(names, (std::set<std::string>{".", "..", "deeper", "inner.bin"}));
    EXPECT_NE(p.FindFirst(QStringLiteral("T:\\sub\\deeper")), nullptr);
    EXPECT_EQ(p.FindFirst(QStringLiteral("T:\\link\\")), nullptr);
    EXPECT_EQ(p.FindFirst(QStringLiteral("T:\\sub\\..\\..\\")), nullptr);
    EXPECT_EQ(p.FindFirst(QStringLiteral("U:\\")), nullptr);
}

TEST(LinuxPlatformFolders, RenamedFolderIsStillListedThroughItsHandle)
{
    TempDir dir;
    fs::create_directories(dir / "a/b");
    WriteFile(dir / "a/b/file", "12345");
    LinuxPlatform p(ExplicitOptions("T=" + dir.Path()));
    std::unique_ptr<DirListing> a = p.FindFirst(QStringLiteral("T:\\a\\"));
    ASSERT_NE(a, nullptr);
    fs::rename(dir / "a", dir / "renamed");
    std::unique_ptr<DirListing> b = a->OpenChild("b");
    ASSERT_NE(b, nullptr);
    DirEntry e;
    bool found = false;
    while (b->Next(e))
        found |= e.Name == "file" && e.Size == 5;
    EXPECT_TRUE(found);
}

TEST(LinuxPlatformDrives, MissingMappedFolderDoesNotAnswer)
{
    TempDir dir;
    LinuxPlatform p(ExplicitOptions("C=/;M=" + (dir / "missing") + ";N=@removable"));
    ExpectNoAnswer(p, QStringLiteral("M:\\"));
    std::int64_t free = 0, total = 0;
    QString name;
    ASSERT_TRUE(p.ShellDisplayName(QStringLiteral("M:\\"), name));
    EXPECT_EQ(name, QStringLiteral("missing (M:)"));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("N:\\")), unsigned(DRIVE_REMOVABLE));
    ASSERT_TRUE(p.ShellDisplayName(QStringLiteral("N:\\"), name));
    EXPECT_EQ(name, QStringLiteral("Removable Disk (N:)"));
    EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("N:\\"), free, total));
    // The folder's own disk still answers.
    EXPECT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
}

// A statvfs that hangs until the test lets it go, as one on a dead network
// mount does.
class HangingStatvfs {
public:
    explicit HangingStatvfs(std::string path) : path_(std::move(path)) {}
    ~HangingStatvfs() { Release(); }

    TimedStatvfs::Function Function()
    {
        return [this](const char* path, struct statvfs* out) {
            if (path_ != path)
                return ::statvfs(path, out);
            std::unique_lock<std::mutex> lock(mutex_);
            ++calls_;
            released_.wait_for(lock, std::chrono::seconds(60), [&] { return release_; });
            ++returned_;
            returnedCv_.notify_all();
            return ::statvfs(path, out);
        };
    }

    void Release()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        release_ = true;
        released_.notify_all();
        // Wait for the helper to leave, so nothing outlives the test.
        returnedCv_.wait_for(lock, std::chrono::seconds(10), [&] { return returned_ == calls_; });
    }

    int Calls()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

private:
    std::string path_;
    std::mutex mutex_;
    std::condition_variable released_;
    std::condition_variable returnedCv_;
    bool release_ = false;
    int calls_ = 0;
    int returned_ = 0;
};

TEST(LinuxPlatformDrives, HangingStatvfsGivesUpAndDoesNotPileUp)
{
    TempDir dead;
    TempDir alive;
    // Declared before the platform, so it outlives the helper threads.
    auto hanging = std::make_unique<HangingStatvfs>(dead.Path());
    LinuxPlatform::Options o = ExplicitOptions("D=" + dead.Path() + ";E=" + alive.Path());
    o.Statvfs = hanging->Function();
    LinuxPlatform p(o);

    std::int64_t free = 0, total = 0;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("D:\\"), free, total));
    const qint64 first = timer.elapsed();
    EXPECT_GE(first, 900);
    EXPECT_LT(first, 2500);

    // While it still hangs: "not answering" at once, no second helper.
    timer.restart();
    ExpectNoAnswer(p, QStringLiteral("D:\\"));
    EXPECT_EQ(p.GetDriveType(QStringLiteral("D:\\")), unsigned(DRIVE_FIXED));
    QString name;
    EXPECT_TRUE(p.ShellDisplayName(QStringLiteral("D:\\"), name));
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_EQ(hanging->Calls(), 1);

    // Other drives are not held up.
    EXPECT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("E:\\"), free, total));

    // Once the mount answers again, so does the drive (as soon as the helper
    // has handed in its late answer).
    hanging->Release();
    bool answered = false;
    for (int i = 0; i < 100 && !answered; ++i) {
        answered = p.GetDiskFreeSpaceEx(QStringLiteral("D:\\"), free, total);
        if (!answered)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(answered);
    EXPECT_GT(total, 0);
    EXPECT_EQ(hanging->Calls(), 2); // the hung query and the fresh one
}

TEST(Meminfo, FiguresAndLoadFromTheKernelsTable)
{
    const std::string text = "MemTotal:       16000000 kB\n"
                             "MemFree:         1000000 kB\n"
                             "MemAvailable:    4000000 kB\n"
                             "Buffers:          200000 kB\n"
                             "SwapTotal:       8388608 kB\n"
                             "SwapFree:        2097152 kB\n"
                             "HugePages_Total:       0\n"
                             "garbage line\n"
                             "Hugepagesize:       2048 kB\n";
    MemoryStatus m;
    m.Length = 32;
    ASSERT_TRUE(ParseMeminfo(text, m));
    EXPECT_EQ(m.Length, 32u);
    EXPECT_EQ(m.TotalPhys, 16384000000ull);
    EXPECT_EQ(m.AvailPhys, 4096000000ull);
    EXPECT_EQ(m.TotalPageFile, 8589934592ull);
    EXPECT_EQ(m.AvailPageFile, 2147483648ull);
    EXPECT_EQ(m.MemoryLoad, 75u); // 12000000 of 16000000 kB in use

    // 1/3 in use: truncated, not rounded.
    ASSERT_TRUE(ParseMeminfo("MemTotal: 3 kB\nMemAvailable: 2 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n", m));
    EXPECT_EQ(m.MemoryLoad, 33u);
    // More than 4 GiB of swap and 1 TiB of RAM: 64-bit figures.
    ASSERT_TRUE(ParseMeminfo("MemTotal: 1099511627776 kB\nMemAvailable: 0 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n", m));
    EXPECT_EQ(m.TotalPhys, 1125899906842624ull);
    EXPECT_EQ(m.MemoryLoad, 100u);
}

TEST(Meminfo, MissingFieldOrFileFailsWithoutTouchingTheRecord)
{
    MemoryStatus m;
    m.TotalPhys = 42;
    EXPECT_FALSE(ParseMeminfo("MemTotal: 100 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n", m));
    EXPECT_FALSE(ParseMeminfo("MemTotal: lots kB\nMemAvailable: 1 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n", m));
    EXPECT_FALSE(ParseMeminfo("", m));
    EXPECT_FALSE(ReadMemoryStatus("/nonexistent/meminfo", m));
    EXPECT_EQ(m.TotalPhys, 42u);

    TempDir dir;
    WriteFile(dir / "meminfo", "MemTotal: 2048 kB\nMemAvailable: 512 kB\nSwapTotal: 1024 kB\nSwapFree: 1024 kB\n");
    LinuxPlatform::Options o;
    o.Meminfo = dir / "meminfo";
    LinuxPlatform p(o);
    ASSERT_TRUE(p.GlobalMemoryStatus(m));
    EXPECT_EQ(m.TotalPhys, 2097152u);
    EXPECT_EQ(m.AvailPhys, 524288u);
    EXPECT_EQ(m.MemoryLoad, 75u);
    EXPECT_EQ(m.AvailPageFile, 1048576u);
    EXPECT_GT(m.TotalVirtual, 0u);
}

TEST(LinuxPlatformDesktop, TargetsForTheDesktopsOpen)
{
    TempDir dir;
    WriteFile(dir / "kestrix4.chm", "x");
    EXPECT_EQ(ShellTargetUrl(QString::fromStdString(dir / "kestrix4.chm")),
              QUrl::fromLocalFile(QString::fromStdString(dir / "kestrix4.chm")));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.Path()));
    EXPECT_EQ(ShellTargetUrl(QStringLiteral("kestrix4.chm")),
              QUrl::fromLocalFile(QString::fromStdString(dir / "kestrix4.chm")));
    QDir::setCurrent(cwd);
    EXPECT_EQ(ShellTargetUrl(QStringLiteral("https://example.org/kestrix")), QUrl(QStringLiteral("https://example.org/kestrix")));
    EXPECT_EQ(ShellTargetUrl(QStringLiteral("mailto:someone@example.org")), QUrl(QStringLiteral("mailto:someone@example.org")));
    EXPECT_EQ(ShellTargetUrl(QStringLiteral("www.example.org")), QUrl(QStringLiteral("http://www.example.org")));
    // A file that is not there is not sent to a web browser.
    EXPECT_TRUE(ShellTargetUrl(QStringLiteral("no-such-help.chm")).isEmpty());
    EXPECT_TRUE(ShellTargetUrl(QString()).isEmpty());

    LinuxPlatform p;
    EXPECT_FALSE(p.ShellOpen(QStringLiteral("no-such-help.chm")));
    EXPECT_FALSE(p.WinHelp(QString::fromStdString(dir / "Kestrix4.hlp"), 3, 0));
    EXPECT_TRUE(p.WinHelp(QString::fromStdString(dir / "Kestrix4.hlp"), 2, 0)); // closing help
}

TEST(LinuxPlatformDesktop, LaunchesCommandLinesAndKeepsTheErrorMode)
{
    TempDir dir;
    LinuxPlatform p;
    const std::string marker = dir / "started";
    ASSERT_TRUE(p.WinExec(QStringLiteral("touch \"%1\"").arg(QString::fromStdString(marker))));
    for (int i = 0; i < 100 && !fs::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(fs::exists(marker));
    EXPECT_FALSE(p.WinExec(QString()));
    EXPECT_FALSE(p.WinExec(QStringLiteral("rundll32.exe Shell32.dll,Control_RunDLL desk.cpl")));

    EXPECT_EQ(p.SetErrorMode(1), 0u);
    EXPECT_EQ(p.SetErrorMode(0), 1u);

    EXPECT_TRUE(p.ProgramFolder().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(p.ProgramFolder() + QStringLiteral("platform_tests")).exists());
}

namespace {

// Counts the calls per folder and answers from canned figures; the folders
// named as dead hang until Release. Its state is shared with the function
// it hands out: a helper the platform gave up on may still be running in
// it, or only start, after the test is over.
class CountingStatvfs {
    struct State {
        CannedStatvfs Canned;
        std::set<std::string> Dead;
        std::mutex Mutex;
        std::condition_variable Released, Left;
        std::map<std::string, int> Calls;
        int Hanging = 0;
        bool Release = false;
    };
    std::shared_ptr<State> s_ = std::make_shared<State>();

public:
    CannedStatvfs& Canned = s_->Canned;
    std::set<std::string>& Dead = s_->Dead;

    ~CountingStatvfs() { Release(); }

    TimedStatvfs::Function Function()
    {
        return [s = s_](const char* path, struct statvfs* out) {
            std::unique_lock<std::mutex> lock(s->Mutex);
            ++s->Calls[path];
            if (s->Dead.count(path)) {
                ++s->Hanging;
                s->Released.wait_for(lock, std::chrono::seconds(60), [&] { return s->Release; });
                --s->Hanging;
                s->Left.notify_all();
            }
            lock.unlock();
            return s->Canned.Function()(path, out);
        };
    }

    int Calls(const std::string& path)
    {
        std::lock_guard<std::mutex> lock(s_->Mutex);
        return s_->Calls[path];
    }

    void Release()
    {
        std::unique_lock<std::mutex> lock(s_->Mutex);
        s_->Dead.clear();
        s_->Release = true;
        s_->Released.notify_all();
        s_->Left.wait_for(lock, std::chrono::seconds(10), [&] { return s_->Hanging == 0; });
    }
};

} // namespace

TEST(LinuxPlatformDrivePass, LocalDrivesAskedAtOnceAndEachDriveOncePerPass)
{
    // On the laptop C: (ext4 on a disk) and K: (tmpfs) are local; J: (nfs4)
    // and L: (cifs) can hang.
    SysfsTree sys;
    CountingStatvfs direct, timed;
    direct.Canned.Add("/", 4096, 1000, 250);
    direct.Canned.Add("/mnt/ramdisk", 4096, 100, 50);
    timed.Canned.Add("/mnt/nas", 4096, 2000, 1000);
    timed.Canned.Add("/mnt/win", 4096, 3000, 300);
    LinuxPlatform::Options o = LaptopOptions(sys.Root(), nullptr);
    o.Statvfs = timed.Function();
    o.DirectStatvfs = direct.Function();
    LinuxPlatform p(o);

    std::int64_t free = 0, total = 0;
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
    EXPECT_EQ(total, 4096000);
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
    EXPECT_EQ(free, 4096000);
    EXPECT_EQ(direct.Calls("/"), 1);
    EXPECT_EQ(timed.Calls("/"), 0);
    EXPECT_EQ(timed.Calls("/mnt/nas"), 1);
    EXPECT_EQ(direct.Calls("/mnt/nas"), 0);

    {
        const DrivePass pass(p);
        // The drives that can hang are asked when the pass begins.
        EXPECT_EQ(timed.Calls("/mnt/nas"), 2);
        EXPECT_EQ(timed.Calls("/mnt/win"), 1);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
            ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
        }
        EXPECT_EQ(total, 12288000);
        EXPECT_EQ(free, 1228800);
        ClusterInfo c;
        ASSERT_TRUE(p.GetDiskFreeSpace(QStringLiteral("K:\\"), c));
        EXPECT_EQ(c.SectorsPerCluster, 8u);
        VolumeInformation v;
        ASSERT_TRUE(p.GetVolumeInformation(QStringLiteral("K:\\"), v));
        EXPECT_EQ(v.FileSystemName, QStringLiteral("tmpfs"));
        EXPECT_EQ(direct.Calls("/"), 2);
        EXPECT_EQ(direct.Calls("/mnt/ramdisk"), 1);
        EXPECT_EQ(timed.Calls("/mnt/win"), 1);
        // A drive that does not answer is not asked again within the pass.
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("E:\\"), free, total));
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("E:\\"), free, total));
        EXPECT_EQ(direct.Calls("/home"), 1);
    }
    // Nothing outlives the pass: the next question is asked afresh and sees
    // the new figure.
    direct.Canned.Add("/", 4096, 1000, 100);
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
    EXPECT_EQ(free, 409600);
    EXPECT_EQ(direct.Calls("/"), 3);
}

TEST(LinuxPlatformDrivePass, DeadSharesCostOneWaitAndThenAnswerAtOnce)
{
    SysfsTree sys;
    CountingStatvfs direct;
    auto timed = std::make_unique<CountingStatvfs>();
    timed->Canned.Add("/mnt/nas", 4096, 2000, 1000);
    timed->Canned.Add("/mnt/win", 4096, 3000, 300);
    timed->Dead = {"/mnt/nas", "/mnt/win"};
    direct.Canned.Add("/", 4096, 1000, 250);
    LinuxPlatform::Options o = LaptopOptions(sys.Root(), nullptr);
    o.Statvfs = timed->Function();
    o.DirectStatvfs = direct.Function();
    o.Timeout = std::chrono::milliseconds(400);
    LinuxPlatform p(o);

    std::int64_t free = 0, total = 0;
    QElapsedTimer timer;
    timer.start();
    {
        const DrivePass pass(p);
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
        EXPECT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
    }
    // Both waited for together: one time limit, not two after each other.
    const qint64 first = timer.elapsed();
    EXPECT_GE(first, 390);
    EXPECT_LT(first, 790);

    // Known to hang: "not answering" at once, not asked again meanwhile.
    timer.restart();
    {
        const DrivePass pass(p);
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
    }
    EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
    EXPECT_LT(timer.elapsed(), 300);
    EXPECT_EQ(timed->Calls("/mnt/nas"), 1);
    EXPECT_EQ(timed->Calls("/mnt/win"), 1);

    // The shares come back. Their stuck calls end on the helper threads a
    // moment after the release (later on a busy machine); from then on a
    // pass asks them again and shows them.
    timed->Release();
    bool back = false;
    std::int64_t winFree = 0;
    int passes = 0;
    for (; passes < 500 && !back; ++passes) {
        const DrivePass pass(p);
        back = p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), winFree, total)
            && p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total);
        if (!back)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(back);
    EXPECT_EQ(winFree, 1228800);
    // Asked again, at most once per pass (usually one pass: once more).
    EXPECT_GE(timed->Calls("/mnt/nas"), 2);
    EXPECT_LE(timed->Calls("/mnt/nas"), 1 + passes);
}

namespace {

// The laptop with J: (nfs4) hanging and L: (cifs) answering 300 of 3000
// blocks of 4096 bytes: both can hang, so both go through the helpers.
LinuxPlatform::Options OneShareDead(const std::string& sysfs, CountingStatvfs& direct, CountingStatvfs& timed,
                                    int timeoutMs)
{
    timed.Canned.Add("/mnt/win", 4096, 3000, 300);
    timed.Dead = {"/mnt/nas"};
    direct.Canned.Add("/", 4096, 1000, 250);
    LinuxPlatform::Options o = LaptopOptions(sysfs, nullptr);
    o.Statvfs = timed.Function();
    o.DirectStatvfs = direct.Function();
    o.Timeout = std::chrono::milliseconds(timeoutMs);
    return o;
}

} // namespace

TEST(LinuxPlatformDrivePass, QuestionsAskedAheadServeOnlyTheNextPassAndCostOneWait)
{
    // Both shares asked ahead; the pass begins at once, long before the
    // limit is up.
    SysfsTree sys;
    CountingStatvfs direct;
    auto timed = std::make_unique<CountingStatvfs>();
    LinuxPlatform p(OneShareDead(sys.Root(), direct, *timed, 1000));

    p.AskAhead();
    std::int64_t free = 0, total = 0;
    {
        const DrivePass pass(p);
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
        ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
        EXPECT_EQ(free, 1228800); // 300 x 4096
    }
    // The pass took the questions put ahead: each share asked once, and the
    // dead one cost a single wait.
    EXPECT_EQ(timed->Calls("/mnt/nas"), 1);
    EXPECT_EQ(timed->Calls("/mnt/win"), 1);
    EXPECT_EQ(p.WaitsRunOut(), 1);

    // The next pass asks afresh and sees the new figure; the dead share
    // answers "not answering" at once, without another wait.
    timed->Canned.Add("/mnt/win", 4096, 3000, 600);
    {
        const DrivePass pass(p);
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
        ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
        EXPECT_EQ(free, 2457600); // 600 x 4096
    }
    EXPECT_EQ(timed->Calls("/mnt/win"), 2);
    EXPECT_EQ(timed->Calls("/mnt/nas"), 1);
    EXPECT_EQ(p.WaitsRunOut(), 1);
}

TEST(LinuxPlatformDrivePass, QuestionsAskedAheadAreDroppedOnceTheirTimeIsUp)
{
    SysfsTree sys;
    CountingStatvfs direct;
    auto timed = std::make_unique<CountingStatvfs>();
    LinuxPlatform p(OneShareDead(sys.Root(), direct, *timed, 50));

    p.AskAhead();
    // Past the limit, and the answering share's early answer is in.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    for (int i = 0; i < 500 && timed->Calls("/mnt/win") == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(timed->Calls("/mnt/win"), 1);
    timed->Canned.Add("/mnt/win", 4096, 3000, 900);

    std::int64_t free = 0, total = 0;
    {
        const DrivePass pass(p);
        // Too old to serve: asked again, the new figure shown.
        ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("L:\\"), free, total));
        EXPECT_EQ(free, 3686400); // 900 x 4096
        // The dead share's early call still hangs: it counts as hanging, so
        // it is neither asked again nor waited for.
        EXPECT_FALSE(p.GetDiskFreeSpaceEx(QStringLiteral("J:\\"), free, total));
    }
    EXPECT_EQ(timed->Calls("/mnt/win"), 2);
    EXPECT_EQ(timed->Calls("/mnt/nas"), 1);
    EXPECT_EQ(p.WaitsRunOut(), 0);
}
