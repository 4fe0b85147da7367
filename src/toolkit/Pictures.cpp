#include "Pictures.h"

#include <QtGlobal>

static void initKestrixResources() { Q_INIT_RESOURCE(kestrix); }

void InitResources()
{
    static const bool done = (initKestrixResources(), true);
    (void)done;
}

QImage GlyphPicture(const QString& name)
{
    InitResources();
    const QImage img(QStringLiteral(":/glyphs/%1.xpm").arg(name));
    return img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
}

QImage LedPicture(const QString& name)
{
    InitResources();
    QImage img(QStringLiteral(":/leds/") + name, "XPM");
    return img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
}
