// Drive sizes, the availability test and the disk information component on
// the fake platform, with figures worked out by hand.
#include <QVariant>
#include <gtest/gtest.h>

#include <limits>

#include "RecordingPlatform.h"
#include "drives/DiskInfo.h"
#include "support/CoreTestSupport.h"

namespace {

constexpr unsigned kOtherMode = 0x8000; // a mode the program did not set

class DiskInfoTest : public ::testing::Test {
protected:
    DiskInfoTest()
    {
        fake_.ErrorMode = kOtherMode;
        // C: 8 sectors of 512 bytes per cluster, 1000 clusters, 250 free.
        FakeDrive& c = fake_.AddDrive('C', DRIVE_FIXED, 4096000, 1024000);
        c.Clusters = 1000;
        c.FreeClusters = 250;
        c.Label = "System";
        c.Serial = 0x1234ABCD;
        c.FileSystem = "ext4";
        // D: 1 sector of 4096 bytes per cluster, 500 clusters, 100 free.
        FakeDrive& d = fake_.AddDrive('D', DRIVE_REMOVABLE, 2048000, 409600);
        d.SectorsPerCluster = 1;
        d.BytesPerSector = 4096;
        d.Clusters = 500;
        d.FreeClusters = 100;
        d.Label = "Stick";
        d.Serial = 0xABC;
        d.FileSystem = "vfat";
        fake_.AddDrive('F', DRIVE_CDROM).Answers = false; // no medium
    }

    // The six cluster figures of drive C as declared above.
    static void ExpectClusterFiguresOfC(const TDiskInfo& info)
    {
        EXPECT_EQ(info.SectorsPerCluster(), 8u);
        EXPECT_EQ(info.BytesPerSector(), 512u);
        EXPECT_EQ(info.Clusters(), 1000u);
        EXPECT_EQ(info.FreeClusters(), 250u);
        EXPECT_EQ(info.TotalDiskSpace(), 4096000);
        EXPECT_EQ(info.DiskFreeSpace(), 1024000);
    }

    RecordingPlatform fake_;
    ScopedPlatform scoped_{fake_};
};

} // namespace

TEST_F(DiskInfoTest, SizeAndFreeByDriveNumber)
{
    EXPECT_EQ(DiskSize(3), 4096000);
    EXPECT_EQ(DiskFree(3), 1024000);
    EXPECT_EQ(DiskSize(4), 2048000);
    EXPECT_EQ(DiskFree(4), 409600);
    // No medium, no such drive: -1.
    EXPECT_EQ(DiskSize(6), -1);
    EXPECT_EQ(DiskFree(6), -1);
    EXPECT_EQ(DiskSize(26), -1);
    // Each call asks afresh.
    fake_.Drive('C')->Free = 5;
    EXPECT_EQ(DiskFree(3), 5);
    // Numbers naming no letter ask nothing.
    const long asked = fake_.Queries;
    EXPECT_EQ(DiskSize(0), -1);
    EXPECT_EQ(DiskFree(27), -1);
    EXPECT_EQ(DiskSize(-3), -1);
    EXPECT_EQ(fake_.Queries, asked);
}

TEST_F(DiskInfoTest, ClusterFormWhenTheExFormIsNotOffered)
{
    fake_.OffersEx = false;
    FakeDrive& c = *fake_.Drive('C');
    c.Total = 1; // the Ex figures must not be used
    c.Free = 1;
    EXPECT_EQ(DiskSize(3), 1000 * 4096);
    EXPECT_EQ(DiskFree(3), 250 * 4096);
    // 5,368,709,120 clusters of 4 KiB (20 TiB): the product stays exact.
    c.Clusters = 5368709120ull;
    c.FreeClusters = 4294967297ull; // 2^32 + 1
    EXPECT_EQ(DiskSize(3), 21990232555520);
    EXPECT_EQ(DiskFree(3), 17592186048512);
    fake_.Drive('D')->ClusterQueryFails = true;
    EXPECT_EQ(DiskSize(4), -1);
    EXPECT_EQ(DiskFree(4), -1);
}

TEST_F(DiskInfoTest, DriveAvailableAnswersForEitherCase)
{
    EXPECT_TRUE(DriveAvailable('C'));
    EXPECT_TRUE(DriveAvailable('c'));
    EXPECT_TRUE(DriveAvailable('d'));
    EXPECT_FALSE(DriveAvailable('F')); // empty CD drive
    EXPECT_FALSE(DriveAvailable('f'));
    EXPECT_FALSE(DriveAvailable('Z'));
    EXPECT_FALSE(DriveAvailable('1'));
    EXPECT_FALSE(DriveAvailable(QChar(0xE4)));
}

TEST_F(DiskInfoTest, DriveAvailableAsksWithErrorBoxesSuppressed)
{
    EXPECT_FALSE(DriveAvailable('F'));
    EXPECT_EQ(fake_.ModeDuringQuery, SEM_FAILCRITICALERRORS);
    EXPECT_EQ(fake_.ErrorMode, kOtherMode);

    fake_.Throws = true;
    EXPECT_THROW(DriveAvailable('C'), std::runtime_error);
    EXPECT_EQ(fake_.ModeDuringQuery, SEM_FAILCRITICALERRORS);
    EXPECT_EQ(fake_.ErrorMode, kOtherMode);
}

TEST_F(DiskInfoTest, NewComponentHoldsDriveC)
{
    TDiskInfo info;
    EXPECT_EQ(info.Drive(), "C");
    ExpectClusterFiguresOfC(info);
    EXPECT_EQ(info.VolumeName(), "System");
    EXPECT_EQ(info.SerialNumber(), "1234ABCD");
    EXPECT_EQ(info.FileSystemType(), "ext4");
    EXPECT_EQ(info.DriveType(), "Fixed");
    // Assigning a drive leaves the error mode alone.
    EXPECT_EQ(fake_.ModeDuringQuery, kOtherMode);
    EXPECT_EQ(fake_.ErrorMode, kOtherMode);
}

TEST_F(DiskInfoTest, DriveKeepsOnlyTheFirstCharacter)
{
    TDiskInfo info;
    info.setDrive("DE");
    EXPECT_EQ(info.Drive(), "D");
    EXPECT_EQ(info.Clusters(), 500u);
    EXPECT_EQ(info.TotalDiskSpace(), 2048000);
    EXPECT_EQ(info.DiskFreeSpace(), 409600);
    EXPECT_EQ(info.VolumeName(), "Stick");
    EXPECT_EQ(info.DriveType(), "Removable");

    info.setDrive("c");
    EXPECT_EQ(info.Drive(), "c");
    EXPECT_EQ(info.Clusters(), 1000u);
    EXPECT_EQ(info.VolumeName(), "System");

    // Through the published property too.
    info.setProperty("Drive", QStringLiteral("D:\\"));
    EXPECT_EQ(info.property("Drive").toString(), "D");
    EXPECT_EQ(info.property("Clusters").toULongLong(), 500u);
}

TEST_F(DiskInfoTest, SerialIsEightUpperCaseHexDigits)
{
    TDiskInfo info;
    info.setDrive("D");
    EXPECT_EQ(info.SerialNumber(), "00000ABC");
    fake_.Drive('D')->Serial = 0;
    info.setDrive("D");
    EXPECT_EQ(info.SerialNumber(), "00000000");
    fake_.Drive('D')->Serial = 0xFFFFFFFF;
    info.setDrive("D");
    EXPECT_EQ(info.SerialNumber(), "FFFFFFFF");
    fake_.Drive('D')->Serial = 0x0badf00d;
    info.setDrive("D");
    EXPECT_EQ(info.SerialNumber(), "0BADF00D");
}

TEST_F(DiskInfoTest, FailedClusterQueryKeepsThePreviousFigures)
{
    TDiskInfo info; // figures of C
    fake_.Drive('D')->ClusterQueryFails = true;
    info.setDrive("D");
    ExpectClusterFiguresOfC(info);
    // The volume query still answered for D.
    EXPECT_EQ(info.VolumeName(), "Stick");
    EXPECT_EQ(info.SerialNumber(), "00000ABC");
}

TEST_F(DiskInfoTest, FailedVolumeQueryEmptiesLabelAndFileSystem)
{
    TDiskInfo info; // C has a label
    fake_.Drive('D')->VolumeQueryFails = true;
    info.setDrive("D");
    EXPECT_EQ(info.VolumeName(), "");
    EXPECT_EQ(info.FileSystemType(), "");
    EXPECT_EQ(info.SerialNumber(), "00000000");
    EXPECT_EQ(info.Clusters(), 500u); // the cluster query answered

    // A drive without medium fails both.
    info.setDrive("C");
    info.setDrive("F");
    EXPECT_EQ(info.Clusters(), 1000u);
    EXPECT_EQ(info.VolumeName(), "");
    EXPECT_EQ(info.SerialNumber(), "00000000");
    EXPECT_EQ(info.DriveType(), "CDROM");

    // A label-less volume answers with an empty label.
    fake_.Drive('C')->Label.clear();
    info.setDrive("C");
    EXPECT_EQ(info.VolumeName(), "");
    EXPECT_EQ(info.FileSystemType(), "ext4");
    EXPECT_EQ(info.SerialNumber(), "1234ABCD");
}

TEST_F(DiskInfoTest, VolumeTextsEndAtTheFirstZeroAndFitTheBuffer)
{
    fake_.Drive('C')->Label = QStringLiteral("AB") + QChar(0) + QStringLiteral("CD");
    fake_.Drive('C')->FileSystem = QString(300, QLatin1Char('f'));
    TDiskInfo info;
    EXPECT_EQ(info.VolumeName(), "AB");
    EXPECT_EQ(info.FileSystemType(), QString(254, QLatin1Char('f')));
}

TEST_F(DiskInfoTest, DriveTypeIsAskedOnEveryRead)
{
    TDiskInfo info;
    EXPECT_EQ(info.DriveType(), "Fixed");
    fake_.RemoveDrive('C');
    EXPECT_EQ(info.DriveType(), "Root Directory does not exist");
    fake_.AddDrive('C', DRIVE_REMOTE);
    EXPECT_EQ(info.DriveType(), "Remote");
    EXPECT_EQ(info.property("DriveType").toString(), "Remote");
}

TEST_F(DiskInfoTest, DriveTypeTexts)
{
    // With the length of each text counted by hand: the longest, 29, fits
    // the 30 characters of the property, so no text is cut.
    const struct {
        unsigned code;
        const char* text;
        int length;
    } texts[] = {
        {0, "No Type Information", 19}, {1, "Root Directory does not exist", 29}, {2, "Removable", 9},
        {3, "Fixed", 5},                {4, "Remote", 6},                         {5, "CDROM", 5},
        {6, "RamDisk", 7},              {7, "No Type Information", 19},           {0xFFFFFFFFu, "No Type Information", 19},
    };
    TDiskInfo info;
    for (const auto& [code, text, length] : texts) {
        fake_.Drive('C')->Type = code;
        EXPECT_EQ(info.DriveType(), text) << code;
        EXPECT_LE(info.DriveType().size(), 30);
        EXPECT_EQ(info.DriveType().size(), length) << code;
    }
}

TEST_F(DiskInfoTest, ClusterCountsBeyond32BitsStayExact)
{
    FakeDrive& c = *fake_.Drive('C');
    c.Clusters = 5368709120ull;     // 20 TiB of 4 KiB clusters
    c.FreeClusters = 4294967297ull; // 2^32 + 1
    TDiskInfo info;
    EXPECT_EQ(info.Clusters(), 5368709120ull);
    EXPECT_EQ(info.FreeClusters(), 4294967297ull);
    EXPECT_EQ(info.TotalDiskSpace(), 21990232555520);
    EXPECT_EQ(info.DiskFreeSpace(), 17592186048512);

    // Beyond the signed 64-bit range the byte counts stay at the top.
    c.Clusters = std::numeric_limits<std::uint64_t>::max();
    c.SectorsPerCluster = 128;
    c.BytesPerSector = 4096;
    info.setDrive("C");
    EXPECT_EQ(info.TotalDiskSpace(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(info.DiskFreeSpace(), 4294967297ll * 128 * 4096);
}
