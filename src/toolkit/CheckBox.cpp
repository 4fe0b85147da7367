#include "CheckBox.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include "Fonts.h"
#include "GdiCanvas.h"

TCheckBox::TCheckBox(QWidget* parent)
    : TControl(parent)
{
    setParentColor(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(97, 17);
}

void TCheckBox::setCaption(const QString& c)
{
    if (StoreChanged(caption_, c))
        update();
}

void TCheckBox::setChecked(bool on)
{
    if (StoreChanged(checked_, on))
        update();
}

void TCheckBox::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        update();
}

void TCheckBox::Toggle()
{
    setChecked(!checked_);
    if (OnClick)
        OnClick(this);
}

void TCheckBox::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint at = e->position().toPoint();
    if (e->button() == Qt::LeftButton && rect().contains(at))
        Toggle();
    QWidget::mouseReleaseEvent(e); // not TControl's: OnClick follows the toggle
    if (OnMouseUp)
        OnMouseUp(this, e->button(), e->modifiers(), at.x(), at.y());
}

void TCheckBox::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat())
        Toggle();
    else
        TControl::keyPressEvent(e);
}

void TCheckBox::paintEvent(QPaintEvent*)
{
    QImage img(size(), QImage::Format_RGB32);
    GdiCanvas c(img);
    c.Fill(Color());
    const bool enabled = isEnabled();
    // The sunken box: two frames, then the well.
    int l = 0, t = (height() - 13) / 2, r = 13, b = t + 13;
    Frame3D(c, l, t, r, b, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, l, t, r, b, cl3DDkShadow, cl3DLight, 1);
    c.FillRect(l, t, r, b, enabled ? clWindow : clBtnFace);
    if (checked_) {
        // The classic 7 x 7 tick, one column per step.
        static const int rows[7][2] = {{2, 4}, {3, 5}, {4, 6}, {3, 5}, {2, 4}, {1, 3}, {0, 2}};
        const TColor ink = enabled ? clWindowText : clBtnShadow;
        for (int i = 0; i < 7; ++i)
            c.FillRect(l + 1 + i, t + 1 + rows[i][0], l + 2 + i, t + 2 + rows[i][1], ink);
    }
    QPainter p(&img);
    p.setFont(font());
    const QRect text(17, 0, width() - 17, height());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (enabled) {
        p.setPen(ToQColor(fontColor_));
        DrawDesignText(p, text, flags, caption_);
    } else {
        p.setPen(ToQColor(clBtnHighlight));
        DrawDesignText(p, text.translated(1, 1), flags, caption_);
        p.setPen(ToQColor(clBtnShadow));
        DrawDesignText(p, text, flags, caption_);
    }
    if (hasFocus() && !caption_.isEmpty()) {
        QRect focus = p.fontMetrics().boundingRect(text, flags, caption_).adjusted(-1, 0, 1, 1);
        QPen pen(ToQColor(clWindowText));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }
    p.end();
    QPainter(this).drawImage(0, 0, img);
}
