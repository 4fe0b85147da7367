// The status bar that holds child controls (a busy label, an LED).
#pragma once

#include "toolkit/StatusBar.h"

class TProStatusBar : public TStatusBar {
    Q_OBJECT
public:
    explicit TProStatusBar(QWidget* parent = nullptr)
        : TStatusBar(parent)
    {
    }
    bool AcceptsControls() const override { return true; }
};
