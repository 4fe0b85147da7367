// The gradient gauge: step and layer colours, the six shapes and the setter
// rules, with pixels worked out by hand from the gauge's geometry.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/Errors.h"
#include "toolkit/Panel.h"
#include "widgets/STGauge.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

// Step colours of the default ramp (lime, yellow, red with the median):
// steps n <= 50 take red = MulDiv(n - 1, 255, 49); steps above take
// green = 255 + MulDiv(n - 51, -255, 49).
constexpr TColor kStep25 = 0x00FF7D; // red 124.9 -> 125
constexpr TColor kStep27 = 0x00FF87; // red 135.3 -> 135
constexpr TColor kStep49 = 0x00FFFA; // red 249.8 -> 250
constexpr TColor kStep52 = 0x00FAFF; // green 255 - 5 (5.2)
constexpr TColor kStep75 = 0x0082FF; // green 255 - 125 (124.9)
constexpr TColor kStep80 = 0x0068FF; // green 255 - 151 (150.9)
constexpr TColor kStep26 = 0x00FF82; // red 130.1 -> 130
constexpr TColor kStep76 = 0x007DFF; // green 255 - 130 (130.1)

TSTGauge* DriveRowGauge(QWidget* parent = nullptr)
{
    auto* g = new TSTGauge(parent);
    g->resize(100, 18); // the layout's gsHorzRect, lowered, gradient, median
    return g;
}

} // namespace

TEST(TSTGauge, CreationValues)
{
    TSTGauge g;
    EXPECT_EQ(g.size(), QSize(100, 50));
    EXPECT_EQ(g.Percent(), 0);
    EXPECT_EQ(g.Shape(), TGaugeShape::gsHorzRect);
    EXPECT_EQ(g.Border(), TGaugeBorder::gbLowered);
    EXPECT_TRUE(g.GradientFill());
    EXPECT_EQ(g.FillColor(), clLime);
    EXPECT_EQ(g.MedianColor(), clYellow);
    EXPECT_EQ(g.GradientColor(), clRed);
    EXPECT_TRUE(g.UseMedianColor());
    EXPECT_EQ(g.Backcolor(), clBlack);
    EXPECT_EQ(g.BlendColor(), clBtnFace);
    EXPECT_FALSE(g.Transparent());
}

TEST(TSTGauge, StepColoursRunThroughTheMedianOrStraight)
{
    TSTGauge g;
    EXPECT_EQ(g.StepColor(1), clLime);
    EXPECT_EQ(g.StepColor(25), kStep25);
    EXPECT_EQ(g.StepColor(50), clYellow);
    EXPECT_EQ(g.StepColor(51), clYellow);
    EXPECT_EQ(g.StepColor(75), kStep75);
    EXPECT_EQ(g.StepColor(100), clRed);
    g.setUseMedianColor(false);
    EXPECT_EQ(g.StepColor(1), clLime);
    // red MulDiv(49, 255, 99) = 126 (126.2), green 255 - 126
    EXPECT_EQ(g.StepColor(50), TColor(0x00817E));
    EXPECT_EQ(g.StepColor(100), clRed);
    // System colours resolve: button face (silver) to black.
    g.setFillColor(clBtnFace);
    g.setGradientColor(clBlack);
    EXPECT_EQ(g.StepColor(1), clSilver);
    EXPECT_EQ(g.StepColor(100), clBlack);
}

TEST(TSTGauge, ColourFunctionsRaiseRangeErrorsWithTheirMessages)
{
    TSTGauge g;
    for (int n : {0, 101, -3}) {
        try {
            g.StepColor(n);
            ADD_FAILURE() << "no error for " << n;
        } catch (const ERangeError& e) {
            EXPECT_STREQ(e.what(), "ColorIndex can't be less than 1 or greater than 100");
        }
    }
    for (auto [i, count] : {std::pair{0, 7}, {8, 7}}) {
        try {
            TSTGauge::LayerColor(i, count, clRed, clLime);
            ADD_FAILURE() << "no error for " << i;
        } catch (const ERangeError& e) {
            EXPECT_STREQ(e.what(), "ColorIndex can't be less than 1 or greater than 7");
        }
    }
    EXPECT_EQ(TSTGauge::LayerColor(1, 7, clRed, clLime), clRed);
    EXPECT_EQ(TSTGauge::LayerColor(7, 7, clRed, clLime), clLime);
    EXPECT_EQ(TSTGauge::LayerColor(4, 7, clBlack, clWhite), TColor(0x808080)); // 127.5 -> 128
    EXPECT_EQ(TSTGauge::LayerColor(1, 1, clBlue, clWhite), clBlue);
}

TEST(TSTGauge, HorizontalBarAtFullShowsBothHalvesOfTheRamp)
{
    // 100 x 18, lowered: R = (1, 1, 99, 17), 98 wide; band k covers columns
    // 1 + MulDiv(k, 98, 100) .. 1 + MulDiv(k + 1, 98, 100) - 1.
    std::unique_ptr<TSTGauge> g(DriveRowGauge());
    g->setPercent(100);
    const QImage img = Render(g.get());
    EXPECT_EQ(PixelAt(img, 0, 0), clGray);   // top and left: button shadow
    EXPECT_EQ(PixelAt(img, 99, 0), clGray);  // the first polyline starts there
    EXPECT_EQ(PixelAt(img, 0, 16), clGray);
    EXPECT_EQ(PixelAt(img, 0, 17), clWhite); // bottom and right: button highlight
    EXPECT_EQ(PixelAt(img, 99, 17), clWhite);
    EXPECT_EQ(PixelAt(img, 99, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 1, 1), clLime);       // step 1
    EXPECT_EQ(PixelAt(img, 25, 8), kStep25);     // k = 24: 1 + 24 (23.52)
    EXPECT_EQ(PixelAt(img, 26, 8), kStep27);     // k = 25 (24.5 and 25.48 both round to 25) is empty
    EXPECT_EQ(PixelAt(img, 48, 8), kStep49);     // k = 48: 1 + 47 (47.04)
    EXPECT_EQ(PixelAt(img, 49, 8), clYellow);    // step 50 (k = 49: 1 + 48 .. 1 + 49)
    EXPECT_EQ(PixelAt(img, 50, 8), clYellow);    // step 51, the same median colour
    EXPECT_EQ(PixelAt(img, 51, 8), kStep52);
    EXPECT_EQ(PixelAt(img, 98, 16), clRed);      // step 100
    EXPECT_EQ(CountColor(img, 1, 1, 99, 17, kStep26), 0);
    EXPECT_EQ(CountColor(img, 1, 1, 99, 17, kStep76), 0); // 73.5 and 74.48 round alike
    EXPECT_EQ(CountColor(img, 1, 1, 99, 17, clBlack), 0);
}

TEST(TSTGauge, HorizontalBarAtZeroAndWithoutBorderOrGradient)
{
    std::unique_ptr<TSTGauge> g(DriveRowGauge());
    g->resize(100, 19); // the totals bar
    QImage img = Render(g.get());
    EXPECT_EQ(CountColor(img, 1, 1, 99, 18, clBlack), 98 * 17);
    EXPECT_EQ(PixelAt(img, 50, 0), clGray);
    EXPECT_EQ(PixelAt(img, 50, 18), clWhite);

    // Without a border the bands span the whole control.
    g->setBorder(TGaugeBorder::gbNone);
    g->setPercent(100);
    img = Render(g.get());
    EXPECT_EQ(PixelAt(img, 0, 0), clLime);
    EXPECT_EQ(PixelAt(img, 99, 18), clRed);

    // Solid fill: R.right = 1 + (98 * 50) div 100 = 50.
    g->setBorder(TGaugeBorder::gbSingle);
    g->setGradientFill(false);
    g->setPercent(50);
    img = Render(g.get());
    EXPECT_EQ(PixelAt(img, 0, 0), clBlack); // window frame
    EXPECT_EQ(PixelAt(img, 49, 9), clLime);
    EXPECT_EQ(PixelAt(img, 50, 9), clBlack);
}

TEST(TSTGauge, VerticalBarGrowsFromTheBottom)
{
    TSTGauge g;
    g.resize(10, 100);
    g.setShape(TGaugeShape::gsVertRect);
    g.setBorder(TGaugeBorder::gbNone);
    g.setPercent(100);
    const QImage img = Render(&g);
    // Band k is row 99 - k.
    EXPECT_EQ(PixelAt(img, 5, 99), clLime);
    EXPECT_EQ(PixelAt(img, 5, 50), clYellow); // step 50
    EXPECT_EQ(PixelAt(img, 5, 49), clYellow); // step 51
    EXPECT_EQ(PixelAt(img, 5, 0), clRed);
    g.setGradientFill(false);
    g.setPercent(30);
    const QImage solid = Render(&g);
    EXPECT_EQ(PixelAt(solid, 5, 70), clLime);
    EXPECT_EQ(PixelAt(solid, 5, 69), clBlack);
}

TEST(TSTGauge, ArcOnTheMemoryPanelAtEightyPercent)
{
    // 114 x 37 on a panel of 0xFFF5DD, Transparent. The ellipse box is
    // (0, 0, 113, 73): centre pixel (56, 36); P(theta) = (nearest((1 - cos) *
    // 56), nearest((1 - sin) * 36)). The last slice ends on the ray through
    // P(0.8 pi) = (101, 15), 25.02 degrees above the base; slice 75 lies
    // between P(0.74 pi) = (94, 10) at 34.38 degrees and P(0.75 pi) =
    // (96, 11) at 32.01 degrees; P(0.79 pi) = (100, 14) is at 26.57 degrees.
    TPanel panel;
    panel.resize(130, 45);
    panel.setBevelOuter(TPanelBevel::bvNone);
    panel.setColor(16774621);
    auto* g = new TSTGauge(&panel);
    g->setGeometry(0, 0, 114, 37);
    g->setShape(TGaugeShape::gsArc);
    g->setBlendColor(clRed); // must not show
    g->setTransparent(true);
    g->setPercent(80);
    const QImage img = Render(&panel);
    for (int y = 0; y < 37; ++y)
        EXPECT_EQ(PixelAt(img, 113, y), TColor(16774621)) << "the rightmost column stays the panel's, row " << y;
    EXPECT_EQ(PixelAt(img, 0, 0), TColor(16774621));
    EXPECT_EQ(PixelAt(img, 112, 0), TColor(16774621));
    EXPECT_EQ(PixelAt(img, 2, 2), TColor(16774621));
    EXPECT_EQ(CountColor(img, 0, 0, 114, 37, clRed), 0);
    EXPECT_EQ(PixelAt(img, 56, 0), clGray); // first border colour over the top
    for (int x : {0, 30, 56, 100, 112})
        EXPECT_EQ(PixelAt(img, x, 36), clWhite) << "base line at " << x; // second colour
    EXPECT_EQ(PixelAt(img, 56, 10), clYellow); // straight up: steps 50 and 51
    EXPECT_EQ(PixelAt(img, 80, 20), kStep75);  // 33.69 degrees
    EXPECT_EQ(PixelAt(img, 90, 20), kStep80);  // 25.20 degrees: the last slice
    EXPECT_EQ(PixelAt(img, 90, 21), clBlack);  // 23.81 degrees: beyond the value
    EXPECT_EQ(PixelAt(img, 105, 30), clBlack);

    // Not transparent: the corners take BlendColor.
    g->setTransparent(false);
    const QImage blend = Render(&panel);
    EXPECT_EQ(PixelAt(blend, 0, 0), clRed);
    EXPECT_EQ(PixelAt(blend, 113, 0), TColor(16774621));
}

TEST(TSTGauge, ArcRepaintsFollowEachChangeOfPercentColoursSizeAndShape)
{
    // The same 114 x 37 arc as above (no border), repainted after each
    // change: the wedges it keeps between paints must never show a
    // percentage, colours or box it no longer has.
    TSTGauge g;
    g.resize(114, 37);
    g.setShape(TGaugeShape::gsArc);
    g.setBorder(TGaugeBorder::gbNone);
    auto eighty = [&](const char* when) {
        const QImage img = Render(&g);
        EXPECT_EQ(PixelAt(img, 56, 10), clYellow) << when;
        EXPECT_EQ(PixelAt(img, 80, 20), kStep75) << when;
        EXPECT_EQ(PixelAt(img, 90, 20), kStep80) << when;
        EXPECT_EQ(PixelAt(img, 90, 21), clBlack) << when;
    };
    g.setPercent(80);
    eighty("first paint");
    // 30 %: the value's ray is 54 degrees up from the left end, so straight
    // up and the right side are empty; low on the left (9.5 degrees) is filled.
    g.setPercent(30);
    QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 56, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 90, 20), clBlack);
    EXPECT_NE(PixelAt(img, 20, 30), clBlack);
    g.setPercent(80);
    eighty("back from 30 %");
    // Without the median, step n is lime to red in 99 steps: step 75 takes
    // red MulDiv(74, 255, 99) = 191 (190.6) and green 255 - 191.
    g.setUseMedianColor(false);
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 80, 20), TColor(0x0040BF));
    g.setUseMedianColor(true);
    eighty("median again");
    // Another box, then this one again; another shape, then the arc again.
    g.resize(60, 20);
    img = Render(&g);
    // Centre (29, 19); the value's ray ends at P(0.8 pi) = (52, 8), 25.6
    // degrees up from the right end.
    EXPECT_EQ(PixelAt(img, 29, 19), kStep80); // in every slice: the last one shows
    EXPECT_NE(PixelAt(img, 40, 10), clBlack); // 39.3 degrees: filled
    EXPECT_EQ(PixelAt(img, 50, 17), clBlack); // 5.4 degrees: beyond the value
    g.resize(114, 37);
    eighty("back from 60 x 20");
    g.setShape(TGaugeShape::gsEllipse);
    Render(&g);
    g.setShape(TGaugeShape::gsArc);
    eighty("back from the ellipse");
}

TEST(TSTGauge, ArcSolidAndEmpty)
{
    TSTGauge g;
    g.resize(114, 37);
    g.setShape(TGaugeShape::gsArc);
    g.setBorder(TGaugeBorder::gbNone);
    QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 56, 10), clBlack); // empty: Backcolor
    EXPECT_EQ(PixelAt(img, 0, 0), clSilver);  // BlendColor = button face
    g.setGradientFill(false);
    g.setPercent(50);
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 30, 20), clLime);   // left quarter
    EXPECT_EQ(PixelAt(img, 80, 20), clBlack);  // right quarter
    EXPECT_EQ(PixelAt(img, 56, 20), clBlack);  // the black radial up the middle
}

TEST(TSTGauge, TriangleRisesToTheRightWithNearestEvenEdges)
{
    // 100 x 50 at 100 %: polygon p has its right edge at nearest(0.99 p);
    // column 50 is reached first by p = 50 (49.5 rounds to even 50), so it
    // shows step 50; column 98 shows step 99 (98.01 -> 98).
    TSTGauge g;
    g.setShape(TGaugeShape::gsTriangle);
    g.setPercent(100);
    const QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 0, 0), clSilver);  // surroundings
    EXPECT_EQ(PixelAt(img, 99, 0), clGray);   // the first colour's diagonal starts there
    EXPECT_EQ(PixelAt(img, 50, 48), clYellow);
    EXPECT_EQ(PixelAt(img, 49, 48), kStep49); // p = 49: 48.51 -> 49
    EXPECT_EQ(PixelAt(img, 98, 48), TColor(0x0005FF)); // step 99: green 255 - 250 (249.8)
    EXPECT_EQ(PixelAt(img, 50, 49), clWhite); // bottom border
    EXPECT_EQ(PixelAt(img, 99, 30), clWhite); // right border
    EXPECT_EQ(PixelAt(img, 10, 10), clSilver);
}

TEST(TSTGauge, EllipseFillsClockwiseFromItsLeftPoint)
{
    TSTGauge g;
    g.setShape(TGaugeShape::gsEllipse);
    g.setPercent(25); // the upper-left quarter
    const QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 0, 0), clSilver);
    EXPECT_NE(PixelAt(img, 20, 15), clBlack); // a step colour of the first quarter
    EXPECT_NE(PixelAt(img, 20, 15), clSilver);
    EXPECT_EQ(PixelAt(img, 70, 15), clBlack);
    EXPECT_EQ(PixelAt(img, 20, 35), clBlack);
    EXPECT_EQ(PixelAt(img, 49, 0), clGray);   // first border colour on the upper-left half
    EXPECT_EQ(PixelAt(img, 49, 48), clWhite); // second colour on the lower-right half
}

TEST(TSTGauge, PoleStacksSevenLayersFromGradientToFillColour)
{
    // 100 x 50 at 100 %: h = 48, R = (81, 1, 96, 49); layer i of 7 from red
    // (outside) to lime (inside), R shrinking by one pixel per layer.
    TSTGauge g;
    g.setShape(TGaugeShape::gsPole);
    g.setPercent(100);
    QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 0, 0), clBlack);
    EXPECT_EQ(PixelAt(img, 0, 49), clBlack);
    EXPECT_EQ(PixelAt(img, 50, 49), clBlack);
    EXPECT_EQ(PixelAt(img, 50, 25), clSilver);
    EXPECT_EQ(PixelAt(img, 80, 25), clSilver);
    EXPECT_EQ(PixelAt(img, 81, 25), clRed);
    EXPECT_EQ(PixelAt(img, 84, 25), TColor(0x00807F)); // layer 4: 255 - 128, 128
    EXPECT_EQ(PixelAt(img, 87, 25), clLime);
    EXPECT_EQ(PixelAt(img, 95, 25), clRed);
    EXPECT_EQ(PixelAt(img, 96, 25), clSilver);
    // 3 %: h = nearest(1.44) = 1, one row of layer 1; the inner layers have no room.
    g.setPercent(3);
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 88, 48), clRed);
    EXPECT_EQ(PixelAt(img, 88, 47), clBlack);
}

TEST(TSTGauge, PercentSetterIgnoresBadAndUnchangedValuesAndDrawsAtOnce)
{
    std::unique_ptr<TSTGauge> g(DriveRowGauge());
    int changes = 0;
    QObject* sender = nullptr;
    g->OnChange = [&](QObject* s) {
        ++changes;
        sender = s;
    };
    kestrix::test::PaintCounter paints(g.get());
    kestrix::test::ShowSettled(g.get());
    paints.count = 0;
    for (int bad : {-1, 101, 0}) {
        g->setPercent(bad);
        QApplication::processEvents();
    }
    EXPECT_EQ(g->Percent(), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(paints.count, 0);
    g->setPercent(40);
    EXPECT_EQ(paints.count, 1); // drawn before the setter returns
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, g.get());
}

TEST(TSTGauge, ColourSettersRedrawAtOnceOthersSchedule)
{
    std::unique_ptr<TSTGauge> g(DriveRowGauge());
    kestrix::test::PaintCounter paints(g.get());
    kestrix::test::ShowSettled(g.get());
    auto atOnce = [&](const std::function<void()>& set) {
        paints.count = 0;
        set();
        return paints.count;
    };
    auto scheduled = [&](const std::function<void()>& set) {
        paints.count = 0;
        set();
        const int before = paints.count;
        QApplication::processEvents();
        return before == 0 ? paints.count : -1;
    };
    EXPECT_EQ(atOnce([&] { g->setFillColor(clBlue); }), 1);
    EXPECT_EQ(atOnce([&] { g->setMedianColor(clAqua); }), 1);
    EXPECT_EQ(atOnce([&] { g->setGradientColor(clNavy); }), 1);
    EXPECT_EQ(atOnce([&] { g->setUseMedianColor(false); }), 1);
    EXPECT_EQ(atOnce([&] { g->setFillColor(clBlue); }), 0); // unchanged
    EXPECT_EQ(scheduled([&] { g->setShape(TGaugeShape::gsVertRect); }), 1);
    EXPECT_EQ(scheduled([&] { g->setBorder(TGaugeBorder::gbRaised); }), 1);
    EXPECT_EQ(scheduled([&] { g->setGradientFill(false); }), 1);
    EXPECT_EQ(scheduled([&] { g->setBackcolor(clGray); }), 1);
    EXPECT_EQ(scheduled([&] { g->setBlendColor(clRed); }), 1);
    EXPECT_EQ(scheduled([&] { g->setBlendColor(clRed); }), 0);    // unchanged
    EXPECT_EQ(scheduled([&] { g->setTransparent(false); }), 1);   // even unchanged
}
