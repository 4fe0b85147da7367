// The plain check box: toggling by click and space bar, and its picture.
#include <QTest>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "toolkit/CheckBox.h"

using kestrix::test::PixelAt;
using kestrix::test::Render;

TEST(CheckBox, ClickAndSpaceToggleAndTheTickIsDrawn)
{
    TCheckBox box;
    box.setGeometry(0, 0, 60, 17);
    int clicks = 0;
    box.OnClick = [&](QObject*) { ++clicks; };
    const QImage off = Render(&box);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(box.Checked());
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
    box.setChecked(true);
    // The box stands at (0, (17 - 13) div 2) = (0, 2): well from (2, 4),
    // tick columns from x 3, the first column's rows 2..4 below the well top + 1.
    const QImage on = Render(&box);
    EXPECT_EQ(PixelAt(off, 3, 7), clWhite);
    EXPECT_EQ(PixelAt(on, 3, 7), clBlack);
    EXPECT_EQ(PixelAt(on, 9, 5), clBlack); // the last column's top
    EXPECT_EQ(PixelAt(on, 0, 2), 0x808080u); // outer frame
}
