#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <algorithm>
#include <cmath>

namespace kestrix::test {

QImage Render(QWidget* w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    w->render(&img);
    return img;
}

QImage RenderAtRatio(QWidget* w, qreal ratio)
{
    const QSize size(int(std::ceil(w->width() * ratio)), int(std::ceil(w->height() * ratio)));
    QImage img(size, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::black);
    w->render(&img);
    img.setDevicePixelRatio(1);
    return img;
}

QImage Blocks(const QImage& img, int n)
{
    QImage out(img.width() * n, img.height() * n, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, img.pixel(x / n, y / n));
    return out;
}

int DifferingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

QRect DifferenceBounds(const QImage& a, const QImage& b)
{
    QRect bounds;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TColor PixelAt(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGBToColor(qRed(p), qGreen(p), qBlue(p));
}

int CountColor(const QImage& img, int left, int top, int right, int bottom, TColor c)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (PixelAt(img, x, y) == c)
                ++n;
    return n;
}

void SendEnter(QWidget* w, int x, int y)
{
    const QPointF at(x, y);
    QEnterEvent e(at, at, w->mapToGlobal(at));
    QCoreApplication::sendEvent(w, &e);
}

void SendLeave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

QString SaveForInspection(const QImage& img, const QString& name)
{
    const QString file = QDir(QCoreApplication::applicationDirPath()).filePath(name + ".png");
    img.save(file);
    return file;
}

} // namespace kestrix::test
