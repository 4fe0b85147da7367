#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace {
Platform* g_installed = nullptr;
}

Platform& CurrentPlatform()
{
    if (!g_installed) {
        // A program or test that forgot to install one would otherwise talk
        // to whatever happened to be the default: say so and stop.
        std::fputs("Kestrix: no platform installed (main() installs the Linux platform, tests a FakePlatform)\n",
                   stderr);
        std::abort();
    }
    return *g_installed;
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
