#include "shell/Smooth.h"

#include <QPalette>
#include <QRegion>
#include <QTimer>
#include <algorithm>
#include <QWidget>
#include <QWindow>

#include "platform/Platform.h"
#include "toolkit/Form.h"

void HideByRegion(QWidget* window)
{
    window->setMask(QRegion(-1, -1, 1, 1));
}

TSmooth::TSmooth(QObject* owner)
    : TComponent(owner)
    , control_(qobject_cast<QWidget*>(owner))
{
}

TSmooth::~TSmooth()
{
    // An animation cut short leaves the control visible, not masked away;
    // an owner that is the control is being destroyed itself.
    if (running_ && control_ && control_.data() != parent())
        Reveal();
}

void TSmooth::Conceal()
{
    if (!control_)
        return;
    HideByRegion(control_);
    // A window manager keeps drawing the frame and title of a window whose
    // region is empty: a top-level window also stays off the screen, held
    // back from being mapped when it is about to be shown, or unmapped.
    if (!control_->isWindow())
        return;
    QWindow* handle = control_->windowHandle();
    if (handle && handle->isVisible()) {
        concealed_ = TConcealed::TakenOff;
        handle->setVisible(false);
    } else if (!control_->testAttribute(Qt::WA_DontShowOnScreen)) {
        concealed_ = TConcealed::HeldBack;
        control_->setAttribute(Qt::WA_DontShowOnScreen, true);
    }
}

void TSmooth::Reveal()
{
    const TConcealed how = concealed_;
    concealed_ = TConcealed::No;
    if (!control_)
        return;
    control_->clearMask();
    if (how == TConcealed::HeldBack)
        control_->setAttribute(Qt::WA_DontShowOnScreen, false);
    // Back on the screen, unless it was hidden meanwhile.
    QWindow* handle = control_->windowHandle();
    if (how != TConcealed::No && control_->isVisible() && handle && !handle->isVisible()) {
        // A window held back from its first mapping never went through the
        // widget's own show, which is what turns a place given for the frame
        // into the client's place: say it is the frame's, or the window
        // manager puts the client there and the frame lands above and left.
        if (how == TConcealed::HeldBack)
            handle->setFramePosition(control_->pos());
        handle->setVisible(true);
    }
}

void TSmooth::setControl(QWidget* control)
{
    if (running_ || control == control_)
        return;
    control_ = control;
}

QRect TSmooth::SmallEnd() const
{
    const QRect desk = CurrentPlatform().DesktopRect();
    const int l = desk.x(), t = desk.y(), w = desk.width(), h = desk.height();
    switch (minLocation_) {
    case TMinLoc::mlCenter: return QRect(l + w / 2, t + h / 2, 0, 0);
    case TMinLoc::mlTopLeft: return QRect(l, t, 0, 0);
    case TMinLoc::mlTopRight: return QRect(l + w, t, 0, 0);
    case TMinLoc::mlBottomLeft: return QRect(l, t + h, 0, 0);
    case TMinLoc::mlBottomRight: return QRect(l + w, t + h, 0, 0);
    case TMinLoc::mlCustom: break;
    }
    return QRect(minLeft_, minTop_, minWidth_, minHeight_);
}

QRect TSmooth::LargeEnd() const
{
    if (maxLocation_ == TMaxLoc::xlDefault && control_) {
        // The client area's origin: a form's client area begins below its
        // menu bar. The size is the outer one, frame included.
        const auto* form = qobject_cast<const TForm*>(control_.data());
        const QPoint origin = control_->mapToGlobal(QPoint(0, form ? form->MenuBarHeight() : 0));
        const QSize outer = control_->isWindow() ? control_->frameGeometry().size() : control_->size();
        return QRect(origin, outer);
    }
    return QRect(maxLeft_, maxTop_, maxWidth_, maxHeight_);
}

QRegion TSmooth::OutlineRegion(int width, int height, int borderWidth)
{
    if (width <= 0 || height <= 0)
        return QRegion();
    const QRegion whole(0, 0, width, height);
    const int innerW = width - 2 * borderWidth, innerH = height - 2 * borderWidth;
    if (innerW <= 0 || innerH <= 0)
        return whole;
    return whole.subtracted(QRegion(borderWidth, borderWidth, innerW, innerH));
}

QRegion TSmooth::FrameRegion() const
{
    QRegion shown;
    for (const auto& w : frameWindows_)
        if (!w->isHidden())
            shown += w->geometry();
    return shown;
}

void TSmooth::PlaceOutline(const QRect& frame)
{
    const QRegion outline = OutlineRegion(frame.width(), frame.height(), borderWidth_);
    std::size_t n = 0;
    for (const QRect& part : outline) {
        if (n == frameWindows_.size()) {
            // A borderless window in the outline's colour, above everything,
            // that neither takes the focus nor the mouse and is no window
            // manager's business.
            auto w = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                                            | Qt::X11BypassWindowManagerHint
                                                            | Qt::WindowDoesNotAcceptFocus
                                                            | Qt::WindowTransparentForInput);
            w->setObjectName(QStringLiteral("SmoothFrame"));
            w->setAttribute(Qt::WA_ShowWithoutActivating);
            w->setAttribute(Qt::WA_QuitOnClose, false);
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, ToQColor(color_));
            w->setPalette(pal);
            w->setAutoFillBackground(true);
            frameWindows_.push_back(std::move(w));
        }
        QWidget* w = frameWindows_[n++].get();
        w->setGeometry(part.translated(frame.topLeft()));
        if (!w->isVisible())
            w->show();
        w->repaint();
    }
    for (; n < frameWindows_.size(); ++n)
        frameWindows_[n]->hide();
}

void TSmooth::Start()
{
    if (running_ || !control_ || !enabled_)
        return;
    running_ = true;
    const QRect small = SmallEnd(), large = LargeEnd();
    const QRect& from = reverse_ ? large : small;
    const QRect& to = reverse_ ? small : large;
    start_ = from;
    dLeft_ = to.x() - from.x();
    dTop_ = to.y() - from.y();
    dWidth_ = to.width() - from.width();
    dHeight_ = to.height() - from.height();

    Conceal();

    progress_ = 0;
    timer_ = std::make_unique<QTimer>();
    timer_->setInterval(delay_);
    connect(timer_.get(), &QTimer::timeout, this, &TSmooth::Frame);
    timer_->start();
    Frame();
}

void TSmooth::Frame()
{
    if (!running_)
        return;
    // 1. The rectangle of this frame (division truncating toward zero).
    const QRect r(start_.x() + progress_ * dLeft_ / 100, start_.y() + progress_ * dTop_ / 100,
                  start_.width() + progress_ * dWidth_ / 100, start_.height() + progress_ * dHeight_ / 100);
    // 2. - 3. Only the outline of it shows, above everything.
    frameRect_ = r;
    PlaceOutline(r);

    // 4. The last frame.
    if (progress_ >= 100) {
        // This may run inside the timer's own tick: stop it now, free it later.
        timer_->stop();
        timer_.release()->deleteLater();
        const QPointer<TSmooth> self(this);
        if (OnFinishing)
            OnFinishing(this);
        if (!self)
            return;
        frameWindows_.clear();
        Reveal();
        running_ = false;
        if (OnFinish)
            OnFinish(this);
        return;
    }
    // 5.
    progress_ = std::min(100, progress_ * 3 / 2 + 2);
}
