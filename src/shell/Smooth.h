// The "zoom" animation of a window: a thin outline grows from a small end
// (the desktop's centre by default) to the window's rectangle, or shrinks
// back, while the window itself stays invisible until the outline arrives.
#pragma once

#include <QPointer>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/Color.h"
#include "toolkit/Component.h"

class QTimer;
class QWidget;

enum class TMinLoc { mlCenter, mlTopLeft, mlTopRight, mlBottomLeft, mlBottomRight, mlCustom };
enum class TMaxLoc { xlDefault, xlCustom };

class TSmooth : public TComponent {
    Q_OBJECT
public:
    // The owner is the animated control when it is a widget.
    explicit TSmooth(QObject* owner = nullptr);
    ~TSmooth() override;

    // The animated window; cleared automatically when it is destroyed.
    // Changing it is ignored while an animation runs.
    QWidget* Control() const { return control_; }
    void setControl(QWidget* control);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    // False: opening (the outline grows); True: closing (it shrinks).
    bool Reverse() const { return reverse_; }
    void setReverse(bool on) { reverse_ = on; }
    // Milliseconds between two frames.
    std::uint16_t Delay() const { return delay_; }
    void setDelay(std::uint16_t ms) { delay_ = ms; }
    TColor Color() const { return color_; }
    void setColor(TColor c) { color_ = c; }
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int w) { borderWidth_ = w; }
    TMinLoc MinLocation() const { return minLocation_; }
    void setMinLocation(TMinLoc l) { minLocation_ = l; }
    int MinLeft() const { return minLeft_; }
    void setMinLeft(int v) { minLeft_ = v; }
    int MinTop() const { return minTop_; }
    void setMinTop(int v) { minTop_ = v; }
    std::uint16_t MinWidth() const { return minWidth_; }
    void setMinWidth(std::uint16_t v) { minWidth_ = v; }
    std::uint16_t MinHeight() const { return minHeight_; }
    void setMinHeight(std::uint16_t v) { minHeight_ = v; }
    TMaxLoc MaxLocation() const { return maxLocation_; }
    void setMaxLocation(TMaxLoc l) { maxLocation_ = l; }
    int MaxLeft() const { return maxLeft_; }
    void setMaxLeft(int v) { maxLeft_ = v; }
    int MaxTop() const { return maxTop_; }
    void setMaxTop(int v) { maxTop_ = v; }
    std::uint16_t MaxWidth() const { return maxWidth_; }
    void setMaxWidth(std::uint16_t v) { maxWidth_ = v; }
    std::uint16_t MaxHeight() const { return maxHeight_; }
    void setMaxHeight(std::uint16_t v) { maxHeight_ = v; }

    // After the last frame, before the control becomes visible again.
    TNotifyEvent OnFinishing;
    // At the very end.
    TNotifyEvent OnFinish;

    // Plays the animation in the direction of Reverse. Does nothing while
    // one runs, without a control, or when not Enabled.
    void Start();
    // One frame: places the outline for the current progress, then advances
    // it. The frame timer calls it; the first frame runs inside Start.
    void Frame();

    bool Running() const { return running_; }
    // Per cent of the way from the start rectangle to the end (0..100).
    int Progress() const { return progress_; }
    // The frame of the current step (left, top, width, height) while an
    // animation runs.
    QRect FrameRect() const { return frameRect_; }
    // What shows of it on the screen: the outline, in screen coordinates
    // (empty when nothing shows).
    QRegion FrameRegion() const;
    // The windows that make up the outline, one per rectangle of its
    // region: a window region is not honoured on every desktop, so the
    // outline is built of plain borderless windows instead.
    const std::vector<std::unique_ptr<QWidget>>& FrameWindows() const { return frameWindows_; }

    // The two ends, as (left, top, width, height): the small one from the
    // desktop's bounds and MinLocation, the large one from the control's
    // client-area origin on screen and its outer size (or the Max values).
    QRect SmallEnd() const;
    QRect LargeEnd() const;

    // The outline of a frame of width x height with the given border: the
    // whole rectangle less the inner one.
    static QRegion OutlineRegion(int width, int height, int borderWidth);

private:
    // Makes the control invisible while it stays shown, and visible again.
    void Conceal();
    void Reveal();

    QPointer<QWidget> control_;
    bool enabled_ = true;
    bool reverse_ = false;
    std::uint16_t delay_ = 50;
    TColor color_ = 0;
    int borderWidth_ = 1;
    TMinLoc minLocation_ = TMinLoc::mlCenter;
    int minLeft_ = 0;
    int minTop_ = 0;
    std::uint16_t minWidth_ = 27;
    std::uint16_t minHeight_ = 27;
    TMaxLoc maxLocation_ = TMaxLoc::xlDefault;
    int maxLeft_ = 100;
    int maxTop_ = 100;
    std::uint16_t maxWidth_ = 127;
    std::uint16_t maxHeight_ = 127;

    bool running_ = false;
    QRect start_;      // left, top, width, height
    int dLeft_ = 0, dTop_ = 0, dWidth_ = 0, dHeight_ = 0; // end - start
    int progress_ = 0;
    // Places the outline of a frame rectangle (nothing for an empty one).
    void PlaceOutline(const QRect& frame);

    QRect frameRect_;
    std::vector<std::unique_ptr<QWidget>> frameWindows_;
    std::unique_ptr<QTimer> timer_;
    // How Conceal kept a window off the screen: not mapped yet (held back
    // from its coming map) or taken off the screen.
    enum class TConcealed { No, HeldBack, TakenOff };
    TConcealed concealed_ = TConcealed::No;
};

// Makes a window invisible while it stays shown: a region of one pixel
// outside it (an empty QRegion would mean no region at all).
void HideByRegion(QWidget* window);
