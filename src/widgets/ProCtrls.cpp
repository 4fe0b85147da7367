#include "ProCtrls.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <numbers>

#include "toolkit/Fonts.h"
#include "toolkit/GdiCanvas.h"

QPoint DirectionStep(TDirection d)
{
    switch (d) {
    case TDirection::drNone:
        return {0, 0};
    case TDirection::drUp:
        return {0, -1};
    case TDirection::drDown:
        return {0, 1};
    case TDirection::drLeft:
        return {-1, 0};
    case TDirection::drRight:
        return {1, 0};
    case TDirection::drUpLeft:
        return {-1, -1};
    case TDirection::drUpRight:
        return {1, -1};
    case TDirection::drDownLeft:
        return {-1, 1};
    case TDirection::drDownRight:
        return {1, 1};
    }
    return {0, 0};
}

QImage TextPicture(const QString& text, const QFont& font, TColor color, int degrees)
{
    const QFontMetrics fm(font);
    const QSize cell(std::max(1, fm.horizontalAdvance(text)),
                     std::max(1, fm.height()));
    QImage img(cell, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(ToQColor(color));
        DrawDesignText(p, 0, fm.ascent(), text);
    }
    if (degrees % 360 == 0)
        return img;
    // QTransform turns clockwise on screen; the design's angles run counterclockwise.
    return img.transformed(QTransform().rotate(-degrees), Qt::FastTransformation);
}

// ---------------------------------------------------------------- label

TProCustomLabel::TProCustomLabel(QWidget* parent)
    : TLabel(parent)
{
}

void TProCustomLabel::setAngle(int degrees)
{
    int a = degrees % 360;
    if (a < 0)
        a += 360;
    if (!StoreChanged(angle_, a))
        return;
    if (a > 0)
        setAutoSize(false);
    update();
}

void TProCustomLabel::setOffsetX(int x)
{
    if (!StoreChanged(offsetX_, x))
        return;
    if (x > 0)
        setAutoSize(false);
    update();
}

void TProCustomLabel::setOffsetY(int y)
{
    if (!StoreChanged(offsetY_, y))
        return;
    if (y > 0)
        setAutoSize(false);
    update();
}

template <typename T>
void TProCustomLabel::setEffect(T& field, T value)
{
    if (!StoreChanged(field, value))
        return;
    if (!applyingPreset_)
        shadowStyle_ = TShadowStyle::ssCustom;
    update();
}

void TProCustomLabel::setHighlightDirection(TDirection d) { setEffect(highlightDirection_, d); }
void TProCustomLabel::setHighlightDepth(int depth) { setEffect(highlightDepth_, depth); }
void TProCustomLabel::setHighlightColor(TColor c) { setEffect(highlightColor_, c); }
void TProCustomLabel::setShadowDirection(TDirection d) { setEffect(shadowDirection_, d); }
void TProCustomLabel::setShadowDepth(int depth) { setEffect(shadowDepth_, std::clamp(depth, 0, 1280)); }
void TProCustomLabel::setShadowSize(int size) { setEffect(shadowSize_, std::clamp(size, 0, 1280)); }
void TProCustomLabel::setShadowColor(TColor c) { setEffect(shadowColor_, c); }

void TProCustomLabel::setShadowStyle(TShadowStyle s)
{
    if (!StoreChanged(shadowStyle_, s))
        return;
    if (s == TShadowStyle::ssCustom)
        return;
    using D = TDirection;
    struct Preset {
        D hlDir;
        int hlDepth;
        D shDir;
        int shDepth, shSize;
    };
    Preset p{};
    switch (s) {
    case TShadowStyle::ssNone: p = {D::drNone, 0, D::drNone, 0, 0}; break;
    case TShadowStyle::ssRaised: p = {D::drUpLeft, 1, D::drNone, 0, 0}; break;
    case TShadowStyle::ssRaisedColor:
    case TShadowStyle::ssRaisedShadow: p = {D::drUpLeft, 1, D::drDownRight, 1, 1}; break;
    case TShadowStyle::ssRaisedThickShadow: p = {D::drUpLeft, 1, D::drDownRight, 1, 4}; break;
    case TShadowStyle::ssRecessed: p = {D::drDownRight, 1, D::drNone, 0, 0}; break;
    case TShadowStyle::ssRecessedColor:
    case TShadowStyle::ssRecessedShadow: p = {D::drDownRight, 1, D::drUpLeft, 1, 1}; break;
    case TShadowStyle::ssShadow: p = {D::drNone, 0, D::drDownRight, 2, 1}; break;
    case TShadowStyle::ssThickShadow: p = {D::drNone, 0, D::drDownRight, 1, 4}; break;
    case TShadowStyle::ssCustom: break;
    }
    applyingPreset_ = true;
    setHighlightDirection(p.hlDir);
    setHighlightDepth(p.hlDepth);
    setHighlightColor(clBtnHighlight);
    setShadowDirection(p.shDir);
    setShadowDepth(p.shDepth);
    setShadowSize(p.shSize);
    setShadowColor(clBtnShadow);
    if (s == TShadowStyle::ssRaisedColor || s == TShadowStyle::ssRecessedColor)
        setFontColor(clBtnFace);
    applyingPreset_ = false;
    update();
}

QPoint TProCustomLabel::RotatedBoxOrigin() const
{
    const QFontMetrics fm(font());
    const double w = fm.horizontalAdvance(Caption()), h = fm.height();
    const double rad = angle_ * std::numbers::pi / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    const int wc = int(w * c), ws = int(w * s), hc = int(h * c), hs = int(h * s);
    int bw, bh;
    if (angle_ < 90) {
        bw = wc + hs;
        bh = ws + hc;
    } else if (angle_ < 180) {
        bw = hs - wc;
        bh = ws - hc;
    } else if (angle_ < 270) {
        bw = -wc - hs;
        bh = -ws - hc;
    } else {
        bw = wc - hs;
        bh = hc - ws;
    }
    bw = std::min(bw, width());
    bh = std::min(bh, height());
    QPoint at(0, 0);
    if (Alignment() == TAlignment::taCenter)
        at.rx() += (width() - bw) / 2;
    else if (Alignment() == TAlignment::taRightJustify)
        at.rx() += width() - bw;
    if (VerticalAlignment() == TVerticalAlignment::vaCenter)
        at.ry() += (height() - bh) / 2;
    else if (VerticalAlignment() == TVerticalAlignment::vaBottom)
        at.ry() += height() - bh;
    return at;
}

void TProCustomLabel::paintEvent(QPaintEvent*)
{
    QImage img(size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Transparent() ? QColor(Qt::transparent) : ToQColor(Color()));
    QPainter p(&img);
    p.setFont(font());
    const int flags = TextFlags();
    const QString text = Caption();

    QRect r = rect();
    QPoint boxAt;
    if (angle_ == 0) {
        if (VerticalAlignment() != TVerticalAlignment::vaTop) {
            const int free = r.height() - p.fontMetrics().boundingRect(r, flags, text).height();
            r.translate(0, VerticalAlignment() == TVerticalAlignment::vaCenter ? free / 2 : free);
        }
    } else {
        boxAt = RotatedBoxOrigin();
    }
    r.translate(offsetX_, offsetY_);
    boxAt += QPoint(offsetX_, offsetY_);

    // One copy of the text, shifted by d, in colour c.
    auto copy = [&](QPoint d, TColor c) {
        if (angle_ == 0) {
            p.setPen(ToQColor(c));
            DrawDesignText(p, r.translated(d), flags, text);
        } else {
            p.drawImage(boxAt + d, TextPicture(text, font(), c, angle_));
        }
    };

    if (!isEnabled()) {
        copy({1, 1}, clBtnHighlight);
        copy({0, 0}, clBtnShadow);
    } else {
        if (shadowStyle_ != TShadowStyle::ssNone) {
            const QPoint ss = DirectionStep(shadowDirection_);
            QPoint at = ss * shadowDepth_;
            for (int i = 0; i < shadowSize_; ++i, at += ss)
                copy(at, shadowColor_);
            copy(DirectionStep(highlightDirection_) * highlightDepth_, highlightColor_);
        }
        copy({0, 0}, FontColor());
    }
    p.end();
    QPainter(this).drawImage(0, 0, img);
}

void TProCustomLabel::enterEvent(QEnterEvent* e)
{
    TLabel::enterEvent(e);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TProCustomLabel::leaveEvent(QEvent* e)
{
    TLabel::leaveEvent(e);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// ---------------------------------------------------------------- panel

TProCustomPanel::TProCustomPanel(QWidget* parent)
    : TPanel(parent)
{
}

void TProCustomPanel::setBevelCtl3D(bool on)
{
    if (!StoreChanged(bevelCtl3D_, on))
        return;
    setBevelWidth(on ? 2 : 1);
    FaceChanged();
}

void TProCustomPanel::setBevelSides(TSides s)
{
    if (StoreChanged(bevelSides_, s))
        FaceChanged();
}

void TProCustomPanel::setBorderColor(TColor c)
{
    if (StoreChanged(borderColor_, c))
        FaceChanged();
}

void TProCustomPanel::setVerticalAlignment(TVerticalAlignment v)
{
    if (StoreChanged(verticalAlignment_, v))
        FaceChanged();
}

void TProCustomPanel::setBorderStyle(TPanelBorderStyle s)
{
    if (StoreChanged(borderStyle_, s))
        FaceChanged();
}

void TProCustomPanel::SideLine(GdiCanvas& c, QRect& r, TColor topLeft, TColor bottomRight) const
{
    // r holds (left, top, right, bottom) as x1, y1, x2, y2 with right and bottom excluded.
    int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    if (rt <= l || b <= t)
        return;
    if (HasSide(bevelSides_, TSide::sdLeft))
        c.FillRect(l, t, l + 1, b, topLeft);
    if (HasSide(bevelSides_, TSide::sdTop))
        c.FillRect(l, t, rt, t + 1, topLeft);
    if (HasSide(bevelSides_, TSide::sdRight))
        c.FillRect(rt - 1, t, rt, b, bottomRight);
    if (HasSide(bevelSides_, TSide::sdBottom))
        c.FillRect(l, b - 1, rt, b, bottomRight);
    if (HasSide(bevelSides_, TSide::sdLeft))
        ++l;
    if (HasSide(bevelSides_, TSide::sdTop))
        ++t;
    if (HasSide(bevelSides_, TSide::sdRight))
        --rt;
    if (HasSide(bevelSides_, TSide::sdBottom))
        --b;
    r.setCoords(l, t, rt, b);
}

void TProCustomPanel::Bevel(GdiCanvas& c, QRect& r, TPanelBevel bevel) const
{
    // A space bevel draws nothing.
    if (bevel != TPanelBevel::bvLowered && bevel != TPanelBevel::bvRaised)
        return;
    const bool lowered = bevel == TPanelBevel::bvLowered;
    if (bevelCtl3D_) {
        if (lowered) {
            SideLine(c, r, clBtnShadow, clBtnHighlight);
            SideLine(c, r, clBtnText, cl3DLight);
        } else {
            SideLine(c, r, clBtnHighlight, clBtnText);
            SideLine(c, r, cl3DLight, clBtnShadow);
        }
        return;
    }
    for (int i = 0; i < BevelWidth(); ++i)
        SideLine(c, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow);
}

void TProCustomPanel::PaintPanel(GdiCanvas& c)
{
    QRect r;
    r.setCoords(0, 0, width(), height());
    if (borderStyle_ == TPanelBorderStyle::bsSingle) {
        c.SetPen(clWindowFrame);
        c.SetBrushClear();
        c.Rectangle(0, 0, width(), height());
        r.setCoords(1, 1, width() - 1, height() - 1);
    }
    Bevel(c, r, BevelOuter());
    for (int i = 0; i < BorderWidth(); ++i)
        SideLine(c, r, borderColor_, borderColor_);
    Bevel(c, r, BevelInner());
    const QRect inner(r.left(), r.top(), r.right() - r.left(), r.bottom() - r.top());
    c.FillRect(inner, Color());
    if (Caption().isEmpty() || inner.isEmpty())
        return;
    const int flags = AlignmentFlags(Alignment()) | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
    QPainter p(&c.Image());
    p.setFont(font());
    p.setPen(ToQColor(FontColor()));
    QRect tr = inner;
    if (verticalAlignment_ != TVerticalAlignment::vaTop) {
        const int free = tr.height() - p.fontMetrics().boundingRect(tr, flags, Caption()).height();
        tr.translate(0, verticalAlignment_ == TVerticalAlignment::vaCenter ? free / 2 : free);
    }
    DrawDesignText(p, tr, flags, Caption());
}

void TProCustomPanel::enterEvent(QEnterEvent* e)
{
    TPanel::enterEvent(e);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TProCustomPanel::leaveEvent(QEvent* e)
{
    TPanel::leaveEvent(e);
    if (OnMouseLeave)
        OnMouseLeave(this);
}
