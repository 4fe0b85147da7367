#include "ALed.h"

#include <QHash>
#include <QPainter>
#include <unordered_map>

#include "toolkit/GdiCanvas.h"
#include "toolkit/Pictures.h"

namespace {

struct StyleInfo {
    const char* bordered;
    const char* borderless;
    int width;
    int height;
};

StyleInfo Info(TLEDStyle s)
{
    switch (s) {
    case TLEDStyle::LEDSmall:
        return {"BSM", "NSM", 16, 16};
    case TLEDStyle::LEDLarge:
        return {"BLG", "NLG", 22, 22};
    case TLEDStyle::LEDSqSmall:
        return {"BSQSM", "NSQSM", 16, 16};
    case TLEDStyle::LEDSqLarge:
        return {"BSQLG", "NSQLG", 22, 22};
    case TLEDStyle::LEDVertical:
        return {"BVT", "NVT", 16, 22};
    case TLEDStyle::LEDHorizontal:
        return {"BHZ", "NHZ", 22, 16};
    }
    return {"BSM", "NSM", 16, 16};
}

// A lamp picture with its face recoloured and, where `around` is given, the
// silver around the rim too. A window's lamps show a handful of colours and
// change them on every refresh that changes a fill level: the pictures are
// kept by what they depend on, and a full store starts afresh. GUI thread
// only, like the lamps.
QImage LampPicture(const QString& name, TColor face, bool recolourAround, TColor around)
{
    struct Key {
        QString name;
        TColor face;
        bool recolourAround;
        TColor around;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const { return qHashMulti(0, k.name, k.face, k.recolourAround, k.around); }
    };
    static std::unordered_map<Key, QImage, KeyHash> kept;
    const Key key{name, face, recolourAround, recolourAround ? around : 0};
    if (auto it = kept.find(key); it != kept.end())
        return it->second;
    if (kept.size() >= 256)
        kept.clear();
    QImage picture = LedPicture(name);
    // The face is the lime area around the centre; the white highlight on it
    // is another colour and stays.
    GdiCanvas(picture).FloodFillSurface(picture.width() / 2, picture.height() / 2, clLime, face);
    // The silver inside the rim is not connected to the outside and stays.
    if (recolourAround)
        GdiCanvas(picture).FloodFillSurface(0, 0, clSilver, around);
    return kept.emplace(key, picture).first->second;
}

} // namespace

QString ThhALed::PictureName(TLEDStyle style, bool bordered)
{
    const StyleInfo i = Info(style);
    return QString::fromLatin1(bordered ? i.bordered : i.borderless);
}

QSize ThhALed::PictureSize(TLEDStyle style)
{
    const StyleInfo i = Info(style);
    return QSize(i.width, i.height);
}

ThhALed::ThhALed(QWidget* parent)
    : TControl(parent)
{
    InitResources();
    resize(16, 16);
    BuildPictures();
}

ThhALed::~ThhALed() { StopBlinking(); }

void ThhALed::BuildPictures()
{
    const QSize size = PictureSize(style_);
    resize(size);
    const QString name = PictureName(style_, bordered_);
    // Borderless, the lamp stands on the colour of its surroundings.
    onPicture_ = LampPicture(name, trueColor_, !bordered_, borderColor_);
    offPicture_ = LampPicture(name, falseColor_, !bordered_, borderColor_);
    // Either picture covers the whole lamp: what lies behind it need not
    // be painted for it.
    setAttribute(Qt::WA_OpaquePaintEvent, !onPicture_.isNull() && !offPicture_.isNull());
}

void ThhALed::paintEvent(QPaintEvent*)
{
    const QImage& pic = showingOn_ ? onPicture_ : offPicture_;
    if (pic.isNull())
        return;
    QPainter(this).drawImage(rect(), pic);
}

void ThhALed::enterEvent(QEnterEvent* e)
{
    TControl::enterEvent(e);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void ThhALed::leaveEvent(QEvent* e)
{
    TControl::leaveEvent(e);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void ThhALed::ShowSteady(bool on)
{
    showingOn_ = on;
    RepaintControl(this);
}

void ThhALed::StartBlinking()
{
    if (timer_)
        return;
    showingOn_ = true;
    timer_ = new QTimer(this);
    timer_->setInterval(interval_);
    connect(timer_, &QTimer::timeout, this, &ThhALed::BlinkTick);
    timer_->start();
}

void ThhALed::StopBlinking()
{
    if (timer_) {
        timer_->stop();
        delete timer_;
    }
}

void ThhALed::BlinkTick()
{
    showingOn_ = !showingOn_;
    RepaintControl(this);
    if (OnTimer)
        OnTimer(this);
}

void ThhALed::setValue(bool on)
{
    if (!StoreChanged(value_, on))
        return;
    if (on) {
        ShowSteady(true);
        if (blink_)
            StartBlinking();
    } else {
        StopBlinking();
        ShowSteady(false);
    }
}

void ThhALed::setBlink(bool on)
{
    if (on == blink_)
        return;
    ShowSteady(value_);
    blink_ = on;
    if (on && value_)
        StartBlinking();
    else
        StopBlinking();
}

void ThhALed::setInterval(int ms)
{
    interval_ = ms;
    if (timer_)
        timer_->setInterval(ms);
}

void ThhALed::ChangeColor(TColor& field, TColor c)
{
    if (c == field)
        return;
    // Blinking pauses while the pictures are rebuilt, then resumes.
    const bool wasBlinking = blink_;
    if (wasBlinking)
        setBlink(false);
    field = c;
    BuildPictures();
    setBlink(wasBlinking);
    RepaintControl(this);
}

void ThhALed::setTrueColor(TColor c) { ChangeColor(trueColor_, c); }
void ThhALed::setFalseColor(TColor c) { ChangeColor(falseColor_, c); }
void ThhALed::setBorderColor(TColor c) { ChangeColor(borderColor_, c); }

void ThhALed::setLEDStyle(TLEDStyle s)
{
    if (!StoreChanged(style_, s))
        return;
    BuildPictures();
    RepaintControl(this);
}

void ThhALed::setBordered(bool on)
{
    if (!StoreChanged(bordered_, on))
        return;
    BuildPictures();
    RepaintControl(this);
}
