#include "Label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "Fonts.h"

TLabel::TLabel(QWidget* parent)
    : TControl(parent)
{
    setParentColor(true);
    setAttribute(Qt::WA_TranslucentBackground, false);
}

void TLabel::setCaption(const QString& c)
{
    if (!StoreChanged(caption_, c))
        return;
    AdjustBounds();
    update();
}

void TLabel::setAlignment(TAlignment a)
{
    if (StoreChanged(alignment_, a))
        update();
}

void TLabel::setAutoSize(bool on)
{
    if (!StoreChanged(autoSize_, on))
        return;
    AdjustBounds();
    update();
}

void TLabel::setTransparent(bool on)
{
    if (StoreChanged(transparent_, on))
        update();
}

void TLabel::setWordWrap(bool on)
{
    if (!StoreChanged(wordWrap_, on))
        return;
    AdjustBounds();
    update();
}

void TLabel::setLayout(TTextLayout l)
{
    if (StoreChanged(layout_, l))
        update();
}

void TLabel::setShowAccelChar(bool on)
{
    if (!StoreChanged(showAccelChar_, on))
        return;
    AdjustBounds();
    update();
}

void TLabel::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        update();
}

void TLabel::setLabelFont(const QFont& f)
{
    setFont(f);
    AdjustBounds();
    update();
}

int TLabel::TextFlags() const
{
    int flags = Qt::TextExpandTabs;
    flags |= AlignmentFlags(alignment_);
    flags |= wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine;
    flags |= showAccelChar_ ? Qt::TextShowMnemonic : 0;
    return flags;
}

void TLabel::AdjustBounds()
{
    if (!autoSize_)
        return;
    const QFontMetrics fm(font());
    const QString text = caption_.isEmpty() ? QStringLiteral(" ") : caption_;
    QRect r;
    if (wordWrap_)
        r = fm.boundingRect(QRect(0, 0, width(), 100000), TextFlags(), text);
    else
        r = fm.boundingRect(QRect(0, 0, 100000, 100000), TextFlags() & ~Qt::AlignRight & ~Qt::AlignHCenter, text);
    const int w = wordWrap_ ? width() : r.width();
    const int h = std::max(r.height(), fm.height());
    int x = this->x();
    if (alignment_ == TAlignment::taRightJustify)
        x += width() - w;
    setGeometry(x, y(), w, h);
}

void TLabel::changeEvent(QEvent* e)
{
    TControl::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        AdjustBounds();
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!transparent_)
        p.fillRect(rect(), ToQColor(Color()));
    p.setFont(font());
    QRect r = rect();
    if (layout_ != TTextLayout::tlTop) {
        const QRect need = p.fontMetrics().boundingRect(r, TextFlags(), caption_);
        const int free = r.height() - need.height();
        r.translate(0, layout_ == TTextLayout::tlCenter ? free / 2 : free);
    }
    if (!isEnabled()) {
        // Disabled text is engraved: a highlight copy one pixel down-right,
        // the shadow colour on top.
        p.setPen(ToQColor(clBtnHighlight));
        DrawDesignText(p, r.translated(1, 1), TextFlags(), caption_);
        p.setPen(ToQColor(clBtnShadow));
        DrawDesignText(p, r, TextFlags(), caption_);
        return;
    }
    p.setPen(ToQColor(fontColor_));
    DrawDesignText(p, r, TextFlags(), caption_);
}
