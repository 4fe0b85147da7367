#include "Gauges.h"

#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "toolkit/Errors.h"
#include "toolkit/GdiCanvas.h"

namespace {

// The conversions and angles are worked in 80-bit extended precision, the
// precision the gauge's figures are defined in: truncation lands on other
// pixels in double (20 * (5 * 0.01) truncates to 0 here, to 1 in double).
using Real = long double;
constexpr Real kPi = std::numbers::pi_v<long double>;

EInvalidOperation OutOfRange(long long low, long long high)
{
    char text[96];
    std::snprintf(text, sizeof text, "Value must be between %lld and %lld", low, high);
    return EInvalidOperation(text);
}

} // namespace

void TBltBitmap::MakeLike(const QImage& tmpl)
{
    static_cast<QImage&>(*this) = QImage(tmpl.size(), QImage::Format_RGB32);
    GdiCanvas(*this).Fill(clWindowFrame);
}

TGauge::TGauge(QWidget* parent)
    : TControl(parent)
{
    // Framed and opaque: every paint covers the whole control.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

int TGauge::PercentOf(long long p, long long length)
{
    return int(std::trunc(Real(length) * (Real(p) * 0.01L)));
}

int TGauge::ShareInPercent(long long part, long long whole)
{
    if (whole == 0)
        return 0;
    return int(std::trunc(Real(part) * 100 / Real(whole)));
}

int TGauge::FilledPercent() const
{
    // In 64 bits: the full 32-bit range does not fit a 32-bit difference.
    return ShareInPercent(static_cast<long long>(progress_) - minValue_, static_cast<long long>(maxValue_) - minValue_);
}

void TGauge::setMinValue(int v)
{
    if (v == minValue_)
        return;
    if (v > maxValue_ && !Loading())
        throw OutOfRange(-2147483647LL, static_cast<long long>(maxValue_) - 1);
    minValue_ = v;
    if (progress_ < v)
        progress_ = v;
    RepaintControl(this);
}

void TGauge::setMaxValue(int v)
{
    if (v == maxValue_)
        return;
    if (v < minValue_ && !Loading())
        throw OutOfRange(static_cast<long long>(minValue_) + 1, 2147483647LL);
    maxValue_ = v;
    if (progress_ > v)
        progress_ = v;
    RepaintControl(this);
}

void TGauge::setProgress(int v)
{
    if (v < minValue_)
        v = minValue_;
    if (v > maxValue_)
        v = maxValue_;
    if (v == progress_)
        return;
    const int before = FilledPercent();
    progress_ = v;
    if (FilledPercent() != before)
        RepaintControl(this);
}

void TGauge::setKind(TGaugeKind k)
{
    if (StoreChanged(kind_, k))
        RepaintControl(this);
}

void TGauge::setShowText(bool on)
{
    if (StoreChanged(showText_, on))
        RepaintControl(this);
}

void TGauge::setBorderStyle(TBorderStyle s)
{
    if (StoreChanged(borderStyle_, s))
        RepaintControl(this);
}

void TGauge::setForeColor(TColor c)
{
    if (StoreChanged(foreColor_, c))
        RepaintControl(this);
}

void TGauge::setBackColor(TColor c)
{
    if (StoreChanged(backColor_, c))
        RepaintControl(this);
}

void TGauge::PaintKind(QImage& overlay, int left, int top, int right, int bottom) const
{
    const bool framed = borderStyle_ == TBorderStyle::bsSingle;
    GdiCanvas canvas(overlay);
    switch (kind_) {
    case TGaugeKind::gkText:
        canvas.FillRect(left, top, right, bottom, backColor_);
        break;
    case TGaugeKind::gkHorizontalBar:
    case TGaugeKind::gkVerticalBar: {
        const int w = right - left + 1, h = bottom - top + 1;
        canvas.FillRect(left, top, right, bottom, backColor_);
        // The filled part ends at the size itself, not at left or top plus it.
        if (kind_ == TGaugeKind::gkHorizontalBar) {
            const int f = std::min(PercentOf(FilledPercent(), w), w);
            if (f >= 1)
                canvas.FillRect(left, top, f, h, foreColor_);
        } else {
            int f = PercentOf(FilledPercent(), h);
            if (f >= h)
                f = h - 1;
            canvas.FillRect(left, h - f, w, h, foreColor_);
        }
        break;
    }
    case TGaugeKind::gkPie: {
        const int w = right - left + (framed ? 1 : 0), h = bottom - top + (framed ? 1 : 0);
        canvas.FillRect(left, top, right, bottom, Color());
        canvas.SetBrush(backColor_);
        canvas.SetPen(foreColor_);
        canvas.Ellipse(left, top, w, h);
        if (FilledPercent() > 0) {
            canvas.SetBrush(foreColor_);
            const int mx = w / 2, my = h / 2;
            const Real a = (Real(FilledPercent()) / 50 + 0.5L) * kPi;
            canvas.Pie(left, top, w, h, RoundHalfEven(double(mx * (1 - std::cos(a)))),
                       RoundHalfEven(double(my * (1 - std::sin(a)))), mx, 0);
        }
        break;
    }
    case TGaugeKind::gkNeedle: {
        const int x = left, y = top;
        const int w = right - left + (framed ? 1 : 0), h = bottom - top + (framed ? 1 : 0);
        canvas.FillRect(left, top, right, bottom, Color());
        canvas.SetBrush(backColor_);
        canvas.SetPen(foreColor_);
        canvas.Pie(x, y, w, 2 * h - 1, x + w, bottom - 1, x, bottom - 1);
        canvas.MoveTo(x, bottom);
        canvas.LineTo(x + w, bottom);
        if (FilledPercent() > 0) {
            const int mx = width() / 2;
            const Real a = Real(FilledPercent()) / 100 * kPi;
            canvas.MoveTo(mx, bottom - 1);
            canvas.LineTo(RoundHalfEven(double(mx * (1 - std::cos(a)))),
                          RoundHalfEven(double((bottom - 1) * (1 - std::sin(a)))));
        }
        break;
    }
    }
}

QImage TGauge::Picture() const
{
    QImage image;
    Compose(image);
    return image;
}

namespace {

// What a text bitmap depends on; the font by its key. Fonts themselves stay
// out of the store, which outlives the application object they belong to.
struct TextBitmapKey {
    QSize size;
    QRect box;
    QString font;
    QString text;
    bool operator==(const TextBitmapKey&) const = default;
};

size_t qHash(const TextBitmapKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.size.width(), k.size.height(), k.box.x(), k.box.y(), k.box.width(), k.box.height(),
                      k.font, k.text);
}

// The text bitmap of a gauge: white text on black, in a picture of the
// gauge's size. Drawing text is most of a gauge's paint, and a window's
// gauges share a size and a font and show a hundred and one texts at most:
// the bitmaps are kept by what they depend on, and a full store starts
// afresh. GUI thread only, like the gauges.
const QImage& TextBitmap(const QSize& size, const QString& text, const QFont& font, const QString& fontKey,
                         const QRect& box)
{
    static QHash<TextBitmapKey, QImage> kept;
    const TextBitmapKey key{size, box, fontKey, text};
    if (auto it = kept.constFind(key); it != kept.cend())
        return *it;
    if (kept.size() >= 512)
        kept.clear();
    QImage bitmap(size, QImage::Format_RGB32);
    GdiCanvas tc(bitmap);
    tc.Fill(clBlack);
    // Centred on the painted area's size plus one, but placed in the
    // bitmap's own coordinates, not offset by the frame.
    const int x = (box.width() + 1 - GdiCanvas::TextWidth(text, font)) / 2;
    const int y = (box.height() + 1 - GdiCanvas::TextHeight(font)) / 2;
    tc.TextOut(x, y, text, font, clWhite, box);
    return *kept.insert(key, bitmap);
}

} // namespace

void TGauge::Compose(QImage& image) const
{
    // The picture is reused while the size holds; it is refilled first.
    if (image.size() != size())
        image = QImage(size(), QImage::Format_RGB32);
    GdiCanvas canvas(image);
    canvas.Fill(clBlack);
    // The painted area, right and bottom excluded; the black edge left
    // around it is the frame.
    int left = 0, top = 0, right = width(), bottom = height();
    if (borderStyle_ == TBorderStyle::bsSingle) {
        ++left;
        ++top;
        --right;
        --bottom;
    }

    // The kind drawn on black and laid over black by XOR is the kind as
    // drawn: it goes straight onto the black picture.
    PaintKind(image, left, top, right, bottom);

    if (showText_) {
        // Every text pixel shows the inverse of what lies beneath.
        const QString s = QStringLiteral("%1%").arg(FilledPercent());
        // A font's key is worked out from all its properties: once per font.
        if (textFontKey_.isEmpty() || font() != textFont_) {
            textFont_ = font();
            textFontKey_ = textFont_.key();
        }
        canvas.XorBlit(TextBitmap(size(), s, font(), textFontKey_, QRect(left, top, right - left, bottom - top)));
    }
}

void TGauge::paintEvent(QPaintEvent* e)
{
    if (width() <= 0 || height() <= 0)
        return;
    Compose(picture_);
    CopyPicture(*this, picture_, e->region());
}
