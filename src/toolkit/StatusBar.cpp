#include "StatusBar.h"

#include <QPainter>
#include <algorithm>

#include "Fonts.h"
#include "GdiCanvas.h"
#include "Panel.h"

namespace {
constexpr int kTopMargin = 2; // the bar's panels start below a 2-pixel strip
constexpr int kGap = 2;       // between two panels
constexpr int kTextInset = 3; // text from the panel's left edge

// One line of text in a cell: vertically centred, aligned in `text`, clipped
// to `cell`.
void CellText(QPainter& p, const QRect& cell, const QRect& text, TAlignment align, const QString& s)
{
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs
        | (align == TAlignment::taLeftJustify    ? Qt::AlignLeft
               : align == TAlignment::taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignHCenter);
    p.setClipRect(cell);
    DrawDesignText(p, text, flags, s);
    p.setClipping(false);
}
} // namespace

void TStatusPanel::setText(const QString& t)
{
    if (t != text_) {
        text_ = t;
        bar_->update();
    }
}

void TStatusPanel::setWidth(int w)
{
    if (w != width_) {
        width_ = w;
        bar_->update();
    }
}

void TStatusPanel::setBevel(TStatusPanelBevel b)
{
    if (b != bevel_) {
        bevel_ = b;
        bar_->update();
    }
}

void TStatusPanel::setAlignment(TAlignment a)
{
    if (a != alignment_) {
        alignment_ = a;
        bar_->update();
    }
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
    if (on != simplePanel_) {
        simplePanel_ = on;
        update();
    }
}

void TStatusBar::setSimpleText(const QString& t)
{
    if (t != simpleText_) {
        simpleText_ = t;
        update();
    }
}

void TStatusBar::setSizeGrip(bool on)
{
    if (on != sizeGrip_) {
        sizeGrip_ = on;
        update();
    }
}

void TStatusBar::setFontColor(TColor c)
{
    if (c != fontColor_) {
        fontColor_ = c;
        update();
    }
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
        CellText(p, QRect(l, t, rt - l, b - t), QRect(l + kTextInset, t, rt - l - 2 * kTextInset, b - t), align,
                 text);
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
        // Three diagonal ridges in the bottom-right corner.
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

THeaderControl::THeaderControl(QWidget* parent)
    : TControl(parent)
{
    resize(200, 17);
}

THeaderSection& THeaderControl::AddSection(const QString& text, int width, TAlignment alignment)
{
    THeaderSection s;
    s.Text = text;
    s.Width = width;
    s.Alignment = alignment;
    sections_.push_back(s);
    update();
    return sections_.back();
}

void THeaderControl::setSectionText(int i, const QString& text)
{
    if (i < 0 || i >= SectionCount() || sections_[std::size_t(i)].Text == text)
        return;
    sections_[std::size_t(i)].Text = text;
    update();
}

int THeaderControl::SectionLeft(int i) const
{
    int x = 0;
    for (int k = 0; k < i && k < SectionCount(); ++k)
        x += sections_[std::size_t(k)].Width;
    return x;
}

void THeaderControl::setStyle(THeaderStyle s)
{
    if (s != style_) {
        style_ = s;
        update();
    }
}

void THeaderControl::setFontColor(TColor c)
{
    if (c != fontColor_) {
        fontColor_ = c;
        update();
    }
}

void THeaderControl::paintEvent(QPaintEvent*)
{
    QImage img(size(), QImage::Format_RGB32);
    GdiCanvas c(img);
    c.Fill(Color());
    QPainter p(&img);
    p.setFont(font());
    p.setPen(ToQColor(fontColor_));
    const int h = height();
    int x = 0;
    for (const THeaderSection& s : sections_) {
        int l = x, t = 0, r = x + s.Width, b = h;
        if (style_ == THeaderStyle::hsButtons) {
            Frame3D(c, l, t, r, b, clBtnHighlight, cl3DDkShadow, 1);
            Frame3D(c, l, t, r, b, Color(), clBtnShadow, 1);
        } else {
            // Flat: an etched divider at the right end of every section.
            c.FillRect(r - 2, 0, r - 1, h, clBtnShadow);
            c.FillRect(r - 1, 0, r, h, clBtnHighlight);
            r -= 2;
        }
        CellText(p, QRect(l, t, std::max(0, r - l), b - t), QRect(l + 4, t, std::max(0, r - l - 8), b - t),
                 s.Alignment, s.Text);
        x += s.Width;
    }
    p.end();
    QPainter(this).drawImage(0, 0, img);
}
