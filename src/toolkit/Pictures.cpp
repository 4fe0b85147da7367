#include "Pictures.h"

#include <QHash>
#include <QtGlobal>

static void initKestrixResources() { Q_INIT_RESOURCE(kestrix); }

void InitResources()
{
    static const bool done = (initKestrixResources(), true);
    (void)done;
}

namespace {

// Decoding a compressed XPM costs far more than painting it, and a window
// asks for the same few pictures on every refresh (an LED rebuilds its
// lamps on each colour change): each is decoded once per thread and handed
// out as a shared copy, which detaches when the caller draws on it.
QImage Decoded(const QString& path, const char* format)
{
    thread_local QHash<QString, QImage> decoded;
    const auto it = decoded.constFind(path);
    if (it != decoded.constEnd())
        return *it;
    InitResources();
    const QImage img(path, format);
    return decoded[path] = img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage GlyphPicture(const QString& name)
{
    return Decoded(QStringLiteral(":/glyphs/%1.xpm").arg(name), nullptr);
}

QImage LedPicture(const QString& name)
{
    return Decoded(QStringLiteral(":/leds/") + name, "XPM");
}
