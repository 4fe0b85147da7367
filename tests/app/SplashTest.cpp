// The splash screen on a real X server with a window manager: on the
// screen, painted, when ShowAndPaint returns. (Its layout is checked with
// the main window's tests.)
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "app/Splash.h"
#include "platform/FakePlatform.h"
#include "support/TestSupport.h"

using kestrix::test::CountColor;
using kestrix::test::Render;

// Run by tests/e2e/splash.sh on an X server and openbox of its own (with
// KESTRIX_TEST_PLATFORM=xcb); skipped on the offscreen platform. Under a
// window manager the window reaches the screen only once the manager has
// mapped it: a splash screen painted before that is never seen, since the
// main window's construction keeps the event loop busy until it hides the
// splash screen again.
TEST(SplashOnScreen, IsOnTheScreenAndPaintedWhenShowAndPaintReturns)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server with a window manager (tests/e2e/splash.sh)";
    FakePlatform fake;
    ScopedPlatform scoped{fake};
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        TSplashScreen splash;
        // A bound far above the program's, so that a busy machine's slow
        // window manager does not decide the outcome.
        splash.ShowAndPaint(5000);
        EXPECT_TRUE(splash.Exposed);
        // What the X server holds in the window now, before the event loop
        // runs again, is what the user sees while the main window is built.
        const QImage onScreen = splash.screen()->grabWindow(splash.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage drawn = Render(&splash);
        ASSERT_EQ(onScreen.size(), QSize(226, 117));
        EXPECT_EQ(onScreen, drawn);
        // The red of the captions is there, as in the offscreen picture.
        EXPECT_GT(CountColor(onScreen, 16, 22, 160, 50, clRed), 100);
        splash.hide();
        QTest::qWait(20);
    }
}
