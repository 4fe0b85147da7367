#include "Shape.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "GdiCanvas.h"

TShape::TShape(QWidget* parent)
    : TControl(parent)
{
}

void TShape::setShape(TShapeType s)
{
    if (StoreChanged(shape_, s))
        update();
}

void TShape::setBrushColor(TColor c)
{
    if (StoreChanged(brushColor_, c))
        update();
}

void TShape::setPenColor(TColor c)
{
    if (StoreChanged(penColor_, c))
        update();
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
