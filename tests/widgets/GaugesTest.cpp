// The text gauge: range rules and their errors, the repaint rule of
// Progress, and the XOR composition of the five kinds.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/Errors.h"
#include "toolkit/Fonts.h"
#include "toolkit/Form.h"
#include "widgets/Gauges.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

// The percentage box of a drive row (38 x 16) or of the totals (38 x 19).
std::unique_ptr<TGauge> PercentBox(int height, TColor back)
{
    auto g = std::make_unique<TGauge>();
    g->resize(38, height);
    g->setKind(TGaugeKind::gkText);
    g->setColor(clBlack);
    g->setForeColor(clYellow);
    g->setFont(DesignFont("MS Sans Serif", -11, true));
    g->setBackColor(back);
    return g;
}

bool HaveBitmapSansSerif()
{
    return QFontInfo(DesignFont("MS Sans Serif", -11, true)).family() == "MS Sans Serif";
}

// Columns and rows (inclusive) of the pixels inside the frame that differ
// from `back`.
QRect InkBox(const QImage& img, TColor back)
{
    QRect box;
    for (int y = 1; y < img.height() - 1; ++y)
        for (int x = 1; x < img.width() - 1; ++x)
            if (PixelAt(img, x, y) != back)
                box |= QRect(x, y, 1, 1);
    return box;
}

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EInvalidOperation& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(TGauge, CreationValues)
{
    TGauge g;
    EXPECT_EQ(g.size(), QSize(100, 100));
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 0);
    EXPECT_EQ(g.Kind(), TGaugeKind::gkHorizontalBar);
    EXPECT_TRUE(g.ShowText());
    EXPECT_EQ(g.BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(g.ForeColor(), clBlack);
    EXPECT_EQ(g.BackColor(), clWhite);
}

TEST(TGauge, ProgressIsClampedAndSharesAreTruncated)
{
    TGauge g;
    g.setProgress(150);
    EXPECT_EQ(g.Progress(), 100);
    g.setProgress(-5);
    EXPECT_EQ(g.Progress(), 0);
    g.setMaxValue(3);
    g.setProgress(2);
    EXPECT_EQ(g.FilledPercent(), 66); // 66.7 truncated
    g.setMinValue(3);
    EXPECT_EQ(g.Progress(), 3); // raised to the new minimum
    EXPECT_EQ(g.FilledPercent(), 0); // MinValue = MaxValue: an empty range
    // The full 32-bit range does not overflow.
    g.setMinValue(-2147483647 - 1);
    g.setMaxValue(2147483647);
    g.setProgress(0);
    EXPECT_EQ(g.FilledPercent(), 50);
    EXPECT_EQ(TGauge::PercentOf(50, 37), 18); // 18.5 truncated
    EXPECT_EQ(TGauge::ShareInPercent(-1, 3), -33);
}

TEST(TGauge, RangeErrorsCarryTheirMessagesExceptWhileLoading)
{
    TGauge g;
    EXPECT_EQ(ErrorOf([&] { g.setMaxValue(-5); }), "Value must be between 1 and 2147483647");
    EXPECT_EQ(ErrorOf([&] { g.setMinValue(200); }), "Value must be between -2147483647 and 99");
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(ErrorOf([&] { g.setMinValue(100); }), "no error"); // equal is allowed
    EXPECT_EQ(ErrorOf([&] { g.setMaxValue(100); }), "no error");

    TForm form; // a new form is being loaded
    auto* loading = new TGauge(&form);
    EXPECT_EQ(ErrorOf([&] { loading->setMaxValue(-5); }), "no error");
    EXPECT_EQ(loading->MaxValue(), -5);
    EXPECT_EQ(loading->Progress(), -5);
    form.EndLoading();
    EXPECT_EQ(ErrorOf([&] { loading->setMinValue(10); }), "Value must be between -2147483647 and -6");
}

TEST(TGauge, ProgressRepaintsOnlyWhenThePercentageChanges)
{
    TGauge g;
    g.resize(38, 16);
    g.setMaxValue(1000);
    kestrix::test::PaintCounter paints(&g);
    kestrix::test::ShowSettled(&g);
    paints.count = 0;
    g.setProgress(5); // 0.5 % -> still 0
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 0);
    g.setProgress(10); // 1 %
    EXPECT_EQ(paints.count, 1); // drawn at once
    g.setProgress(19); // 1.9 % -> 1
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(g.Progress(), 19);
    paints.count = 0;
    g.setBackColor(clWhite); // unchanged
    g.setKind(TGaugeKind::gkHorizontalBar);
    EXPECT_EQ(paints.count, 0);
    g.setForeColor(clRed);
    EXPECT_EQ(paints.count, 1);
}

TEST(TGauge, PercentBoxShowsInverseTextOnWhiteAndOnBlack)
{
    if (!HaveBitmapSansSerif())
        GTEST_SKIP() << "fonts-wine is not installed";
    // Measured with the bitmap "MS Sans Serif" (13-pixel strike for a request
    // of 11 pixels): cell height 13, ascent 11; advances of '0'..'9' 6 and
    // of '%' 8; made bold by overstriking, one pixel wider per character, so
    // "100%" is 30 wide and "0%" 16. Digits ink the rows ascent - 9 ..
    // ascent - 1 of the cell and start one pixel right of their origin.
    // 38 x 16: R = (1, 1, 37, 15); X = (37 - 30) div 2 = 3, Y = (15 - 13) div 2
    // = 1: ink in columns 4..32 and rows 3..11.
    auto white = PercentBox(16, clWhite);
    white->setProgress(100);
    const QImage w = Render(white.get());
    EXPECT_EQ(CountColor(w, 0, 0, 38, 1, clBlack), 38); // the frame
    EXPECT_EQ(CountColor(w, 0, 15, 38, 16, clBlack), 38);
    EXPECT_EQ(PixelAt(w, 0, 8), clBlack);
    EXPECT_EQ(PixelAt(w, 37, 8), clBlack);
    EXPECT_EQ(InkBox(w, clWhite), QRect(QPoint(4, 3), QPoint(32, 11)));
    const int ink = CountColor(w, 1, 1, 37, 15, clBlack);
    EXPECT_EQ(ink + CountColor(w, 1, 1, 37, 15, clWhite), 36 * 14); // black on white only

    // Back colour black: the same pixels, white on black.
    auto black = PercentBox(16, clBlack);
    black->setProgress(100);
    const QImage b = Render(black.get());
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 37; ++x)
            EXPECT_EQ(PixelAt(b, x, y), PixelAt(w, x, y) == clBlack ? clWhite : clBlack) << x << "," << y;

    // "0%" in the totals box: 38 x 19, X = (37 - 16) div 2 = 10, Y = (18 - 13) div 2 = 2.
    auto totals = PercentBox(19, clWhite);
    totals->setMaxValue(0);
    const QImage t = Render(totals.get());
    EXPECT_EQ(InkBox(t, clWhite), QRect(QPoint(11, 4), QPoint(25, 12)));
}

TEST(TGauge, PercentBoxTextInvertsTheSchemeColour)
{
    if (!HaveBitmapSansSerif())
        GTEST_SKIP() << "fonts-wine is not installed";
    auto g = PercentBox(16, 0xF8C6A5);
    g->setProgress(45);
    const QImage img = Render(g.get());
    const int ink = CountColor(img, 1, 1, 37, 15, 0x07395A); // the inverse of 0xF8C6A5
    EXPECT_GT(ink, 20);
    EXPECT_EQ(ink + CountColor(img, 1, 1, 37, 15, 0xF8C6A5), 36 * 14);
    EXPECT_EQ(CountColor(img, 0, 0, 38, 16, clYellow), 0); // the fore colour plays no part
}

TEST(TGauge, BarsFillToTheSizeItself)
{
    TGauge g; // 100 x 100, framed: R = (1, 1, 99, 99), W = H = 99
    g.setShowText(false);
    g.setForeColor(clNavy);
    g.setProgress(100);
    QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 98, 98), clNavy); // up to the inner right edge
    EXPECT_EQ(PixelAt(img, 99, 50), clBlack); // frame
    g.setProgress(30); // F = trunc(99 * 0.3) = 29: columns 1..28
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 28, 50), clNavy);
    EXPECT_EQ(PixelAt(img, 29, 50), clWhite);
    g.setProgress(0);
    img = Render(&g);
    EXPECT_EQ(CountColor(img, 1, 1, 99, 99, clWhite), 98 * 98);

    g.setKind(TGaugeKind::gkVerticalBar);
    g.setProgress(30); // from (1, 99 - 29) to (99, 99): rows 70..98
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 50, 70), clNavy);
    EXPECT_EQ(PixelAt(img, 50, 69), clWhite);
    g.setProgress(100); // F = 99 >= H becomes 98: rows 1..98
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 50, 1), clNavy);
    EXPECT_EQ(PixelAt(img, 50, 0), clBlack);
}

TEST(TGauge, PieAndNeedle)
{
    TGauge g;
    g.setShowText(false);
    g.setKind(TGaugeKind::gkPie);
    g.setColor(clSilver);
    g.setForeColor(clNavy);
    g.setProgress(25); // from the right point (98, 49) counterclockwise to the top (49, 0)
    QImage img = Render(&g);
    EXPECT_EQ(PixelAt(img, 2, 2), clSilver); // outside the ellipse
    EXPECT_EQ(PixelAt(img, 0, 0), clBlack);  // frame
    EXPECT_EQ(PixelAt(img, 75, 25), clNavy);
    EXPECT_EQ(PixelAt(img, 25, 25), clWhite);
    EXPECT_EQ(PixelAt(img, 75, 75), clWhite);

    g.setKind(TGaugeKind::gkNeedle);
    g.setProgress(50); // a line from (50, 97) straight up to (50, 0), end left out
    img = Render(&g);
    EXPECT_EQ(PixelAt(img, 50, 50), clNavy);
    EXPECT_EQ(PixelAt(img, 50, 1), clNavy);
    EXPECT_EQ(PixelAt(img, 30, 60), clWhite); // inside the half disc
    EXPECT_EQ(PixelAt(img, 50, 99), clNavy);  // the base line lies on the frame row
    EXPECT_EQ(PixelAt(img, 0, 99), clBlack);
}

// Inside a redraw batch the "at once" of the setters becomes one scheduled
// paint; batches nest, and once the last one ends setters draw at once again.
TEST(TGauge, RedrawBatchDefersAndCoalescesTheImmediateRedraws)
{
    TGauge g;
    g.resize(38, 16);
    kestrix::test::PaintCounter paints(&g);
    kestrix::test::ShowSettled(&g);
    paints.count = 0;
    {
        const TRedrawBatch outer;
        g.setProgress(10);
        g.setForeColor(clRed);
        {
            const TRedrawBatch inner;
            g.setProgress(20);
        }
        g.setProgress(30); // still inside the outer batch
        EXPECT_EQ(paints.count, 0);
    }
    EXPECT_FALSE(TRedrawBatch::Active());
    EXPECT_EQ(paints.count, 0); // scheduled, not drawn, when the batch ends
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 1); // four redraws, one paint
    EXPECT_EQ(g.Progress(), 30);
    g.setProgress(40);
    EXPECT_EQ(paints.count, 2); // outside a batch: drawn before the setter returns
}
