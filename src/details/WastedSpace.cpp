// The walk of a drive and its results in the details panel: files, folders,
// the wasted space (the space the volume reports as used beyond the bytes
// of the files), its two percentages and the bar of files, wasted and free
// space.
#include <algorithm>

#include "app/FormatNumber.h"
#include "app/STSMain.h"
#include "toolkit/Application.h"

namespace {

const QString kZeroPercent = QStringLiteral("0.00%");

// The text of a percentage label before its first ".".
QString WholePart(const QString& percent)
{
    const qsizetype dot = percent.indexOf(QLatin1Char('.'));
    return dot < 0 ? percent : percent.left(dot);
}

// A share in hundredths of a percent by a pattern; 0.00% for a divisor of
// zero (a drive or a total too small to be divided into hundredths).
QString Percent(long double value, std::int64_t divisor, const QString& pattern)
{
    return divisor == 0 ? kZeroPercent : FormatNumber(value / divisor, pattern);
}

} // namespace

bool TForm1::Duf1()
{
    if (ScanRunning)
        return false;
    const QString letter = DInfo->Drive();
    QString root = letter + QLatin1Char(':');
    if (!root.endsWith(QLatin1Char('\\')))
        root += QLatin1Char('\\');

    // The busy indication, taken down again however the walk ends.
    Application().setCursor(TCursor::crHourGlass);
    Led_Statbar->setTrueColor(255);
    Label_Calc->show();
    struct Busy {
        TForm1& form;
        ~Busy()
        {
            form.ScanRunning = false;
            form.BMDThread1->Stop();
            form.ScanStop = false;
            form.Label_Calc->hide();
            form.Led_Statbar->setTrueColor(65280);
            Application().setCursor(TCursor::crDefault);
        }
    } busy{*this};

    ScanStop = false;
    DirList->Reset(root);
    BMDThread1->Start();
    ScanRunning = true;
    DirList->Scan(ScanStop, [this](const QString& text) { ScanStatus(text); }, 1, ScanPacing);
    ScanRunning = false;

    // A stopped walk was stopped by a user who wants something else.
    if (ScanStop) {
        ScanStatus(QString());
        return false;
    }
    // The walk's own event-loop passes may have pointed DInfo elsewhere.
    if (DInfo->Drive() != letter)
        DInfo->setDrive(letter);
    ShowScanResults(*DirList);
    return true;
}

void TForm1::ShowScanResults(const TDirectoryFolder& List)
{
    const std::int64_t drive = DInfo->TotalDiskSpace();

    // The two base figures, read back as the later steps use them.
    LDiskUsed->setCaption(QString::number(SubtractBytes(drive, DInfo->DiskFreeSpace())));
    LGetTotal->setCaption(QString::number(List.TotalSize()));
    const std::int64_t used = LDiskUsed->Caption().toLongLong();
    const std::int64_t total = LGetTotal->Caption().toLongLong();
    const std::int64_t wasted = SubtractBytes(used, total);

    // The wasted space in the unit; with no unit pressed it keeps its text.
    if (const SizeUnitInfo* unit = CurrentUnit()) {
        const QString whole = QStringLiteral("#,###  ;;0  ");
        const QString decimals = QStringLiteral("#,##0.00;;0");
        switch (unit->Unit) {
        case TSizeUnit::Bytes:
            LWasted->setCaption(FormatNumber(wasted, whole) + QStringLiteral(" Bytes"));
            break;
        case TSizeUnit::KBytes:
            LWasted->setCaption(FormatNumber(used / 1024.0L - total / 1024.0L, whole) + QStringLiteral(" KB"));
            break;
        case TSizeUnit::MBytes:
            LWasted->setCaption(FormatNumber(used / 1048576.0L - total / 1048576.0L, decimals) + QStringLiteral(" MB"));
            break;
        case TSizeUnit::GBytes:
            LWasted->setCaption(FormatNumber(used / 1073741824.0L - total / 1073741824.0L, decimals)
                                + QStringLiteral(" GB"));
            break;
        }
    }

    LFolders->setCaption(FormatNumber(List.FolderCount(), QStringLiteral("#,##0")));
    LFiles->setCaption(FormatNumber(List.EntryCount() - 3 * List.FolderCount(), QStringLiteral("#,###;;0")));

    // The used share in hundredths of a percent (the product in floating
    // point: a 64-bit product would overflow beyond 92 PB).
    LPUsed->setCaption(Percent(used * 100.0L, drive / 100, QStringLiteral("###\".\"00%;;0.00%")));

    if (used < 1048576) {
        LPUsedW->setCaption(kZeroPercent);
        LPDWaste->setCaption(kZeroPercent);
    } else {
        const QString pattern = QStringLiteral("#0\".\"00%;;0.00%");
        const long double wastedHundredths = wasted / 1024.0L * 100;
        LPUsedW->setCaption(Percent(wastedHundredths, total / 1024 / 100, pattern));
        LPDWaste->setCaption(Percent(wastedHundredths, drive / 1024 / 100, pattern));
    }

    ScanStatus(QString());

    // 100 % of the drive spans 500 pixels; a negative wasted share has
    // no width.
    const int files = 5 * WholePart(LPUsed->Caption()).toInt();
    Sector_Files->resize(std::clamp(files, 0, 500), Sector_Files->height());
    int wastedWidth = 0;
    if (LPDWaste->Caption() != kZeroPercent) {
        const QString whole = WholePart(LPDWaste->Caption());
        if (whole != QLatin1String("0"))
            wastedWidth = 5 * whole.toInt();
        else
            wastedWidth = LPDWaste->Caption().mid(whole.size() + 1, 1).toInt() / 2;
    }
    Sector_Wasted->resize(std::max(0, wastedWidth), Sector_Wasted->height());
    // Aligned now, also while the panel is hidden (a hidden control gets its
    // resize only when it is shown).
    Sector_Files->Realign();
}

void TForm1::ScanStatus(const QString& Text)
{
    if (TStatusPanel* panel = StatBar->Panels().Items(1))
        panel->setText(Text);
}
