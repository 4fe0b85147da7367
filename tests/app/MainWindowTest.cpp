// The main window: start-up, layout, window height, component list, hints,
// the exit paths, Ctrl+R, the stacking of rows and the splash screen.
#include <QApplication>
#include <QFile>
#include <QStatusTipEvent>
#include <QTest>

#include "MainWindowFixture.h"
#include "app/Splash.h"

using namespace kestrix::test;

namespace {

QRect Geometry(const TForm1& f, const char* name)
{
    auto* w = qobject_cast<QWidget*>(f.FindComponent(QString::fromLatin1(name)));
    return w ? w->geometry() : QRect();
}

} // namespace

TEST_F(MainWindowTest, FirstStartShowsEveryExistingDriveInMegabytesCentredAt315)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    fake.AddDrive('D', DRIVE_CDROM).Answers = false; // no disc
    fake.AddDrive('F', DRIVE_REMOVABLE, 8 * GiB, 4 * GiB);
    fake.AddDrive('H', DRIVE_REMOTE, 50 * GiB, 5 * GiB);
    fake.AddDrive('K', DRIVE_RAMDISK, 1 * GiB, 1 * GiB);
    fake.AddDrive('M', DRIVE_UNKNOWN, 1 * GiB, 0);
    TForm1& f = Start();

    EXPECT_EQ(f.Caption(), QStringLiteral("Tolvane   -   Kestrix 4.0"));
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CDFHKM"));
    EXPECT_TRUE(f.MBytesBut->Down());
    EXPECT_FALSE(f.BytesBut->Down() || f.KBytesBut->Down() || f.GBytesBut->Down());
    EXPECT_TRUE(f.Cs[0]->Checked());
    for (const DriveSlot& s : f.Slots) {
        EXPECT_TRUE(s.Flag->Checked()) << s.Letter.toLatin1();
        EXPECT_FALSE(s.Button->isEnabled()) << s.Letter.toLatin1();
    }
    // Centred with the first height: 1024 / 2 - 686 / 2, 768 / 2 - 315 / 2.
    EXPECT_EQ(f.width(), 686);
    EXPECT_EQ(f.Height(), 315);
    EXPECT_EQ(f.pos(), QPoint(169, 227));
    EXPECT_EQ(Application().HelpFile(), fake.Folder + QStringLiteral("Kestrix4.hlp"));

    // The first activation fits the window to six rows: 152 + 120.
    f.FormActivate(&f);
    EXPECT_EQ(f.PanKestrix->height(), 272);
    EXPECT_EQ(f.Height(), f.MenuBarHeight() + 272 + 19);
    EXPECT_TRUE(f.MBView->Checked());
    EXPECT_EQ(f.Slot('C').S->Caption(), QStringLiteral("102,400.00"));
}

TEST_F(MainWindowTest, PositionFileKeepsTheLayoutPosition)
{
    QFile pos(fake.Folder + QStringLiteral("kespos.ini"));
    ASSERT_TRUE(pos.open(QIODevice::WriteOnly));
    pos.close();
    fake.AddDrive('C', DRIVE_FIXED, GiB, GiB);
    TForm1& f = Start();
    EXPECT_EQ(f.pos(), QPoint(314, 93));
    EXPECT_EQ(f.Height(), 315);
}

TEST_F(MainWindowTest, FlaggedLetterNotInUseStaysHiddenAndIsNotCounted)
{
    fake.AddDrive('C', DRIVE_FIXED, GiB, GiB);
    fake.AddDrive('E', DRIVE_FIXED, GiB, GiB);
    TForm1& f = StartActive();
    EXPECT_TRUE(f.Slot('D').Flag->Checked());
    EXPECT_FALSE(f.Slot('D').RowVisible());
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CE"));
    EXPECT_EQ(f.PanKestrix->height(), 192);
}

TEST_F(MainWindowTest, WindowHoldsExactlyMenuBarPanelsAndStatusBar)
{
    TForm1& f = StartActive(); // no drive at all
    const int menu = f.MenuBarHeight();
    EXPECT_GT(menu, 0);
    EXPECT_EQ(f.PanKestrix->height(), 152);
    EXPECT_EQ(f.Height(), menu + 171);
    EXPECT_EQ(f.PanKestrix->geometry(), QRect(0, menu, 686, 152));
    EXPECT_EQ(f.StatBar->geometry(), QRect(0, menu + 152, 686, 19));
    EXPECT_EQ(f.PanGuage->geometry(), QRect(0, 62, 686, 90));

    for (char l = 'C'; l <= 'L'; ++l)
        fake.AddDrive(l, DRIVE_FIXED, GiB, GiB);
    f.ReloadButClick(&f);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CDEFGHIJKL"));
    EXPECT_EQ(f.PanKestrix->height(), 352);
    EXPECT_EQ(f.Height(), menu + 371);
    EXPECT_EQ(f.StatBar->geometry(), QRect(0, menu + 352, 686, 19));
    EXPECT_EQ(f.PanGuage->geometry(), QRect(0, 262, 686, 90));
    EXPECT_EQ(f.Slot('C').Pan->geometry(), QRect(0, 62, 686, 20));
    EXPECT_EQ(f.Slot('L').Pan->geometry(), QRect(0, 242, 686, 20));
}

TEST_F(MainWindowTest, LayoutPlacesTheControlsOfTheDesign)
{
    TForm1& f = Start();
    const struct {
        const char* name;
        QRect rect;
    } expected[] = {
        {"TopPanel", {0, 0, 686, 44}},      {"ReloadBut", {8, 7, 30, 30}},     {"SizeInfoBut", {42, 7, 30, 30}},
        {"BytesBut", {96, 2, 50, 40}},      {"KBytesBut", {150, 2, 50, 40}},   {"MBytesBut", {204, 2, 50, 40}},
        {"GBytesBut", {258, 2, 50, 40}},    {"ProPanel2", {400, 5, 34, 34}},   {"PanelKey", {474, 4, 160, 34}},
        {"ExitBut", {648, 7, 30, 30}},      {"HeaderPanel", {0, 44, 686, 18}}, {"HeaderControl1", {0, 0, 686, 18}},
        {"C", {2, 0, 23, 19}},              {"SC", {144, 2, 94, 13}},          {"FC", {272, 2, 94, 13}},
        {"UC", {400, 2, 94, 13}},           {"GC", {514, 1, 100, 18}},         {"PerC", {618, 1, 38, 16}},
        {"LedZ", {660, 1, 22, 16}},         {"PanTotSize", {128, 3, 120, 19}}, {"PanTotFree", {256, 3, 120, 19}},
        {"PanTotUsed", {384, 3, 120, 19}},  {"TotalBG", {514, 3, 100, 19}},    {"TotalB", {618, 3, 38, 19}},
        {"GM_RPan", {12, 30, 122, 57}},     {"GM_SPan", {146, 30, 122, 57}},   {"GM_LPan", {280, 30, 122, 57}},
        {"GM_R", {4, 3, 114, 37}},          {"Led_Statbar", {663, 1, 16, 16}}, {"LRAM", {470, 46, 141, 20}},
        {"BRkb", {614, 25, 27, 18}},
    };
    for (const auto& e : expected)
        EXPECT_EQ(Geometry(f, e.name), e.rect) << e.name;
    // Labels: the left-top corners and texts.
    EXPECT_EQ(Geometry(f, "VolLabelE").topLeft(), QPoint(30, 2));
    EXPECT_EQ(Geometry(f, "Label8").topLeft(), QPoint(460, 16));
    EXPECT_EQ(Geometry(f, "Label_Calc").topLeft(), QPoint(520, 3));
    EXPECT_EQ(Geometry(f, "LabelTotals").topLeft(), QPoint(85, 5));
    // The totals' right edges line up with the row figures' (238, 366, 494).
    for (const auto& [box, label, right] : {std::tuple{f.PanTotSize, f.Label5, 238},
                                             std::tuple{f.PanTotFree, f.Label6, 366},
                                             std::tuple{f.PanTotUsed, f.Label7, 494}})
        EXPECT_EQ(box->x() + label->geometry().right() + 1, right);

    // Rows: captions, hints, colours, the down colour of C only.
    const DriveSlot& c = f.Slot('C');
    const DriveSlot& z = f.Slot('Z');
    EXPECT_EQ(c.Button->Caption(), QStringLiteral("C:"));
    EXPECT_EQ(z.Button->Caption(), QStringLiteral("Z:"));
    EXPECT_EQ(z.Button->Hint(), QStringLiteral("Drive details"));
    EXPECT_EQ(c.Button->ColorWhenDown(), TColor(72));
    EXPECT_EQ(z.Button->ColorWhenDown(), clNone);
    EXPECT_EQ(c.VolLabel->Caption(), QStringLiteral("- -"));
    EXPECT_EQ(c.S->FontColor(), clAqua);
    EXPECT_EQ(c.F->FontColor(), clLime);
    EXPECT_EQ(c.U->FontColor(), clYellow);
    EXPECT_EQ(c.Led->TrueColor(), clLime);
    EXPECT_EQ(c.Pan->Color_1(), TColor(0x414141));
    EXPECT_EQ(c.Pan->Color_2(), TColor(0x202220));
    EXPECT_EQ(f.PanKestrix->Color(), TColor(0xFFF5DD));

    // Hints and captions of the top panel and the memory panel.
    EXPECT_EQ(f.ReloadBut->Hint(), QStringLiteral("Refresh"));
    EXPECT_EQ(f.SizeInfoBut->Hint(), QStringLiteral("Info on clusters etc."));
    EXPECT_EQ(f.ExitBut->Hint(), QStringLiteral("Exit Kestrix"));
    EXPECT_EQ(f.KBytesBut->Caption(), QStringLiteral("kbytes"));
    EXPECT_EQ(f.GBytesBut->Hint(), QStringLiteral("Show sizes in GigaBytes"));
    EXPECT_EQ(f.BRmb->Hint(), QStringLiteral("Show MB"));
    EXPECT_TRUE(f.BRkb->Down());
    EXPECT_EQ(f.GM_S->Hint(), QStringLiteral("Swap file usage"));

    // Header: seven centred sections, megabytes at design.
    const char* texts[] = {"Drive", "Size in MegaBytes", "Free in MegaBytes", "Used in MegaBytes", "Used", "%", "#"};
    const int widths[] = {123, 129, 129, 132, 103, 43, 26};
    ASSERT_EQ(f.HeaderControl1->SectionCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(f.HeaderControl1->Section(i).Text, QString::fromLatin1(texts[i]));
        EXPECT_EQ(f.HeaderControl1->Section(i).Width, widths[i]);
        EXPECT_FALSE(f.HeaderControl1->Section(i).AllowClick);
    }
    EXPECT_EQ(f.HeaderControl1->FontColor(), clMaroon);

    // Status bar: two panels without bevel, 4 and 500 wide; the busy label hidden.
    ASSERT_EQ(f.StatBar->Panels().Count(), 2);
    EXPECT_EQ(f.StatBar->Panels().Items(0)->Width(), 4);
    EXPECT_EQ(f.StatBar->Panels().Items(1)->Width(), 500);
    EXPECT_FALSE(f.Label_Calc->Visible());
    EXPECT_FALSE(f.PanDet->Visible());
    for (const char* hidden : {"LFilesGross", "LFoldersGross", "LGetTotal", "LDiskUsed"})
        EXPECT_FALSE(qobject_cast<QWidget*>(f.FindComponent(QString::fromLatin1(hidden)))->isVisibleTo(&f)) << hidden;

    // Menus: shortcut, hint, hidden menus, actions.
    EXPECT_EQ(f.MReload->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(f.Reload->ShortCut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(f.Options1->Hint(), QStringLiteral("Which drives to show"));
    EXPECT_FALSE(f.System1->isVisible());
    EXPECT_FALSE(f.drives->isVisible());
    EXPECT_EQ(f.Slot('Q').Flag->Caption(), QStringLiteral("d_q"));
    EXPECT_FALSE(f.ShowKestrix1->isEnabled());
    EXPECT_TRUE(f.HideKestrix1->isEnabled());
    EXPECT_EQ(f.KBView->Caption(), QStringLiteral("K-Bytes View"));
    EXPECT_EQ(f.GBView->Caption(), QStringLiteral("GBView"));
}

TEST_F(MainWindowTest, RenderedWindowShowsRowsHeaderAndStatusBarInPlace)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    TForm1& f = StartActive();
    const QImage img = Render(&f);
    const int top = f.MenuBarHeight();
    ASSERT_EQ(img.height(), top + 191);
    // The row's gradient starts with its first colour at the row's top line,
    // between the size and free columns.
    EXPECT_EQ(PixelAt(img, 250, top + 62), TColor(0x414141));
    // Maroon captions in the header, none outside it.
    EXPECT_GT(CountColor(img, 0, top + 44, 686, top + 62, clMaroon), 50);
    EXPECT_EQ(CountColor(img, 0, top + 62, 686, top + 191, clMaroon), 0);
    // The status bar fills the last 19 lines (left of its LED) in the Gray
    // scheme's dark colour, which the start-up spreads over the layout's silver.
    EXPECT_EQ(CountColor(img, 0, top + 172, 600, top + 191, clGray), 600 * 19);
    if (HasFailure())
        SaveForInspection(img, QStringLiteral("mainwindow"));
}

TEST_F(MainWindowTest, ComponentListHoldsTheCheckableItemsInTheirOrder)
{
    TForm1& f = Start();
    const QStringList expected = CheckMarkNames();
    ASSERT_EQ(expected.size(), 142);

    QStringList checkable;
    for (QObject* c : f.Components())
        if (c->metaObject()->indexOfProperty("Checked") >= 0)
            checkable << c->objectName();
    EXPECT_EQ(checkable, expected);
    // The ticks of the layout: every show flag and Gray; nothing else.
    QStringList ticked;
    for (QObject* c : f.Components())
        if (c->property("Checked").toBool())
            ticked << c->objectName();
    QStringList expectedTicked = {QStringLiteral("Cs0")};
    for (char l = 'c'; l <= 'z'; ++l)
        expectedTicked << QStringLiteral("d%1").arg(QLatin1Char(l)) + QLatin1Char('1');
    EXPECT_EQ(ticked, expectedTicked);
}

TEST_F(MainWindowTest, ShownWindowActivatesAndEveryActivationRefreshes)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    TForm1& f = Start();
    EXPECT_EQ(f.Height(), 315);
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.Height(), f.MenuBarHeight() + 172 + 19);
    EXPECT_EQ(f.Slot('C').Per->Progress(), 70);

    fake.Drive('C')->Free = 10 * GiB;
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(f.Slot('C').Per->Progress(), 70);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.Slot('C').Per->Progress(), 90);
    EXPECT_EQ(f.Slot('C').G->Percent(), 90);
}

TEST_F(MainWindowTest, HintsGoToStatusBarPanelOne)
{
    fake.AddDrive('C', DRIVE_FIXED, GiB, GiB);
    TForm1& f = StartActive();
    TStatusPanel* panel = f.StatBar->Panels().Items(1);
    SendEnter(f.Slot('C').Button);
    EXPECT_EQ(panel->Text(), QStringLiteral("Drive details"));
    SendEnter(f.Slot('C').VolLabel); // no hint
    EXPECT_EQ(panel->Text(), QString());
    SendEnter(f.ReloadBut);
    EXPECT_EQ(panel->Text(), QStringLiteral("Refresh"));
    SendLeave(f.ReloadBut); // back onto the top panel, which has none
    EXPECT_EQ(panel->Text(), QString());
    // Menu items report their hint as a status tip.
    QStatusTipEvent tip(f.Options1->Hint());
    QApplication::sendEvent(f.View1->SubMenu(), &tip);
    EXPECT_EQ(panel->Text(), QStringLiteral("Which drives to show"));
}

TEST_F(MainWindowTest, ExitButtonMenuAndCloseBoxAllCloseTheWindow)
{
    TForm1& f = StartActive();
    // Each path plays the closing animation, whose end closes the window.
    f.Smooth1->setDelay(1);
    const QString positions = fake.Folder + QStringLiteral("kespos.ini");
    const auto closesAfterTheAnimation = [&] {
        const bool refusedFirst = f.Smooth1->Running() && !QFile::exists(positions);
        const bool closed = QTest::qWaitFor([&] { return !f.Smooth1->Running(); }, 2000) && !f.isVisible()
                            && QFile::remove(positions);
        return refusedFirst && closed;
    };
    const auto showAgain = [&f] {
        f.show();
        ASSERT_TRUE(QTest::qWaitFor([&f] { return !f.Smooth1->Running(); }, 2000));
    };
    showAgain();
    QTest::mouseClick(f.ExitBut, Qt::LeftButton);
    EXPECT_TRUE(closesAfterTheAnimation());
    showAgain();
    f.MExit->Click();
    EXPECT_TRUE(closesAfterTheAnimation());
    showAgain();
    f.ExitKestrix1->Click();
    EXPECT_TRUE(closesAfterTheAnimation());
    showAgain();
    f.close(); // the close box's request
    EXPECT_TRUE(closesAfterTheAnimation());
}

TEST_F(MainWindowTest, CtrlRReloadsExactlyOnce)
{
    fake.AddDrive('C', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    TForm1& f = Start();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));

    // The queries of one reload, called directly...
    long before = fake.Queries;
    f.ReloadButClick(&f);
    const long one = fake.Queries - before;
    ASSERT_GT(one, 0);
    // ... and through the key (twice would double them, none would leave 0).
    before = fake.Queries;
    QTest::keyClick(&f, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(fake.Queries - before, one);

    // A drive that came after start gets its row.
    fake.AddDrive('E', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    QTest::keyClick(&f, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CE"));
}

TEST_F(MainWindowTest, RowsStackInLetterOrderWhateverOrderTheyAreShownIn)
{
    for (char l = 'C'; l <= 'Z'; ++l)
        fake.AddDrive(l, DRIVE_FIXED, GiB, GiB);
    TForm1& f = StartActive();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CDEFGHIJKLMNOPQRSTUVWXYZ"));
    for (char l = 'D'; l <= 'Y'; ++l)
        f.Slot(QLatin1Char(l)).Pan->hide();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CZ"));
    EXPECT_EQ(f.Slot('Z').Pan->y(), 82);
    for (char l : {'E', 'Q', 'D', 'Y', 'F', 'M'})
        f.Slot(QLatin1Char(l)).Pan->show();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CDEFMQYZ"));
    f.Slot('C').Pan->hide();
    f.Slot('Z').Pan->hide();
    f.Slot('Z').Pan->show();
    f.Slot('C').Pan->show();
    f.Slot('R').Pan->show();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CDEFMQRYZ"));
    // Shown rows lie edge to edge from the header down.
    int y = 62;
    for (const QChar l : RowsOnScreen()) {
        EXPECT_EQ(f.Slot(l).Pan->y(), y) << l.toLatin1();
        y += 20;
    }
    // The details panel stays where it was put: under the row it belongs to.
    f.PanDet->move(0, f.Slot('E').Pan->y());
    f.PanDet->show();
    f.Slot('G').Pan->show();
    EXPECT_EQ(f.PanDet->y(), f.Slot('D').Pan->y() + 20);
    EXPECT_EQ(f.Slot('E').Pan->y(), f.PanDet->y() + 124);
    EXPECT_EQ(f.Slot('G').Pan->y(), f.Slot('F').Pan->y() + 20);
}

TEST(SplashScreen, LayoutAndHiddenOnceTheMainWindowIsBuilt)
{
    FakePlatform fake;
    QTemporaryDir dir;
    fake.Folder = dir.path() + QLatin1Char('/');
    ScopedPlatform scope(fake);
    auto splash = std::make_unique<TSplashScreen>();
    SplashScreen = splash.get();
    splash->ShowAndPaint();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->geometry(), QRect(399, 326, 226, 117));
    EXPECT_EQ(splash->GPanel1->geometry(), QRect(0, 0, 226, 117));
    EXPECT_EQ(splash->ProLabel1->pos(), QPoint(16, 22));
    EXPECT_EQ(splash->ProLabel1->Caption(), QStringLiteral("Loading..."));
    EXPECT_EQ(splash->ProLabel2->pos(), QPoint(16, 62));
    EXPECT_EQ(splash->ProLabel2->Caption(), QStringLiteral("Tolvane Kestrix"));
    EXPECT_EQ(splash->ProPanel1->geometry(), QRect(172, 20, 34, 34));
    EXPECT_EQ(splash->ProPanel1->Color(), clBlack);
    // Red captions with their white shadow on the gradient.
    const QImage img = Render(splash.get());
    EXPECT_GT(CountColor(img, 16, 22, 160, 50, clRed), 100);
    EXPECT_GT(CountColor(img, 16, 22, 160, 50, clWhite), 50);

    auto form = std::make_unique<TForm1>();
    EXPECT_FALSE(splash->isVisible());
    form.reset();
    splash.reset();
    EXPECT_EQ(SplashScreen, nullptr);
}
