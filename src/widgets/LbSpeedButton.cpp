#include "LbSpeedButton.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcutEvent>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "toolkit/Application.h"
#include "toolkit/Fonts.h"
#include "toolkit/GdiCanvas.h"
#include "toolkit/Pictures.h"

namespace {

constexpr TColor kKey = clFuchsia; // untouched pixels show the parent
constexpr TColor kDisabledText = 0x808080;

std::function<int()>& DepthProvider()
{
    static std::function<int()> provider;
    return provider;
}

int ScreenDepth()
{
    if (DepthProvider())
        return DepthProvider()();
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->depth() : 32;
}

const QImage& ArrowPicture()
{
    static const QImage arrow = GlyphPicture(QStringLiteral("lbarrow"));
    return arrow;
}

// The cell's own transparent colour is its bottom-left pixel.
TColor BottomLeft(const QImage& img)
{
    return img.isNull() ? clNone : PixelToColor(img.pixel(0, img.height() - 1));
}

} // namespace

// The slow fade: a thread that only sleeps and hands each step to the GUI
// thread, waiting for it. It is suspended when the fade is over and resumed
// when the pointer leaves the button again.
class TLbSpeedButton::FadeThread {
public:
    explicit FadeThread(TLbSpeedButton* owner)
        : owner_(owner)
        , thread_([this] { Run(); })
    {
    }
    FadeThread(const FadeThread&) = delete;
    FadeThread& operator=(const FadeThread&) = delete;
    ~FadeThread() { Stop(); }

    void Suspend()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        suspended_ = true;
    }
    void Resume()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            suspended_ = false;
        }
        wake_.notify_one();
    }
    // Resumes the thread, asks it to end and waits for it. Runs on the GUI
    // thread, which keeps serving the step the thread may be waiting for, so
    // ending never deadlocks.
    void Stop()
    {
        if (!thread_.joinable())
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            terminated_ = true;
            suspended_ = false;
        }
        wake_.notify_one();
        while (!finished_.load()) {
            QCoreApplication::sendPostedEvents(owner_, QEvent::MetaCall);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        thread_.join();
    }

private:
    void Run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return terminated_ || !suspended_; });
            if (terminated_)
                break;
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            TLbSpeedButton* owner = owner_;
            QMetaObject::invokeMethod(owner, [owner] { owner->FadeStep(); }, Qt::BlockingQueuedConnection);
            lock.lock();
        }
        finished_.store(true);
    }

    TLbSpeedButton* owner_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool suspended_ = true;
    bool terminated_ = false;
    std::atomic<bool> finished_{false};
    std::thread thread_; // last: starts once everything above exists
};

void Gradient32(GdiCanvas& canvas, int left, int top, int right, int bottom, TColor a, TColor b)
{
    const TColor ca = ColorToRGB(a), cb = ColorToRGB(b);
    const int h = bottom - top;
    auto channel = [](int from, int to, int i) { return int(from + i * double(to - from) / 31.0); };
    for (int i = 0; i <= 31; ++i) {
        const int bandTop = top + (i * h) / 31;
        const int bandBottom = std::min(bottom, bandTop + h / 31 + 1);
        const TColor c = RGBToColor(channel(GetRValue(ca), GetRValue(cb), i), channel(GetGValue(ca), GetGValue(cb), i),
                                    channel(GetBValue(ca), GetBValue(cb), i));
        canvas.FillRect(left, bandTop, right, bandBottom, c);
    }
}

TLbSpeedButton::TLbSpeedButton(QWidget* parent)
    : TControl(parent)
{
    resize(100, 23);
    setMouseTracking(true);
    hotTrackFont_ = font();
}

TLbSpeedButton::~TLbSpeedButton()
{
    destroying_ = true;
    fade_.reset();
}

void TLbSpeedButton::SetScreenDepthProvider(std::function<int()> provider)
{
    DepthProvider() = std::move(provider);
}

void TLbSpeedButton::Redraw()
{
    if (transparent_)
        update();
    else
        RepaintControl(this);
}

bool TLbSpeedButton::Showing() const
{
    return isEnabled() && Visible() && (!parentWidget() || parentWidget()->isVisible());
}

void TLbSpeedButton::setStyle(TLbSpeedButtonStyle s)
{
    // The gradient of the modern look needs more than 256 colours.
    if (s == TLbSpeedButtonStyle::bsModern && ScreenDepth() <= 8)
        s = TLbSpeedButtonStyle::bsNormal;
    if (!StoreChanged(style_, s))
        return;
    update();
}

void TLbSpeedButton::setColorStyle(TLbColorStyle s)
{
    using S = TLbSpeedButtonStyle;
    struct Preset {
        TColor color, light, shadow, down, hot;
        S style;
        bool flat;
    };
    Preset p{};
    switch (s) {
    case TLbColorStyle::lcsCustom:
        return;
    case TLbColorStyle::lcsGold:
        p = {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, S::bsModern, false};
        break;
    case TLbColorStyle::lcsChrome:
        p = {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, S::bsModern, false};
        break;
    case TLbColorStyle::lcsBlue:
        p = {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, S::bsModern, false};
        break;
    case TLbColorStyle::lcsRed:
        p = {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, S::bsModern, false};
        break;
    case TLbColorStyle::lcsUltraFlat1:
        p = {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, S::bsNormal, true};
        break;
    case TLbColorStyle::lcsUltraFlat2:
        p = {clBtnFace, 0, 0, 0x24DABC, 0x8CF6E4, S::bsNormal, true};
        break;
    case TLbColorStyle::lcsUltraFlatXP:
        p = {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, S::bsNormal, true};
        break;
    case TLbColorStyle::lcsAqua:
        p = {0xECCE94, 0xFCE6D4, 0, clNone, clNone, S::bsModern, false};
        break;
    case TLbColorStyle::lcsDefault:
        p = {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, S::bsNormal, false};
        break;
    case TLbColorStyle::lcsQuicken:
        p = {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, S::bsQuicken, false};
        break;
    case TLbColorStyle::lcsKDE:
        p = {clBtnFace, 0xFFFFFF, clBtnFace, clBtnFace, 0xFFFFFF, S::bsKDE, false};
        break;
    }
    setColor(p.color);
    lightColor_ = p.light;
    shadowColor_ = p.shadow;
    colorWhenDown_ = p.down;
    hotTrackColor_ = p.hot;
    flat_ = p.flat;
    fontColor_ = s == TLbColorStyle::lcsQuicken ? clWhite : clBlack;
    setStyle(p.style);
    RepaintControl(this);
}

void TLbSpeedButton::setLightColor(TColor c)
{
    if (StoreChanged(lightColor_, c))
        Redraw();
}

void TLbSpeedButton::setShadowColor(TColor c)
{
    if (StoreChanged(shadowColor_, c))
        Redraw();
}

void TLbSpeedButton::setColorWhenDown(TColor c)
{
    if (StoreChanged(colorWhenDown_, c))
        Redraw();
}

void TLbSpeedButton::setHotTrackColor(TColor c)
{
    if (StoreChanged(hotTrackColor_, c))
        update();
}

void TLbSpeedButton::setFontColor(TColor c)
{
    if (StoreChanged(fontColor_, c))
        update();
}

void TLbSpeedButton::setHotTrackFont(const QFont& f)
{
    hotTrackFont_ = f;
    update();
}

void TLbSpeedButton::setHotTrackFontColor(TColor c)
{
    if (StoreChanged(hotTrackFontColor_, c))
        update();
}

void TLbSpeedButton::setUseHotTrackFont(bool on)
{
    if (StoreChanged(useHotTrackFont_, on))
        update();
}

void TLbSpeedButton::setCaption(const QString& c)
{
    if (!StoreChanged(caption_, c))
        return;
    UpdateShortcut();
    update();
}

void TLbSpeedButton::setAlignment(TAlignment a)
{
    if (StoreChanged(alignment_, a))
        Redraw();
}

void TLbSpeedButton::setWordWrap(bool on)
{
    if (StoreChanged(wordWrap_, on))
        Redraw();
}

void TLbSpeedButton::setLayout(TLbSpeedButtonLayout l)
{
    if (StoreChanged(layout_, l))
        Redraw();
}

void TLbSpeedButton::setGlyph(const QImage& strip)
{
    glyph_ = strip.isNull() ? QImage() : strip.convertToFormat(QImage::Format_RGB32);
    numGlyphs_ = glyph_.isNull() || glyph_.height() == 0 ? 0 : glyph_.width() / glyph_.height();
    update();
}

void TLbSpeedButton::setNumGlyphs(int n)
{
    numGlyphs_ = std::max(0, n);
    update();
}

void TLbSpeedButton::ActionImageChanged(const QImage& image, QSize imageListSize)
{
    if (!glyph_.isNull() || image.isNull() || imageListSize.isEmpty())
        return;
    QImage cell(imageListSize, QImage::Format_RGB32);
    GdiCanvas c(cell);
    c.Fill(kKey);
    c.Draw(image.convertToFormat(QImage::Format_RGB32), 0, 0);
    setGlyph(cell);
    RepaintControl(this);
}

void TLbSpeedButton::setDown(bool on)
{
    if (on == down_)
        return;
    if (groupIndex_ != 0 && parentWidget()) {
        for (QObject* o : parentWidget()->children()) {
            auto* b = qobject_cast<TLbSpeedButton*>(o);
            if (b && b != this && b->groupIndex_ == groupIndex_)
                b->setDown(false);
        }
    }
    down_ = on;
    Redraw();
}

void TLbSpeedButton::setGroupIndex(int g)
{
    if (StoreChanged(groupIndex_, g))
        Redraw();
}

void TLbSpeedButton::setFlat(bool on)
{
    if (StoreChanged(flat_, on))
        Redraw();
}

void TLbSpeedButton::setTransparent(bool on)
{
    if (!StoreChanged(transparent_, on))
        return;
    if (on)
        update();
    else
        RepaintControl(this);
}

void TLbSpeedButton::setSlowDecease(bool on)
{
    if (on) {
        if (!fade_)
            fade_ = std::make_unique<FadeThread>(this);
        return;
    }
    fadeLevel_ = 0;
    fade_.reset(); // resumes, asks to end, waits, releases
    update();
}

void TLbSpeedButton::FadeStep()
{
    // Back over the button, the fade is suspended; a step the thread had
    // already slept for must not dim the hot face.
    if (destroying_ || !fade_ || hot_)
        return;
    if (--fadeLevel_ <= 0) {
        fade_->Suspend();
        fadeLevel_ = 0;
    }
    RepaintControl(this);
}

void TLbSpeedButton::setPopupMenu(QMenu* menu)
{
    popupMenu_ = menu;
    update();
}

void TLbSpeedButton::UpdateShortcut()
{
    if (shortcutId_ != 0)
        releaseShortcut(shortcutId_);
    shortcutId_ = 0;
    const QKeySequence key = QKeySequence::mnemonic(caption_);
    if (!key.isEmpty())
        shortcutId_ = grabShortcut(key, Qt::WindowShortcut);
}

bool TLbSpeedButton::event(QEvent* e)
{
    if (e->type() == QEvent::Shortcut && shortcutId_ != 0
        && static_cast<QShortcutEvent*>(e)->shortcutId() == shortcutId_) {
        if (Showing()) {
            // Shown pressed while the click runs; the group is not touched.
            const bool was = down_;
            down_ = true;
            RepaintControl(this);
            Application().RunHandler([this] { Click(); });
            down_ = was;
            RepaintControl(this);
        }
        return true;
    }
    return TControl::event(e);
}

void TLbSpeedButton::Click()
{
    if (popupMenu_)
        popupMenu_->popup(mapToGlobal(QPoint(0, height())));
    if (OnClick)
        OnClick(this);
}

void TLbSpeedButton::LeftDown()
{
    if (groupIndex_ == 0 || !down_)
        setDown(true);
    else if (allowAllUp_)
        setDown(false);
}

void TLbSpeedButton::mousePressEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
        LeftDown();
    }
    if (OnMouseDown)
        OnMouseDown(this, e->button(), e->modifiers(), pos.x(), pos.y());
}

void TLbSpeedButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    mousePressEvent(e); // a further press at the same point
}

void TLbSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (groupIndex_ == 0)
        setDown(false);
    if (OnMouseUp)
        OnMouseUp(this, e->button(), e->modifiers(), pos.x(), pos.y());
    if (e->button() == Qt::LeftButton) {
        const bool clicked = pressed_ && rect().contains(pos);
        pressed_ = false;
        if (clicked)
            Click();
    }
    QWidget::mouseReleaseEvent(e); // not TControl's: the click is ours
}

void TLbSpeedButton::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, e->modifiers(), pos.x(), pos.y());
    QWidget::mouseMoveEvent(e);
}

void TLbSpeedButton::enterEvent(QEnterEvent* e)
{
    QWidget::enterEvent(e);
    if (!Showing())
        return;
    hot_ = true;
    fadeLevel_ = 8;
    if (fade_)
        fade_->Suspend(); // back over the button: the fade waits for the next leave
    RepaintControl(this);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TLbSpeedButton::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    hot_ = false;
    if (fade_) {
        fade_->Resume();
    } else {
        fadeLevel_ = 0;
        RepaintControl(this);
    }
    if (Showing() && OnMouseExit)
        OnMouseExit(this);
}

bool TLbSpeedButton::Keyed() const
{
    using S = TLbSpeedButtonStyle;
    return transparent_ || style_ == S::bsKDE || style_ == S::bsModern || style_ == S::bsShape
        || style_ == S::bsQuicken;
}

TColor TLbSpeedButton::FaceColor(bool down) const
{
    TColor face = ColorToRGB(Color());
    if (isEnabled() && hotTrackColor_ != clNone) {
        const TColor hot = ColorToRGB(hotTrackColor_);
        const double f = fadeLevel_ / 8.0;
        auto mix = [f](int a, int b) { return int(a * (1 - f) + b * f); };
        face = RGBToColor(mix(GetRValue(face), GetRValue(hot)), mix(GetGValue(face), GetGValue(hot)),
                          mix(GetBValue(face), GetBValue(hot)));
    }
    if (down && colorWhenDown_ != clNone)
        face = ColorToRGB(colorWhenDown_);
    return face;
}

void TLbSpeedButton::PaintFrame(GdiCanvas& c, TColor face, bool down, bool hot) const
{
    using S = TLbSpeedButtonStyle;
    const int W = width(), H = height();
    const bool framed = !flat_ || (isEnabled() && (hot || down));
    c.SetBrushClear();
    switch (style_) {
    case S::bsNormal:
    case S::bsEncarta:
        if (!framed)
            break;
        c.SetPen(down ? shadowColor_ : lightColor_);
        c.MoveTo(0, H - 1);
        c.LineTo(0, 0);
        c.LineTo(W - 1, 0);
        c.SetPen(down ? lightColor_ : shadowColor_);
        c.LineTo(W - 1, H - 1);
        c.LineTo(0, H - 1);
        break;
    case S::bsOld:
        if (!framed)
            break;
        c.SetPen(shadowColor_);
        if (down)
            c.Polyline({{1, H - 3}, {1, 1}, {W - 2, 1}});
        else
            c.Polyline({{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
        c.SetPen(down ? cl3DDkShadow : lightColor_);
        c.MoveTo(0, H - 1);
        c.LineTo(0, 0);
        c.LineTo(W - 1, 0);
        c.SetPen(down ? lightColor_ : cl3DDkShadow);
        c.LineTo(W - 1, H - 1);
        c.LineTo(-1, H - 1);
        break;
    case S::bsModern:
        c.SetPen(down ? shadowColor_ : face);
        c.Rectangle(1, 1, W - 1, H - 1);
        c.SetPen(shadowColor_);
        c.RoundRect(0, 0, W, H, 6, 6);
        break;
    case S::bsKDE:
        c.SetPen(face);
        c.Rectangle(1, 1, W - 1, H - 1);
        c.SetPen(clBlack);
        c.RoundRect(0, 0, W, H, 4, 4);
        if (down) {
            c.FillRect(2, 2, W - 2, H - 2, face); // face is ColorWhenDown when that is set
        } else {
            c.FillRect(2, 2, W - 2, H - 2, clWhite);
            if (hot && hotTrackColor_ != clNone)
                c.FillRect(4, 4, W - 2, H - 2, hotTrackColor_);
            else
                Gradient32(c, 4, 4, W - 2, H - 2, lightColor_, shadowColor_);
        }
        break;
    case S::bsQuicken:
        c.SetPenClear();
        c.SetBrush(face);
        c.RoundRect(0, 1, W, H, 4, 4);
        c.SetPen(shadowColor_);
        c.MoveTo(4, 0);
        c.LineTo(W - 5, 0);
        c.MoveTo(4, H - 1);
        c.LineTo(W - 5, H - 1);
        break;
    case S::bsShape:
        break;
    }
}

void TLbSpeedButton::PaintContent(GdiCanvas& c, bool down, bool hot, int p) const
{
    using S = TLbSpeedButtonStyle;
    using L = TLbSpeedButtonLayout;
    const int W = width(), H = height();
    const bool enabled = isEnabled();

    const bool hotFont = hot && useHotTrackFont_;
    QFont f = hotFont ? hotTrackFont_ : font();
    TColor textColor = hotFont ? hotTrackFontColor_ : fontColor_;
    if (style_ == S::bsEncarta && down && !f.bold()) {
        f.setBold(true);
        if (NeedsOverstrikeBold(f))
            f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    }
    if (!enabled && style_ != S::bsShape)
        textColor = kDisabledText;

    // Glyph cell.
    const int n = numGlyphs_;
    const int gw = n > 0 && !glyph_.isNull() ? glyph_.width() / n : 0;
    const int gh = gw > 0 ? glyph_.height() : 0;
    int cell = 0;
    if (!enabled)
        cell = 1;
    else if (down && n > 2)
        cell = 2;
    else if (hot && n > 3)
        cell = 3;
    if (cell >= n)
        cell = 0; // a strip without that cell shows its first one

    // Caption: cut from the end unless wrapped, then measured.
    const bool vertical = layout_ == L::blGlyphTop || layout_ == L::blGlyphBottom;
    const int E = std::max(0, (vertical || style_ == S::bsShape || gw == 0) ? W - 8 : W - gw - 12);
    const QFontMetrics fm(f);
    QString text = caption_;
    if (!wordWrap_)
        while (!text.isEmpty() && fm.size(Qt::TextShowMnemonic, text).width() > E)
            text.chop(1);
    int th = 0, tw = 0;
    if (!text.isEmpty()) {
        const QRect br = fm.boundingRect(QRect(0, 0, E, 100000), Qt::TextWordWrap | Qt::TextShowMnemonic, text);
        th = br.height();
        tw = br.width() + 4;
    }

    int gx = 0, gy = 0;
    QRect textRect;
    int hAlign = AlignmentFlags(alignment_);
    if (style_ == S::bsShape) {
        gx = (W - gw) / 2;
        gy = (H - gh) / 2;
        textRect = QRect(p, (H - th) / 2 + p, W - p, H - ((H - th) / 2 + p));
        hAlign = Qt::AlignHCenter;
    } else if (vertical) {
        const int block = th + (gw > 0 ? gh + 4 : 0);
        const int K = (H - block) / 2;
        int top;
        if (layout_ == L::blGlyphTop) {
            gy = K + p;
            top = K + gh + p;
        } else {
            top = K + p;
            gy = K + th + p;
        }
        textRect = QRect(4 + p, top, E, th);
        gx = alignment_ == TAlignment::taLeftJustify ? 4 + p
            : alignment_ == TAlignment::taRightJustify ? W - gw - 4 + p
                                                       : (W - gw) / 2 + p;
    } else {
        const bool glyphLeft = layout_ == L::blGlyphLeft;
        const int left = 4 + p + (glyphLeft && gw > 0 ? gw + 4 : 0);
        textRect = QRect(left, (H - th) / 2 + p, E, th);
        gy = (H - gh) / 2 + p;
        if (glyphLeft) {
            gx = 4 + p;
            if (!wordWrap_ && alignment_ == TAlignment::taRightJustify)
                gx = W - gw - tw - 4 + p;
            else if (!wordWrap_ && alignment_ == TAlignment::taCenter)
                gx = (W - gw) / 2 - tw / 2 + p;
        } else {
            gx = 4 + p + tw;
            if (!wordWrap_ && alignment_ == TAlignment::taRightJustify)
                gx = W - gw - 4 + p;
            else if (!wordWrap_ && alignment_ == TAlignment::taCenter)
                gx = (W - gw) / 2 + tw / 2 + p;
        }
    }

    if (!text.isEmpty() && textRect.width() > 0) {
        QPainter painter(&c.Image());
        painter.setFont(f);
        painter.setPen(ToQColor(textColor));
        DrawDesignText(painter, textRect, hAlign | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, text);
    }
    if (gw > 0) {
        const QImage img = glyph_.copy(cell * gw, 0, gw, gh);
        c.Draw(img, gx, gy, BottomLeft(img));
    }
}

QImage TLbSpeedButton::Compose() const
{
    using S = TLbSpeedButtonStyle;
    const int W = width(), H = height();
    QImage img(W, H, QImage::Format_RGB32);
    GdiCanvas c(img);
    const bool enabled = isEnabled();
    const bool down = enabled && down_; // a disabled button is drawn up
    const bool hot = enabled && hot_;
    const int p = down && style_ != S::bsEncarta ? 1 : 0;
    if (Keyed())
        c.Fill(kKey);
    const TColor face = FaceColor(down);

    if (style_ == S::bsShape) {
        c.Fill(kKey);
    } else if (!transparent_) {
        switch (style_) {
        case S::bsNormal:
        case S::bsEncarta:
        case S::bsOld:
            c.Fill(face);
            break;
        case S::bsModern:
            Gradient32(c, 2, 2, W - 2, H / 4 + p, lightColor_, face);
            Gradient32(c, 2, H / 4 + p, W - 2, H - 1, face, lightColor_);
            break;
        default:
            break;
        }
    }
    PaintFrame(c, face, down, hot);
    PaintContent(c, down, hot, p);
    if (popupMenu_) {
        const QImage& arrow = ArrowPicture();
        c.Draw(arrow, W - 11, H / 2 - 1, BottomLeft(arrow));
    }
    return img;
}

void TLbSpeedButton::paintEvent(QPaintEvent*)
{
    if (Loading())
        return;
    QImage img = Compose();
    if (Keyed()) {
        // Key-coloured pixels become fully transparent, so the parent shows.
        img = img.convertToFormat(QImage::Format_ARGB32);
        const std::uint32_t key = ToPixel(kKey) & 0xFFFFFFu;
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFFu) == key)
                    line[x] = 0;
        }
    }
    QPainter(this).drawImage(0, 0, img);
}
