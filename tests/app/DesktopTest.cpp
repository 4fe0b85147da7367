// The main window's desktop manners: the zoom animation around showing and
// closing, "Stay on Top", the tray icon and its menu, help, the web site,
// the about box, the Info windows and the applet entries.
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "MainWindowFixture.h"
#include "shell/About.h"
#include "shell/Size.h"

using namespace kestrix::test;

namespace {

// Every Info window that is open.
QList<TInfoForm*> InfoWindows()
{
    QList<TInfoForm*> list;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* i = qobject_cast<TInfoForm*>(w); i && !i->isHidden())
            list << i;
    return list;
}

void RunDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST_F(MainWindowTest, ShowingPlaysTheOpeningAnimationOntoTheRealHeight)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 10 * GiB, 3 * GiB);
    TForm1& f = Start();
    ASSERT_EQ(f.Height(), 315);
    QRect last;
    f.Smooth1->OnFinishing = [&](QObject* s) {
        last = f.Smooth1->FrameRegion().boundingRect();
        f.SmoothShow1Finishing(s);
    };
    f.show();
    // Sized to its two rows before the outline was planned, so that the
    // outline ends where the window appears; meanwhile the window is masked
    // away.
    EXPECT_EQ(f.Height(), f.MenuBarHeight() + 192 + 19);
    EXPECT_TRUE(f.Smooth1->Running());
    EXPECT_FALSE(f.Smooth1->Reverse());
    EXPECT_EQ(f.mask(), QRegion(-1, -1, 1, 1));
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    // The outline's last frame has the window's outer size: whatever the
    // frame adds, it adds to width and height alike here (no title bar
    // offscreen), so a stale height of 315 would show.
    EXPECT_EQ(last.height() - f.Height(), last.width() - f.width());
    EXPECT_EQ(last.topLeft(), f.mapToGlobal(QPoint(0, f.MenuBarHeight())));
    EXPECT_TRUE(f.mask().isEmpty());
    EXPECT_TRUE(f.isVisible()); // opening does not close
}

TEST_F(MainWindowTest, ClosingShrinksTheOutlineThenCloses)
{
    TForm1& f = StartActive();
    f.show();
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    const QRect outer(f.mapToGlobal(QPoint(0, f.MenuBarHeight())), f.frameGeometry().size());
    const QString positions = fake.Folder + QStringLiteral("kespos.ini");
    QStringList steps;
    f.Smooth1->OnFinishing = [&](QObject* s) {
        steps << QStringLiteral("finishing");
        f.SmoothShow1Finishing(s);
        steps << (f.isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"));
    };
    f.Smooth1->OnFinish = [&](QObject* s) {
        steps << (QFile::exists(positions) ? QStringLiteral("closed too soon") : QStringLiteral("finish"));
        f.SmoothShow1Finish(s);
    };
    f.close();
    // The first request is refused: the window leaves the screen at once
    // and the outline shrinks from its place.
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(f.Smooth1->Running());
    EXPECT_TRUE(f.Smooth1->Reverse());
    EXPECT_EQ(f.Smooth1->FrameRegion().boundingRect(), outer);
    EXPECT_FALSE(QFile::exists(positions)); // FormClose has not run
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    EXPECT_EQ(steps, (QStringList{"finishing", "hidden", "finish"}));
    EXPECT_TRUE(QFile::exists(positions)); // the second request passed
    EXPECT_TRUE(f.Smooth1->FrameRegion().isEmpty());
}

TEST_F(MainWindowTest, SecondCloseDuringTheClosingAnimationClosesAtOnce)
{
    TForm1& f = StartActive();
    f.show();
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    f.close();
    f.Smooth1->Frame();
    ASSERT_TRUE(f.Smooth1->Running());
    ASSERT_FALSE(QFile::exists(fake.Folder + QStringLiteral("kespos.ini")));
    f.ExitKestrix1->Click();
    EXPECT_TRUE(QFile::exists(fake.Folder + QStringLiteral("kespos.ini")));
}

TEST_F(MainWindowTest, CloseDuringTheOpeningAnimationClosesWhenItEnds)
{
    TForm1& f = StartActive();
    f.show();
    f.Smooth1->Frame();
    f.close(); // refused; the running animation ignores the second start
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Smooth1->Reverse());
    EXPECT_FALSE(QFile::exists(fake.Folder + QStringLiteral("kespos.ini")));
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(QFile::exists(fake.Folder + QStringLiteral("kespos.ini")));
}

TEST_F(MainWindowTest, DisabledAnimationAndHiddenWindowCloseAtOnce)
{
    TForm1& f = StartActive();
    f.show();
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    f.Smooth1->setEnabled(false);
    f.close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.Smooth1->Running());

    f.Smooth1->setEnabled(true);
    f.Smooth1->setReverse(false);
    f.show();
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    f.CaptionButton1Click(f.HideKestrix1); // "Hide Kestrix"
    ASSERT_TRUE(QFile::remove(fake.Folder + QStringLiteral("kespos.ini")));
    f.ExitKestrix1->Click();
    EXPECT_FALSE(f.Smooth1->Running());
    EXPECT_TRUE(QFile::exists(fake.Folder + QStringLiteral("kespos.ini")));
}

TEST_F(MainWindowTest, HideAndShowKestrixSwapTheirEntries)
{
    TForm1& f = StartActive();
    f.show();
    while (f.Smooth1->Running())
        f.Smooth1->Frame();
    EXPECT_FALSE(f.ShowKestrix1->isEnabled());
    EXPECT_TRUE(f.HideKestrix1->isEnabled());
    f.HideKestrix1->Click();
    EXPECT_FALSE(f.isVisible()); // at once, no animation
    EXPECT_FALSE(f.Smooth1->Running());
    EXPECT_TRUE(f.ShowKestrix1->isEnabled());
    EXPECT_FALSE(f.HideKestrix1->isEnabled());
    f.HideKestrix1->Click(); // disabled: nothing
    f.ShowKestrix1->Click();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Smooth1->Running()); // comes back with the opening animation
    EXPECT_FALSE(f.Smooth1->Reverse());
    EXPECT_FALSE(f.ShowKestrix1->isEnabled());
    EXPECT_TRUE(f.HideKestrix1->isEnabled());
}

TEST_F(MainWindowTest, TrayIconOpensTheTrayMenuOnEitherButton)
{
    TForm1& f = StartActive();
    TCoolTrayIcon* t = f.CoolTrayIcon1;
    EXPECT_TRUE(t->IconVisible());
    EXPECT_TRUE(t->LeftPopup());
    EXPECT_EQ(t->PopupMenu(), f.TrayMenu);
    EXPECT_EQ(t->CycleInterval(), 0u);
    EXPECT_FALSE(t->Icon().isNull());
    EXPECT_EQ(t->IconData().Tip, QString());
    t->CursorPos = [] { return QPoint(900, 700); };
    t->HandleIconMessage(TrayMessage::LeftButtonDown);
    EXPECT_TRUE(f.TrayMenu->isVisible());
    f.TrayMenu->hide();
    t->HandleIconMessage(TrayMessage::RightButtonDown);
    EXPECT_TRUE(f.TrayMenu->isVisible());
    f.TrayMenu->hide();
    // The visible entries, in order.
    QStringList shown;
    for (QAction* a : f.TrayMenu->actions())
        if (a->isVisible())
            shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(shown, (QStringList{"About", "Help", "-", "Show Kestrix", "Hide Kestrix", "-", "Exit Kestrix"}));
}

TEST_F(MainWindowTest, StayOnTopTwiceEndsAsItBegan)
{
    TForm1& f = StartActive();
    f.show();
    const auto onTop = [&f] { return f.windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
    EXPECT_FALSE(onTop());
    f.StayonTop1->Click();
    EXPECT_TRUE(f.StayonTop1->Checked());
    EXPECT_TRUE(onTop());
    EXPECT_TRUE(f.KTop1->KTop());
    EXPECT_TRUE(f.isVisible());
    f.StayonTop1->Click();
    EXPECT_FALSE(f.StayonTop1->Checked());
    EXPECT_FALSE(onTop());
    EXPECT_TRUE(f.isVisible());
}

TEST_F(MainWindowTest, RestoredStayOnTopMarkPutsTheWindowOnTopAtStart)
{
    PutInFolder(QStringLiteral("INIVAL.INI"), "[Form1]\r\nStayonTop1=1\r\n");
    TForm1& f = Start();
    EXPECT_TRUE(f.StayonTop1->Checked());
    EXPECT_TRUE(f.KTop1->KTop());
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MainWindowTest, HelpEntriesAskForTheHelpFilesAndTheWebSite)
{
    TForm1& f = StartActive();
    f.mnHtmlHelp->Click();
    f.Help2->Click(); // the tray menu's "Help"
    // No folder: the shell looks in the current folder.
    EXPECT_EQ(fake.Opened, (QStringList{"kestrix4.chm", "kestrix4.chm"}));
    f.mnWinHelp->Click();
    EXPECT_EQ(fake.HelpRequests, QStringList{fake.Folder + QStringLiteral("Kestrix4.hlp|3|0")});
    fake.Opened.clear();
    f.TolvaneWebsite1->Click();
    EXPECT_EQ(fake.Opened, QStringList{QStringLiteral("https://kestrix.example.org/")});
}

TEST_F(MainWindowTest, EachSizesInfoClickOpensAnotherInfoWindow)
{
    TForm1& f = StartActive();
    ASSERT_TRUE(InfoWindows().isEmpty());
    f.SizeInfoBut->setDown(true);
    f.SizeInfoButClick(f.SizeInfoBut);
    EXPECT_FALSE(f.SizeInfoBut->Down());
    f.GeneralInfo1->Click(); // View > Sizes Info
    QList<TInfoForm*> open = InfoWindows();
    ASSERT_EQ(open.size(), 2);
    QPointer<TInfoForm> first = open[0], second = open[1];
    first->close();
    RunDeferredDeletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    // Independent of the main window.
    f.HideKestrix1->Click();
    EXPECT_TRUE(second->isVisible());
    second->close();
    RunDeferredDeletes();
}

TEST_F(MainWindowTest, AboutIsModalAndBuiltAfreshEachTime)
{
    TForm1& f = StartActive();
    QList<QPointer<TAboutForm>> boxes;
    const auto closeTheBox = [&] {
        auto* box = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
        boxes << box;
        if (box)
            box->OKBut->OnClick(box->OKBut);
    };
    QTimer::singleShot(0, closeTheBox);
    f.About1->Click();
    QTimer::singleShot(0, closeTheBox);
    f.About2->Click(); // the tray menu's "About"
    RunDeferredDeletes();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].isNull());
    EXPECT_TRUE(boxes[1].isNull());
}

TEST_F(MainWindowTest, NetworkAndNetworksBothOpenTheNetworkApplet)
{
    TForm1& f = StartActive();
    auto entry = [&f](const char* name) { return qobject_cast<TMenuItem*>(f.FindComponent(QString::fromLatin1(name))); };
    ASSERT_EQ(entry("MS6")->text(), QStringLiteral("Network"));
    ASSERT_EQ(entry("MS21")->text(), QStringLiteral("Networks"));
    entry("MS6")->Click();
    entry("MS21")->Click();
    entry("MS2")->Click(); // "System Properties"
    const QString runner = QStringLiteral("rundll32.exe Shell32.dll,Control_RunDLL ");
    EXPECT_EQ(fake.Executed, (QStringList{runner + "NetCPL.CPL", runner + "NetCPL.CPL", runner + "SysDm.CPL"}));
    // The utilities start nothing.
    entry("NotePad1")->Click();
    EXPECT_EQ(fake.Executed.size(), 3);
}
