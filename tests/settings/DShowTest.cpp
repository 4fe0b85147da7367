// The "Drives to show" dialog on a host of its own that records what the
// dialog asks of the main window: layout, boxes from the flags, the mouse-up
// handler on every release, the close paths and the modal show.
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "SettingsTestSupport.h"
#include "settings/DShow.h"

using namespace kestrix::test;

namespace {

// 24 flags and rows standing in for the main window's; every call is logged.
class RecordingHost : public TDShowHost {
public:
    RecordingHost()
    {
        for (int i = 0; i < 24; ++i) {
            flags[std::size_t(i)] = new TMenuItem(&owner);
            flags[std::size_t(i)]->setChecked(true);
            rows[std::size_t(i)] = new TGPanel(&window);
            rows[std::size_t(i)]->show();
        }
    }
    TMenuItem* ShowFlag(QChar letter) override { return flags.at(Index(letter)); }
    TGPanel* DriveRow(QChar letter) override { return rows.at(Index(letter)); }
    void ShowDrive(const QString& rootPath, TGPanel* row) override
    {
        log << "ShowDrive " + rootPath;
        row->show();
    }
    void ResizeDriveArea(int delta) override { log << QStringLiteral("Resize %1").arg(delta); }
    QObject* RunPressedUnitButtons() override
    {
        log << "Units";
        return nullptr;
    }
    void TotalBar(QObject* sender) override { log << "TotalBar " + sender->objectName(); }
    void DriveShow(QObject* sender) override { log << "DriveShow " + sender->objectName(); }

    static std::size_t Index(QChar letter) { return std::size_t(letter.toUpper().unicode() - 'C'); }

    QObject owner;
    QWidget window;
    std::array<TMenuItem*, 24> flags{};
    std::array<TGPanel*, 24> rows{};
    QStringList log;
};

std::size_t HostIndex(char letter)
{
    return RecordingHost::Index(QLatin1Char(letter));
}

void SendRelease(QWidget* w, Qt::MouseButton button, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class DShowTest : public ProgramFolderTest {
protected:
    RecordingHost host;
};

} // namespace

TEST_F(DShowTest, LayoutOfTheDialog)
{
    TDShowForm d(host);
    EXPECT_EQ(d.Caption(), "Drives to show");
    EXPECT_TRUE(d.windowFlags() & Qt::Tool);
    EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(d.Color(), clBtnFace);
    EXPECT_EQ(d.width(), 230);
    EXPECT_EQ(d.parent(), nullptr);

    EXPECT_EQ(d.TopPan->geometry(), QRect(0, 0, 230, 30));
    EXPECT_EQ(d.SpeedButton1->size(), QSize(33, 23));
    EXPECT_TRUE(d.SpeedButton1->Flat());
    EXPECT_EQ(d.SpeedButton1->NumGlyphs(), 4);
    EXPECT_EQ(d.HeaderControl1->geometry(), QRect(0, 30, 230, 17));
    ASSERT_EQ(d.HeaderControl1->SectionCount(), 2);
    EXPECT_EQ(d.HeaderControl1->Section(0).Text, "Available....");
    EXPECT_EQ(d.HeaderControl1->Section(0).Width, 106);
    EXPECT_EQ(d.HeaderControl1->Section(1).Text, "Type....");
    EXPECT_EQ(d.HeaderControl1->Section(1).Width, 130);

    for (char l = 'C'; l <= 'Z'; ++l) {
        const TDShowForm::Row& row = d.RowOf(QLatin1Char(l));
        const QString x{QLatin1Char(l)};
        SCOPED_TRACE(l);
        EXPECT_EQ(row.P->objectName(), "P" + x);
        EXPECT_TRUE(row.P->isHidden());
        EXPECT_FALSE(row.P->Active());
        EXPECT_EQ(row.P->size(), QSize(230, 20));
        EXPECT_EQ(row.C->objectName(), "C" + x);
        EXPECT_EQ(row.C->geometry(), QRect(8, 2, 80, 17));
        EXPECT_EQ(row.C->Caption(), "Drive " + x);
        EXPECT_EQ(row.C->FontColor(), clRed);
        EXPECT_EQ(row.C->ColorEnter(), clRed);
        EXPECT_EQ(row.C->ColorLeave(), clBlack);
        EXPECT_EQ(row.C->cursor().shape(), Qt::BitmapCursor); // the hand
        EXPECT_EQ(row.TL->objectName(), QStringLiteral("TL%1").arg(l - 'A' + 1));
        EXPECT_EQ(row.TL->x(), 116);
        EXPECT_TRUE(row.TL->Transparent());
        EXPECT_EQ(row.TL->Caption(), "..............");
    }
    EXPECT_EQ(d.FindComponent("TL3"), d.RowOf('C').TL);
    EXPECT_EQ(d.FindComponent("TL26"), d.RowOf('Z').TL);
    EXPECT_THROW(d.RowOf('B'), std::out_of_range);
}

TEST_F(DShowTest, RowsStackUnderTheHeaderAndTheHeightCountsTheFrame)
{
    TDShowForm d(host);
    for (char l : {'D', 'F', 'K'})
        d.RowOf(QLatin1Char(l)).P->show();
    EXPECT_EQ(d.VisibleRows(), 3);
    // Three rows: the layout's 20 x 3 + 30 + 40 = 130 counts a Windows tool
    // window's caption and frame (23); the client area holds 30 + 17 + 60.
    d.setOuterHeight(130);
    EXPECT_EQ(d.OuterHeight(), 130);
    EXPECT_EQ(d.height(), 107);
    EXPECT_EQ(d.RowOf('D').P->geometry(), QRect(0, 47, 230, 20));
    EXPECT_EQ(d.RowOf('F').P->geometry(), QRect(0, 67, 230, 20));
    EXPECT_EQ(d.RowOf('K').P->geometry(), QRect(0, 87, 230, 20));

    // Red captions on the button face; the pointer passing over a box leaves
    // its caption black.
    const QImage before = Render(&d);
    EXPECT_EQ(PixelAt(before, 100, 57), PixelToColor(ToPixel(clBtnFace)));
    EXPECT_GT(CountColor(before, 25, 47, 88, 67, clRed), 40);
    SendEnter(d.RowOf('D').C);
    SendLeave(d.RowOf('D').C);
    const QImage after = Render(&d);
    EXPECT_EQ(CountColor(after, 25, 47, 88, 67, clRed), 0);
    EXPECT_EQ(CountColor(after, 25, 47, 88, 67, clBlack), CountColor(before, 25, 47, 88, 67, clRed));
    if (HasFailure())
        SaveForInspection(before, "dshow");
}

TEST_F(DShowTest, OnScaledDesktopsTheDialogIsItsOneTimesPictureScaled)
{
    TDShowForm d(host);
    for (char l : {'C', 'D', 'F'})
        d.RowOf(QLatin1Char(l)).P->show();
    d.setOuterHeight(130);
    d.RowOf('D').TL->setCaption(QStringLiteral("Removable"));
    const QImage one = Render(&d);
    ASSERT_EQ(one.size(), QSize(230, 107));
    const QImage two = RenderAtRatio(&d, 2);
    EXPECT_EQ(DifferingPixels(two, Blocks(one, 2)), 0);
    if (HasFailure())
        SaveForInspection(two, "dshow-2x");
    // The three rows' type labels, whole and in their boxes.
    EXPECT_EQ(ExpectCaptionsInTheirScaledBoxes(&d, 1.5), 3);
}

TEST_F(DShowTest, BoxesStartFromTheFlagsAndGoBackIntoThemOnClose)
{
    host.flags[HostIndex('D')]->setChecked(false);
    host.flags[HostIndex('Z')]->setChecked(false);
    auto* d = new TDShowForm(host);
    const QPointer<TDShowForm> alive(d);
    EXPECT_TRUE(d->RowOf('C').C->Checked());
    EXPECT_FALSE(d->RowOf('D').C->Checked());
    EXPECT_FALSE(d->RowOf('Z').C->Checked());

    // Boxes changed without a mouse-up reach the flags only when it closes.
    d->RowOf('C').C->setChecked(false);
    d->RowOf('Z').C->setChecked(true);
    EXPECT_TRUE(host.flags[HostIndex('C')]->Checked());
    d->close();
    EXPECT_FALSE(host.flags[HostIndex('C')]->Checked());
    EXPECT_FALSE(host.flags[HostIndex('D')]->Checked());
    EXPECT_TRUE(host.flags[HostIndex('Z')]->Checked());
    EXPECT_TRUE(host.log.isEmpty());
    // Freed once closed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST_F(DShowTest, EveryReleaseOverABoxRunsTheHandlerWithTheBoxState)
{
    TDShowForm d(host);
    THyperCheckBox* box = d.RowOf('E').C;
    const QStringList refresh = {"Units", "TotalBar CE", "DriveShow CE"};

    // A click clears the box: row hidden, window 20 smaller, flag cleared,
    // then units, totals and the refresh.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(host.rows[HostIndex('E')]->isHidden());
    EXPECT_FALSE(host.flags[HostIndex('E')]->Checked());
    EXPECT_EQ(host.log, QStringList{"Resize -20"} + refresh);

    // Released outside the box, or with the right button: no toggle, and the
    // row is set again from the unchanged box.
    host.log.clear();
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(5, 8));
    SendRelease(box, Qt::LeftButton, QPoint(150, 8));
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(host.rows[HostIndex('E')]->isHidden());
    SendRelease(box, Qt::RightButton, QPoint(5, 8));
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(host.log, QStringList{"Resize -20"} + refresh + QStringList{"Resize -20"} + refresh);

    // Ticked again: shown, 20 larger, flag set.
    host.log.clear();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(box->Checked());
    EXPECT_FALSE(host.rows[HostIndex('E')]->isHidden());
    EXPECT_TRUE(host.flags[HostIndex('E')]->Checked());
    EXPECT_EQ(host.log, QStringList{"Resize 20"} + refresh);

    // The keyboard toggles the box but is no mouse-up: nothing else changes.
    host.log.clear();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(host.log.isEmpty());
    EXPECT_TRUE(host.flags[HostIndex('E')]->Checked());
}

TEST_F(DShowTest, ShownModallyCentredAndClosedByItsButtonOrItsCloseBox)
{
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "button" : "close box");
        auto* d = new TDShowForm(host);
        const QPointer<TDShowForm> alive(d);
        d->RowOf('C').P->show();
        d->RowOf('D').P->show();
        d->setOuterHeight(110);
        d->RowOf('D').C->setChecked(false);
        host.flags[HostIndex('D')]->setChecked(true);
        bool wasModal = false;
        QPoint shownAt;
        QTimer::singleShot(0, [&] {
            wasModal = d->isVisible() && QApplication::activeModalWidget() == d;
            shownAt = d->pos();
            if (byButton)
                QTest::mouseClick(d->SpeedButton1, Qt::LeftButton, {}, QPoint(16, 11));
            else
                d->close();
        });
        d->ShowModal();
        EXPECT_TRUE(wasModal);
        // (1024 - 230) / 2, (768 - 87) / 2: the client area centred.
        EXPECT_EQ(shownAt, QPoint(397, 340));
        EXPECT_FALSE(host.flags[HostIndex('D')]->Checked());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());
    }
}
