// The "Drives to show" dialog with the main window: rows for existing
// drives only with their display names, the height, and the main window
// changing live as boxes are clicked.
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "MainWindowFixture.h"

using namespace kestrix::test;

namespace {

void SendRelease(QWidget* w, Qt::MouseButton button, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void ClickBox(TDShowForm& d, char letter)
{
    QTest::mouseClick(d.RowOf(QLatin1Char(letter)).C, Qt::LeftButton, {}, QPoint(5, 8));
}

// The dialog on screen, found among the application's windows.
TDShowForm* ShownDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<TDShowForm*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

struct FreeOnExit {
    QPointer<TDShowForm> dialog;
    ~FreeOnExit() { delete dialog.data(); }
};

} // namespace

class DrivesToShowTest : public MainWindowTest {
protected:
    // The window's state that the dialog changes, for before/after checks.
    struct Snapshot {
        QString rows;
        int panKestrix, height;
        QString totalSize;
        int totalPercent;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() const
    {
        return {RowsOnScreen(), form->PanKestrix->height(), form->Height(), form->Label5->Caption(),
                form->TotalB->Progress()};
    }
};

TEST_F(DrivesToShowTest, DrivesCAndDOnlyGiveTwoRowsAndTheLayoutsHeight110)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB).Label = QStringLiteral("System");
    fake.AddDrive('D', DRIVE_CDROM).DisplayName = QStringLiteral("  Audio CD (D:)  ");
    StartActive();
    form->Slot('D').Flag->setChecked(false);
    FreeOnExit d{form->NewDShowForm()};

    EXPECT_EQ(d.dialog->VisibleRows(), 2);
    EXPECT_FALSE(d.dialog->RowOf('C').P->isHidden());
    EXPECT_FALSE(d.dialog->RowOf('D').P->isHidden());
    EXPECT_TRUE(d.dialog->RowOf('E').P->isHidden());
    // 20 x 2 + 30 + 40 on Windows, where 23 of it were caption and frame:
    // the client area holds the top panel, the header and two rows.
    EXPECT_EQ(d.dialog->OuterHeight(), 110);
    EXPECT_EQ(d.dialog->height(), 30 + 17 + 40);
    EXPECT_EQ(d.dialog->RowOf('D').P->geometry(), QRect(0, 67, 230, 20));
    // Boxes from the flags, names trimmed; letters without a drive get none.
    EXPECT_TRUE(d.dialog->RowOf('C').C->Checked());
    EXPECT_FALSE(d.dialog->RowOf('D').C->Checked());
    EXPECT_EQ(d.dialog->RowOf('C').TL->Caption(), QStringLiteral("System (C:)"));
    EXPECT_EQ(d.dialog->RowOf('D').TL->Caption(), QStringLiteral("Audio CD (D:)"));
    EXPECT_EQ(d.dialog->RowOf('E').TL->Caption(), QString());
}

TEST_F(DrivesToShowTest, ClearingADriveHidesItsRowAtOnceAndTickingItBringsItBack)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 50 * GiB, 10 * GiB);
    fake.AddDrive('E', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    StartActive();
    const Snapshot all = Take();
    // 160 GiB with 45 GiB free: 163,840 MB, 100 - 45 GiB div 1.6 GiB = 72 %.
    EXPECT_EQ(all, (Snapshot{"CDE", 212, form->MenuBarHeight() + 231, " 163,840.00", 72}));
    FreeOnExit d{form->NewDShowForm()};

    ClickBox(*d.dialog, 'D');
    EXPECT_FALSE(form->Slot('D').Flag->Checked());
    // 110 GiB with 35 GiB free: 112,640 MB, 100 - 35 GiB div 1.1 GiB = 69 %.
    EXPECT_EQ(Take(), (Snapshot{"CE", 192, all.height - 20, " 112,640.00", 69}));

    ClickBox(*d.dialog, 'C');
    ClickBox(*d.dialog, 'E');
    EXPECT_EQ(Take(), (Snapshot{"", 152, all.height - 60, " 0.00", 0}));
    // Shown again in any order, the rows stand in letter order.
    ClickBox(*d.dialog, 'E');
    ClickBox(*d.dialog, 'D');
    ClickBox(*d.dialog, 'C');
    EXPECT_EQ(Take(), all);
    EXPECT_EQ(form->Slot('C').Pan->y(), 62);
    EXPECT_EQ(form->Slot('D').Pan->y(), 82);
    EXPECT_EQ(form->Slot('E').Pan->y(), 102);
    EXPECT_TRUE(form->Slot('D').Flag->Checked());
}

TEST_F(DrivesToShowTest, NewRowShowsItsFiguresInTheCurrentUnit)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 50 * GiB, 10 * GiB);
    PutInFolder(QStringLiteral("INIVAL.INI"), "[Form1]\ndd1=0\nGBView=1\n");
    StartActive();
    ASSERT_EQ(RowsOnScreen(), QStringLiteral("C"));
    ASSERT_EQ(form->Slot('D').S->Caption(), QStringLiteral("0"));
    FreeOnExit d{form->NewDShowForm()};
    EXPECT_FALSE(d.dialog->RowOf('D').C->Checked());
    ClickBox(*d.dialog, 'D');
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("CD"));
    EXPECT_EQ(form->Slot('D').S->Caption(), QStringLiteral("50.00"));
    EXPECT_EQ(form->Label5->Caption(), QStringLiteral(" 150.00"));
    EXPECT_TRUE(form->GBytesBut->Down());
}

TEST_F(DrivesToShowTest, AReleaseThatDoesNotToggleTheBoxChangesNothing)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 50 * GiB, 10 * GiB);
    fake.AddDrive('E', DRIVE_FIXED, 10 * GiB, 5 * GiB);
    StartActive();
    FreeOnExit d{form->NewDShowForm()};
    ClickBox(*d.dialog, 'E');
    const Snapshot before = Take();
    ASSERT_EQ(before.rows, QStringLiteral("CD"));

    for (char letter : {'D', 'E'}) { // a ticked box and a cleared one
        THyperCheckBox* box = d.dialog->RowOf(QLatin1Char(letter)).C;
        const bool ticked = box->Checked();
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(5, 8));
        SendRelease(box, Qt::LeftButton, QPoint(170, 8)); // outside the box
        SendRelease(box, Qt::RightButton, QPoint(5, 8));
        EXPECT_EQ(box->Checked(), ticked) << letter;
        EXPECT_EQ(Take(), before) << letter;
        EXPECT_EQ(form->Slot(QLatin1Char(letter)).Flag->Checked(), ticked) << letter;
    }
}

TEST_F(DrivesToShowTest, CloseBoxAndCloseButtonBothCopyTheBoxesAndFreeTheDialog)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    StartActive();
    form->Slot('K').Flag->setChecked(false); // no drive K: not listed, kept
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "button" : "close box");
        form->Slot('C').Flag->setChecked(true);
        QPointer<TDShowForm> shown;
        QTimer::singleShot(0, [&] {
            shown = ShownDialog();
            ASSERT_TRUE(shown); // (the modal loop would wait for ever)
            EXPECT_EQ(QApplication::activeModalWidget(), shown.data());
            EXPECT_EQ(shown->VisibleRows(), 1);
            // A box changed without its mouse-up reaches the flag on close.
            shown->RowOf('C').C->setChecked(false);
            if (byButton)
                QTest::mouseClick(shown->SpeedButton1, Qt::LeftButton, {}, QPoint(16, 11));
            else
                shown->close();
        });
        form->Options1Click(form->Options1);
        EXPECT_FALSE(form->Slot('C').Flag->Checked());
        EXPECT_FALSE(form->Slot('K').Flag->Checked());
        EXPECT_TRUE(form->Slot('D').Flag->Checked());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(shown.isNull());
    }
}

TEST_F(DrivesToShowTest, ChoicesMadeInTheDialogSurviveARestart)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    fake.AddDrive('D', DRIVE_FIXED, 50 * GiB, 10 * GiB);
    StartActive();
    QTimer::singleShot(0, [] {
        TDShowForm* d = ShownDialog();
        ASSERT_TRUE(d);
        ClickBox(*d, 'D');
        d->close();
    });
    form->Options1->Click();
    CloseAndEnd();
    Start();
    EXPECT_EQ(RowsOnScreen(), QStringLiteral("C"));
    EXPECT_FALSE(form->Slot('D').Flag->Checked());
}

// The window manager is told that the dialog belongs to the main window, so
// that it keeps the dialog above it and minimises and restores the two
// together; minimised on its own all the same, the dialog comes back as
// soon as the main window is activated.
TEST_F(DrivesToShowTest, TheDialogBelongsToTheMainWindowAndCannotBeLostBehindIt)
{
    fake.AddDrive('C', DRIVE_FIXED, 100 * GiB, 30 * GiB);
    Start();
    Application().MainForm = form.get();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QWindow* transientParent = nullptr;
    bool restored = false;
    QTimer::singleShot(0, [&] {
        TDShowForm* d = ShownDialog();
        ASSERT_TRUE(d);
        transientParent = d->windowHandle()->transientParent();
        d->showMinimized();
        QTest::qWait(20);
        form->activateWindow();
        for (int i = 0; i < 100 && d->isMinimized(); ++i)
            QTest::qWait(10);
        restored = !d->isMinimized() && d->isVisible();
        d->close();
    });
    form->Options1Click(form->Options1);
    Application().MainForm = nullptr;
    EXPECT_EQ(transientParent, form->windowHandle());
    EXPECT_TRUE(restored);
}
