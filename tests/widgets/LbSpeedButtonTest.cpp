// The speed button: groups, clicks, hot tracking and fading, presets, the
// 8-bit rule, frames, gradients, captions and glyph cells, checked against
// values worked out by hand from the button's rules.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <chrono>
#include <memory>
#include <thread>

#include "support/TestSupport.h"
#include "toolkit/Fonts.h"
#include "toolkit/GdiCanvas.h"
#include "widgets/LbSpeedButton.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;
constexpr auto Enter = [](QWidget* w) { kestrix::test::SendEnter(w); };
constexpr auto Leave = kestrix::test::SendLeave;

namespace {

// A shown parent, so that "visible and the parent is showing" holds.
struct Host {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    Host()
    {
        // Away from the pointer (at the screen's origin), so that only the
        // enter and leave events a test sends arrive.
        window->setGeometry(200, 200, 400, 200);
        window->show();
        QCoreApplication::processEvents();
    }
    TLbSpeedButton* Add(int x, int y, int w, int h)
    {
        auto* b = new TLbSpeedButton(window.get());
        b->setGeometry(x, y, w, h);
        b->show();
        return b;
    }
};

// A strip of four 6 x 5 cells in solid colours; each cell's bottom-left
// pixel is magenta, the transparent colour.
QImage FourCells()
{
    QImage img(24, 5, QImage::Format_RGB32);
    const QRgb colours[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)};
    for (int c = 0; c < 4; ++c)
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                img.setPixel(c * 6 + x, y, colours[c]);
    for (int c = 0; c < 4; ++c)
        img.setPixel(c * 6, 4, qRgb(255, 0, 255));
    return img;
}

// A white button turning black while hot, with the slow fade, just left by
// the pointer after a visit: the fade has begun. It stands away from the
// real pointer, so that only the tests' own enter and leave arrive.
TLbSpeedButton* LeftFadingButton(Host& host)
{
    TLbSpeedButton* b = host.Add(300, 150, 40, 20);
    b->setColor(clWhite);
    b->setHotTrackColor(clBlack);
    b->setSlowDecease(true);
    Enter(b);
    Leave(b);
    return b;
}

// The threads this process has now (one entry each under /proc/self/task).
int ThreadsOfThisProcess()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace

TEST(LbSpeedButtonGroups, DriveButtonIsDownOnlyWhileHeldAndClicksAfterRelease)
{
    Host host;
    TLbSpeedButton* b = host.Add(2, 0, 23, 19);
    b->setAllowAllUp(true);
    int clicks = 0;
    bool downDuringClick = true;
    b->OnClick = [&](QObject* sender) {
        EXPECT_EQ(sender, b);
        ++clicks;
        downDuringClick = b->Down();
    };
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 9));
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 0);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 9));
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(downDuringClick);

    // Released outside: up again, but no click.
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 9));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(40, 9));
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
}

TEST(LbSpeedButtonGroups, UnitGroupKeepsThePressedButtonAndMovesTheDownState)
{
    Host host;
    TLbSpeedButton* units[4];
    for (int i = 0; i < 4; ++i) {
        units[i] = host.Add(96 + 54 * i, 2, 50, 40);
        units[i]->setGroupIndex(200);
    }
    // Same group number under another parent: not part of the group.
    QWidget other(host.window.get());
    auto* stranger = new TLbSpeedButton(&other);
    stranger->setGroupIndex(200);
    stranger->setDown(true);

    units[2]->setDown(true);
    int clicks = 0;
    for (auto* u : units)
        u->OnClick = [&](QObject*) { ++clicks; };

    QTest::mouseClick(units[2], Qt::LeftButton, {}, QPoint(25, 20));
    EXPECT_TRUE(units[2]->Down()); // clicking the down button keeps it down
    EXPECT_EQ(clicks, 1);

    QTest::mouseClick(units[0], Qt::LeftButton, {}, QPoint(25, 20));
    EXPECT_TRUE(units[0]->Down());
    EXPECT_FALSE(units[1]->Down());
    EXPECT_FALSE(units[2]->Down());
    EXPECT_FALSE(units[3]->Down());
    EXPECT_TRUE(stranger->Down());
    EXPECT_EQ(clicks, 2);
}

TEST(LbSpeedButtonGroups, MemoryGroupWithAllUpReleasesTheDownButton)
{
    Host host;
    TLbSpeedButton* mem[3];
    for (int i = 0; i < 3; ++i) {
        mem[i] = host.Add(10 + 30 * i, 10, 27, 18);
        mem[i]->setGroupIndex(202);
        mem[i]->setAllowAllUp(true);
        mem[i]->setStyle(TLbSpeedButtonStyle::bsShape);
    }
    mem[1]->setDown(true);
    QTest::mouseClick(mem[1], Qt::LeftButton, {}, QPoint(13, 9));
    for (auto* m : mem)
        EXPECT_FALSE(m->Down());
    QTest::mouseClick(mem[2], Qt::LeftButton, {}, QPoint(13, 9));
    EXPECT_TRUE(mem[2]->Down());
}

TEST(LbSpeedButtonMouse, DoubleClickActsAsAFurtherPress)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 50, 20);
    b->setGroupIndex(7);
    b->setAllowAllUp(true);
    int downs = 0;
    b->OnMouseDown = [&](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        EXPECT_EQ(button, Qt::LeftButton);
        EXPECT_EQ(QPoint(x, y), QPoint(5, 5));
        ++downs;
    };
    // press (down), release, double click (a further press: up again), release
    const QPointF at(5, 5);
    const QPointF global = b->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(b, &e);
    }
    EXPECT_EQ(downs, 2);
    EXPECT_FALSE(b->Down());
}

TEST(LbSpeedButtonMouse, AcceleratorClicksWithTheButtonShownDownAndRestoresIt)
{
    Host host;
    host.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.window.get()));
    TLbSpeedButton* b = host.Add(0, 0, 80, 23);
    b->setCaption(QStringLiteral("&Reload"));
    bool downInClick = false;
    int clicks = 0;
    b->OnClick = [&](QObject*) {
        ++clicks;
        downInClick = b->Down();
    };
    QTest::keyClick(host.window.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(downInClick);
    EXPECT_FALSE(b->Down());
    b->setEnabled(false);
    QTest::keyClick(host.window.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(clicks, 1);
}

TEST(LbSpeedButtonLook, FlatNormalButtonShowsItsFrameOnlyWhileHoveredAndEnabled)
{
    Host host;
    TLbSpeedButton* b = host.Add(8, 7, 30, 30);
    b->setFlat(true);
    b->setColor(0xF7E2D4);
    b->setLightColor(0xF8C6A5);
    b->setShadowColor(0xEB8947);
    QImage img = Render(b);
    EXPECT_EQ(PixelAt(img, 0, 15), 0xF7E2D4u);
    EXPECT_EQ(PixelAt(img, 29, 15), 0xF7E2D4u);

    Enter(b);
    EXPECT_TRUE(b->Hot());
    img = Render(b);
    // Light on the left and top (without the far corners), shadow right and bottom.
    EXPECT_EQ(PixelAt(img, 0, 15), 0xF8C6A5u);
    EXPECT_EQ(PixelAt(img, 28, 0), 0xF8C6A5u);
    EXPECT_EQ(PixelAt(img, 0, 29), 0xF8C6A5u); // the first line's start point
    EXPECT_EQ(PixelAt(img, 29, 0), 0xEB8947u);
    EXPECT_EQ(PixelAt(img, 29, 29), 0xEB8947u);
    EXPECT_EQ(PixelAt(img, 15, 29), 0xEB8947u);
    EXPECT_EQ(PixelAt(img, 1, 1), 0xF7E2D4u);

    // Held down: the colours swap.
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(15, 15));
    img = Render(b);
    EXPECT_EQ(PixelAt(img, 0, 15), 0xEB8947u);
    EXPECT_EQ(PixelAt(img, 29, 15), 0xF8C6A5u);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(15, 15));

    Leave(b);
    EXPECT_EQ(PixelAt(Render(b), 0, 15), 0xF7E2D4u);

    b->setEnabled(false);
    Enter(b);
    img = Render(b);
    EXPECT_EQ(PixelAt(img, 0, 15), 0xF7E2D4u);
    EXPECT_EQ(PixelAt(img, 29, 29), 0xF7E2D4u);
}

TEST(LbSpeedButtonLook, DriveButtonModernGradientFrameAndTransparentCorners)
{
    Host host;
    host.window->setStyleSheet(QString());
    TLbSpeedButton* b = host.Add(2, 0, 23, 19);
    b->setStyle(TLbSpeedButtonStyle::bsModern);
    b->setColor(clWhite);
    b->setLightColor(clGray);
    b->setShadowColor(clGray);
    b->setColorWhenDown(72);
    QImage img = Render(b);

    // Upper gradient from gray to white over rows 2..4 (h 2): bands 0..15
    // start at row 2, bands 16..30 at row 3, band 31 is empty. Row 2 shows
    // band 15, trunc(128 + 15 * 127 / 31) = 189; row 3 band 30, 250.
    EXPECT_EQ(PixelAt(img, 10, 2), RGBToColor(189, 189, 189));
    EXPECT_EQ(PixelAt(img, 10, 3), RGBToColor(250, 250, 250));
    // Lower gradient from white to gray over rows 4..18 (h 14); row 17 is
    // the inner outline.
    // Bands 0..2 all start at row 4 (14 i div 31 = 0), so row 4 shows band
    // 2, trunc(255 - 2 * 127 / 31) = 246; row 16 is band 28,
    // trunc(255 - 28 * 127 / 31) = 140.
    EXPECT_EQ(PixelAt(img, 10, 4), RGBToColor(246, 246, 246));
    EXPECT_EQ(PixelAt(img, 10, 16), RGBToColor(140, 140, 140));
    EXPECT_EQ(PixelAt(img, 10, 17), clWhite);
    // Inner outline in the face colour, rounded outline in the shadow colour.
    EXPECT_EQ(PixelAt(img, 1, 9), clWhite);
    EXPECT_EQ(PixelAt(img, 21, 9), clWhite);
    EXPECT_EQ(PixelAt(img, 0, 9), clGray);
    EXPECT_EQ(PixelAt(img, 22, 9), clGray);
    EXPECT_EQ(PixelAt(img, 11, 18), clGray);
    // Outside the rounded corner the parent shows, not the key colour.
    EXPECT_NE(PixelAt(img, 0, 0), clFuchsia);
    EXPECT_NE(PixelAt(img, 0, 0), clGray);
    EXPECT_NE(PixelAt(img, 0, 0), clWhite);
    EXPECT_EQ(CountColor(img, 0, 0, 23, 19, clFuchsia), 0);

    // Down: ColorWhenDown is the face, the inner outline takes the shadow colour.
    b->setDown(true);
    img = Render(b);
    EXPECT_EQ(PixelAt(img, 1, 9), clGray);
    // p = 1: the lower gradient from the face (72 = red 0x48) to gray runs
    // over rows 5..18 (h 13); bands 0..2 start at row 5, so row 5 shows
    // band 2: red trunc(72 + 2 * 56 / 31) = 75, green and blue
    // trunc(2 * 128 / 31) = 8.
    EXPECT_EQ(PixelAt(img, 10, 5), RGBToColor(75, 8, 8));
}

TEST(LbSpeedButtonLook, HotTrackColourBlendsByFadeLevel)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 40, 20);
    b->setColor(clWhite);
    b->setHotTrackColor(clBlack);
    EXPECT_EQ(PixelAt(Render(b), 20, 10), clWhite);
    Enter(b);
    EXPECT_EQ(b->FadeLevel(), 8);
    EXPECT_EQ(PixelAt(Render(b), 20, 10), clBlack);
    Leave(b);
    EXPECT_EQ(b->FadeLevel(), 0);
    EXPECT_EQ(PixelAt(Render(b), 20, 10), clWhite);
}

TEST(LbSpeedButtonFade, SlowDeceaseFadesBackInStepsOnTheGuiThreadAndStops)
{
    Host host;
    TLbSpeedButton* b = LeftFadingButton(host);
    EXPECT_EQ(b->FadeLevel(), 8); // no step yet: the thread sleeps first

    // Watch the steps arrive; each paints the blend of its level.
    QElapsedTimer timer;
    timer.start();
    bool sawMiddle = false;
    while (b->FadeLevel() > 0 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const int f = b->FadeLevel();
        if (f > 0 && f < 8) {
            sawMiddle = true;
            const int expected = int(255 * (1 - f / 8.0));
            EXPECT_EQ(PixelAt(Render(b), 20, 10), RGBToColor(expected, expected, expected)) << "level " << f;
        }
    }
    EXPECT_TRUE(sawMiddle);
    EXPECT_EQ(b->FadeLevel(), 0);
    EXPECT_EQ(PixelAt(Render(b), 20, 10), clWhite);

    // Suspended now: the level stays put.
    QTest::qWait(100);
    EXPECT_EQ(b->FadeLevel(), 0);

    // A second leave fades again; switching off mid-fade drops to 0 at once.
    Enter(b);
    Leave(b);
    QTest::qWait(70);
    b->setSlowDecease(false);
    EXPECT_FALSE(b->SlowDecease());
    EXPECT_EQ(b->FadeLevel(), 0);
}

TEST(LbSpeedButtonFade, BackOverTheButtonMidFadeTheHotColourStays)
{
    Host host;
    TLbSpeedButton* b = LeftFadingButton(host);
    // Wait for the first step (about 30 ms after the leave); the pointer
    // comes back while the thread sleeps before the next one.
    QElapsedTimer timer;
    timer.start();
    while (b->FadeLevel() == 8 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    ASSERT_LT(b->FadeLevel(), 8);
    std::this_thread::sleep_for(std::chrono::milliseconds(10)); // into the thread's next sleep
    Enter(b);
    EXPECT_EQ(b->FadeLevel(), 8);
    QTest::qWait(150); // several fade periods
    EXPECT_TRUE(b->Hot());
    EXPECT_EQ(b->FadeLevel(), 8);
    EXPECT_EQ(PixelAt(Render(b), 20, 10), clBlack);
    b->setSlowDecease(false);
}

TEST(LbSpeedButtonFade, DestroyingAFadingButtonEndsItsThread)
{
    const int threads = ThreadsOfThisProcess();
    for (int round = 0; round < 5; ++round) {
        Host host;
        TLbSpeedButton* b = host.Add(0, 0, 40, 20);
        b->setHotTrackColor(clRed);
        b->setSlowDecease(true);
        // One thread for the fade of the one button.
        EXPECT_EQ(ThreadsOfThisProcess(), threads + 1) << "round " << round;
        Enter(b);
        Leave(b);
        // Without running the event loop the thread may be waiting for its
        // step to be served when the button goes.
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * round + 25));
        delete b;
        // Gone with the button, not left running or detached.
        EXPECT_EQ(ThreadsOfThisProcess(), threads) << "round " << round;
    }
}

TEST(LbSpeedButtonPresets, GoldWritesItsColoursAndModernStyleAndReadsCustom)
{
    TLbSpeedButton b;
    b.setFlat(true);
    b.setFontColor(clRed);
    b.setColorStyle(TLbColorStyle::lcsGold);
    EXPECT_EQ(b.Color(), 49344u);
    EXPECT_EQ(b.LightColor(), 65535u);
    EXPECT_EQ(b.ShadowColor(), 32896u);
    EXPECT_EQ(b.ColorWhenDown(), clNone);
    EXPECT_EQ(b.HotTrackColor(), 57311u);
    EXPECT_EQ(b.Style(), TLbSpeedButtonStyle::bsModern);
    EXPECT_FALSE(b.Flat());
    EXPECT_EQ(b.FontColor(), clBlack);
    EXPECT_EQ(b.ColorStyle(), TLbColorStyle::lcsCustom);

    b.setColorStyle(TLbColorStyle::lcsUltraFlat2);
    EXPECT_TRUE(b.Flat());
    EXPECT_EQ(b.Style(), TLbSpeedButtonStyle::bsNormal);
    EXPECT_EQ(b.ColorWhenDown(), 2415292u);

    b.setColorStyle(TLbColorStyle::lcsQuicken);
    EXPECT_EQ(b.FontColor(), clWhite);
    EXPECT_EQ(b.Style(), TLbSpeedButtonStyle::bsQuicken);

    const TColor before = b.Color();
    b.setColorStyle(TLbColorStyle::lcsCustom);
    EXPECT_EQ(b.Color(), before);
}

TEST(LbSpeedButtonPresets, ModernStyleFallsBackToNormalOnAnEightBitDisplay)
{
    TLbSpeedButton::SetScreenDepthProvider([] { return 8; });
    TLbSpeedButton b;
    b.setStyle(TLbSpeedButtonStyle::bsModern);
    EXPECT_EQ(b.Style(), TLbSpeedButtonStyle::bsNormal);
    b.setColorStyle(TLbColorStyle::lcsChrome);
    EXPECT_EQ(b.Style(), TLbSpeedButtonStyle::bsNormal);
    TLbSpeedButton::SetScreenDepthProvider([] { return 16; });
    b.setStyle(TLbSpeedButtonStyle::bsModern);
    EXPECT_EQ(b.Style(), TLbSpeedButtonStyle::bsModern);
    TLbSpeedButton::SetScreenDepthProvider(nullptr);
}

TEST(LbSpeedButtonCaption, TooWideCaptionIsCutFromTheEndNotWrapped)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 40, 23);
    b->setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    b->setColor(clWhite);
    b->setFontColor(clBlack);
    b->setFlat(true); // no frame: every black pixel is text
    b->setCaption(QStringLiteral("Drive details"));
    const QImage img = Render(b);
    // E = 40 - 8 = 32; one line of height 13 at top (23 - 13) / 2 = 5, left 4.
    int inkLeft = 1000, inkRight = -1, inkTop = 1000, inkBottom = -1;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 40; ++x)
            if (PixelAt(img, x, y) == clBlack) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
    ASSERT_GE(inkRight, 0);
    EXPECT_GE(inkLeft, 4);
    EXPECT_LT(inkRight, 4 + 32);
    EXPECT_GE(inkTop, 5);
    EXPECT_LT(inkBottom, 5 + 13);
    // Something was cut: the full caption is wider than 32 pixels.
    EXPECT_GT(QFontMetrics(b->font()).horizontalAdvance(QStringLiteral("Drive details")), 32);

    // With WordWrap the caption takes two lines instead.
    b->setWordWrap(true);
    const QImage wrapped = Render(b);
    int bottom = -1;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 40; ++x)
            if (PixelAt(wrapped, x, y) == clBlack)
                bottom = std::max(bottom, y);
    EXPECT_GT(bottom, 5 + 13);
}

TEST(LbSpeedButtonCaption, DisabledCaptionIsGreyExceptWithShape)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 60, 23);
    b->setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    b->setColor(clWhite);
    b->setFontColor(clRed);
    b->setCaption(QStringLiteral("bytes"));
    b->setAlignment(TAlignment::taCenter);
    b->setEnabled(false);
    QImage img = Render(b);
    EXPECT_GT(CountColor(img, 4, 4, 56, 19, 0x808080), 10);
    EXPECT_EQ(CountColor(img, 4, 4, 56, 19, clRed), 0);
    b->setStyle(TLbSpeedButtonStyle::bsShape);
    img = Render(b);
    EXPECT_GT(CountColor(img, 4, 4, 56, 19, clRed), 10);
}

TEST(LbSpeedButtonGlyph, CellsFollowStateAndPlacementFollowsLayout)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 30, 21);
    b->setColor(clWhite);
    b->setFlat(true);
    b->setGlyph(FourCells());
    EXPECT_EQ(b->NumGlyphs(), 4); // 24 div 5
    // Glyph left, no caption, left-justified: at (4, (21 - 5) div 2) = (4, 8).
    QImage img = Render(b);
    EXPECT_EQ(PixelAt(img, 4, 8), clRed);
    EXPECT_EQ(PixelAt(img, 9, 11), clRed);
    EXPECT_EQ(PixelAt(img, 3, 8), clWhite);
    EXPECT_EQ(PixelAt(img, 4, 12), clWhite); // the transparent bottom-left pixel

    Enter(b); // hot: cell 3
    EXPECT_EQ(PixelAt(Render(b), 4, 8), clYellow);
    b->setDown(true); // down: cell 2, shifted by one pixel
    img = Render(b);
    EXPECT_EQ(PixelAt(img, 5, 9), clBlue);
    EXPECT_NE(PixelAt(img, 4, 8), clBlue);
    b->setDown(false);
    b->setEnabled(false); // disabled: cell 1
    EXPECT_EQ(PixelAt(Render(b), 4, 8), clLime);

    // A one-cell strip shows its only cell when disabled.
    QImage one = FourCells().copy(0, 0, 6, 5);
    b->setGlyph(one);
    EXPECT_EQ(b->NumGlyphs(), 1);
    EXPECT_EQ(PixelAt(Render(b), 4, 8), clRed);

    // Centred: (30 - 6) div 2 - 0 div 2 = 12.
    b->setEnabled(true);
    b->setAlignment(TAlignment::taCenter);
    EXPECT_EQ(PixelAt(Render(b), 12, 8), clRed);
}

TEST(LbSpeedButtonGlyph, UnitButtonGlyphAboveCaption)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 50, 40);
    b->setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    b->setColor(clWhite);
    b->setFlat(true);
    b->setLayout(TLbSpeedButtonLayout::blGlyphTop);
    b->setAlignment(TAlignment::taCenter);
    b->setCaption(QStringLiteral("mbytes"));
    b->setGlyph(FourCells());
    // th = 13, block = 13 + 5 + 4 = 22, K = (40 - 22) div 2 = 9:
    // glyph at ((50 - 6) div 2, 9) = (22, 9), caption from row 9 + 5 = 14.
    QImage img = Render(b);
    EXPECT_EQ(PixelAt(img, 22, 9), clRed);
    EXPECT_EQ(PixelAt(img, 21, 9), clWhite);
    EXPECT_EQ(PixelAt(img, 22, 8), clWhite);
    EXPECT_EQ(CountColor(img, 0, 0, 50, 14, clBlack), 0);
    EXPECT_GT(CountColor(img, 4, 14, 46, 27, clBlack), 10);
}

TEST(LbSpeedButtonLook, PopupMenuShowsTheArrowMark)
{
    Host host;
    TLbSpeedButton* b = host.Add(0, 0, 100, 23);
    b->setColor(clWhite);
    b->setFlat(true);
    QMenu menu;
    menu.addAction(QStringLiteral("One"));
    EXPECT_EQ(CountColor(Render(b), 80, 0, 100, 23, clBlack), 0);
    b->setPopupMenu(&menu);
    // The 5 x 3 arrow at (100 - 11, 23 div 2 - 1) = (89, 10).
    const QImage img = Render(b);
    for (int x = 89; x < 94; ++x)
        EXPECT_EQ(PixelAt(img, x, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 89, 11), clWhite);
    EXPECT_EQ(PixelAt(img, 90, 11), clBlack);
    EXPECT_EQ(PixelAt(img, 91, 12), clBlack);
    EXPECT_EQ(PixelAt(img, 90, 12), clWhite);
}

TEST(LbSpeedButtonGradient, ThirtyTwoBandsFromFirstToSecondColour)
{
    QImage img(4, 62, QImage::Format_RGB32);
    GdiCanvas c(img);
    c.Fill(clFuchsia);
    Gradient32(c, 0, 0, 4, 62, clBlack, RGBToColor(31, 62, 93));
    // h = 62: band i covers rows 2i .. 2i+2 (h div 31 + 1 = 3 rows, the next
    // band overwriting the last), colour i * (B - A) / 31.
    EXPECT_EQ(PixelAt(img, 1, 0), clBlack);
    EXPECT_EQ(PixelAt(img, 1, 2), RGBToColor(1, 2, 3));
    EXPECT_EQ(PixelAt(img, 1, 21), RGBToColor(10, 20, 30));
    EXPECT_EQ(PixelAt(img, 1, 61), RGBToColor(30, 60, 90)); // band 30 reaches row 62 exclusive
    EXPECT_EQ(CountColor(img, 0, 0, 4, 62, clFuchsia), 0);
}

TEST(LbSpeedButtonLook, OldQuickenAndKdeFramesFollowTheirLines)
{
    Host host;
    host.window->setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(0, 0, 255)); // the parent shows blue
    host.window->setPalette(pal);
    const TColor dk = clBlack; // the classic 3-D dark shadow

    TLbSpeedButton* old = host.Add(0, 0, 20, 10);
    old->setStyle(TLbSpeedButtonStyle::bsOld);
    old->setColor(clSilver);
    old->setLightColor(clWhite);
    old->setShadowColor(clGray);
    QImage img = Render(old);
    EXPECT_EQ(PixelAt(img, 0, 5), clWhite);  // outer left
    EXPECT_EQ(PixelAt(img, 18, 0), clWhite); // outer top over the inner line's start
    EXPECT_EQ(PixelAt(img, 18, 5), clGray);  // inner right
    EXPECT_EQ(PixelAt(img, 5, 8), clGray);   // inner bottom
    EXPECT_EQ(PixelAt(img, 19, 5), dk);
    EXPECT_EQ(PixelAt(img, 0, 9), dk); // the bottom line runs to -1
    EXPECT_EQ(PixelAt(img, 10, 5), clSilver);
    old->setDown(true);
    img = Render(old);
    EXPECT_EQ(PixelAt(img, 1, 5), clGray);
    EXPECT_EQ(PixelAt(img, 5, 1), clGray);
    EXPECT_EQ(PixelAt(img, 0, 5), dk);
    EXPECT_EQ(PixelAt(img, 19, 5), clWhite);
    EXPECT_EQ(PixelAt(img, 5, 9), clWhite);

    TLbSpeedButton* quicken = host.Add(30, 0, 20, 10);
    quicken->setStyle(TLbSpeedButtonStyle::bsQuicken);
    quicken->setColor(0x603000);
    quicken->setShadowColor(clSilver);
    img = Render(quicken);
    EXPECT_EQ(PixelAt(img, 4, 0), clSilver);
    EXPECT_EQ(PixelAt(img, 14, 0), clSilver);
    EXPECT_EQ(PixelAt(img, 15, 0), clBlue); // line end left out; the parent shows
    EXPECT_EQ(PixelAt(img, 2, 0), clBlue);
    EXPECT_EQ(PixelAt(img, 4, 9), clSilver);
    EXPECT_EQ(PixelAt(img, 10, 5), 0x603000u);

    TLbSpeedButton* kde = host.Add(60, 0, 20, 12);
    kde->setStyle(TLbSpeedButtonStyle::bsKDE);
    kde->setColor(clSilver);
    kde->setLightColor(clWhite);
    kde->setShadowColor(clBlack);
    img = Render(kde);
    EXPECT_EQ(PixelAt(img, 0, 6), clBlack);  // rounded outline
    EXPECT_EQ(PixelAt(img, 1, 6), clSilver); // inner outline in the face colour
    EXPECT_EQ(PixelAt(img, 2, 2), clWhite);
    EXPECT_EQ(PixelAt(img, 3, 9), clWhite);
    // Gradient white to black over rows 4..10 (h 6): bands 0..5 start at
    // row 4, so row 4 shows band 5, trunc(255 - 5 * 255 / 31) = 213.
    EXPECT_EQ(PixelAt(img, 10, 4), RGBToColor(213, 213, 213));
    kde->setDown(true);
    img = Render(kde);
    EXPECT_EQ(PixelAt(img, 3, 3), clSilver);
    EXPECT_EQ(PixelAt(img, 10, 6), clSilver);
}

TEST(LbSpeedButtonGlyph, ActionImageBecomesAOneCellGlyphOnlyWhileEmpty)
{
    TLbSpeedButton b;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    b.ActionImageChanged(picture, QSize(6, 6));
    ASSERT_EQ(b.Glyph().size(), QSize(6, 6));
    EXPECT_EQ(b.NumGlyphs(), 1);
    EXPECT_EQ(PixelAt(b.Glyph(), 3, 3), clRed);
    EXPECT_EQ(PixelAt(b.Glyph(), 5, 5), clFuchsia);
    EXPECT_EQ(PixelAt(b.Glyph(), 0, 5), clFuchsia); // the transparent corner
    QImage other(4, 4, QImage::Format_RGB32);
    other.fill(qRgb(0, 255, 0));
    b.ActionImageChanged(other, QSize(6, 6)); // a glyph is set: kept
    EXPECT_EQ(PixelAt(b.Glyph(), 3, 3), clRed);
}
