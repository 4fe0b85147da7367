#include "shell/KTop.h"

#include <QWidget>
#include <QWindow>

void SetStaysOnTop(QWidget* window, bool on)
{
    if (!window || !window->isWindow())
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    // The widget keeps the flags for a native window created later; a
    // native window that exists gets them now and stays as shown.
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(flags);
}

TKTop::TKTop(QObject* owner)
    : TComponent(owner)
{
    setKTop(true);
}

TKTop::~TKTop()
{
    setKTop(false);
}

void TKTop::setKTop(bool on)
{
    ktop_ = on;
    if (auto* form = qobject_cast<QWidget*>(Owner()))
        SetStaysOnTop(form, on);
}
