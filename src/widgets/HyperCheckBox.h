// A check box whose caption changes colour while the pointer is over it.
#pragma once

#include "toolkit/CheckBox.h"

class THyperCheckBox : public TCheckBox {
    Q_OBJECT
public:
    explicit THyperCheckBox(QWidget* parent = nullptr);

    TColor ColorEnter() const { return colorEnter_; }
    void setColorEnter(TColor c) { colorEnter_ = c; }
    // Also shows the colour at once.
    TColor ColorLeave() const { return colorLeave_; }
    void setColorLeave(TColor c);

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TColor colorEnter_ = clBlack;
    TColor colorLeave_ = clBlack;
};
