#include "Control.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <vector>

#include "Application.h"
#include "Form.h"

int AlignmentFlags(TAlignment a)
{
    switch (a) {
    case TAlignment::taLeftJustify: return Qt::AlignLeft;
    case TAlignment::taRightJustify: return Qt::AlignRight;
    case TAlignment::taCenter: return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

void CopyPicture(QWidget& w, const QImage& picture, const QRegion& region)
{
    QPainter p(&w);
    for (const QRect& r : region)
        p.drawImage(r.topLeft(), picture, r);
}

TControl::TControl(QWidget* parent)
    : QWidget(parent)
{
}

TColor TControl::Color() const
{
    if (parentColor_)
        return BackgroundColorOf(parentWidget());
    return color_;
}

void TControl::setColor(TColor c)
{
    parentColor_ = false;
    if (!StoreChanged(color_, c))
        return;
    update();
}

void TControl::setParentColor(bool on)
{
    if (StoreChanged(parentColor_, on))
        update();
}

TForm* TControl::OwnerForm() const
{
    for (QWidget* w = const_cast<TControl*>(this); w; w = w->parentWidget())
        if (auto* f = qobject_cast<TForm*>(w))
            return f;
    return nullptr;
}

bool TControl::Loading() const
{
    const TForm* f = OwnerForm();
    return f && f->Loading();
}

void TControl::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        OnClick(this);
    QWidget::mouseReleaseEvent(e);
}

void TControl::setAlign(TAlign a)
{
    if (!StoreChanged(align_, a))
        return;
    if (auto* p = qobject_cast<TControl*>(parentWidget()))
        p->Realign(this);
}

bool TControl::event(QEvent* e)
{
    // An error from a handler is caught here, before it unwinds through Qt's
    // delivery code, which frees and restores nothing on the way out. The
    // event then counts as handled, so no parent gets it a second time.
    bool result = true;
    Application().RunHandler([&] { result = QWidget::event(e); });
    switch (e->type()) {
    case QEvent::Resize:
        Realign(nullptr);
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (align_ != TAlign::alNone)
            if (auto* p = qobject_cast<TControl*>(parentWidget()); p && !p->aligning_)
                p->Realign(this);
        break;
    default:
        break;
    }
    return result;
}

void TControl::Realign(QWidget* changed)
{
    if (aligning_)
        return;
    aligning_ = true;
    std::vector<TControl*> kids;
    for (QObject* o : children())
        if (auto* c = qobject_cast<TControl*>(o); c && c->align_ != TAlign::alNone && !c->isHidden())
            kids.push_back(c);
    QRect area = AlignArea();
    auto ordered = [&](TAlign which, auto key) {
        std::vector<TControl*> v;
        for (TControl* c : kids)
            if (c->align_ == which)
                v.push_back(c);
        // Stable: equal keys keep creation order, except that the control
        // that just changed goes first among its equals.
        std::stable_sort(v.begin(), v.end(), [&](TControl* a, TControl* b) {
            const int ka = key(a), kb = key(b);
            if (ka != kb)
                return ka < kb;
            return a == changed && b != changed;
        });
        return v;
    };
    for (TControl* c : ordered(TAlign::alTop, [](TControl* c) { return c->y(); })) {
        c->setGeometry(area.left(), area.top(), area.width(), c->height());
        area.setTop(area.top() + c->height());
    }
    for (TControl* c : ordered(TAlign::alBottom, [](TControl* c) { return -(c->y() + c->height()); })) {
        c->setGeometry(area.left(), area.bottom() + 1 - c->height(), area.width(), c->height());
        area.setBottom(area.bottom() - c->height());
    }
    for (TControl* c : ordered(TAlign::alLeft, [](TControl* c) { return c->x(); })) {
        c->setGeometry(area.left(), area.top(), c->width(), area.height());
        area.setLeft(area.left() + c->width());
    }
    for (TControl* c : ordered(TAlign::alRight, [](TControl* c) { return -(c->x() + c->width()); })) {
        c->setGeometry(area.right() + 1 - c->width(), area.top(), c->width(), area.height());
        area.setRight(area.right() - c->width());
    }
    for (TControl* c : kids)
        if (c->align_ == TAlign::alClient)
            c->setGeometry(area);
    aligning_ = false;
}

TColor BackgroundColorOf(const QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* c = qobject_cast<const TControl*>(w))
            return c->Color();
    return clBtnFace;
}
