// A container panel whose face is a colour gradient in up to two segments:
// Color_1 to Color_2 over the first Percent per cent of its length, Color_2
// to Color_3 over the rest.
#pragma once

#include "toolkit/Panel.h"

class TGPanel : public TPanel {
    Q_OBJECT
public:
    explicit TGPanel(QWidget* parent = nullptr);

    bool Active() const { return active_; }
    void setActive(bool on);
    TColor Color_1() const { return color1_; }
    void setColor_1(TColor c);
    TColor Color_2() const { return color2_; }
    void setColor_2(TColor c);
    TColor Color_3() const { return color3_; }
    void setColor_3(TColor c);
    // True: the colours change from left to right; False: from top to bottom.
    bool Horizontal() const { return horizontal_; }
    void setHorizontal(bool on);
    // Share of the length (1..100) given to the first segment.
    int Percent() const { return percent_; }
    void setPercent(int p);

protected:
    void PaintPanel(GdiCanvas& canvas) override;

private:
    // One segment from colour a to b over the rectangle (x, y, w, h); the
    // colours run along the width when horizontal, else along the height.
    void PaintSegment(GdiCanvas& canvas, int x, int y, int w, int h, TColor a, TColor b) const;

    bool active_ = true;
    TColor color1_ = clBtnFace;
    TColor color2_ = clWhite;
    TColor color3_ = clAqua;
    bool horizontal_ = true;
    int percent_ = 100;
};
