// Program start: the splash screen first, then the application title, the
// main window built and filled, and the event loop until the window closes.
#include <QGuiApplication>
#include <QStyleFactory>
#include <memory>

#include "app/KestrixApplication.h"
#include "app/LinuxDesktopPlatform.h"
#include "app/STSMain.h"
#include "app/Splash.h"
#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "toolkit/DesignScale.h"
#include "toolkit/Fonts.h"
#include "toolkit/Pictures.h"
#include "widgets/ProUrl.h"

int main(int argc, char** argv)
{
    // Installed for the whole run; static, so it outlives all that main() builds.
    static LinuxDesktopPlatform platform;
    // The first activation's questions to shares that can hang go out first:
    // their one wait runs while the window is built, not after it.
    platform.AskAhead();
    // The font set-up reads its configuration meanwhile, on the other core.
    PrepareFontsAhead();
    TKestrixApplication app(argc, argv);
    // The desktop entry the window belongs to (its icon and name in docks).
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIX_APP_ID));
    InstallPlatform(&platform);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    LoadDesignFonts();
    QApplication::setFont(DefaultFormFont());
    // A scaled desktop shows the one-times picture scaled.
    PaintInDesignPixels();
    InitResources();
    SetDefaultUrlOpener([](const QString& target) { return CurrentPlatform().ShellOpen(target); });

    // The splash screen is on screen while everything else is built.
    auto splash = std::make_unique<TSplashScreen>();
    SplashScreen = splash.get();
    SplashScreen->ShowAndPaint();

    // Error boxes carry the title: set before the main window is built.
    Application().setTitle(QStringLiteral("Kestrix"));

    // The main window: its layout, then FormCreate (which hides the splash).
    auto form = std::make_unique<TForm1>();
    Application().MainForm = form.get();

    // Shown and activated: the first activation fills every row (unless
    // a component decided the program starts hidden).
    if (Application().ShowMainForm) {
        form->show();
        form->raise();
        form->activateWindow();
    }
    const int rc = app.exec();

    // The window has closed; destruction saves the settings.
    form.reset();
    splash.reset();
    return rc;
}
