// What a repaint costs the controls around it: a control that covers every
// pixel of itself (panel, bar-shaped gradient gauge, lamp) does not have its
// parent repainted behind it, one that leaves pixels to its parent (the arc)
// does; and pictures kept from paint to paint follow a change of size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/Fonts.h"
#include "toolkit/Panel.h"
#include "widgets/ALed.h"
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

} // namespace

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
}
