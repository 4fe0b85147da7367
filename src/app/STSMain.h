// The main window: one fixed row per drive letter C..Z under a toolbar and
// a header, the totals and the memory panel below them, a status bar, the
// main menu, the tray menu and the actions. Its methods live with the part
// of the program they belong to: the layout in STSMainLayout.cpp, the
// lifecycle here in STSMain.cpp, the refresh in Refresh.cpp, the size units
// in Units.cpp, the LEDs, names and totals in FillLevels.cpp.
#pragma once

#include <QMenu>
#include <QMenuBar>
#include <array>

#include "app/DriveSlot.h"
#include "app/Units.h"
#include "drives/DiskInfo.h"
#include "platform/Platform.h"
#include "settings/DShow.h"
#include "settings/IniVal.h"
#include "settings/TSavedFormUnit.h"
#include "shell/AMHSysDlg.h"
#include "shell/CoolTrayIcon.h"
#include "shell/KTop.h"
#include "shell/Smooth.h"
#include "toolkit/Action.h"
#include "toolkit/Form.h"
#include "toolkit/HeaderControl.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/MenuItem.h"
#include "toolkit/Panel.h"
#include "toolkit/StatusBar.h"
#include "widgets/ALed.h"
#include "widgets/GPanel.h"
#include "widgets/Gauges.h"
#include "widgets/LbSpeedButton.h"
#include "widgets/ProCtrls.h"
#include "widgets/ProStBar.h"
#include "widgets/STGauge.h"

class TForm1 : public TForm, public TDShowHost {
    Q_OBJECT
public:
    // Builds the layout, then runs the creation handler (FormCreate).
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // --- the layout -------------------------------------------------------
    TProPanel* PanKestrix = nullptr;

    TGPanel* TopPanel = nullptr;
    TLbSpeedButton* ReloadBut = nullptr;
    TLbSpeedButton* SizeInfoBut = nullptr;
    TLbSpeedButton* BytesBut = nullptr;
    TLbSpeedButton* KBytesBut = nullptr;
    TLbSpeedButton* MBytesBut = nullptr;
    TLbSpeedButton* GBytesBut = nullptr;
    TProPanel* ProPanel2 = nullptr;
    TImage* Image2 = nullptr;
    TLabel* Label8 = nullptr;
    TPanel* PanelKey = nullptr;
    TLbSpeedButton* ExitBut = nullptr;

    TPanel* HeaderPanel = nullptr;
    THeaderControl* HeaderControl1 = nullptr;

    // C..Z in letter order; Slot('E') finds one.
    std::array<DriveSlot, kDriveSlots> Slots;
    DriveSlot& Slot(QChar letter);

    // The details panel; its contents and handlers come with the details
    // panel itself.
    TGPanel* PanDet = nullptr;

    TGPanel* PanGuage = nullptr;
    TLabel* LabelTotals = nullptr;
    TGPanel* PanTotSize = nullptr;
    TGPanel* PanTotFree = nullptr;
    TGPanel* PanTotUsed = nullptr;
    TLabel* Label5 = nullptr; // total size
    TLabel* Label6 = nullptr; // total free
    TLabel* Label7 = nullptr; // total used
    TSTGauge* TotalBG = nullptr;
    TGauge* TotalB = nullptr;
    TProPanel* GM_RPan = nullptr;
    TProPanel* GM_SPan = nullptr;
    TProPanel* GM_LPan = nullptr;
    TSTGauge* GM_R = nullptr;
    TSTGauge* GM_S = nullptr;
    TSTGauge* GM_L = nullptr;
    TLabel* GM_RL = nullptr;
    TLabel* GM_SL = nullptr;
    TLabel* GM_LL = nullptr;
    TLabel* LabelAvailable = nullptr;
    TLabel* LabelRAM = nullptr;
    TLabel* LabelSwap = nullptr;
    TProPanel* LRAM = nullptr;
    TProPanel* LSwap = nullptr;
    TLbSpeedButton* BRbytes = nullptr;
    TLbSpeedButton* BRkb = nullptr;
    TLbSpeedButton* BRmb = nullptr;
    // Scratch values of the directory walk, never shown.
    TLabel* LGetTotal = nullptr;
    TLabel* LDiskUsed = nullptr;
    TLabel* LFilesGross = nullptr;
    TLabel* LFoldersGross = nullptr;

    TProStatusBar* StatBar = nullptr;
    TLabel* Label_Calc = nullptr;
    ThhALed* Led_Statbar = nullptr;

    QMenuBar* MainMenu1 = nullptr;
    TMenuItem* FileDrives = nullptr;
    TMenuItem* MReload = nullptr;
    TMenuItem* MExit = nullptr;
    TMenuItem* View1 = nullptr;
    TMenuItem* Options1 = nullptr;
    TMenuItem* Colors1 = nullptr;
    std::array<TMenuItem*, 6> Cs{}; // Cs0 .. Cs5
    TMenuItem* GeneralInfo1 = nullptr;
    TMenuItem* StayonTop1 = nullptr;
    TMenuItem* System1 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* mnHtmlHelp = nullptr;
    TMenuItem* mnWinHelp = nullptr;
    TMenuItem* TolvaneWebsite1 = nullptr;
    TMenuItem* About1 = nullptr;
    TMenuItem* drives = nullptr;

    // The tray icon's menu.
    QMenu* TrayMenu = nullptr;
    TMenuItem* About2 = nullptr;
    TMenuItem* Help2 = nullptr;
    TMenuItem* ShowKestrix1 = nullptr;
    TMenuItem* HideKestrix1 = nullptr;
    TMenuItem* ExitKestrix1 = nullptr;

    TAction* Exit = nullptr;
    TAction* BView = nullptr;
    TAction* KBView = nullptr;
    TAction* MBView = nullptr;
    TAction* GBView = nullptr;
    TAction* Reload = nullptr;

    // The current drive of the LED pass and of the details panel.
    TDiskInfo* DInfo = nullptr;
    // Every check mark of the window in INIVAL.INI beside the program,
    // loaded at creation and saved at destruction.
    TIniVal* IniVal = nullptr;
    // The window's place per screen resolution in kespos.ini, loaded while
    // the layout completes and saved when the window closes.
    TSavedForm* SavedForm1 = nullptr;
    // The zoom animation of showing and closing, and the stay-on-top state.
    TSmooth* Smooth1 = nullptr;
    TKTop* KTop1 = nullptr;
    // The icon in the notification area, with TrayMenu on either button.
    TCoolTrayIcon* CoolTrayIcon1 = nullptr;
    // The control-panel applets of the (hidden) system menus.
    TAMHSysDlg* SysDialog = nullptr;

    // --- state ------------------------------------------------------------
    // The one memory reading of the run, taken in FormCreate.
    MemoryStatus MemStatus;
    // The directory walk's flags: a walk is running, a stop was asked for.
    bool ScanRunning = false;
    bool ScanStop = false;

    // Height of the whole window: menu bar and client area. The window is
    // not resizable by the user; this is its one size.
    int Height() const { return height(); }
    void setHeight(int h);
    // Height of PanKestrix, the panel of the toolbar, rows and bottom panel.
    void SetPanKestrixHeight(int h);

    // --- lifecycle --------------------------------------------------------
    void FormCreate(QObject* sender);
    void FormShow(QObject* sender);
    void FormHide(QObject* sender);
    void FormCloseQuery(QObject* sender, bool& canClose);
    void FormClose(QObject* sender, TCloseAction& action);
    void FormDestroy(QObject* sender);
    void ExitButClick(QObject* sender);
    void ShowHint(QObject* sender);

    // --- drive table refresh ------------------------------------------------
    // Shows the row when the root names an existing drive; never hides it.
    void ShowDrive(const QString& rootPath, TGPanel* row) override;
    void DriveShow(QObject* sender) override;
    void FormActivate(QObject* sender);
    // The first steps of FormActivate: the window takes the height of its
    // shown rows (and of the details panel when it is open).
    void FitToRows();
    void ReloadButClick(QObject* sender);

    // --- size units ---------------------------------------------------------
    void ViewSort(QObject* sender);
    void View1Click(QObject* sender);
    // The unit whose button is down, testing bytes .. gigabytes in order;
    // nullptr when none is.
    const SizeUnitInfo* CurrentUnit() const;
    TLbSpeedButton* UnitButton(TSizeUnit unit) const;
    TAction* UnitFlag(TSizeUnit unit) const;

    // --- fill levels and totals ---------------------------------------------
    void VolumeSort();
    void LedSort();
    void TotalBar(QObject* sender) override;
    // The byte sums over the shown rows whose drive answers (each asked
    // afresh): what the totals labels and the totals gauges show.
    void ShownTotals(std::int64_t& size, std::int64_t& free);

    // --- details panel ------------------------------------------------------
    // Hides the panel, gives its height back and enables every speed button.
    void DetCloseButClick(QObject* sender);
    // Lands with the details panel: opens it under the clicked drive's row.
    void AClick(QObject* sender);
    // Lands with the details panel: refills the open panel.
    void DetVis(QObject* sender);

    // --- memory panel (MemoryPanel.cpp) ---------------------------------------
    // Fills the three gauges, their captions and, in the unit of each pressed
    // memory button, the two text panels from MemStatus; then ColorSort.
    void SysInfo(QObject* sender);
    // --- colour schemes (ColorSchemes.cpp) ------------------------------------
    // Spreads the bottom panel's colours, or those of the scheme item that is
    // the sender, over the window; then Colors1Click.
    void ColorSort(QObject* sender);
    // Ticks the scheme item whose middle colour the bottom panel shows.
    void Colors1Click(QObject* sender);
    // --- drives-to-show dialog ------------------------------------------------
    // Builds, fills and shows the dialog modally; it frees itself on close.
    void Options1Click(QObject* sender);
    // Builds and fills it without showing it: a row for every existing
    // drive with its display name, the height fitted to those rows.
    TDShowForm* NewDShowForm();
    // What the dialog changes in this window.
    TMenuItem* ShowFlag(QChar letter) override;
    TGPanel* DriveRow(QChar letter) override;
    void ResizeDriveArea(int delta) override;
    QObject* RunPressedUnitButtons() override;
    // Info window.
    void SizeInfoButClick(QObject* sender);
    // Stay-on-top component.
    void StayonTop1Click(QObject* sender);
    // Help, web site and about box.
    void mnHtmlHelpClick(QObject* sender);
    void mnWinHelpClick(QObject* sender);
    void TolvaneWebsite1Click(QObject* sender);
    void About1Click(QObject* sender);
    // Control-panel applets and utilities (their menus are hidden).
    void MS1Click(QObject* sender);
    void SystemUtils(QObject* sender);
    // Tray menu entries.
    void TrayShowClick(QObject* sender);
    void CaptionButton1Click(QObject* sender);
    // Zoom animation notifications.
    void SmoothShow1Finishing(QObject* sender);
    void SmoothShow1Finish(QObject* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout, in STSMainLayout.cpp.
    void BuildLayout();
    void BuildTopPanel();
    void BuildHeader();
    void BuildRows();
    void BuildDetailsPanel();
    void BuildBottomPanel();
    void BuildStatusBar();
    void BuildMainMenu();
    void BuildActions();
    void BuildTrayMenu();
    // Creates a menu item, registers it and adds it as a sub-item of
    // `parent`, or at the top of a menu bar or popup menu.
    TMenuItem* Item(const QString& name, const QString& caption, TMenuItem* parent,
                    const TNotifyEvent& onClick = nullptr);
    TMenuItem* Item(const QString& name, const QString& caption, QWidget* menu,
                    const TNotifyEvent& onClick = nullptr);
    TAction* Action(const QString& name, const QString& caption);

    // A row being shown takes its place in letter order among the shown rows.
    void PlaceRowInLetterOrder(TGPanel* row);

    void BuildDesktopComponents();
    // The applet of a System Setup entry (MS1 .. MS30).
    static TSysDlg AppletOf(const QString& entryName);
};
