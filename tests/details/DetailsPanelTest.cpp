// The details panel: its design captions, its place under the clicked row,
// the volume and cluster figures, the walk's results with their patterns
// and the bar widths, the busy indication, and every request that can
// arrive while a walk runs.
#include <QApplication>
#include <QElapsedTimer>

#include "app/MainWindowFixture.h"

using namespace kestrix::test;

namespace {

class DetailsTest : public MainWindowTest {
protected:
    // A fixed drive with one-byte clusters, so that every figure is exact.
    FakeDrive& AddExactDrive(char letter, std::int64_t total, std::int64_t free)
    {
        FakeDrive& d = fake.AddDrive(letter, DRIVE_FIXED, total, free);
        d.SectorsPerCluster = 1;
        d.BytesPerSector = 1;
        return d;
    }
    void Click(char letter) { form->AClick(form->Slot(letter).Button); }
    // Calls `f` at every event-loop pass of the walks, which then run at
    // once without the real event loop; counts the passes.
    void OnEveryPass(std::function<void()> f)
    {
        form->ScanPacing.PumpMs = 0;
        form->ScanPacing.StatusMs = 0;
        form->ScanPacing.Pump = [this, f] {
            ++passes;
            statuses << Status();
            if (f)
                f();
        };
    }
    // Runs `f` at the pass'th event-loop pass of the next walk and counts
    // the passes after it.
    void AtPass(int pass, std::function<void()> f)
    {
        passes = 0;
        passesAfter = 0;
        OnEveryPass([this, pass, f] {
            if (passes == pass)
                f();
            else if (passes > pass)
                ++passesAfter;
        });
    }
    QString Status() const { return form->StatBar->Panels().Items(1)->Text(); }
    // A tree of `folders` sub-folders with one file of a byte each.
    static void Folders(FakeDrive& d, int folders)
    {
        for (int i = 0; i < folders; ++i)
            d.Root->AddFolder("f" + std::to_string(i)).AddFile("x", 1);
    }
    // Processes the queued events (a click waiting for a walk to stop).
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    int passes = 0;
    int passesAfter = 0;
    QStringList statuses;
};

QString CaptionOf(const TForm1& f, const QString& name)
{
    auto* l = qobject_cast<TLabel*>(f.FindComponent(name));
    return l ? l->Caption() : QStringLiteral("<none>");
}

TEST_F(DetailsTest, BeforeTheFirstFillTheLabelsShowTheirDesignCaptions)
{
    TForm1& f = StartActive();
    const std::pair<TLabel*, const char*> values[] = {
        {f.DetLVol, "X"}, {f.DetLSN, "0"},      {f.DetLFS, "X"},    {f.DetLClus, "0"},     {f.DetLCTotal, "0"},
        {f.DetLCFree, "0"}, {f.DetBpS, "0"},    {f.DetSpC, "0"},    {f.DetAvDrv, "0"},     {f.LFolders, "0"},
        {f.LFiles, "0"},  {f.LPUsed, "0 %"},   {f.LPUsedW, "0 %"}, {f.LWasted, "0"},      {f.LPDWaste, "0 %"}};
    for (const auto& [label, text] : values)
        EXPECT_EQ(label->Caption(), QString::fromLatin1(text)) << label->Name().toStdString();
    EXPECT_EQ(f.LDrive->Caption(), QStringLiteral("C:"));
    EXPECT_TRUE(f.PanDet->isHidden());

    // Each caption ends in " :" left of its value, on the value's row.
    const char* captions[] = {"Volume Label :",      "Serial No. :",    "File System :", "Cluster Size :",
                              "Clusters :",          "Free Clusters :", "Bytes per Sector :",
                              "Sectors per Cluster :", "Drive Type :",  "Folders :",     "Files :",
                              "% drive used :",      "% used space wasted :", "Wasted Space :", "% drive wasted :"};
    for (int i = 0; i < 15; ++i) {
        const QString name = QStringLiteral("DetCaption%1").arg(i + 1);
        auto* c = qobject_cast<TLabel*>(f.FindComponent(name));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Caption(), QString::fromLatin1(captions[i]));
        EXPECT_EQ(c->y(), values[i].first->y());
        EXPECT_LT(c->x() + c->width(), values[i].first->x());
    }
    EXPECT_EQ(f.DetLClus->pos(), QPoint(134, 17));
    EXPECT_EQ(f.DetLCFree->pos(), QPoint(526, 17));
    EXPECT_EQ(f.LPUsedW->pos(), QPoint(134, 63));
    EXPECT_EQ(CaptionOf(f, QStringLiteral("DetLKB")), QStringLiteral("KB"));
    EXPECT_EQ(f.DetCloseBut->geometry(), QRect(640, 4, 34, 34));
    EXPECT_EQ(f.DetCloseBut->Hint(), QStringLiteral("Close drive info."));
}

TEST_F(DetailsTest, ThePanelOpensUnderTheClickedRowAndTheWindowGrowsOnce)
{
    for (char l : {'C', 'D', 'E', 'Z'})
        AddExactDrive(l, GiB, GiB / 2);
    fake.Drive('D')->Answers = false; // no medium: its button stays disabled
    TForm1& f = StartActive();
    const int closed = f.Height();
    const int closedPan = f.PanKestrix->height();

    Click('C');
    EXPECT_FALSE(f.PanDet->isHidden());
    EXPECT_EQ(f.PanDet->y(), f.Slot('C').Pan->y() + 20);
    EXPECT_EQ(f.Slot('D').Pan->y(), f.PanDet->y() + 124);
    EXPECT_EQ(f.Height(), closed + 124);
    EXPECT_EQ(f.PanKestrix->height(), closedPan + 124);
    EXPECT_FALSE(f.Slot('C').Button->isEnabled());

    // Another drive while open: shrinks, moves under E, grows: no change.
    Click('E');
    EXPECT_EQ(f.Height(), closed + 124);
    EXPECT_EQ(f.PanDet->y(), f.Slot('E').Pan->y() + 20);
    EXPECT_EQ(f.Slot('Z').Pan->y(), f.PanDet->y() + 124);
    EXPECT_TRUE(f.Slot('C').Button->isEnabled());
    EXPECT_FALSE(f.Slot('E').Button->isEnabled());
    EXPECT_EQ(f.LDrive->Caption(), QStringLiteral("E:"));

    // Under the last row, at the bottom of the drive list.
    Click('Z');
    EXPECT_EQ(f.PanDet->y(), f.Slot('Z').Pan->y() + 20);
    EXPECT_EQ(f.PanDet->y() + 124, f.PanGuage->y());
    EXPECT_EQ(f.Height(), closed + 124);

    // Closing gives the height back and enables every button, D's too.
    f.DetCloseButClick(f.DetCloseBut);
    EXPECT_TRUE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed);
    EXPECT_EQ(f.PanKestrix->height(), closedPan);
    EXPECT_TRUE(f.Slot('D').Button->isEnabled());

    // A drive that does not answer opens nothing.
    Click('D');
    EXPECT_TRUE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed);
}

TEST_F(DetailsTest, VolumeAndClusterFigures)
{
    FakeDrive& c = fake.AddDrive('C', DRIVE_FIXED, 0, 0);
    c.Label = QStringLiteral("SYSTEM");
    c.Serial = 0x0A1B2C3D;
    c.FileSystem = QStringLiteral("NTFS");
    c.BytesPerSector = 512;
    c.SectorsPerCluster = 1;
    c.Clusters = 1234567;
    c.FreeClusters = 1000;
    c.Total = 1234567LL * 512;
    c.Free = 1000 * 512;
    FakeDrive& d = fake.AddDrive('D', DRIVE_REMOVABLE, 8 * GiB, 4 * GiB);
    d.SectorsPerCluster = 8; // 4096-byte clusters
    TForm1& f = StartActive();

    Click('C');
    EXPECT_EQ(f.DetLVol->Caption(), QStringLiteral("SYSTEM"));
    EXPECT_EQ(f.DetLSN->Caption(), QStringLiteral("0A1B2C3D"));
    EXPECT_EQ(f.DetLFS->Caption(), QStringLiteral("NTFS"));
    EXPECT_EQ(f.DetLClus->Caption(), QStringLiteral("0")); // 512-byte clusters
    EXPECT_EQ(f.DetLCTotal->Caption(), QStringLiteral("1,234,567  "));
    EXPECT_EQ(f.DetLCFree->Caption(), QStringLiteral("1,000  "));
    EXPECT_EQ(f.DetBpS->Caption(), QStringLiteral("512"));
    EXPECT_EQ(f.DetSpC->Caption(), QStringLiteral("1"));
    EXPECT_EQ(f.DetAvDrv->Caption(), QStringLiteral("Fixed"));
    EXPECT_EQ(f.LDrive->Caption(), QStringLiteral("C:"));

    Click('D');
    EXPECT_EQ(f.DetLClus->Caption(), QStringLiteral("4"));
    EXPECT_EQ(f.DetLCTotal->Caption(), QStringLiteral("2,097,152  "));
    EXPECT_EQ(f.DetAvDrv->Caption(), QStringLiteral("Removable"));
    EXPECT_EQ(f.DetLVol->Caption(), QString());
}

TEST_F(DetailsTest, TwoFilesAndAFolderOfThreeShowOneFolderAndFiveFiles)
{
    FakeDrive& c = AddExactDrive('C', GiB, GiB / 2);
    c.Root->AddFile("a", 1).AddFile("b", 2);
    c.Root->AddFolder("sub").AddFile("x", 1).AddFile("y", 1).AddFile("z", 1);
    TForm1& f = StartActive();
    Click('C');
    EXPECT_EQ(f.LFolders->Caption(), QStringLiteral("1"));
    EXPECT_EQ(f.LFiles->Caption(), QStringLiteral("5"));
    EXPECT_EQ(f.LGetTotal->Caption(), QStringLiteral("6"));
    EXPECT_EQ(f.LDiskUsed->Caption(), QString::number(GiB / 2));
}

// Drive size, free bytes and the bytes of the files, and what the panel
// shows for them in bytes (worked out by hand from the design's rules).
struct Figures {
    std::int64_t drive, free, files;
    const char *used, *usedWasted, *driveWasted, *wasted;
    int filesWidth, wastedWidth;
};

TEST_F(DetailsTest, PercentagesWastedSpaceAndTheBar)
{
    const Figures cases[] = {
        // 45.68 % used: 5 x 45; below 1 MiB used no wasted shares.
        {1000000, 543200, 0, "45.68%", "0.00%", "0.00%", "456,800   Bytes", 225, 0},
        {1000000, 996000, 0, ".40%", "0.00%", "0.00%", "4,000   Bytes", 0, 0},
        {1000000, 0, 0, "100.00%", "0.00%", "0.00%", "1,000,000   Bytes", 500, 0},
        // 1,048,575 used: still none; 1,048,576: computed (no files: 0.00%
        // of a total too small to divide).
        {10485760, 9437185, 0, "10.00%", "0.00%", "0.00%", "1,048,575   Bytes", 50, 0},
        {10485760, 9437184, 0, "10.00%", "0.00%", "10.04%", "1,048,576   Bytes", 50, 50},
        // 2.75 % of the drive wasted: 10 pixels; 0.46 %: 2; 0.00 %: none.
        {102400000, 98584000, 1000000, "3.73%", "305.56%", "2.75%", "2,816,000   Bytes", 15, 10},
        {102400000, 100928960, 1000000, "1.44%", "51.11%", "0.46%", "471,040   Bytes", 5, 2},
        {102400000, 100400000, 2000000, "1.95%", "0.00%", "0.00%", "0   Bytes", 5, 0},
        // Files beyond the used space: negative, with its sign, no width.
        // (-0.12 hundredths of a percent of the drive round to zero.)
        {102400000, 100400000, 2001234, "1.95%", "-0.06%", "0.00%", "-1,234   Bytes", 5, 0},
        {102400000, 100400000, 2471040, "1.95%", "-19.17%", "-0.46%", "-471,040   Bytes", 5, 0},
        {102400000, 100400000, 4816000, "1.95%", "-58.51%", "-2.75%", "-2,816,000   Bytes", 5, 0},
    };
    FakeDrive& c = AddExactDrive('C', 1, 1);
    TForm1& f = StartActive();
    f.ViewSort(f.BytesBut);
    for (const Figures& x : cases) {
        SCOPED_TRACE(x.wasted);
        c.Total = x.drive;
        c.Free = x.free;
        c.Root = std::make_shared<FakeFolder>();
        if (x.files)
            c.Root->AddFile("data", x.files);
        Click('C');
        EXPECT_EQ(f.LPUsed->Caption(), QString::fromLatin1(x.used));
        EXPECT_EQ(f.LPUsedW->Caption(), QString::fromLatin1(x.usedWasted));
        EXPECT_EQ(f.LPDWaste->Caption(), QString::fromLatin1(x.driveWasted));
        EXPECT_EQ(f.LWasted->Caption(), QString::fromLatin1(x.wasted));
        EXPECT_EQ(f.Sector_Files->width(), x.filesWidth);
        EXPECT_EQ(f.Sector_Wasted->width(), x.wastedWidth);
        EXPECT_EQ(f.Sector_Wasted->x() + f.Sector_Wasted->width(), f.Sector_Files->width()); // at its right end
        f.DetCloseButClick(f.DetCloseBut);
    }
}

TEST_F(DetailsTest, WastedSpaceInEachUnit)
{
    FakeDrive& c = AddExactDrive('C', 102400000, 98584000);
    c.Root->AddFile("data", 1000000);
    TForm1& f = StartActive();
    Click('C');
    EXPECT_EQ(f.LWasted->Caption(), QStringLiteral("2.69 MB")); // megabytes at start
    // A unit change refills the open panel.
    f.ViewSort(f.KBytesBut);
    EXPECT_EQ(f.LWasted->Caption(), QStringLiteral("2,750   KB"));
    f.ViewSort(f.GBytesBut);
    EXPECT_EQ(f.LWasted->Caption(), QStringLiteral("0 GB")); // rounds to zero
    f.ViewSort(f.BytesBut);
    EXPECT_EQ(f.LWasted->Caption(), QStringLiteral("2,816,000   Bytes"));
}

TEST_F(DetailsTest, BusyIndicationAndStatusTextsWhileTheWalkRuns)
{
    FakeDrive& c = AddExactDrive('C', GiB, GiB / 2);
    c.Root->AddFolder("Windows").AddFolder("System");
    c.Root->AddFolder("Users");
    TForm1& f = StartActive();
    int busy = 0;
    OnEveryPass([&] {
        busy += Application().Cursor() == TCursor::crHourGlass && f.Led_Statbar->TrueColor() == 255
                && !f.Label_Calc->isHidden() && f.ScanRunning;
    });
    Click('C');
    EXPECT_EQ(statuses.mid(0, 4), (QStringList{QStringLiteral("Scanning C:\\..."),
                                               QStringLiteral("Scanning C:\\Windows\\..."),
                                               QStringLiteral("Scanning C:\\Windows\\System\\..."),
                                               QStringLiteral("Scanning C:\\Users\\...")}));
    EXPECT_EQ(busy, passes);
    EXPECT_GE(passes, 4);
    EXPECT_EQ(Status(), QString());
    EXPECT_EQ(Application().Cursor(), TCursor::crDefault);
    EXPECT_EQ(f.Led_Statbar->TrueColor(), TColor(65280));
    EXPECT_TRUE(f.Label_Calc->isHidden());
    EXPECT_FALSE(f.ScanRunning);

    // The worker was started around the walk and ends once its end arrives.
    QElapsedTimer t;
    t.start();
    while (f.BMDThread1->IsRunning() && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(f.BMDThread1->IsRunning());
    EXPECT_EQ(f.BMDThreadGroup1->RunningCount(), 0);
}

TEST_F(DetailsTest, AnotherDrivesButtonStopsTheWalkAndOpensItsDrive)
{
    Folders(AddExactDrive('C', GiB, GiB / 2), 5);
    AddExactDrive('E', GiB, GiB / 4).Root->AddFile("e", 7);
    TForm1& f = StartActive();
    const int closed = f.Height();
    AtPass(2, [&] { Click('E'); });
    Click('C');
    EXPECT_EQ(passesAfter, 0);     // stopped at once
    EXPECT_TRUE(f.PanDet->isHidden()); // C's panel never opened
    EXPECT_TRUE(f.Slot('C').Button->isEnabled());
    EXPECT_EQ(f.Height(), closed);
    Settle();
    EXPECT_FALSE(f.PanDet->isHidden());
    EXPECT_EQ(f.LDrive->Caption(), QStringLiteral("E:"));
    EXPECT_EQ(f.LGetTotal->Caption(), QStringLiteral("7"));
    EXPECT_EQ(f.PanDet->y(), f.Slot('E').Pan->y() + 20);
    EXPECT_EQ(f.Height(), closed + 124);
    EXPECT_TRUE(statuses.contains(QStringLiteral("Scanning E:\\...")));
}

TEST_F(DetailsTest, AUnitChangeDuringARefillIsServedByTheRunningWalk)
{
    Folders(AddExactDrive('C', 102400000, 98584000), 5);
    fake.Drive('C')->Root->AddFile("data", 1000000 - 5);
    TForm1& f = StartActive();
    Click('C');
    const int open = f.Height();
    statuses.clear();
    AtPass(2, [&] { f.ViewSort(f.BytesBut); }); // asks for a refill too
    f.DetVis(&f);
    EXPECT_EQ(statuses.count(QStringLiteral("Scanning C:\\...")), 1); // one walk
    EXPECT_EQ(f.LWasted->Caption(), QStringLiteral("2,816,000   Bytes"));
    EXPECT_EQ(f.LFiles->Caption(), QStringLiteral("6"));
    EXPECT_EQ(f.Height(), open);
}

TEST_F(DetailsTest, AnActivationDuringTheWalkLeavesThePanelOnTheClickedDrive)
{
    Folders(AddExactDrive('C', 1000000, 543200), 3);
    AddExactDrive('E', 1000000, 0);
    TForm1& f = StartActive();
    const int closed = f.Height();
    AtPass(2, [&] { f.FormActivate(&f); }); // points DInfo at E, the last drive
    Click('C');
    EXPECT_FALSE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed + 124);
    EXPECT_EQ(f.LPUsed->Caption(), QStringLiteral("45.68%"));
    EXPECT_EQ(f.LFolders->Caption(), QStringLiteral("3"));

    // A later activation refills the panel for C, though it ends on E.
    OnEveryPass(nullptr);
    f.FormActivate(&f);
    EXPECT_EQ(f.DInfo->Drive(), QStringLiteral("E"));
    EXPECT_EQ(f.LDrive->Caption(), QStringLiteral("C:"));
    EXPECT_EQ(f.LPUsed->Caption(), QStringLiteral("45.68%"));
    EXPECT_EQ(f.Height(), closed + 124);
}

TEST_F(DetailsTest, ReloadStopsTheWalkAtOnce)
{
    Folders(AddExactDrive('C', GiB, GiB / 2), 5);
    TForm1& f = StartActive();
    const int closed = f.Height();
    AtPass(2, [&] { f.ReloadButClick(f.ReloadBut); });
    Click('C');
    EXPECT_EQ(passesAfter, 0);
    EXPECT_TRUE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed);

    // During a refill the open panel closes.
    OnEveryPass(nullptr);
    Click('C');
    ASSERT_FALSE(f.PanDet->isHidden());
    AtPass(2, [&] { f.ReloadButClick(f.ReloadBut); });
    f.DetVis(&f);
    EXPECT_EQ(passesAfter, 0);
    EXPECT_TRUE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed);
    EXPECT_FALSE(f.ScanRunning);
}

TEST_F(DetailsTest, TheCloseButtonStopsARefillAndClosesThePanel)
{
    Folders(AddExactDrive('C', GiB, GiB / 2), 5);
    TForm1& f = StartActive();
    const int closed = f.Height();
    Click('C');
    AtPass(2, [&] { f.DetCloseButClick(f.DetCloseBut); });
    f.DetVis(&f);
    EXPECT_EQ(passesAfter, 0);
    EXPECT_TRUE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed);
    EXPECT_TRUE(f.Slot('C').Button->isEnabled());
}

TEST_F(DetailsTest, ClosingTheWindowStopsTheWalkAtOnce)
{
    Folders(AddExactDrive('C', GiB, GiB / 2), 5);
    TForm1& f = StartActive();
    f.show();
    const int closed = f.Height();
    AtPass(2, [&] { f.close(); });
    Click('C');
    // The walk ends at the close request, before the closing animation.
    EXPECT_EQ(passesAfter, 0);
    EXPECT_TRUE(f.PanDet->isHidden());
    EXPECT_EQ(f.Height(), closed);
    // The animation's end then hides the window and closes it.
    QElapsedTimer t;
    t.start();
    while (f.isVisible() && t.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(f.isVisible());
    Settle();
    form.reset(); // and the program ends cleanly
}

TEST_F(DetailsTest, AWalkNeverRunsInsideAnother)
{
    Folders(AddExactDrive('C', GiB, GiB / 2), 3);
    TForm1& f = StartActive();
    bool nested = true;
    AtPass(2, [&] { nested = f.Duf1(); });
    Click('C');
    EXPECT_FALSE(nested);
    EXPECT_FALSE(f.PanDet->isHidden());
    EXPECT_EQ(f.LFolders->Caption(), QStringLiteral("3"));
}

} // namespace

// The open panel after a walk on scaled desktops: its legend, bar and figures
// in blocks at 2; its captions whole and inside their boxes at 1.5.
TEST_F(DetailsTest, TheOpenPanelAtTwoIsItsPictureInBlocksAndAtOneAndAHalfItsCaptionsFit)
{
    FakeDrive& c = AddExactDrive('C', GiB, GiB / 2);
    c.Root->AddFile("a", 1).AddFile("b", 2);
    c.Root->AddFolder("sub").AddFile("x", 1);
    AddExactDrive('D', GiB, GiB / 4);
    TForm1& f = StartActive();
    Click('C');
    ASSERT_FALSE(f.PanDet->isHidden());
    const QImage one = Render(&f);
    const QImage two = RenderAtRatio(&f, 2);
    EXPECT_EQ(DifferingPixels(two, Blocks(one, 2)), 0);
    if (HasFailure())
        SaveForInspection(two, QStringLiteral("details-2x"));
    // The panel's own labels: fifteen captions with their values, "KB",
    // the drive's "Volume" title and the walk's four totals, among the
    // window's 2 x 4 row labels and the others.
    const int inPanel = [&] {
        int n = 0;
        for (TLabel* l : f.PanDet->findChildren<TLabel*>())
            n += l->isVisibleTo(&f) && !l->Caption().trimmed().isEmpty();
        return n;
    }();
    EXPECT_GE(inPanel, 30);
    EXPECT_GE(ExpectCaptionsInTheirScaledBoxes(&f, 1.5), inPanel);
}
