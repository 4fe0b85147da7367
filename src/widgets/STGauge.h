// A windowless gauge that shows a percentage (0..100) as a partly filled
// shape: a solid fill, or a hundred-step colour ramp from FillColor through
// an optional MedianColor to GradientColor.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/GdiCanvas.h"


enum class TGaugeShape { gsTriangle, gsVertRect, gsHorzRect, gsEllipse, gsArc, gsPole };
enum class TGaugeBorder { gbNone, gbSingle, gbRaised, gbLowered };

class TSTGauge : public TControl {
    Q_OBJECT
public:
    explicit TSTGauge(QWidget* parent = nullptr);

    // 0..100; other values and the current one are ignored. Redraws at once,
    // then raises OnChange.
    int Percent() const { return percent_; }
    void setPercent(int p);
    TGaugeShape Shape() const { return shape_; }
    void setShape(TGaugeShape s);
    TGaugeBorder Border() const { return border_; }
    void setBorder(TGaugeBorder b);
    bool GradientFill() const { return gradientFill_; }
    void setGradientFill(bool on);
    TColor FillColor() const { return fillColor_; }
    void setFillColor(TColor c);
    TColor MedianColor() const { return medianColor_; }
    void setMedianColor(TColor c);
    TColor GradientColor() const { return gradientColor_; }
    void setGradientColor(TColor c);
    bool UseMedianColor() const { return useMedianColor_; }
    void setUseMedianColor(bool on);
    TColor Backcolor() const { return backcolor_; }
    void setBackcolor(TColor c);
    TColor BlendColor() const { return blendColor_; }
    void setBlendColor(TColor c);
    // The area around a non-rectangular shape takes the parent's background.
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);

    TNotifyEvent OnChange;

    // Colour of step n (1..100) of the ramp; ERangeError outside 1..100.
    TColor StepColor(int n) const;
    // Colour of layer i of `count` layers from a to b; ERangeError when i is
    // below 1 or above count.
    static TColor LayerColor(int i, int count, TColor a, TColor b);

    // Composes the gauge's picture: W x H, of which paintEvent copies the
    // part the shape owns.
    QImage Picture() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // The width and height of the picture that is copied to the surface.
    QSize CopiedSize() const;
    // Composes the picture into img, which has the control's size.
    void Compose(QImage& img) const;
    // Opaque to Qt when the shape's picture covers the whole control.
    void UpdateOpaque();
    bool BorderColors(TColor& first, TColor& second) const;
    TColor Surroundings() const;
    void PaintRect(GdiCanvas& canvas, bool vertical) const;
    void PaintTriangle(GdiCanvas& canvas) const;
    // The filled wedges of the arc and the ellipse (box (0, 0, right,
    // bottom)): from origin clockwise to Percent of the full angle, P(theta)
    // giving the point on the ellipse.
    void PaintWedges(GdiCanvas& canvas, int right, int bottom, QPoint origin, long double full,
                     const std::function<QPoint(long double)>& at) const;
    // The arc from its cached layers and this percentage's wedges.
    QImage ArcPicture() const;
    void PaintEllipse(GdiCanvas& canvas) const;
    void PaintPole(GdiCanvas& canvas) const;

    int percent_ = 0;
    TGaugeShape shape_ = TGaugeShape::gsHorzRect;
    TGaugeBorder border_ = TGaugeBorder::gbLowered;
    bool gradientFill_ = true;
    TColor fillColor_ = clLime;
    TColor medianColor_ = clYellow;
    TColor gradientColor_ = clRed;
    bool useMedianColor_ = true;
    TColor backcolor_ = clBlack;
    TColor blendColor_ = clBtnFace;
    bool transparent_ = false;
    QImage picture_; // the last painted picture, reused while the size holds
    // The step points of the arc or the ellipse for wedgeSize_ and
    // wedgeShape_: at step i (1..100) and a little beyond it.
    mutable std::vector<QPoint> wedgePoints_;
    mutable QSize wedgeSize_;
    mutable TGaugeShape wedgeShape_ = TGaugeShape::gsHorzRect;
    // Which step's colour each pixel of the wedges takes, for the box and
    // percentage it was worked out for: a repaint at the same percentage
    // only lays the colours again.
    mutable GdiCanvas::PieCover wedgeCover_;
    mutable int wedgeCoverPercent_ = 0;
    mutable QPoint wedgeCoverBox_;
    // The arc's parts that no percentage changes, kept for the colours and
    // size they were drawn with: the picture under the wedges, and the
    // pixels the border lays over them.
    struct ArcLayers {
        QSize size;
        TColor surroundings = 0, back = 0, first = 0, second = 0;
        bool bordered = false;
        QImage base;
        std::vector<std::pair<QPoint, QRgb>> border;
    };
    mutable ArcLayers arcLayers_;
    const ArcLayers& CurrentArcLayers() const;
    // The pixels of the hundred step colours, for the colours they were
    // worked out from: a bar's paint lays them without blending again.
    struct StepPixelStore {
        TColor fill = 0, median = 0, gradient = 0;
        bool useMedian = false, valid = false;
        std::array<std::uint32_t, 100> pixels{};
    };
    mutable StepPixelStore stepPixels_;
    const std::array<std::uint32_t, 100>& StepPixels() const;
};
