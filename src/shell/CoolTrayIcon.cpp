#include "shell/CoolTrayIcon.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/MenuItem.h"

namespace {

// Icon ids are unique per component instance.
std::uint32_t g_nextId = 1;

// The tip the shell may take: 127 characters and the terminating zero.
constexpr int kTipLength = 127;
// The exit check's period while enter/exit events are wanted.
constexpr unsigned kExitCheckInterval = 20;

// A menu pops up by itself unless its property "AutoPopup" says false.
bool AutoPopup(const QMenu* menu)
{
    const QVariant v = menu->property("AutoPopup");
    return !v.isValid() || v.toBool();
}

} // namespace

TCoolTrayIcon::TCoolTrayIcon(QObject* owner)
    : TComponent(owner)
    , CursorPos([] { return QCursor::pos(); })
    , cycleTimer_(1000, [this](TSimpleTimer*) { CycleStep(); })
    , clickTimer_(1000, [this](TSimpleTimer*) { ClickDecision(); })
    , exitTimer_(kExitCheckInterval, [this](TSimpleTimer*) { ExitCheck(); })
{
    data_.Window = TTrayIconHandler::Acquire();
    data_.ID = g_nextId++;
    TTrayIconHandler::Instance()->Register(data_.ID, this);
    startupPending_ = true;
    enabled_ = true;
    showHint_ = true;
    didExit_ = true;
    // Minimising and showing of the owner form go through this component.
    if (auto* w = qobject_cast<QWidget*>(owner); w && w->isWindow()) {
        ownerWindow_ = w;
        w->installEventFilter(this);
    }
}

TCoolTrayIcon::~TCoolTrayIcon()
{
    HideIcon();
    if (ownerWindow_)
        ownerWindow_->removeEventFilter(this);
    if (TTrayIconHandler* handler = TTrayIconHandler::Instance())
        handler->Unregister(data_.ID);
    TTrayIconHandler::Release();
}

bool TCoolTrayIcon::Loading() const
{
    const auto* form = qobject_cast<const TForm*>(Owner());
    return form && form->Loading();
}

void TCoolTrayIcon::Loaded()
{
    if (ownerWindow_ && OnStartup) {
        bool showMainForm = true;
        OnStartup(this, showMainForm);
        if (!showMainForm) {
            Application().ShowMainForm = false;
            ownerWindow_->hide();
        }
    }
    startupPending_ = false;
    RefreshIcon();
    if (iconVisible_)
        ShowIcon();
    else
        HideIcon();
    setCycleIcons(cycleIcons_);
    exitTimer_.setEnabled(wantEnterExit_);
    data_.Version = clickProtocol_ == 1 ? 3 : 0;
    Notify(NIM_SETVERSION);
}

void TCoolTrayIcon::FillRecord()
{
    data_.Flags = 7;
    data_.CallbackMessage = 2048;
    data_.Icon = icon_;
    data_.Tip = !hint_.isEmpty() && showHint_ ? hint_.left(kTipLength) : QString();
}

bool TCoolTrayIcon::Notify(unsigned operation)
{
    return CurrentTrayShell().NotifyIcon(operation, data_);
}

bool TCoolTrayIcon::ShowIcon()
{
    iconVisible_ = true;
    FillRecord();
    return Notify(NIM_ADD);
}

bool TCoolTrayIcon::HideIcon()
{
    iconVisible_ = false;
    FillRecord();
    return Notify(NIM_DELETE);
}

bool TCoolTrayIcon::RefreshIcon()
{
    FillRecord();
    return Notify(NIM_MODIFY);
}

void TCoolTrayIcon::setIconVisible(bool on)
{
    if (Loading()) {
        iconVisible_ = on;
        return;
    }
    if (on)
        ShowIcon();
    else
        HideIcon();
}

void TCoolTrayIcon::setIcon(const QIcon& icon)
{
    icon_ = icon;
    if (!Loading())
        RefreshIcon();
}

void TCoolTrayIcon::setHint(const QString& hint)
{
    hint_ = hint;
    if (!Loading())
        RefreshIcon();
}

void TCoolTrayIcon::setShowHint(bool on)
{
    showHint_ = on;
    if (!Loading())
        RefreshIcon();
}

void TCoolTrayIcon::setIconList(TImageList* list)
{
    iconList_ = list;
    if (!Loading())
        RefreshIcon();
}

void TCoolTrayIcon::setIconIndex(int index)
{
    if (iconList_ && iconList_->Count() > 0) {
        // Beyond the list: its last icon.
        iconIndex_ = std::clamp(index, 0, iconList_->Count() - 1);
        icon_ = iconList_->GetIcon(iconIndex_);
    } else {
        iconIndex_ = 0;
    }
    if (!Loading())
        RefreshIcon();
}

void TCoolTrayIcon::setCycleIcons(bool on)
{
    cycleIcons_ = on;
    if (Loading())
        return;
    if (on) {
        setIconIndex(0);
        cycleTimer_.setInterval(cycleInterval_);
        // An interval of 0 cannot start: nothing cycles.
        cycleTimer_.setEnabled(true);
    } else {
        cycleTimer_.setEnabled(false);
    }
}

void TCoolTrayIcon::setCycleInterval(unsigned ms)
{
    cycleInterval_ = ms;
    cycleTimer_.setInterval(ms);
}

void TCoolTrayIcon::setWantEnterExitEvents(bool on)
{
    wantEnterExit_ = on;
    if (!Loading())
        exitTimer_.setEnabled(on);
}

Qt::KeyboardModifiers TCoolTrayIcon::Shift(Qt::MouseButton) const
{
    return QGuiApplication::queryKeyboardModifiers()
           & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

void TCoolTrayIcon::RaiseMouse(const TMouseEvent& event, Qt::MouseButton button)
{
    if (!event)
        return;
    const QPoint p = CursorPos();
    event(this, button, Shift(button), p.x(), p.y());
}

void TCoolTrayIcon::HandleIconMessage(unsigned message)
{
    using namespace TrayMessage;
    if (!enabled_)
        return;
    const QPointer<TCoolTrayIcon> self(this);
    switch (message) {
    case MouseMove: {
        if (wantEnterExit_ && didExit_) {
            didExit_ = false;
            if (OnMouseEnter)
                OnMouseEnter(this);
        }
        const QPoint p = CursorPos();
        if (OnMouseMove)
            OnMouseMove(this, Shift(Qt::NoButton), p.x(), p.y());
        lastMove_ = p;
        break;
    }
    case LeftButtonDown:
        if (OnDblClick) {
            clickTimer_.setInterval(unsigned(QGuiApplication::styleHints()->mouseDoubleClickInterval()));
            clickTimer_.Start();
        }
        RaiseMouse(OnMouseDown, Qt::LeftButton);
        if (!self)
            return;
        clickStarted_ = true;
        if (leftPopup_)
            PopupAtCursor();
        break;
    case LeftButtonUp: {
        if (clickStarted_)
            clickReady_ = true;
        const bool clickNow = clickStarted_ && !clickTimer_.Running();
        if (clickNow)
            clickStarted_ = clickReady_ = false;
        clickStarted_ = false;
        if (clickNow && OnClick) {
            OnClick(this);
            if (!self)
                return;
        }
        RaiseMouse(OnMouseUp, Qt::LeftButton);
        break;
    }
    case LeftButtonDblClk:
        clickReady_ = false;
        dblClickSeen_ = true;
        if (OnDblClick) {
            OnDblClick(this);
            if (!self)
                return;
        }
        if (popupMenu_ && AutoPopup(popupMenu_) && !leftPopup_) {
            // The menu's default item, if it has one.
            if (QAction* item = popupMenu_->defaultAction(); item && item->isEnabled())
                item->trigger();
        }
        break;
    case RightButtonDown:
        RaiseMouse(OnMouseDown, Qt::RightButton);
        if (!self)
            return;
        PopupAtCursor();
        break;
    case RightButtonUp:
        if (clickProtocol_ == 0)
            RaiseMouse(OnMouseUp, Qt::RightButton);
        break;
    case ContextMenu:
    case Select:
    case KeySelect:
        if (clickProtocol_ == 1)
            RaiseMouse(OnMouseUp, Qt::RightButton);
        break;
    case MiddleButtonDown: RaiseMouse(OnMouseDown, Qt::MiddleButton); break;
    case MiddleButtonUp: RaiseMouse(OnMouseUp, Qt::MiddleButton); break;
    case BalloonShow:
        if (OnBalloonHintShow)
            OnBalloonHintShow(this);
        break;
    case BalloonHide:
        if (OnBalloonHintHide)
            OnBalloonHintHide(this);
        break;
    case BalloonTimeout:
        if (OnBalloonHintTimeout)
            OnBalloonHintTimeout(this);
        break;
    case BalloonUserClick:
        if (OnBalloonHintClick)
            OnBalloonHintClick(this);
        break;
    default: break;
    }
}

void TCoolTrayIcon::ClickDecision()
{
    clickTimer_.Stop(true);
    if (!dblClickSeen_ && clickReady_) {
        clickReady_ = false;
        if (OnClick) {
            const QPointer<TCoolTrayIcon> self(this);
            OnClick(this);
            if (!self)
                return;
        }
    }
    dblClickSeen_ = false;
}

void TCoolTrayIcon::ExitCheck()
{
    if (didExit_)
        return;
    if (CursorPos() != lastMove_) {
        didExit_ = true;
        if (OnMouseExit)
            OnMouseExit(this);
    }
}

void TCoolTrayIcon::CycleStep()
{
    if (!iconList_ || iconList_->Count() == 0)
        return;
    icon_ = iconList_->GetIcon(iconIndex_);
    const int next = (iconIndex_ + 1) % iconList_->Count();
    if (OnCycle) {
        const QPointer<TCoolTrayIcon> self(this);
        OnCycle(this, next);
        if (!self)
            return;
    }
    setIconIndex(next);
}

void TCoolTrayIcon::TaskbarCreated()
{
    if (iconVisible_)
        ShowIcon();
}

void TCoolTrayIcon::PopupAtCursor()
{
    if (!popupMenu_ || !AutoPopup(popupMenu_))
        return;
    // Handlers of the menu's items can tell where it was opened from.
    popupMenu_->setProperty("PopupComponent", QVariant::fromValue<QObject*>(this));
    popupMenu_->popup(CursorPos());
}

void TCoolTrayIcon::MinimizeToTrayNow()
{
    if (ownerWindow_) {
        // Shown again later, it comes back as it was before minimising.
        ownerWindow_->setWindowState(ownerWindow_->windowState() & ~Qt::WindowMinimized);
        ownerWindow_->hide();
    }
    ShowIcon();
}

bool TCoolTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ownerWindow_) {
        switch (event->type()) {
        case QEvent::Show:
            // Shown: to the foreground.
            if (!event->spontaneous()) {
                ownerWindow_->raise();
                ownerWindow_->activateWindow();
            }
            break;
        case QEvent::WindowStateChange:
            if (minimizeToTray_ && ownerWindow_->isMinimized()) {
                if (OnMinimizeToTray)
                    OnMinimizeToTray(this);
                MinimizeToTrayNow();
            }
            break;
        default: break;
        }
    }
    return TComponent::eventFilter(watched, event);
}
