// The zoom animation: its ten frames from the desktop's centre and back,
// the outline's thickness, the end notifications and what is ignored.
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

#include "platform/FakePlatform.h"
#include "shell/Smooth.h"

namespace {

class SmoothTest : public ::testing::Test {
protected:
    SmoothTest()
    {
        window.setGeometry(100, 50, 300, 200); // never shown: frame = client area
    }
    // The frame window's rectangle after each of the ten frames.
    std::vector<QRect> PlayFrames(TSmooth& s)
    {
        std::vector<QRect> frames;
        s.OnFinishing = [&](QObject*) { frames.push_back(Shown(s)); };
        s.Start();
        frames.push_back(Shown(s));
        while (s.Running() && frames.size() < 20) {
            s.Frame();
            if (s.Running())
                frames.push_back(Shown(s));
        }
        return frames;
    }
    // The rectangle the outline covers on the screen, an empty one while
    // it shows nothing.
    static QRect Shown(const TSmooth& s) { return s.FrameRegion().boundingRect(); }

    FakePlatform fake; // screen 1024 x 768: the centre is (512, 384)
    ScopedPlatform scope{fake};
    QWidget window;
};

TEST_F(SmoothTest, OpeningGrowsFromTheDesktopCentreInTenFramesThenShowsTheWindow)
{
    TSmooth s(&window);
    EXPECT_EQ(s.Control(), &window);
    std::vector<QString> events;
    s.OnFinish = [&](QObject* sender) {
        EXPECT_EQ(sender, &s);
        events.push_back(QStringLiteral("finish"));
        EXPECT_FALSE(s.Running());
        EXPECT_TRUE(s.FrameWindows().empty());
        EXPECT_TRUE(window.mask().isEmpty()); // no region: all of it visible
    };
    bool maskedAtFinishing = false;
    std::vector<QRect> frames;
    s.OnFinishing = [&](QObject*) {
        frames.push_back(Shown(s));
        events.push_back(QStringLiteral("finishing"));
        maskedAtFinishing = window.mask() == QRegion(-1, -1, 1, 1);
    };
    s.Start();
    EXPECT_TRUE(s.Running());
    EXPECT_EQ(window.mask(), QRegion(-1, -1, 1, 1)); // invisible until the outline arrives
    frames.push_back(Shown(s));
    while (s.Running() && frames.size() < 20) {
        s.Frame();
        if (s.Running())
            frames.push_back(Shown(s));
    }
    // Progress 0, 2, 5, 9, 15, 24, 38, 59, 90, 100 from (512, 384, 0, 0) to
    // (100, 50, 300, 200); each coordinate truncates toward zero, so 2 % of
    // -412 is -8, not -9.
    const std::vector<QRect> expected = {
        QRect(0, 0, 0, 0),           QRect(504, 378, 6, 4),     QRect(492, 368, 15, 10),
        QRect(475, 354, 27, 18),     QRect(451, 334, 45, 30),   QRect(414, 304, 72, 48),
        QRect(356, 258, 114, 76),    QRect(269, 187, 177, 118), QRect(142, 84, 270, 180),
        QRect(100, 50, 300, 200),
    };
    EXPECT_EQ(frames, expected);
    EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("finishing"), QStringLiteral("finish")}));
    EXPECT_TRUE(maskedAtFinishing);
    EXPECT_EQ(s.Progress(), 100);
}

TEST_F(SmoothTest, ClosingShrinksToTheCentreAndTheWindowStaysInvisible)
{
    TSmooth s(&window);
    s.setReverse(true);
    const std::vector<QRect> frames = PlayFrames(s);
    ASSERT_EQ(frames.size(), 10u);
    EXPECT_EQ(frames[0], QRect(100, 50, 300, 200));
    EXPECT_EQ(frames[1], QRect(108, 56, 294, 196)); // 2 %: +8, +6, -6, -4
    EXPECT_EQ(frames[8], QRect(470, 350, 30, 20));  // 90 %: +370, +300, -270, -180
    EXPECT_EQ(frames[9], QRect(0, 0, 0, 0));        // at the centre nothing is left to show
}

TEST_F(SmoothTest, StartIsIgnoredWhileRunningWithoutControlOrWhenDisabled)
{
    TSmooth s(&window);
    s.Start();
    s.Frame();
    s.Frame(); // progress now 9
    const QRect now = Shown(s);
    s.setReverse(true); // read only at start
    s.Start();
    EXPECT_EQ(s.Progress(), 9);
    EXPECT_EQ(Shown(s), now);
    s.Frame();
    EXPECT_EQ(Shown(s), QRect(475, 354, 27, 18)); // still opening
    // The control cannot change mid-animation.
    QWidget other;
    s.setControl(&other);
    EXPECT_EQ(s.Control(), &window);

    TSmooth disabled(&window);
    disabled.setEnabled(false);
    disabled.Start();
    EXPECT_FALSE(disabled.Running());

    TSmooth none;
    none.Start();
    EXPECT_FALSE(none.Running());
    EXPECT_TRUE(none.FrameWindows().empty());
}

TEST_F(SmoothTest, OutlineIsBorderWidthThickOnEverySide)
{
    // 20 x 10 with a border of 3: all of it but the inner (3, 3, 14, 4).
    const QRegion r = TSmooth::OutlineRegion(20, 10, 3);
    int area = 0;
    for (const QRect& rect : r)
        area += rect.width() * rect.height();
    EXPECT_EQ(area, 200 - 14 * 4);
    for (const QPoint p : {QPoint(0, 0), QPoint(2, 2), QPoint(19, 9), QPoint(17, 5), QPoint(10, 7), QPoint(10, 2)})
        EXPECT_TRUE(r.contains(p)) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(3, 3), QPoint(16, 6), QPoint(10, 5)})
        EXPECT_FALSE(r.contains(p)) << p.x() << "," << p.y();
    // Thicker than half the frame: all of it.
    EXPECT_EQ(TSmooth::OutlineRegion(5, 5, 3), QRegion(0, 0, 5, 5));
    EXPECT_TRUE(TSmooth::OutlineRegion(0, 4, 1).isEmpty());

    // The outline's windows cover exactly that region, in its colour.
    TSmooth s(&window);
    s.setBorderWidth(3);
    s.setColor(clRed);
    s.Start();
    for (int i = 0; i < 4; ++i)
        s.Frame(); // 15 %: (451, 334, 45, 30)
    EXPECT_EQ(s.FrameRect(), QRect(451, 334, 45, 30));
    EXPECT_EQ(s.FrameRegion(), TSmooth::OutlineRegion(45, 30, 3).translated(451, 334));
    ASSERT_FALSE(s.FrameWindows().empty());
    for (const auto& w : s.FrameWindows()) {
        EXPECT_EQ(w->palette().color(QPalette::Window), QColor(255, 0, 0));
        EXPECT_TRUE(w->windowFlags().testFlag(Qt::X11BypassWindowManagerHint));
        EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
    }
    // A ring: four pieces (top, left, right, bottom).
    s.Frame();
    s.Frame();
    s.Frame(); // 59 %
    EXPECT_EQ(s.FrameRegion().rectCount(), 4);
}

TEST_F(SmoothTest, SmallEndFollowsMinLocation)
{
    fake.Screen = QSize(1000, 700);
    TSmooth s(&window);
    EXPECT_EQ(s.SmallEnd(), QRect(500, 350, 0, 0));
    s.setMinLocation(TMinLoc::mlTopLeft);
    EXPECT_EQ(s.SmallEnd(), QRect(0, 0, 0, 0));
    s.setMinLocation(TMinLoc::mlTopRight);
    EXPECT_EQ(s.SmallEnd(), QRect(1000, 0, 0, 0));
    s.setMinLocation(TMinLoc::mlBottomLeft);
    EXPECT_EQ(s.SmallEnd(), QRect(0, 700, 0, 0));
    s.setMinLocation(TMinLoc::mlBottomRight);
    EXPECT_EQ(s.SmallEnd(), QRect(1000, 700, 0, 0));
    s.setMinLocation(TMinLoc::mlCustom);
    EXPECT_EQ(s.SmallEnd(), QRect(0, 0, 27, 27));
    s.setMaxLocation(TMaxLoc::xlCustom);
    EXPECT_EQ(s.LargeEnd(), QRect(100, 100, 127, 127));
}

TEST_F(SmoothTest, FramesRunOnTheTimerEveryDelay)
{
    TSmooth s(&window);
    s.setDelay(2);
    int finished = 0;
    s.OnFinish = [&](QObject*) { ++finished; };
    s.Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished == 1; }, 2000));
    EXPECT_FALSE(s.Running());
    EXPECT_TRUE(window.mask().isEmpty());
    // Once idle it starts again.
    s.Start();
    EXPECT_TRUE(s.Running());
}

TEST_F(SmoothTest, ControlDestroyedMidAnimationIsLetGo)
{
    auto* w = new QWidget;
    w->setGeometry(10, 10, 50, 50);
    TSmooth s;
    s.setControl(w);
    s.Start();
    delete w;
    EXPECT_EQ(s.Control(), nullptr);
    for (int i = 0; i < 9; ++i)
        s.Frame();
    EXPECT_FALSE(s.Running());
}

} // namespace
