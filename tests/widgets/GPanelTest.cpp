// The gradient panel: bands, band sizes and band colours worked out by hand
// from the panel's arithmetic.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "widgets/GPanel.h"

using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

void Plain(TGPanel& p, int w, int h)
{
    p.resize(w, h);
    p.setBevelOuter(TPanelBevel::bvNone);
    p.setColor(clGray);
}

} // namespace

TEST(TGPanel, CreationValues)
{
    TGPanel p;
    EXPECT_TRUE(p.Active());
    EXPECT_EQ(p.Color_1(), clBtnFace);
    EXPECT_EQ(p.Color_2(), clWhite);
    EXPECT_EQ(p.Color_3(), clAqua);
    EXPECT_TRUE(p.Horizontal());
    EXPECT_EQ(p.Percent(), 100);
}

TEST(TGPanel, DriveRowBandsAreOneRowEach)
{
    // 686 x 20, vertical, 75 %: segment 1 is rows 0..14 from 0x414141 to
    // 0x202220 (D = 3300 >= 1500, so s = 1, n = 15); per band red and blue
    // move by -3300 div 15 = -220, green by -3100 div 15 = -206 (hundredths).
    // Segment 2 is rows 15..19 to black: red and blue -3200 div 5 = -640,
    // green -3400 div 5 = -680.
    TGPanel p;
    Plain(p, 686, 20);
    p.setColor_1(4276545);
    p.setColor_2(2105888);
    p.setColor_3(clBlack);
    p.setHorizontal(false);
    p.setPercent(75);
    const QImage img = Render(&p);
    const std::pair<int, TColor> rows[] = {
        {0, 0x414141},  // 65, 65, 65
        {1, 0x3F3F3F},  // 65 - 2 (2.2), 65 - 2 (2.06)
        {7, 0x323332},  // 65 - 15 (15.4) = 50, 65 - 14 (14.42) = 51
        {14, 0x232523}, // 65 - 30 (30.8) = 35, 65 - 28 (28.84) = 37
        {15, 0x202220}, // segment 2, band 0
        {16, 0x1A1C1A}, // 32 - 6 (6.4) = 26, 34 - 6 (6.8) = 28
        {19, 0x070707}, // 32 - 25 (25.6) = 7, 34 - 27 (27.2) = 7
    };
    for (auto [y, c] : rows) {
        EXPECT_EQ(PixelAt(img, 0, y), c) << "row " << y;
        EXPECT_EQ(PixelAt(img, 685, y), c) << "row " << y;
        EXPECT_EQ(PixelAt(img, 343, y), c) << "row " << y;
    }
}

TEST(TGPanel, BlackToWhiteOver200PixelsEndsAt252)
{
    // D = 25500 is not below 20000: s = 1, n = 200, band i is
    // (127 * i) div 100 on every channel; band 200 is empty.
    TGPanel p;
    Plain(p, 200, 6);
    p.setColor_1(clBlack);
    p.setColor_2(clWhite);
    const QImage img = Render(&p);
    EXPECT_EQ(PixelAt(img, 0, 3), TColor(0x000000));
    EXPECT_EQ(PixelAt(img, 1, 3), TColor(0x010101));
    EXPECT_EQ(PixelAt(img, 100, 3), TColor(0x7F7F7F));
    EXPECT_EQ(PixelAt(img, 198, 3), TColor(0xFBFBFB)); // 25146 div 100 = 251
    EXPECT_EQ(PixelAt(img, 199, 5), TColor(0xFCFCFC)); // 25273 div 100 = 252, not 255
}

TEST(TGPanel, LongPanelUsesWideBandsAndALastShortOne)
{
    // 600 pixels from 0x414141 to 0x202220: D = 3300 < 60000, so
    // s = ((33 + 599) * 100) div 3300 = 19, n = 31: bands 0..30 of 19 pixels
    // and band 31 of 11 (columns 589..599). Per band red and blue move by
    // -3300 div 31 = -106, green by -3100 div 31 = -100 (hundredths).
    TGPanel p;
    Plain(p, 600, 4);
    p.setColor_1(4276545);
    p.setColor_2(2105888);
    const QImage img = Render(&p);
    EXPECT_EQ(PixelAt(img, 18, 0), TColor(0x414141));
    EXPECT_EQ(PixelAt(img, 19, 0), TColor(0x404040)); // 65 - 1 (1.06), 65 - 1
    EXPECT_EQ(PixelAt(img, 37, 0), TColor(0x404040));
    EXPECT_EQ(PixelAt(img, 38, 0), TColor(0x3F3F3F)); // 65 - 2 (2.12), 65 - 2
    EXPECT_EQ(PixelAt(img, 588, 0), TColor(0x222322)); // band 30: 65 - 31 (31.8) = 34, 65 - 30 = 35
    EXPECT_EQ(PixelAt(img, 589, 0), TColor(0x212221)); // band 31: 65 - 32 (32.86) = 33, 65 - 31 = 34
    EXPECT_EQ(PixelAt(img, 599, 3), TColor(0x212221));
}

TEST(TGPanel, PercentIsClampedAndSplitsTheLength)
{
    TGPanel p;
    p.setPercent(0);
    EXPECT_EQ(p.Percent(), 1);
    p.setPercent(-5);
    EXPECT_EQ(p.Percent(), 1);
    p.setPercent(150);
    EXPECT_EQ(p.Percent(), 100);

    // Horizontal, 10 % of 50 = 5 columns for segment 1 (white to black,
    // s = 1, n = 5: -25500 div 5 = -5100 per band), then black to red.
    Plain(p, 50, 3);
    p.setColor_1(clWhite);
    p.setColor_2(clBlack);
    p.setColor_3(clRed);
    p.setPercent(10);
    QImage img = Render(&p);
    EXPECT_EQ(PixelAt(img, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(img, 4, 0), TColor(0x333333)); // 255 - 204 = 51
    EXPECT_EQ(PixelAt(img, 5, 0), clBlack);          // segment 2 starts with Color_2
    // Segment 2: 45 columns, D = 25500: s = 1, n = 45, red + (25500 div 45 = 566) * i div 100.
    EXPECT_EQ(PixelAt(img, 49, 0), TColor(0x0000F9)); // i = 44: 24904 div 100 = 249

    // Vertical, 1 % of 20 rows is 0, which becomes 1: row 0 is segment 1
    // (red to white, s = 1, n = 1: band 0 red); rows 1 .. 19 are segment 2,
    // white to black over 19 rows (s = 1, n = 19, -25500 div 19 = -1342 per
    // band): row 2 is 255 - 13 = 242, row 19 is 255 - 241 = 14.
    Plain(p, 10, 20);
    p.setHorizontal(false);
    p.setColor_1(clRed);
    p.setColor_2(clWhite);
    p.setColor_3(clBlack);
    p.setPercent(1);
    img = Render(&p);
    EXPECT_EQ(PixelAt(img, 5, 0), clRed);
    EXPECT_EQ(PixelAt(img, 5, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 5, 2), TColor(0xF2F2F2));
    EXPECT_EQ(PixelAt(img, 5, 19), TColor(0x0E0E0E));
}

TEST(TGPanel, BevelsAreLeftOutOfTheGradient)
{
    // Raised outer and lowered inner bevel of width 2: b = 4; a vertical
    // gradient black to white over 30 - 8 = 22 rows (s = 1, n = 22, 25500
    // div 22 = 1159 per band).
    TGPanel p;
    p.resize(20, 30);
    p.setColor(clNavy);
    p.setBevelOuter(TPanelBevel::bvRaised);
    p.setBevelInner(TPanelBevel::bvLowered);
    p.setBevelWidth(2);
    p.setHorizontal(false);
    p.setColor_1(clBlack);
    p.setColor_2(clWhite);
    QImage img = Render(&p);
    EXPECT_EQ(PixelAt(img, 0, 0), clWhite);   // outer raised bevel
    EXPECT_EQ(PixelAt(img, 3, 3), clGray);    // inner lowered bevel, top side (button shadow)
    EXPECT_EQ(PixelAt(img, 4, 4), clBlack);   // gradient band 0
    EXPECT_EQ(PixelAt(img, 15, 25), TColor(0xF3F3F3)); // band 21: 24339 div 100 = 243
    EXPECT_EQ(PixelAt(img, 16, 25), clWhite); // inner bevel, right side (button highlight)

    // A space bevel counts nothing.
    p.setBevelOuter(TPanelBevel::bvSpace);
    p.setBevelInner(TPanelBevel::bvNone);
    img = Render(&p);
    EXPECT_EQ(PixelAt(img, 0, 0), clBlack);
    EXPECT_EQ(PixelAt(img, 19, 29), TColor(0xF6F6F6)); // 30 rows: 850 per band, band 29: 246
}

TEST(TGPanel, SkippedSegmentsAndInactivePanelKeepThePlainPanel)
{
    TGPanel p;
    Plain(p, 40, 10);
    p.setColor_1(clLime);
    p.setColor_2(clLime); // same as stored: nothing painted
    QImage img = Render(&p);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 40, 10, clGray), 400);

    // Different as stored, alike once resolved (button face is silver): D = 0.
    p.setColor_1(clBtnFace);
    p.setColor_2(clSilver);
    img = Render(&p);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 40, 10, clGray), 400);

    // Only segment 1 skipped: segment 2 (Color_2 to Color_3) is drawn.
    p.setColor_1(clSilver);
    p.setColor_3(clBlack);
    p.setPercent(50);
    img = Render(&p);
    EXPECT_EQ(PixelAt(img, 19, 5), clGray);
    EXPECT_EQ(PixelAt(img, 20, 5), clSilver);

    // Active False: the standard panel's picture.
    p.setActive(false);
    TPanel plain;
    plain.resize(40, 10);
    plain.setBevelOuter(TPanelBevel::bvNone);
    plain.setColor(clGray);
    EXPECT_EQ(Render(&p), Render(&plain));
}

TEST(TGPanel, PanelNarrowerThanItsBevelsPaintsNoGradient)
{
    TGPanel p;
    p.resize(4, 10);
    p.setColor(clGray);
    p.setBevelOuter(TPanelBevel::bvRaised);
    p.setBevelWidth(3); // b = 3: the area is -2 wide
    p.setColor_1(clBlack);
    p.setPercent(40);
    const QImage img = Render(&p);
    EXPECT_EQ(kestrix::test::CountColor(img, 0, 0, 4, 10, clBlack), 0);
}

TEST(TGPanel, EverySetterSchedulesARepaintEvenWithTheSameValue)
{
    TGPanel p;
    p.resize(30, 10);
    kestrix::test::PaintCounter paints(&p);
    kestrix::test::ShowSettled(&p);
    for (auto set : std::initializer_list<std::function<void()>>{
             [&] { p.setColor_1(p.Color_1()); }, [&] { p.setColor_2(p.Color_2()); },
             [&] { p.setColor_3(p.Color_3()); }, [&] { p.setActive(true); }, [&] { p.setHorizontal(true); },
             [&] { p.setPercent(100); }}) {
        paints.count = 0;
        set();
        EXPECT_EQ(paints.count, 0); // scheduled, not drawn at once
        QApplication::processEvents();
        EXPECT_EQ(paints.count, 1);
    }
}
