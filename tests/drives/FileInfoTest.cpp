// The directory tree and its walk on the fake platform: counts and sizes of
// the design's examples, the order and records of the items, the status
// texts, and hostile trees (deep, wide, unreadable, linked, odd names).
#include <QStringList>
#include <gtest/gtest.h>
#include <string>

#include "drives/FileInfo.h"
#include "platform/FakePlatform.h"
#include "WalkTestSupport.h"
#include "support/CoreTestSupport.h"

namespace {

constexpr std::int64_t GiB = 1024LL * 1024 * 1024;

class FakeWalk : public ::testing::Test {
protected:
    FakeFolder& Root() { return *fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 50 * GiB).Root; }

    void Walk(const TScanPacing& pacing = EveryFolder())
    {
        list.Reset(QStringLiteral("C:\\"));
        list.Scan(stop, [this](const QString& t) { texts << t; }, 1, pacing);
    }
    std::int64_t Files() const { return list.EntryCount() - 3 * list.FolderCount(); }

    FakePlatform fake;
    ScopedPlatform scope{fake};
    TDirectoryList list;
    bool stop = false;
    QStringList texts;
};

TEST(RoundUpToUnit, RoundsUpToMultiplesOfAPowerOfTwo)
{
    EXPECT_EQ(RoundUpToUnit(5, 1), 5);
    EXPECT_EQ(RoundUpToUnit(0, 4096), 0);
    EXPECT_EQ(RoundUpToUnit(1, 4096), 4096);
    EXPECT_EQ(RoundUpToUnit(4096, 4096), 4096);
    EXPECT_EQ(RoundUpToUnit(4097, 4096), 8192);
    EXPECT_EQ(RoundUpToUnit(6 * GiB + 1, 512), 6 * GiB + 512);
    // Beyond the 64-bit range rounding stops at the last multiple.
    EXPECT_EQ(RoundUpToUnit(std::numeric_limits<std::int64_t>::max() - 10, 4096),
              std::numeric_limits<std::int64_t>::max() - 4095);
}

TEST_F(FakeWalk, TwoFilesAndAFolderOfThreeGiveOneFolderAndFiveFiles)
{
    FakeFolder& root = Root();
    root.AddFile("a", 5).AddFile("b", 6 * GiB);
    root.AddFolder("sub").AddFile("x", 1).AddFile("y", 2).AddFile("z", 3);
    Walk();
    EXPECT_EQ(list.FolderCount(), 1);
    EXPECT_EQ(list.EntryCount(), 8); // 2 + 1 + (3 + 2)
    EXPECT_EQ(Files(), 5);
    EXPECT_EQ(list.TotalSize(), 5 + 6 * GiB + 6); // the 6 GiB file at its full size

    // The same tree on a platform whose root lists no "." and "..".
    fake.Drive('C')->Root->ListDots = false;
    Walk();
    EXPECT_EQ(list.EntryCount(), 8);
    EXPECT_EQ(Files(), 5);
}

TEST_F(FakeWalk, ItemsKeepTheListingOrderWithTheirRecords)
{
    FakeFolder& root = Root();
    root.AddFile("first.txt", 5);
    FakeFolder& sub = root.AddFolder("Windows");
    sub.AddFile("big.iso", 6 * GiB).AddFile("small", 7);
    root.AddFile("last", 0);
    Walk();

    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), QStringLiteral("first.txt"));
    EXPECT_EQ(list.Strings(1), QStringLiteral("\\Windows"));
    EXPECT_EQ(list.Strings(2), QStringLiteral("last"));
    EXPECT_EQ(list.Objects(0).Size(), 5u);
    EXPECT_FALSE(list.Objects(0).SubList());
    EXPECT_TRUE(list.Objects(0).Owner() == list);
    EXPECT_FALSE(list.Parent());

    // The folder's record holds its total, low 32 bits of 6 GiB + 7.
    const TDirectoryData folder = list.Objects(1);
    EXPECT_EQ(folder.Size(), 2147483655u);
    ASSERT_TRUE(folder.SubList());
    const TDirectoryFolder windows = *folder.SubList();
    EXPECT_EQ(windows.Path(), QStringLiteral("C:\\Windows\\"));
    EXPECT_EQ(windows.TotalSize(), 6 * GiB + 7);
    EXPECT_EQ(windows.EntryCount(), 4); // ".", ".." and two files
    EXPECT_EQ(windows.FolderCount(), 0);
    ASSERT_TRUE(windows.Parent());
    EXPECT_TRUE(*windows.Parent() == list);

    // Below the root a list begins with "..", size 0, owned by the list itself.
    ASSERT_EQ(windows.Count(), 3);
    EXPECT_EQ(windows.Strings(0), QStringLiteral(".."));
    EXPECT_EQ(windows.Objects(0).Size(), 0u);
    EXPECT_TRUE(windows.Objects(0).Owner() == windows);
    EXPECT_FALSE(windows.Objects(0).SubList());
    EXPECT_EQ(windows.Strings(1), QStringLiteral("big.iso"));
    EXPECT_EQ(windows.Objects(1).Size(), 2147483648u); // 6 GiB keeps its low 32 bits
    EXPECT_EQ(windows.Strings(2), QStringLiteral("small"));
}

TEST_F(FakeWalk, StatusNamesEveryFolderDepthFirstInListingOrder)
{
    FakeFolder& root = Root();
    root.AddFolder("a").AddFolder("deep");
    root.AddFile("f", 1);
    root.AddFolder("b");
    Walk();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Scanning C:\\..."), QStringLiteral("Scanning C:\\a\\..."),
                                  QStringLiteral("Scanning C:\\a\\deep\\..."), QStringLiteral("Scanning C:\\b\\...")}));
}

TEST_F(FakeWalk, TimedPacingReportsTheRootFirstAndPumpsInsideAWideFolder)
{
    FakeFolder& root = Root();
    FakeFolder& wide = root.AddFolder("wide");
    for (int i = 0; i < 200000; ++i)
        wide.AddFile("f" + std::to_string(i), 1);
    int pumps = 0;
    TScanPacing p;
    p.PumpMs = 0; // due at every check: within the folder every 64 entries
    p.StatusMs = 1000000;
    p.Pump = [&] { ++pumps; };
    Walk(p);
    EXPECT_EQ(Files(), 200000);
    EXPECT_EQ(list.TotalSize(), 200000);
    // Only the first text passes a status interval this long.
    EXPECT_EQ(texts, QStringList{QStringLiteral("Scanning C:\\...")});
    EXPECT_GE(pumps, 200000 / 64);
}

TEST_F(FakeWalk, UnreadableFoldersCountAsEmptyFolders)
{
    FakeFolder& root = Root();
    root.AddFile("a", 10);
    FakeFolder& locked = root.AddFolder("locked");
    locked.AddFile("hidden", 1000);
    locked.Unreadable = true;
    Walk();
    EXPECT_EQ(list.FolderCount(), 1);
    EXPECT_EQ(list.TotalSize(), 10);
    // Its "." and ".." count as an empty folder's would: the file count is
    // not lowered by the folder that could not be read.
    EXPECT_EQ(Files(), 1);

    // A root that cannot be listed gives nothing at all.
    fake.Drive('C')->Root->Unreadable = true;
    Walk();
    EXPECT_EQ(list.TotalSize(), 0);
    EXPECT_EQ(list.EntryCount(), 0);
    EXPECT_EQ(list.FolderCount(), 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(FakeWalk, LinksCountTheirOwnSizeAndOtherFilesystemsAreNotEntered)
{
    FakeFolder& root = Root();
    root.AddLink("to-folder", 12);
    FakeFolder& mount = root.AddFolder("mnt");
    mount.AddFile("elsewhere", 1000000);
    root.Entries.back().OtherDevice = true;
    Walk();
    EXPECT_EQ(list.TotalSize(), 12);
    EXPECT_EQ(list.FolderCount(), 1);
    EXPECT_EQ(Files(), 1); // the link
    EXPECT_EQ(list.Strings(1), QStringLiteral("\\mnt"));
    EXPECT_EQ(list.Objects(1).SubList()->Count(), 1); // just ".."
}

TEST_F(FakeWalk, OddNamesAreKeptAsTheirBytes)
{
    FakeFolder& root = Root();
    const std::string odd("caf\xe9\\new\nline", 13);
    root.AddFolder(odd).AddFile("x", 3);
    root.AddFile(std::string("n\0ul", 4), 4);
    Walk();
    EXPECT_EQ(Files(), 2);
    EXPECT_EQ(list.TotalSize(), 7);
    EXPECT_EQ(list.Name(0), odd);
    EXPECT_EQ(list.Name(1), std::string_view("n\0ul", 4));
    EXPECT_EQ(list.Strings(0), QStringLiteral("\\caf\uFFFD\\new\nline"));
    EXPECT_EQ(texts.last(), QStringLiteral("Scanning C:\\caf\uFFFD\\new\nline\\..."));
}

TEST_F(FakeWalk, NamesThatFillTheirStoreExactlyAreKeptWhole)
{
    // 64-byte names: 4096 of them fill a 256 KiB store to its last byte.
    FakeFolder& root = Root();
    std::vector<std::string> names;
    for (int i = 0; i < 9000; ++i) {
        std::string n = std::to_string(i);
        names.push_back(n + std::string(64 - n.size(), i % 2 ? 'a' : 'b'));
        root.AddFile(names.back(), 1);
    }
    Walk();
    ASSERT_EQ(list.Count(), 9000);
    int intact = 0;
    for (int i = 0; i < 9000; ++i)
        intact += list.Name(i) == names[std::size_t(i)];
    EXPECT_EQ(intact, 9000);
}

TEST_F(FakeWalk, AStopEndsTheWalkAtOnce)
{
    FakeFolder& root = Root();
    for (int i = 0; i < 10; ++i)
        root.AddFolder("d" + std::to_string(i)).AddFile("f", 1);
    int pumps = 0;
    Walk(EveryFolder([&] {
        if (++pumps == 3)
            stop = true;
    }));
    EXPECT_EQ(pumps, 3);
    EXPECT_LT(list.TotalSize(), 10);
    EXPECT_FALSE(list.Scanning());
}

TEST_F(FakeWalk, ResetAndScanWhileTheWalkRunsAreRefused)
{
    FakeFolder& root = Root();
    for (int i = 0; i < 5; ++i)
        root.AddFolder("d" + std::to_string(i)).AddFile("f", 2);
    bool inner = false;
    Walk(EveryFolder([&] {
        EXPECT_TRUE(list.Scanning());
        list.Reset(QStringLiteral("D:\\"));
        list.Scan(stop, [&](const QString&) { inner = true; }, 1, EveryFolder());
    }));
    EXPECT_FALSE(inner);
    EXPECT_EQ(list.Path(), QStringLiteral("C:\\"));
    EXPECT_EQ(list.TotalSize(), 10);
    EXPECT_EQ(list.FolderCount(), 5);
    EXPECT_EQ(list.Count(), 5);
}

// A tree of `depth` levels, each holding a file "f" (1 byte), (but the
// last) the next level "b", and a folder "a" with a file of 10 bytes.
// The deep folder comes first, so that each level is needed again after it.
void Comb(FakeFolder& level, int depth)
{
    FakeFolder* at = &level;
    for (int k = 1; k <= depth; ++k) {
        at->AddFile("f", 1);
        FakeFolder* next = k < depth ? &at->AddFolder("b") : nullptr;
        at->AddFolder("a").AddFile("x", 10);
        at = next;
    }
}

// Listings whose parent cannot be opened: the walk has to come back by names.
class NoParentListing : public DirListing {
public:
    explicit NoParentListing(std::unique_ptr<DirListing> inner) : inner_(std::move(inner)) {}
    bool Next(DirEntry& e) override { return inner_->Next(e); }
    std::unique_ptr<DirListing> OpenChild(const std::string& name) override
    {
        std::unique_ptr<DirListing> c = inner_->OpenChild(name);
        return c ? std::make_unique<NoParentListing>(std::move(c)) : nullptr;
    }
    FolderIdentity Identity() const override { return inner_->Identity(); }

private:
    std::unique_ptr<DirListing> inner_;
};

class NoParentPlatform : public FakePlatform {
public:
    std::unique_ptr<DirListing> FindFirst(const QString& path) override
    {
        ++Opens;
        std::unique_ptr<DirListing> l = FakePlatform::FindFirst(path);
        return l ? std::make_unique<NoParentListing>(std::move(l)) : nullptr;
    }
    int Opens = 0;
};

TEST_F(FakeWalk, FewOpenHandlesStillWalkEveryFolderOfADeepTree)
{
    Comb(Root(), 40);
    TScanPacing p = EveryFolder();
    p.OpenHandles = 3;
    Walk(p);
    EXPECT_EQ(list.FolderCount(), 40 + 39);
    EXPECT_EQ(Files(), 80);
    EXPECT_EQ(list.TotalSize(), 40 * 11);

    // Without "..", from the root down by names.
    NoParentPlatform np;
    Comb(*np.AddDrive('C', DRIVE_FIXED, 100 * GiB, 0).Root, 40);
    ScopedPlatform s(np);
    Walk(p);
    EXPECT_EQ(list.FolderCount(), 79);
    EXPECT_EQ(Files(), 80);
    EXPECT_EQ(list.TotalSize(), 440);
    EXPECT_GT(np.Opens, 1);
}

} // namespace
