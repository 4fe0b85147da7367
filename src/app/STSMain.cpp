// The main window's own lifecycle: creation, show, close and destruction,
// the exit command and the routing of hints into the status bar.
#include "app/STSMain.h"

#include <QFile>

#include "app/ColorSchemes.h"
#include "app/Splash.h"
#include "toolkit/Application.h"

TForm1::~TForm1()
{
    // The settings store saves here. A refused write must not leave a
    // destructor: it is shown as any handler's error is, and the rest of the
    // clean-up goes on.
    Application().RunHandler([this] { DoDestroy(); });
    // The hint handler points at this window.
    Application().OnHint = nullptr;
    if (Application().MainForm == this)
        Application().MainForm = nullptr;
}

DriveSlot& TForm1::Slot(QChar letter)
{
    // A letter outside C..Z names no slot: at() refuses it.
    return Slots.at(std::size_t(letter.toUpper().unicode() - 'C'));
}

void TForm1::setHeight(int h)
{
    if (h != height() || minimumHeight() != h || maximumHeight() != h)
        setFixedSize(width(), h);
    // A window that is not on screen gets its resize event only when it is
    // shown: place the menu bar and the panels now, so that they are right
    // whenever the window is looked at.
    const int menu = MainMenu1->heightForWidth(width());
    MainMenu1->setGeometry(0, 0, width(), menu > 0 ? menu : MainMenu1->sizeHint().height());
    Realign();
}

void TForm1::SetPanKestrixHeight(int h)
{
    PanKestrix->resize(PanKestrix->width(), h);
    PanKestrix->Realign();
}

void TForm1::FormCreate(QObject*)
{
    // Restore every check mark: show flags, unit flags, scheme, on top.
    IniVal->Load();

    // Rows of flagged, existing drives.
    for (DriveSlot& s : Slots)
        if (s.Flag->Checked())
            ShowDrive(s.RootPath(), s.Pan);

    // The first height; the first activation fits it to the rows.
    setHeight(315);

    // The help file beside the program.
    Platform& platform = CurrentPlatform();
    Application().setHelpFile(platform.ProgramFolder() + QStringLiteral("Kestrix4.hlp"));

    // Hints go to the status bar.
    Application().OnHint = [this](QObject* s) { ShowHint(s); };
    Application().TrackHints();

    // Without a position file the window starts in the middle of the screen.
    if (!QFile::exists(platform.ProgramFolder() + QStringLiteral("kespos.ini"))) {
        const QSize screen = platform.ScreenSize();
        move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
    }

    // The directory walk's flags (its root list comes with the walk).
    ScanRunning = false;
    ScanStop = false;

    // The one memory reading of the run, shown by the memory panel.
    MemStatus = MemoryStatus();
    MemStatus.Length = 32;
    platform.GlobalMemoryStatus(MemStatus);
    SysInfo(this);

    // The unit of the restored flag; a later flag's button releases
    // an earlier one.
    IniVal->Load();
    const std::pair<TAction*, TLbSpeedButton*> units[] = {
        {BView, BytesBut}, {KBView, KBytesBut}, {MBView, MBytesBut}, {GBView, GBytesBut}};
    for (const auto& [flag, button] : units)
        if (flag->Checked())
            button->setDown(true);
    IniVal->Load();

    // The restored colour scheme onto the bottom panel, then over the
    // window. The light colour is white for every scheme here, System Colors
    // included; the last ticked item wins.
    for (std::size_t i = 0; i < Cs.size(); ++i) {
        if (Cs[i]->Checked()) {
            PanGuage->setColor_1(0xFFFFFF);
            PanGuage->setColor_2(kSchemes[i].Middle);
            PanGuage->setColor_3(kSchemes[i].Dark);
        }
    }
    ColorSort(this);

    // The restored "Stay on Top" mark takes effect: a user who ticked it
    // expects the window on top from the start.
    KTop1->setKTop(StayonTop1->Checked());

    // The window is built: the splash screen goes.
    if (SplashScreen)
        SplashScreen->hide();
}

void TForm1::FormShow(QObject*)
{
    // The animation putting the window back on the screen is no new show
    // (and a close asked for meanwhile must stay asked for).
    if (Smooth1->Running())
        return;
    // The window takes its real height before the outline is planned, so
    // that the outline ends where the window then appears (the first
    // activation would size it only after the animation has started).
    FitToRows();
    Smooth1->setReverse(false);
    Smooth1->Start();
}

void TForm1::FormHide(QObject*)
{
}

void TForm1::FormCloseQuery(QObject*, bool& canClose)
{
    // A disabled animation would never finish the close, and a window that
    // is not on screen (hidden to the tray, or never shown) has nothing to
    // animate: either closes at once.
    if (!Smooth1->Enabled() || !isVisible()) {
        canClose = true;
        return;
    }
    if (!Smooth1->Reverse()) {
        // The closing animation; its end hides the window and asks again.
        Smooth1->setReverse(true);
        Smooth1->Start();
        canClose = false;
    } else {
        canClose = true;
    }
}

void TForm1::FormClose(QObject*, TCloseAction&)
{
    // An error escaping here would refuse this close and every later one, so
    // the user could never quit: it is shown, and the window closes all the
    // same (the settings are still saved at destruction).
    Application().RunHandler([this] {
        // The scheme's check mark follows the colours shown, so that it is saved.
        Colors1Click(this);
        SavedForm1->SaveRequest();
    });
}

void TForm1::FormDestroy(QObject*)
{
    // The walk's root list is freed here once the walk exists.
}

void TForm1::ExitButClick(QObject*)
{
    Close();
}

void TForm1::ShowHint(QObject*)
{
    if (TStatusPanel* panel = StatBar->Panels().Items(1))
        panel->setText(Application().Hint());
}
