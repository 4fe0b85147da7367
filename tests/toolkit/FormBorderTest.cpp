// A form's border and caption boxes as window flags, and a modal form that
// the user cannot lose: tied to the window it blocks, and brought back when
// that window is activated while the form is minimised.
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/ModalWindows.h"

namespace {

constexpr Qt::WindowFlags kCaption = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
constexpr Qt::WindowFlags kClose = Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Runs the event loop until `done` holds or two seconds have passed.
template <typename F>
bool WaitFor(F done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QTest::qWait(5);
    return done();
}

} // namespace

TEST(FormBorder, EachStyleAsksForExactlyItsBoxes)
{
    using S = TFormBorderStyle;
    struct Case {
        S style;
        TBorderIcons icons;
        Qt::WindowFlags flags;
    };
    const Case cases[] = {
        // The main window: single border, system menu and minimise box.
        {S::bsSingle, {biSystemMenu, biMinimize}, Qt::Window | kCaption | kClose | Qt::WindowMinimizeButtonHint},
        // The drives dialog: a tool window with only a close box.
        {S::bsToolWindow, {biSystemMenu}, Qt::Tool | kCaption | kClose},
        // The Info window: a tool window with system menu and minimise box.
        {S::bsToolWindow, {biSystemMenu, biMinimize}, Qt::Tool | kCaption | kClose | Qt::WindowMinimizeButtonHint},
        // A dialog border never minimises or maximises; its help box shows.
        {S::bsDialog, {biSystemMenu, biMinimize, biMaximize, biHelp},
         Qt::Dialog | kCaption | kClose | Qt::WindowContextHelpButtonHint},
        // The help box only where no minimise or maximise box is.
        {S::bsSizeable, {biSystemMenu, biMaximize, biHelp}, Qt::Window | kCaption | kClose | Qt::WindowMaximizeButtonHint},
        {S::bsSizeToolWin, {biSystemMenu, biHelp}, Qt::Tool | kCaption | kClose | Qt::WindowContextHelpButtonHint},
        // Without the system menu no box at all, whatever else is asked.
        {S::bsSingle, {biMinimize, biMaximize}, Qt::Window | kCaption},
        {S::bsNone, {biSystemMenu, biMinimize}, Qt::Window | Qt::FramelessWindowHint},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << int(c.style) << ", icons " << c.icons.toInt());
        EXPECT_EQ(BorderWindowFlags(c.style, c.icons), c.flags);
    }
}

TEST(FormBorder, SettingTheBorderOfAShownFormKeepsItShown)
{
    TForm form;
    // Before either is set, the form keeps the flags it has.
    EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsSizeable);
    EXPECT_EQ(form.BorderIcons(), TBorderIcons({biSystemMenu, biMinimize, biMaximize}));
    form.setWindowFlags(Qt::Window);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.setBorderStyle(TFormBorderStyle::bsToolWindow);
    form.setBorderIcons({biSystemMenu});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowFlags(), Qt::Tool | kCaption | kClose);
}

// The main window and a modal form on it, as View > Drives opens the drives
// dialog. The test's steps run inside the modal loop; a guard ends the loop
// if they fail, so that the test cannot hang.
class ModalFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main_.setName(QStringLiteral("Form1"));
        main_.setGeometry(100, 100, 300, 200);
        main_.show();
        main_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main_));
        Application().MainForm = &main_;
        modal_ = new TForm;
        modal_->setBorderStyle(TFormBorderStyle::bsToolWindow);
        modal_->setBorderIcons({biSystemMenu});
        modal_->setGeometry(150, 150, 100, 80);
    }
    void TearDown() override
    {
        delete modal_;
        Application().MainForm = nullptr;
    }

    // Runs `steps` inside the modal loop of modal_, then closes the form.
    void ShowModalAndRun(const std::function<void()>& steps)
    {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, modal_.data(), [this] { modal_->close(); });
        guard.start(5000);
        QTimer::singleShot(0, modal_.data(), [this, steps] {
            steps();
            modal_->close();
        });
        modal_->ShowModal();
    }

    TForm main_;
    QPointer<TForm> modal_;
};

TEST_F(ModalFormTest, BelongsToTheWindowItBlocks)
{
    QWindow* transientParent = nullptr;
    bool modal = false;
    ShowModalAndRun([&] {
        modal = QApplication::activeModalWidget() == modal_;
        transientParent = modal_->windowHandle()->transientParent();
    });
    EXPECT_TRUE(modal);
    EXPECT_EQ(transientParent, main_.windowHandle());
}

TEST_F(ModalFormTest, MinimisedItComesBackWhenTheBlockedWindowIsActivated)
{
    bool minimised = false;
    bool restored = false;
    bool active = false;
    ShowModalAndRun([&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(modal_));
        // The window manager minimises the form on its own, and the user
        // comes back to the main window: its clicks would all be refused.
        modal_->showMinimized();
        minimised = WaitFor([&] { return modal_->isMinimized(); });
        main_.activateWindow();
        restored = WaitFor([&] { return !modal_->isMinimized() && modal_->isVisible(); });
        active = WaitFor([&] { return QApplication::activeWindow() == modal_; });
    });
    EXPECT_TRUE(minimised);
    EXPECT_TRUE(restored);
    EXPECT_TRUE(active);
}

TEST_F(ModalFormTest, ANonModalFormMinimisedStaysMinimised)
{
    TForm other;
    other.setGeometry(200, 200, 100, 80);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    KeepModalWindowsReachable();
    other.showMinimized();
    ASSERT_TRUE(WaitFor([&] { return other.isMinimized(); }));
    main_.activateWindow();
    QTest::qWait(50);
    EXPECT_TRUE(other.isMinimized());
}
