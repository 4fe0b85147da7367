// The program's icon in the desktop's notification area (the tray): it
// keeps the icon there, decodes the mouse messages the tray sends back into
// click, double-click and mouse events, opens a popup menu, animates through
// a list of icons and can minimise the main window to the tray.
#pragma once

#include <QIcon>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "shell/SimpleTimer.h"
#include "shell/TrayShell.h"
#include "toolkit/Control.h"
#include "toolkit/ImageList.h"

#include <QMenu>


// The mouse messages of the tray's callback, by their Windows numbers.
namespace TrayMessage {
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LeftButtonDown = 0x0201;
constexpr unsigned LeftButtonUp = 0x0202;
constexpr unsigned LeftButtonDblClk = 0x0203;
constexpr unsigned RightButtonDown = 0x0204;
constexpr unsigned RightButtonUp = 0x0205;
constexpr unsigned MiddleButtonDown = 0x0207;
constexpr unsigned MiddleButtonUp = 0x0208;
constexpr unsigned ContextMenu = 0x007B;
constexpr unsigned Select = 0x0400;
constexpr unsigned KeySelect = 0x0401;
constexpr unsigned BalloonShow = 0x0402;
constexpr unsigned BalloonHide = 0x0403;
constexpr unsigned BalloonTimeout = 0x0404;
constexpr unsigned BalloonUserClick = 0x0405;
} // namespace TrayMessage

using TTrayMouseMoveEvent = std::function<void(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)>;
using TCycleEvent = std::function<void(QObject* sender, int nextIndex)>;
using TStartupEvent = std::function<void(QObject* sender, bool& showMainForm)>;

class TCoolTrayIcon : public TComponent {
    Q_OBJECT
public:
    explicit TCoolTrayIcon(QObject* owner = nullptr);
    ~TCoolTrayIcon() override;

    // Runs once the owner's layout is complete: the start-up decision, then
    // the icon, its visibility, cycling, enter/exit tracking and protocol.
    void Loaded() override;

    // --- the virtual operations, in their order
    virtual bool InDesigner() const { return true; }
    virtual bool ShowIcon();
    virtual bool HideIcon();
    virtual bool RefreshIcon();

    // --- properties
    bool IconVisible() const { return iconVisible_; }
    void setIconVisible(bool on);
    QIcon Icon() const { return icon_; }
    void setIcon(const QIcon& icon);
    QString Hint() const { return hint_; }
    void setHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool on);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    QMenu* PopupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    bool LeftPopup() const { return leftPopup_; }
    void setLeftPopup(bool on) { leftPopup_ = on; }
    TImageList* IconList() const { return iconList_; }
    void setIconList(TImageList* list);
    int IconIndex() const { return iconIndex_; }
    void setIconIndex(int index);
    bool CycleIcons() const { return cycleIcons_; }
    void setCycleIcons(bool on);
    unsigned CycleInterval() const { return cycleInterval_; }
    void setCycleInterval(unsigned ms);
    bool WantEnterExitEvents() const { return wantEnterExit_; }
    void setWantEnterExitEvents(bool on);
    bool MinimizeToTray() const { return minimizeToTray_; }
    void setMinimizeToTray(bool on) { minimizeToTray_ = on; }
    bool DesignPreview() const { return designPreview_; }
    void setDesignPreview(bool on) { designPreview_ = on; }
    // 0: the shell reports plain button messages; 1: it also reports a
    // context-menu request itself.
    int ClickProtocol() const { return clickProtocol_; }

    // --- events
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TTrayMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintShow;
    TNotifyEvent OnBalloonHintHide;
    TNotifyEvent OnBalloonHintTimeout;
    TNotifyEvent OnBalloonHintClick;
    TNotifyEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

    // The record the shell gets for this icon.
    const TNotifyIconData& IconData() const { return data_; }

    // --- what the tray and the desktop send
    // One mouse message of the tray's callback (TrayMessage).
    void HandleIconMessage(unsigned message);
    // The tray came back (the shell's "TaskbarCreated"): a visible icon is
    // added again.
    void TaskbarCreated();

    // Opens the popup menu at the cursor, if there is one and it pops up
    // automatically (a menu's dynamic property "AutoPopup" false turns that
    // off).
    void PopupAtCursor();
    // Hides the main window and shows the icon.
    void MinimizeToTrayNow();

    // The timers, for those who watch them.
    const TSimpleTimer& CycleTimer() const { return cycleTimer_; }
    const TSimpleTimer& ClickTimer() const { return clickTimer_; }
    const TSimpleTimer& ExitTimer() const { return exitTimer_; }

    // Where the pointer is, in screen coordinates (tests replace it).
    std::function<QPoint()> CursorPos;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Loading() const;
    void FillRecord();
    bool Notify(unsigned operation);
    void CycleStep();
    void ClickDecision();
    void ExitCheck();
    Qt::KeyboardModifiers Shift(Qt::MouseButton button) const;
    void RaiseMouse(const TMouseEvent& event, Qt::MouseButton button);

    QPointer<QWidget> ownerWindow_;
    QPointer<TImageList> iconList_;
    QPointer<QMenu> popupMenu_;
    TNotifyIconData data_;
    QIcon icon_;
    QString hint_;
    bool iconVisible_ = false;
    bool showHint_ = true;
    bool enabled_ = true;
    bool leftPopup_ = false;
    int iconIndex_ = 0;
    bool cycleIcons_ = false;
    unsigned cycleInterval_ = 0;
    bool wantEnterExit_ = false;
    bool minimizeToTray_ = false;
    bool designPreview_ = false;
    int clickProtocol_ = 0;

    TSimpleTimer cycleTimer_;
    TSimpleTimer clickTimer_;
    TSimpleTimer exitTimer_;
    bool clickStarted_ = false;
    bool clickReady_ = false;
    bool dblClickSeen_ = false;
    QPoint lastMove_;
    bool didExit_ = true;
    bool startupPending_ = true;
};
