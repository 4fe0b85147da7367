#include "GPanel.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/GdiCanvas.h"

// The setters never compare with the old value: every write repaints.
TGPanel::TGPanel(QWidget* parent)
    : TPanel(parent)
{
}

void TGPanel::setActive(bool on)
{
    active_ = on;
    FaceChanged();
}

void TGPanel::setColor_1(TColor c)
{
    color1_ = c;
    FaceChanged();
}

void TGPanel::setColor_2(TColor c)
{
    color2_ = c;
    FaceChanged();
}

void TGPanel::setColor_3(TColor c)
{
    color3_ = c;
    FaceChanged();
}

void TGPanel::setHorizontal(bool on)
{
    horizontal_ = on;
    FaceChanged();
}

void TGPanel::setPercent(int p)
{
    percent_ = std::clamp(p, 1, 100);
    FaceChanged();
}

void TGPanel::PaintPanel(GdiCanvas& canvas)
{
    TPanel::PaintPanel(canvas);
    if (!active_)
        return;
    auto counts = [](TPanelBevel b) { return b == TPanelBevel::bvLowered || b == TPanelBevel::bvRaised; };
    const int b = BevelWidth() * (int(counts(BevelInner())) + int(counts(BevelOuter())));
    const int w = width() - 2 * b;
    const int h = height() - 2 * b;
    // A panel narrower or lower than its bevels has no room for a gradient
    // (the first segment's minimum of one pixel would paint over a bevel).
    if (w <= 0 || h <= 0)
        return;
    auto share = [this](int x) {
        const int p = x * percent_ / 100;
        return p == 0 ? 1 : p;
    };
    if (percent_ == 100) {
        PaintSegment(canvas, b, b, w, h, color1_, color2_);
    } else if (horizontal_) {
        const int first = share(w);
        PaintSegment(canvas, b, b, first, h, color1_, color2_);
        PaintSegment(canvas, b + first, b, w - first, h, color2_, color3_);
    } else {
        const int first = share(h);
        PaintSegment(canvas, b, b, w, first, color1_, color2_);
        PaintSegment(canvas, b, b + first, w, h - first, color2_, color3_);
    }
}

void TGPanel::PaintSegment(GdiCanvas& canvas, int x, int y, int w, int h, TColor a, TColor b) const
{
    // Equal colours as stored leave the standard panel picture.
    if (a == b)
        return;
    const TColor ra = ColorToRGB(a), rb = ColorToRGB(b);
    // Channels in fixed point with two decimals.
    const int from[3] = {GetRValue(ra) * 100, GetGValue(ra) * 100, GetBValue(ra) * 100};
    const int diff[3] = {GetRValue(rb) * 100 - from[0], GetGValue(rb) * 100 - from[1],
                         GetBValue(rb) * 100 - from[2]};
    const int steps = std::max({std::abs(diff[0]), std::abs(diff[1]), std::abs(diff[2])});
    const int length = horizontal_ ? w : h;
    // A segment with no room, or colours that resolve alike, has nothing to
    // spread: painting it would divide by zero.
    if (length <= 0 || steps == 0)
        return;
    // No more bands than colour steps: a band is the pixels per step, rounded up.
    const int size = steps < length * 100 ? ((steps / 100 + length - 1) * 100) / steps : 1;
    const int count = length / size;
    int per[3];
    for (int c = 0; c < 3; ++c)
        per[c] = diff[c] / count; // (B.c - A.c) * 100 div n, truncated toward zero
    // Only the bands that reach into where fills land: a child's spot of a
    // wide panel costs its own few bands, not all of them.
    const QRect bounds = canvas.FillBounds();
    const int lo = (horizontal_ ? bounds.left() - x : bounds.top() - y);
    const int hi = (horizontal_ ? bounds.right() - x : bounds.bottom() - y);
    const int firstBand = std::max(0, lo / size);
    const int lastBand = std::min(count, hi < 0 ? -1 : hi / size);
    for (int i = firstBand; i <= lastBand; ++i) {
        const int start = i * size;
        const int band = (i + 1) * size > length ? length - start : size;
        if (band <= 0)
            continue;
        const TColor color = RGBToColor(from[0] / 100 + per[0] * i / 100, from[1] / 100 + per[1] * i / 100,
                                        from[2] / 100 + per[2] * i / 100);
        if (horizontal_)
            canvas.FillRect(x + start, y, x + start + band, y + h, color);
        else
            canvas.FillRect(x, y + start, x + w, y + start + band, color);
    }
}
