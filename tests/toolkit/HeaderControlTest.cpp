// The header bar: flat sections with their dividers and centred captions.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "toolkit/Fonts.h"
#include "toolkit/HeaderControl.h"

using kestrix::test::CountColor;
using kestrix::test::PixelAt;
using kestrix::test::Render;

namespace {

struct Ink {
    int left = 1 << 30, right = -1;
};

// The columns that hold pixels of colour c in rows top..bottom-1.
Ink InkColumns(const QImage& img, int left, int right, TColor c)
{
    Ink ink;
    for (int x = left; x < right; ++x)
        for (int y = 0; y < img.height(); ++y)
            if (PixelAt(img, x, y) == c) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
    return ink;
}

} // namespace

TEST(HeaderControl, FlatSectionsHaveEtchedDividersAndCentredCaptions)
{
    THeaderControl h;
    h.resize(200, 18);
    h.setFont(DesignFont(QStringLiteral("MS Sans Serif"), -11));
    h.setFontColor(clMaroon);
    h.setStyle(THeaderStyle::hsFlat);
    h.AddSection(QStringLiteral("Drive"), 80, TAlignment::taCenter);
    h.AddSection(QStringLiteral("%"), 43, TAlignment::taCenter);
    EXPECT_EQ(h.SectionLeft(1), 80);

    const QImage img = Render(&h);
    // Section 0 ends at 80: shadow at 78, highlight at 79, the whole height,
    // in the classic system colours: button shadow 0x808080, button
    // highlight white, button face 0xC0C0C0.
    EXPECT_EQ(CountColor(img, 78, 0, 79, 18, 0x808080), 18);
    EXPECT_EQ(CountColor(img, 79, 0, 80, 18, 0xFFFFFF), 18);
    // Section 1 ends at 123; beyond the sections only the face remains.
    EXPECT_EQ(PixelAt(img, 121, 9), 0x808080u);
    EXPECT_EQ(PixelAt(img, 122, 9), 0xFFFFFFu);
    EXPECT_EQ(CountColor(img, 123, 0, 200, 18, 0xC0C0C0), 77 * 18);
    // Captions in maroon, each centred in its section (within a pixel).
    const Ink drive = InkColumns(img, 0, 78, clMaroon);
    ASSERT_GE(drive.right, drive.left);
    EXPECT_NEAR((drive.left + drive.right + 1) / 2.0, 78 / 2.0, 1.5);
    const Ink percent = InkColumns(img, 80, 121, clMaroon);
    ASSERT_GE(percent.right, percent.left);
    EXPECT_NEAR((percent.left + percent.right + 1) / 2.0, (80 + 121) / 2.0, 1.5);
}

TEST(HeaderControl, SectionTextChangesOnlyThatSection)
{
    THeaderControl h;
    h.AddSection(QStringLiteral("a"), 10);
    h.AddSection(QStringLiteral("b"), 20);
    h.setSectionText(1, QStringLiteral("c"));
    h.setSectionText(5, QStringLiteral("ignored"));
    h.setSectionText(-1, QStringLiteral("ignored"));
    EXPECT_EQ(h.Section(0).Text, QStringLiteral("a"));
    EXPECT_EQ(h.Section(1).Text, QStringLiteral("c"));
    EXPECT_EQ(h.SectionCount(), 2);
}
