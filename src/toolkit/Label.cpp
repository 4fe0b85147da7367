#include "Label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "Fonts.h"
#include "GdiCanvas.h"
#include "Panel.h"

TLabel::TLabel(QWidget* parent)
    : TControl(parent)
{
    setParentColor(true);
    setAttribute(Qt::WA_TranslucentBackground, false);
}

void TLabel::setCaption(const QString& c)
{
    if (c == caption_)
        return;
    caption_ = c;
    AdjustBounds();
    update();
}

void TLabel::setAlignment(TAlignment a)
{
    if (a != alignment_) {
        alignment_ = a;
        update();
    }
}

void TLabel::setAutoSize(bool on)
{
    if (on != autoSize_) {
        autoSize_ = on;
        AdjustBounds();
        update();
    }
}

void TLabel::setTransparent(bool on)
{
    if (on != transparent_) {
        transparent_ = on;
        update();
    }
}

void TLabel::setWordWrap(bool on)
{
    if (on != wordWrap_) {
        wordWrap_ = on;
        AdjustBounds();
        update();
    }
}

void TLabel::setLayout(TTextLayout l)
{
    if (l != layout_) {
        layout_ = l;
        update();
    }
}

void TLabel::setShowAccelChar(bool on)
{
    if (on != showAccelChar_) {
        showAccelChar_ = on;
        AdjustBounds();
        update();
    }
}

void TLabel::setFontColor(TColor c)
{
    if (c != fontColor_) {
        fontColor_ = c;
        update();
    }
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
    flags |= alignment_ == TAlignment::taLeftJustify  ? Qt::AlignLeft
        : alignment_ == TAlignment::taRightJustify ? Qt::AlignRight
                                                   : Qt::AlignHCenter;
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

TCheckBox::TCheckBox(QWidget* parent)
    : TControl(parent)
{
    setParentColor(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(97, 17);
}

void TCheckBox::setCaption(const QString& c)
{
    if (c != caption_) {
        caption_ = c;
        update();
    }
}

void TCheckBox::setChecked(bool on)
{
    if (on != checked_) {
        checked_ = on;
        update();
    }
}

void TCheckBox::setFontColor(TColor c)
{
    if (c != fontColor_) {
        fontColor_ = c;
        update();
    }
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
