// The ruler: the details panel's two rulers pixel by pixel, the step factor
// table, direction and unit changes, and the hair line.
#include <gtest/gtest.h>
#include <memory>

#include "support/TestSupport.h"
#include "toolkit/Fonts.h"
#include "widgets/RsRuler.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

// RsRuler2 as the details panel has it: 500 x 22, pixels, zoom 500, flat,
// black band, white ticks and bold white numbers, on the black gauge panel.
std::unique_ptr<TRsRuler> Ruler2()
{
    auto r = std::make_unique<TRsRuler>();
    r->resize(500, 22);
    r->setColor(clBlack);
    r->setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11, true));
    r->setFontColor(clWhite);
    r->setUnits(TRulerUnit::ruPixel);
    r->setFlat(true);
    r->setScaleColor(clBlack);
    r->setTickColor(clWhite);
    r->setScale(500);
    r->setShowMinus(false);
    return r;
}

// RsRuler1: zoom 499, yellow band, black ticks and numbers. Its own colour
// is blue here so that the band's edges can be seen.
std::unique_ptr<TRsRuler> Ruler1()
{
    auto r = Ruler2();
    r->setColor(clBlue);
    r->setFontColor(clBlack);
    r->setScaleColor(clYellow);
    r->setTickColor(clBlack);
    r->setScale(499);
    return r;
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
    double CentreX() const { return (left + right) / 2.0; }
    double CentreY() const { return (top + bottom) / 2.0; }
};

// The bounding box of the pixels of colour c in (left, top, right, bottom).
Box InkBox(const QImage& img, int left, int top, int right, int bottom, TColor c)
{
    Box b;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (PixelAt(img, x, y) == c) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

} // namespace

TEST(RsRulerPaint, Ruler2TicksEveryTenPixelsHalfMarksAndCentredNumbers)
{
    auto r = Ruler2();
    const QImage img = Render(r.get());
    EXPECT_DOUBLE_EQ(r->Step(), 5.0); // 500 * 5 / 100 * 0.2
    // Ticks at x = 10 k for k = 0 .. 49: 5 pixels (rows 17..21), 7 pixels
    // (rows 15..21) at multiples of 50.
    for (int x = 0; x < 500; ++x) {
        const bool tick = x % 10 == 0;
        const bool longTick = x % 50 == 0;
        for (int y = 17; y < 22; ++y)
            ASSERT_EQ(PixelAt(img, x, y), tick ? clWhite : clBlack) << x << "," << y;
        for (int y = 15; y < 17; ++y)
            ASSERT_EQ(PixelAt(img, x, y), longTick ? clWhite : clBlack) << x << "," << y;
        ASSERT_EQ(PixelAt(img, x, 14), clBlack) << x;
    }
    // Half marks at 25, 75 .. 475: rows m-1 .. m+1 with m = 22 + (-13 - 14) div 2 = 9.
    for (int x = 25; x < 500; x += 50) {
        for (int y = 8; y <= 10; ++y)
            EXPECT_EQ(PixelAt(img, x, y), clWhite) << x << "," << y;
        EXPECT_EQ(PixelAt(img, x, 7), clBlack) << x;
        EXPECT_EQ(PixelAt(img, x, 11), clBlack) << x;
    }
    // Numbers 10 .. 90 written from row 22 - 13 - 8 = 1, centred on 50 .. 450.
    for (int n = 1; n <= 9; ++n) {
        const int x = 50 * n;
        const Box b = InkBox(img, x - 12, 0, x + 13, 14, clWhite);
        ASSERT_FALSE(b.Empty()) << x;
        EXPECT_NEAR(b.CentreX(), x, 1.5) << x;
        EXPECT_GE(b.top, 1);
        EXPECT_GT(b.right - b.left, 6) << "two digits at " << x;
    }
    // Nothing at 0 or 500, and nothing between the numbers but the half marks.
    EXPECT_EQ(CountColor(img, 0, 0, 20, 14, clWhite), 0);
    EXPECT_EQ(CountColor(img, 480, 0, 500, 14, clWhite), 0);
    EXPECT_EQ(CountColor(img, 60, 0, 75, 14, clWhite), 0);
    EXPECT_EQ(CountColor(img, 0, 0, 500, 1, clWhite), 0);
}

TEST(RsRulerPaint, Ruler1NumbersAtFortyNinePointNineIntervalsOnItsBand)
{
    auto r = Ruler1();
    const QImage img = Render(r.get());
    EXPECT_DOUBLE_EQ(r->Step(), 4.99); // 499 * 5 / 100 * 0.2
    // The band: (1, 22 - 13 - 7, 500 - 1, 22 - 8) = rows 2..13, columns 1..498.
    EXPECT_EQ(PixelAt(img, 1, 2), clYellow);
    EXPECT_EQ(PixelAt(img, 498, 13), clYellow);
    EXPECT_EQ(PixelAt(img, 0, 5), clBlue);
    EXPECT_EQ(PixelAt(img, 499, 5), clBlue);
    EXPECT_EQ(PixelAt(img, 30, 14), clBlue);
    // Ticks at trunc(k * 9.98): long ones at 0, 49, 99, 249, 489 (k = 49: 489.02
    // is short), short ones at 9, 69.
    for (int x : {0, 49, 99, 249})
        for (int y = 15; y < 22; ++y)
            EXPECT_EQ(PixelAt(img, x, y), clBlack) << x << "," << y;
    for (int x : {9, 69, 489}) {
        for (int y = 17; y < 22; ++y)
            EXPECT_EQ(PixelAt(img, x, y), clBlack) << x << "," << y;
        EXPECT_EQ(PixelAt(img, x, 16), clBlue) << x;
    }
    EXPECT_EQ(PixelAt(img, 50, 20), clBlue);
    EXPECT_EQ(PixelAt(img, 10, 20), clBlue);
    // Half marks at trunc(24.95) = 24 and trunc(74.85) = 74.
    for (int x : {24, 74})
        for (int y = 8; y <= 10; ++y)
            EXPECT_EQ(PixelAt(img, x, y), clBlack) << x << "," << y;
    // Numbers centred at trunc(49.9 n): 49, 99, 149, 199, 249, ... 449.
    for (int n = 1; n <= 9; ++n) {
        const int x = int(49.9 * n);
        const Box b = InkBox(img, x - 12, 0, x + 13, 14, clBlack);
        ASSERT_FALSE(b.Empty()) << x;
        EXPECT_NEAR(b.CentreX(), x, 1.5) << x;
    }
}

TEST(RsRulerPaint, AbsoluteValuesWhenMinusIsHidden)
{
    // Offset -100 makes the number at 50 read -90; without the sign it must
    // look exactly like the 90 of an unshifted ruler at 450.
    auto shifted = Ruler2();
    shifted->setOffset(-100);
    auto plain = Ruler2();
    const QImage a = Render(shifted.get());
    const QImage b = Render(plain.get());
    for (int y = 0; y < 14; ++y)
        for (int dx = -12; dx <= 12; ++dx)
            ASSERT_EQ(PixelAt(a, 50 + dx, y), PixelAt(b, 450 + dx, y)) << dx << "," << y;
    shifted->setShowMinus(true);
    const QImage signedImg = Render(shifted.get());
    EXPECT_GT(CountColor(signedImg, 35, 0, 65, 14, clWhite), CountColor(a, 35, 0, 65, 14, clWhite));
}

TEST(RsRulerPaint, VerticalRulerWritesItsNumbersReadingUpward)
{
    auto r = Ruler2();
    r->setDirection(TRulerDir::rdLeft);
    ASSERT_EQ(r->size(), QSize(22, 500));
    r->setScale(100); // step 5: numbers every 50 pixels reading 50, 100, ...
    const QImage img = Render(r.get());
    // Ticks stand on the right edge: row 0 .. from x 21 leftwards.
    EXPECT_EQ(PixelAt(img, 21, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 17, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 16, 10), clBlack);
    const Box b = InkBox(img, 0, 38, 15, 63, clWhite);
    ASSERT_FALSE(b.Empty());
    EXPECT_NEAR(b.CentreY(), 50, 1.5);
    EXPECT_GT(b.bottom - b.top, b.right - b.left); // the digits run along y
    EXPECT_GE(b.left, 22 - 13 - 7);
}

TEST(RsRulerStep, FactorTableAndIgnoredZooms)
{
    auto r = Ruler2();
    Render(r.get());
    EXPECT_DOUBLE_EQ(r->StepFactor(), 0.2);
    r->setScale(0);
    EXPECT_EQ(r->Scale(), 500);
    r->setScale(-20);
    EXPECT_EQ(r->Scale(), 500);
    r->setScale(2000); // beyond the table: the previous factor stays
    Render(r.get());
    EXPECT_DOUBLE_EQ(r->StepFactor(), 0.2);
    EXPECT_DOUBLE_EQ(r->Step(), 20.0); // 2000 * 5 / 100 * 0.2

    TRsRuler fresh;
    fresh.setUnits(TRulerUnit::ruPixel);
    fresh.setScale(2000);
    Render(&fresh);
    EXPECT_DOUBLE_EQ(fresh.StepFactor(), 1.0); // a new ruler's factor
    const std::pair<int, double> table[] = {{1, 100},  {2, 50},   {5, 25},    {8, 20},   {12, 10},
                                            {25, 5},   {26, 4},   {50, 2},    {125, 1},  {126, 0.5},
                                            {300, 0.5}, {400, 0.25}, {401, 0.2}, {1000, 0.1}};
    for (auto [scale, factor] : table) {
        fresh.setScale(scale);
        Render(&fresh);
        EXPECT_DOUBLE_EQ(fresh.StepFactor(), factor) << scale;
    }
    // Metric at 100 %: one millimetre of a 96-dpi screen.
    TRsRuler metric;
    Render(&metric);
    EXPECT_NEAR(metric.Step(), 96 / 10.0 / 2.54, 1e-9);
}

TEST(RsRulerProperties, DirectionSwapsSizeAndUnitsConvertTheOffset)
{
    TRsRuler r;
    EXPECT_EQ(r.size(), QSize(200, 33));
    r.setDirection(TRulerDir::rdLeft);
    EXPECT_EQ(r.size(), QSize(33, 200));
    r.setDirection(TRulerDir::rdRight);
    EXPECT_EQ(r.size(), QSize(33, 200));
    r.setDirection(TRulerDir::rdBottom);
    EXPECT_EQ(r.size(), QSize(200, 33));

    r.setOffset(2.5);
    r.setUnits(TRulerUnit::ruMilli);
    EXPECT_DOUBLE_EQ(r.Offset(), 25.0);
    r.setUnits(TRulerUnit::ruCenti);
    EXPECT_DOUBLE_EQ(r.Offset(), 2.5);
    r.setUnits(TRulerUnit::ruPixel); // 96 / 25.4 pixels per millimetre
    EXPECT_NEAR(r.Offset(), 25.0 * 96 / 25.4, 1e-9);
}

TEST(RsRulerHairLine, MovesByInversionAndARepaintClearsIt)
{
    TRsRuler r; // 200 x 33, centimetres, raised edge
    r.setColor(clSilver);
    r.setScaleColor(clWhite);
    r.setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    r.setHairLine(true);
    const QImage before = Render(&r);
    // The band: rows 33 - 13 - 7 = 13 .. 33 - 8 = 25 (exclusive); column 99
    // carries no tick or number at this zoom.
    ASSERT_EQ(PixelAt(before, 99, 15), clWhite);

    r.setHairLinePos(100);
    EXPECT_EQ(r.HairLinePos(), 100);
    QImage img = Render(&r);
    for (int y = 13; y < 25; ++y)
        EXPECT_EQ(PixelAt(img, 99, y), PixelAt(before, 99, y) ^ 0xFFFFFFu) << y;
    EXPECT_EQ(PixelAt(img, 99, 12), PixelAt(before, 99, 12));
    EXPECT_EQ(PixelAt(img, 100, 15), PixelAt(before, 100, 15));

    r.setHairLinePos(150); // the old line is inverted back
    img = Render(&r);
    EXPECT_EQ(PixelAt(img, 99, 15), clWhite);
    EXPECT_EQ(PixelAt(img, 149, 15), PixelAt(before, 149, 15) ^ 0xFFFFFFu);

    img = Render(&r); // a full repaint
    EXPECT_EQ(r.HairLinePos(), -1);
    EXPECT_EQ(img, before);

    // The bar style inverts from column 1 up to the position.
    r.setHairLineStyle(THairLineStyle::hlsRect);
    Render(&r);
    r.setHairLinePos(40);
    img = Render(&r);
    EXPECT_EQ(PixelAt(img, 1, 15), PixelAt(before, 1, 15) ^ 0xFFFFFFu);
    EXPECT_EQ(PixelAt(img, 39, 15), PixelAt(before, 39, 15) ^ 0xFFFFFFu);
    EXPECT_EQ(PixelAt(img, 40, 15), PixelAt(before, 40, 15));
}

TEST(RsRulerNumbers, FormatWithUpToTwoDecimals)
{
    EXPECT_EQ(FormatRulerNumber(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(FormatRulerNumber(3.0), QStringLiteral("3"));
    EXPECT_EQ(FormatRulerNumber(1.234), QStringLiteral("1.23"));
    EXPECT_EQ(FormatRulerNumber(1.006), QStringLiteral("1.01"));
    EXPECT_EQ(FormatRulerNumber(1000), QStringLiteral("1000"));
    EXPECT_EQ(FormatRulerNumber(-0.001), QStringLiteral("0"));
    EXPECT_EQ(FormatRulerNumber(-40), QStringLiteral("-40"));
}

TEST(RsRulerNumbers, ZoomsAndOffsetsBeyondTheIntegerRange)
{
    // A pixel ruler at a zoom of 10^9 (beyond the table: a new ruler's
    // factor 1): 10^9 * 5 / 100 = 5 * 10^7 pixels a step.
    TRsRuler huge;
    huge.setUnits(TRulerUnit::ruPixel);
    huge.setScale(1000000000);
    Render(&huge);
    EXPECT_DOUBLE_EQ(huge.Step(), 5e7);

    // The number at x 50 is 10 + Offset. Offset 3 * 10^9 reads 3000000010;
    // so does Offset -3000000020 (10 - 3000000020) with the sign hidden. The
    // ruler is 80 wide, so that this number is the only one.
    auto up = Ruler2();
    up->resize(80, 22);
    up->setShowMinus(true);
    up->setOffset(3e9);
    auto down = Ruler2();
    down->resize(80, 22);
    down->setOffset(-3000000020.0);
    const QImage a = Render(up.get());
    EXPECT_GT(CountColor(a, 0, 0, 80, 14, clWhite), 0);
    EXPECT_TRUE(a == Render(down.get())) << "both rulers must read 3000000010";
}

TEST(RsRulerHairLine, ASettingChangedBeforeTheLineMovesIsNotLost)
{
    // A change that only schedules a repaint (the colour, the font, the
    // size), followed by a hair line move before that repaint ran: the
    // ruler shows the new setting, and the full repaint clears the line.
    TRsRuler r; // 200 x 33, centimetres, raised edge
    r.setColor(clSilver);
    r.setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    r.setHairLine(true);
    Render(&r);
    r.setColor(clBlue);
    r.setHairLinePos(100);
    const QImage img = Render(&r);
    EXPECT_EQ(PixelAt(img, 50, 5), clBlue); // above the band: the ruler's colour
    EXPECT_EQ(r.HairLinePos(), -1);

    // Once painted afresh, a move is drawn by inversion again.
    r.setHairLinePos(100);
    EXPECT_EQ(PixelAt(Render(&r), 99, 15), PixelAt(img, 99, 15) ^ 0xFFFFFFu);
}
