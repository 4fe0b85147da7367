#include "Fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <cstdlib>

int LoadDesignFonts()
{
    static int loaded = -1;
    if (loaded >= 0)
        return loaded;
    loaded = 0;
    const char* env = std::getenv("KESTRIX_FONT_DIR");
    const QString dir = env && *env ? QString::fromLocal8Bit(env) : QStringLiteral("/usr/share/wine/fonts");
    for (const char* file : {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf", "small_fonts.ttf"}) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            ++loaded;
    }
    QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"));
    return loaded;
}

QFont DesignFont(const QString& family, int height, bool bold)
{
    QFont f(family);
    f.setPixelSize(height < 0 ? -height : (height > 0 ? height : 11));
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QFont DefaultFormFont()
{
    return DesignFont(QStringLiteral("MS Sans Serif"), -11);
}
