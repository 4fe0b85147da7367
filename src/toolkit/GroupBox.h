// A group box: an etched frame with its caption in the top line, holding
// controls.
#pragma once

#include "Control.h"

class TGroupBox : public TControl {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* parent = nullptr);

    // Blanks in the caption are kept: they pad it inside the frame line.
    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString caption_;
    TColor fontColor_ = clWindowText;
};
