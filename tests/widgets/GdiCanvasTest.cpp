// The GDI drawing rules our controls are written in, checked pixel by pixel
// against pictures worked out by hand.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "widgets/GdiCanvas.h"

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
