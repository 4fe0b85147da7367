#include "Panel.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include "Fonts.h"
#include "GdiCanvas.h"
#include "Label.h"

namespace {

std::uint64_t NextFaceGeneration()
{
    static std::uint64_t last = 0; // GUI thread only, like the panels
    return ++last;
}

} // namespace

TPanel::TPanel(QWidget* parent)
    : TControl(parent)
    , faceGeneration_(NextFaceGeneration())
{
    // Bevels, border and background cover every pixel: what lies behind a
    // panel is never painted for it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanel::setBevelInner(TPanelBevel b)
{
    if (StoreChanged(bevelInner_, b))
        FaceChanged();
}

void TPanel::setBevelOuter(TPanelBevel b)
{
    if (StoreChanged(bevelOuter_, b))
        FaceChanged();
}

void TPanel::setBevelWidth(int w)
{
    if (w >= 1 && StoreChanged(bevelWidth_, w))
        FaceChanged();
}

void TPanel::setBorderWidth(int w)
{
    if (w >= 0 && StoreChanged(borderWidth_, w))
        FaceChanged();
}

void TPanel::setCaption(const QString& c)
{
    if (StoreChanged(caption_, c))
        FaceChanged();
}

void TPanel::setAlignment(TAlignment a)
{
    if (StoreChanged(alignment_, a))
        FaceChanged();
}

void TPanel::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        FaceChanged();
}

namespace {

void BevelColors(TPanelBevel bevel, TColor bg, TColor& top, TColor& bottom)
{
    switch (bevel) {
    case TPanelBevel::bvLowered:
        top = clBtnShadow;
        bottom = clBtnHighlight;
        break;
    case TPanelBevel::bvRaised:
        top = clBtnHighlight;
        bottom = clBtnShadow;
        break;
    default: // a space bevel only keeps its room, in the background colour
        top = bottom = bg;
        break;
    }
}

} // namespace

void TPanel::PaintPanel(GdiCanvas& canvas)
{
    int l = 0, t = 0, r = width(), b = height();
    const TColor bg = Color();
    TColor top, bottom;
    if (bevelOuter_ != TPanelBevel::bvNone) {
        BevelColors(bevelOuter_, bg, top, bottom);
        Frame3D(canvas, l, t, r, b, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, l, t, r, b, bg, bg, borderWidth_);
    if (bevelInner_ != TPanelBevel::bvNone) {
        BevelColors(bevelInner_, bg, top, bottom);
        Frame3D(canvas, l, t, r, b, top, bottom, bevelWidth_);
    }
    canvas.FillRect(l, t, r, b, bg);
    if (!caption_.isEmpty()) {
        QPainter p(&canvas.Image());
        p.setFont(font());
        p.setPen(ToQColor(fontColor_));
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= AlignmentFlags(alignment_);
        DrawDesignText(p, QRect(l, t, r - l, b - t), flags, caption_);
    }
}

void TPanel::setColor(TColor c)
{
    const bool changed = ParentColor() || c != Color();
    TControl::setColor(c);
    if (changed)
        FaceChanged();
}

void TPanel::resizeEvent(QResizeEvent* e)
{
    TControl::resizeEvent(e);
    FaceChanged(); // the bevels and a gradient follow the size
}

void TPanel::changeEvent(QEvent* e)
{
    TControl::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        FaceChanged(); // the caption's font
}

void TPanel::FaceChanged()
{
    faceGeneration_ = NextFaceGeneration();
    update();
    for (QObject* o : children())
        if (auto* label = qobject_cast<TLabel*>(o); label && label->CopiesFace())
            label->update();
}

void TPanel::Compose(const QRegion& region)
{
    // The picture is kept from paint to paint: a child's repaint refills
    // only its own spot of the panel, and only that spot is copied, so a
    // large panel costs neither an allocation nor a full copy per paint.
    if (picture_.size() != size())
        picture_ = QImage(size(), QImage::Format_RGB32);
    GdiCanvas canvas(picture_);
    canvas.ClipFills(region);
    PaintPanel(canvas);
}

const QImage& TPanel::Face(const QRect& area)
{
    Compose(QRegion(area));
    return picture_;
}

void TPanel::paintEvent(QPaintEvent* e)
{
    Compose(e->region());
    CopyPicture(*this, picture_, e->region());
}
