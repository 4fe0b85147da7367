// Effect labels and panels, the URL label, the hover check box and the
// status bar that holds controls, checked against pictures and states worked
// out by hand.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <utility>

#include "support/TestSupport.h"
#include "toolkit/Fonts.h"
#include "widgets/HyperCheckBox.h"
#include "widgets/ProCtrls.h"
#include "widgets/ProStBar.h"
#include "widgets/ProUrl.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;
constexpr auto Enter = [](QWidget* w) { kestrix::test::SendEnter(w); };
constexpr auto Leave = kestrix::test::SendLeave;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of colour c.
PixelSet Ink(const QImage& img, TColor c)
{
    PixelSet s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (PixelAt(img, x, y) == c)
                s.insert({x, y});
    return s;
}

std::unique_ptr<TProLabel> MakeLabel()
{
    auto l = std::make_unique<TProLabel>();
    l->setLabelFont(DesignFont(QStringLiteral("MS Sans Serif"), -11, true));
    l->setAutoSize(false);
    l->setGeometry(0, 0, 60, 24);
    l->setParentColor(false);
    l->setColor(clSilver);
    l->setFontColor(clBlack);
    l->setCaption(QStringLiteral("Kx"));
    return l;
}

} // namespace

TEST(ProLabelProperties, AngleIsStoredAsZeroTo359)
{
    TProLabel l;
    l.setAngle(720);
    EXPECT_EQ(l.Angle(), 0);
    EXPECT_TRUE(l.AutoSize()); // 0 keeps auto-size
    l.setAngle(-90);
    EXPECT_EQ(l.Angle(), 270);
    EXPECT_FALSE(l.AutoSize()); // a positive angle turns it off
    l.setAngle(-450);
    EXPECT_EQ(l.Angle(), 270);
    l.setAngle(359 + 360);
    EXPECT_EQ(l.Angle(), 359);
}

TEST(ProLabelProperties, PresetsAndSingleSettersTurnTheStyleCustom)
{
    TProLabel l;
    l.setShadowStyle(TShadowStyle::ssRaisedThickShadow);
    EXPECT_EQ(l.HighlightDirection(), TDirection::drUpLeft);
    EXPECT_EQ(l.HighlightDepth(), 1);
    EXPECT_EQ(l.ShadowDirection(), TDirection::drDownRight);
    EXPECT_EQ(l.ShadowDepth(), 1);
    EXPECT_EQ(l.ShadowSize(), 4);
    EXPECT_EQ(l.ShadowStyle(), TShadowStyle::ssRaisedThickShadow);

    l.setShadowColor(clRed);
    l.setShadowStyle(TShadowStyle::ssRaised);
    EXPECT_EQ(l.ShadowColor(), clBtnShadow); // every preset resets both colours
    EXPECT_EQ(l.HighlightColor(), clBtnHighlight);
    EXPECT_EQ(l.ShadowDirection(), TDirection::drNone);
    EXPECT_EQ(l.ShadowSize(), 0);

    l.setShadowDepth(3);
    EXPECT_EQ(l.ShadowStyle(), TShadowStyle::ssCustom);
    EXPECT_EQ(l.ShadowDepth(), 3);
    EXPECT_EQ(l.HighlightDirection(), TDirection::drUpLeft);
    EXPECT_EQ(l.HighlightDepth(), 1);

    l.setFontColor(clBlack);
    l.setShadowStyle(TShadowStyle::ssRecessedColor);
    EXPECT_EQ(l.FontColor(), clBtnFace);
    EXPECT_EQ(l.HighlightDirection(), TDirection::drDownRight);
    EXPECT_EQ(l.ShadowDirection(), TDirection::drUpLeft);
}

TEST(ProLabelPaint, ThickShadowIsFourCopiesOnePixelApartDownRight)
{
    auto plain = MakeLabel();
    const PixelSet text = Ink(Render(plain.get()), clBlack);
    ASSERT_GT(text.size(), 20u);

    auto shadowed = MakeLabel();
    shadowed->setShadowStyle(TShadowStyle::ssThickShadow);
    const QImage img = Render(shadowed.get());
    // Text on top; below it the shadow copies at (1,1) .. (4,4), the
    // highlight (depth 0) hidden under the text, silver elsewhere.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            TColor expected = clSilver;
            if (text.count({x, y}))
                expected = clBlack;
            else
                for (int k = 1; k <= 4; ++k)
                    if (text.count({x - k, y - k}))
                        expected = 0x808080;
            ASSERT_EQ(PixelAt(img, x, y), expected) << "at " << x << "," << y;
        }
}

TEST(ProLabelPaint, DisabledLabelIsEngravedWhateverItsShadow)
{
    auto plain = MakeLabel();
    const PixelSet text = Ink(Render(plain.get()), clBlack);

    auto l = MakeLabel();
    l->setShadowStyle(TShadowStyle::ssRaisedThickShadow);
    l->setEnabled(false);
    const QImage img = Render(l.get());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            TColor expected = clSilver;
            if (text.count({x, y}))
                expected = 0x808080; // clBtnShadow on top
            else if (text.count({x - 1, y - 1}))
                expected = clWhite; // clBtnHighlight one pixel down-right
            ASSERT_EQ(PixelAt(img, x, y), expected) << "at " << x << "," << y;
        }
}

TEST(ProLabelPaint, OffsetsAndVerticalAlignmentMoveTheText)
{
    auto top = MakeLabel();
    const PixelSet at = Ink(Render(top.get()), clBlack);
    auto moved = MakeLabel();
    moved->setOffsetX(3);
    moved->setOffsetY(2);
    PixelSet shifted;
    for (auto [x, y] : at)
        shifted.insert({x + 3, y + 2});
    EXPECT_EQ(Ink(Render(moved.get()), clBlack), shifted);

    // Centred in 24 rows: a 13-row line moves down by (24 - 13) div 2 = 5.
    auto centred = MakeLabel();
    centred->setVerticalAlignment(TVerticalAlignment::vaCenter);
    EXPECT_EQ(centred->Layout(), TTextLayout::tlCenter);
    PixelSet down;
    for (auto [x, y] : at)
        down.insert({x, y + 5});
    EXPECT_EQ(Ink(Render(centred.get()), clBlack), down);
}

TEST(ProLabelPaint, RotatedTextStandsUpright)
{
    auto l = MakeLabel();
    l->setGeometry(0, 0, 30, 60);
    l->setCaption(QStringLiteral("Kestrix"));
    l->setAngle(90);
    const PixelSet ink = Ink(Render(l.get()), clBlack);
    ASSERT_FALSE(ink.empty());
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (auto [x, y] : ink) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    // Reading upward: the text runs along y, its cell height along x.
    EXPECT_GT(maxY - minY, 2 * (maxX - minX));
    EXPECT_LE(maxX - minX, 13);
}

TEST(ProPanelPaint, OnlyTheTopSideCarriesTheLoweredBevel)
{
    TProPanel p;
    p.setGeometry(0, 0, 20, 10);
    p.setColor(clLime);
    p.setBevelOuter(TPanelBevel::bvLowered);
    p.setBevelInner(TPanelBevel::bvNone);
    p.setBevelSides(int(TSide::sdTop));
    const QImage img = Render(&p);
    EXPECT_EQ(CountColor(img, 0, 0, 20, 1, 0x808080), 20);
    EXPECT_EQ(CountColor(img, 0, 1, 20, 10, clLime), 20 * 9);
}

TEST(ProPanelPaint, Ctl3DBevelBorderAndInnerBevel)
{
    TProPanel p;
    p.setGeometry(0, 0, 20, 12);
    p.setColor(clLime);
    p.setBevelOuter(TPanelBevel::bvLowered);
    p.setBevelCtl3D(true);
    EXPECT_EQ(p.BevelWidth(), 2);
    p.setBorderWidth(1);
    p.setBorderColor(clRed);
    p.setBevelInner(TPanelBevel::bvRaised);
    const QImage img = Render(&p);
    // Outer pair: shadow / highlight; inner pair: button text / 3-D light.
    EXPECT_EQ(PixelAt(img, 0, 5), 0x808080u);
    EXPECT_EQ(PixelAt(img, 5, 0), 0x808080u);
    EXPECT_EQ(PixelAt(img, 19, 5), clWhite);
    EXPECT_EQ(PixelAt(img, 5, 11), clWhite);
    EXPECT_EQ(PixelAt(img, 1, 5), clBlack);
    EXPECT_EQ(PixelAt(img, 18, 5), 0xC0C0C0u); // the classic 3-D light
    // Border line in BorderColor, then the raised inner pair: highlight /
    // button text, 3-D light / shadow.
    EXPECT_EQ(PixelAt(img, 2, 5), clRed);
    EXPECT_EQ(PixelAt(img, 17, 5), clRed);
    EXPECT_EQ(PixelAt(img, 3, 5), clWhite);
    EXPECT_EQ(PixelAt(img, 16, 5), clBlack);
    EXPECT_EQ(PixelAt(img, 4, 5), 0xC0C0C0u);
    EXPECT_EQ(PixelAt(img, 15, 5), 0x808080u);
    EXPECT_EQ(PixelAt(img, 5, 5), clLime);
    p.setBevelCtl3D(false);
    EXPECT_EQ(p.BevelWidth(), 1);
}

TEST(ProUrlLabel, ReleaseOutsideOpensNothingAndRestoresTheStateColour)
{
    TProUrlLabel l;
    l.setCaption(QStringLiteral("https://example.invalid/kestrix"));
    QStringList opened;
    l.Opener = [&](const QString& t) {
        opened << t;
        return true;
    };
    EXPECT_EQ(l.FontColor(), 0xFF0000u);
    EXPECT_TRUE(l.font().underline());
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(l.FontColor(), 255u);
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(-5, 3));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(l.FontColor(), 0xFF0000u);
    EXPECT_FALSE(l.Visited());
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(2, l.height() + 1));
    EXPECT_TRUE(opened.isEmpty());
}

TEST(ProUrlLabel, OnlyAReleaseBeyondTheWidthOrHeightIsOutside)
{
    // Outside means x or y negative, x beyond the width or y beyond the
    // height: the column x = width and the row y = height still count.
    TProUrlLabel l;
    l.setCaption(QStringLiteral("link"));
    l.setAutoSize(false);
    l.resize(60, 16);
    QStringList opened;
    l.Opener = [&](const QString& t) {
        opened << t;
        return true;
    };
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(61, 16));
    EXPECT_TRUE(opened.isEmpty());
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(60, 17));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(l.Visited());
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(60, 16));
    EXPECT_EQ(opened, QStringList{QStringLiteral("link")});
    EXPECT_TRUE(l.Visited());
    EXPECT_EQ(l.FontColor(), 0x800000u);
}

TEST(ProUrlLabel, CompleteClickOpensTheLinkAndTurnsVisited)
{
    TProUrlLabel l;
    l.setCaption(QStringLiteral("Tolvane"));
    QStringList opened;
    l.Opener = [&](const QString& t) {
        opened << t;
        return true;
    };
    QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(opened, QStringList{QStringLiteral("Tolvane")}); // no URL: the caption
    EXPECT_TRUE(l.Visited());
    EXPECT_EQ(l.FontColor(), 0x800000u);

    // Visited: a new visited colour shows at once, an unvisited one is stored.
    l.setVisitedColor(clLime);
    EXPECT_EQ(l.FontColor(), clLime);
    l.setUnvisitedColor(clRed);
    EXPECT_EQ(l.FontColor(), clLime);
    EXPECT_EQ(l.UnvisitedColor(), clRed);

    l.setURL(QStringLiteral("mailto:someone@example.invalid"));
    QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(opened.last(), QStringLiteral("mailto:someone@example.invalid"));

    // The default opener is the one the program wires in.
    QStringList viaDefault;
    SetDefaultUrlOpener([&](const QString& t) {
        viaDefault << t;
        return true;
    });
    TProUrlLabel plain;
    plain.setCaption(QStringLiteral("x"));
    QTest::mouseClick(&plain, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(viaDefault, QStringList{QStringLiteral("x")});
    SetDefaultUrlOpener(nullptr);
}

TEST(ProUrlLabel, HoverColoursAndUnderline)
{
    TProUrlLabel l;
    l.setCaption(QStringLiteral("link"));
    l.setCanHover(true);
    EXPECT_FALSE(l.font().underline());
    Enter(&l);
    EXPECT_TRUE(l.font().underline());
    EXPECT_EQ(l.FontColor(), 0xFFFFFFu);
    Leave(&l);
    EXPECT_FALSE(l.font().underline());
    EXPECT_EQ(l.FontColor(), 0xFF0000u);
    l.setCanHover(false);
    EXPECT_TRUE(l.font().underline());
    Enter(&l); // without hover effects the colour stays
    EXPECT_EQ(l.FontColor(), 0xFF0000u);
}

TEST(ProUrlCursors, FiveHandCursorsAreRegistered)
{
    for (int id = crProHandPoint; id <= crProDragHand; ++id) {
        const QCursor c = ProCursor(id);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor) << id;
        EXPECT_EQ(c.pixmap().size(), QSize(32, 32)) << id;
    }
    EXPECT_EQ(ProCursor(14999).shape(), Qt::ArrowCursor);
    TProUrlLabel l;
    EXPECT_EQ(l.cursor().shape(), Qt::BitmapCursor);
}

TEST(HyperCheckBox, CaptionTurnsRedWhileHoveredAndBlackAfter)
{
    THyperCheckBox box;
    box.setGeometry(0, 0, 60, 17);
    box.setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    box.setCaption(QStringLiteral("C:"));
    box.setColorEnter(clRed);
    box.setColorLeave(clBlack); // shown at once
    EXPECT_EQ(box.FontColor(), clBlack);
    EXPECT_EQ(box.cursor().shape(), Qt::BitmapCursor);
    Enter(&box);
    EXPECT_EQ(box.FontColor(), clRed);
    QImage img = Render(&box);
    EXPECT_GT(CountColor(img, 17, 0, 60, 17, clRed), 10);
    EXPECT_EQ(CountColor(img, 17, 0, 60, 17, clBlack), 0);
    Leave(&box);
    EXPECT_EQ(box.FontColor(), clBlack);
    img = Render(&box);
    EXPECT_EQ(CountColor(img, 17, 0, 60, 17, clRed), 0);
    EXPECT_GT(CountColor(img, 17, 0, 60, 17, clBlack), 10);
}

TEST(StatusBar, PanelTextWithoutBevelAndChildControls)
{
    TProStatusBar bar;
    bar.setGeometry(0, 0, 686, 19);
    bar.setColor(clSilver);
    bar.setSizeGrip(false);
    bar.setFont(DesignFont(QStringLiteral("Tahoma"), -11));
    TStatusPanel* p0 = bar.Panels().Add();
    p0->setWidth(4);
    p0->setBevel(TStatusPanelBevel::pbNone);
    TStatusPanel* p1 = bar.Panels().Add();
    p1->setWidth(500);
    p1->setBevel(TStatusPanelBevel::pbNone);
    EXPECT_EQ(bar.Panels().Count(), 2);
    EXPECT_EQ(bar.Panels().Items(2), nullptr);
    EXPECT_TRUE(bar.AcceptsControls());
    EXPECT_FALSE(TStatusBar().AcceptsControls());

    QImage img = Render(&bar);
    EXPECT_EQ(CountColor(img, 0, 0, 686, 19, clSilver), 686 * 19);

    p1->setText(QStringLiteral("Drive details"));
    img = Render(&bar);
    // Panel 1 spans x 4 .. 502 (its width less the 2-pixel gap), rows 2 .. 19.
    EXPECT_EQ(bar.PanelRect(1), QRect(4, 2, 498, 17));
    EXPECT_GT(CountColor(img, 7, 2, 502, 19, clBlack), 20);
    EXPECT_EQ(CountColor(img, 0, 0, 686, 2, clSilver), 686 * 2);
    EXPECT_EQ(CountColor(img, 502, 0, 686, 19, clSilver), 184 * 19);

    // A lowered bevel frames the panel.
    p1->setBevel(TStatusPanelBevel::pbLowered);
    img = Render(&bar);
    EXPECT_EQ(PixelAt(img, 4, 2), 0x808080u);
    EXPECT_EQ(PixelAt(img, 501, 18), clWhite);

    // The simple panel replaces the panels.
    bar.setSimplePanel(true);
    bar.setSimpleText(QString());
    EXPECT_EQ(CountColor(Render(&bar), 0, 0, 686, 19, clSilver), 686 * 19);
}
