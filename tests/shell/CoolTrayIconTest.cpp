// The tray icon's component: the record the shell gets, its mouse-message
// handling driven by synthetic messages, icon cycling, the tray coming back,
// and the simple timers it runs on.
#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "shell/CoolTrayIcon.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

using namespace TrayMessage;

// Records what the icon asks of the notification area.
class RecordingTrayShell : public TTrayShell {
public:
    struct Call {
        unsigned operation;
        TNotifyIconData data;
    };
    bool NotifyIcon(unsigned operation, const TNotifyIconData& data) override
    {
        calls.push_back({operation, data});
        return true;
    }
    std::vector<unsigned> Operations() const
    {
        std::vector<unsigned> ops;
        for (const Call& c : calls)
            ops.push_back(c.operation);
        return ops;
    }
    std::vector<Call> calls;
};

class CoolTrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = InstallTrayShell(&shell);
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(30);
    }
    void TearDown() override
    {
        icon.reset();
        InstallTrayShell(previous);
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
    }
    TCoolTrayIcon& Make()
    {
        icon = std::make_unique<TCoolTrayIcon>();
        icon->CursorPos = [this] { return cursor; };
        return *icon;
    }
    void Send(std::initializer_list<unsigned> messages)
    {
        for (unsigned m : messages)
            icon->HandleIconMessage(m);
    }

    RecordingTrayShell shell;
    TTrayShell* previous = nullptr;
    std::unique_ptr<TCoolTrayIcon> icon;
    QPoint cursor{700, 10};
};

TEST_F(CoolTrayIconTest, RecordHoldsTheFixedFieldsAndTheHintCutTo127)
{
    TCoolTrayIcon& t = Make();
    EXPECT_EQ(t.IconData().Size, 488u);
    EXPECT_EQ(t.IconData().Flags, 7u);
    EXPECT_EQ(t.IconData().CallbackMessage, 2048u);
    EXPECT_NE(t.IconData().Window, nullptr);
    TCoolTrayIcon other;
    EXPECT_NE(other.IconData().ID, t.IconData().ID);

    QString hint;
    for (int i = 0; i < 200; ++i)
        hint += QChar(u'a' + i % 26);
    t.setHint(hint);
    EXPECT_EQ(shell.calls.back().operation, NIM_MODIFY);
    EXPECT_EQ(shell.calls.back().data.Tip, hint.left(127));
    t.setShowHint(false);
    EXPECT_EQ(shell.calls.back().data.Tip, QString());
    t.setShowHint(true);
    t.setHint(QStringLiteral("short"));
    EXPECT_EQ(shell.calls.back().data.Tip, QStringLiteral("short"));

    t.setIconVisible(true);
    EXPECT_EQ(shell.calls.back().operation, NIM_ADD);
    EXPECT_TRUE(t.IconVisible());
    t.setIconVisible(false);
    EXPECT_EQ(shell.calls.back().operation, NIM_DELETE);
}

TEST_F(CoolTrayIconTest, LoadingDefersTheIconUntilTheLayoutIsComplete)
{
    TForm form; // still loading its layout
    auto* t = new TCoolTrayIcon(&form);
    form.RegisterComponent(t);
    t->setIconVisible(true);
    t->setHint(QStringLiteral("Kestrix"));
    EXPECT_TRUE(shell.calls.empty());
    form.EndLoading();
    EXPECT_EQ(shell.Operations(), (std::vector<unsigned>{NIM_MODIFY, NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(shell.calls[1].data.Tip, QStringLiteral("Kestrix"));
    EXPECT_EQ(shell.calls[2].data.Version, 0u);
    shell.calls.clear();
    delete t;
    EXPECT_EQ(shell.Operations(), std::vector<unsigned>{NIM_DELETE});
}

TEST_F(CoolTrayIconTest, StartupHandlerMayKeepTheMainFormHidden)
{
    TForm form;
    auto* t = new TCoolTrayIcon(&form);
    form.RegisterComponent(t);
    t->OnStartup = [](QObject*, bool& show) { show = false; };
    form.show();
    form.EndLoading();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(Application().ShowMainForm);
    Application().ShowMainForm = true;
}

TEST_F(CoolTrayIconTest, ClickComesAtButtonUpWithoutADoubleClickHandler)
{
    TCoolTrayIcon& t = Make();
    QStringList seen;
    t.OnClick = [&](QObject*) { seen << QStringLiteral("click"); };
    t.OnMouseDown = [&](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        seen << QStringLiteral("down %1 %2,%3").arg(int(b)).arg(x).arg(y);
    };
    t.OnMouseUp = [&](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
        seen << QStringLiteral("up %1").arg(int(b));
    };
    Send({LeftButtonDown});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("down 1 700,10")}));
    Send({LeftButtonUp});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("down 1 700,10"), QStringLiteral("click"),
                                          QStringLiteral("up 1")}));
    // An up without a down is no click.
    seen.clear();
    Send({LeftButtonUp});
    EXPECT_EQ(seen, QStringList{QStringLiteral("up 1")});
    // Right and middle buttons give their own downs and ups, no clicks.
    seen.clear();
    Send({RightButtonDown, RightButtonUp, MiddleButtonDown, MiddleButtonUp});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("down 2 700,10"), QStringLiteral("up 2"),
                                          QStringLiteral("down 4 700,10"), QStringLiteral("up 4")}));
    // The newer protocol's context-menu request is not level 0's.
    seen.clear();
    Send({ContextMenu, Select, KeySelect});
    EXPECT_TRUE(seen.empty());
}

TEST_F(CoolTrayIconTest, WithADoubleClickHandlerTheClickWaitsForTheDoubleClickTime)
{
    TCoolTrayIcon& t = Make();
    int clicks = 0, doubles = 0;
    t.OnClick = [&](QObject*) { ++clicks; };
    t.OnDblClick = [&](QObject*) { ++doubles; };
    Send({LeftButtonDown, LeftButtonUp});
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(t.ClickTimer().Running());
    EXPECT_EQ(t.ClickTimer().Interval(), 30u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 1000));
    EXPECT_FALSE(t.ClickTimer().Enabled());

    // A double click: no single click at all.
    Send({LeftButtonDown, LeftButtonUp, LeftButtonDblClk, LeftButtonUp});
    EXPECT_EQ(doubles, 1);
    QTest::qWait(80);
    EXPECT_EQ(clicks, 1);
    // The next single click is reported again.
    Send({LeftButtonDown, LeftButtonUp});
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 2; }, 1000));
}

TEST_F(CoolTrayIconTest, DoubleClickRunsTheDefaultItemOnlyWithoutLeftPopup)
{
    QMenu menu;
    QAction* item = menu.addAction(QStringLiteral("Show"));
    menu.setDefaultAction(item);
    int runs = 0;
    QObject::connect(item, &QAction::triggered, [&] { ++runs; });
    TCoolTrayIcon& t = Make();
    t.setPopupMenu(&menu);
    t.setLeftPopup(true);
    Send({LeftButtonDown, LeftButtonUp, LeftButtonDblClk, LeftButtonUp});
    EXPECT_EQ(runs, 0);
    menu.hide();
    t.setLeftPopup(false);
    Send({LeftButtonDblClk});
    EXPECT_EQ(runs, 1);
    // A menu that does not pop up by itself has no default to run either.
    menu.setProperty("AutoPopup", false);
    Send({LeftButtonDblClk});
    EXPECT_EQ(runs, 1);
}

TEST_F(CoolTrayIconTest, ButtonDownOpensThePopupMenuAtTheCursor)
{
    QMenu menu;
    menu.addAction(QStringLiteral("Exit"));
    TCoolTrayIcon& t = Make();
    t.setPopupMenu(&menu);
    Send({LeftButtonDown, LeftButtonUp});
    EXPECT_FALSE(menu.isVisible()); // not without LeftPopup
    Send({RightButtonDown});
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.property("PopupComponent").value<QObject*>(), &t);
    menu.hide();
    t.setLeftPopup(true);
    Send({LeftButtonDown});
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    // Disabled: deaf to every message.
    t.setEnabled(false);
    Send({RightButtonDown, LeftButtonDown});
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(CoolTrayIconTest, EnterOnTheFirstMoveAndExitWhenThePointerHasLeft)
{
    TCoolTrayIcon& t = Make();
    int enters = 0, exits = 0, moves = 0;
    t.OnMouseEnter = [&](QObject*) { ++enters; };
    t.OnMouseExit = [&](QObject*) { ++exits; };
    t.OnMouseMove = [&](QObject*, Qt::KeyboardModifiers, int, int) { ++moves; };
    Send({MouseMove});
    EXPECT_EQ(enters, 0); // not wanted
    t.setWantEnterExitEvents(true);
    EXPECT_TRUE(t.ExitTimer().Running());
    EXPECT_EQ(t.ExitTimer().Interval(), 20u);
    Send({MouseMove});
    Send({MouseMove});
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(moves, 3);
    QTest::qWait(60);
    EXPECT_EQ(exits, 0); // still where the last move was
    cursor = QPoint(300, 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return exits == 1; }, 1000));
    QTest::qWait(60);
    EXPECT_EQ(exits, 1);
    Send({MouseMove});
    EXPECT_EQ(enters, 2);
}

TEST_F(CoolTrayIconTest, IconIndexIsClampedToTheListAndCyclingNeedsAnInterval)
{
    TImageList list;
    for (QRgb c : {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u}) {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(c);
        list.Add(img);
    }
    TCoolTrayIcon& t = Make();
    t.setIconIndex(3);
    EXPECT_EQ(t.IconIndex(), 0); // no list yet
    t.setIconList(&list);
    t.setIconIndex(10);
    EXPECT_EQ(t.IconIndex(), 3);
    EXPECT_EQ(t.Icon().pixmap(16, 16).toImage().pixel(8, 8), 0xFFFFFF00u);
    EXPECT_EQ(shell.calls.back().operation, NIM_MODIFY);

    t.setCycleIcons(true); // interval 0: nothing cycles
    EXPECT_EQ(t.IconIndex(), 0);
    EXPECT_FALSE(t.CycleTimer().Running());
    EXPECT_FALSE(t.CycleTimer().Enabled());

    std::vector<int> next;
    t.OnCycle = [&](QObject*, int n) { next.push_back(n); };
    t.setCycleInterval(5);
    t.setCycleIcons(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return next.size() >= 5; }, 2000));
    t.setCycleIcons(false);
    EXPECT_EQ(std::vector<int>(next.begin(), next.begin() + 5), (std::vector<int>{1, 2, 3, 0, 1}));
    EXPECT_FALSE(t.CycleTimer().Running());
}

TEST_F(CoolTrayIconTest, TrayComingBackAddsTheVisibleIconAgain)
{
    TCoolTrayIcon& t = Make();
    TCoolTrayIcon hidden;
    t.setIconVisible(true);
    shell.calls.clear();
    TTrayIconHandler::Instance()->TaskbarCreated();
    ASSERT_EQ(shell.Operations(), std::vector<unsigned>{NIM_ADD});
    EXPECT_EQ(shell.calls[0].data.ID, t.IconData().ID);

    // The Qt service announces a tray that appears; one that goes and comes
    // back is announced again.
    bool available = false;
    QtTrayShell qt;
    qt.Available = [&] { return available; };
    shell.calls.clear();
    qt.Poll();
    EXPECT_TRUE(shell.calls.empty());
    available = true;
    qt.Poll();
    qt.Poll();
    EXPECT_EQ(shell.Operations(), std::vector<unsigned>{NIM_ADD});
    available = false;
    qt.Poll();
    available = true;
    qt.Poll();
    EXPECT_EQ(shell.Operations(), (std::vector<unsigned>{NIM_ADD, NIM_ADD}));
}

TEST_F(CoolTrayIconTest, CallbacksReachTheirIconByIdOnly)
{
    TCoolTrayIcon& t = Make();
    int downs = 0;
    t.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    TTrayIconHandler* handler = TTrayIconHandler::Instance();
    EXPECT_TRUE(handler->Callback(2048, t.IconData().ID, RightButtonDown));
    EXPECT_FALSE(handler->Callback(2047, t.IconData().ID, RightButtonDown));
    EXPECT_FALSE(handler->Callback(2048, t.IconData().ID + 1000, RightButtonDown));
    EXPECT_EQ(downs, 1);
}

TEST(QtTrayShellTest, ActivationsStandForTheMessagesOfAClick)
{
    using V = std::vector<unsigned>;
    EXPECT_EQ(QtTrayShell::MessagesOf(QSystemTrayIcon::Trigger), (V{MouseMove, LeftButtonDown, LeftButtonUp}));
    EXPECT_EQ(QtTrayShell::MessagesOf(QSystemTrayIcon::DoubleClick), (V{MouseMove, LeftButtonDblClk, LeftButtonUp}));
    EXPECT_EQ(QtTrayShell::MessagesOf(QSystemTrayIcon::Context), (V{MouseMove, RightButtonDown, RightButtonUp}));
    EXPECT_EQ(QtTrayShell::MessagesOf(QSystemTrayIcon::MiddleClick),
              (V{MouseMove, MiddleButtonDown, MiddleButtonUp}));
    EXPECT_TRUE(QtTrayShell::MessagesOf(QSystemTrayIcon::Unknown).empty());
}

TEST(QtTrayShellTest, WithoutATrayNothingIsAddedAndNothingFails)
{
    QtTrayShell qt;
    qt.Available = [] { return false; };
    TNotifyIconData data;
    data.ID = 77;
    EXPECT_FALSE(qt.NotifyIcon(NIM_ADD, data));
    EXPECT_FALSE(qt.HasIcon(77));
    EXPECT_FALSE(qt.NotifyIcon(NIM_MODIFY, data));
    EXPECT_FALSE(qt.NotifyIcon(NIM_DELETE, data));
}

TEST(SimpleTimerTest, StartsOnlyWithAnIntervalAndKeepsItsEnabledFlagByTheRules)
{
    int ticks = 0;
    {
        TSimpleTimer t(0, [&](TSimpleTimer*) { ++ticks; });
        EXPECT_TRUE(TSimpleTimer::ReceiverExists());
        EXPECT_FALSE(t.Start());
        t.setEnabled(true);
        EXPECT_FALSE(t.Enabled()); // cannot start: stays disabled
        const int before = TSimpleTimer::RunningTimers();
        t.setInterval(5);
        EXPECT_FALSE(t.Running()); // not enabled: a new interval starts nothing
        t.setEnabled(true);
        EXPECT_TRUE(t.Running());
        EXPECT_EQ(TSimpleTimer::RunningTimers(), before + 1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 1000));
        // Interval 0 stops it but it stays enabled; a new interval restarts it.
        t.setInterval(0);
        EXPECT_FALSE(t.Running());
        EXPECT_TRUE(t.Enabled());
        EXPECT_EQ(TSimpleTimer::RunningTimers(), before);
        t.setInterval(5);
        EXPECT_TRUE(t.Running());
        // No handler: stopped, still enabled.
        t.setOnTimer({});
        EXPECT_FALSE(t.Running());
        EXPECT_TRUE(t.Enabled());
        t.setOnTimer([&](TSimpleTimer*) { ++ticks; });
        t.setAutoDisable(true);
        t.setEnabled(true);
        const int at = ticks;
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == at + 1; }, 1000));
        QTest::qWait(30);
        EXPECT_EQ(ticks, at + 1); // one tick, then it disabled itself
        EXPECT_FALSE(t.Enabled());
        EXPECT_EQ(TSimpleTimer::RunningTimers(), before);
    }
    EXPECT_FALSE(TSimpleTimer::ReceiverExists());
}

} // namespace
