// The fill-level indicators of the rows (display names, LED classes, the
// drive buttons) and the totals bar.
#include "app/STSMain.h"
#include "drives/cxDrive10.h"

void TForm1::VolumeSort()
{
    for (DriveSlot& s : Slots) {
        if (!s.RowVisible())
            continue;
        const std::shared_ptr<TDriveInfo> record = cxDriveInfo().Drives(s.DriveIndex());
        const std::shared_ptr<TDriveShellInfo> shell = record->ShellInfo();
        s.VolLabel->setCaption(shell ? shell->DisplayName() : QString());
    }
}

void TForm1::LedSort()
{
    Platform& platform = CurrentPlatform();
    // Type pass over all 24 letters: CD/DVD and removable drives keep their
    // class whatever they hold.
    for (DriveSlot& s : Slots) {
        switch (platform.GetDriveType(s.RootPath())) {
        case DRIVE_REMOVABLE:
            s.Led->setTrueColor(clFuchsia);
            break;
        case DRIVE_CDROM:
            s.Led->setTrueColor(clBlue);
            break;
        default:
            break;
        }
    }
    // Fill pass over the shown, answering drives. Lime is never set here:
    // a drive that empties turns lime at the next Reload.
    for (DriveSlot& s : Slots) {
        std::int64_t size = 0, free = 0;
        if (!s.RowVisible() || !DriveFigures(s, size, free))
            continue;
        s.Button->setEnabled(size > 0);
        switch (platform.GetDriveType(s.RootPath())) {
        case DRIVE_UNKNOWN:
        case DRIVE_FIXED:
        case DRIVE_REMOTE:
        case DRIVE_RAMDISK: {
            const int used = UsedPercent(size, free);
            if (used > 60)
                s.Led->setTrueColor(clYellow);
            if (used > 90)
                s.Led->setTrueColor(clRed);
            break;
        }
        default:
            break;
        }
        DInfo->setDrive(QString(s.Letter));
    }
}

void TForm1::ShownTotals(std::int64_t& size, std::int64_t& free)
{
    size = free = 0;
    for (DriveSlot& s : Slots) {
        std::int64_t driveSize = 0, driveFree = 0;
        if (s.RowVisible() && DriveFigures(s, driveSize, driveFree)) {
            size = AddBytes(size, driveSize);
            free = AddBytes(free, driveFree);
        }
    }
}

void TForm1::TotalBar(QObject*)
{
    // The used share of the summed bytes: a large drive weighs more.
    std::int64_t totalSize = 0, totalFree = 0;
    ShownTotals(totalSize, totalFree);
    TotalB->setProgress(UsedPercent(totalSize, totalFree));
    TotalBG->setPercent(TotalB->Progress());
}
