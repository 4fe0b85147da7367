// The base of every visual control: the few toolkit notions the window
// layout relies on (a name, a colour, a hint, a tag, "being loaded",
// alignment inside the parent), on top of QWidget.
//
// Conventions for every control and component of the program:
//  - a property P reads with P() and writes with setP(value);
//  - events are public std::function slots named as the layout names them
//    (OnClick, OnChange, ...), each taking the sender first;
//  - "redraw at once" is RepaintControl(this) (repaint(), or update() inside
//    a TRedrawBatch), "schedule a repaint" is update().
#pragma once

#include <QImage>
#include <QObject>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>
#include <type_traits>

#include "Color.h"
#include "Component.h"

class TForm;

// Mouse button events: sender, button, modifiers, position in the control.
using TMouseEvent = std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TVerticalAlignment { vaTop, vaCenter, vaBottom };
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The "compare, store" of every property setter: stores `value` and returns
// true when it differs from `field`. The setter then repaints as its control
// does: `if (StoreChanged(caption_, c)) update();` (an unchanged value does
// nothing).
template <typename T>
bool StoreChanged(T& field, const std::type_identity_t<T>& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// The Qt flag of a horizontal alignment (Qt::AlignLeft, AlignRight, AlignHCenter).
int AlignmentFlags(TAlignment a);

// A visual control: a QWidget with the toolkit's colour, hint and tag.
class TControl : public QWidget {
    Q_OBJECT
public:
    explicit TControl(QWidget* parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString& name) { setObjectName(name); }

    // Background colour. With ParentColor set, the parent control's colour
    // is read instead of the stored one.
    TColor Color() const;
    virtual void setColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void setParentColor(bool on);

    QString Hint() const { return hint_; }
    void setHint(const QString& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool on) { showHint_ = on; }

    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // The toolkit's own visibility flag (QWidget::isVisible is false while
    // any parent is hidden; the layout's Visible is the control's own state).
    bool Visible() const { return !isHidden(); }

    // The form that owns this control (its top-level TForm), if any.
    TForm* OwnerForm() const;
    // True while the owning form is still building its layout.
    bool Loading() const;

    // Runs once the form's layout is complete.
    virtual void Loaded() {}

    // Alignment inside the parent, as the toolkit does it: top-aligned
    // children stack from the top in the order of their Top (a control just
    // moved or shown goes before another at the same Top), bottom-aligned
    // ones from the bottom, client-aligned ones fill what is left. Hidden
    // children take no room.
    TAlign Align() const { return align_; }
    void setAlign(TAlign a);
    // Lays out the aligned children of this control; `changed` is the child
    // whose position or visibility just changed (or nullptr).
    void Realign(QWidget* changed = nullptr);
    // The area aligned children share (the form leaves out its menu bar).
    virtual QRect AlignArea() const { return rect(); }

    TNotifyEvent OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    TAlign align_ = TAlign::alNone;
    bool aligning_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    QString hint_;
    bool showHint_ = false;
    int tag_ = 0;
};

// The background colour of a widget as a child painting "transparently" sees
// it: the Color of the nearest TControl at or above w (clBtnFace if none).
TColor BackgroundColorOf(const QWidget* w);

// Copies the parts of `picture` that `region` covers onto w, each at its own
// place (the picture is w's, pixel for pixel), rectangle by rectangle: a
// paint then costs what it shows, not the whole picture.
void CopyPicture(QWidget& w, const QImage& picture, const QRegion& region);

// Held while one pass rewrites many controls (the window's refresh): every
// "redraw at once" inside it only schedules the repaint, so Qt paints each
// control, and what lies behind it, once after the pass instead of once per
// setter. Nests; outside any batch controls redraw at once as before. GUI
// thread only, like every widget.
class TRedrawBatch {
public:
    TRedrawBatch() { ++depth_; }
    ~TRedrawBatch() { --depth_; }
    TRedrawBatch(const TRedrawBatch&) = delete;
    TRedrawBatch& operator=(const TRedrawBatch&) = delete;
    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};

// A control's "redraw at once": repaint() outside a TRedrawBatch, update()
// inside one.
inline void RepaintControl(QWidget* w)
{
    if (TRedrawBatch::Active())
        w->update();
    else
        w->repaint();
}
