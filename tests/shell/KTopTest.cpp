// Stay-on-top: every assignment reaches the window, which stays shown and
// is not shown again.
#include <QEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include "shell/KTop.h"

namespace {

// Counts the show events a window gets.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

bool OnTop(const QWidget& w)
{
    return w.windowFlags().testFlag(Qt::WindowStaysOnTopHint)
           && (!w.windowHandle() || w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(KTopTest, CreationMakesTheOwnerTopMostAndDestructionReleasesIt)
{
    QWidget w;
    {
        TKTop k(&w);
        EXPECT_TRUE(k.KTop());
        EXPECT_TRUE(OnTop(w));
    }
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(KTopTest, ToggledTwiceOnAShownWindowEndsAsItBeganAndNeverReshows)
{
    QWidget w;
    TKTop k(&w);
    k.setKTop(false);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ShowCounter counter;
    w.installEventFilter(&counter);

    k.setKTop(true);
    EXPECT_TRUE(OnTop(w));
    EXPECT_TRUE(w.isVisible());
    k.setKTop(false);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(counter.shows, 0);
    // Other flags are left alone.
    EXPECT_EQ(w.windowFlags() & Qt::WindowType_Mask, Qt::Window);
}

TEST(KTopTest, OwnerThatIsNoWindowIsLeftAlone)
{
    QWidget parent;
    auto* child = new QWidget(&parent);
    TKTop k(child);
    k.setKTop(true);
    EXPECT_TRUE(k.KTop());
    EXPECT_FALSE(child->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    TKTop lone;
    lone.setKTop(true);
    EXPECT_TRUE(lone.KTop());
}

} // namespace
