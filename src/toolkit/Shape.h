#pragma once

#include "Control.h"

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
