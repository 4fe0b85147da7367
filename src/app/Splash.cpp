#include "app/Splash.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "platform/Platform.h"
#include "toolkit/Fonts.h"
#include "toolkit/Pictures.h"
#include "widgets/LbSpeedButton.h"

TSplashScreen* SplashScreen = nullptr;

namespace {

TProLabel* Title(QWidget* parent, const QString& name, int x, int y, const QString& text)
{
    auto* l = new TProLabel(parent);
    l->setName(name);
    l->setLabelFont(DesignFont(QStringLiteral("MS Sans Serif"), -19, true));
    l->setTransparent(true);
    l->setFontColor(clRed);
    l->move(x, y);
    l->setCaption(text);
    // A white shadow one pixel down and right.
    l->setShadowStyle(TShadowStyle::ssCustom);
    l->setShadowDirection(TDirection::drDownRight);
    l->setShadowDepth(1);
    l->setShadowSize(1);
    l->setShadowColor(clWhite);
    return l;
}

// Ends a wait once a window has been exposed and painted.
class ExposeWatch : public QObject {
public:
    ExposeWatch(QWindow* window, QEventLoop* loop)
        : window_(window)
        , loop_(loop)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Quit once the expose has been handled: Qt paints the window then.
        if (watched == window_ && event->type() == QEvent::Expose)
            QTimer::singleShot(0, loop_, [this] {
                if (window_->isExposed())
                    loop_->quit();
            });
        return false;
    }

private:
    QWindow* window_;
    QEventLoop* loop_;
};

} // namespace

TSplashScreen::TSplashScreen(QWidget* parent)
    : TForm(parent)
{
    InitResources();
    setName(QStringLiteral("SplashScreen"));
    // Borderless, no system menu, not part of the taskbar.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setColor(clSilver);
    setFont(DefaultFormFont());
    setFixedSize(226, 117);

    GPanel1 = new TGPanel(this);
    GPanel1->setName(QStringLiteral("GPanel1"));
    GPanel1->setColor_1(clWhite);
    GPanel1->setColor_2(clGray);
    GPanel1->setColor_3(clGray);
    GPanel1->setHorizontal(false);
    GPanel1->setAlign(TAlign::alClient);
    RegisterComponent(GPanel1);

    ProLabel1 = Title(GPanel1, QStringLiteral("ProLabel1"), 16, 22, QStringLiteral("Loading..."));
    ProLabel2 = Title(GPanel1, QStringLiteral("ProLabel2"), 16, 62, QStringLiteral("Tolvane Kestrix"));
    RegisterComponent(ProLabel1);
    RegisterComponent(ProLabel2);

    ProPanel1 = new TProPanel(GPanel1);
    ProPanel1->setName(QStringLiteral("ProPanel1"));
    ProPanel1->setGeometry(172, 20, 34, 34);
    ProPanel1->setBevelOuter(TPanelBevel::bvLowered);
    ProPanel1->setColor(clBlack);
    RegisterComponent(ProPanel1);
    Image1 = new TImage(ProPanel1);
    Image1->setName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, 30, 30);
    Image1->setPicture(GlyphPicture(QStringLiteral("kestrix")));
    RegisterComponent(Image1);

    DoCreate();
}

TSplashScreen::~TSplashScreen()
{
    DoDestroy();
    if (SplashScreen == this)
        SplashScreen = nullptr;
}

void TSplashScreen::ShowAndPaint(int exposeWaitMs)
{
    const QSize screen = CurrentPlatform().ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
    show();
    // Under a window manager the window reaches the screen only once the
    // manager has mapped it, a round trip or more later; the main window's
    // construction then keeps the event loop busy until it hides the
    // splash screen again, so a splash screen not yet exposed would never
    // be seen. Wait for the window system to expose it (Qt paints it as it
    // does), never longer than a moment: a window manager that does not map
    // it must not hold up the start.
    if (QWindow* window = windowHandle(); window && !window->isExposed()) {
        QEventLoop loop;
        ExposeWatch watch(window, &loop);
        QTimer::singleShot(exposeWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Painted now, and the drawing sent on its way before the event loop
    // goes quiet.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Exposed = windowHandle() && windowHandle()->isExposed();
}
