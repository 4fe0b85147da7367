// Keeps the owning form above all other windows, or releases it.
#pragma once

#include "toolkit/Component.h"

class QWidget;

class TKTop : public TComponent {
    Q_OBJECT
public:
    // Makes the owner top-most at once: a form that owns one stays on top
    // while it is built, until its layout sets the value it keeps.
    explicit TKTop(QObject* owner = nullptr);
    // Releases the owner from the top.
    ~TKTop() override;

    bool KTop() const { return ktop_; }
    // Stores the value and, when the owner is a window, puts it above all
    // other windows or back among them, without activating, moving, resizing
    // or re-showing it. Every assignment is applied, changed or not.
    void setKTop(bool on);

private:
    bool ktop_ = false;
};

// Puts a top-level window above the others or back among them. Qt's
// setWindowFlags would hide a shown window (and showing it again would run
// its show handler); the native window gets the new flag directly instead.
void SetStaysOnTop(QWidget* window, bool on);
