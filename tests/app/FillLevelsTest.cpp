// Fill levels and totals: display names, LED classes with their strict
// thresholds, the drive buttons, where DInfo ends, and the totals gauges.
#include <limits>

#include "MainWindowFixture.h"

using namespace kestrix::test;

TEST_F(MainWindowTest, LedClassesFollowTheStrictThresholds)
{
    // 10,000 bytes each: one hundredth is 100 bytes.
    fake.AddDrive('C', DRIVE_FIXED, 10000, 4000);  // 60 %
    fake.AddDrive('D', DRIVE_FIXED, 10000, 3900);  // 61 %
    fake.AddDrive('E', DRIVE_FIXED, 10000, 1000);  // 90 %
    fake.AddDrive('F', DRIVE_FIXED, 10000, 900);   // 91 %
    fake.AddDrive('G', DRIVE_REMOTE, 10000, 3000); // 70 %
    fake.AddDrive('H', DRIVE_RAMDISK, 10000, 0);   // 100 %
    fake.AddDrive('I', DRIVE_UNKNOWN, 10000, 500); // 95 %
    TForm1& f = StartActive();
    EXPECT_EQ(f.Slot('C').Led->TrueColor(), clLime);
    EXPECT_EQ(f.Slot('D').Led->TrueColor(), clYellow);
    EXPECT_EQ(f.Slot('E').Led->TrueColor(), clYellow);
    EXPECT_EQ(f.Slot('F').Led->TrueColor(), clRed);
    EXPECT_EQ(f.Slot('G').Led->TrueColor(), clYellow);
    EXPECT_EQ(f.Slot('H').Led->TrueColor(), clRed);
    EXPECT_EQ(f.Slot('I').Led->TrueColor(), clRed);
    // And the same after a reset.
    f.ReloadButClick(f.ReloadBut);
    EXPECT_EQ(f.Slot('C').Led->TrueColor(), clLime);
    EXPECT_EQ(f.Slot('D').Led->TrueColor(), clYellow);
    EXPECT_EQ(f.Slot('F').Led->TrueColor(), clRed);
    EXPECT_EQ(f.Slot('F').Per->Progress(), 91);
}

TEST_F(MainWindowTest, RemovableAndOpticalDrivesKeepTheirClassWhateverTheyHold)
{
    fake.AddDrive('C', DRIVE_FIXED, 10000, 5000);
    fake.AddDrive('G', DRIVE_REMOVABLE, 10000, 500); // 95 %
    fake.AddDrive('H', DRIVE_CDROM, 650 * MiB, 0);   // a full disc
    fake.AddDrive('K', DRIVE_CDROM).Answers = false; // no disc
    TForm1& f = StartActive();
    EXPECT_EQ(f.Slot('G').Led->TrueColor(), clFuchsia);
    EXPECT_EQ(f.Slot('G').Per->Progress(), 95);
    EXPECT_TRUE(f.Slot('G').Button->isEnabled());
    EXPECT_EQ(f.Slot('H').Led->TrueColor(), clBlue);
    EXPECT_EQ(f.Slot('H').Per->Progress(), 100);
    EXPECT_TRUE(f.Slot('H').Button->isEnabled());
    EXPECT_EQ(f.Slot('K').Led->TrueColor(), clBlue);
    EXPECT_FALSE(f.Slot('K').Button->isEnabled());
    // DInfo stays on the last shown drive that answered.
    EXPECT_EQ(f.DInfo->Drive(), QStringLiteral("H"));
}

TEST_F(MainWindowTest, ADriveThatEmptiesTurnsLimeOnlyAtReload)
{
    fake.AddDrive('C', DRIVE_FIXED, 10000, 3000); // 70 %
    TForm1& f = StartActive();
    EXPECT_EQ(f.Slot('C').Led->TrueColor(), clYellow);
    fake.Drive('C')->Free = 5000; // 50 %
    f.FormActivate(&f);
    EXPECT_EQ(f.Slot('C').Per->Progress(), 50);
    EXPECT_EQ(f.Slot('C').Led->TrueColor(), clYellow);
    f.ReloadButClick(f.ReloadBut);
    EXPECT_EQ(f.Slot('C').Led->TrueColor(), clLime);
}

TEST_F(MainWindowTest, DInfoEndsOnTheLastShownAnsweringDrive)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('E', DRIVE_FIXED, 20 * GiB, 5 * GiB);
    fake.AddDrive('F', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    TForm1& f = StartActive();
    EXPECT_EQ(f.DInfo->Drive(), QStringLiteral("F"));
    f.Slot('F').Pan->hide();
    f.FormActivate(&f);
    EXPECT_EQ(f.DInfo->Drive(), QStringLiteral("E"));
    EXPECT_EQ(f.DInfo->TotalDiskSpace(), 20 * GiB);
}

TEST_F(MainWindowTest, RowsShowTheShellsDisplayNames)
{
    fake.AddDrive('C', DRIVE_FIXED, GiB, GiB).Label = QStringLiteral("System");
    fake.AddDrive('D', DRIVE_FIXED, GiB, GiB);
    fake.AddDrive('E', DRIVE_CDROM).Answers = false;
    fake.Drive('E')->DisplayName = QStringLiteral("CD Drive (E:)");
    fake.AddDrive('F', DRIVE_FIXED, GiB, GiB).DisplayName = QStringLiteral("A&B (F:)");
    TForm1& f = StartActive();
    EXPECT_EQ(f.Slot('C').VolLabel->Caption(), QStringLiteral("System (C:)"));
    EXPECT_EQ(f.Slot('D').VolLabel->Caption(), QStringLiteral("Local Disk (D:)"));
    EXPECT_EQ(f.Slot('E').VolLabel->Caption(), QStringLiteral("CD Drive (E:)"));
    EXPECT_EQ(f.Slot('F').VolLabel->Caption(), QStringLiteral("A&B (F:)"));
    EXPECT_FALSE(f.Slot('F').VolLabel->ShowAccelChar());
    // Hidden rows keep their design text.
    EXPECT_EQ(f.Slot('G').VolLabel->Caption(), QStringLiteral("- -"));
}

TEST_F(MainWindowTest, TotalsGaugeShowsTheUsedShareOfTheSummedBytes)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 10 * GiB); // 90 %
    fake.AddDrive('D', DRIVE_FIXED, 10 * GiB, 10 * GiB);  // 0 %
    TForm1& f = StartActive();
    // 20 GiB free of 110: 21,474,836,480 div 1,181,116,006 = 18.
    EXPECT_EQ(f.TotalB->Progress(), 82);
    EXPECT_EQ(f.TotalBG->Percent(), 82);

    // A hidden row's drive does not count, although it answers.
    f.Slot('D').Pan->hide();
    f.TotalBar(&f);
    EXPECT_EQ(f.TotalB->Progress(), 90);
    EXPECT_EQ(f.TotalBG->Percent(), 90);
}

TEST_F(MainWindowTest, OpticalDiscAddsItsSizeAndNoFreeSpace)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 10 * GiB);
    fake.AddDrive('D', DRIVE_CDROM, 10 * GiB, 0);
    TForm1& f = StartActive();
    // 10 GiB free of 110: 10,737,418,240 div 1,181,116,006 = 9.
    EXPECT_EQ(f.TotalB->Progress(), 91);
    EXPECT_EQ(f.Label5->Caption(), QStringLiteral(" 112,640.00"));
    EXPECT_EQ(f.Label6->Caption(), QStringLiteral(" 10,240.00"));
}

TEST_F(MainWindowTest, TotalsGaugeShowsZeroWhenNoShownDriveAnswers)
{
    fake.AddDrive('D', DRIVE_CDROM).Answers = false;
    TForm1& f = StartActive();
    f.TotalB->setProgress(50);
    f.TotalBG->setPercent(50);
    f.TotalBar(&f);
    EXPECT_EQ(f.TotalB->Progress(), 0);
    EXPECT_EQ(f.TotalBG->Percent(), 0);
}

TEST_F(MainWindowTest, FiguresAtTheSixtyFourBitLimitDoNotWrap)
{
    // The platform caps absurd figures at the largest 64-bit value; two such
    // drives must not wrap the sums, nor a failed free query (-1) the used
    // figure. 9,223,372,036,854,775,807 / 2^20 = 8,796,093,022,207.999999...,
    // which rounds to 8,796,093,022,208.00 megabytes.
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    fake.AddDrive('C', DRIVE_FIXED, kMax, 0);
    fake.AddDrive('D', DRIVE_FIXED, kMax, -1);
    TForm1& f = StartActive();
    EXPECT_EQ(f.Slot('D').U->Caption(), QStringLiteral("8,796,093,022,208.00"));
    EXPECT_EQ(f.Slot('D').F->Caption(), QStringLiteral("0"));
    EXPECT_EQ(f.Label5->Caption(), QStringLiteral(" 8,796,093,022,208.00"));
    EXPECT_EQ(f.Label7->Caption(), QStringLiteral(" 8,796,093,022,208.00"));
    EXPECT_EQ(f.TotalB->Progress(), 100);
}
