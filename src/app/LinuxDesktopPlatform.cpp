#include "app/LinuxDesktopPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>

QSize LinuxDesktopPlatform::ScreenSize()
{
    const QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                                    : nullptr;
    return s ? s->size() : QSize(1024, 768);
}

bool LinuxDesktopPlatform::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
