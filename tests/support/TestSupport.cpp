#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>

namespace kestrix::test {

QImage Render(QWidget* w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    w->render(&img);
    return img;
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
