// The toolkit's standard panel: bevels, a background colour and a centred
// caption. The gradient and effect panels derive from it.
#pragma once

#include <QImage>
#include <QString>

#include "Control.h"

class GdiCanvas;

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TControl {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    TPanelBevel BevelInner() const { return bevelInner_; }
    void setBevelInner(TPanelBevel b);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TPanelBevel b);
    int BevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int w);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    TAlignment Alignment() const { return alignment_; }
    void setAlignment(TAlignment a);
    // The colour of the caption text (the layout's Font.Color).
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);

protected:
    void paintEvent(QPaintEvent* e) override;
    // Composes the standard panel picture: bevels, border, background and
    // caption. Subclasses paint over it.
    virtual void PaintPanel(GdiCanvas& canvas);

private:
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TColor fontColor_ = clWindowText;
};

// Draws `width` nested one-pixel frames on rect (left, top, right, bottom,
// right/bottom excluded): top and left in `topColor`, bottom and right in
// `bottomColor`; the rectangle shrinks by one pixel on every side per frame.
void Frame3D(GdiCanvas& canvas, int& left, int& top, int& right, int& bottom, TColor topColor,
             TColor bottomColor, int width);

// A plain shape: a rectangle or an ellipse outlined with the pen and filled
// with the brush (the colour key squares of the top panel).
enum class TShapeType { stRectangle, stSquare, stEllipse, stCircle };

class TShape : public TControl {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr);

    TShapeType Shape() const { return shape_; }
    void setShape(TShapeType s);
    TColor BrushColor() const { return brushColor_; }
    void setBrushColor(TColor c);
    TColor PenColor() const { return penColor_; }
    void setPenColor(TColor c);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TShapeType shape_ = TShapeType::stRectangle;
    TColor brushColor_ = clWhite;
    TColor penColor_ = clBlack;
};

// A picture: drawn at the top-left, centred or stretched over the control;
// with Transparent, pixels of the picture's bottom-left colour are left out.
class TImage : public TControl {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    QImage Picture() const { return picture_; }
    void setPicture(const QImage& img);
    bool Stretch() const { return stretch_; }
    void setStretch(bool on);
    bool Center() const { return center_; }
    void setCenter(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QImage picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};
