#include "StatusBar.h"

#include <QPainter>
#include <algorithm>

#include "Fonts.h"
#include "GdiCanvas.h"

namespace {
constexpr int kTopMargin = 2; // the bar's panels start below a 2-pixel strip
constexpr int kGap = 2;       // between two panels
constexpr int kTextInset = 3; // text from the panel's left edge
} // namespace

void TStatusPanel::setText(const QString& t)
{
    if (StoreChanged(text_, t))
        bar_->update();
}

void TStatusPanel::setWidth(int w)
{
    if (StoreChanged(width_, w))
        bar_->update();
}

void TStatusPanel::setBevel(TStatusPanelBevel b)
{
    if (StoreChanged(bevel_, b))
        bar_->update();
}

void TStatusPanel::setAlignment(TAlignment a)
{
    if (StoreChanged(alignment_, a))
        bar_->update();
}

TStatusPanel* TStatusPanels::Add()
{
    items_.push_back(std::make_unique<TStatusPanel>(bar_));
    bar_->update();
    return items_.back().get();
}

TStatusPanel* TStatusPanels::Items(int i) const
{
    return i >= 0 && i < Count() ? items_[std::size_t(i)].get() : nullptr;
}

void TStatusPanels::Clear()
{
    items_.clear();
    bar_->update();
}

TStatusBar::TStatusBar(QWidget* parent)
    : TControl(parent)
{
    resize(200, 19);
}

void TStatusBar::setSimplePanel(bool on)
{
    if (StoreChanged(simplePanel_, on))
        update();
}

void TStatusBar::setSimpleText(const QString& t)
{
    if (StoreChanged(simpleText_, t))
        update();
}

void TStatusBar::setSizeGrip(bool on)
{
    if (StoreChanged(sizeGrip_, on))
        update();
}

void TStatusBar::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        update();
}

QRect TStatusBar::PanelRect(int i) const
{
    int x = 0;
    for (int k = 0; k < i && k < panels_.Count(); ++k)
        x += panels_.Items(k)->Width();
    const TStatusPanel* p = panels_.Items(i);
    const int w = p ? std::max(0, p->Width() - kGap) : 0;
    return QRect(x, kTopMargin, w, height() - kTopMargin);
}

void TStatusBar::paintEvent(QPaintEvent*)
{
    QImage img(size(), QImage::Format_RGB32);
    GdiCanvas c(img);
    c.Fill(Color());
    QPainter p(&img);
    p.setFont(font());
    p.setPen(ToQColor(fontColor_));
    auto panel = [&](QRect r, TStatusPanelBevel bevel, TAlignment align, const QString& text) {
        if (r.width() <= 0)
            return;
        int l = r.left(), t = r.top(), rt = r.left() + r.width(), b = r.top() + r.height();
        if (bevel != TStatusPanelBevel::pbNone) {
            const bool lowered = bevel == TStatusPanelBevel::pbLowered;
            Frame3D(c, l, t, rt, b, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow, 1);
        }
        DrawCellText(p, QRect(l, t, rt - l, b - t), QRect(l + kTextInset, t, rt - l - 2 * kTextInset, b - t),
                     AlignmentFlags(align), text);
    };
    if (simplePanel_) {
        panel(QRect(0, kTopMargin, width(), height() - kTopMargin), TStatusPanelBevel::pbNone,
              TAlignment::taLeftJustify, simpleText_);
    } else {
        for (int i = 0; i < panels_.Count(); ++i) {
            const TStatusPanel* sp = panels_.Items(i);
            panel(PanelRect(i), sp->Bevel(), sp->Alignment(), sp->Text());
        }
    }
    if (sizeGrip_) {
        // Three diagonal ridges in the bottom-right corner ("- 1 + 1": the
        // grip's formula, as written).
        const int w = width(), h = height();
        for (int k = 0; k < 3; ++k) {
            const int o = 4 * k;
            for (int i = 0; i < 11 - o; ++i) {
                c.SetPixel(w - 2 - o - i, h - 11 + i + o - 1 + 1, clBtnHighlight);
                c.SetPixel(w - 1 - o - i, h - 11 + i + o, clBtnShadow);
                c.SetPixel(w - 1 - o - i, h - 11 + i + o + 1, clBtnShadow);
            }
        }
    }
    p.end();
    QPainter(this).drawImage(0, 0, img);
}
