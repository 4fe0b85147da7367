#include "Label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "Fonts.h"
#include "Panel.h"

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
    if (!StoreChanged(transparent_, on))
        return;
    UpdateCover();
    update();
}

QList<QWidget*> TLabel::SiblingsBelow() const
{
    QList<QWidget*> below;
    if (QWidget* parent = parentWidget())
        for (QObject* o : parent->children()) {
            if (o == this)
                break;
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isHidden() && !w->isWindow() && w->geometry().intersects(geometry()))
                below.append(w);
        }
    return below;
}

TPanel* TLabel::FaceSource() const
{
    auto* panel = qobject_cast<TPanel*>(parentWidget());
    if (!transparent_ || !panel || !SiblingsBelow().isEmpty())
        return nullptr;
    return panel;
}

bool TLabel::CoversItself() const
{
    return !transparent_ || FaceSource();
}

void TLabel::UpdateCover()
{
    setAttribute(Qt::WA_OpaquePaintEvent, CoversItself());
}

bool TLabel::event(QEvent* e)
{
    const bool result = TControl::event(e);
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ZOrderChange:
    case QEvent::ParentChange:
        UpdateCover();
        break;
    default:
        break;
    }
    return result;
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
    // A layout sets font, caption and flags one after another, each asking
    // for the fit again: the text is measured only when one of them changed.
    const int wrapWidth = wordWrap_ ? width() : -1;
    Fit& f = fit_;
    if (!f.valid || f.caption != caption_ || f.flags != TextFlags() || f.wrapWidth != wrapWidth || f.font != font()) {
        const QFontMetrics fm(font());
        const QString text = caption_.isEmpty() ? QStringLiteral(" ") : caption_;
        QRect r;
        if (wordWrap_)
            r = fm.boundingRect(QRect(0, 0, width(), 100000), TextFlags(), text);
        else
            r = fm.boundingRect(QRect(0, 0, 100000, 100000), TextFlags() & ~Qt::AlignRight & ~Qt::AlignHCenter, text);
        f = {true, caption_, TextFlags(), wrapWidth, font(), QSize(r.width(), std::max(r.height(), fm.height()))};
    }
    const int w = wordWrap_ ? width() : f.size.width();
    const int h = f.size.height();
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
    const bool covers = testAttribute(Qt::WA_OpaquePaintEvent);
    if (!transparent_)
        p.fillRect(rect(), ToQColor(Color()));
    else if (auto* panel = qobject_cast<TPanel*>(parentWidget()); covers && panel) {
        if (face_.generation != panel->FaceGeneration() || face_.place != geometry()
            || face_.color != panel->Color())
            face_ = {panel->Face(geometry()).copy(geometry()), panel->FaceGeneration(), geometry(), panel->Color()};
        p.drawImage(QPoint(0, 0), face_.picture);
    }
    if (covers != CoversItself()) {
        // A sibling moved into or out of the label since Qt was last told,
        // so this paint is a frame late: the next one, with what lies below
        // the label painted again, is right.
        UpdateCover();
        if (QWidget* parent = parentWidget()) {
            parent->update(geometry());
            for (QWidget* w : SiblingsBelow())
                w->update(geometry().translated(-w->pos()));
        }
    }
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
