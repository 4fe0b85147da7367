#include "RsRuler.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <vector>

#include "ProCtrls.h"
#include "toolkit/Fonts.h"
#include "toolkit/GdiCanvas.h"

QString FormatRulerNumber(double v)
{
    QString s = QString::number(v, 'f', 2);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

// ---------------------------------------------------------------- base

TRsBaseRuler::TRsBaseRuler(QWidget* parent)
    : TControl(parent)
{
}

void TRsBaseRuler::setFlat(bool on)
{
    if (StoreChanged(flat_, on))
        RepaintControl(this);
}

void TRsBaseRuler::setScaleColor(TColor c)
{
    if (StoreChanged(scaleColor_, c))
        RepaintControl(this);
}

void TRsBaseRuler::setTickColor(TColor c)
{
    if (StoreChanged(tickColor_, c))
        RepaintControl(this);
}

void TRsBaseRuler::setUnits(TRulerUnit u)
{
    if (StoreChanged(units_, u))
        RepaintControl(this);
}

void TRsBaseRuler::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        RepaintControl(this);
}

double TRsBaseRuler::ScreenPPI() const
{
    return logicalDpiX();
}

void TRsBaseRuler::changeEvent(QEvent* e)
{
    TControl::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        rulerFont_ = font();
        fontsNeeded_ = false;
        update();
    }
}

void TRsBaseRuler::Paint(GdiCanvas& canvas)
{
    canvas.Fill(Color());
    if (fontsNeeded_) {
        rulerFont_ = font();
        fontsNeeded_ = false;
    }
}

// ---------------------------------------------------------------- ruler

TRsRuler::TRsRuler(QWidget* parent)
    : TRsBaseRuler(parent)
{
    resize(200, 33);
}

void TRsRuler::setDirection(TRulerDir d)
{
    if (d == direction_)
        return;
    const bool wasHorizontal = Horizontal();
    const bool horizontal = d == TRulerDir::rdTop || d == TRulerDir::rdBottom;
    if (wasHorizontal != horizontal)
        resize(height(), width());
    direction_ = d;
    RepaintControl(this);
}

void TRsRuler::setScale(int s)
{
    if (s <= 0 || !StoreChanged(scale_, s))
        return;
    RepaintControl(this);
}

void TRsRuler::setHairLine(bool on)
{
    if (StoreChanged(hairLine_, on))
        RepaintControl(this);
}

void TRsRuler::setHairLineStyle(THairLineStyle s)
{
    if (StoreChanged(hairLineStyle_, s))
        RepaintControl(this);
}

void TRsRuler::setOffset(double o)
{
    if (StoreChanged(offset_, o))
        RepaintControl(this);
}

void TRsRuler::setShowMinus(bool on)
{
    if (StoreChanged(showMinus_, on))
        RepaintControl(this);
}

double TRsRuler::UnitFactor(TRulerUnit u) const
{
    switch (u) {
    case TRulerUnit::ruCenti:
        return 0.1;
    case TRulerUnit::ruInch:
        return 0.03937007874015748;
    case TRulerUnit::ruPixel:
        return ScreenPPI() / 25.4;
    case TRulerUnit::ruMilli:
    case TRulerUnit::ruNone:
        break;
    }
    return 1.0;
}

void TRsRuler::setUnits(TRulerUnit u)
{
    if (u == Units())
        return;
    offset_ = offset_ / UnitFactor(Units()) * UnitFactor(u);
    StoreUnits(u);
    RepaintControl(this);
}

void TRsRuler::setHairLinePos(int pos)
{
    if (!StoreChanged(hairLinePos_, pos))
        return;
    // What inverting the old line away and the new one in would leave: the
    // picture of the last paint with the line at the new position only. The
    // paint composes that afresh, unless something else changed meanwhile.
    hairLineMoved_ = true;
    update();
}

void TRsRuler::DrawHairLine(GdiCanvas& c)
{
    if (!hairLine_ || hairLinePos_ == -1)
        return;
    const int h = QFontMetrics(RulerFont()).height();
    const int P = hairLinePos_, W = width(), H = height();
    const bool rect = hairLineStyle_ == THairLineStyle::hlsRect;
    switch (direction_) {
    case TRulerDir::rdTop:
        c.InvertRect(rect ? 1 : P - 1, H - h - 7, P, H - 8);
        break;
    case TRulerDir::rdBottom:
        if (rect)
            c.InvertRect(1, 8, P, h + 7);
        else
            c.InvertRect(P - 1, 8, P, h + 6);
        break;
    case TRulerDir::rdLeft:
        c.InvertRect(W - h - 6, rect ? 1 : P - 1, W - 8, P);
        break;
    case TRulerDir::rdRight:
        c.InvertRect(8, rect ? 1 : P - 1, h + 6, P);
        break;
    }
}

void TRsRuler::ComputeStep()
{
    const TRulerUnit u = Units();
    if (u == TRulerUnit::ruPixel) {
        step_ = scale_ * 5.0 / 100; // in floating point: any zoom fits
    } else {
        step_ = ScreenPPI() / 10 * scale_ / 100;
        if (u != TRulerUnit::ruInch)
            step_ /= 2.54;
    }
    const int s = scale_;
    if (s == 1)
        factor_ = 100;
    else if (s == 2)
        factor_ = 50;
    else if (s >= 3 && s <= 5)
        factor_ = 25;
    else if (s >= 6 && s <= 8)
        factor_ = 20;
    else if (s >= 9 && s <= 12)
        factor_ = 10;
    else if (s >= 13 && s <= 25)
        factor_ = 5;
    else if (s >= 26 && s <= 35)
        factor_ = 4;
    else if (s >= 36 && s <= 50)
        factor_ = 2;
    else if (s >= 51 && s <= 125)
        factor_ = 1;
    else if (s >= 126 && s <= 300)
        factor_ = 0.5;
    else if (s >= 301 && s <= 400)
        factor_ = 0.25;
    else if (s >= 401 && s <= 500)
        factor_ = 0.2;
    else if (s >= 501 && s <= 1000)
        factor_ = 0.1;
    // any other zoom keeps the factor of the previous paint
    step_ *= factor_;
}

void TRsRuler::Paint(GdiCanvas& c)
{
    TRsBaseRuler::Paint(c);
    hairLinePos_ = -1;
    const int W = width(), H = height();
    if (!Flat()) {
        int l = 0, t = 0, r = W, b = H;
        Frame3D(c, l, t, r, b, cl3DLight, cl3DDkShadow, 1);
        Frame3D(c, l, t, r, b, clBtnHighlight, clBtnShadow, 1);
    }
    const QFont& font = RulerFont();
    const QFontMetrics fm(font);
    const int h = fm.height();
    const int e = Flat() ? 1 : 2;
    switch (direction_) {
    case TRulerDir::rdTop:
        c.FillRect(e, H - h - 7, W - e, H - 8, ScaleColor());
        break;
    case TRulerDir::rdBottom:
        c.FillRect(e, 8, W - e, h + 7, ScaleColor());
        break;
    case TRulerDir::rdLeft:
        c.FillRect(W - h - 6, e, W - 8, H - e, ScaleColor());
        break;
    case TRulerDir::rdRight:
        c.FillRect(8, e, h + 6, H - e, ScaleColor());
        break;
    }
    ComputeStep();
    if (step_ <= 0)
        return;
    const int length = Horizontal() ? W : H;

    c.SetPen(TickColor());
    for (int k = 0;; ++k) {
        const double pos = k * 2 * step_;
        if (pos >= length)
            break;
        const int x = int(pos);
        const int L = k % 5 == 0 ? 8 : 6;
        switch (direction_) {
        case TRulerDir::rdTop:
            c.MoveTo(x, H - 1);
            c.LineTo(x, H - L);
            break;
        case TRulerDir::rdBottom:
            c.MoveTo(x, 0);
            c.LineTo(x, L - 1);
            break;
        case TRulerDir::rdLeft:
            c.MoveTo(W - 1, x);
            c.LineTo(W - L, x);
            break;
        case TRulerDir::rdRight:
            c.MoveTo(0, x);
            c.LineTo(L - 1, x);
            break;
        }
    }

    // Half marks go straight onto the canvas; the numbers are written after,
    // in one painter pass.
    c.SetPen(FontColor());
    struct Number {
        int x;
        QString text;
    };
    std::vector<Number> numbers;
    const int t = h;
    for (int i = 0;; ++i) {
        const double pos = i * step_;
        if (pos >= length)
            break;
        const int x = int(pos);
        if (i == 0 || i % 5 != 0)
            continue;
        if (i % 10 == 0) {
            double value = i * factor_ / 10;
            if (Units() == TRulerUnit::ruMilli)
                value *= 10;
            else if (Units() == TRulerUnit::ruPixel)
                value *= 50;
            value += offset_;
            // Rounded as floating values (ties to even): an offset may take
            // the number far beyond the integer range.
            if (Units() == TRulerUnit::ruPixel)
                value = std::nearbyint(value);
            else if (Units() == TRulerUnit::ruInch)
                value = std::nearbyint(value * 100) / 100.0;
            numbers.push_back({x, FormatRulerNumber(showMinus_ ? value : std::abs(value))});
            continue;
        }
        int m;
        switch (direction_) {
        case TRulerDir::rdTop:
            m = H + (-t - 14) / 2;
            c.MoveTo(x, m - 1);
            c.LineTo(x, m + 2);
            break;
        case TRulerDir::rdBottom:
            m = (t + 14) / 2;
            c.MoveTo(x, m - 2);
            c.LineTo(x, m + 1);
            break;
        case TRulerDir::rdLeft:
            m = W + (-t - 14) / 2;
            c.MoveTo(m - 1, x);
            c.LineTo(m + 2, x);
            break;
        case TRulerDir::rdRight:
            m = (t + 14) / 2;
            c.MoveTo(m - 2, x);
            c.LineTo(m + 1, x);
            break;
        }
    }

    QPainter painter(&c.Image());
    painter.setFont(font);
    painter.setPen(ToQColor(FontColor()));
    for (const Number& n : numbers) {
        const int x = n.x;
        const int w = fm.horizontalAdvance(n.text);
        switch (direction_) {
        case TRulerDir::rdTop:
            DrawDesignText(painter, x - w / 2, H - t - 8 + fm.ascent(), n.text);
            break;
        case TRulerDir::rdBottom:
            DrawDesignText(painter, x - w / 2, 8 + fm.ascent(), n.text);
            break;
        case TRulerDir::rdLeft:
            // Reading upward from (W - t - 7, x + w/2): the cell's top is on the left.
            painter.drawImage(W - t - 7, x + w / 2 - w, TextPicture(n.text, font, FontColor(), 90));
            break;
        case TRulerDir::rdRight:
            // Reading downward from (t + 7, x - w/2): the cell's top is on the right.
            // t + 7 - t is 7: the layout's formula, as written.
            painter.drawImage(t + 7 - t, x - w / 2, TextPicture(n.text, font, FontColor(), 270));
            break;
        }
    }
}

void TRsRuler::paintEvent(QPaintEvent*)
{
    // Always composed afresh: a setting changed or a size taken since the
    // last paint (its repaint still pending) must show even when a move of
    // the hair line asked for this paint. If nothing but the line moved, the
    // line stays; any other repaint clears it, as Paint does.
    QImage img(size(), QImage::Format_RGB32);
    GdiCanvas canvas(img);
    const int pos = hairLinePos_;
    Paint(canvas);
    const bool keepLine = hairLineMoved_ && img == picture_;
    hairLineMoved_ = false;
    picture_ = img;
    if (keepLine) {
        hairLinePos_ = pos;
        DrawHairLine(canvas);
    }
    QPainter(this).drawImage(0, 0, img);
}
