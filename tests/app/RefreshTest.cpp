// The drive table refresh: which rows show, the percentages, Reload with
// its reset, and the details panel's share of the height.
#include <QTest>

#include "MainWindowFixture.h"
#include "support/WidgetTestUtil.h"
#include "widgets/ALed.h"
#include "widgets/Gauges.h"
#include "widgets/STGauge.h"

using namespace kestrix::test;

TEST(UsedPercent, HundredthsOfTheSizeInIntegers)
{
    EXPECT_EQ(UsedPercent(100, 0), 100);
    EXPECT_EQ(UsedPercent(100, 100), 0);
    EXPECT_EQ(UsedPercent(10000, 4000), 60);
    EXPECT_EQ(UsedPercent(10000, 3999), 61); // 3999 div 100 = 39
    EXPECT_EQ(UsedPercent(100 * GiB, 10 * GiB), 90);
    EXPECT_EQ(UsedPercent(1024 * GiB, 0), 100);
    // 150 bytes: one hundredth is 1 byte, so 10 free bytes read as 90 %.
    EXPECT_EQ(UsedPercent(150, 10), 90);
}

TEST(UsedPercent, SizesBelowOneHundredBytesGiveZero)
{
    EXPECT_EQ(UsedPercent(99, 0), 0);
    EXPECT_EQ(UsedPercent(0, 0), 0);
    EXPECT_EQ(UsedPercent(-1, -1), 0);
}

TEST_F(MainWindowTest, CdDriveWithoutDiscShowsARowOfZerosWithDisabledButton)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('D', DRIVE_CDROM).Answers = false;
    TForm1& f = StartActive();
    const DriveSlot& d = f.Slot('D');
    EXPECT_TRUE(d.RowVisible());
    EXPECT_EQ(d.Per->Progress(), 0);
    EXPECT_EQ(d.G->Percent(), 0);
    EXPECT_FALSE(d.Button->isEnabled());
    EXPECT_EQ(d.S->Caption(), QStringLiteral("0"));
    EXPECT_EQ(d.Led->TrueColor(), clBlue);
    EXPECT_TRUE(f.Slot('C').Button->isEnabled());
}

TEST_F(MainWindowTest, DriveComingAfterStartGetsItsRowAtReloadNotAtActivation)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    TForm1& f = StartActive();
    fake.AddDrive('G', DRIVE_REMOVABLE, 4 * GiB, 1 * GiB);
    f.FormActivate(&f);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("C"));
    // Activation asks every letter for its percentage, shown or not.
    EXPECT_EQ(f.Slot('G').Per->Progress(), 75);
    f.ReloadButClick(f.ReloadBut);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CG"));
    EXPECT_EQ(f.PanKestrix->height(), 192);
    EXPECT_EQ(f.Slot('G').VolLabel->Caption(), QStringLiteral("Local Disk (G:)"));
}

TEST_F(MainWindowTest, UntickedFlagGetsNoRowAtReload)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    TForm1& f = StartActive();
    fake.AddDrive('D', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    f.Slot('D').Flag->setChecked(false);
    f.ReloadButClick(&f);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("C"));
}

TEST_F(MainWindowTest, VanishedDriveKeepsAZeroRowAfterReload)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('E', DRIVE_FIXED, 10 * GiB, 1 * GiB);
    TForm1& f = StartActive();
    const DriveSlot& e = f.Slot('E');
    EXPECT_EQ(e.Led->TrueColor(), clYellow);
    EXPECT_TRUE(e.Button->isEnabled());
    EXPECT_EQ(e.Per->Progress(), 90);

    fake.RemoveDrive('E');
    f.ReloadButClick(f.ReloadBut);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CE"));
    EXPECT_FALSE(e.Button->isEnabled());
    EXPECT_EQ(e.S->Caption(), QStringLiteral("0"));
    EXPECT_EQ(e.F->Caption(), QStringLiteral("0"));
    EXPECT_EQ(e.U->Caption(), QStringLiteral("0"));
    EXPECT_EQ(e.G->Percent(), 0);
    EXPECT_EQ(e.Per->Progress(), 0);
    EXPECT_EQ(e.Led->TrueColor(), clLime);
    EXPECT_EQ(e.VolLabel->Caption(), QString()); // no name for a drive that is gone
    EXPECT_EQ(f.PanKestrix->height(), 192);
    // The totals count C alone: 10 GiB = 10,240.00 MB.
    EXPECT_EQ(f.Label5->Caption(), QStringLiteral(" 10,240.00"));
}

TEST_F(MainWindowTest, ReloadClosesAnOpenDetailsPanelFirst)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('D', DRIVE_CDROM).Answers = false;
    TForm1& f = StartActive();
    const int closed = f.Height();
    // The panel open under C, as a click on "C:" leaves it.
    f.PanDet->move(0, f.Slot('D').Pan->y());
    f.PanDet->show();
    f.SetPanKestrixHeight(f.PanKestrix->height() + 124);
    f.setHeight(f.Height() + 124);
    f.Slot('C').Button->setEnabled(false);
    // Activation keeps the panel's height in the window.
    f.FormActivate(&f);
    EXPECT_EQ(f.PanKestrix->height(), 192 + 124);
    EXPECT_EQ(f.Height(), closed + 124);

    f.ReloadButClick(f.ReloadBut);
    EXPECT_FALSE(f.PanDet->Visible());
    EXPECT_EQ(f.PanKestrix->height(), 192);
    EXPECT_EQ(f.Height(), closed);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CD"));
    EXPECT_TRUE(f.Slot('C').Button->isEnabled());
    EXPECT_FALSE(f.Slot('D').Button->isEnabled()); // reset, and the drive does not answer
}

TEST_F(MainWindowTest, ClosingTheDetailsPanelGivesBackItsHeightAndEnablesEverySpeedButton)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('D', DRIVE_CDROM).Answers = false;
    TForm1& f = StartActive();
    f.PanDet->show();
    f.SetPanKestrixHeight(f.PanKestrix->height() + 124);
    f.setHeight(f.Height() + 124);
    const int open = f.Height();
    f.ReloadBut->setEnabled(false);
    f.DetCloseButClick(&f);
    EXPECT_FALSE(f.PanDet->Visible());
    EXPECT_EQ(f.Height(), open - 124);
    EXPECT_EQ(f.PanKestrix->height(), 192);
    EXPECT_TRUE(f.Slot('D').Button->isEnabled());
    EXPECT_TRUE(f.Slot('Z').Button->isEnabled());
    EXPECT_TRUE(f.ReloadBut->isEnabled());
    EXPECT_TRUE(f.BRmb->isEnabled());
    // Closing it again gives nothing back a second time.
    f.DetCloseButClick(&f);
    EXPECT_EQ(f.Height(), open - 124);
    EXPECT_EQ(f.PanKestrix->height(), 192);
}

TEST_F(MainWindowTest, ActivationSetsPercentagesOfRowsHiddenByTheUser)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 200, 100);
    TForm1& f = StartActive();
    f.Slot('D').Pan->hide(); // as the drives dialog hides it
    fake.Drive('D')->Free = 20;
    f.FormActivate(&f);
    EXPECT_EQ(f.Slot('D').Per->Progress(), 90);
    EXPECT_EQ(f.Slot('D').G->Percent(), 90);
    EXPECT_EQ(f.PanKestrix->height(), 172);
}

TEST_F(MainWindowTest, DriveBelowOneHundredBytesShowsZeroPercent)
{
    fake.AddDrive('C', DRIVE_FIXED, 50, 10);
    TForm1& f = StartActive();
    const DriveSlot& c = f.Slot('C');
    EXPECT_EQ(c.Per->Progress(), 0);
    EXPECT_EQ(c.G->Percent(), 0);
    EXPECT_EQ(c.Led->TrueColor(), clLime);
    EXPECT_TRUE(c.Button->isEnabled()); // its size is above 0
    EXPECT_EQ(f.TotalB->Progress(), 0);
}

// An activation that changes every figure paints each gauge, bar and lamp of
// a row once, after the pass, not once per setter on the way.
TEST_F(MainWindowTest, ActivationPaintsEachChangedControlOnceAfterThePass)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 50 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 100 * GiB, 80 * GiB);
    TForm1& f = StartActive();
    f.show();
    FinishAnimation();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    std::vector<std::unique_ptr<PaintCounter>> counters;
    std::vector<QWidget*> watched;
    for (char l : {'C', 'D'}) {
        const DriveSlot& s = f.Slot(l);
        for (QWidget* w : std::initializer_list<QWidget*>{s.G, s.Per, s.Led}) {
            watched.push_back(w);
            counters.push_back(std::make_unique<PaintCounter>(w));
        }
    }
    // C: 50 % -> 95 % (lamp lime -> yellow -> red); D: 20 % -> 70 % (lime ->
    // yellow).
    fake.Drive('C')->Free = 5 * GiB;
    fake.Drive('D')->Free = 30 * GiB;
    f.FormActivate(&f);
    for (const auto& c : counters)
        EXPECT_EQ(c->count, 0);
    EXPECT_FALSE(TRedrawBatch::Active());
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    for (std::size_t i = 0; i < counters.size(); ++i)
        EXPECT_EQ(counters[i]->count, 1) << watched[i]->objectName().toStdString();
    EXPECT_EQ(f.Slot('C').Per->Progress(), 95);
    EXPECT_EQ(f.Slot('C').G->Percent(), 95);
    EXPECT_EQ(f.Slot('D').Per->Progress(), 70);
    EXPECT_EQ(f.Slot('D').Led->TrueColor(), clYellow);
    EXPECT_EQ(f.Slot('C').Led->TrueColor(), clRed);
}

// An activation that changes nothing leaves the panels of the scheme and
// what lies on them unpainted: the scheme's colours are written only when
// they differ, and a gradient panel repaints on every write.
TEST_F(MainWindowTest, ActivationWithNothingChangedPaintsNoSchemePanel)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 50 * GiB);
    TForm1& f = StartActive();
    f.show();
    FinishAnimation();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    PaintCounter top(f.TopPanel), bottom(f.PanGuage), unitButton(f.MBytesBut);
    f.FormActivate(&f);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    EXPECT_EQ(top.count, 0);
    EXPECT_EQ(bottom.count, 0);
    EXPECT_EQ(unitButton.count, 0);
    // Another scheme is written, and shows (the buttons on the panel redraw
    // at once, each repainting its spot of it).
    f.Cs[2]->Click();
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    EXPECT_GE(top.count, 1);
    EXPECT_GE(bottom.count, 1);
    EXPECT_EQ(f.TopPanel->Color_3(), TColor(0x800000));
}
