#include "GroupBox.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "Fonts.h"

TGroupBox::TGroupBox(QWidget* parent)
    : TControl(parent)
{
    setParentColor(true);
}

void TGroupBox::setCaption(const QString& c)
{
    if (c != caption_) {
        caption_ = c;
        update();
    }
}

void TGroupBox::setFontColor(TColor c)
{
    if (c != fontColor_) {
        fontColor_ = c;
        update();
    }
}

void TGroupBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    const QFontMetrics fm(font());
    p.fillRect(rect(), ToQColor(Color()));
    // The frame's top line runs through the middle of the caption.
    const int top = fm.height() / 2;
    const int w = width(), h = height();
    // Etched: a shadow rectangle, a highlight one a pixel down-right.
    p.setPen(ToQColor(clBtnHighlight));
    p.drawRect(1, top + 1, w - 2, h - top - 2);
    p.setPen(ToQColor(clBtnShadow));
    p.drawRect(0, top, w - 2, h - top - 2);
    if (caption_.isEmpty())
        return;
    // The caption on the box's colour, cut at the frame's right end.
    const QRect text(8, 0, std::min(fm.horizontalAdvance(caption_), w - 16), fm.height());
    p.fillRect(text, ToQColor(Color()));
    p.setPen(ToQColor(fontColor_));
    DrawDesignText(p, text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
}
