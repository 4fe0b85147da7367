#include "STGauge.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "toolkit/Errors.h"
#include "toolkit/GdiCanvas.h"

namespace {

// Angles and slopes are worked in 80-bit extended precision, the precision
// the gauge's geometry is defined in, so that rounding lands on the same
// pixels.
using Real = long double;
constexpr Real kPi = std::numbers::pi_v<long double>;

// Slices of the arc and the ellipse overlap their successor by this angle,
// which closes the hairline gaps between neighbouring wedges.
constexpr Real kOverlap = 0.027L;

int Nearest(Real v) { return RoundHalfEven(double(v)); }

TColor Blend(TColor from, TColor to, int index, int span)
{
    const TColor a = ColorToRGB(from), b = ColorToRGB(to);
    return RGBToColor(GetRValue(a) + MulDiv(index, GetRValue(b) - GetRValue(a), span),
                      GetGValue(a) + MulDiv(index, GetGValue(b) - GetGValue(a), span),
                      GetBValue(a) + MulDiv(index, GetBValue(b) - GetBValue(a), span));
}

} // namespace

TSTGauge::TSTGauge(QWidget* parent)
    : TControl(parent)
{
    // Windowless in spirit: no input, painted over the parent.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    UpdateOpaque();
    resize(100, 50);
}

void TSTGauge::setPercent(int p)
{
    if (p < 0 || p > 100 || !StoreChanged(percent_, p))
        return;
    RepaintControl(this);
    if (OnChange)
        OnChange(this);
}

void TSTGauge::setShape(TGaugeShape s)
{
    if (!StoreChanged(shape_, s))
        return;
    UpdateOpaque();
    update();
}

void TSTGauge::setBorder(TGaugeBorder b)
{
    if (StoreChanged(border_, b))
        update();
}

void TSTGauge::setGradientFill(bool on)
{
    if (StoreChanged(gradientFill_, on))
        update();
}

void TSTGauge::setFillColor(TColor c)
{
    if (StoreChanged(fillColor_, c))
        RepaintControl(this);
}

void TSTGauge::setMedianColor(TColor c)
{
    if (StoreChanged(medianColor_, c))
        RepaintControl(this);
}

void TSTGauge::setGradientColor(TColor c)
{
    if (StoreChanged(gradientColor_, c))
        RepaintControl(this);
}

void TSTGauge::setUseMedianColor(bool on)
{
    if (StoreChanged(useMedianColor_, on))
        RepaintControl(this);
}

void TSTGauge::setBackcolor(TColor c)
{
    if (StoreChanged(backcolor_, c))
        update();
}

void TSTGauge::setBlendColor(TColor c)
{
    if (StoreChanged(blendColor_, c))
        update();
}

void TSTGauge::setTransparent(bool on)
{
    // Always repaints: the parent's colour may have changed meanwhile.
    transparent_ = on;
    update();
}

TColor TSTGauge::StepColor(int n) const
{
    if (n < 1 || n > 100)
        throw ERangeError("ColorIndex can't be less than 1 or greater than 100");
    if (!useMedianColor_)
        return Blend(fillColor_, gradientColor_, n - 1, 99);
    if (n <= 50)
        return Blend(fillColor_, medianColor_, n - 1, 49);
    return Blend(medianColor_, gradientColor_, n - 51, 49);
}

const std::array<std::uint32_t, 100>& TSTGauge::StepPixels() const
{
    StepPixelStore& k = stepPixels_;
    if (!k.valid || k.fill != fillColor_ || k.median != medianColor_ || k.gradient != gradientColor_
        || k.useMedian != useMedianColor_) {
        k = {fillColor_, medianColor_, gradientColor_, useMedianColor_, true, {}};
        for (int n = 1; n <= 100; ++n)
            k.pixels[std::size_t(n - 1)] = ToPixel(StepColor(n));
    }
    return k.pixels;
}

TColor TSTGauge::LayerColor(int i, int count, TColor a, TColor b)
{
    if (i < 1 || count < i)
        throw ERangeError("ColorIndex can't be less than 1 or greater than " + std::to_string(count));
    // One layer of one is the first colour (MulDiv by zero would answer -1).
    if (count == 1)
        return ColorToRGB(a);
    return Blend(a, b, i - 1, count - 1);
}

bool TSTGauge::BorderColors(TColor& first, TColor& second) const
{
    switch (border_) {
    case TGaugeBorder::gbNone:
        return false;
    case TGaugeBorder::gbSingle:
        first = second = clWindowFrame;
        return true;
    case TGaugeBorder::gbRaised:
        first = clBtnHighlight;
        second = clBtnShadow;
        return true;
    case TGaugeBorder::gbLowered:
        first = clBtnShadow;
        second = clBtnHighlight;
        return true;
    }
    return false;
}

TColor TSTGauge::Surroundings() const
{
    return transparent_ ? BackgroundColorOf(parentWidget()) : blendColor_;
}

QSize TSTGauge::CopiedSize() const
{
    switch (shape_) {
    case TGaugeShape::gsArc:
    case TGaugeShape::gsPole:
        return QSize(width() - 1, height());
    case TGaugeShape::gsEllipse:
        return QSize(width() - 1, height() - 1);
    default:
        return size();
    }
}

QImage TSTGauge::Picture() const
{
    if (shape_ == TGaugeShape::gsArc)
        return ArcPicture();
    QImage img(size(), QImage::Format_RGB32);
    Compose(img);
    return img;
}

void TSTGauge::Compose(QImage& img) const
{
    // The arc has its own picture (ArcPicture).
    GdiCanvas canvas(img);
    canvas.Fill(clWhite);
    switch (shape_) {
    case TGaugeShape::gsTriangle:
        PaintTriangle(canvas);
        break;
    case TGaugeShape::gsVertRect:
        PaintRect(canvas, true);
        break;
    case TGaugeShape::gsHorzRect:
        PaintRect(canvas, false);
        break;
    case TGaugeShape::gsEllipse:
        PaintEllipse(canvas);
        break;
    case TGaugeShape::gsArc:
        break;
    case TGaugeShape::gsPole:
        PaintPole(canvas);
        break;
    }
}

void TSTGauge::paintEvent(QPaintEvent* e)
{
    if (width() <= 0 || height() <= 0)
        return;
    const QRegion copied = e->region() & QRect(QPoint(0, 0), CopiedSize());
    if (shape_ == TGaugeShape::gsArc) {
        CopyPicture(*this, ArcPicture(), copied);
        return;
    }
    // Composed in a picture kept from paint to paint (no allocation per paint).
    if (picture_.size() != size())
        picture_ = QImage(size(), QImage::Format_RGB32);
    Compose(picture_);
    CopyPicture(*this, picture_, copied);
}

void TSTGauge::UpdateOpaque()
{
    // A shape whose picture covers the whole control hides what lies
    // behind it, which then need not be painted for it.
    setAttribute(Qt::WA_OpaquePaintEvent, shape_ == TGaugeShape::gsTriangle || shape_ == TGaugeShape::gsVertRect
                                              || shape_ == TGaugeShape::gsHorzRect);
}

void TSTGauge::PaintRect(GdiCanvas& canvas, bool vertical) const
{
    const int w = width(), h = height();
    canvas.FillRect(0, 0, w - 1, h - 1, backcolor_);
    int left = 0, top = 0, right = w, bottom = h;
    TColor first, second;
    if (BorderColors(first, second)) {
        canvas.SetPen(first);
        canvas.Polyline({{w - 1, 0}, {0, 0}, {0, h - 1}});
        canvas.SetPen(second);
        canvas.Polyline({{0, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
        ++left;
        ++top;
        --right;
        --bottom;
    }
    canvas.FillRect(left, top, right, bottom, backcolor_);
    if (gradientFill_ && !vertical && bottom > top) {
        // The bands of a horizontal bar are columns, so its rows are alike:
        // the first row takes the bands and is copied into the others.
        QImage& img = canvas.Image();
        auto* row = reinterpret_cast<std::uint32_t*>(img.scanLine(top));
        const std::array<std::uint32_t, 100>& pixels = StepPixels();
        int edge = left; // band k spans MulDiv(k, length, 100) .. MulDiv(k + 1, length, 100)
        for (int k = 0; k < percent_; ++k) {
            const int to = left + MulDiv(k + 1, right - left, 100);
            const int a = std::max(edge, 0), b = std::min(to, img.width());
            if (a < b)
                std::fill(row + a, row + b, pixels[std::size_t(k)]);
            edge = to;
        }
        const int from = std::max(left, 0);
        const int to = std::min(left + MulDiv(percent_, right - left, 100), img.width());
        if (to > from)
            for (int y = top + 1; y < std::min(bottom, img.height()); ++y)
                std::memcpy(reinterpret_cast<uchar*>(row) + (y - top) * img.bytesPerLine() + from * 4, row + from,
                            std::size_t(to - from) * 4);
    } else if (gradientFill_) {
        // Each band is one hundredth of the inner length, in the colour of
        // its percentage; the last band shows the colour of the value.
        for (int k = 0; k < percent_; ++k) {
            const TColor c = StepColor(k + 1);
            if (vertical)
                canvas.FillRect(left, bottom - MulDiv(k + 1, bottom - top, 100), right,
                                bottom - MulDiv(k, bottom - top, 100), c);
            else
                canvas.FillRect(left + MulDiv(k, right - left, 100), top, left + MulDiv(k + 1, right - left, 100),
                                bottom, c);
        }
    } else if (vertical) {
        canvas.FillRect(left, bottom - (bottom - top) * percent_ / 100, right, bottom, fillColor_);
    } else {
        canvas.FillRect(left, top, left + (right - left) * percent_ / 100, bottom, fillColor_);
    }
}

void TSTGauge::PaintTriangle(GdiCanvas& canvas) const
{
    const int w = width(), h = height();
    canvas.FillRect(0, 0, w - 1, h - 1, Surroundings());
    canvas.SetBrush(backcolor_);
    canvas.SetPen(backcolor_);
    canvas.Polygon({{w - 1, 0}, {0, h - 1}, {w - 1, h - 1}});
    if (percent_ > 0) {
        // Largest first: each smaller triangle covers the previous one, so a
        // column shows the step colour of its own percentage.
        // Not h / w: tan(atan()) rounds differently, and the pixels follow it.
        const Real slope = std::tan(std::atan(Real(h) / Real(w)));
        const int last = gradientFill_ ? 1 : percent_;
        for (int p = percent_; p >= last; --p) {
            const Real x = Real(w - 1) * p / 100;
            const TColor c = gradientFill_ ? StepColor(p) : fillColor_;
            canvas.SetBrush(c);
            canvas.SetPen(c);
            const int nx = Nearest(x);
            canvas.Polygon({{0, h - 1}, {nx, h - 1}, {nx, h - int(std::trunc(x * slope))}});
        }
    }
    TColor first, second;
    if (BorderColors(first, second)) {
        canvas.SetPen(first);
        canvas.MoveTo(w - 1, 0);
        canvas.LineTo(0, h - 1);
        canvas.SetPen(second);
        canvas.Polyline({{0, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
    }
}

void TSTGauge::PaintWedges(GdiCanvas& canvas, int right, int bottom, QPoint origin, long double full,
                           const std::function<QPoint(long double)>& at) const
{
    if (percent_ <= 0)
        return;
    if (!gradientFill_) {
        canvas.SetPen(clBlack);
        canvas.SetBrush(fillColor_);
        const QPoint start = at(Real(percent_) / 100 * full);
        canvas.Pie(0, 0, right, bottom, start.x(), start.y(), origin.x(), origin.y());
        return;
    }
    // Slices clockwise from the origin; each one reaches a little into the
    // next, except the last, which ends exactly at the value.
    // The points of the hundred steps depend on the shape and the size
    // alone: worked out once for them (two hundred extended-precision
    // sines and cosines are a good part of a paint).
    if (wedgeSize_ != size() || wedgeShape_ != shape_ || wedgePoints_.empty()) {
        wedgePoints_.clear();
        for (int i = 1; i <= 100; ++i) {
            const Real theta = Real(i) / 100 * full;
            wedgePoints_.push_back(at(theta));
            wedgePoints_.push_back(at(theta + kOverlap));
        }
        wedgeSize_ = size();
        wedgeShape_ = shape_;
        wedgeCover_ = {};
    }
    // The slices' rays follow from the step points, the box and the
    // percentage alone; their colours are laid afresh on every paint.
    if (!wedgeCover_.Valid() || wedgeCoverPercent_ != percent_ || wedgeCoverBox_ != QPoint(right, bottom)) {
        std::vector<GdiCanvas::PieSlice> slices;
        slices.reserve(std::size_t(percent_));
        QPoint q = origin;
        for (int i = 1; i <= percent_; ++i) {
            const QPoint step = wedgePoints_[std::size_t(2 * (i - 1))];
            slices.push_back({i < percent_ ? wedgePoints_[std::size_t(2 * (i - 1) + 1)] : step, q, clBlack});
            q = step;
        }
        wedgeCover_ = GdiCanvas::PieSeriesCover(0, 0, right, bottom, slices);
        wedgeCoverPercent_ = percent_;
        wedgeCoverBox_ = QPoint(right, bottom);
    }
    std::vector<TColor> colours;
    colours.reserve(std::size_t(percent_));
    for (int i = 1; i <= percent_; ++i)
        colours.push_back(StepColor(i));
    canvas.DrawPieCover(wedgeCover_, colours);
}

namespace {

// A point of the arc's ellipse at angle theta, counted from the left end.
QPoint ArcPoint(int w, int h, long double theta)
{
    return QPoint(Nearest((1 - std::cos(theta)) * (w / 2 - 1)), Nearest((1 - std::sin(theta)) * (h - 1)));
}

} // namespace

const TSTGauge::ArcLayers& TSTGauge::CurrentArcLayers() const
{
    const int w = width(), h = height();
    // The ellipse's box reaches twice the height: only its upper half shows.
    const int right = w - 1, bottom = 2 * h - 1;
    TColor first = 0, second = 0;
    const bool bordered = BorderColors(first, second);
    ArcLayers& l = arcLayers_;
    if (l.base.isNull() || l.size != size() || l.surroundings != Surroundings() || l.back != backcolor_) {
        l.base = QImage(size(), QImage::Format_RGB32);
        GdiCanvas canvas(l.base);
        canvas.Fill(clWhite);
        canvas.FillRect(0, 0, w - 1, h - 1, Surroundings());
        canvas.SetBrush(backcolor_);
        canvas.SetPen(clBtnFace);
        canvas.Pie(0, 0, right, bottom, w - 1, h - 1, 0, h - 1);
        l.surroundings = Surroundings();
        l.back = backcolor_;
    }
    if (l.bordered != bordered || l.size != size() || l.first != first || l.second != second) {
        // The pen sets pixels and blends nothing, so the border is exactly
        // the pixels it changes: drawn once over black and once over white,
        // a pixel it leaves alone keeps both.
        l.border.clear();
        if (bordered) {
            QImage dark(size(), QImage::Format_RGB32), light(size(), QImage::Format_RGB32);
            dark.fill(0xFF000000u);
            light.fill(0xFFFFFFFFu);
            for (QImage* img : {&dark, &light}) {
                GdiCanvas canvas(*img);
                canvas.SetPen(first);
                canvas.Arc(0, 0, right, bottom, w - 1, 0, 0, 2 * h - 1);
                canvas.SetPen(second);
                canvas.Arc(0, 0, right, bottom, 0, 2 * h - 1, w - 1, 0);
                canvas.MoveTo(0, h - 1);
                canvas.LineTo(w - 1, h - 1);
            }
            for (int y = 0; y < h; ++y) {
                const QRgb* d = reinterpret_cast<const QRgb*>(dark.constScanLine(y));
                const QRgb* b = reinterpret_cast<const QRgb*>(light.constScanLine(y));
                for (int x = 0; x < w; ++x)
                    if (d[x] != 0xFF000000u || b[x] != 0xFFFFFFFFu)
                        l.border.emplace_back(QPoint(x, y), d[x]);
            }
        }
        l.bordered = bordered;
        l.first = first;
        l.second = second;
    }
    l.size = size();
    return l;
}

QImage TSTGauge::ArcPicture() const
{
    const int w = width(), h = height();
    const ArcLayers& layers = CurrentArcLayers();
    QImage img = layers.base;
    {
        GdiCanvas canvas(img);
        PaintWedges(canvas, w - 1, 2 * h - 1, QPoint(0, h - 1), kPi,
                    [w, h](Real theta) { return ArcPoint(w, h, theta); });
    }
    for (const auto& [p, rgb] : layers.border)
        reinterpret_cast<QRgb*>(img.scanLine(p.y()))[p.x()] = rgb;
    return img;
}

void TSTGauge::PaintEllipse(GdiCanvas& canvas) const
{
    const int w = width(), h = height();
    const int right = w - 1, bottom = h - 1;
    auto at = [&](Real theta) {
        return QPoint(Nearest((1 - std::cos(theta)) * (w / 2 - 1)), Nearest((1 - std::sin(theta)) * (h / 2 - 1)));
    };
    const QPoint leftPoint(0, h / 2 - 1);
    canvas.FillRect(0, 0, w - 1, h - 1, Surroundings());
    canvas.SetBrush(backcolor_);
    canvas.SetPen(clBtnFace);
    canvas.Ellipse(0, 0, right, bottom);
    PaintWedges(canvas, right, bottom, leftPoint, 2 * kPi, at);
    TColor first, second;
    if (BorderColors(first, second)) {
        canvas.SetPen(first);
        canvas.Arc(0, 0, right, bottom, w - 1, 0, 0, h - 1);
        canvas.SetPen(second);
        canvas.Arc(0, 0, right, bottom, 0, h - 1, w - 1, 0);
    }
}

void TSTGauge::PaintPole(GdiCanvas& canvas) const
{
    const int w = width(), h = height();
    canvas.FillRect(0, 0, w - 1, h - 1, clBtnFace);
    canvas.SetPen(clBlack);
    canvas.MoveTo(w - 1, 0);
    canvas.LineTo(0, 0);
    canvas.LineTo(0, h - 1);
    canvas.LineTo(w - 1, h - 1);
    // A 15-pixel column at the right edge, shaded as a cylinder: seven
    // layers from GradientColor outside to FillColor inside.
    canvas.FillRect(w - 19, 1, w - 4, h - 1, backcolor_);
    const int filled = Nearest(Real(h - 2) * percent_ / 100);
    int left = w - 19, top = h - 1 - filled, right = w - 4, bottom = h - 1;
    for (int i = 1; i <= 7 && i <= percent_; ++i) {
        // Once the shrinking column has no room left, the inner layers have
        // nothing to cover.
        if (right <= left || bottom <= top)
            break;
        canvas.FillRect(left, top, right, bottom, LayerColor(i, 7, gradientColor_, fillColor_));
        ++left;
        ++top;
        --right;
        --bottom;
    }
}
