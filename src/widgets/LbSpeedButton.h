// A windowless push button in seven looks, with a glyph strip, a caption,
// hot tracking (a face colour and font while the pointer is over it, fading
// back slowly on request), radio-like groups and an optional drop-down menu.
#pragma once

#include <QFont>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "toolkit/Control.h"


class GdiCanvas;

enum class TLbSpeedButtonStyle { bsNormal, bsEncarta, bsKDE, bsModern, bsOld, bsShape, bsQuicken };
enum class TLbColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken,
    lcsKDE
};
enum class TLbSpeedButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Mouse moves: sender, modifiers, position in the control.
using TMouseMoveEvent = std::function<void(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)>;

class TLbSpeedButton : public TControl {
    Q_OBJECT
public:
    explicit TLbSpeedButton(QWidget* parent = nullptr);
    ~TLbSpeedButton() override;

    TLbSpeedButtonStyle Style() const { return style_; }
    void setStyle(TLbSpeedButtonStyle s);
    // Always reads lcsCustom: a preset only writes the colours it names.
    TLbColorStyle ColorStyle() const { return TLbColorStyle::lcsCustom; }
    void setColorStyle(TLbColorStyle s);

    TColor LightColor() const { return lightColor_; }
    void setLightColor(TColor c);
    TColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(TColor c);
    TColor ColorWhenDown() const { return colorWhenDown_; }
    void setColorWhenDown(TColor c);
    TColor HotTrackColor() const { return hotTrackColor_; }
    void setHotTrackColor(TColor c);

    // The caption font is the widget's font(); its colour is FontColor.
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);
    QFont HotTrackFont() const { return hotTrackFont_; }
    void setHotTrackFont(const QFont& f);
    TColor HotTrackFontColor() const { return hotTrackFontColor_; }
    void setHotTrackFontColor(TColor c);
    bool UseHotTrackFont() const { return useHotTrackFont_; }
    void setUseHotTrackFont(bool on);

    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment a);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);
    TLbSpeedButtonLayout Layout() const { return layout_; }
    void setLayout(TLbSpeedButtonLayout l);

    // The glyph strip: cells left to right are normal, disabled, down, hot.
    QImage Glyph() const { return glyph_; }
    void setGlyph(const QImage& strip);
    int NumGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int n);

    bool Down() const { return down_; }
    void setDown(bool on);
    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int g);
    bool AllowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool on) { allowAllUp_ = on; }
    bool Flat() const { return flat_; }
    void setFlat(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    bool SlowDecease() const { return fade_ != nullptr; }
    void setSlowDecease(bool on);
    QMenu* PopupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu* menu);

    // An action's picture: taken as a one-cell glyph (on magenta, image at
    // the top left of a cell of the image list's size) while the glyph is empty.
    void ActionImageChanged(const QImage& image, QSize imageListSize);

    // State for observers and tests.
    bool Hot() const { return hot_; }
    int FadeLevel() const { return fadeLevel_; }

    // Colour depth of the screen, for the rule that the modern look needs
    // more than 256 colours. Tests replace it; nullptr restores the screen's.
    static void SetScreenDepthProvider(std::function<int()> provider);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Presses the button as a user's complete click does (popup menu, then OnClick).
    void Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    class FadeThread;
    friend class FadeThread;

    void Redraw(); // at once, or scheduled when transparent
    bool Showing() const;
    void LeftDown();
    void FadeStep();
    void StopFade();
    void UpdateShortcut();
    bool Keyed() const;
    QImage Compose() const;
    TColor FaceColor(bool down) const;
    void PaintFrame(GdiCanvas& c, TColor face, bool down, bool hot) const;
    void PaintContent(GdiCanvas& c, bool down, bool hot, int p) const;

    TLbSpeedButtonStyle style_ = TLbSpeedButtonStyle::bsNormal;
    TColor lightColor_ = clWhite;
    TColor shadowColor_ = clBlack;
    TColor colorWhenDown_ = clNone;
    TColor hotTrackColor_ = clNone;
    TColor fontColor_ = clWindowText;
    QFont hotTrackFont_;
    TColor hotTrackFontColor_ = clWindowText;
    bool useHotTrackFont_ = false;
    QString caption_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool wordWrap_ = false;
    TLbSpeedButtonLayout layout_ = TLbSpeedButtonLayout::blGlyphLeft;
    QImage glyph_;
    int numGlyphs_ = 0;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool transparent_ = false;
    QPointer<QMenu> popupMenu_;
    bool hot_ = false;
    int fadeLevel_ = 0;
    bool pressed_ = false; // a left press began inside and has not ended
    bool destroying_ = false;
    int shortcutId_ = 0;
    std::unique_ptr<FadeThread> fade_;
};

// The 32-band vertical gradient from colour a to colour b over the rectangle
// (left, top, right, bottom), right and bottom excluded.
void Gradient32(GdiCanvas& canvas, int left, int top, int right, int bottom, TColor a, TColor b);
