// A drawn control that shows a value between MinValue and MaxValue as a
// percentage: as text only, as a horizontal or vertical bar, as a pie or as
// a needle. The picture is composed by XOR of off-screen overlays, so the
// text shows the inverse of whatever lies beneath it.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include "toolkit/Control.h"

enum class TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class TBorderStyle { bsNone, bsSingle };

// An off-screen bitmap used while painting a gauge.
class TBltBitmap : public QImage {
public:
    TBltBitmap() = default;
    // Takes the template's width and height and fills the whole bitmap with
    // the window-frame colour.
    void MakeLike(const QImage& tmpl);
};

class TGauge : public TControl {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    // EInvalidOperation "Value must be between %d and %d" when the new
    // minimum exceeds MaxValue (or the new maximum is below MinValue), unless
    // the form is still being loaded.
    int MinValue() const { return minValue_; }
    void setMinValue(int v);
    int MaxValue() const { return maxValue_; }
    void setMaxValue(int v);
    // Kept within MinValue..MaxValue; repaints only when FilledPercent changes.
    int Progress() const { return progress_; }
    void setProgress(int v);
    TGaugeKind Kind() const { return kind_; }
    void setKind(TGaugeKind k);
    bool ShowText() const { return showText_; }
    void setShowText(bool on);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle s);
    TColor ForeColor() const { return foreColor_; }
    void setForeColor(TColor c);
    TColor BackColor() const { return backColor_; }
    void setBackColor(TColor c);

    // The share of Progress in the range, in whole per cent.
    int FilledPercent() const;

    // The conversions of the paint: trunc(length * (p * 0.01)) and
    // trunc(part * 100 / whole) (0 for an empty whole).
    static int PercentOf(long long p, long long length);
    static int ShareInPercent(long long part, long long whole);

    // The picture Paint copies onto the control.
    QImage Picture() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // Draws the kind on the overlay inside (left, top, right, bottom), right
    // and bottom excluded.
    void PaintKind(QImage& overlay, int left, int top, int right, int bottom) const;
    // Composes the picture into image, which is made anew only when the
    // control's size has changed.
    void Compose(QImage& image) const;

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TGaugeKind kind_ = TGaugeKind::gkHorizontalBar;
    bool showText_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    TColor foreColor_ = clBlack;
    TColor backColor_ = clWhite;
    QImage picture_; // the last paint's picture, reused while the size holds
    // The font of the last text drawn, and its key.
    mutable QFont textFont_;
    mutable QString textFontKey_;
};
