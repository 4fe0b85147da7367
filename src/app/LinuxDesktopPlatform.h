// The platform the program runs on: the Linux platform plus what needs the
// desktop session and therefore Qt's GUI library (opening files and
// addresses, the screen). It lives here, beside main(), so that the platform
// layer itself and kestrix-drives stay on Qt Core.
#pragma once

#include "platform/LinuxPlatform.h"

class LinuxDesktopPlatform : public LinuxPlatform {
public:
    using LinuxPlatform::LinuxPlatform;

    // Size of the primary screen; 1024 x 768 while there is none (no
    // QGuiApplication yet, or a display without screens).
    QSize ScreenSize() override;
    // The virtual desktop over all screens (the primary screen's bounds
    // while there is none).
    QRect DesktopRect() override;
    // The shell's "open"; a compiled help file (.chm) the desktop cannot
    // open is shown as the program's own help in its help window instead.
    bool ShellOpen(const QString& target) override;
    // There is no WinHelp engine: the help file (an HTML page) is shown in
    // the program's own help window. Closing help closes nothing.
    bool WinHelp(const QString& helpFile, unsigned command, unsigned data) override;

protected:
    // QDesktopServices: the desktop's default application for the file or
    // address.
    bool OpenUrl(const QUrl& url) override;
};
