#pragma once

#include <QString>

#include "Control.h"

// The toolkit's plain check box: a classic sunken 13 x 13 box and a caption
// to its right. A click or the space bar toggles it and raises OnClick.
// OnMouseUp follows every release of a mouse button pressed on the box,
// wherever it is released and whichever button it is, after any toggle.
class TCheckBox : public TControl {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    bool Checked() const { return checked_; }
    void setChecked(bool on);
    // The colour of the caption (the layout's Font.Color).
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor c);

    TMouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Toggle();

    QString caption_;
    bool checked_ = false;
    TColor fontColor_ = clWindowText;
};
