// The platform on real filesystems, mounted by the test as root in a mount
// namespace of its own (nothing shows outside the test, and the kernel
// drops every mount when the process ends, whatever happens). Each test
// skips with the reason when it cannot mount.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

#include "PlatformTestSupport.h"
#include "platform/LinuxPlatform.h"

using namespace platformtest;

namespace {

// Runs a shell command; its exit status, with its output in `output`.
int RunShell(const std::string& command, std::string* output = nullptr)
{
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return -1;
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p))
        out += buf;
    const int status = ::pclose(p);
    if (output)
        *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const std::string& name)
{
    return RunShell("command -v " + name) == 0;
}

// Moves the test process into a private mount namespace, once. Empty when
// done, else why it cannot be.
std::string PrivateMountNamespace()
{
    static const std::string why = [] {
        if (::geteuid() != 0)
            return std::string("mounting needs root (running as uid ") + std::to_string(::geteuid()) + ")";
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("cannot make a private mount namespace: ") + std::strerror(errno);
        // Mounts made here must not propagate to the machine.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_SLAVE, nullptr) != 0)
            return std::string("cannot make / a slave mount: ") + std::strerror(errno);
        return std::string();
    }();
    return why;
}

// A folder to mount in; every mount made through it is undone at the end,
// innermost first, also when the test fails.
class Sandbox {
public:
    ~Sandbox()
    {
        for (auto it = mounts_.rbegin(); it != mounts_.rend(); ++it)
            if (::umount2(it->c_str(), 0) != 0)
                ::umount2(it->c_str(), MNT_DETACH);
    }

    std::string Folder(const std::string& name)
    {
        const std::string path = dir_ / name;
        fs::create_directories(path);
        return path;
    }

    std::string Tmpfs(const std::string& path, const std::string& options)
    {
        if (::mount("kestrix-test", path.c_str(), "tmpfs", 0, options.c_str()) != 0)
            return std::string("cannot mount tmpfs: ") + std::strerror(errno);
        mounts_.push_back(path);
        return {};
    }

    std::string Bind(const std::string& from, const std::string& to)
    {
        if (::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return std::string("cannot bind-mount: ") + std::strerror(errno);
        mounts_.push_back(to);
        return {};
    }

    // Mounts an image through a loop device (freed again at unmount).
    std::string Loop(const std::string& image, const std::string& path, const std::string& type)
    {
        std::string out;
        if (RunShell("mount -t " + type + " -o loop '" + image + "' '" + path + "'", &out) != 0)
            return "cannot mount " + type + " through a loop device: " + out;
        mounts_.push_back(path);
        return {};
    }

    // A FUSE view of a folder, as bindfs mounts it without options: the
    // plain type "fuse" with the folder as its source.
    std::string Bindfs(const std::string& from, const std::string& to)
    {
        std::string out;
        if (RunShell("bindfs '" + from + "' '" + to + "'", &out) != 0)
            return "cannot mount with bindfs: " + out;
        mounts_.push_back(to);
        return {};
    }

    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_{"kestrix-mnt"};
    std::vector<std::string> mounts_;
};

#define REQUIRE_OK(why)                                                                                                \
    do {                                                                                                               \
        const std::string reason = (why);                                                                              \
        if (!reason.empty())                                                                                           \
            GTEST_SKIP() << reason;                                                                                    \
    } while (0)

// The drive the map gives to a folder; nullptr when it has none.
const MappedDrive* DriveAt(const DriveMapSnapshot& map, const std::string& path)
{
    for (const MappedDrive& d : map.Drives)
        if (d.Path == path)
            return &d;
    return nullptr;
}

QString Root(char letter)
{
    return QStringLiteral("%1:\\").arg(QLatin1Char(letter));
}

LinuxPlatform::Options Discovery()
{
    LinuxPlatform::Options o;
    o.Map.Drives = std::string();
    return o;
}

void WriteBytes(const std::string& path, std::size_t bytes)
{
    const std::string chunk(65536, 'k');
    std::ofstream out(path, std::ios::binary);
    for (std::size_t done = 0; done < bytes; done += chunk.size())
        out.write(chunk.data(), std::streamsize(std::min(chunk.size(), bytes - done)));
}

// df's figures for a folder: size and space available, in bytes.
bool DfFigures(const std::string& path, long long& size, long long& avail)
{
    std::string out;
    if (RunShell("df -B1 --output=size,avail '" + path + "' | tail -1", &out) != 0)
        return false;
    return std::sscanf(out.c_str(), "%lld %lld", &size, &avail) == 2;
}

} // namespace

TEST(RealMounts, TmpfsOfKnownSizeAndFill)
{
    REQUIRE_OK(PrivateMountNamespace());
    Sandbox box;
    const std::string ram = box.Folder("ram");
    REQUIRE_OK(box.Tmpfs(ram, "size=8M"));
    WriteBytes(ram + "/three-mib", 3145728);

    // 8 MiB of pages, 3 MiB of them taken by the file (tmpfs charges no
    // blocks for folders): 8388608 bytes in all, 5242880 free.
    const long page = ::sysconf(_SC_PAGESIZE);
    for (const bool explicitMap : {true, false}) {
        SCOPED_TRACE(explicitMap ? "KESTRIX_DRIVES" : "discovery");
        LinuxPlatform::Options o = Discovery();
        if (explicitMap)
            o.Map.Drives = "R=" + ram;
        LinuxPlatform p(o);
        const MappedDrive* d = DriveAt(*p.Map().Current(), ram);
        ASSERT_NE(d, nullptr);
        const QString root = Root(d->Letter);
        EXPECT_EQ(p.GetDriveType(root), unsigned(DRIVE_RAMDISK));
        std::int64_t free = 0, total = 0;
        ASSERT_TRUE(p.GetDiskFreeSpaceEx(root, free, total));
        EXPECT_EQ(total, 8388608);
        EXPECT_EQ(free, 5242880);
        ClusterInfo c;
        ASSERT_TRUE(p.GetDiskFreeSpace(root, c));
        EXPECT_EQ(c.BytesPerSector, 512u); // no disk behind it
        EXPECT_EQ(std::int64_t(c.SectorsPerCluster) * c.BytesPerSector, page);
        EXPECT_EQ(std::int64_t(c.TotalNumberOfClusters), 8388608 / page);
        EXPECT_EQ(std::int64_t(c.NumberOfFreeClusters), 5242880 / page);
        VolumeInformation v;
        ASSERT_TRUE(p.GetVolumeInformation(root, v));
        EXPECT_EQ(v.FileSystemName, QStringLiteral("tmpfs"));
        EXPECT_EQ(v.VolumeName, QString());
        QString name;
        ASSERT_TRUE(p.ShellDisplayName(root, name));
        EXPECT_EQ(name, QStringLiteral("ram (%1:)").arg(QLatin1Char(d->Letter)));
    }
}

TEST(RealMounts, Ext4ImageOnALoopDevice)
{
    REQUIRE_OK(PrivateMountNamespace());
    if (!HaveTool("mkfs.ext4"))
        GTEST_SKIP() << "mkfs.ext4 is not installed (e2fsprogs)";
    Sandbox box;
    const std::string image = box.Dir() / "ext4.img";
    std::string out;
    ASSERT_EQ(RunShell("truncate -s 16M '" + image + "' && mkfs.ext4 -q -F -b 1024 -L KESTRIX "
                  "-U 1234abcd-5678-4def-8123-456789abcdef '" + image + "'", &out), 0) << out;
    const std::string disk = box.Folder("disk");
    REQUIRE_OK(box.Loop(image, disk, "ext4"));
    // A RAM disk mounted inside it: a folder on another device.
    const std::string inner = disk + "/inner";
    fs::create_directories(inner);
    const std::string innerWhy = box.Tmpfs(inner, "size=1M");
    ASSERT_EQ(innerWhy, "");

    LinuxPlatform p(Discovery());
    const auto map = p.Map().Current();
    const MappedDrive* d = DriveAt(*map, disk);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->DeviceNode.rfind("/dev/loop", 0), 0u) << d->DeviceNode;
    const QString root = Root(d->Letter);
    EXPECT_EQ(p.GetDriveType(root), unsigned(DRIVE_FIXED));

    VolumeInformation v;
    ASSERT_TRUE(p.GetVolumeInformation(root, v));
    EXPECT_EQ(v.VolumeName, QStringLiteral("KESTRIX"));
    EXPECT_EQ(v.SerialNumber, 0x1234ABCDu);
    EXPECT_EQ(v.FileSystemName, QStringLiteral("ext4"));
    EXPECT_EQ(v.MaximumComponentLength, 255u);
    QString name;
    ASSERT_TRUE(p.ShellDisplayName(root, name));
    EXPECT_EQ(name, QStringLiteral("KESTRIX (%1:)").arg(QLatin1Char(d->Letter)));

    // 1 KiB blocks on a loop device of 512-byte sectors.
    ClusterInfo c;
    ASSERT_TRUE(p.GetDiskFreeSpace(root, c));
    EXPECT_EQ(c.BytesPerSector, 512u);
    EXPECT_EQ(c.SectorsPerCluster, 2u);
    long long dfSize = 0, dfAvail = 0;
    ASSERT_TRUE(DfFigures(disk, dfSize, dfAvail));
    std::int64_t free = 0, total = 0;
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(root, free, total));
    EXPECT_EQ(total, dfSize);
    EXPECT_EQ(free, dfAvail);
    EXPECT_EQ(std::int64_t(c.TotalNumberOfClusters) * 1024, total);

    // The nested RAM disk has a letter of its own, after the disk's.
    const MappedDrive* n = DriveAt(*map, inner);
    ASSERT_NE(n, nullptr);
    EXPECT_GT(n->Letter, d->Letter);
    EXPECT_EQ(n->Type, unsigned(DRIVE_RAMDISK));

    std::unique_ptr<DirListing> listing = p.FindFirst(root);
    ASSERT_NE(listing, nullptr);
    DirEntry e;
    bool lostFound = false, innerOther = false;
    while (listing->Next(e)) {
        lostFound |= e.Name == "lost+found" && e.Directory && !e.OtherDevice;
        innerOther |= e.Name == "inner" && e.Directory && e.OtherDevice;
    }
    EXPECT_TRUE(lostFound);
    EXPECT_TRUE(innerOther);
}

TEST(RealMounts, SquashfsUnderASnapFolderIsLeftOut)
{
    REQUIRE_OK(PrivateMountNamespace());
    if (!HaveTool("mksquashfs"))
        GTEST_SKIP() << "mksquashfs is not installed (squashfs-tools)";
    Sandbox box;
    WriteFile(box.Dir() / "content/meta/snap.yaml", "name: kestrix-test\n");
    const std::string image = box.Dir() / "kestrix-test_1.snap";
    std::string out;
    ASSERT_EQ(RunShell("mksquashfs '" + (box.Dir() / "content") + "' '" + image + "' -quiet -no-progress", &out), 0) << out;
    const std::string snap = box.Folder("snap/kestrix-test/1");
    REQUIRE_OK(box.Loop(image, snap, "squashfs"));

    LinuxPlatform p(Discovery());
    const auto map = p.Map().Current();
    EXPECT_EQ(DriveAt(*map, snap), nullptr);
    bool leftOut = false;
    for (const LeftOutMount& m : map->LeftOut)
        leftOut |= m.MountPoint == snap && m.Reason == "snap image";
    EXPECT_TRUE(leftOut);
}

TEST(RealMounts, BindMountsOfAMappedFolderAreLeftOut)
{
    REQUIRE_OK(PrivateMountNamespace());
    Sandbox box;
    const std::string data = box.Folder("data");
    REQUIRE_OK(box.Tmpfs(data, "size=1M"));
    fs::create_directories(data + "/sub");
    const std::string alias = box.Folder("alias");
    const std::string part = box.Folder("part");
    REQUIRE_OK(box.Bind(data, alias));
    REQUIRE_OK(box.Bind(data + "/sub", part));

    LinuxPlatform p(Discovery());
    const auto map = p.Map().Current();
    EXPECT_NE(DriveAt(*map, data), nullptr);
    EXPECT_EQ(DriveAt(*map, alias), nullptr);
    EXPECT_EQ(DriveAt(*map, part), nullptr);
    int duplicates = 0;
    for (const LeftOutMount& m : map->LeftOut)
        duplicates += (m.MountPoint == alias || m.MountPoint == part)
            && m.Reason == "second mount of the filesystem on " + data;
    EXPECT_EQ(duplicates, 2);
}

TEST(RealMounts, BindfsViewOfAFolderGetsALetterWithoutTypeInformation)
{
    REQUIRE_OK(PrivateMountNamespace());
    if (!HaveTool("bindfs"))
        GTEST_SKIP() << "bindfs is not installed";
    Sandbox box;
    const std::string photos = box.Folder("photos");
    WriteBytes(photos + "/picture", 4096);
    const std::string view = box.Folder("view");
    REQUIRE_OK(box.Bindfs(photos, view));

    LinuxPlatform p(Discovery());
    const auto map = p.Map().Current();
    const MappedDrive* d = DriveAt(*map, view);
    ASSERT_NE(d, nullptr) << "left out";
    EXPECT_EQ(d->Mount.FsType, "fuse");
    EXPECT_EQ(d->Mount.Source, photos);
    const QString root = Root(d->Letter);
    EXPECT_EQ(p.GetDriveType(root), unsigned(DRIVE_UNKNOWN));
    VolumeInformation v;
    ASSERT_TRUE(p.GetVolumeInformation(root, v));
    EXPECT_EQ(v.FileSystemName, QStringLiteral("fuse"));
    // The folder's name stands for the label it has not.
    QString name;
    ASSERT_TRUE(p.ShellDisplayName(root, name));
    EXPECT_EQ(name, QStringLiteral("view (%1:)").arg(QLatin1Char(d->Letter)));
    // bindfs passes the figures of the folder's filesystem through.
    long long dfSize = 0, dfAvail = 0;
    ASSERT_TRUE(DfFigures(photos, dfSize, dfAvail));
    std::int64_t free = 0, total = 0;
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(root, free, total));
    EXPECT_EQ(total, dfSize);
}

TEST(RealMounts, MapFollowsMountsThatComeAndGo)
{
    REQUIRE_OK(PrivateMountNamespace());
    Sandbox box;
    const std::string usb = box.Folder("usb");
    LinuxPlatform p(Discovery());
    EXPECT_EQ(DriveAt(*p.Map().Current(), usb), nullptr);
    // Queries without a change of the mount table use the map built before.
    const unsigned long generations = p.Map().Generations();
    for (int i = 0; i < 10; ++i)
        p.GetDriveType(QStringLiteral("C:\\"));
    EXPECT_EQ(p.Map().Generations(), generations);

    REQUIRE_OK(box.Tmpfs(usb, "size=2M"));
    const MappedDrive* d = DriveAt(*p.Map().Current(), usb);
    ASSERT_NE(d, nullptr);
    const char letter = d->Letter;
    std::int64_t free = 0, total = 0;
    EXPECT_TRUE(p.GetDiskFreeSpaceEx(Root(letter), free, total));
    EXPECT_EQ(total, 2097152);

    ASSERT_EQ(::umount2(usb.c_str(), 0), 0);
    EXPECT_EQ(DriveAt(*p.Map().Current(), usb), nullptr);
    EXPECT_NE(p.GetDriveType(Root(letter)), unsigned(DRIVE_RAMDISK));
}

TEST(RealMachine, RootIsCAndNoSystemFoldersGetLetters)
{
    LinuxPlatform p(Discovery());
    const auto map = p.Map().Current();
    ASSERT_FALSE(map->Drives.empty());
    EXPECT_EQ(map->Drives[0].Letter, 'C');
    EXPECT_EQ(map->Drives[0].Path, "/");
    for (const MappedDrive& d : map->Drives) {
        SCOPED_TRACE(d.Path);
        for (const char* system : {"/proc", "/sys", "/dev", "/run/"})
            EXPECT_NE(d.Path.rfind(system, 0), 0u);
    }
    long long dfSize = 0, dfAvail = 0;
    ASSERT_TRUE(DfFigures("/", dfSize, dfAvail));
    std::int64_t free = 0, total = 0;
    ASSERT_TRUE(p.GetDiskFreeSpaceEx(QStringLiteral("C:\\"), free, total));
    EXPECT_EQ(total, dfSize);
}
