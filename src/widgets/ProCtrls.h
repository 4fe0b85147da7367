// Effect labels and panels: a label with embossed or shadowed, shifted,
// vertically aligned and rotated text, and a panel with a choice of bevelled
// sides, a coloured border between its bevels and a double-line 3-D bevel.
#pragma once

#include <QFont>
#include <QImage>

#include "toolkit/Label.h"
#include "toolkit/Panel.h"

class QPainter;

enum class TDirection { drNone, drUp, drDown, drLeft, drRight, drUpLeft, drUpRight, drDownLeft, drDownRight };

// The unit step of a direction, (dx, dy).
QPoint DirectionStep(TDirection d);

enum class TShadowStyle {
    ssNone,
    ssRaised,
    ssRaisedColor,
    ssRaisedShadow,
    ssRaisedThickShadow,
    ssRecessed,
    ssRecessedColor,
    ssRecessedShadow,
    ssShadow,
    ssThickShadow,
    ssCustom
};

enum class TSide { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
// A set of sides as bit flags of TSide.
using TSides = int;
constexpr TSides AllSides = int(TSide::sdLeft) | int(TSide::sdTop) | int(TSide::sdRight) | int(TSide::sdBottom);
constexpr TSides operator|(TSide a, TSide b) { return int(a) | int(b); }
constexpr bool HasSide(TSides s, TSide side) { return (s & int(side)) != 0; }

class TProCustomLabel : public TLabel {
    Q_OBJECT
public:
    explicit TProCustomLabel(QWidget* parent = nullptr);

    // Degrees counterclockwise, stored as 0..359.
    int Angle() const { return angle_; }
    void setAngle(int degrees);
    int OffsetX() const { return offsetX_; }
    void setOffsetX(int x);
    int OffsetY() const { return offsetY_; }
    void setOffsetY(int y);
    // Another name of the label's Layout.
    TVerticalAlignment VerticalAlignment() const { return TVerticalAlignment(int(Layout())); }
    void setVerticalAlignment(TVerticalAlignment v) { setLayout(TTextLayout(int(v))); }

    TDirection HighlightDirection() const { return highlightDirection_; }
    void setHighlightDirection(TDirection d);
    int HighlightDepth() const { return highlightDepth_; }
    void setHighlightDepth(int depth);
    TColor HighlightColor() const { return highlightColor_; }
    void setHighlightColor(TColor c);
    TDirection ShadowDirection() const { return shadowDirection_; }
    void setShadowDirection(TDirection d);
    int ShadowDepth() const { return shadowDepth_; } // 0..1280
    void setShadowDepth(int depth);
    int ShadowSize() const { return shadowSize_; } // 0..1280
    void setShadowSize(int size);
    TColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(TColor c);
    // A preset of the seven values above; ssCustom once one is set alone.
    TShadowStyle ShadowStyle() const { return shadowStyle_; }
    void setShadowStyle(TShadowStyle s);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    // Its picture is the background colour, or clear where transparent.
    bool CoversItself() const override { return !Transparent(); }

private:
    // Stores a highlight/shadow value and turns the style into ssCustom.
    template <typename T>
    void setEffect(T& field, T value);
    // Where the box of the rotated text stands in the client area.
    QPoint RotatedBoxOrigin() const;

    int angle_ = 0;
    int offsetX_ = 0;
    int offsetY_ = 0;
    TDirection highlightDirection_ = TDirection::drNone;
    int highlightDepth_ = 0;
    TColor highlightColor_ = clBtnHighlight;
    TDirection shadowDirection_ = TDirection::drNone;
    int shadowDepth_ = 0;
    int shadowSize_ = 0;
    TColor shadowColor_ = clBtnShadow;
    TShadowStyle shadowStyle_ = TShadowStyle::ssNone;
    bool applyingPreset_ = false;
};

class TProLabel : public TProCustomLabel {
    Q_OBJECT
public:
    using TProCustomLabel::TProCustomLabel;
};

enum class TPanelBorderStyle { bsNone, bsSingle };

class TProCustomPanel : public TPanel {
    Q_OBJECT
public:
    explicit TProCustomPanel(QWidget* parent = nullptr);

    // Two lines of two colours per bevel; forces BevelWidth 2 (1 when off).
    bool BevelCtl3D() const { return bevelCtl3D_; }
    void setBevelCtl3D(bool on);
    TSides BevelSides() const { return bevelSides_; }
    void setBevelSides(TSides s);
    TColor BorderColor() const { return borderColor_; }
    void setBorderColor(TColor c);
    TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
    void setVerticalAlignment(TVerticalAlignment v);
    // A single border is a plain one-pixel frame around everything.
    TPanelBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TPanelBorderStyle s);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void PaintPanel(GdiCanvas& canvas) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    // One one-pixel line on the chosen sides; r shrinks on those sides.
    void SideLine(GdiCanvas& c, QRect& r, TColor topLeft, TColor bottomRight) const;
    void Bevel(GdiCanvas& c, QRect& r, TPanelBevel bevel) const;

    bool bevelCtl3D_ = false;
    TSides bevelSides_ = AllSides;
    TColor borderColor_ = clBtnFace;
    TVerticalAlignment verticalAlignment_ = TVerticalAlignment::vaCenter;
    TPanelBorderStyle borderStyle_ = TPanelBorderStyle::bsNone;
};

class TProPanel : public TProCustomPanel {
    Q_OBJECT
public:
    using TProCustomPanel::TProCustomPanel;
};

// One line of text drawn flat into an image of its cell (advance width x
// font height), transparent where there is no ink, then turned by `degrees`
// counterclockwise. Bitmap faces garble when drawn rotated, so rotated text
// is always made this way.
QImage TextPicture(const QString& text, const QFont& font, TColor color, int degrees = 0);
