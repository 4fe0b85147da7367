// A drawn ruler: a band of tick marks and numbers along one edge, in
// centimetres, millimetres, inches or pixels, at a zoom in percent, with an
// optional hair line marking a position.
#pragma once

#include <QFont>
#include <QImage>

#include "toolkit/Control.h"

class GdiCanvas;

enum class TRulerUnit { ruCenti, ruMilli, ruInch, ruPixel, ruNone };
enum class TRulerDir { rdTop, rdLeft, rdRight, rdBottom };
enum class THairLineStyle { hlsLine, hlsRect };

class TRsBaseRuler : public TControl {
    Q_OBJECT
public:
    explicit TRsBaseRuler(QWidget* parent = nullptr);

    // No raised edge; the number band starts 1 pixel from the ends, not 2.
    bool Flat() const { return flat_; }
    void setFlat(bool on);
    TColor ScaleColor() const { return scaleColor_; }
    void setScaleColor(TColor c);
    TColor TickColor() const { return tickColor_; }
    void setTickColor(TColor c);
    TRulerUnit Units() const { return units_; }
    virtual void setUnits(TRulerUnit u);
    // The numbers' colour (the layout's Font.Color); the face is font().
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);

    // Pixels per inch of the screen.
    double ScreenPPI() const;

protected:
    void changeEvent(QEvent* e) override;
    // Fills the whole control with Color; takes the fonts on the first paint.
    virtual void Paint(GdiCanvas& canvas);
    void StoreUnits(TRulerUnit u) { units_ = u; }
    // The number font, taken from font() at the first paint and on a change.
    const QFont& RulerFont() const { return rulerFont_; }

private:
    bool flat_ = false;
    TColor scaleColor_ = clWindow;
    TColor tickColor_ = clWindowText;
    TRulerUnit units_ = TRulerUnit::ruCenti;
    TColor fontColor_ = clWindowText;
    QFont rulerFont_;
    bool fontsNeeded_ = true;
};

class TRsRuler : public TRsBaseRuler {
    Q_OBJECT
public:
    explicit TRsRuler(QWidget* parent = nullptr);

    // Horizontal (rdTop, rdBottom) or vertical (rdLeft, rdRight); a switch
    // between the two swaps width and height.
    TRulerDir Direction() const { return direction_; }
    void setDirection(TRulerDir d);
    // Zoom in percent; 0 or below is ignored.
    int Scale() const { return scale_; }
    void setScale(int s);
    bool HairLine() const { return hairLine_; }
    void setHairLine(bool on);
    // Position in pixels along the ruler, -1 for none. A move schedules a
    // paint, which composes the whole ruler afresh and draws the line at
    // the new place when nothing else changed since the last paint; any
    // other repaint clears it.
    int HairLinePos() const { return hairLinePos_; }
    void setHairLinePos(int pos);
    THairLineStyle HairLineStyle() const { return hairLineStyle_; }
    void setHairLineStyle(THairLineStyle s);
    double Offset() const { return offset_; }
    void setOffset(double o);
    bool ShowMinus() const { return showMinus_; }
    void setShowMinus(bool on);
    // Converts Offset from the old unit to the new one.
    void setUnits(TRulerUnit u) override;

    // Values of the last paint, for observers and tests.
    double StepFactor() const { return factor_; }
    double Step() const { return step_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void Paint(GdiCanvas& canvas) override;

private:
    bool Horizontal() const { return direction_ == TRulerDir::rdTop || direction_ == TRulerDir::rdBottom; }
    void ComputeStep();
    void DrawHairLine(GdiCanvas& canvas);
    double UnitFactor(TRulerUnit u) const;

    TRulerDir direction_ = TRulerDir::rdTop;
    int scale_ = 100;
    double factor_ = 1.0;
    double step_ = 1.0;
    bool hairLine_ = false;
    int hairLinePos_ = -1;
    THairLineStyle hairLineStyle_ = THairLineStyle::hlsLine;
    double offset_ = 0;
    bool showMinus_ = true;
    QImage picture_;            // the last full paint, without a hair line
    bool hairLineMoved_ = false; // the next paint was asked for by a move of the hair line
};

// A number as the format "0.##" writes it: up to two decimals, no
// thousands separators, no trailing zeros.
QString FormatRulerNumber(double v);
