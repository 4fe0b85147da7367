// The drive information collection on the fake platform: records filled once
// with the error mode set, failures, and the shell's display name.
#include <gtest/gtest.h>

#include "RecordingPlatform.h"
#include "drives/cxDrive10.h"
#include "support/CoreTestSupport.h"

namespace {

constexpr unsigned kOtherMode = 0x8000;

class DriveInfoTest : public ::testing::Test {
protected:
    DriveInfoTest()
    {
        fake_.ErrorMode = kOtherMode;
        FakeDrive& c = fake_.AddDrive('C', DRIVE_FIXED, 1000, 500);
        c.Label = "  My Disk  ";
        c.Serial = 0x1234;
        c.MaxComponentLength = 255;
        c.FileSystemFlags = 0x3;
        c.FileSystem = " ext4 ";
        c.DisplayName = "\t My Disk (C:)  ";
        fake_.AddDrive('E'); // no label, the shell's default name
    }

    RecordingPlatform fake_;
    ScopedPlatform scoped_{fake_};
};

} // namespace

TEST_F(DriveInfoTest, RecordIsFilledAndTrimmed)
{
    const std::shared_ptr<TDriveInfo> c = cxDriveInfo().Drives(2);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->DriveIndex(), 2);
    EXPECT_EQ(c->RootPath(), "C:\\");
    EXPECT_EQ(c->VolumeLabel(), "My Disk");
    EXPECT_EQ(c->SerialNumber(), 0x1234u);
    EXPECT_EQ(c->MaxComponentLength(), 255u);
    EXPECT_EQ(c->FileSystemFlags(), 0x3u);
    EXPECT_EQ(c->FileSystemName(), "ext4");
    EXPECT_EQ(cxDriveInfo().Drives(25)->RootPath(), "Z:\\");
    EXPECT_EQ(cxDriveInfo().Drives(0)->RootPath(), "A:\\");
}

TEST_F(DriveInfoTest, RecordIsFilledOnceWithErrorBoxesSuppressed)
{
    const std::shared_ptr<TDriveInfo> c = cxDriveInfo().Drives(2);
    EXPECT_EQ(fake_.ModeDuringQuery, SEM_FAILCRITICALERRORS);
    EXPECT_EQ(fake_.ErrorMode, kOtherMode);
    // Filled at creation: later changes show in a fresh record only.
    fake_.Drive('C')->Label = "Renamed";
    EXPECT_EQ(c->VolumeLabel(), "My Disk");
    EXPECT_EQ(cxDriveInfo().Drives(2)->VolumeLabel(), "Renamed");
    EXPECT_NE(cxDriveInfo().Drives(2), cxDriveInfo().Drives(2));
    EXPECT_EQ(c.use_count(), 1);
    // Each hand-out is a record of its own, filled with exactly one volume
    // query (the shell is asked only when its name is wanted), and freed
    // when its last holder lets go.
    const long asked = fake_.Queries;
    std::shared_ptr<TDriveInfo> fresh = cxDriveInfo().Drives(2);
    EXPECT_EQ(fake_.Queries, asked + 1);
    const std::weak_ptr<TDriveInfo> watch = fresh;
    fresh.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(fake_.Queries, asked + 1);

    fake_.Throws = true;
    EXPECT_THROW(cxDriveInfo().Drives(2), std::runtime_error);
    EXPECT_EQ(fake_.ErrorMode, kOtherMode);
}

TEST_F(DriveInfoTest, FailedVolumeQueryGivesEmptyTextsAndZeros)
{
    for (int index : {3 /* D: none */, 2 /* C: query fails */}) {
        fake_.Drive('C')->VolumeQueryFails = true;
        const std::shared_ptr<TDriveInfo> r = cxDriveInfo().Drives(index);
        EXPECT_EQ(r->DriveIndex(), index);
        EXPECT_EQ(r->RootPath(), QStringLiteral("%1:\\").arg(QLatin1Char(char('A' + index))));
        EXPECT_EQ(r->VolumeLabel(), "");
        EXPECT_EQ(r->FileSystemName(), "");
        EXPECT_EQ(r->SerialNumber(), 0u);
        EXPECT_EQ(r->MaxComponentLength(), 0u);
        EXPECT_EQ(r->FileSystemFlags(), 0u);
    }
}

TEST_F(DriveInfoTest, DisplayNameFromTheShell)
{
    EXPECT_EQ(cxDriveInfo().Drives(2)->ShellInfo()->DisplayName(), "My Disk (C:)");
    // A volume without label: the shell's default name.
    EXPECT_EQ(cxDriveInfo().Drives(4)->ShellInfo()->DisplayName(), "Local Disk (E:)");
    // No such drive, or the shell has none: empty.
    EXPECT_EQ(cxDriveInfo().Drives(7)->ShellInfo()->DisplayName(), "");
    fake_.Drive('E')->ShellFails = true;
    EXPECT_EQ(cxDriveInfo().Drives(4)->ShellInfo()->DisplayName(), "");
    // A drive that vanishes after its record was made.
    const std::shared_ptr<TDriveInfo> c = cxDriveInfo().Drives(2);
    fake_.RemoveDrive('C');
    EXPECT_EQ(c->ShellInfo()->DisplayName(), "");
    // The shell's record is at most 260 characters with its zero.
    fake_.AddDrive('C').DisplayName = QString(300, QLatin1Char('n'));
    EXPECT_EQ(cxDriveInfo().Drives(2)->ShellInfo()->DisplayName(), QString(259, QLatin1Char('n')));
}

TEST_F(DriveInfoTest, ShellInfoIsSharedAndOutlivesTheRecord)
{
    std::shared_ptr<TDriveShellInfo> shell;
    {
        const std::shared_ptr<TDriveInfo> c = cxDriveInfo().Drives(2);
        shell = c->ShellInfo();
        EXPECT_EQ(c->ShellInfo(), shell);
    }
    EXPECT_EQ(shell.use_count(), 1);
    EXPECT_EQ(shell->DisplayName(), "My Disk (C:)");
    // The shell is asked once per record, and its answer freed with the
    // last holder.
    const long asked = fake_.Queries;
    const std::shared_ptr<TDriveInfo> d = cxDriveInfo().Drives(2); // one volume query
    d->ShellInfo();
    d->ShellInfo();
    EXPECT_EQ(fake_.Queries, asked + 2);
    const std::weak_ptr<TDriveShellInfo> watch = shell;
    shell.reset();
    EXPECT_TRUE(watch.expired());
}

TEST_F(DriveInfoTest, IndexOutsideTheAlphabetAsksNothing)
{
    const long asked = fake_.Queries;
    for (int index : {-1, 26, 1000}) {
        const std::shared_ptr<TDriveInfo> r = cxDriveInfo().Drives(index);
        EXPECT_EQ(r->DriveIndex(), index);
        EXPECT_EQ(r->RootPath(), "");
        EXPECT_EQ(r->VolumeLabel(), "");
        EXPECT_EQ(r->ShellInfo()->DisplayName(), "");
    }
    EXPECT_EQ(fake_.Queries, asked);
    EXPECT_EQ(fake_.ErrorMode, kOtherMode);
    EXPECT_EQ(&cxDriveInfo(), &cxDriveInfo());
}
