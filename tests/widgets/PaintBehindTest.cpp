// What a repaint costs the controls around it: a control that covers every
// pixel of itself (panel, bar-shaped gradient gauge, lamp) does not have its
// parent repainted behind it, one that leaves pixels to its parent (the arc)
// does; a transparent label copies its spot of the panel below instead of
// having it repainted; and pictures kept from paint to paint follow a change
// of size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QScreen>
#include <memory>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/Fonts.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"
#include "widgets/ALed.h"
#include "widgets/GPanel.h"
#include "widgets/Gauges.h"
#include "widgets/STGauge.h"

using kestrix::test::CountColor;
using kestrix::test::PaintCounter;
using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// What the screen shows of a top-level widget.
QImage OnScreen(QWidget& w)
{
    return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// A 100 x 20 gradient panel without bevels from black to RGB(100, 0, 0):
// steps = 10000 (two decimals), so one band per pixel and column x shows
// red x.
std::unique_ptr<TGPanel> RedRamp()
{
    auto p = std::make_unique<TGPanel>();
    p->resize(100, 20);
    p->setBevelOuter(TPanelBevel::bvNone);
    p->setColor_1(clBlack);
    p->setColor_2(RGBToColor(100, 0, 0));
    return p;
}

// A transparent, left-justified yellow label of 30 x 13 at (40, 4): "1" is
// far narrower, so columns 60..69 of it hold no ink.
TLabel* FigureOn(QWidget* parent)
{
    auto* l = new TLabel(parent);
    l->setAutoSize(false);
    l->setTransparent(true);
    l->setFontColor(clYellow);
    l->setGeometry(40, 4, 30, 13);
    l->setCaption(QStringLiteral("1"));
    return l;
}

} // namespace

TEST(PaintBehind, TransparentLabelCopiesThePanelFaceBehindIt)
{
    auto panel = RedRamp();
    TLabel* label = FigureOn(panel.get());
    PaintCounter behind(panel.get());
    kestrix::test::ShowSettled(panel.get());
    EXPECT_EQ(PixelAt(OnScreen(*panel), 65, 10), RGBToColor(65, 0, 0));

    behind.count = 0;
    label->setCaption(QStringLiteral("7"));
    Settle();
    EXPECT_EQ(behind.count, 0);
    const QImage shown = OnScreen(*panel);
    for (int x : {40, 52, 60, 69})
        EXPECT_EQ(PixelAt(shown, x, 16), RGBToColor(x, 0, 0)) << x; // below the digit
    EXPECT_EQ(PixelAt(shown, 65, 10), RGBToColor(65, 0, 0));
    EXPECT_GT(CountColor(shown, 40, 4, 60, 17, clYellow), 0);
    EXPECT_EQ(kestrix::test::DifferingPixels(shown, Render(panel.get())), 0);

    // A new scheme for the panel: the label's spot follows it.
    panel->setColor_2(RGBToColor(0, 100, 0));
    Settle();
    EXPECT_EQ(PixelAt(OnScreen(*panel), 65, 10), RGBToColor(0, 65, 0));
    // Moved along the ramp, the label shows the face of its new spot.
    label->move(20, 4);
    label->setCaption(QStringLiteral("1"));
    Settle();
    EXPECT_EQ(PixelAt(OnScreen(*panel), 45, 10), RGBToColor(0, 45, 0));
    EXPECT_EQ(PixelAt(OnScreen(*panel), 65, 10), RGBToColor(0, 65, 0));

    // On a plain widget a transparent label shows its parent's paint as before.
    QWidget plain;
    plain.resize(100, 20);
    TLabel* other = FigureOn(&plain);
    PaintCounter plainPaints(&plain);
    kestrix::test::ShowSettled(&plain);
    plainPaints.count = 0;
    other->setCaption(QStringLiteral("7"));
    Settle();
    EXPECT_EQ(plainPaints.count, 1);
}

TEST(PaintBehind, TransparentLabelShowsASiblingBelowItWhereverItMoves)
{
    auto panel = RedRamp();
    auto* navy = new TPanel(panel.get()); // created first: below the label
    navy->setBevelOuter(TPanelBevel::bvNone);
    navy->setColor(clNavy);
    navy->setGeometry(62, 0, 6, 20);
    TLabel* label = FigureOn(panel.get());
    PaintCounter behind(panel.get());
    kestrix::test::ShowSettled(panel.get());
    EXPECT_EQ(PixelAt(OnScreen(*panel), 65, 10), clNavy);

    // The panel is repainted behind the label, which lets the sibling show.
    behind.count = 0;
    label->setCaption(QStringLiteral("7"));
    Settle();
    EXPECT_GE(behind.count, 1);
    EXPECT_EQ(PixelAt(OnScreen(*panel), 65, 10), clNavy);

    // Out of the label and back in again.
    navy->move(80, 0);
    Settle();
    QImage shown = OnScreen(*panel);
    EXPECT_EQ(PixelAt(shown, 65, 10), RGBToColor(65, 0, 0));
    EXPECT_EQ(PixelAt(shown, 82, 10), clNavy);
    navy->move(62, 0);
    label->setCaption(QStringLiteral("4"));
    Settle();
    shown = OnScreen(*panel);
    EXPECT_EQ(PixelAt(shown, 65, 10), clNavy);
    EXPECT_EQ(kestrix::test::DifferingPixels(shown, Render(panel.get())), 0);
}

TEST(PaintBehind, ControlsCoveringThemselvesLeaveTheirParentUnpainted)
{
    TPanel parent;
    parent.resize(200, 60);
    auto* inner = new TPanel(&parent);
    inner->setGeometry(5, 5, 40, 20);
    auto* bar = new TSTGauge(&parent);
    bar->setGeometry(50, 5, 60, 20);
    auto* led = new ThhALed(&parent);
    led->move(120, 5);
    auto* arc = new TSTGauge(&parent);
    arc->setShape(TGaugeShape::gsArc);
    arc->setGeometry(140, 5, 50, 40);
    PaintCounter behind(&parent);
    kestrix::test::ShowSettled(&parent);

    behind.count = 0;
    inner->setCaption(QStringLiteral("x"));
    bar->setPercent(40);
    led->setTrueColor(clRed);
    led->setValue(!led->Value());
    Settle();
    EXPECT_EQ(behind.count, 0);

    // The arc copies one column less than it is wide: its parent shows there.
    arc->setPercent(40);
    Settle();
    EXPECT_EQ(behind.count, 1);
    // A bar made an arc no longer covers itself either.
    bar->setShape(TGaugeShape::gsArc);
    Settle();
    EXPECT_EQ(behind.count, 2);
}

TEST(PaintBehind, KeptPanelPictureFollowsTheSize)
{
    // Raised outer bevel: top and left highlight, bottom and right shadow.
    TPanel p;
    p.resize(20, 10);
    p.setColor(clNavy);
    QImage img = Render(&p);
    EXPECT_EQ(PixelAt(img, 19, 5), ColorToRGB(clBtnShadow));
    p.resize(30, 12);
    img = Render(&p);
    EXPECT_EQ(img.size(), QSize(30, 12));
    EXPECT_EQ(PixelAt(img, 19, 5), clNavy); // the old right edge is inside now
    EXPECT_EQ(PixelAt(img, 29, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 15, 11), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 0, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(CountColor(img, 1, 1, 29, 11, clNavy), 28 * 10);
}

TEST(PaintBehind, KeptGaugePicturesFollowSizeAndText)
{
    if (QFontInfo(DesignFont("MS Sans Serif", -11, true)).family() != "MS Sans Serif")
        GTEST_SKIP() << "fonts-wine is not installed";
    // The percentage box of a row, 38 x 16, white: "100%" is 30 wide and 13
    // high, X = (37 - 30) div 2 = 3, Y = (15 - 13) div 2 = 1, ink in columns
    // 4..32 and rows Y + 2 .. Y + 10. At 38 x 19 Y = (18 - 13) div 2 = 2.
    auto box = [](int h) {
        auto g = std::make_unique<TGauge>();
        g->resize(38, h);
        g->setKind(TGaugeKind::gkText);
        g->setFont(DesignFont("MS Sans Serif", -11, true));
        g->setBackColor(clWhite);
        g->setProgress(100);
        return g;
    };
    auto inkRows = [](const QImage& img) {
        int first = -1, last = -1;
        for (int y = 1; y < img.height() - 1; ++y)
            if (CountColor(img, 1, y, img.width() - 1, y + 1, clBlack) > 0) {
                if (first < 0)
                    first = y;
                last = y;
            }
        return std::pair(first, last);
    };
    auto low = box(16), high = box(19);
    EXPECT_EQ(inkRows(Render(low.get())), std::pair(3, 11));
    EXPECT_EQ(inkRows(Render(high.get())), std::pair(4, 12));
    // The same gauge made higher: text and frame where the new size puts them.
    low->resize(38, 19);
    QImage img = Render(low.get());
    EXPECT_EQ(inkRows(img), std::pair(4, 12));
    EXPECT_EQ(CountColor(img, 0, 18, 38, 19, clBlack), 38);
    // Another text at the same size: "0%" is 16 wide, X = (37 - 16) div 2 =
    // 10, ink from column 11 on; nothing left of it.
    low->setProgress(0);
    img = Render(low.get());
    EXPECT_EQ(CountColor(img, 1, 1, 11, 18, clBlack), 0);
    EXPECT_GT(CountColor(img, 11, 1, 27, 18, clBlack), 10);
    // The same text in another font: "0%" in the regular weight is narrower
    // than in bold, so its ink differs.
    auto regular = box(19);
    regular->setProgress(0);
    regular->setFont(DesignFont("MS Sans Serif", -11, false));
    EXPECT_GT(kestrix::test::DifferingPixels(Render(regular.get()), img), 0);
}
