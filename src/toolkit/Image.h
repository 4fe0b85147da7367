#pragma once

#include <QImage>

#include "Control.h"

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
