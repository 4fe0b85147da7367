#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "toolkit/Label.h"

namespace kestrix::test {

QImage Render(QWidget* w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    w->render(&img);
    return img;
}

QImage RenderAtRatio(QWidget* w, qreal ratio, const QRect& part)
{
    const QSize size(int(std::ceil(w->width() * ratio)), int(std::ceil(w->height() * ratio)));
    QImage img(size, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::black);
    if (part.isNull())
        w->render(&img);
    else
        w->render(&img, part.topLeft(), QRegion(part));
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

QRect DifferenceBounds(const QImage& a, const QImage& b, const QRect& within)
{
    QRect area = QRect(QPoint(0, 0), a.size().boundedTo(b.size()));
    if (!within.isNull())
        area &= within;
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QRect ScaledBox(const QRect& r, qreal ratio)
{
    return QRect(QPoint(int(std::floor(r.left() * ratio)), int(std::floor(r.top() * ratio))),
                 QPoint(int(std::ceil((r.right() + 1) * ratio)) - 1, int(std::ceil((r.bottom() + 1) * ratio)) - 1));
}

QRect CaptionInk(QWidget* window, TLabel* label, qreal ratio)
{
    // Only the label's neighbourhood is rendered and compared: ink beyond
    // a few pixels of the box would be far out of place anyway.
    const QRect near = QRect(label->mapTo(window, QPoint(0, 0)), label->size()).adjusted(-4, -4, 4, 4) & window->rect();
    const TColor was = label->FontColor();
    const QImage with = RenderAtRatio(window, ratio, near);
    label->setFontColor(was == clLime ? clRed : clLime);
    const QImage changed = RenderAtRatio(window, ratio, near);
    label->setFontColor(was);
    return DifferenceBounds(with, changed, ScaledBox(near, ratio));
}

int ExpectCaptionsInTheirScaledBoxes(QWidget* window, qreal ratio, double slack)
{
    int checked = 0;
    for (TLabel* label : window->findChildren<TLabel*>()) {
        if (!label->isVisibleTo(window) || !label->isEnabled() || label->Caption().trimmed().isEmpty())
            continue;
        const QRect one = CaptionInk(window, label, 1);
        if (one.isNull())
            continue; // covered by another control
        SCOPED_TRACE(QStringLiteral("%1 \"%2\"").arg(label->objectName(), label->Caption()).toStdString());
        ++checked;
        const QRect scaled = CaptionInk(window, label, ratio);
        const QRect box = ScaledBox(QRect(label->mapTo(window, QPoint(0, 0)), label->size()), ratio);
        const auto text = [](const QRect& r) {
            return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
        };
        EXPECT_TRUE(box.contains(scaled)) << "box " << text(box) << ", ink " << text(scaled);
        EXPECT_NEAR(scaled.left(), one.left() * ratio, slack);
        EXPECT_NEAR(scaled.top(), one.top() * ratio, slack);
        EXPECT_NEAR(scaled.right() + 1, (one.right() + 1) * ratio, slack);
        EXPECT_NEAR(scaled.bottom() + 1, (one.bottom() + 1) * ratio, slack);
    }
    return checked;
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
