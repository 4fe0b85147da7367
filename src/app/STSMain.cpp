// The main window's own lifecycle: creation, show, close and destruction,
// the exit command and the routing of hints into the status bar; and the
// handlers whose behaviour comes with later parts of the program.
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
    try {
        DoDestroy();
    } catch (const std::exception& e) {
        Application().HandleException(e);
    }
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
    // 1. Restore every check mark: show flags, unit flags, scheme, on top.
    IniVal->Load();

    // 2. Rows of flagged, existing drives.
    for (DriveSlot& s : Slots)
        if (s.Flag->Checked())
            ShowDrive(s.RootPath(), s.Pan);

    // 3. The first height; the first activation fits it to the rows.
    setHeight(315);

    // 4. The help file beside the program (an installed copy's lies with
    // its other read-only files).
    Platform& platform = CurrentPlatform();
    Application().setHelpFile(platform.DataFolder() + QStringLiteral("Kestrix4.hlp"));

    // 5. Hints go to the status bar.
    Application().OnHint = [this](QObject* s) { ShowHint(s); };
    Application().TrackHints();

    // 6. Without a position file the window starts in the middle of the
    // screen. The file is looked for where the position saver keeps it.
    if (!QFile::exists(platform.ProgramFolder() + QStringLiteral("kespos.ini"))) {
        const QSize screen = platform.ScreenSize();
        move(screen.width() / 2 - width() / 2, screen.height() / 2 - height() / 2);
    }

    // 7. The directory walk's flags (its root list comes with the walk).
    ScanRunning = false;
    ScanStop = false;

    // 8. The one memory reading of the run, shown by the memory panel.
    MemStatus = MemoryStatus();
    MemStatus.Length = 32;
    platform.GlobalMemoryStatus(MemStatus);
    SysInfo(this);

    // 9. - 11. The unit of the restored flag; a later flag's button releases
    // an earlier one.
    IniVal->Load();
    const std::pair<TAction*, TLbSpeedButton*> units[] = {
        {BView, BytesBut}, {KBView, KBytesBut}, {MBView, MBytesBut}, {GBView, GBytesBut}};
    for (const auto& [flag, button] : units)
        if (flag->Checked())
            button->setDown(true);
    IniVal->Load();

    // 12. The restored colour scheme onto the bottom panel, then over the
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

    // 13. The window is built: the splash screen goes.
    if (SplashScreen)
        SplashScreen->hide();
}

void TForm1::FormShow(QObject*)
{
    setSmoothReverse(false);
    SmoothStart();
}

void TForm1::FormHide(QObject*)
{
}

void TForm1::FormCloseQuery(QObject*, bool& canClose)
{
    // Without the animation a close request passes at once, as a disabled
    // animation would let it.
    if (!SmoothEnabled()) {
        canClose = true;
        return;
    }
    if (!SmoothReverse()) {
        setSmoothReverse(true);
        SmoothStart();
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
    try {
        // The scheme's check mark follows the colours shown, so that it is saved.
        Colors1Click(this);
        SavedForm1->SaveRequest();
    } catch (const std::exception& e) {
        Application().HandleException(e);
    }
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

// --- operations of components that come with later parts ----------------------

// Zoom animation: plays the outline from or to the desktop's centre.
void TForm1::SmoothStart() {}

// --- handlers whose behaviour comes with later parts ----------------------------

// Info window on sizes and clusters; releases SizeInfoBut.
void TForm1::SizeInfoButClick(QObject*) {}

// Stay-on-top: toggles the check mark and the window's top-most state.
void TForm1::StayonTop1Click(QObject*) {}

// Help, web site and about box.
void TForm1::mnHtmlHelpClick(QObject*) {}
void TForm1::mnWinHelpClick(QObject*) {}
void TForm1::TolvaneWebsite1Click(QObject*) {}
void TForm1::About1Click(QObject*) {}

// Control-panel applet launcher (its menus are hidden).
void TForm1::MS1Click(QObject*) {}
void TForm1::SystemUtils(QObject*) {}

// Tray icon: show the window again / hide it at once.
void TForm1::TrayShowClick(QObject*) {}
void TForm1::CaptionButton1Click(QObject*) {}

// Zoom animation: the window hides at the end of the closing animation and
// then closes for good.
void TForm1::SmoothShow1Finishing(QObject*) {}
void TForm1::SmoothShow1Finish(QObject*) {}
