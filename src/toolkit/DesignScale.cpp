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
        // of another ratio is scaled too.
        QPainter screen(w);
        QPaintEngine* engine = screen.paintEngine();
        if (!engine || !engine->paintDevice())
            return false;
        const qreal ratio = engine->paintDevice()->devicePixelRatioF();
        if (ratio == 1.0 || w->width() <= 0 || w->height() <= 0)
            return false;

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
