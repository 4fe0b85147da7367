#include "Panel.h"

#include <QBitmap>
#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "Fonts.h"
#include "GdiCanvas.h"

void Frame3D(GdiCanvas& canvas, int& left, int& top, int& right, int& bottom, TColor topColor,
             TColor bottomColor, int width)
{
    for (; width > 0 && right > left && bottom > top; --width) {
        // Top row and left column stop one short of the far corners, which
        // belong to the bottom/right colour.
        canvas.FillRect(left, top, right - 1, top + 1, topColor);
        canvas.FillRect(left, top, left + 1, bottom - 1, topColor);
        canvas.FillRect(right - 1, top, right, bottom, bottomColor);
        canvas.FillRect(left, bottom - 1, right, bottom, bottomColor);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}

TPanel::TPanel(QWidget* parent)
    : TControl(parent)
{
}

void TPanel::setBevelInner(TPanelBevel b)
{
    if (b != bevelInner_) {
        bevelInner_ = b;
        update();
    }
}

void TPanel::setBevelOuter(TPanelBevel b)
{
    if (b != bevelOuter_) {
        bevelOuter_ = b;
        update();
    }
}

void TPanel::setBevelWidth(int w)
{
    if (w != bevelWidth_ && w >= 1) {
        bevelWidth_ = w;
        update();
    }
}

void TPanel::setBorderWidth(int w)
{
    if (w != borderWidth_ && w >= 0) {
        borderWidth_ = w;
        update();
    }
}

void TPanel::setCaption(const QString& c)
{
    if (c != caption_) {
        caption_ = c;
        update();
    }
}

void TPanel::setAlignment(TAlignment a)
{
    if (a != alignment_) {
        alignment_ = a;
        update();
    }
}

void TPanel::setFontColor(TColor c)
{
    if (c != fontColor_) {
        fontColor_ = c;
        update();
    }
}

namespace {

void BevelColors(TPanelBevel bevel, TColor bg, TColor& top, TColor& bottom)
{
    switch (bevel) {
    case TPanelBevel::bvLowered:
        top = clBtnShadow;
        bottom = clBtnHighlight;
        break;
    case TPanelBevel::bvRaised:
        top = clBtnHighlight;
        bottom = clBtnShadow;
        break;
    default: // a space bevel only keeps its room, in the background colour
        top = bottom = bg;
        break;
    }
}

} // namespace

void TPanel::PaintPanel(GdiCanvas& canvas)
{
    int l = 0, t = 0, r = width(), b = height();
    const TColor bg = Color();
    TColor top, bottom;
    if (bevelOuter_ != TPanelBevel::bvNone) {
        BevelColors(bevelOuter_, bg, top, bottom);
        Frame3D(canvas, l, t, r, b, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, l, t, r, b, bg, bg, borderWidth_);
    if (bevelInner_ != TPanelBevel::bvNone) {
        BevelColors(bevelInner_, bg, top, bottom);
        Frame3D(canvas, l, t, r, b, top, bottom, bevelWidth_);
    }
    canvas.FillRect(l, t, r, b, bg);
    if (!caption_.isEmpty()) {
        QPainter p(&canvas.Image());
        p.setFont(font());
        p.setPen(ToQColor(fontColor_));
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= alignment_ == TAlignment::taLeftJustify  ? Qt::AlignLeft
            : alignment_ == TAlignment::taRightJustify ? Qt::AlignRight
                                                       : Qt::AlignHCenter;
        DrawDesignText(p, QRect(l, t, r - l, b - t), flags, caption_);
    }
}

void TPanel::paintEvent(QPaintEvent*)
{
    QImage img(size(), QImage::Format_RGB32);
    GdiCanvas canvas(img);
    PaintPanel(canvas);
    QPainter(this).drawImage(0, 0, img);
}

TShape::TShape(QWidget* parent)
    : TControl(parent)
{
}

void TShape::setShape(TShapeType s)
{
    if (s != shape_) {
        shape_ = s;
        update();
    }
}

void TShape::setBrushColor(TColor c)
{
    if (c != brushColor_) {
        brushColor_ = c;
        update();
    }
}

void TShape::setPenColor(TColor c)
{
    if (c != penColor_) {
        penColor_ = c;
        update();
    }
}

void TShape::paintEvent(QPaintEvent*)
{
    QImage img(size(), QImage::Format_RGB32);
    GdiCanvas canvas(img);
    canvas.Fill(BackgroundColorOf(parentWidget()));
    int w = width(), h = height();
    int x = 0, y = 0;
    if (shape_ == TShapeType::stSquare || shape_ == TShapeType::stCircle) {
        const int side = std::min(w, h);
        x = (w - side) / 2;
        y = (h - side) / 2;
        w = h = side;
    }
    canvas.SetPen(penColor_);
    canvas.SetBrush(brushColor_);
    if (shape_ == TShapeType::stEllipse || shape_ == TShapeType::stCircle)
        canvas.Ellipse(x, y, x + w, y + h);
    else
        canvas.Rectangle(x, y, x + w, y + h);
    QPainter p(this);
    if (shape_ == TShapeType::stRectangle) {
        p.drawImage(0, 0, img);
        return;
    }
    // Only the shape itself covers the parent.
    QImage mask(size(), QImage::Format_RGB32);
    GdiCanvas m(mask);
    m.Fill(clBlack);
    m.SetPen(clWhite);
    m.SetBrush(clWhite);
    if (shape_ == TShapeType::stSquare)
        m.Rectangle(x, y, x + w, y + h);
    else
        m.Ellipse(x, y, x + w, y + h);
    p.setClipRegion(QRegion(QBitmap::fromImage(mask.createMaskFromColor(0xFFFFFFFF, Qt::MaskOutColor))));
    p.drawImage(0, 0, img);
}

TImage::TImage(QWidget* parent)
    : TControl(parent)
{
}

void TImage::setPicture(const QImage& img)
{
    picture_ = img.convertToFormat(QImage::Format_RGB32);
    update();
}

void TImage::setStretch(bool on)
{
    if (on != stretch_) {
        stretch_ = on;
        update();
    }
}

void TImage::setCenter(bool on)
{
    if (on != center_) {
        center_ = on;
        update();
    }
}

void TImage::setTransparent(bool on)
{
    if (on != transparent_) {
        transparent_ = on;
        update();
    }
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QImage pic = stretch_ ? picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation) : picture_;
    int x = 0, y = 0;
    if (center_ && !stretch_) {
        x = (width() - pic.width()) / 2;
        y = (height() - pic.height()) / 2;
    }
    QPainter p(this);
    if (transparent_) {
        const QRgb key = pic.pixel(0, pic.height() - 1);
        QImage masked = pic.convertToFormat(QImage::Format_ARGB32);
        for (int py = 0; py < masked.height(); ++py) {
            auto* line = reinterpret_cast<QRgb*>(masked.scanLine(py));
            for (int px = 0; px < masked.width(); ++px)
                if ((line[px] & 0xFFFFFF) == (key & 0xFFFFFF))
                    line[px] = 0;
        }
        p.drawImage(x, y, masked);
        return;
    }
    p.drawImage(x, y, pic);
}
