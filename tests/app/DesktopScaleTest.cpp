// The main window with its rows, the memory panel and the splash screen on
// scaled desktops: at 2 and 3 the one-times picture in blocks, pixel for
// pixel; at 1.5 every caption whole and inside its box.
#include "app/MainWindowFixture.h"
#include "app/Splash.h"

using namespace kestrix::test;

namespace {

class DesktopScaleTest : public MainWindowTest {
protected:
    // Rows of every colour band and kind: a fixed drive at 70 % used, a
    // removable one over 90 %, a CD-ROM at 30 %, labels for the display names.
    TForm1& StartWithRows()
    {
        fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB).Label = QStringLiteral("System");
        fake.AddDrive('D', DRIVE_REMOVABLE, 8 * GiB, 512 * MiB).Label = QStringLiteral("Stick");
        fake.AddDrive('F', DRIVE_CDROM, 700 * MiB, 490 * MiB);
        fake.Memory.TotalPhys = 8 * GiB;
        fake.Memory.AvailPhys = 2 * GiB;
        fake.Memory.TotalPageFile = 2 * GiB;
        fake.Memory.AvailPageFile = GiB;
        fake.Memory.MemoryLoad = 75;
        return StartActive();
    }
};

} // namespace

TEST_F(DesktopScaleTest, AtTwoAndThreeTheWindowIsTheOneTimesPictureInBlocks)
{
    TForm1& f = StartWithRows();
    const QImage one = Render(&f);
    // The picture the scaling must keep: three rows of captions and figures.
    ASSERT_EQ(one.height(), f.MenuBarHeight() + 152 + 3 * 20 + 19);
    ASSERT_TRUE(f.Slot('D').VolLabel->isVisibleTo(&f));
    for (int n : {2, 3}) {
        SCOPED_TRACE(n);
        const QImage scaled = RenderAtRatio(&f, n);
        ASSERT_EQ(scaled.size(), QSize(686 * n, one.height() * n));
        EXPECT_EQ(DifferingPixels(scaled, Blocks(one, n)), 0);
        if (HasFailure()) {
            SaveForInspection(scaled, QStringLiteral("mainwindow-%1x").arg(n));
            SaveForInspection(Blocks(one, n), QStringLiteral("mainwindow-%1x-expected").arg(n));
        }
    }
}

TEST_F(DesktopScaleTest, AtOneAndAHalfEveryCaptionOfTheWindowStaysInItsBox)
{
    TForm1& f = StartWithRows();
    // The labels: "#" and the five of the colour key, a display name and
    // three figures in each of the three rows, "Totals:" and its three
    // figures, the three gauge captions and the three of the available
    // memory: 1 + 5 + 12 + 4 + 3 + 3.
    EXPECT_EQ(ExpectCaptionsInTheirScaledBoxes(&f, 1.5), 28);
    // 1.25 as well, the other common fractional scale.
    EXPECT_EQ(ExpectCaptionsInTheirScaledBoxes(&f, 1.25), 28);
}

TEST_F(DesktopScaleTest, TheSplashScreenAtTwoIsItsPictureInBlocks)
{
    TSplashScreen splash;
    const QImage one = Render(&splash);
    ASSERT_EQ(one.size(), QSize(226, 117));
    EXPECT_EQ(DifferingPixels(RenderAtRatio(&splash, 2), Blocks(one, 2)), 0);
}
