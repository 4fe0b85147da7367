#include "app/LinuxDesktopPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QFileInfo>
#include <QScreen>

#include "shell/HelpWindow.h"
#include "toolkit/Application.h"

namespace {

constexpr unsigned HELP_QUIT = 2;

} // namespace

QSize LinuxDesktopPlatform::ScreenSize()
{
    const QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                                    : nullptr;
    return s ? s->size() : QSize(1024, 768);
}

QRect LinuxDesktopPlatform::DesktopRect()
{
    const QScreen* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                                    : nullptr;
    return s ? s->virtualGeometry() : QRect(QPoint(0, 0), ScreenSize());
}

bool LinuxDesktopPlatform::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool LinuxDesktopPlatform::ShellOpen(const QString& target)
{
    if (LinuxPlatform::ShellOpen(target))
        return true;
    const QFileInfo file(target);
    if (file.suffix().compare(QLatin1String("chm"), Qt::CaseInsensitive) != 0 || !file.isFile())
        return false;
    return HelpWindow::Show(Application().HelpFile());
}

bool LinuxDesktopPlatform::WinHelp(const QString& helpFile, unsigned command, unsigned)
{
    if (command == HELP_QUIT)
        return true;
    return HelpWindow::Show(helpFile);
}
