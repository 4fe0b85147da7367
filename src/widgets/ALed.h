// A small windowless lamp that shows a boolean in one of two colours and can
// blink. The lamp is a picture from the program's resources whose face is
// painted in a key colour (lime); the face is recoloured once into an "on"
// and an "off" picture, and painting only copies the right one.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>

#include "toolkit/Control.h"

enum class TLEDStyle { LEDSmall, LEDLarge, LEDSqSmall, LEDSqLarge, LEDVertical, LEDHorizontal };

class ThhALed : public TControl {
    Q_OBJECT
public:
    explicit ThhALed(QWidget* parent = nullptr);
    ~ThhALed() override;

    bool Value() const { return value_; }
    void setValue(bool on);
    // While Value is True, alternate between the on and off pictures.
    bool Blink() const { return blink_; }
    void setBlink(bool on);
    // Milliseconds between two changes of picture.
    int Interval() const { return interval_; }
    void setInterval(int ms);
    TLEDStyle LEDStyle() const { return style_; }
    void setLEDStyle(TLEDStyle s);
    // The lamp on a raised square plate, or the lamp alone.
    bool Bordered() const { return bordered_; }
    void setBordered(bool on);
    TColor TrueColor() const { return trueColor_; }
    void setTrueColor(TColor c);
    TColor FalseColor() const { return falseColor_; }
    void setFalseColor(TColor c);
    // The colour around the lamp when it is not Bordered.
    TColor BorderColor() const { return borderColor_; }
    void setBorderColor(TColor c);

    TNotifyEvent OnTimer;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The two prepared pictures and which of them is shown.
    const QImage& OnPicture() const { return onPicture_; }
    const QImage& OffPicture() const { return offPicture_; }
    bool ShowingOn() const { return showingOn_; }
    // The blink timer, or nullptr while not blinking.
    QTimer* BlinkTimer() const { return timer_; }

    // The resource name of a style's picture, e.g. "BHZ", and its size.
    static QString PictureName(TLEDStyle style, bool bordered);
    static QSize PictureSize(TLEDStyle style);

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void BuildPictures();
    void StartBlinking();
    void StopBlinking();
    void BlinkTick();
    void ShowSteady(bool on);
    void ChangeColor(TColor& field, TColor c);

    bool value_ = false;
    bool blink_ = true;
    int interval_ = 1000;
    TLEDStyle style_ = TLEDStyle::LEDSmall;
    bool bordered_ = true;
    TColor trueColor_ = clLime;
    TColor falseColor_ = clSilver;
    TColor borderColor_ = clBtnFace;

    QImage onPicture_;
    QImage offPicture_;
    bool showingOn_ = false;
    QPointer<QTimer> timer_;
};
