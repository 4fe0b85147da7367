#include "Platform.h"

#include "LinuxPlatform.h"

namespace {
Platform* g_installed = nullptr;
}

Platform& CurrentPlatform()
{
    return g_installed ? *g_installed : RealPlatform();
}

Platform* InstallPlatform(Platform* platform)
{
    Platform* previous = g_installed;
    g_installed = platform;
    return previous;
}

char DriveLetterOf(const QString& root)
{
    if (root.size() < 2 || root.at(1) != QLatin1Char(':'))
        return 0;
    const QChar c = root.at(0).toUpper();
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? char(c.unicode()) : 0;
}
