// The GDI drawing rules our controls are written in, checked pixel by pixel
// against pictures worked out by hand.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/Fonts.h"
#include "toolkit/GdiCanvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <numbers>

using kestrix::test::PixelAt;

namespace {

QImage Blank(int w, int h, TColor c = clBlack)
{
    QImage img(w, h, QImage::Format_RGB32);
    GdiCanvas(img).Fill(c);
    return img;
}

} // namespace

TEST(GdiCanvasFillRect, ExcludesRightAndBottomAndIgnoresInvertedRectangles)
{
    QImage img = Blank(6, 6);
    GdiCanvas c(img);
    c.FillRect(1, 1, 4, 3, clRed);
    EXPECT_EQ(PixelAt(img, 1, 1), clRed);
    EXPECT_EQ(PixelAt(img, 3, 2), clRed);
    EXPECT_EQ(PixelAt(img, 4, 2), clBlack); // right edge excluded
    EXPECT_EQ(PixelAt(img, 3, 3), clBlack); // bottom edge excluded
    c.FillRect(4, 4, 2, 5, clLime);         // inverted: nothing
    c.FillRect(2, 5, 2, 6, clLime);         // empty: nothing
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 6, 6, clLime), 0);
}

TEST(GdiCanvasLines, LeaveOutTheEndPointAndStepByTheHalfRule)
{
    QImage img = Blank(8, 4);
    GdiCanvas c(img);
    c.SetPen(clWhite);
    c.MoveTo(0, 0);
    c.LineTo(4, 2);
    // k = 0..3 along x, y = ceil(k*2/4 - 1/2): 0, 0, 1, 1.
    EXPECT_EQ(PixelAt(img, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(img, 1, 0), clWhite);
    EXPECT_EQ(PixelAt(img, 2, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 3, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 4, 2), clBlack); // the end point stays out
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 8, 4, clWhite), 4);
    EXPECT_EQ(c.PenPos(), QPoint(4, 2));
}

TEST(GdiCanvasMulDiv, RoundsHalvesAwayFromZeroAndAnswersMinusOneForZeroDivisor)
{
    EXPECT_EQ(MulDiv(1, 1, 2), 1);   // 0.5 -> 1
    EXPECT_EQ(MulDiv(-1, 1, 2), -1); // -0.5 -> -1
    EXPECT_EQ(MulDiv(49, 114, 100), 56); // 55.86
    EXPECT_EQ(MulDiv(3, 1, 0), -1);
    EXPECT_EQ(MulDiv(65535, 65535, 65535), 65535); // the product needs 64 bits
}

namespace {

using kestrix::test::AsText;
using Rows = std::vector<std::string>;
const std::map<TColor, char> kLegend = {{clBlack, '.'}, {clWhite, '#'}, {clRed, 'r'}, {clLime, 'g'}};

} // namespace

TEST(GdiCanvasLines, SteepLinesInEveryDirectionAndPolylinesKeepTheirLastPointOut)
{
    QImage img = Blank(4, 7);
    GdiCanvas c(img);
    c.SetPen(clWhite);
    c.MoveTo(2, 0);
    c.LineTo(0, 5);
    // Along y, x = 2 + ceil(k * -2 / 5 - 1/2) for k = 0..4: 2, 2, 1, 1, 0.
    EXPECT_EQ(AsText(img, 0, 0, 4, 7, kLegend), (Rows{"..#.", "..#.", ".#..", ".#..", "#...", "....", "...."}));

    QImage pl = Blank(5, 4);
    GdiCanvas p(pl);
    p.SetPen(clRed);
    p.MoveTo(4, 3);
    p.Polyline({{0, 0}, {3, 0}, {3, 2}});
    EXPECT_EQ(AsText(pl, 0, 0, 5, 4, kLegend), (Rows{"rrrr.", "...r.", ".....", "....."}));
    EXPECT_EQ(p.PenPos(), QPoint(4, 3)); // a polyline leaves the pen where it was

    // Leftwards and upwards the start is lit and the end left out, too.
    QImage back = Blank(5, 2);
    GdiCanvas b(back);
    b.SetPen(clLime);
    b.MoveTo(4, 1);
    b.LineTo(0, 1);
    EXPECT_EQ(AsText(back, 0, 0, 5, 2, kLegend), (Rows{".....", ".gggg"}));
}

TEST(GdiCanvasShapes, RectangleEllipseAndRoundRectTakeTheGdiBox)
{
    QImage img = Blank(6, 5);
    GdiCanvas c(img);
    c.SetPen(clWhite);
    c.SetBrush(clRed);
    c.Rectangle(1, 1, 5, 4);
    EXPECT_EQ(AsText(img, 0, 0, 6, 5, kLegend), (Rows{"......", ".####.", ".#rr#.", ".####.", "......"}));

    // A 5 x 5 and a 7 x 5 ellipse, drawn by hand on squared paper.
    QImage e = Blank(9, 7);
    GdiCanvas ce(e);
    ce.SetPen(clWhite);
    ce.SetBrush(clRed);
    ce.Ellipse(1, 1, 6, 6);
    EXPECT_EQ(AsText(e, 0, 0, 7, 7, kLegend),
              (Rows{".......", "..###..", ".#rrr#.", ".#rrr#.", ".#rrr#.", "..###..", "......."}));
    e = Blank(9, 7);
    GdiCanvas ce2(e);
    ce2.SetPen(clWhite);
    ce2.SetBrush(clRed);
    ce2.Ellipse(1, 1, 8, 6);
    EXPECT_EQ(AsText(e, 0, 0, 9, 7, kLegend), (Rows{".........", "...###...", "..#rrr#..", ".#rrrrr#.",
                                                     "..#rrr#..", "...###...", "........."}));
    // A box two pixels high stays inside its box.
    e = Blank(6, 4);
    GdiCanvas ce3(e);
    ce3.SetPen(clWhite);
    ce3.Ellipse(1, 1, 5, 3);
    EXPECT_EQ(kestrix::test::CountColor(e, 0, 0, 6, 4, clWhite), kestrix::test::CountColor(e, 1, 1, 5, 3, clWhite));

    // Round corners of 5 x 5: the quarters of the 5 x 5 ellipse above, the
    // middle row and column stretched; the same on all four corners.
    QImage r = Blank(10, 8);
    GdiCanvas cr(r);
    cr.SetPen(clWhite);
    cr.SetBrush(clRed);
    cr.RoundRect(1, 1, 9, 7, 5, 5);
    EXPECT_EQ(AsText(r, 0, 0, 10, 8, kLegend), (Rows{"..........", "..######..", ".#rrrrrr#.", ".#rrrrrr#.",
                                                      ".#rrrrrr#.", ".#rrrrrr#.", "..######..", ".........."}));
}

TEST(GdiCanvasShapes, PieAndArcSweepCounterclockwiseBetweenTheCentresRays)
{
    // An 11-pixel circle centred on (6, 6); from the ray to the right
    // counterclockwise to the ray upwards is the upper-right quarter, with
    // both radials drawn.
    QImage img = Blank(13, 13);
    GdiCanvas c(img);
    c.SetPen(clWhite);
    c.SetBrush(clRed);
    c.Pie(1, 1, 12, 12, 11, 6, 6, 1);
    EXPECT_EQ(AsText(img, 0, 0, 13, 8, kLegend),
              (Rows{".............", "......###....", "......#rr#...", "......#rrr#..", "......#rrrr#.",
                    "......#rrrr#.", "......######.", "............."}));
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 7, 13, 13, clBlack), 13 * 6);

    // The arc from the upward ray counterclockwise to the right one: three
    // quarters of the circle's outline, nothing of the upper-right quarter
    // but the ends, and no fill.
    QImage a = Blank(13, 13);
    GdiCanvas ca(a);
    ca.SetPen(clWhite);
    ca.SetBrush(clRed);
    ca.Arc(1, 1, 12, 12, 6, 1, 11, 6);
    EXPECT_EQ(AsText(a, 0, 0, 13, 13, kLegend),
              (Rows{".............", "....###......", "...#.........", "..#..........", ".#...........",
                    ".#...........", ".#.........#.", ".#.........#.", ".#.........#.", "..#.......#..",
                    "...#.....#...", "....#####....", "............."}));
}

TEST(GdiCanvasShapes, PieSeriesGivesEachPixelToTheLastSliceThatReachesIt)
{
    // The 11-pixel circle again: first the whole circle in red (equal rays),
    // then the upper-right quarter in white, outline, radials and centre
    // (6, 6) included; drawn one by one or as one run, the same picture.
    const Rows expected{".............", "....rr###....", "...rrr####...", "..rrrr#####..", ".rrrrr######.",
                        ".rrrrr######.", ".rrrrr######.", ".rrrrrrrrrrr.", ".rrrrrrrrrrr.", "..rrrrrrrrr..",
                        "...rrrrrrr...", "....rrrrr....", "............."};
    QImage one = Blank(13, 13);
    GdiCanvas c1(one);
    for (TColor color : {clRed, clWhite}) {
        c1.SetPen(color);
        c1.SetBrush(color);
        c1.Pie(1, 1, 12, 12, 11, 6, color == clRed ? 11 : 6, color == clRed ? 6 : 1);
    }
    EXPECT_EQ(AsText(one, 0, 0, 13, 13, kLegend), expected);

    QImage run = Blank(13, 13);
    GdiCanvas c2(run);
    c2.PieSeries(1, 1, 12, 12, {{QPoint(11, 6), QPoint(11, 6), clRed}, {QPoint(11, 6), QPoint(6, 1), clWhite}});
    EXPECT_EQ(AsText(run, 0, 0, 13, 13, kLegend), expected);
    EXPECT_EQ(c2.PenColor(), clWhite); // pen and brush as after the last pie
    EXPECT_EQ(c2.BrushColor(), clWhite);
}

TEST(GdiCanvasShapes, APieCoverKeepsTheSlicesAndTakesNewColoursOnEachPicture)
{
    // The same two slices worked out once, then laid in lime and white on
    // one picture and in red and white on another: the shape stays, the
    // colours follow each call. A count of colours that does not match the
    // slices draws nothing; more slices than a cover holds give none.
    const GdiCanvas::PieCover cover =
        GdiCanvas::PieSeriesCover(1, 1, 12, 12, {{QPoint(11, 6), QPoint(11, 6), clBlack}, {QPoint(11, 6), QPoint(6, 1), clBlack}});
    ASSERT_TRUE(cover.Valid());
    QImage limeImg = Blank(13, 13), redImg = Blank(13, 13);
    GdiCanvas lime(limeImg), red(redImg);
    lime.DrawPieCover(cover, {clLime, clWhite});
    red.DrawPieCover(cover, {clRed, clWhite});
    const Rows redRows{".............", "....rr###....", "...rrr####...", "..rrrr#####..", ".rrrrr######.",
                       ".rrrrr######.", ".rrrrr######.", ".rrrrrrrrrrr.", ".rrrrrrrrrrr.", "..rrrrrrrrr..",
                       "...rrrrrrr...", "....rrrrr....", "............."};
    Rows limeRows = redRows;
    for (std::string& row : limeRows)
        std::replace(row.begin(), row.end(), 'r', 'g');
    EXPECT_EQ(AsText(redImg, 0, 0, 13, 13, kLegend), redRows);
    EXPECT_EQ(AsText(limeImg, 0, 0, 13, 13, kLegend), limeRows);
    EXPECT_EQ(red.BrushColor(), clWhite);

    QImage untouched = Blank(13, 13);
    GdiCanvas c(untouched);
    c.DrawPieCover(cover, {clRed});
    EXPECT_EQ(kestrix::test::CountColor(untouched, 0, 0, 13, 13, clBlack), 13 * 13);

    std::vector<GdiCanvas::PieSlice> many(GdiCanvas::kMostPieSlices + 1, {QPoint(11, 6), QPoint(6, 1), clRed});
    EXPECT_FALSE(GdiCanvas::PieSeriesCover(1, 1, 12, 12, many).Valid());
}

TEST(GdiCanvasShapes, PieSeriesMatchesPiesDrawnOneByOne)
{
    // Boxes odd and even, cut by the image (a gauge's arc shows the upper
    // half of its box), slices that overlap, wrap past the right, have equal
    // or reversed rays, and one run longer than the slice set holds; boxes
    // of one size at several places.
    struct Case {
        QSize image;
        QRect box; // left, top, right, bottom as x, y, x + width, y + height
        int slices;
        double step, reach;
    };
    const Case cases[] = {
        {{114, 37}, {0, 0, 113, 73}, 100, 0.01 * std::numbers::pi, 0.027},
        {{20, 20}, {1, 1, 18, 17}, 60, 2 * std::numbers::pi / 60, 0.2},
        {{9, 9}, {0, 0, 9, 9}, 40, 2 * std::numbers::pi / 25, 0.0},
        {{16, 8}, {-3, -2, 19, 14}, 30, 0.5, -0.3},
        {{30, 30}, {0, 0, 30, 30}, 140, 2 * std::numbers::pi / 100, 0.05},
        // The box of the second case again at other places, and the first
        // again: what a run keeps of its rays must be the box's own.
        {{24, 24}, {4, 3, 18, 17}, 60, 2 * std::numbers::pi / 60, 0.2},
        {{20, 20}, {-5, 2, 18, 17}, 60, 2 * std::numbers::pi / 60, 0.2},
        {{114, 37}, {0, 0, 113, 73}, 100, 0.01 * std::numbers::pi, 0.027},
    };
    for (const Case& k : cases) {
        const int right = k.box.x() + k.box.width(), bottom = k.box.y() + k.box.height();
        const double cx = (k.box.x() + right - 1) / 2.0, cy = (k.box.y() + bottom - 1) / 2.0;
        auto at = [&](double t) {
            return QPoint(int(std::lround(cx + std::cos(t) * k.box.width() / 2)),
                          int(std::lround(cy - std::sin(t) * k.box.height() / 2)));
        };
        std::vector<GdiCanvas::PieSlice> slices;
        for (int i = 0; i < k.slices; ++i) {
            const TColor color = RGBToColor((i * 37) % 256, (i * 11) % 256, 200 - i % 100);
            slices.push_back({at(-(i + 1) * k.step - k.reach), at(-i * k.step), color});
        }
        slices.push_back({QPoint(cx, 0), QPoint(cx, 0), clLime}); // equal rays: the whole ellipse
        slices.push_back({at(2.0), at(1.0), clRed});              // reversed: nearly the whole ellipse

        QImage one(k.image, QImage::Format_RGB32), run(k.image, QImage::Format_RGB32);
        one.fill(Qt::black);
        run.fill(Qt::black);
        GdiCanvas c1(one), c2(run);
        for (const GdiCanvas::PieSlice& s : slices) {
            c1.SetPen(s.Color);
            c1.SetBrush(s.Color);
            c1.Pie(k.box.x(), k.box.y(), right, bottom, s.Start.x(), s.Start.y(), s.End.x(), s.End.y());
        }
        c2.PieSeries(k.box.x(), k.box.y(), right, bottom, slices);
        int differing = 0;
        for (int y = 0; y < k.image.height(); ++y)
            for (int x = 0; x < k.image.width(); ++x)
                differing += one.pixel(x, y) != run.pixel(x, y);
        EXPECT_EQ(differing, 0) << "box " << k.box.width() << "x" << k.box.height() << ", " << k.slices << " slices";
    }
}

TEST(GdiCanvasShapes, PolygonFillsInsideAndSteppedOutlineClosesOnItself)
{
    QImage img = Blank(8, 6);
    GdiCanvas c(img);
    c.SetPen(clWhite);
    c.SetBrush(clRed);
    // The diagonal back from (6, 4) to (0, 0) is stepped like a line from
    // (6, 4): y = 4 + ceil(-4k / 6 - 1/2) for k = 0..5: 4, 3, 3, 2, 1, 1.
    c.Polygon({{0, 0}, {6, 0}, {6, 4}});
    EXPECT_EQ(AsText(img, 0, 0, 8, 6, kLegend),
              (Rows{"#######.", ".##rrr#.", "...#rr#.", "....###.", "......#.", "........"}));

    // Without a pen the right and bottom edges stay out.
    QImage f = Blank(6, 5);
    GdiCanvas cf(f);
    cf.SetPenClear();
    cf.SetBrush(clLime);
    cf.Polygon({{1, 1}, {5, 1}, {5, 4}, {1, 4}});
    EXPECT_EQ(AsText(f, 0, 0, 6, 5, kLegend), (Rows{"......", ".gggg.", ".gggg.", ".gggg.", "......"}));
}

TEST(GdiCanvasFloodFill, FillsOnlyTheFourConnectedSurfaceAndIgnoresOtherStarts)
{
    // Two white areas that touch only at a corner: a diagonal does not join.
    QImage img = Blank(5, 4);
    GdiCanvas c(img);
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {2, 2}, {3, 2}, {3, 3}, {4, 3}})
        c.SetPixel(x, y, clWhite);
    c.FloodFillSurface(1, 1, clWhite, clRed); // (1, 1) is black: nothing happens
    c.FloodFillSurface(9, 9, clWhite, clRed); // outside: nothing happens
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 5, 4, clRed), 0);
    c.FloodFillSurface(0, 0, clWhite, clRed);
    EXPECT_EQ(AsText(img, 0, 0, 5, 4, kLegend), (Rows{"rr...", "r....", "..##.", "...##"}));
    c.FloodFillSurface(4, 3, clWhite, clLime);
    EXPECT_EQ(AsText(img, 0, 0, 5, 4, kLegend), (Rows{"rr...", "r....", "..gg.", "...gg"}));
}

TEST(GdiCanvasRasterOps, XorBlitInvertRectAndTransparentDraw)
{
    QImage img = Blank(4, 2, 0x123456);
    GdiCanvas c(img);
    QImage src = Blank(2, 1, 0xFFFFFF);
    c.XorBlit(src, 1, 1);
    EXPECT_EQ(PixelAt(img, 1, 1), TColor(0xEDCBA9));
    EXPECT_EQ(PixelAt(img, 2, 1), TColor(0xEDCBA9));
    EXPECT_EQ(PixelAt(img, 0, 1), TColor(0x123456));
    c.XorBlit(src, 1, 1); // twice restores
    EXPECT_EQ(PixelAt(img, 1, 1), TColor(0x123456));

    c.InvertRect(0, 0, 2, 1);
    EXPECT_EQ(PixelAt(img, 0, 0), TColor(0xEDCBA9));
    EXPECT_EQ(PixelAt(img, 1, 0), TColor(0xEDCBA9));
    EXPECT_EQ(PixelAt(img, 2, 0), TColor(0x123456)); // right edge excluded
    EXPECT_EQ(PixelAt(img, 0, 1), TColor(0x123456)); // bottom edge excluded
    c.InvertRect(3, 0, 2, 2);                         // inverted rectangle: nothing
    EXPECT_EQ(PixelAt(img, 2, 0), TColor(0x123456));

    QImage sprite = Blank(2, 1, clLime);
    GdiCanvas(sprite).SetPixel(1, 0, clFuchsia);
    c.Draw(sprite, 2, 0, clFuchsia);
    EXPECT_EQ(PixelAt(img, 2, 0), clLime);
    EXPECT_EQ(PixelAt(img, 3, 0), TColor(0x123456)); // the transparent colour is skipped
}

TEST(GdiCanvasRounding, NearestEvenAndMulDivEdges)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(49.5), 50);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(MulDiv(-7, 1, 2), -4); // -3.5 away from zero
    EXPECT_EQ(MulDiv(7, 1, -2), -4);
    EXPECT_EQ(MulDiv(24, -255, 49), -125); // -124.9
    EXPECT_EQ(MulDiv(1 << 30, 4, 2), -1);  // 2^31 does not fit
    EXPECT_EQ(MulDiv(-(1 << 30), 4, 2), -2147483647 - 1);
}

TEST(GdiCanvasText, BoldBitmapFaceIsOverstruckOnePixelRightAndOnePixelWider)
{
    // "MS Sans Serif" has bitmap strikes only, with no bold face: bold comes
    // from drawing each character twice, one pixel apart, and the design
    // font gives each character the extra pixel.
    const QFont regular = DesignFont("MS Sans Serif", -11);
    const QFont bold = DesignFont("MS Sans Serif", -11, true);
    if (QFontInfo(regular).family() != "MS Sans Serif")
        GTEST_SKIP() << "fonts-wine is not installed";
    const QFontMetrics fm(regular);
    EXPECT_EQ(GdiCanvas::TextWidth("100%", bold), fm.horizontalAdvance("100%") + 4);
    EXPECT_EQ(GdiCanvas::TextWidth("100%", regular), fm.horizontalAdvance("100%"));

    QImage once = Blank(20, 16), twice = Blank(20, 16);
    GdiCanvas(once).TextOut(2, 1, "4", regular, clWhite);
    GdiCanvas(twice).TextOut(2, 1, "4", bold, clWhite);
    int lit = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 1; x < 20; ++x) {
            const bool expected = PixelAt(once, x, y) == clWhite || PixelAt(once, x - 1, y) == clWhite;
            EXPECT_EQ(PixelAt(twice, x, y) == clWhite, expected) << x << "," << y;
            lit += expected;
        }
    EXPECT_GT(lit, 10);
}

TEST(GdiCanvasText, MicrosoftSansSerifDrawsAsMSSansSerifWhereOnlyTheLatterIsInstalled)
{
    // The header's "Microsoft Sans Serif" stands for the bitmap face of
    // "MS Sans Serif": same strike, same letters, plain and bold; a family
    // with no stand-in is asked for as it is.
    if (QFontInfo(DesignFont("MS Sans Serif", -11)).family() != "MS Sans Serif")
        GTEST_SKIP() << "fonts-wine is not installed";
    if (QFontDatabase::families().contains("Microsoft Sans Serif", Qt::CaseInsensitive))
        GTEST_SKIP() << "a real Microsoft Sans Serif is installed";
    for (const bool bold : {false, true}) {
        const QFont asked = DesignFont("Microsoft Sans Serif", -11, bold);
        const QFont standIn = DesignFont("MS Sans Serif", -11, bold);
        EXPECT_EQ(QFontInfo(asked).family(), "MS Sans Serif");
        EXPECT_EQ(QFontInfo(asked).pixelSize(), QFontInfo(standIn).pixelSize());
        EXPECT_EQ(NeedsOverstrikeBold(asked), bold);
        QImage a = Blank(60, 16), b = Blank(60, 16);
        GdiCanvas(a).TextOut(1, 1, "Free 42", asked, clWhite);
        GdiCanvas(b).TextOut(1, 1, "Free 42", standIn, clWhite);
        EXPECT_EQ(a, b) << "bold " << bold;
        EXPECT_GT(kestrix::test::CountColor(a, 0, 0, 60, 16, clWhite), 20);
    }
    EXPECT_EQ(DesignFont("Tahoma", -11).family(), "Tahoma");
}

TEST(GdiCanvasFillRect, ClipFillsKeepsEveryFillInsideTheClip)
{
    QImage img = Blank(8, 6);
    GdiCanvas c(img);
    c.ClipFills(QRect(2, 1, 3, 4)); // x 2..4, y 1..4
    c.Fill(clRed);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 8, 6, clRed), 12);
    EXPECT_EQ(kestrix::test::CountColor(img, 2, 1, 5, 5, clRed), 12);
    c.FillRect(0, 0, 3, 2, clLime); // overlaps the clip at (2, 1) only
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 8, 6, clLime), 1);
    EXPECT_EQ(PixelAt(img, 2, 1), clLime);
    c.FillRect(6, 0, 8, 6, clBlue); // beside the clip: nothing
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 8, 6, clBlue), 0);
    c.ClipFills(QRect()); // the whole picture again
    c.FillRect(6, 0, 8, 6, clBlue);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 8, 6, clBlue), 12);
}

TEST(GdiCanvasFillRect, ClipFillsToSpotsFarApartLeavesTheBoxBetweenThem)
{
    QImage img = Blank(10, 6);
    GdiCanvas c(img);
    // Two 2 x 2 spots in opposite corners: (0..1, 0..1) and (8..9, 4..5).
    c.ClipFills(QRegion(0, 0, 2, 2) + QRegion(8, 4, 2, 2));
    c.Fill(clRed);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 10, 6, clRed), 8);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 2, 2, clRed), 4);
    EXPECT_EQ(kestrix::test::CountColor(img, 8, 4, 10, 6, clRed), 4);
    // A fill across both spots lands in each: (1, 1) and (8, 4) only.
    c.FillRect(1, 1, 9, 5, clLime);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 10, 6, clLime), 2);
    EXPECT_EQ(PixelAt(img, 1, 1), clLime);
    EXPECT_EQ(PixelAt(img, 8, 4), clLime);
}
