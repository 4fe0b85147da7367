// The drive table refresh: which rows are shown, the window's height, and
// the pipeline that refills every row on each activation and on Reload.
#include <QEvent>
#include <algorithm>
#include <limits>

#include "app/STSMain.h"

QString DriveSlot::RootPath() const
{
    return QString(Letter) + QStringLiteral(":\\");
}

bool DriveSlot::RowVisible() const
{
    return Pan && !Pan->isHidden();
}

int UsedPercent(std::int64_t size, std::int64_t free)
{
    const std::int64_t hundredth = size / 100;
    if (hundredth == 0)
        return 0;
    const std::int64_t p = 100 - free / hundredth;
    return int(std::clamp<std::int64_t>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::int64_t AddBytes(std::int64_t a, std::int64_t b)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return sum;
}

std::int64_t SubtractBytes(std::int64_t a, std::int64_t b)
{
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return difference;
}

bool DriveFigures(const DriveSlot& slot, std::int64_t& size, std::int64_t& free)
{
    if (!DriveAvailable(slot.Letter))
        return false;
    size = DiskSize(slot.DriveNumber());
    free = DiskFree(slot.DriveNumber());
    return true;
}

void TForm1::ShowDrive(const QString& rootPath, TGPanel* row)
{
    switch (CurrentPlatform().GetDriveType(rootPath)) {
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
    case DRIVE_UNKNOWN:
    case DRIVE_REMOTE:
    case DRIVE_CDROM:
    case DRIVE_REMOVABLE:
        row->show();
        break;
    default: // no such root: the row stays as it is
        break;
    }
}

void TForm1::DriveShow(QObject* sender)
{
    for (DriveSlot& s : Slots)
        if (s.Flag->Checked())
            ShowDrive(s.RootPath(), s.Pan);
    FormActivate(sender);
}

void TForm1::FitToRows()
{
    // The client area below the menu bar holds exactly PanKestrix and the
    // status bar.
    const int n = int(std::count_if(Slots.begin(), Slots.end(), [](const DriveSlot& s) { return s.RowVisible(); }));
    int panHeight = TopPanel->height() + HeaderPanel->height() + PanGuage->height() + kDriveRowHeight * n;
    if (!PanDet->isHidden())
        panHeight += PanDet->height();
    SetPanKestrixHeight(panHeight);
    setHeight(MenuBarHeight() + panHeight + StatBar->height());
}

void TForm1::FormActivate(QObject* sender)
{
    // Every figure below is read in this one pass: the drives that may hang
    // are asked together first, and each drive once.
    const DrivePass pass(CurrentPlatform());
    // Every gauge, lamp and button it rewrites is painted once, after it.
    const TRedrawBatch redraws;

    // The window fits its rows.
    FitToRows();

    // The figures in the unit of the pressed button.
    QObject* last = RunPressedUnitButtons();
    if (!last)
        last = sender;

    // The percentage of every answering drive, shown or not.
    for (DriveSlot& s : Slots) {
        std::int64_t size = 0, free = 0;
        if (!DriveFigures(s, size, free))
            continue;
        s.Per->setProgress(UsedPercent(size, free));
        s.G->setPercent(s.Per->Progress());
    }

    // Then the totals, the display names, the lamps and the memory panel.
    TotalBar(last);
    VolumeSort();
    LedSort();
    SysInfo(last);
}

void TForm1::ReloadButClick(QObject* sender)
{
    // A walk under way stops at once: its figures are about to be refreshed
    // away, and the panel it would open is closed by a reload.
    if (ScanRunning)
        ScanStop = true;
    pendingDriveClick_ = nullptr;
    if (!PanDet->isHidden())
        DetCloseButClick(sender);
    ReloadBut->setDown(false);
    for (DriveSlot& s : Slots) {
        if (!s.RowVisible())
            continue;
        s.Button->setEnabled(false);
        s.VolLabel->setCaption(QStringLiteral("-"));
        s.S->setCaption(QStringLiteral("0"));
        s.F->setCaption(QStringLiteral("0"));
        s.U->setCaption(QStringLiteral("0"));
        s.G->setPercent(0);
        s.Per->setProgress(0);
        s.Led->setTrueColor(clLime);
    }
    DriveShow(sender);
}

void TForm1::PlaceRowInLetterOrder(TGPanel* row)
{
    // Top-aligned panels stack by their Top, and a hidden row keeps the Top
    // it had when it was last shown. A row about to be shown therefore takes
    // the Top of the next shown row after it in letter order (it goes first
    // among equals), or goes below everything when no later row is shown.
    const auto self = std::find_if(Slots.begin(), Slots.end(), [row](const DriveSlot& s) { return s.Pan == row; });
    if (self == Slots.end())
        return;
    for (auto next = self + 1; next != Slots.end(); ++next) {
        if (next->RowVisible()) {
            row->move(row->x(), next->Pan->y());
            return;
        }
    }
    int bottom = 0;
    for (QObject* o : PanKestrix->children())
        if (auto* c = qobject_cast<TControl*>(o); c && c != row && !c->isHidden() && c->Align() == TAlign::alTop)
            bottom = std::max(bottom, c->y() + c->height());
    row->move(row->x(), bottom);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShowToParent)
        if (auto* row = qobject_cast<TGPanel*>(watched))
            PlaceRowInLetterOrder(row);
    return TForm::eventFilter(watched, event);
}
