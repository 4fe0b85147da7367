#include "HeaderControl.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "Fonts.h"
#include "GdiCanvas.h"

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
    if (StoreChanged(style_, s))
        update();
}

void THeaderControl::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        update();
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
        DrawCellText(p, QRect(l, t, std::max(0, r - l), b - t), QRect(l + 4, t, std::max(0, r - l - 8), b - t),
                     AlignmentFlags(s.Alignment), s.Text);
        x += s.Width;
    }
    p.end();
    QPainter(this).drawImage(0, 0, img);
}
