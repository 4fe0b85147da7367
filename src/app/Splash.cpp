#include "app/Splash.h"

#include <QApplication>
#include <QScreen>

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

void TSplashScreen::ShowAndPaint()
{
    const QSize screen = CurrentPlatform().ScreenSize();
    move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
    show();
    // Let the window system map the window, then paint it before the main
    // window's construction keeps the event loop busy.
    QCoreApplication::processEvents();
    repaint();
    QCoreApplication::processEvents();
}
