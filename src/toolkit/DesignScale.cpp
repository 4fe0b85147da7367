#include "DesignScale.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <cmath>

namespace {

// The device a widget's paint goes to is told by QWidget::redirected, which
// is protected; a pointer to it, taken through a class that may name it, is
// called on any widget.
struct RedirectionPeek : QWidget {
    static auto RedirectedDevice() { return &RedirectionPeek::redirected; }
};

class DesignPixelPainter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        // The paint event of our own one-times render goes to the widget.
        if (rendering_.contains(w))
            return false;
        // The device decides, not the widget: a grab or render into an image
        // of another ratio is scaled too. Qt paints a widget through a
        // redirection to the device (the backing store or the image); asked
        // without opening a painter, so that paints at ratio 1 cost nothing.
        QPaintDevice* device = (w->*RedirectionPeek::RedirectedDevice())(nullptr);
        const qreal ratio = device ? device->devicePixelRatioF() : w->devicePixelRatioF();
        if (ratio == 1.0 || w->width() <= 0 || w->height() <= 0)
            return false;
        QPainter screen(w);

        QImage picture(w->size(), QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(1);
        picture.fill(Qt::transparent);
        // Qt refuses to render a widget from inside its own paint event; the
        // outer painter above is already bound to the screen's device, so
        // the nested render cannot disturb it.
        rendering_.insert(w);
        w->setAttribute(Qt::WA_WState_InPaintEvent, false);
        w->render(&picture, QPoint(), QRegion(w->rect()), QWidget::RenderFlags());
        w->setAttribute(Qt::WA_WState_InPaintEvent, true);
        rendering_.remove(w);

        screen.setClipRegion(static_cast<QPaintEvent*>(event)->region());
        const bool whole = std::abs(ratio - std::round(ratio)) < 1e-6;
        screen.setRenderHint(QPainter::SmoothPixmapTransform, !whole);
        screen.drawImage(QRectF(w->rect()), picture);
        return true;
    }

private:
    QSet<QWidget*> rendering_;
};

} // namespace

void PaintInDesignPixels()
{
    static QPointer<DesignPixelPainter> filter;
    if (filter || !qApp)
        return;
    filter = new DesignPixelPainter(qApp);
    qApp->installEventFilter(filter);
}
