// A form on a scaled desktop shows its one-times picture scaled: at a whole
// ratio each pixel becomes an n x n block (the menu bar, bitmap-font
// captions, a bold overstrike, a panel's bevel and a check box alike); at
// 1.5 a caption's ink stays inside its box, where the one-times ink lies.
#include <QMenuBar>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "support/WidgetTestUtil.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Fonts.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Panel.h"

using namespace kestrix::test;

namespace {

// A small window of the kinds of painting the program has: Qt's menu bar,
// toolkit labels in the bitmap faces (one bold, one transparent over a
// raised panel), a check box.
struct SmallWindow {
    TForm form;
    TLabel* plain = nullptr;
    TLabel* bold = nullptr;
    TLabel* onPanel = nullptr;
    TPanel* panel = nullptr;
    TCheckBox* box = nullptr;

    SmallWindow()
    {
        form.resize(200, 120);
        form.setColor(clBtnFace);
        auto* bar = new QMenuBar;
        bar->addMenu(QStringLiteral("&File"));
        bar->addMenu(QStringLiteral("&View"));
        form.setMenuBar(bar);
        plain = Label(&form, 8, 30, QStringLiteral("Totals: RAM = 80%"), DesignFont("MS Sans Serif", -11));
        bold = Label(&form, 8, 46, QStringLiteral("Drive C:"), DesignFont("MS Sans Serif", -11, true));
        panel = new TPanel(&form);
        panel->setGeometry(100, 60, 90, 30);
        onPanel = Label(panel, 4, 8, QStringLiteral("0-60%"), DesignFont("Small Fonts", -9));
        onPanel->setTransparent(true);
        box = new TCheckBox(&form);
        box->setGeometry(8, 90, 80, 17);
        box->setCaption(QStringLiteral("Removable"));
        box->setChecked(true);
        form.show();
    }
    static TLabel* Label(QWidget* parent, int x, int y, const QString& caption, const QFont& font)
    {
        auto* l = new TLabel(parent);
        l->move(x, y);
        l->setLabelFont(font);
        l->setAutoSize(true);
        l->setCaption(caption);
        return l;
    }
};

} // namespace

TEST(DesignScale, AtWholeRatiosEachPixelBecomesABlock)
{
    SmallWindow w;
    const QImage one = Render(&w.form);
    // Black caption ink in the first label and in the menu bar.
    ASSERT_GT(CountColor(one, 8, 30, 100, 43, clBlack), 20);
    ASSERT_GT(CountColor(one, 0, 0, 100, w.form.MenuBarHeight(), clBlack), 10);
    for (int n : {2, 3}) {
        SCOPED_TRACE(n);
        const QImage scaled = RenderAtRatio(&w.form, n);
        ASSERT_EQ(scaled.size(), QSize(200 * n, 120 * n));
        EXPECT_EQ(DifferingPixels(scaled, Blocks(one, n)), 0);
        if (HasFailure()) {
            SaveForInspection(scaled, QStringLiteral("designscale-%1x").arg(n));
            SaveForInspection(Blocks(one, n), QStringLiteral("designscale-%1x-expected").arg(n));
        }
    }
    // One paint at ratio 1 as before, one of its own at ratio 2.
    PaintCounter counter(w.plain);
    Render(&w.form);
    EXPECT_EQ(counter.count, 1);
    RenderAtRatio(&w.form, 2);
    EXPECT_EQ(counter.count, 2);
}

TEST(DesignScale, AtOneAndAHalfCaptionsStayInTheirBoxesWhereTheOneTimesInkIs)
{
    SmallWindow w;
    // The plain, bold and transparent labels; the menu bar is no label.
    EXPECT_EQ(ExpectCaptionsInTheirScaledBoxes(&w.form, 1.5), 3);
}
