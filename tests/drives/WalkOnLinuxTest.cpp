// The walk of real folders through the Linux listings: links, odd names,
// folders that vanish, few handles on deep trees, a chain 10,000 deep, a
// folder bound inside itself.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "drives/FileInfo.h"
#include "platform/LinuxPlatform.h"
#include "WalkTestSupport.h"
#include "support/CoreTestSupport.h"

namespace {

// On a RAM disk where there is one: deep trees are slow to build on a disk.
QString ScratchPattern()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/kestrix-walk-XXXXXX");
}

class RealWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = QFile::encodeName(dir.path()).toStdString();
        LinuxPlatform::Options o;
        o.Map.Drives = "T=" + path;
        platform = std::make_unique<LinuxPlatform>(o);
        scope = std::make_unique<ScopedPlatform>(*platform);
    }
    // By bytes: QTemporaryDir cannot remove names that are not UTF-8.
    void TearDown() override
    {
        ::nftw(
            path.c_str(), [](const char* p, const struct stat*, int, FTW*) { return ::remove(p); }, 16,
            FTW_DEPTH | FTW_PHYS);
    }
    void Walk(const TScanPacing& pacing = {})
    {
        list.Reset(QStringLiteral("T:\\"));
        list.Scan(stop, nullptr, 1, pacing);
    }
    std::int64_t Files() const { return list.EntryCount() - 3 * list.FolderCount(); }
    void Write(const std::string& name, std::size_t bytes)
    {
        const int fd = ::open((path + "/" + name).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << name;
        ASSERT_EQ(::ftruncate(fd, off_t(bytes)), 0);
        ::close(fd);
    }

    QTemporaryDir dir{ScratchPattern()};
    std::string path;
    std::unique_ptr<LinuxPlatform> platform;
    std::unique_ptr<ScopedPlatform> scope;
    TDirectoryList list;
    bool stop = false;
};

TEST_F(RealWalk, LinksAndOddNames)
{
    ASSERT_EQ(::mkdir((path + "/sub").c_str(), 0755), 0);
    Write("sub/data", 1000);
    ASSERT_EQ(::link((path + "/sub/data").c_str(), (path + "/hard").c_str()), 0);
    ASSERT_EQ(::symlink("sub", (path + "/to-sub").c_str()), 0);        // 3 bytes, never followed
    ASSERT_EQ(::symlink("sub/data", (path + "/to-data").c_str()), 0);  // 8 bytes
    const std::string odd("caf\xe9\\new\nline", 13);
    ASSERT_EQ(::mkdir((path + "/" + odd).c_str(), 0755), 0);
    Write(odd + "/inner", 5);
    Walk();
    EXPECT_EQ(list.FolderCount(), 2);
    EXPECT_EQ(Files(), 5);                           // data, hard, two links, inner
    EXPECT_EQ(list.TotalSize(), 1000 + 1000 + 3 + 8 + 5); // a hard link counts each time
}

TEST_F(RealWalk, FewHandlesComeBackThroughTheParentOfTheFolderJustWalked)
{
    std::string at = path;
    for (int k = 1; k <= 30; ++k) {
        Write(at.substr(path.size()) + "/f", 1);
        if (k < 30) {
            ASSERT_EQ(::mkdir((at + "/b").c_str(), 0755), 0);
        }
        ASSERT_EQ(::mkdir((at + "/a").c_str(), 0755), 0);
        Write(at.substr(path.size()) + "/a/x", 10);
        at += "/b";
    }
    TScanPacing p;
    p.OpenHandles = 2;
    Walk(p);
    EXPECT_EQ(list.FolderCount(), 30 + 29);
    EXPECT_EQ(Files(), 60);
    EXPECT_EQ(list.TotalSize(), 30 * 11);
}

TEST_F(RealWalk, AFolderThatVanishesBeforeItIsEnteredCountsAsEmpty)
{
    for (const char* d : {"a", "gone"})
        ASSERT_EQ(::mkdir((path + "/" + d).c_str(), 0755), 0);
    Write("a/one", 1);
    Write("gone/lost", 100);
    int pumps = 0;
    Walk(EveryFolder([&] {
        if (++pumps == 2) { // "a" or "gone" begins: the other one goes
            ::unlink((path + "/gone/lost").c_str());
            ::rmdir((path + "/gone").c_str());
        }
    }));
    EXPECT_EQ(list.FolderCount(), 2);
    EXPECT_EQ(list.TotalSize(), 1);
    EXPECT_EQ(Files(), 1);
}

// A chain of 10,000 folders with a 7-byte file at its end, walked with far
// fewer descriptors than levels. Built and removed with handles, as its
// path is longer than any path the system takes.
TEST_F(RealWalk, TenThousandLevelsDeepWithSixtyFourDescriptors)
{
    constexpr int kDepth = 10000;
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < kDepth; ++i) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int file = ::openat(fd, "end", O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(::write(file, "1234567", 7), 7);
    ::close(file);
    ::close(fd);

    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    rlimit low = saved;
    low.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    Walk();
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(list.FolderCount(), kDepth);
    EXPECT_EQ(Files(), 1);
    EXPECT_EQ(list.TotalSize(), 7);

    // Down again, then up removing each level through "..".
    fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kDepth; ++i) {
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ::unlinkat(fd, "end", 0);
    for (int i = 0; i < kDepth; ++i) {
        const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = up;
        ASSERT_EQ(::unlinkat(fd, "d", AT_REMOVEDIR), 0) << std::strerror(errno);
    }
    ::close(fd);
}

// The walked folder bound onto a folder inside itself: the binding has the
// folder's own device, but it is the root of a mount and is not entered.
// Mounts need a mount namespace of their own: in a child process, which
// reports its figures through a pipe (skipped where it may not mount).
TEST_F(RealWalk, AFolderBoundInsideItselfIsNotEntered)
{
    ASSERT_EQ(::mkdir((path + "/a").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((path + "/a/loop").c_str(), 0755), 0);
    Write("a/x", 3);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(out[0]);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount(path.c_str(), (path + "/a/loop").c_str(), nullptr, MS_BIND, nullptr) != 0)
            ::_exit(77);
        Walk();
        const std::int64_t figures[] = {list.FolderCount(), Files(), list.TotalSize()};
        const bool written = ::write(out[1], figures, sizeof figures) == ssize_t(sizeof figures);
        ::_exit(written ? 0 : 1);
    }
    ::close(out[1]);
    std::int64_t figures[3] = {-1, -1, -1};
    const ssize_t got = ::read(out[0], figures, sizeof figures);
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace here";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(got, ssize_t(sizeof figures));
    // a and loop (an empty folder); x alone. Entered, the binding would
    // have added a, x and loop once more.
    EXPECT_EQ(figures[0], 2);
    EXPECT_EQ(figures[1], 1);
    EXPECT_EQ(figures[2], 3);
}

} // namespace
