#include "Image.h"

#include <QPainter>

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
    if (StoreChanged(stretch_, on))
        update();
}

void TImage::setCenter(bool on)
{
    if (StoreChanged(center_, on))
        update();
}

void TImage::setTransparent(bool on)
{
    if (StoreChanged(transparent_, on))
        update();
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
