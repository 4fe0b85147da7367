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

protected:
    // QDesktopServices: the desktop's default application for the file or
    // address.
    bool OpenUrl(const QUrl& url) override;
};
