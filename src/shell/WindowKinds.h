// The window borders of the about box and the Info window, kept in one
// place: until the toolkit offers border styles and border icons, these
// are the Qt window flags that ask the window manager for them.
#pragma once

#include <Qt>

// A dialog border: title and close box only, neither minimised nor
// maximised, not resizable.
inline Qt::WindowFlags DialogBorderFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

// A tool window's border with a system menu and a minimise box.
inline Qt::WindowFlags ToolWindowBorderFlags()
{
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
}
