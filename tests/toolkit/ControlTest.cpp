// Alignment of child controls (Realign) on plain controls and a plain form,
// away from the main window: the stacking order, hidden children, moves,
// shows and resizes, and the menu bar a form leaves out. Expected geometry
// worked out by hand from the sizes given.
#include <QFontMetrics>
#include <QMenuBar>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"

namespace {

// A 200 x 100 control inside a shown host, so that moves, resizes and shows
// arrive as they do on screen, with six aligned children.
struct AlignedPanel {
    QWidget host;
    TControl* panel = new TControl(&host);
    TControl* top1 = Child(0, 0, 200, 10, TAlign::alTop);
    TControl* top2 = Child(0, 50, 200, 15, TAlign::alTop);
    TControl* bottom = Child(0, 0, 200, 20, TAlign::alBottom);
    TControl* left = Child(0, 0, 30, 10, TAlign::alLeft);
    TControl* right = Child(0, 0, 40, 10, TAlign::alRight);
    TControl* client = Child(0, 0, 5, 5, TAlign::alClient);

    AlignedPanel()
    {
        host.resize(400, 300);
        panel->setGeometry(0, 0, 200, 100);
        host.show();
    }

    TControl* Child(int x, int y, int w, int h, TAlign align)
    {
        auto* c = new TControl(panel);
        c->setGeometry(x, y, w, h);
        c->setAlign(align);
        return c;
    }
};

} // namespace

TEST(Realign, TopThenBottomThenLeftThenRightAndTheClientTakesTheRest)
{
    AlignedPanel p;
    EXPECT_EQ(p.top1->geometry(), QRect(0, 0, 200, 10));
    EXPECT_EQ(p.top2->geometry(), QRect(0, 10, 200, 15));  // below top1, though it stood at 50
    EXPECT_EQ(p.bottom->geometry(), QRect(0, 80, 200, 20));
    // The sides share rows 25 .. 79.
    EXPECT_EQ(p.left->geometry(), QRect(0, 25, 30, 55));
    EXPECT_EQ(p.right->geometry(), QRect(160, 25, 40, 55));
    EXPECT_EQ(p.client->geometry(), QRect(30, 25, 130, 55));
    // A child that is not aligned keeps its place and takes no room.
    auto* free = new TControl(p.panel);
    free->setGeometry(7, 7, 3, 3);
    p.panel->Realign();
    EXPECT_EQ(free->geometry(), QRect(7, 7, 3, 3));
    EXPECT_EQ(p.client->geometry(), QRect(30, 25, 130, 55));
}

TEST(Realign, HiddenChildrenTakeNoRoomAndOneShownAgainGoesFirstAmongEquals)
{
    AlignedPanel p;
    p.top1->hide();
    EXPECT_EQ(p.top2->geometry(), QRect(0, 0, 200, 15));
    EXPECT_EQ(p.client->geometry(), QRect(30, 15, 130, 65));
    EXPECT_EQ(p.left->geometry(), QRect(0, 15, 30, 65));

    // top1 still stands at 0, as top2 now does: the one just shown goes first.
    p.top1->show();
    EXPECT_EQ(p.top1->geometry(), QRect(0, 0, 200, 10));
    EXPECT_EQ(p.top2->geometry(), QRect(0, 10, 200, 15));
    EXPECT_EQ(p.client->geometry(), QRect(30, 25, 130, 55));

    // Every child hidden: nothing is left to align, nothing breaks.
    for (TControl* c : {p.top1, p.top2, p.bottom, p.left, p.right})
        c->hide();
    EXPECT_EQ(p.client->geometry(), QRect(0, 0, 200, 100));
}

TEST(Realign, AMoveReordersTheStackAndAResizeOfTheParentOrAChildRealigns)
{
    AlignedPanel p;
    // Moved to top1's Top: the moved one goes first.
    p.top2->move(0, 0);
    EXPECT_EQ(p.top2->geometry(), QRect(0, 0, 200, 15));
    EXPECT_EQ(p.top1->geometry(), QRect(0, 15, 200, 10));

    p.panel->resize(300, 120);
    EXPECT_EQ(p.top1->geometry(), QRect(0, 15, 300, 10));
    EXPECT_EQ(p.bottom->geometry(), QRect(0, 100, 300, 20));
    EXPECT_EQ(p.right->geometry(), QRect(260, 25, 40, 75));
    EXPECT_EQ(p.client->geometry(), QRect(30, 25, 230, 75));

    // A child's new height moves everything after it.
    p.top2->resize(300, 30);
    EXPECT_EQ(p.top1->geometry(), QRect(0, 30, 300, 10));
    EXPECT_EQ(p.client->geometry(), QRect(30, 40, 230, 60));

    // Aligning none leaves the child where it is and gives its room back.
    p.bottom->setAlign(TAlign::alNone);
    EXPECT_EQ(p.bottom->geometry(), QRect(0, 100, 300, 20));
    EXPECT_EQ(p.client->geometry(), QRect(30, 40, 230, 80));
}

TEST(Realign, AFormAlignsBelowItsMenuBar)
{
    TForm form;
    form.resize(240, 160);
    auto* bar = new QMenuBar;
    bar->setNativeMenuBar(false);
    bar->addMenu(QStringLiteral("File"));
    form.setMenuBar(bar);
    auto* top = new TControl(&form);
    top->resize(10, 30);
    top->setAlign(TAlign::alTop);
    auto* client = new TControl(&form);
    client->setAlign(TAlign::alClient);
    form.show();

    const int m = bar->height();
    ASSERT_GT(m, 0);
    EXPECT_EQ(form.MenuBarHeight(), m);
    EXPECT_EQ(form.ClientHeight(), 160 - m);
    EXPECT_EQ(top->geometry(), QRect(0, m, 240, 30));
    EXPECT_EQ(client->geometry(), QRect(0, m + 30, 240, 160 - m - 30));

    // The client height is the height below the bar.
    form.setClientHeight(100);
    EXPECT_EQ(form.height(), 100 + m);
    EXPECT_EQ(client->geometry(), QRect(0, m + 30, 240, 70));

    // Without a visible bar the whole form is the client area.
    bar->hide();
    form.Realign();
    EXPECT_EQ(top->geometry(), QRect(0, 0, 240, 30));
}

TEST(LabelAutoSize, FitsTheCaptionAndARightJustifiedLabelKeepsItsRightEdge)
{
    TLabel label;
    label.setGeometry(100, 5, 50, 40);
    const QFontMetrics fm(label.font());
    label.setCaption(QStringLiteral("Drive"));
    EXPECT_EQ(label.geometry(), QRect(100, 5, fm.horizontalAdvance(QStringLiteral("Drive")), fm.height()));

    label.setAlignment(TAlignment::taRightJustify);
    const int right = label.x() + label.width();
    label.setCaption(QStringLiteral("Drives to show"));
    const int w = fm.horizontalAdvance(QStringLiteral("Drives to show"));
    EXPECT_EQ(label.width(), w);
    EXPECT_EQ(label.x() + label.width(), right);

    // Without AutoSize the bounds stay.
    label.setAutoSize(false);
    label.setCaption(QStringLiteral("C:"));
    EXPECT_EQ(label.width(), w);
}

TEST(LabelAutoSize, TheFitFollowsEachChangeOfFontCaptionAndWrapWidth)
{
    TLabel label;
    const QFont small = label.font();
    QFont large = small;
    large.setPixelSize(24);
    const QString drive = QStringLiteral("Drive");
    label.setCaption(drive);
    label.setLabelFont(large);
    EXPECT_EQ(label.size(), QSize(QFontMetrics(large).horizontalAdvance(drive), QFontMetrics(large).height()));
    label.setLabelFont(small); // back: the first fit again
    EXPECT_EQ(label.size(), QSize(QFontMetrics(small).horizontalAdvance(drive), QFontMetrics(small).height()));
    // Wrapped, the height follows the width it wraps at.
    label.setCaption(QStringLiteral("one two three four"));
    label.setWordWrap(true);
    label.resize(400, label.height());
    label.AdjustBounds();
    const int oneLine = label.height();
    label.resize(QFontMetrics(small).horizontalAdvance(QStringLiteral("three ")), label.height());
    label.AdjustBounds();
    EXPECT_GT(label.height(), oneLine);
}
